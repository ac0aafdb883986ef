// strword: the word counter's tokenizer. It splits a line in place, one word
// per call, resuming from one process-wide position between calls.
//
// It runs once per word of every counted file, so the common case (a run of
// ASCII letters ended by one delimiter) is kept short: letters and digits are
// skipped sixteen at a time, and each byte needs one lookup in a combined
// class table to tell what it is.
#include "ctype_tables.h"
#include "tesmo.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace tesmo;

namespace {

enum : std::uint8_t {
    kWordLetter = 0x01, // A-Z, a-z
    kWordDigit = 0x02,  // 0-9
    kWordDelim = 0x04,  // single-byte punctuation or white space
    kWordLead = 0x08,   // first byte of a double-byte character
    kWordEnd = 0x10,    // the terminator
    // On a delimiter: which class its two neighbours must share for it to
    // stay inside the word (shifted down by kJoinShift). Every delimiter
    // joins two digits; the apostrophe also joins two letters.
    kJoinShift = 5,
    kJoinLetter = kWordLetter << kJoinShift,
    kJoinDigit = kWordDigit << kJoinShift,
};

constexpr std::uint8_t WordClassOf(int c) {
    const std::uint8_t single = SingleClassOf(c);
    std::uint8_t f = 0;
    if (single & (kUpper | kLower))
        f |= kWordLetter;
    if (single & kDigit)
        f |= kWordDigit;
    if (single & (kPunct | kSpace))
        f |= kWordDelim | kJoinDigit;
    if (c == '\'')
        f |= kJoinLetter;
    if (SjisClassOf(c) & kLead)
        f |= kWordLead;
    if (c == 0)
        f |= kWordEnd;
    return f;
}

constexpr std::array<std::uint8_t, 256> kWordClass = MakeTable(WordClassOf);

static_assert(kWordClass['\''] == (kWordDelim | kJoinDigit | kJoinLetter));
static_assert(kWordClass[' '] == (kWordDelim | kJoinDigit) && kWordClass['\t'] == kWordClass['~']);
static_assert(kWordClass[0x81] == kWordLead && kWordClass[0xA0] == 0 && kWordClass[0xFD] == 0);
static_assert(kWordClass['7'] == kWordDigit && kWordClass['q'] == kWordLetter);

inline std::uint8_t ClassAt(const unsigned char* p) {
    return kWordClass[*p];
}

// Where the next call without a string resumes; null when the string is used
// up. Shared by every caller in the process (the token functions included),
// so only one tokenization can be in progress at a time.
unsigned char* g_strwordNext = nullptr;

// The bytes of the string last passed, terminator included: the only range
// that is ever read in blocks.
const unsigned char* g_strwordBegin = nullptr;
const unsigned char* g_strwordLimit = nullptr; // one past the terminator

// A cache over 64 bytes of that string from g_windowBase on: bit i is set when
// byte i is not an ASCII letter or digit, or lies past the terminator. Words
// are short, so one window serves several calls, and finding the end of a
// run of letters costs a shift and a bit scan instead of a chain of loads.
// strword itself only writes over bytes whose bits are already set.
const unsigned char* g_windowBase = nullptr;
std::uint64_t g_windowStops = 0;

constexpr std::uint64_t kBlockBits = 0xFFFF;

inline bool IsAsciiAlnum(unsigned char c) {
    return kWordClass[c] & (kWordLetter | kWordDigit);
}

#if defined(__SSE2__)
// Bit i set when byte i of the 16 at block is not an ASCII letter or digit.
inline std::uint64_t NotAlnumMask(const unsigned char* block) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    // Unsigned range tests through signed compares: shift the range down to -128.
    const auto in_range = [](__m128i x, char lo, int count) {
        const __m128i shifted = _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(-128 - lo)));
        return _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + count)));
    };
    const __m128i letter = in_range(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 26);
    const __m128i digit = in_range(v, '0', 10);
    return ~static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_or_si128(letter, digit))) & kBlockBits;
}
#else
inline std::uint64_t NotAlnumMask(const unsigned char* block) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= std::uint64_t{!IsAsciiAlnum(block[i])} << i;
    return bits;
}
#endif

inline std::uint64_t NotAlnumMask64(const unsigned char* b) {
    return NotAlnumMask(b) | NotAlnumMask(b + 16) << 16 | NotAlnumMask(b + 32) << 32 |
           NotAlnumMask(b + 48) << 48;
}

// The stop bits of the 16 bytes from b (b below the limit), reading only
// below the limit.
std::uint64_t BlockStops(const unsigned char* b) {
    const unsigned char* const limit = g_strwordLimit;
    if (b + 16 <= limit)
        return NotAlnumMask(b);
    const auto inside = static_cast<unsigned>(limit - b);
    const std::uint64_t beyond = (kBlockBits << inside) & kBlockBits;
    if (limit - 16 >= g_strwordBegin) {
        // The block that ends with the terminator, moved into place.
        const unsigned char* last = limit - 16;
        return (NotAlnumMask(last) >> (b - last)) | beyond;
    }
    std::uint64_t bits = beyond;
    for (unsigned i = 0; i < inside; ++i)
        bits |= std::uint64_t{!IsAsciiAlnum(b[i])} << i;
    return bits;
}

