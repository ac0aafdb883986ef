// String operations for text that may hold Shift-JIS double-byte characters.
// The comparisons, mbstrrev and mbdelspace3 work on bytes; mbstrupr, mbstrlwr,
// mbstrtok and mbstrstr step over double-byte characters as units.
//
// Null arguments: a null string compares like the empty string; every other
// function given a null pointer returns null and touches nothing.
#include "ctype_tables.h"
#include "tesmo.h"

#include <array>
#include <cstring>
#include <utility>

using namespace tesmo;

namespace {

using Byte = unsigned char;

constexpr std::array<std::uint8_t, 256> kFoldToLower =
    MakeTable([](int c) { return FoldToLower(static_cast<unsigned char>(c)); });

inline const Byte* Bytes(const char* s) {
    return reinterpret_cast<const Byte*>(s ? s : "");
}

// The width of the character at p: 2 for a lead byte with a byte after it,
// 0 at the end of the string (a lone lead byte before the terminator ends
// it), else 1.
inline int CharWidth(const Byte* p) {
    if (*p == 0)
        return 0;
    if (IsLead(*p))
        return p[1] == 0 ? 0 : 2;
    return 1;
}

// Double-byte characters as their code with the lead byte high.
inline unsigned CharCode(const Byte* p, int width) {
    return width == 2 ? (static_cast<unsigned>(p[0]) << 8) | p[1] : p[0];
}

bool InCharSet(unsigned code, const Byte* set) {
    for (int w; (w = CharWidth(set)) != 0; set += w)
        if (CharCode(set, w) == code)
            return true;
    return false;
}

// Turns every single-byte character in [from, from + 25] into its partner at
// the given distance; double-byte characters are passed over whole.
char* MapSingleByteCase(char* s, Byte from, int distance) {
    if (!s)
        return nullptr;
    auto* p = reinterpret_cast<Byte*>(s);
    for (int w; (w = CharWidth(p)) != 0; p += w)
        if (w == 1 && static_cast<Byte>(*p - from) < 26)
            *p = static_cast<Byte>(*p + distance);
    return s;
}

// Whether the needle matches at h, both read character by character. Returns
// 1 for a match, 0 for a mismatch, -1 when the haystack ran out first.
int MatchAt(const Byte* h, const Byte* n) {
    for (;;) {
        const int wn = CharWidth(n);
        if (wn == 0)
            return 1;
        const int wh = CharWidth(h);
        if (wh == 0)
            return -1;
        if (wh != wn || CharCode(h, wh) != CharCode(n, wn))
            return 0;
        h += wh;
        n += wn;
    }
}

// Continuation position of mbstrtok, process-wide and separate from strword's.
Byte* g_mbstrtokNext = nullptr;

} // namespace

extern "C" {

TESMO_API int TESMO_CALL mbstrcmp(const char* a, const char* b) {
    const Byte* pa = Bytes(a);
    const Byte* pb = Bytes(b);
    while (*pa == *pb && *pa != 0) {
        ++pa;
        ++pb;
    }
    return (*pa > *pb) - (*pa < *pb);
}

TESMO_API int TESMO_CALL mbstricmp(const char* a, const char* b) {
    const Byte* pa = Bytes(a);
    const Byte* pb = Bytes(b);
    for (;; ++pa, ++pb) {
        const int ca = kFoldToLower[*pa];
        const int cb = kFoldToLower[*pb];
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

TESMO_API int TESMO_CALL mbstrncmp(const char* a, const char* b, int n) {
    const Byte* pa = Bytes(a);
    const Byte* pb = Bytes(b);
    for (int i = 0; i < n; ++i) {
        if (pa[i] != pb[i] || pa[i] == 0)
            return pa[i] - pb[i];
    }
    return 0;
}

TESMO_API int TESMO_CALL mbstrnicmp(const char* a, const char* b, int n) {
    const Byte* pa = Bytes(a);
    const Byte* pb = Bytes(b);
    for (int i = 0; i < n; ++i) {
        const int ca = kFoldToLower[pa[i]];
        const int cb = kFoldToLower[pb[i]];
        if (ca != cb || ca == 0)
            return ca - cb;
    }
    return 0;
}

TESMO_API char* TESMO_CALL mbstrrev(char* s) {
    if (!s)
        return nullptr;
    char* last = s + std::strlen(s);
    for (char* first = s; first < last;)
        std::swap(*first++, *--last);
    return s;
}

TESMO_API char* TESMO_CALL mbstrupr(char* s) {
    return MapSingleByteCase(s, 'a', 'A' - 'a');
}

TESMO_API char* TESMO_CALL mbstrlwr(char* s) {
    return MapSingleByteCase(s, 'A', 'a' - 'A');
}

TESMO_API char* TESMO_CALL mbstrconv(char* s) {
    return s;
}

TESMO_API char* TESMO_CALL mbdelspace1(char* dest, const char* src) {
    if (!dest || !src)
        return nullptr;
    const auto* p = reinterpret_cast<const Byte*>(src);
    for (;;) {
        if (p[0] == 0x20)
            p += 1;
        else if (p[0] == 0x81 && p[1] == 0x40)
            p += 2;
        else
            break;
    }
    // dest may be src itself: the rest moves towards the front.
    std::memmove(dest, p, std::strlen(reinterpret_cast<const char*>(p)) + 1);
    return dest;
}

TESMO_API char* TESMO_CALL mbdelspace3(char* dest, const char* src) {
    if (!dest || !src)
        return nullptr;
    // The write position never passes the read position, so dest == src works.
    const auto* in = reinterpret_cast<const Byte*>(src);
    auto* out = reinterpret_cast<Byte*>(dest);
    while (*in != 0) {
        const Byte c = *in++;
        *out++ = c;
        if (IsSpace(c))
            while (IsSpace(*in))
                ++in;
    }
    *out = 0;
    return dest;
}

TESMO_API char* TESMO_CALL mbstrtok(char* s, const char* delimiters) {
    if (!delimiters)
        return nullptr;
    Byte* p = s ? reinterpret_cast<Byte*>(s) : g_mbstrtokNext;
    if (!p)
        return nullptr;
    const auto* set = reinterpret_cast<const Byte*>(delimiters);

    int w;
    while ((w = CharWidth(p)) != 0 && InCharSet(CharCode(p, w), set))
        p += w;
    // Only delimiters left, or a lone lead byte before the terminator.
    if (w == 0) {
        g_mbstrtokNext = nullptr;
        return nullptr;
    }

    Byte* const token = p;
    for (; (w = CharWidth(p)) != 0; p += w) {
        if (InCharSet(CharCode(p, w), set)) {
            std::memset(p, 0, static_cast<std::size_t>(w));
            g_mbstrtokNext = p + w;
            return reinterpret_cast<char*>(token);
        }
    }
    g_mbstrtokNext = nullptr;
    return reinterpret_cast<char*>(token);
}

TESMO_API char* TESMO_CALL mbstrstr(const char* haystack, const char* needle) {
    if (!haystack || !needle)
        return nullptr;
    const auto* h = reinterpret_cast<const Byte*>(haystack);
    const auto* n = reinterpret_cast<const Byte*>(needle);
    // A needle of nothing but a lone lead byte reads as empty, too.
    if (CharWidth(n) == 0)
        return const_cast<char*>(haystack);
    for (int w; (w = CharWidth(h)) != 0; h += w) {
        const int match = MatchAt(h, n);
        if (match == 1)
            return const_cast<char*>(reinterpret_cast<const char*>(h));
        if (match == -1)
            return nullptr;
    }
    return nullptr;
}

} // extern "C"
