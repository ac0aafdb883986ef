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

// Fonts with both half- and full-width characters are not flagged as fixed
// pitch; what counts for the report is that its single-byte characters are
// all of one width.
bool HasFixedPitchLatin(const QString& family) {
    if (QFontDatabase::isFixedPitch(family))
        return true;
    QFont font(family);
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('W'));
    return width > 0 && metrics.horizontalAdvance(QLatin1Char('i')) == width &&
           metrics.horizontalAdvance(QLatin1Char(' ')) == width &&
           metrics.horizontalAdvance(QLatin1Char('0')) == width;
}

// A fixed-pitch font that lacks the report's script would have its text
// drawn by a fallback font whose spaces and digits are of another width, so
// the count columns of such lines would not line up with the others: a
// fixed-pitch font with the script is preferred.
QFont FixedPitchFallback(int charSet) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontDatabase::WritingSystem script = WritingSystemOf(charSet);
    if (script == QFontDatabase::Any ||
        QFontDatabase::writingSystems(font.family()).contains(script))
        return font;
    for (const QString& family : QFontDatabase::families(script)) {
        if (HasFixedPitchLatin(family))
            return QFont(family);
    }
    return font;
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
