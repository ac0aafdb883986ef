// Checks around a hit (a keyword occurrence at a known offset of a line):
// free-standing word, end of the first sentence, the n-th word before or
// after, and a second keyword before or after the hit.
//
// A neighbour byte that lies before the start of the line or beyond its
// terminator counts as missing: neither alphanumeric nor any punctuation that
// a check looks for. Null strings find nothing.
#include "ctype_tables.h"
#include "tesmo.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace tesmo;

namespace {

constexpr std::size_t kTokenCopy = 1000; // gettoken's working copy
constexpr std::size_t kHitCopy = 260;    // Rekkc's working copy

unsigned char At(const char* s, long long i) {
    return static_cast<unsigned char>(s[i]);
}

// The byte at offset i of s, or 0 when it is missing.
unsigned char Neighbour(const char* s, long long i) {
    if (!s || i < 0)
        return 0;
    for (long long k = 0; k < i; ++k)
        if (s[k] == '\0')
            return 0;
    return At(s, i);
}

// Copies at most size - 1 bytes of line; returns the copy's length.
std::size_t CopyLine(const char* line, char* copy, std::size_t size) {
    const std::size_t n = strnlen(line, size - 1);
    std::memcpy(copy, line, n);
    copy[n] = '\0';
    return n;
}

// Full-width A-Z (0x8260-0x8279) to full-width a-z (0x8281-0x829A).
void LowerFullWidth(char* s) {
    for (std::size_t i = 0; s[i] && s[i + 1]; ++i) {
        if (!IsLead(At(s, i)))
            continue;
        if (At(s, i) == 0x82 && At(s, i + 1) >= 0x60 && At(s, i + 1) <= 0x79)
            s[i + 1] = static_cast<char>(At(s, i + 1) + 0x21);
        ++i;
    }
}

// The length of the character at offset i of a string of length n: 2 at a
// lead byte with a byte after it, else 1.
std::size_t CharLength(const char* s, std::size_t i, std::size_t n) {
    return (IsLead(At(s, i)) && i + 1 < n) ? 2 : 1;
}

// s[0, n) with its characters in reverse order, each keeping its bytes.
std::string ReverseCharacters(const char* s, std::size_t n) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = CharLength(s, i, n);
        std::memcpy(&out[n - i - len], s + i, len);
        i += len;
    }
    return out;
}

// Where byte offset pos of s[0, n) lands in ReverseCharacters(s, n).
std::size_t ReversedOffset(const char* s, std::size_t n, std::size_t pos) {
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = CharLength(s, i, n);
        if (pos < i + len)
            return n - i - len + (pos - i);
        i += len;
    }
    return 0;
}

bool IsWordByteAt(const char* s, long long p) {
    return IsAlnum(At(s, p)) || (s[p] == '\'' && IsLetter(At(s, p + 1)));
}

// strword continues from its own process-wide position. Running it out
// leaves that position null instead of pointing into our working copy, which
// dies when the call returns; every call takes at least one byte, so the
// loop ends within the copy's length.
void FinishTokenizing(std::size_t length) {
    for (std::size_t k = 0; k <= length + 1 && strword(nullptr); ++k) {
    }
}

// The word that starts after offset before (-1 at the start of the line),
// or the n-th word after it; in mode 1 only up to the end of its sentence.
void WordAfter(char* copy, std::size_t length, long long before, int n, int mode, char* out) {
    char* start = copy + (before < 0 ? 0 : before);
    if (*start == '\0')
        return; // strword would resume whatever tokenization was pending
    const char* limit = mode == 1 ? getSF(0, start) : copy + length - 1;
    char* word = strword(start);
    for (int k = 0; k < n && word; ++k)
        word = strword(nullptr);
    if (word && word <= limit)
        std::strcpy(out, word);
}

// The count-th word that ends at or before offset before, found as strword
// sees the reversed bytes. Mode 1's sentence limit applies only to the words
// after the position; callers have never had it restrict the words before.
void WordBefore(char* copy, std::size_t length, long long before, long long count, char* out) {
    const std::size_t cut = before < 0 ? 0 : std::min<std::size_t>(before + 1, length);
    copy[cut] = '\0';
    if (cut == 0)
        return;
    mbstrrev(copy);
    char* word = strword(copy);
    for (long long k = 1; k < count && word; ++k)
        word = strword(nullptr);
    if (word) {
        std::strcpy(out, word);
        mbstrrev(out);
    }
}

struct HitSearch {
    enum Direction { kAfter, kBefore, kNone } direction;
    bool word_check;
    bool sentence;
};

HitSearch SearchOf(int type) {
    switch (type) {
    case 0:
        return {HitSearch::kAfter, false, false};
    case 1:
        return {HitSearch::kAfter, true, false};
    case 11:
    case -9:
        return {HitSearch::kAfter, true, true};
    case 2:
    case -1:
        return {HitSearch::kBefore, true, false};
    case 12:
    case -10:
        return {HitSearch::kBefore, true, true};
    default:
        return {HitSearch::kNone, false, false};
    }
}