// Moves the window to base, which lies before the limit.
void FillWindow(const unsigned char* base) {
    const unsigned char* const limit = g_strwordLimit;
    const auto avail = static_cast<unsigned long>(limit - base);
    g_windowBase = base;
    if (avail >= 64) {
        g_windowStops = NotAlnumMask64(base);
        return;
    }
    const std::uint64_t beyond = ~std::uint64_t{0} << avail;
    if (limit - g_strwordBegin >= 64) {
        // The 64 bytes that end with the terminator, moved into place.
        const unsigned char* last = limit - 64;
        g_windowStops = (NotAlnumMask64(last) >> (base - last)) | beyond;
        return;
    }
    std::uint64_t stops = beyond;
    for (unsigned i = 0; i < avail; i += 16)
        stops |= BlockStops(base + i) << i;
    g_windowStops = stops;
}

// The stop bits of the window from p on, or 0 when p lies outside it or no
// stop follows inside it.
inline std::uint64_t WindowStopsFrom(const unsigned char* p) {
    const std::uintptr_t offset =
        reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(g_windowBase);
    return offset < 64 ? g_windowStops >> offset : 0;
}

// The first byte at or after p that is not an ASCII letter or digit.
unsigned char* SkipAlnum(unsigned char* p) {
    for (;;) {
        if (const std::uint64_t stops = WindowStopsFrom(p))
            return p + std::countr_zero(stops);
        // Past the window, or all letters to its end: the next 64 bytes.
        const std::uintptr_t offset =
            reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(g_windowBase);
        if (offset < 64)
            p += 64 - offset;
        if (p >= g_strwordLimit)
            break; // only when the string was changed behind our back
        FillWindow(p);
    }
    while (IsAsciiAlnum(*p))
        ++p;
    return p;
}

inline void SkipDelimiters(unsigned char*& p) {
    while (ClassAt(p) & kWordDelim)
        ++p;
}

// Whether the delimiter at p (of class cls) stays inside the word: an
// apostrophe between letters, or any delimiter between digits. The caller
// guarantees a byte of the word before p.
inline bool JoinsWord(const unsigned char* p, std::uint8_t cls) {
    return ClassAt(p - 1) & ClassAt(p + 1) & (cls >> kJoinShift);
}

inline char* EndWord(unsigned char* word, unsigned char* delimiter) {
    *delimiter = 0;
    // When the terminator follows, the next call finds it there and ends the
    // tokenization.
    g_strwordNext = delimiter + 1;
    return reinterpret_cast<char*>(word);
}

// Every case: a new string, the end of the string, double-byte characters,
// joined delimiters, words longer than the window.
[[gnu::noinline]] char* ScanWord(char* text) {
    auto* p = reinterpret_cast<unsigned char*>(text);
    if (p && *p) {
        g_strwordBegin = p;
        g_strwordLimit = p + std::strlen(text) + 1;
        g_windowBase = nullptr;
    } else {
        p = g_strwordNext;
        if (!p || *p == 0) {
            g_strwordNext = nullptr;
            return nullptr;
        }
    }
    SkipDelimiters(p);
    // The first byte of a word is never a delimiter, so every delimiter met
    // below has a byte of the word before it.
    unsigned char* const word = p;

    for (;;) {
        p = SkipAlnum(p);
        const std::uint8_t cls = ClassAt(p);
        if (cls & kWordDelim) {
            if (!JoinsWord(p, cls))
                return EndWord(word, p);
            ++p; // the letter or digit after it belongs to the word as well
            continue;
        }
        if (cls & kWordEnd)
            break;
        if (cls & kWordLead) {
            // A lead byte right before the terminator ends the string.
            if (p[1] == 0)
                break;
            p += 2;
            continue;
        }
        ++p; // a control byte or a high byte that is not a lead byte
    }
    g_strwordNext = nullptr;
    return reinterpret_cast<char*>(word);
}

} // namespace

extern "C" {

// The common case takes no calls and no stack: the next word of the pending
// string, ASCII letters and digits inside the window, ended by a delimiter or
// the terminator. Anything else goes to the full scan, which starts over.
TESMO_API char* TESMO_CALL strword(char* text) {
    if (text && *text)
        return ScanWord(text);
    unsigned char* word = g_strwordNext;
    if (!word || *word == 0) {
        g_strwordNext = nullptr;
        return nullptr;
    }
    SkipDelimiters(word);
    const std::uint64_t stops = WindowStopsFrom(word);
    if (!stops)
        return ScanWord(text);
    unsigned char* const end = word + std::countr_zero(stops);
    const std::uint8_t cls = ClassAt(end);
    // A delimiter at end is never the word's first byte (those were skipped).
    if (cls & kWordDelim) {
        if (!JoinsWord(end, cls))
            return EndWord(word, end);
    } else if (cls & kWordEnd) {
        g_strwordNext = nullptr;
        return reinterpret_cast<char*>(word);
    }
    return ScanWord(text);
}

} // extern "C"
