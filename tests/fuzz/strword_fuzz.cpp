// strword over one line: every word lies inside the buffer, words come in
// order without overlap, a word holds no delimiter except an apostrophe
// between letters or a delimiter between digits (or the second byte of a
// double-byte character), and every byte left out of the words was a
// delimiter. The tokenization ends within a bounded number of calls.
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>
#include <vector>

namespace {

void CheckWord(const unsigned char* word, std::size_t length) {
    FUZZ_CHECK(length == 0 || !fuzz::IsDelimiter(word[0]));
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = word[i];
        if (fuzz::IsLeadByte(c)) {
            ++i; // its second byte may be anything
            continue;
        }
        if (!fuzz::IsDelimiter(c))
            continue;
        FUZZ_CHECK(i > 0 && i + 1 < length);
        bool apostrophe = c == '\'' && fuzz::IsLetter(word[i - 1]) && fuzz::IsLetter(word[i + 1]);
        bool betweenDigits = fuzz::IsDigit(word[i - 1]) && fuzz::IsDigit(word[i + 1]);
        FUZZ_CHECK(apostrophe || betweenDigits);
        if (apostrophe)
            ++i; // the letter after it belongs to the word whatever follows
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const std::size_t length = std::strlen(buffer.data());
    const std::vector<char> original(buffer.begin(), buffer.begin() + length);
    std::vector<bool> covered(length, false);

    const char* begin = buffer.data();
    const char* previousEnd = begin;
    std::size_t calls = 0;
    for (char* word = strword(buffer.data()); word; word = strword(nullptr)) {
        FUZZ_CHECK(++calls <= length + 2);
        FUZZ_CHECK(word >= previousEnd && word <= begin + length);
        const std::size_t wordLength = std::strlen(word);
        FUZZ_CHECK(word + wordLength <= begin + length);
        // The word's bytes are the line's own.
        const std::size_t offset = static_cast<std::size_t>(word - begin);
        FUZZ_CHECK(std::memcmp(word, original.data() + offset, wordLength) == 0);
        CheckWord(reinterpret_cast<const unsigned char*>(word), wordLength);
        for (std::size_t i = 0; i < wordLength; ++i)
            covered[offset + i] = true;
        previousEnd = word + wordLength;
    }
    for (std::size_t i = 0; i < length; ++i)
        FUZZ_CHECK(covered[i] || fuzz::IsDelimiter(static_cast<unsigned char>(original[i])));
    // Used up: a continuation call must not touch the buffer again.
    FUZZ_CHECK(strword(nullptr) == nullptr);
    return 0;
}
