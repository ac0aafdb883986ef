#include "engine/segment.h"

#include "engine/segment_codec.h"
#include "settings/setting_keys.h"

SegmentMode ReadSegmentMode(const CSettingsStore& settings) {
    switch (GetInt(settings, setting_keys::kSegment)) {
    case kSegmentByDictionary:
        return kSegmentByDictionary;
    case kSegmentBaseForms:
        return kSegmentBaseForms;
    default:
        return kSegmentByType;
    }
}

CSegmentation::CSegmentation(const CSettingsStore& settings, const MecabPlace& place)
    : CSegmentation(ReadSegmentMode(settings), place) {}

CSegmentation::CSegmentation(SegmentMode mode, const MecabPlace& place) : m_mode(mode) {
    if (m_mode == kSegmentByType)
        return;
    auto model = std::make_unique<CMecabModel>();
    if (!model->Open(place)) {
        m_strError = model->Error();
        return;
    }
    // Shift-JIS words reach the analyser through the system's converter.
    if (!CCp932Codec().Available()) {
        m_strError = "Japanese words by dictionary need the system's converter between code "
                     "page 932 and UTF-8 (iconv), which is missing.";
        return;
    }
    m_pModel = std::move(model);
}

CLineTokenizer CSegmentation::MakeTokenizer(bool utf8) const {
    if (!m_pModel)
        return CLineTokenizer(utf8);
    return CLineTokenizer(utf8, std::make_unique<CWordSplitter>(*m_pModel, m_caches[utf8 ? 1 : 0],
                                                                utf8, m_mode == kSegmentBaseForms));
}