// Occurrences from the hit's last byte on, up to the end of the line or of
// the sentence.
bool FoundAfter(const HitSearch& how, const char* copy, std::size_t length, long long from,
                int check, const char* keyword) {
    from = std::max(from, 0LL);
    if (from > static_cast<long long>(length))
        return false;
    const char* limit = how.sentence ? getSF(0, copy + from) : copy + length;
    const long long klen = static_cast<long long>(std::strlen(keyword));
    for (const char* at = std::strstr(copy + from, keyword); at && at < limit;
         at = std::strstr(at + 1, keyword)) {
        if (!how.word_check || wordcheck(check, copy, static_cast<int>(at - copy),
                                         static_cast<int>(std::min(klen, 1LL << 30))) == 0)
            return true;
    }
    return false;
}

// Occurrences that end at or before the hit's first byte, back to the start
// of the line or of the sentence. The search runs forward through the
// characters in reverse order and looks for the keyword's bytes as given:
// callers of before-searches pass the keyword with its characters reversed
// ("eht" finds "the"), and existing callers rely on that.
bool FoundBefore(const HitSearch& how, const char* copy, std::size_t length, long long pos,
                 int check, const char* line, const char* keyword) {
    if (pos < 0)
        return false;
    const std::string reversed = ReverseCharacters(copy, length);
    const std::size_t klen = std::strlen(keyword);
    const char* key = keyword;
    const std::size_t from = static_cast<std::size_t>(pos) >= length
                                 ? 0
                                 : ReversedOffset(copy, length, static_cast<std::size_t>(pos));
    const char* text = reversed.c_str();
    const char* limit = how.sentence ? getSF(1, text + from) : text + length;
    for (const char* at = std::strstr(text + from, key); at && at < limit;
         at = std::strstr(at + 1, key)) {
        const std::size_t start = length - static_cast<std::size_t>(at - text) - klen;
        if (wordcheck(check, line, static_cast<int>(start), static_cast<int>(klen)) == 0)
            return true;
    }
    return false;
}

} // namespace

extern "C" {

TESMO_API int TESMO_CALL wordcheck(int mode, const char* line, int pos, int len) {
    const unsigned char before = Neighbour(line, static_cast<long long>(pos) - 1);
    const unsigned char after = Neighbour(line, static_cast<long long>(pos) + len);
    const bool b = IsAlnum(before);
    const bool a = IsAlnum(after);
    const bool apostrophe = after == '\'';
    const bool hyphen = after == '-';
    bool joined;
    switch (mode) {
    case 0:
        joined = false;
        break;
    case 1:
        joined = b || a;
        break;
    case 2:
        joined = b;
        break;
    case 3:
        joined = a;
        break;
    case 11:
        joined = b || a || apostrophe;
        break;
    case 13:
        joined = a || apostrophe;
        break;
    case 21:
        joined = b || a || hyphen;
        break;
    case 23:
        joined = a || hyphen;
        break;
    case 31:
        joined = b || a || apostrophe || hyphen;
        break;
    case 33:
        joined = a || apostrophe || hyphen;
        break;
    default:
        joined = true;
        break;
    }
    return joined ? 1 : 0;
}

TESMO_API char* TESMO_CALL getSF(int mode, const char* text) {
    if (!text)
        return nullptr;
    const std::size_t n = std::strlen(text);
    std::size_t end = n;
    if (mode == 1) {
        if (const char* bar = std::strstr(text, " | "))
            end = std::min(end, static_cast<std::size_t>(bar - text));
    }
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == ',' && ((i > 0 && text[i - 1] == '"') || text[i + 1] == '"')) {
            end = i;
            break;
        }
    }
    const char* mark = std::strchr(text, '?');
    if (!mark)
        mark = std::strchr(text, '!');
    if (mark)
        end = std::min(end, static_cast<std::size_t>(mark - text));
    for (std::size_t i = 0; i < end && (mode == 0 || mode == 1); ++i) {
        const bool stop = mode == 0 ? text[i + 1] == '"' : !(i >= 2 && text[i - 2] == '.');
        if (text[i] == '.' && stop) {
            end = i;
            break;
        }
    }
    return const_cast<char*>(text + end);
}

TESMO_API void TESMO_CALL gettoken(int n, int mode, int pos, int /*ignored*/, const char* line,
                                   char* out) {
    if (!out)
        return;
    out[0] = '\0';
    if (!line)
        return;
    char copy[kTokenCopy];
    const std::size_t length = CopyLine(line, copy, sizeof copy);
    if (pos < 0 || static_cast<std::size_t>(pos) > length)
        return;
    // Back to just before the word that holds pos; -1 when it starts the line.
    long long before = pos;
    while (before >= 0 && IsWordByteAt(copy, before))
        --before;
    if (n >= 0)
        WordAfter(copy, length, before, n, mode, out);
    else
        WordBefore(copy, length, before, -static_cast<long long>(n), out);
    FinishTokenizing(length);
}

TESMO_API int TESMO_CALL Rekkc(int type, int lower, int check, int pos, int len, const char* line,
                               const char* keyword) {
    const HitSearch how = SearchOf(type);
    const int if_found = type >= 1 ? 0 : 1;
    const int if_missing = 1 - if_found;
    if (how.direction == HitSearch::kNone || !line || !keyword || !*keyword)
        return if_missing;
    char copy[kHitCopy];
    const std::size_t length = CopyLine(line, copy, sizeof copy);
    if (lower == 1)
        LowerFullWidth(copy);
    const bool found =
        how.direction == HitSearch::kAfter
            ? FoundAfter(how, copy, length, static_cast<long long>(pos) + len - 1, check, keyword)
            : FoundBefore(how, copy, length, pos, check, line, keyword);
    return found ? if_found : if_missing;
}

} // extern "C"
