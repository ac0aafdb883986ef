#include "settings/setting_values.h"

#include "settings/settings_store.h"

#include <climits>
#include <string>

static_assert(sizeof(int) == 4, "settings hold 32-bit integers");

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

// Settles base 0 and skips a "0x" prefix; returns where the digits start.
std::size_t DetectBase(std::string_view text, std::size_t pos, int& base) {
    if (base != 0)
        return pos;
    bool zero = pos < text.size() && text[pos] == '0';
    bool hex = zero && pos + 2 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
               DigitValue(text[pos + 2]) < 16;
    base = hex ? 16 : zero ? 8 : 10;
    return hex ? pos + 2 : pos;
}

} // namespace

std::size_t ParseLeadingInteger(std::string_view text, int base, int& value) {
    value = 0;
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    pos = DetectBase(text, pos, base);
    std::size_t digits = pos;
    long long magnitude = 0;
    for (; pos < text.size() && DigitValue(text[pos]) < base; ++pos)
        if (magnitude <= INT_MAX) // beyond that the result clamps anyway
            magnitude = magnitude * base + DigitValue(text[pos]);
    if (pos == digits)
        return 0;
    long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(signedValue < INT_MIN   ? INT_MIN
                             : signedValue > INT_MAX ? INT_MAX
                                                     : signedValue);
    return pos;
}

int NumericTextToInt(std::string_view text) {
    int value;
    ParseLeadingInteger(text, 10, value);
    return value;
}

int IntSettingFromText(std::string_view text, int def) {
    int value;
    return ParseLeadingInteger(text, 10, value) ? value : def;
}

ColorRef ColorFromText(std::string_view text) {
    int value;
    ParseLeadingInteger(text, 0, value);
    return static_cast<ColorRef>(value);
}

int GetSettingNumericText(const CSettingsStore& store, const char* section, const char* key,
                          const char* def) {
    return NumericTextToInt(store.GetSettingString(section, key, def));
}
