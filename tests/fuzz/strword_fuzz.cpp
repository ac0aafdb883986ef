// strword over one line: every word lies inside the buffer, words come in
// order without overlap, a word holds no delimiter except an apostrophe
// between letters or a delimiter between digits (or the second byte of a
// double-byte character), and every byte left out of the words was a
// delimiter. The tokenization ends within a bounded number of calls, and
// the words are those of a plain tokenizer written here.
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

struct Word {
    std::size_t offset, length;
    bool operator==(const Word&) const = default;
};

// The words as offsets and lengths, from a copy of the line.
std::vector<Word> ExpectedWords(std::vector<unsigned char> s) {
    using fuzz::IsDelimiter;
    std::vector<Word> words;
    std::size_t start = 0;
    for (;;) {
        std::size_t w = start;
        while (IsDelimiter(s[w]))
            ++w;
        std::size_t p = w;
        while (s[p]) {
            const unsigned char c = s[p];
            if (fuzz::IsLeadByte(c)) {
                p += s[p + 1] ? 2 : 1;
            } else if (c == '\'' && fuzz::IsLetter(s[p - 1]) && fuzz::IsLetter(s[p + 1])) {
                p += 2;
            } else if (IsDelimiter(c) && !(fuzz::IsDigit(s[p - 1]) && fuzz::IsDigit(s[p + 1]))) {
                break;
            } else {
                ++p;
            }
        }
        words.push_back({w, p - w});
        if (!s[p] || !s[p + 1])
            return words;
        s[p] = 0;
        start = p + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const std::size_t length = std::strlen(buffer.data());
    const std::vector<char> original(buffer.begin(), buffer.begin() + length);
    std::vector<bool> covered(length, false);
    // An empty line resumes the pending string, and none is pending.
    const auto expected = length == 0 ? std::vector<Word>{}
                                      : ExpectedWords(std::vector<unsigned char>(
                                            buffer.begin(), buffer.begin() + length + 1));
    std::vector<Word> words;

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
        words.push_back({offset, wordLength});
    }
    for (std::size_t i = 0; i < length; ++i)
        FUZZ_CHECK(covered[i] || fuzz::IsDelimiter(static_cast<unsigned char>(original[i])));
    FUZZ_CHECK(words == expected);
    // Used up: a continuation call must not touch the buffer again.
    FUZZ_CHECK(strword(nullptr) == nullptr);
    return 0;
}
