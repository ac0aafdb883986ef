#include "engine/count_input.h"

#include "engine/text_encoding.h"
#include "platform/line_reader.h"

bool CCountInput::Open(CTextLineReader& reader, const std::string& entry, std::uint64_t begin,
                       std::uint64_t end) const {
    if (IsDescriptorEntry(entry))
        return reader.OpenDescriptor(m_nDescriptorFd);
    return reader.OpenPart(entry.c_str(), begin, end);
}

bool CCountInput::ReadsAsUtf8(int encoding, const std::string& entry) const {
    if (IsDescriptorEntry(entry))
        return encoding == kEncodingUtf8;
    return ReadsFileAsUtf8(encoding, entry.c_str());
}
