// strword: the word counter's tokenizer. It splits a line in place, one word
// per call, resuming from one process-wide position between calls.
#include "ctype_tables.h"
#include "tesmo.h"

#include <cstdint>

using namespace tesmo;

namespace {

// One combined class per byte, so the scan needs a single lookup to know
// whether a byte can be taken without further thought.
enum : std::uint8_t {
    kWordDelim = 0x01,  // single-byte punctuation or white space
    kWordLead = 0x02,   // first byte of a double-byte character
    kWordDigit = 0x04,  // 0-9
    kWordLetter = 0x08, // A-Z, a-z
    kWordEnd = 0x10,    // the terminator
    kWordStop = kWordDelim | kWordLead | kWordEnd,
};

constexpr std::uint8_t WordClassOf(int c) {
    const std::uint8_t single = SingleClassOf(c);
    std::uint8_t f = 0;
    if (single & (kPunct | kSpace))
        f |= kWordDelim;
    if (SjisClassOf(c) & kLead)
        f |= kWordLead;
    if (single & kDigit)
        f |= kWordDigit;
    if (single & (kUpper | kLower))
        f |= kWordLetter;
    if (c == 0)
        f |= kWordEnd;
    return f;
}

constexpr std::array<std::uint8_t, 256> kWordClass = MakeTable(WordClassOf);

static_assert(kWordClass['\''] == kWordDelim);
static_assert(kWordClass[' '] == kWordDelim && kWordClass['\t'] == kWordDelim);
static_assert(kWordClass[0x81] == kWordLead && kWordClass[0xA0] == 0 && kWordClass[0xFD] == 0);
static_assert(kWordClass['7'] == kWordDigit && kWordClass['q'] == kWordLetter);

inline std::uint8_t ClassAt(const unsigned char* p) {
    return kWordClass[*p];
}

// Where the next call without a string resumes; null when the string is used
// up. Shared by every caller in the process (the token functions included),
// so only one tokenization can be in progress at a time.
unsigned char* g_strwordNext = nullptr;

// Bytes that keep a word going although they are delimiters: an apostrophe
// between two letters (with the letter after it), or any delimiter between
// two digits. p > start of the word, so p[-1] is inside the string.
inline int JoinedDelimiterWidth(const unsigned char* p) {
    if (*p == '\'' && (ClassAt(p + 1) & kWordLetter) && (ClassAt(p - 1) & kWordLetter))
        return 2;
    if ((ClassAt(p - 1) & kWordDigit) && (ClassAt(p + 1) & kWordDigit))
        return 1;
    return 0;
}

} // namespace

extern "C" {

TESMO_API char* TESMO_CALL strword(char* text) {
    auto* p = reinterpret_cast<unsigned char*>(text);
    if (!p || *p == 0) {
        p = g_strwordNext;
        if (!p || *p == 0) {
            g_strwordNext = nullptr;
            return nullptr;
        }
    }
    while (ClassAt(p) & kWordDelim)
        ++p;
    unsigned char* const word = p;

    for (;;) {
        // Letters, digits and every other ordinary byte: the common case.
        while (!(ClassAt(p) & kWordStop))
            ++p;
        const std::uint8_t cls = ClassAt(p);
        if (cls & kWordEnd)
            break;
        if (cls & kWordLead) {
            // A lead byte right before the terminator ends the string.
            if (p[1] == 0)
                break;
            p += 2;
            continue;
        }
        if (const int width = JoinedDelimiterWidth(p)) {
            p += width;
            continue;
        }
        *p = 0;
        g_strwordNext = p[1] == 0 ? p : p + 1;
        return reinterpret_cast<char*>(word);
    }
    g_strwordNext = nullptr;
    return reinterpret_cast<char*>(word);
}

} // extern "C"
