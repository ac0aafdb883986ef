// strword: the word counter's tokenizer. It splits a line in place, one word
// per call, resuming from one process-wide position between calls.
//
// It runs once per word of every counted file, so the common case (ASCII
// letters and digits ended by a delimiter) is kept short: a bit mask of the
// bytes of 64 at a time that are not letters or digits gives the end of a
// word with one bit scan. Everything else is decided byte by byte with one
// lookup in a combined class table.
#include "ctype_tables.h"
#include "tesmo.h"

#include <algorithm>
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

// A tokenization in progress (strword_state of the header, by its members):
//  next          where the next call without a string resumes; when the
//                string is used up it points at a terminator (one of its own,
//                or kNoString), which saves the hot path a test;
//  begin, limit  the bytes of the string last passed, terminator included:
//                the only range that is ever read in blocks;
//  window_base, window_stops
//                a window over 64 bytes of that string from window_base on:
//                bit i is set when byte i is not an ASCII letter or digit (a
//                stop), or lies past the terminator;
//  pending_stops the window's stops at or after the pending position, or 0
//                when unknown. Taking a word clears bits from it instead of
//                recomputing it from the position, which keeps the work that
//                one call hands to the next short.
using State = strword_state;

unsigned char kNoString[1] = {0};

// strword's own: shared by every caller in the process (the token functions
// included), so only one such tokenization can be in progress at a time.
State g_state = {kNoString, nullptr, nullptr, nullptr, 0, 0};

inline bool IsAsciiAlnum(unsigned char c) {
    return kWordClass[c] & (kWordLetter | kWordDigit);
}

inline std::uint64_t ScalarStops(const unsigned char* p, unsigned count) {
    std::uint64_t bits = 0;
    for (unsigned i = 0; i < count; ++i)
        bits |= std::uint64_t{!IsAsciiAlnum(p[i])} << i;
    return bits;
}

#if defined(__SSE2__)
// Bit i set when byte i of the 16 at block is not an ASCII letter or digit.
inline std::uint64_t BlockStops(const unsigned char* block) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    // Unsigned range tests through signed compares: shift the range down to -128.
    const auto in_range = [](__m128i x, char lo, int count) {
        const __m128i shifted = _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(-128 - lo)));
        return _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + count)));
    };
    const __m128i letter = in_range(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 26);
    const __m128i digit = in_range(v, '0', 10);
    return ~static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_or_si128(letter, digit))) & 0xFFFF;
}
#else
inline std::uint64_t BlockStops(const unsigned char* block) {
    return ScalarStops(block, 16);
}
#endif

inline std::uint64_t Stops64(const unsigned char* p) {
    return BlockStops(p) | BlockStops(p + 16) << 16 | BlockStops(p + 32) << 32 |
           BlockStops(p + 48) << 48;
}

// Bits at and above bit n (n < 64).
inline std::uint64_t BitsFrom(unsigned n) {
    return ~std::uint64_t{0} << n;
}

// Moves the window to base, which lies before the limit.
void FillWindow(State& s, unsigned char* base) {
    const unsigned char* const limit = s.limit;
    s.window_base = base;
    if (limit - base >= 64) {
        s.window_stops = Stops64(base);
        return;
    }
    const auto avail = static_cast<unsigned>(limit - base);
    if (limit - s.begin >= 64) {
        // The 64 bytes that end with the terminator, moved into place.
        const unsigned char* last = limit - 64;
        s.window_stops = (Stops64(last) >> (base - last)) | BitsFrom(avail);
    } else {
        s.window_stops = ScalarStops(base, avail) | BitsFrom(avail);
    }
}

// The offset of p in the window, 64 or more when outside.
inline std::uintptr_t WindowOffset(const State& s, const unsigned char* p) {
    return reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(s.window_base);
}

// Takes a new string: its bounds, the window at its start, and the position
// the scan starts from.
void StartString(State& s, char* text) {
    auto* p = reinterpret_cast<unsigned char*>(text);
    const std::size_t size = std::strlen(text) + 1;
    s.begin = p;
    s.limit = p + size;
    s.next = p;
    if (size < 16) {
        FillWindow(s, p);
    } else {
        // Four blocks, each moved back as far as needed to end inside the
        // string; overlapping blocks agree on the bytes they share. Lines
        // vary in length, so this avoids branching on it.
        std::uint64_t stops = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t offset = std::min(16 * k, size - 16);
            stops |= BlockStops(p + offset) << offset;
        }
        s.window_base = p;
        s.window_stops = size < 64 ? stops | BitsFrom(static_cast<unsigned>(size)) : stops;
    }
    s.pending_stops = s.window_stops;
}

// The first byte at or after p that is not an ASCII letter or digit.
unsigned char* SkipAlnum(State& s, unsigned char* p) {
    for (;;) {
        std::uintptr_t offset = WindowOffset(s, p);
        if (offset < 64) {
            if (const std::uint64_t stops = s.window_stops >> offset)
                return p + std::countr_zero(stops);
            p += 64 - offset; // all letters to the window's end
        }
        if (p >= s.limit)
            break; // only when the string was changed behind our back
        FillWindow(s, p);
    }
    while (IsAsciiAlnum(*p))
        ++p;
    return p;
}

