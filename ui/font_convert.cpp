#include "ui/font_convert.h"

#include <QFontInfo>
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

    // The family bits describe the face: kept while the face stays, taken from
    // the font's style hint when another face was chosen.
    SetFaceName(logFont, font.family().toUtf8().toStdString());
    std::uint8_t family = base.lfPitchAndFamily & kFamilyMask;
    if (FaceNameOf(logFont) != FaceNameOf(base))
        family = FamilyOf(font.styleHint());
    const std::uint8_t pitch = QFontInfo(font).fixedPitch() ? kFixedPitch : kVariablePitch;
    logFont.lfPitchAndFamily = family | pitch;
    return logFont;
}
