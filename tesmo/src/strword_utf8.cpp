// strword_utf8: the word counter's tokenizer for UTF-8 text. ASCII follows
// every rule of strword; a multi-byte character counts as one character whose
// Unicode class decides its part: letters, marks and other characters stay in
// the word, white space, punctuation and symbols end it. A byte that does not
// start a well-formed sequence is a word byte of its own.
//
// Its continuation is its own, apart from strword's: a UTF-8 tokenization and
// a byte tokenization may be in progress at the same time, but only one of
// each per process.
#include "ctype_tables.h"
#include "tesmo.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

using namespace tesmo;

namespace {

enum class Part : std::uint8_t { other, letter, digit, delim, end };

constexpr std::uint32_t kRuns[] = {
#include "unicode_classes.inc"
};

Part ClassFromRuns(std::uint32_t cp) {
    // The last run that starts at or before cp.
    const std::uint32_t key = cp << 2 | 3;
    const auto* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), key);
    if (run == std::begin(kRuns))
        return Part::other;
    return static_cast<Part>(run[-1] & 3);
}

// The classes of the Basic Multilingual Plane, two bits each, unpacked from
// the runs once: text of most scripts then costs one lookup per character
// instead of a search.
class CBmpClasses {
  public:
    CBmpClasses() {
        for (std::size_t i = 0; i < std::size(kRuns); ++i) {
            const std::uint32_t first = kRuns[i] >> 2;
            const std::uint32_t end = i + 1 < std::size(kRuns) ? kRuns[i + 1] >> 2 : 0x110000;
            for (std::uint32_t cp = first; cp < end && cp < 0x10000; ++cp)
                m_packed[cp >> 2] |= static_cast<std::uint8_t>((kRuns[i] & 3) << (cp & 3) * 2);
        }
    }
    Part Of(std::uint32_t cp) const {
        return static_cast<Part>(m_packed[cp >> 2] >> (cp & 3) * 2 & 3);
    }

  private:
    std::array<std::uint8_t, 0x10000 / 4> m_packed{};
};

Part ClassOfCodePoint(std::uint32_t cp) {
    if (cp >= 0x10000)
        return ClassFromRuns(cp);
    static const CBmpClasses bmp;
    return bmp.Of(cp);
}

constexpr Part ClassOfAscii(int c) {
    const std::uint8_t single = SingleClassOf(c);
    if (c == 0)
        return Part::end;
    if (single & (kUpper | kLower))
        return Part::letter;
    if (single & kDigit)
        return Part::digit;
    if (single & (kPunct | kSpace))
        return Part::delim;
    return Part::other;
}

constexpr auto kAsciiClass = [] {
    std::array<Part, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[c] = ClassOfAscii(c);
    return table;
}();

static_assert(kAsciiClass['\''] == Part::delim && kAsciiClass['~'] == Part::delim);
static_assert(kAsciiClass['\t'] == Part::delim && kAsciiClass[0x7F] == Part::other);

// One character at p: its class, its length in bytes, and whether it is an
// apostrophe (which also joins two letters).
struct Char {
    Part part;
    unsigned length;
    bool apostrophe;
};

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The code point of the well-formed sequence at p, or -1 (length 1) when the
// byte at p starts none. Reads no byte past a terminator: the terminator is
// not a continuation byte.
std::int32_t Decode(const unsigned char* p, unsigned& length) {
    const unsigned char c = p[0];
    length = 1;
    unsigned n;
    std::uint32_t cp;
    std::uint32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return -1;
    }
    for (unsigned i = 1; i < n; ++i) {
        if (!IsContinuation(p[i]))
            return -1;
        cp = cp << 6 | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    length = n;
    return static_cast<std::int32_t>(cp);
}

[[gnu::noinline]] Char MultiByteCharAt(const unsigned char* p) {
    unsigned length;
    const std::int32_t cp = Decode(p, length);
    if (cp < 0)
        return {Part::other, 1, false};
    return {ClassOfCodePoint(static_cast<std::uint32_t>(cp)), length, cp == 0x2019};
}

inline Char CharAt(const unsigned char* p) {
    if (*p < 0x80) [[likely]]
        return {kAsciiClass[*p], 1, *p == '\''};
    return MultiByteCharAt(p);
}

inline bool IsAsciiAlnum(unsigned char c) {
    return c < 0x80 && (kAsciiClass[c] == Part::letter || kAsciiClass[c] == Part::digit);
}

// Where the next call without a string resumes; a terminator when the
// string is used up.
unsigned char kNoString[1] = {0};
// strword_utf8's own continuation (only `next` of the state is used).
strword_state g_utf8State = {kNoString, nullptr, nullptr, nullptr, 0, 0};

// Whether the delimiter d, between a character of class before and the
// character at after, stays inside the word: any delimiter between two
// digits, an apostrophe between two letters.
bool JoinsWord(Part before, const Char& d, const unsigned char* after) {
    const Part next = CharAt(after).part;
    if (next != before)
        return false;
    return next == Part::digit || (next == Part::letter && d.apostrophe);
}

char* NextWord(strword_state& s) {
    unsigned char* p = s.next;
    Char c = CharAt(p);
    while (c.part == Part::delim) {
        p += c.length;
        c = CharAt(p);
    }
    if (c.part == Part::end) {
        s.next = kNoString;
        return nullptr;
    }
    unsigned char* const word = p;
    Part before = c.part;
    p += c.length;
    for (;;) {
        // The common run: ASCII letters and digits, a byte at a time.
        if (IsAsciiAlnum(*p)) {
            before = kAsciiClass[*p];
            while (IsAsciiAlnum(*++p))
                before = kAsciiClass[*p];
        }
        c = CharAt(p);
        if (c.part == Part::end) {
            s.next = kNoString;
            return reinterpret_cast<char*>(word);
        }
        if (c.part == Part::delim && !JoinsWord(before, c, p + c.length)) {
            *p = 0;
            // Past the whole delimiter: its other bytes are not looked at again.
            s.next = p + c.length;
            return reinterpret_cast<char*>(word);
        }
        before = c.part;
        p += c.length;
    }
}

} // namespace

extern "C" {

TESMO_API char* TESMO_CALL strword_utf8(char* text) {
    if (text && *text)
        g_utf8State.next = reinterpret_cast<unsigned char*>(text);
    return NextWord(g_utf8State);
}

TESMO_API char* TESMO_CALL strword_utf8_r(char* text, strword_state* state) {
    if (!state)
        return nullptr;
    if (text && *text)
        state->next = reinterpret_cast<unsigned char*>(text);
    else if (!state->next) // a state that never had a string
        state->next = kNoString;
    return NextWord(*state);
}

} // extern "C"
