#include "cli/sjis_to_utf8.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

} // namespace

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
