#include "engine/segment_codec.h"

#include <cstdint>
#include <iconv.h>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The code point of the UTF-8 sequence at p (n bytes left), stepping p past
// it; a byte that starts no well-formed sequence gives 0 and one step.
char32_t NextCodePoint(const unsigned char*& p, std::size_t n) {
    const unsigned char b = *p++;
    const int extra = b < 0xC0 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF8 ? 3 : 0;
    if (b < 0x80 || extra == 0 || static_cast<std::size_t>(extra) >= n)
        return 0;
    char32_t c = b & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return c;
}

// Hiragana, katakana (full and half width), the kanji blocks, and the marks
// written as kanji (々 〆 〇).
bool IsKanaOrKanji(char32_t c) {
    return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3041 && c <= 0x309F) ||
           (c >= 0x30A1 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF66 && c <= 0xFF9F) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool Convert(void* converter, std::string_view in, std::string& out, std::size_t growth) {
    const auto cd = static_cast<iconv_t>(converter);
    if (cd == kNoConverter)
        return false;
    out.resize(in.size() * growth);
    char* from = const_cast<char*>(in.data()); // iconv only reads it
    std::size_t fromLeft = in.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool whole = iconv(cd, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
                       iconv(cd, nullptr, nullptr, &to, &toLeft) != static_cast<std::size_t>(-1);
    out.resize(out.size() - toLeft);
    return whole && fromLeft == 0;
}

} // namespace

bool HoldsJapanese(std::string_view word, bool utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(word.data());
    const auto* end = p + word.size();
    if (!utf8) {
        for (; p < end; ++p) {
            if (*p >= 0x80)
                return true;
        }
        return false;
    }
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        if (IsKanaOrKanji(NextCodePoint(p, static_cast<std::size_t>(end - p))))
            return true;
    }
    return false;
}

CCp932Codec::CCp932Codec()
    : m_pToUtf8(iconv_open("UTF-8", "CP932")), m_pFromUtf8(iconv_open("CP932", "UTF-8")) {}

CCp932Codec::~CCp932Codec() {
    for (void* converter : {m_pToUtf8, m_pFromUtf8}) {
        if (static_cast<iconv_t>(converter) != kNoConverter)
            iconv_close(static_cast<iconv_t>(converter));
    }
}

bool CCp932Codec::Available() const {
    return static_cast<iconv_t>(m_pToUtf8) != kNoConverter &&
           static_cast<iconv_t>(m_pFromUtf8) != kNoConverter;
}

// A character of code page 932 (one or two bytes) takes at most three bytes
// of UTF-8; going back never takes more bytes than it came in.
bool CCp932Codec::ToUtf8(std::string_view cp932, std::string& out) {
    return Convert(m_pToUtf8, cp932, out, 3);
}

bool CCp932Codec::FromUtf8(std::string_view utf8, std::string& out) {
    return Convert(m_pFromUtf8, utf8, out, 1);
}