// Whether the delimiter at p (of class cls) stays inside the word: an
// apostrophe between letters, or any delimiter between digits. The caller
// guarantees a byte of the word before p. The byte after is tested first:
// it is seldom a digit and rarely a letter after an apostrophe.
inline bool JoinsWord(const unsigned char* p, std::uint8_t cls) {
    const std::uint8_t joins = (cls >> kJoinShift) & ClassAt(p + 1);
    return joins && (joins & ClassAt(p - 1));
}

// Ends the word at the delimiter; pending_stops are the stops after it.
inline char* EndWord(State& s, unsigned char* word, unsigned char* delimiter,
                     std::uint64_t pending_stops) {
    *delimiter = 0;
    // When the terminator follows, the next call finds it there and ends the
    // tokenization.
    s.next = delimiter + 1;
    s.pending_stops = pending_stops;
    return reinterpret_cast<char*>(word);
}

inline char* EndString(State& s, unsigned char* word) {
    s.next = kNoString;
    s.pending_stops = 0;
    return reinterpret_cast<char*>(word);
}

// Every case, from the pending position: double-byte characters, joined
// delimiters, words that leave the window.
[[gnu::noinline]] char* ScanPendingWord(State& s) {
    unsigned char* p = s.next;
    while (ClassAt(p) & kWordDelim)
        ++p;
    // The first byte of a word is never a delimiter, so every delimiter met
    // below has a byte of the word before it.
    unsigned char* const word = p;

    for (;;) {
        p = SkipAlnum(s, p);
        const std::uint8_t cls = ClassAt(p);
        if (cls & kWordDelim) {
            if (!JoinsWord(p, cls)) {
                const std::uintptr_t after = WindowOffset(s, p) + 1;
                return EndWord(s, word, p, after < 64 ? s.window_stops & BitsFrom(after) : 0);
            }
            ++p; // the letter or digit after it belongs to the word as well
        } else if (cls & kWordEnd) {
            return EndString(s, word);
        } else if (cls & kWordLead) {
            // A lead byte right before the terminator ends the string.
            if (p[1] == 0)
                return EndString(s, word);
            p += 2;
        } else {
            ++p; // a control byte or a high byte that is not a lead byte
        }
    }
}

// Takes the word at word (past any delimiters), given the window's stops
// from word on, of which the lowest ends it.
inline char* TakeWord(State& s, unsigned char* word, std::uint64_t stops) {
    unsigned char* const end = s.window_base + static_cast<unsigned>(std::countr_zero(stops));
    const std::uint8_t cls = ClassAt(end);
    // A delimiter at end is never the word's first byte.
    if (cls & kWordDelim) [[likely]] {
        if (!JoinsWord(end, cls)) [[likely]]
            return EndWord(s, word, end, stops & (stops - 1));
    } else if (cls & kWordEnd) {
        return EndString(s, word);
    }
    return ScanPendingWord(s);
}

// The word at word starts past the window, or runs to its end.
[[gnu::noinline]] char* TakeWordInNewWindow(State& s, unsigned char* word) {
    if (word >= s.limit)
        return ScanPendingWord(s); // only when the string was changed behind our back
    FillWindow(s, word);
    if (!s.window_stops)
        return ScanPendingWord(s); // 64 letters or digits in a row
    return TakeWord(s, word, s.window_stops);
}

// The common case: a word of ASCII letters and digits inside the window,
// ended by a delimiter or the terminator. Anything else goes to the full
// scan, which starts over from the pending position.
inline char* NextWord(State& s) {
    unsigned char* word = s.next;
    std::uint64_t stops = s.pending_stops;
    if (ClassAt(word) & (kWordDelim | kWordEnd)) [[unlikely]] {
        if (*word == 0)
            return EndString(s, nullptr);
        // Every delimiter is a stop: the lowest pending one is the one at word.
        do {
            ++word;
            stops &= stops - 1;
        } while (ClassAt(word) & kWordDelim);
    }
    if (!stops) [[unlikely]]
        return TakeWordInNewWindow(s, word);
    return TakeWord(s, word, stops);
}

[[gnu::noinline]] char* FirstWord(State& s, char* text) {
    StartString(s, text);
    return NextWord(s);
}

} // namespace

extern "C" {

TESMO_API char* TESMO_CALL strword(char* text) {
    if (text && *text)
        return FirstWord(g_state, text);
    return NextWord(g_state);
}

TESMO_API char* TESMO_CALL strword_r(char* text, strword_state* state) {
    if (!state)
        return nullptr;
    if (text && *text)
        return FirstWord(*state, text);
    if (!state->next) [[unlikely]] // a state that never had a string
        state->next = kNoString;
    return NextWord(*state);
}

} // extern "C"
