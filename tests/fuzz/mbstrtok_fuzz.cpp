// mbstrtok: the first input byte gives the length of the delimiter set, the
// rest is the string. Tokens lie inside the buffer in order, are not empty,
// and hold no character of the delimiter set (whole characters compared);
// they are those of a plain tokenizer written here.
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>
#include <set>
#include <utility>
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

// The tokens as offsets and lengths, from a copy of the string.
std::vector<std::pair<std::size_t, std::size_t>> ExpectedTokens(std::vector<unsigned char> s,
                                                                const std::set<unsigned>& set) {
    // The character at p and its length; length 0 at the end of the string.
    auto charAt = [&s](std::size_t p, unsigned& c) -> std::size_t {
        if (!s[p] || (fuzz::IsLeadByte(s[p]) && !s[p + 1]))
            return 0;
        if (fuzz::IsLeadByte(s[p])) {
            c = s[p] << 8 | s[p + 1];
            return 2;
        }
        c = s[p];
        return 1;
    };
    std::vector<std::pair<std::size_t, std::size_t>> tokens;
    std::size_t p = 0;
    for (;;) {
        unsigned c = 0;
        std::size_t n;
        while ((n = charAt(p, c)) && set.count(c))
            p += n;
        if (!n)
            return tokens;
        const std::size_t start = p;
        while ((n = charAt(p, c)) && !set.count(c))
            p += n;
        if (!n) {
            tokens.emplace_back(start, std::strlen(reinterpret_cast<const char*>(&s[start])));
            return tokens;
        }
        for (std::size_t i = 0; i < n; ++i)
            s[p + i] = 0;
        tokens.emplace_back(start, p - start);
        p += n;
    }
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

    const auto expected = ExpectedTokens(
        std::vector<unsigned char>(buffer.begin(), buffer.begin() + length + 1), set);
    std::vector<std::pair<std::size_t, std::size_t>> tokens;
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
        tokens.emplace_back(token - begin, tokenLength);
    }
    FUZZ_CHECK(tokens == expected);
    return 0;
}
