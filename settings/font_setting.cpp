#include "settings/font_setting.h"

#include "platform/utf8.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kRecordNumbers = 14; // 13 fields and the colour

std::string KeyOf(const char* prefix, const char* suffix) {
    return std::string(prefix ? prefix : "") + suffix;
}

bool IsShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The longest prefix of name within limit bytes that ends on a character.
std::size_t CharacterCut(std::string_view name, std::size_t limit) {
    if (name.size() <= limit)
        return name.size();
    if (IsValidUtf8(name)) {
        std::size_t n = limit;
        while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
            --n;
        return n;
    }
    std::size_t i = 0;
    while (i < limit) {
        std::size_t width = IsShiftJisLead(static_cast<unsigned char>(name[i])) ? 2 : 1;
        if (i + width > limit)
            break;
        i += width;
    }
    return i;
}

// The record's 14 numbers as a description and colour.
void ApplyNumbers(const std::array<int, kRecordNumbers>& n, LogFont& font, ColorRef& color) {
    font.lfHeight = n[0];
    font.lfWidth = n[1];
    font.lfEscapement = n[2];
    font.lfOrientation = n[3];
    font.lfWeight = n[4];
    font.lfItalic = static_cast<std::uint8_t>(n[5]);
    font.lfUnderline = static_cast<std::uint8_t>(n[6]);
    font.lfStrikeOut = static_cast<std::uint8_t>(n[7]);
    font.lfCharSet = static_cast<std::uint8_t>(n[8]);
    font.lfOutPrecision = static_cast<std::uint8_t>(n[9]);
    font.lfClipPrecision = static_cast<std::uint8_t>(n[10]);
    font.lfQuality = static_cast<std::uint8_t>(n[11]);
    font.lfPitchAndFamily = static_cast<std::uint8_t>(n[12]);
    color = static_cast<ColorRef>(n[13]);
}

} // namespace

void SetFaceName(LogFont& font, std::string_view name) {
    name = name.substr(0, name.find('\0'));
    std::size_t n = CharacterCut(name, kFaceNameSize - 1);
    std::memcpy(font.lfFaceName, name.data(), n);
    std::memset(font.lfFaceName + n, 0, kFaceNameSize - n);
}

std::string_view FaceNameOf(const LogFont& font) {
    return std::string_view(font.lfFaceName, ::strnlen(font.lfFaceName, kFaceNameSize - 1));
}

std::string FormatFontRecord(const LogFont& f, ColorRef color) {
    char text[200];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %ld", f.lfHeight,
                  f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight, f.lfItalic, f.lfUnderline,
                  f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,
                  f.lfPitchAndFamily, static_cast<int>(static_cast<std::int32_t>(color)), 0, 0L);
    return text;
}

bool ParseFontRecord(std::string_view record, LogFont& font, ColorRef& color) {
    LogFont defaults;
    std::array<int, kRecordNumbers> n = {defaults.lfHeight,         defaults.lfWidth,
                                         defaults.lfEscapement,     defaults.lfOrientation,
                                         defaults.lfWeight,         defaults.lfItalic,
                                         defaults.lfUnderline,      defaults.lfStrikeOut,
                                         defaults.lfCharSet,        defaults.lfOutPrecision,
                                         defaults.lfClipPrecision,  defaults.lfQuality,
                                         defaults.lfPitchAndFamily, 0};
    std::size_t count = 0;
    for (int value; count < kRecordNumbers; ++count) {
        std::size_t used = ParseLeadingInteger(record, 10, value);
        if (used == 0)
            break;
        n[count] = value;
        record.remove_prefix(used);
    }
    if (count == 0)
        return false;
    ApplyNumbers(n, font, color);
    return true;
}

bool CFontSetting::Load(const CSettingsStore& store, const char* section, const char* prefix,
                        LogFont& font, ColorRef& color) {
    std::string record =
        store.GetSettingString(section, KeyOf(prefix, "Font").c_str(), kDefaultFontRecord);
    if (record.empty())
        return false;
    std::string face =
        store.GetSettingString(section, KeyOf(prefix, "FontFace").c_str(), kDefaultFaceName);
    if (!ParseFontRecord(record, font, color))
        return false;
    SetFaceName(font, face);
    return true;
}

bool CFontSetting::Save(CSettingsStore& store, const char* section, const char* prefix,
                        const LogFont& font, ColorRef color) {
    std::string record = FormatFontRecord(font, color);
    std::string face(FaceNameOf(font));
    bool recordSaved =
        store.WriteSettingString(section, KeyOf(prefix, "Font").c_str(), record.c_str());
    bool faceSaved =
        store.WriteSettingString(section, KeyOf(prefix, "FontFace").c_str(), face.c_str());
    return recordSaved && faceSaved;
}
