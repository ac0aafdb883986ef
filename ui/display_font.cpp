#include "ui/display_font.h"

#include "ui/gui_count_notifier.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QList>
#include <QStringList>
#include <algorithm>

namespace {

constexpr int kFixedPitch = 1;
constexpr int kPitchMask = 3;
constexpr int kModernFamily = 0x30;
constexpr int kFamilyMask = 0xF0;
constexpr int kNonAntialiasedQuality = 3;

bool WantsFixedPitch(const LogFont& logFont) {
    return (logFont.lfPitchAndFamily & kPitchMask) == kFixedPitch ||
           (logFont.lfPitchAndFamily & kFamilyMask) == kModernFamily;
}

// The writing system a character set's text needs beyond Latin, if any.
QFontDatabase::WritingSystem WritingSystemOf(int charSet) {
    switch (charSet) {
    case 128:
        return QFontDatabase::Japanese;
    case 129:
    case 130:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    default:
        return QFontDatabase::Any;
    }
}

// The characters of report lines: counts, percentages, the header's and
// totals' punctuation, and the letters of words.
constexpr char kReportCharacters[] =
    "0123456789 .%:=[]*ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The count columns of a report line up only when every character its lines
// are made of has one advance. Whether the font database calls a family
// fixed pitch says too little: fonts with half- and full-width characters,
// and some monospaced ones (Noto Sans Mono), are not flagged so.
bool LinesUpReports(const QString& family) {
    QFont font(family);
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    if (width <= 0)
        return false;
    for (const char* c = kReportCharacters; *c; ++c) {
        if (metrics.horizontalAdvance(QLatin1Char(*c)) != width)
            return false;
    }
    return true;
}

bool HasScript(const QString& family, QFontDatabase::WritingSystem script) {
    return script == QFontDatabase::Any || QFontDatabase::writingSystems(family).contains(script);
}

// The system's fixed-pitch font when it lines reports up and has the script
// of the character set; else the first family that does both, those the
// font database flags as fixed pitch first. A fixed-pitch font that lacks
// the script would have its text drawn by a fallback font whose spaces and
// digits are of another width, so the count columns of such lines would not
// line up with the others.
QFont FixedPitchFallback(int charSet) {
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontDatabase::WritingSystem script = WritingSystemOf(charSet);
    if (HasScript(system.family(), script) && LinesUpReports(system.family()))
        return system;
    const QStringList families = QFontDatabase::families(script);
    for (bool flagged : {true, false}) {
        for (const QString& family : families) {
            if (QFontDatabase::isFixedPitch(family) == flagged && LinesUpReports(family))
                return QFont(family);
        }
    }
    return system;
}

QFont BaseFont(const LogFont& logFont) {
    const QString face = EngineText(FaceNameOf(logFont));
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        return QFont(face);
    if (WantsFixedPitch(logFont))
        return FixedPitchFallback(logFont.lfCharSet);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

void ApplyHeight(QFont& font, std::int32_t height) {
    if (height < 0) {
        font.setPixelSize(std::max(1, -height));
    } else if (height > 0) {
        // The cell height includes the internal leading: scale the character
        // height down by the font's own proportion of the two.
        font.setPixelSize(height);
        const int cell = QFontMetrics(font).height();
        if (cell > height)
            font.setPixelSize(std::max(1, height * height / cell));
    }
}

void ApplyWidth(QFont& font, std::int32_t width) {
    if (width <= 0)
        return;
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0)
        font.setStretch(std::clamp(width * 100 / natural, 1, 4000));
}

} // namespace

QFont FontFromLogFont(const LogFont& logFont) {
    QFont font = BaseFont(logFont);
    ApplyHeight(font, logFont.lfHeight);
    if (logFont.lfWeight > 0)
        font.setWeight(QFont::Weight(std::clamp(logFont.lfWeight, 1, 1000)));
    else
        font.setWeight(QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    if (WantsFixedPitch(logFont)) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::Monospace);
    }
    if (logFont.lfQuality == kNonAntialiasedQuality)
        font.setStyleStrategy(QFont::NoAntialias);
    ApplyWidth(font, logFont.lfWidth);
    return font;
}

FontMetrics MeasureFont(const QFont& font, QPaintDevice* device) {
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return {metrics.height(), metrics.averageCharWidth(), metrics.ascent()};
}
