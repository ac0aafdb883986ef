// The library's identity and the exports that classify the character at a
// byte offset.
#include "ctype_tables.h"
#include "tesmo.h"

using namespace tesmo;

namespace {

constexpr int kLanguageEnglish = 0;
constexpr int kVersion = 5; // version 0.05, times 100

inline unsigned char At(const char* text, int i) {
    return static_cast<unsigned char>(text[i]);
}

int ClassifySingle(unsigned char c) {
    if ((kSingleClass[c] & kPunct) || (kSjisClass[c] & kKanaPunct))
        return 1;
    if (IsAlnum(c))
        return 0;
    if (kSjisClass[c] & kKana)
        return 2;
    return 9;
}

int ClassifyDouble(unsigned k) {
    const bool jp = JapaneseCodePage();
    const bool legal = IsLegalDoubleByte(k);
    if (jp && legal && ((k >= 0x889F && k <= 0x9872) || (k >= 0x989F && k <= 0xEA9E)))
        return 5;
    if (jp && k >= 0x829F && k <= 0x82F1)
        return 4;
    if (k == 0x815B || (jp && k >= 0x8340 && k <= 0x8396 && k != 0x837F))
        return 3;
    if (k >= 0x824F && k <= 0x8294)
        return 6;
    if (jp && legal && k <= 0x889E)
        return 7;
    return 10;
}

// True when offset n (n >= 0) is at or before the terminator.
bool WithinString(const char* text, int n) {
    for (int i = 0; i < n; ++i)
        if (At(text, i) == 0)
            return false;
    return true;
}

unsigned DoubleCode(const char* text, int first) {
    return (static_cast<unsigned>(At(text, first)) << 8) | At(text, first + 1);
}

} // namespace

extern "C" {

TESMO_API int TESMO_CALL CwExType(void) {
    return kLanguageEnglish;
}

TESMO_API char* TESMO_CALL GetLanguage(char* buffer) {
    if (buffer)
        buffer[0] = '\0';
    return buffer;
}

TESMO_API int TESMO_CALL GetExDllVersion(void) {
    return kVersion;
}

TESMO_API int TESMO_CALL is_nth_kanji(int n, const char* text) {
    if (n < 0 || !text)
        return 1;
    int p = 0;
    while (p < n && At(text, p) != 0) {
        if (IsLead(At(text, p)))
            ++p;
        if (At(text, p) != 0)
            ++p;
    }
    return (p == n && IsLead(At(text, p))) ? 0 : 1;
}

TESMO_API int TESMO_CALL is_nth_kanji2(int n, const char* text) {
    if (n < 0 || !text)
        return 1;
    int p = 0;
    while (p < n && At(text, p) != 0) {
        if (IsLead(At(text, p)))
            ++p;
        if (At(text, p) == 0)
            return 1;
        if (p == n && IsTrail(At(text, p)))
            return 0;
        ++p;
    }
    return (p == n && IsTrail(At(text, p))) ? 0 : 1;
}

TESMO_API int TESMO_CALL zqr_nthctype(int n, const char* text) {
    if (!text || At(text, 0) == 0)
        return 11;
    // Offsets outside the string classify as the terminator.
    if (n < 0 || !WithinString(text, n))
        return ClassifySingle(0);
    if (is_nth_kanji(n, text) == 0)
        return ClassifyDouble(DoubleCode(text, n));
    if (is_nth_kanji(n - 1, text) == 0 && is_nth_kanji2(n, text) == 0)
        return ClassifyDouble(DoubleCode(text, n - 1));
    return ClassifySingle(At(text, n));
}

} // extern "C"
