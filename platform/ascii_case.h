// ASCII letter case, for names the program matches without regard to it:
// profile sections and keys, file patterns, listing order, extensions, HTML
// tags. Bytes above 0x7F never change, so a UTF-8 character is compared
// exactly; names are compared byte by byte, so a Shift-JIS trail byte in the
// letter range folds like the letter it equals.
#ifndef VORLAN_PLATFORM_ASCII_CASE_H
#define VORLAN_PLATFORM_ASCII_CASE_H

#include <cstddef>
#include <string_view>

// 'a' to 'z' as 'A' to 'Z'; every other byte as it is. Orderings fold to
// upper case, so "_" sorts after the letters.
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether a and b are the same apart from the case of ASCII letters.
constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

#endif
