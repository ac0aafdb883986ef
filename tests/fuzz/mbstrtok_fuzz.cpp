// mbstrtok: the first input byte gives the length of the delimiter set, the
// rest is the string. Tokens lie inside the buffer in order, are not empty,
// and hold no character of the delimiter set (whole characters compared).
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>
#include <set>
#include <vector>

namespace {

// The characters of a NUL-terminated string: a lead byte with the byte after
// it, or one byte; a lead byte before the terminator ends the string.
std::vector<unsigned> Characters(const char* s, std::size_t length) {
    std::vector<unsigned> chars;
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    for (std::size_t i = 0; i < length; ++i) {
        if (fuzz::IsLeadByte(p[i])) {
            if (i + 1 >= length)
                break;
            chars.push_back(p[i] << 8 | p[i + 1]);
            ++i;
        } else {
            chars.push_back(p[i]);
        }
    }
    return chars;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const std::size_t setLength = in.Byte() % 8;
    std::string delimiters;
    for (std::size_t i = 0; i < setLength; ++i)
        delimiters += static_cast<char>(in.Byte());
    delimiters = delimiters.c_str(); // as the function sees it
    std::string text = in.Rest();
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    const std::size_t length = std::strlen(buffer.data());

    const auto delimiterChars = Characters(delimiters.c_str(), delimiters.size());
    const std::set<unsigned> set(delimiterChars.begin(), delimiterChars.end());

    const char* begin = buffer.data();
    const char* previousEnd = begin;
    std::size_t calls = 0;
    for (char* token = mbstrtok(buffer.data(), delimiters.c_str()); token;
         token = mbstrtok(nullptr, delimiters.c_str())) {
        FUZZ_CHECK(++calls <= length + 1);
        FUZZ_CHECK(token >= previousEnd && token < begin + length);
        const std::size_t tokenLength = std::strlen(token);
        FUZZ_CHECK(tokenLength > 0 && token + tokenLength <= begin + length);
        for (unsigned c : Characters(token, tokenLength))
            FUZZ_CHECK(set.count(c) == 0);
        previousEnd = token + tokenLength;
    }
    return 0;
}
