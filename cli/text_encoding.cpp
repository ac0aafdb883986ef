#include "cli/text_encoding.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The number of continuation bytes after lead byte c, or -1 when c cannot
// begin a sequence.
int ContinuationCount(unsigned char c) {
    if (c < 0x80)
        return 0;
    if (c >= 0xC2 && c <= 0xDF)
        return 1;
    if (c >= 0xE0 && c <= 0xEF)
        return 2;
    if (c >= 0xF0 && c <= 0xF4)
        return 3;
    return -1;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int more = ContinuationCount(c);
        if (more < 0 || static_cast<std::size_t>(more) >= bytes.size() - i)
            return false;
        if (more > 0) {
            // The second byte's range rules out overlong forms, surrogates
            // and code points above U+10FFFF.
            const auto c1 = static_cast<unsigned char>(bytes[i + 1]);
            unsigned char low = 0x80, high = 0xBF;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
            else if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
            if (c1 < low || c1 > high)
                return false;
            for (int k = 2; k <= more; ++k) {
                const auto ck = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
                if (ck < 0x80 || ck > 0xBF)
                    return false;
            }
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

CSjisToUtf8::CSjisToUtf8() : m_cd(iconv_open("UTF-8", "CP932")) {}

CSjisToUtf8::~CSjisToUtf8() {
    if (static_cast<iconv_t>(m_cd) != kNoConverter)
        iconv_close(static_cast<iconv_t>(m_cd));
}

bool CSjisToUtf8::Convert(std::string_view bytes, std::string& out) {
    const auto cd = static_cast<iconv_t>(m_cd);
    bool whole = true;
    if (cd == kNoConverter) {
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out += c;
            } else {
                out += kReplacement;
                whole = false;
            }
        }
        return whole;
    }
    // A Shift-JIS character of one or two bytes never needs more than three
    // bytes of UTF-8, and U+FFFD for one byte is three bytes.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data() + start;
    std::size_t outLeft = out.size() - start;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the room above
        // An invalid or cut-off sequence: a replacement for its first byte,
        // then go on with the next.
        for (char r : kReplacement)
            *outPtr++ = r;
        outLeft -= kReplacement.size();
        ++in;
        --inLeft;
        whole = false;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return whole && inLeft == 0;
}
