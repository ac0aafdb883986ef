// The font of result windows as profile entries: a record of 16 decimal
// numbers under prefix + "Font" and the typeface under prefix + "FontFace".
#ifndef VORLAN_SETTINGS_FONT_SETTING_H
#define VORLAN_SETTINGS_FONT_SETTING_H

#include "settings/setting_values.h"
#include "settings/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::size_t kFaceNameSize = 32; // 31 bytes and a NUL
inline constexpr const char* kDefaultFontRecord = "-13 0 0 0 400 0 0 0 128 1 2 1 1 0 0 0";
inline constexpr const char* kDefaultFaceName = "FixedSys";

// A logical-font description with the fields of the Windows LOGFONT record.
// A default-constructed one is the program's default font, so a window whose
// stored font cannot be loaded still starts with a sensible one.
struct LogFont {
    std::int32_t lfHeight = -13; // negative: character height without internal leading
    std::int32_t lfWidth = 0;    // average width; 0 lets the platform choose
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 400; // 400 normal, 700 bold
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 128; // Shift-JIS
    std::uint8_t lfOutPrecision = 1;
    std::uint8_t lfClipPrecision = 2;
    std::uint8_t lfQuality = 1;
    std::uint8_t lfPitchAndFamily = 1; // fixed pitch
    char lfFaceName[kFaceNameSize] = "FixedSys";
};

// Stores name as the typeface, cut to 31 bytes if longer. The cut never splits
// a character: at a UTF-8 boundary when name is valid UTF-8, otherwise at a
// Shift-JIS one.
void SetFaceName(LogFont& font, std::string_view name);
std::string_view FaceNameOf(const LogFont& font);

// The 16-number record: fields 1 to 13, the colour, two reserved zeros.
std::string FormatFontRecord(const LogFont& font, ColorRef color);

// Reads fields 1 to 13 and the colour from record; numbers after the 14th are
// ignored, fields 6 to 13 keep their low 8 bits. Reading stops at the first
// item that is not a number, and the fields from there on take the values of
// the default record (colour 0). False, with font and color untouched, when
// record does not start with a number at all.
bool ParseFontRecord(std::string_view record, LogFont& font, ColorRef& color);

class CFontSetting {
  public:
    // Loads font and colour from section, keys prefix + "Font" and prefix +
    // "FontFace". False, leaving both untouched, when the record is empty or
    // holds no number; a missing key gives the default font.
    static bool Load(const CSettingsStore& store, const char* section, const char* prefix,
                     LogFont& font, ColorRef& color);
    // Writes the record and the typeface; false when either write failed.
    static bool Save(CSettingsStore& store, const char* section, const char* prefix,
                     const LogFont& font, ColorRef color);
};

#endif
