// Boyer-Moore search with a bad-character shift table that is prepared once
// per pattern and shared by the whole process.
//
// Safety contract, beyond the classic algorithm:
// - An empty pattern, a null pattern or a search before the first
//   bminitialize finds nothing (the table then has length 0, and the scan
//   would otherwise start before both strings).
// - bmstrstr checks that the pattern it is given has the length that was
//   prepared; a pattern of another length finds nothing, because the scan
//   would read beyond a shorter pattern. A different pattern of the same
//   length reads only within both strings, but the caller then gets the
//   result of a search with the wrong shifts.
#include "tesmo.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

// Written only by bminitialize; one pattern for the whole process, without
// a lock, as the exports promise nothing more.
std::array<int, 256> g_shift{};
int g_length = 0;

// The length of s if it equals expected, else -1; stops reading at
// expected + 1 bytes so that a long mismatched string is not walked.
int LengthIfEqual(const char* s, int expected) {
    int n = 0;
    while (n <= expected && s[n] != '\0')
        ++n;
    return n == expected ? n : -1;
}

} // namespace

extern "C" {

TESMO_API void TESMO_CALL bminitialize(const char* pattern) {
    const int m = pattern ? static_cast<int>(std::strlen(pattern)) : 0;
    g_shift.fill(m);
    for (int i = 0; i < m; ++i)
        g_shift[static_cast<unsigned char>(pattern[i])] = m - 1 - i;
    g_length = m;
}

TESMO_API char* TESMO_CALL bmstrstr(const char* text, const char* pattern) {
    const int m = g_length;
    if (!text || !pattern || m == 0 || LengthIfEqual(pattern, m) < 0)
        return nullptr;
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(std::strlen(text));
    std::ptrdiff_t i = m - 1;
    while (i < n) {
        int j = m - 1;
        while (text[i] == pattern[j]) {
            if (j == 0)
                return const_cast<char*>(text + i);
            --i;
            --j;
        }
        const int skip = g_shift[static_cast<unsigned char>(text[i])];
        i += (m - j > skip) ? m - j : skip;
    }
    return nullptr;
}

} // extern "C"
