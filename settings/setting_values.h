// Conversions between the profile's text and the numbers the program keeps:
// integers, numeric text and colours. Every reader of a number goes through
// these, so a hand-edited profile reads the same everywhere.
#ifndef VORLAN_SETTINGS_SETTING_VALUES_H
#define VORLAN_SETTINGS_SETTING_VALUES_H

#include <cstddef>
#include <cstdint>
#include <string_view>

class CSettingsStore;

// A colour laid out as 0x00BBGGRR: red in the low byte.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (static_cast<ColorRef>(green) << 8) | (static_cast<ColorRef>(blue) << 16);
}
constexpr std::uint8_t RedOf(ColorRef c) {
    return c & 0xFF;
}
constexpr std::uint8_t GreenOf(ColorRef c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(ColorRef c) {
    return (c >> 16) & 0xFF;
}

// Reads an integer from the front of text the way strtol does: leading
// whitespace, an optional sign, then digits up to the first that does not fit.
// base is 10, or 0 for detection ("0x"/"0X" hexadecimal, a leading "0" octal,
// otherwise decimal). A value outside int clamps to INT_MIN or INT_MAX.
// Returns the number of characters used, 0 when there were no digits (value
// is then 0).
std::size_t ParseLeadingInteger(std::string_view text, int base, int& value);

// Numeric text: whitespace, optional sign, decimal digits up to the first
// non-digit; trailing text is ignored and text without digits reads as 0.
int NumericTextToInt(std::string_view text);

// An integer setting: as numeric text, except that a value with no leading
// digits (empty, "yes", "on") gives def, as if the key were absent. Only
// decimal is read: "0x10" reads as 0, the program never writes hexadecimal.
int IntSettingFromText(std::string_view text, int def);

// A colour: the integer at the front of text with base detection, so a
// hand-edited "0xFF0000" is accepted; text that is not a number gives 0.
ColorRef ColorFromText(std::string_view text);

// The numeric-text value of a string key, read with the default text def.
int GetSettingNumericText(const CSettingsStore& store, const char* section, const char* key,
                          const char* def);

#endif
