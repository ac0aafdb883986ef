// Word keys computed eight bytes at a time must agree with a byte-by-byte
// fold, whatever the bytes (0x80-0xFF included), the length and the
// alignment, and the padded and the safe computation must give the same key.
// The padded table entry point must count exactly like the safe one.
#include "engine/string_tree.h"
#include "engine/word_tally.h"

#include "tesmo.h"
#include "word_table_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

char FoldByte(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

// Bytes 1-255 (a word never holds a NUL), capitals and high bytes often.
std::string RandomWord(std::mt19937& rng, std::size_t n) {
    static const char kPool[] = "AZazMm@[`{\x80\xC1\xDA\xE1\xFA\xFF\x01\x7F";
    std::string word(n, 'x');
    for (char& c : word) {
        const unsigned r = rng();
        c = (r & 1) ? kPool[(r >> 1) % (sizeof kPool - 1)] : static_cast<char>(1 + (r >> 1) % 255);
    }
    return word;
}

// The word at offset within a buffer that ends exactly kWordPadding bytes
// after its terminator, so that ASan sees any read beyond the padding.
struct PaddedCopy {
    PaddedCopy(const std::string& word, std::size_t offset)
        : buffer(offset + word.size() + 1 + kWordPadding, '\xEE') {
        std::memcpy(buffer.data() + offset, word.c_str(), word.size() + 1);
        text = buffer.data() + offset;
    }
    std::vector<char> buffer;
    const char* text;
};

// An exact-size heap copy: the safe computation may not read past it.
struct ExactCopy {
    explicit ExactCopy(const std::string& word) : buffer(new char[word.size() + 1]) {
        std::memcpy(buffer.get(), word.c_str(), word.size() + 1);
    }
    std::unique_ptr<char[]> buffer;
};

void ExpectPrefixIsByteFold(const WordKey& key, const std::string& word) {
    unsigned char expected[16] = {};
    for (std::size_t i = 0; i < std::min<std::size_t>(16, word.size()); ++i)
        expected[i] = static_cast<unsigned char>(FoldByte(word[i]));
    unsigned char actual[16];
    std::memcpy(actual, key.nPrefix, 16);
    EXPECT_EQ(0, std::memcmp(expected, actual, 16)) << "length " << word.size();
}

TEST(WordKey, SwarFoldAgreesWithByteFoldAtEveryLengthAndAlignment) {
    std::mt19937 rng(7);
    for (std::size_t n = 0; n <= 40; ++n) {
        for (std::size_t offset = 0; offset < 8; ++offset) {
            const std::string word = RandomWord(rng, n);
            ExactCopy exact(word);
            const WordKey safe = MakeWordKey(exact.buffer.get());
            PaddedCopy padded(word, offset);
            const WordKey fast = MakePaddedWordKey(padded.text);
            ASSERT_EQ(n, safe.nLength);
            ASSERT_EQ(n, fast.nLength);
            EXPECT_EQ(safe.nHash, fast.nHash) << "length " << n << " offset " << offset;
            EXPECT_EQ(0, std::memcmp(safe.nPrefix, fast.nPrefix, 16));
            ExpectPrefixIsByteFold(safe, word);
        }
    }
}

TEST(WordKey, CaseVariantsShareTheKeyAndOtherBytesDoNot) {
    std::mt19937 rng(11);
    for (std::size_t n = 1; n <= 40; ++n) {
        const std::string word = RandomWord(rng, n);
        std::string upper = word, lower = word;
        for (char& c : upper)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
        for (char& c : lower)
            c = FoldByte(c);
        const WordKey a = MakeWordKey(upper.c_str());
        const WordKey b = MakeWordKey(lower.c_str());
        EXPECT_EQ(a.nHash, b.nHash);
        EXPECT_TRUE(FoldedEqual(upper.c_str(), lower.c_str(), n));
        // A high byte whose low seven bits are a capital is not folded.
        std::string high = lower;
        high[n - 1] = '\xC1';
        std::string highLower = lower;
        highLower[n - 1] = '\xE1';
        EXPECT_FALSE(FoldedEqual(high.c_str(), highLower.c_str(), n)) << "length " << n;
        EXPECT_NE(0, std::memcmp(MakeWordKey(high.c_str()).nPrefix,
                                 MakeWordKey(highLower.c_str()).nPrefix, 16) |
                         (MakeWordKey(high.c_str()).nHash ^ MakeWordKey(highLower.c_str()).nHash));
    }
}

// Random words with many near-duplicates (shared long prefixes, case
// variants), counted through both entry points and against a reference map
// keyed by the folded text.
TEST(WordTablePadded, CountsLikeTheSafeInsertAndAReferenceMap) {
    std::mt19937 rng(3);
    std::vector<std::string> stems;
    for (int i = 0; i < 60; ++i)
        stems.push_back(RandomWord(rng, rng() % 40 + 1));
    CStringTree safe, padded;
    std::map<std::string, std::pair<std::string, std::uint32_t>> reference;
    for (int i = 0; i < 20000; ++i) {
        std::string word = stems[rng() % stems.size()];
        const std::size_t cut = rng() % 3;
        word.resize(word.size() > cut ? word.size() - cut : 1);
        for (char& c : word) {
            if (rng() % 4 == 0 && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 0x20);
        }
        std::string folded = word;
        std::transform(folded.begin(), folded.end(), folded.begin(), FoldByte);
        auto& slot = reference[folded];
        if (slot.second++ == 0)
            slot.first = word;
        PaddedCopy copy(word, rng() % 8);
        ASSERT_NE(nullptr, safe.Insert(word.c_str()));
        ASSERT_TRUE(padded.InsertKey(padded.PrepareKey(copy.text)));
    }
    ASSERT_TRUE(IsConsistent(safe));
    ASSERT_TRUE(IsConsistent(padded));
    std::vector<std::pair<std::string, std::uint32_t>> a, b;
    CStringTree::WalkAscending(safe.m_pRoot,
                               [&](const CNode& n) { a.emplace_back(n.m_pszWord, n.m_nCount); });
    CStringTree::WalkAscending(padded.m_pRoot,
                               [&](const CNode& n) { b.emplace_back(n.m_pszWord, n.m_nCount); });
    EXPECT_EQ(a, b);
    ASSERT_EQ(reference.size(), a.size());
    for (const auto& [text, count] : a) {
        std::string folded = text;
        std::transform(folded.begin(), folded.end(), folded.begin(), FoldByte);
        EXPECT_EQ(reference[folded].first, text);
        EXPECT_EQ(reference[folded].second, count);
    }
}

// Ascending input, with words equal to the last one or sorting just before
// it: the order of the table and its repeats, whether a repeat finds its
// word among the counted ones or in the tree.
TEST(WordTablePadded, AscendingListWithRepeatsAndNearNeighbours) {
    const std::vector<std::string> words = {"a",
                                            "abcdefgh",
                                            "ABCDEFGH",
                                            "abcdefghi",
                                            "abcdefgh",
                                            "b",
                                            "bbbbbbbbbbbbbbbb",
                                            "bbbbbbbbbbbbbbbbA",
                                            "BBBBBBBBBBBBBBBBa",
                                            "bbbbbbbbbbbbbbbb",
                                            "c\xFF",
                                            "c\x80",
                                            "d",
                                            "c\xFF",
                                            "zzzzzzzzzzzzzzzzzzzzzz",
                                            "Zzzzzzzzzzzzzzzzzzzzzy"};
    CStringTree table;
    for (const std::string& word : words) {
        PaddedCopy copy(word, 3);
        ASSERT_TRUE(table.InsertKey(table.PrepareKey(copy.text)));
    }
    ASSERT_TRUE(IsConsistent(table));
    const std::vector<std::string> expected = {"a",
                                               "abcdefgh",
                                               "abcdefghi",
                                               "b",
                                               "bbbbbbbbbbbbbbbb",
                                               "bbbbbbbbbbbbbbbbA",
                                               "c\x80",
                                               "c\xFF",
                                               "d",
                                               "Zzzzzzzzzzzzzzzzzzzzzy",
                                               "zzzzzzzzzzzzzzzzzzzzzz"};
    EXPECT_EQ(expected, AscendingWords(table));
    EXPECT_EQ(static_cast<std::int32_t>(words.size()), table.m_nTotal);
    // Every word again, upper-cased, in reverse: all repeats, none new, each
    // found whichever way it went in; the first text stays.
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
        std::string upper = *it;
        for (char& c : upper)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
        PaddedCopy copy(upper, 5);
        ASSERT_TRUE(table.InsertKey(table.PrepareKey(copy.text)));
        ASSERT_NE(table.Insert(upper.c_str()), nullptr) << upper;
    }
    ASSERT_TRUE(IsConsistent(table));
    EXPECT_EQ(expected, AscendingWords(table));
    EXPECT_EQ(static_cast<std::int32_t>(expected.size()), table.m_nCount);
    table.Clear();
    PaddedCopy again("again", 0);
    table.InsertKey(table.PrepareKey(again.text));
    EXPECT_EQ(std::vector<std::string>{"again"}, AscendingWords(table));
}

} // namespace

// A part's tally keeps 32-bit counts in its slots; a word that passes 2^32
// occurrences carries on in 64 bits, whether counted at once or one by one.
TEST(WordTally, CountsCarryPast32Bits) {
    CWordTally tally;
    ASSERT_TRUE(tally.InsertRepeated("Word", 0xFFFFFFFFu));
    alignas(8) char line[32] = "word";
    ASSERT_TRUE(tally.InsertKey(tally.PrepareKey(line))); // the 2^32nd
    ASSERT_TRUE(tally.InsertRepeated("WORD", 0x100000002u));
    ASSERT_TRUE(tally.InsertRepeated("other", 3));
    std::vector<std::pair<std::string, std::uint64_t>> seen;
    tally.ForEach(
        [&](const WordKey& key, std::uint64_t count) { seen.emplace_back(key.pszText, count); });
    const std::vector<std::pair<std::string, std::uint64_t>> expected{{"Word", 0x200000002u},
                                                                      {"other", 3}};
    EXPECT_EQ(seen, expected);
}
