// Byte classes shared by every family of the library. Internal: not exported.
#ifndef TESMO_CTYPE_TABLES_H
#define TESMO_CTYPE_TABLES_H

#include <array>
#include <cstdint>

namespace tesmo {

// Single-byte class flags.
enum : std::uint8_t {
    kControl = 0x01,
    kSpace = 0x02,
    kPunct = 0x04,
    kPrint = 0x08,
    kHex = 0x10,
    kDigit = 0x20,
    kUpper = 0x40,
    kLower = 0x80,
};

// Shift-JIS byte flags.
enum : std::uint8_t {
    kLead = 0x01,
    kTrail = 0x02,
    kKana = 0x04,      // half-width katakana letter
    kKanaPunct = 0x08, // half-width punctuation
};

constexpr std::uint8_t SingleClassOf(int c) {
    std::uint8_t f = 0;
    if (c <= 0x1F || c == 0x7F)
        f |= kControl;
    if ((c >= 0x09 && c <= 0x0D) || c == 0x20)
        f |= kSpace;
    if ((c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
        (c >= 0x7B && c <= 0x7E))
        f |= kPunct;
    if (c >= 0x20 && c <= 0x7E)
        f |= kPrint;
    if ((c >= 0x30 && c <= 0x39) || (c >= 0x41 && c <= 0x46) || (c >= 0x61 && c <= 0x66))
        f |= kHex;
    if (c >= 0x30 && c <= 0x39)
        f |= kDigit;
    if (c >= 0x41 && c <= 0x5A)
        f |= kUpper;
    if (c >= 0x61 && c <= 0x7A)
        f |= kLower;
    return f;
}

constexpr std::uint8_t SjisClassOf(int c) {
    std::uint8_t f = 0;
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))
        f |= kLead;
    if ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC))
        f |= kTrail;
    if (c >= 0xA6 && c <= 0xDF)
        f |= kKana;
    if (c >= 0xA1 && c <= 0xA5)
        f |= kKanaPunct;
    return f;
}

template <typename F> constexpr std::array<std::uint8_t, 256> MakeTable(F f) {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = f(i);
    return t;
}

// Both tables are fixed: they do not depend on the system's settings.
inline constexpr std::array<std::uint8_t, 256> kSingleClass = MakeTable(SingleClassOf);
inline constexpr std::array<std::uint8_t, 256> kSjisClass = MakeTable(SjisClassOf);

inline bool IsLead(unsigned char c) {
    return kSjisClass[c] & kLead;
}
inline bool IsTrail(unsigned char c) {
    return kSjisClass[c] & kTrail;
}
inline bool IsLetter(unsigned char c) {
    return kSingleClass[c] & (kUpper | kLower);
}
inline bool IsAlnum(unsigned char c) {
    return kSingleClass[c] & (kUpper | kLower | kDigit);
}
inline bool IsSpace(unsigned char c) {
    return kSingleClass[c] & kSpace;
}
// 'A' to 'Z' as 'a' to 'z', every other byte as it is: the case-blind
// comparisons fold to lower case, so "_" sorts before the letters.
constexpr unsigned char FoldToLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// The Japanese code page flag, fixed once when the library is loaded.
bool JapaneseCodePage();

// Whether a legal double-byte code under the code page flag.
bool IsLegalDoubleByte(unsigned code);

// How the flag is decided, exposed for tests: TESMO_CODEPAGE (a code page
// number) wins; else the character set of LC_ALL, LC_CTYPE or LANG, the first
// one set and not empty.
bool DecideJapaneseCodePage(const char* codepage_override, const char* lc_all, const char* lc_ctype,
                            const char* lang);

} // namespace tesmo

#endif
