// euc2sjis and jis2sjis in place: the first input byte picks the function.
// Neither writes past the string (the buffer is exactly its size), neither
// makes it longer, both return their argument, and text they have nothing
// to convert in (ASCII for EUC-JP, no escape byte for JIS) stays as it was.
// The result as a string must equal the one of a plain conversion written
// here.
#include "fuzz_support.h"

#include "tesmo.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// The Shift-JIS bytes of the JIS code (r, k), or nothing when it is invalid.
bool JisToSjis(unsigned r, unsigned k, std::string& out) {
    if (r < 0x21 || r > 0x7E || k < 0x21 || k > 0x7E)
        return false;
    const unsigned trail = (r & 1) ? k + 0x1F + (k >= 0x60 ? 1 : 0) : k + 0x7E;
    const unsigned lead = (r - 1) / 2 + (r < 0x5F ? 0x71 : 0xB1);
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
    return true;
}

std::string Euc(const unsigned char* s) {
    std::string out;
    for (std::size_t i = 0; s[i]; ++i) {
        const unsigned b = s[i];
        if (b < 0x8E || b > 0xFE || b == 0x8F || b == 0xA0) {
            out += static_cast<char>(b);
            continue;
        }
        const unsigned code = (b << 8 | s[i + 1]) - 0x8080;
        if (!JisToSjis(code >> 8, code & 0xFF, out))
            break;
        ++i;
    }
    return out;
}

bool At(const unsigned char* s, std::size_t i, const char* bytes) {
    for (std::size_t j = 0; bytes[j]; ++j)
        if (s[i + j] != static_cast<unsigned char>(bytes[j]))
            return false;
    return true;
}

std::string Jis(const unsigned char* s) {
    std::string out;
    std::size_t i = 0;
    while (s[i]) {
        if (!(At(s, i, "\x1B$@") || At(s, i, "\x1B$B"))) {
            out += static_cast<char>(s[i++]);
            continue;
        }
        for (i += 3;;) {
            if (!s[i] || !JisToSjis(s[i], s[i + 1], out))
                return out;
            i += 2;
            if (At(s, i, "\x1B(J") || At(s, i, "\x1B(B")) {
                i += 3;
                break;
            }
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const bool jis = in.Byte() & 1;
    const std::string text = in.Rest();
    const std::size_t length = std::strlen(text.c_str());
    auto buffer = std::make_unique<char[]>(length + 1);
    std::memcpy(buffer.get(), text.c_str(), length + 1);

    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    const std::string expected = jis ? Jis(bytes) : Euc(bytes);
    char* result = jis ? jis2sjis(buffer.get()) : euc2sjis(buffer.get());
    FUZZ_CHECK(result == buffer.get());
    const std::size_t after = strnlen(buffer.get(), length + 1);
    FUZZ_CHECK(after <= length);

    const auto begin = text.begin(), end = text.begin() + static_cast<std::ptrdiff_t>(length);
    const bool untouched =
        jis ? std::find(begin, end, '\x1B') == end
            : std::all_of(begin, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (untouched)
        FUZZ_CHECK(after == length && std::memcmp(buffer.get(), text.c_str(), length) == 0);
    FUZZ_CHECK(std::string(buffer.get()) == expected);
    return 0;
}
