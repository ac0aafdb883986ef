#include "ui/font_convert.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

// The pitch bits and the family bits of the record's pitch-and-family byte.
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr std::uint8_t kPitchMask = 0x03;
constexpr std::uint8_t kFamilyMask = 0xF0;
constexpr std::uint8_t kRoman = 0x10;
constexpr std::uint8_t kSwiss = 0x20;
constexpr std::uint8_t kModern = 0x30;
constexpr std::uint8_t kScript = 0x40;
constexpr std::uint8_t kDecorative = 0x50;

QFont::StyleHint HintOf(std::uint8_t pitchAndFamily) {
    switch (pitchAndFamily & kFamilyMask) {
    case kRoman:
        return QFont::Serif;
    case kSwiss:
        return QFont::SansSerif;
    case kModern:
        return QFont::Monospace;
    case kScript:
        return QFont::Cursive;
    case kDecorative:
        return QFont::Decorative;
    default:
        return (pitchAndFamily & kPitchMask) == kFixedPitch ? QFont::Monospace : QFont::AnyStyle;
    }
}

// The family bits for hint, or none when the hint names no family.
std::uint8_t FamilyOf(QFont::StyleHint hint) {
    switch (hint) {
    case QFont::Serif:
        return kRoman;
    case QFont::SansSerif:
        return kSwiss;
    case QFont::Monospace:
    case QFont::TypeWriter:
        return kModern;
    case QFont::Cursive:
        return kScript;
    case QFont::Decorative:
        return kDecorative;
    default:
        return 0;
    }
}

} // namespace

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QFont FontFromLogFont(const LogFont& logFont) {
    const std::string_view face = FaceNameOf(logFont);
    QFont font(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
    font.setStyleHint(HintOf(logFont.lfPitchAndFamily));
    font.setFixedPitch((logFont.lfPitchAndFamily & kPitchMask) == kFixedPitch);
    if (logFont.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.lfWeight, 1, 1000)));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    if (logFont.lfHeight < 0) {
        font.setPixelSize(-logFont.lfHeight);
    } else if (logFont.lfHeight > 0) {
        // A cell height: take the leading off with the face's own proportions.
        font.setPixelSize(logFont.lfHeight);
        const int cell = QFontMetrics(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, logFont.lfHeight * logFont.lfHeight / cell));
    }
    return font;
}

LogFont LogFontFromFont(const QFont& font, const LogFont& base, double dpi) {
    LogFont logFont = base;
    int pixels = font.pixelSize();
    if (pixels <= 0 && font.pointSizeF() > 0)
        pixels = static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
    if (pixels > 0)
        logFont.lfHeight = -pixels;
    logFont.lfWeight = font.weight();
    logFont.lfItalic = font.style() != QFont::StyleNormal ? 1 : 0;
    logFont.lfUnderline = font.underline() ? 1 : 0;
    logFont.lfStrikeOut = font.strikeOut() ? 1 : 0;

    std::uint8_t family = FamilyOf(font.styleHint());
    if (family == 0)
        family = base.lfPitchAndFamily & kFamilyMask;
    const std::uint8_t pitch = QFontInfo(font).fixedPitch() ? kFixedPitch : kVariablePitch;
    logFont.lfPitchAndFamily = family | pitch;
    SetFaceName(logFont, font.family().toUtf8().toStdString());
    return logFont;
}
