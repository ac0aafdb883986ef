// strword_utf8: word boundaries in UTF-8 text of several scripts, malformed
// bytes, its continuation apart from strword's, and memory safety on
// arbitrary bytes.
#include "tesmo.h"
#include "tokenize_words.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

Words Tokenize(const std::string& line) {
    return TokenizeWith(strword_utf8, line);
}

class Utf8Words : public ::testing::TestWithParam<Case> {};

TEST_P(Utf8Words, SplitsAsExpected) {
    EXPECT_EQ(Tokenize(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Strword, Utf8Words,
    ::testing::Values(
        // ASCII keeps the byte tokenizer's rules.
        Case{"ascii_rules", "It's 1,000 a.b 3 4 x-y", {"It's", "1,000", "a", "b", "3 4", "x", "y"}},
        Case{"apostrophe_at_edges", "'quoted' o'", {"quoted", "o"}},
        Case{"ascii_controls_are_word_bytes",
             "a\x01"
             "b\tc",
             {"a\x01"
              "b",
              "c"}},
        // Curly quotes and dashes end words; the right single quote between
        // letters is an apostrophe.
        Case{"curly_english",
             "\u201Cdon\u2019t\u201D \u2014 \u201Cend\u201D",
             {"don\u2019t", "end"}},
        Case{"curly_quote_at_word_end", "dogs\u2019 bones\u2019", {"dogs", "bones"}},
        Case{"apostrophe_needs_letters_both_sides", "5\u2019a", {"5", "a"}},
        Case{"french_accents",
             "\u00C7a va\u00A0? Tr\u00E8s bien\u00A0! L\u2019\u00E9t\u00E9 o\u00F9 "
             "l'\u00E9l\u00E8ve",
             {"\u00C7a", "va", "Tr\u00E8s", "bien", "L\u2019\u00E9t\u00E9", "o\u00F9",
              "l'\u00E9l\u00E8ve"}},
        Case{"combining_mark_stays", "cafe\u0301 noe\u0308l", {"cafe\u0301", "noe\u0308l"}},
        // Japanese runs on without spaces: only its punctuation splits it.
        Case{"japanese",
             "\u4ECA\u65E5\u306F\u3001\u3044\u3044\u5929\u6C17\u3067\u3059\u3002"
             "\u300C\u6674\u308C\u300D\u3000\u96E8",
             {"\u4ECA\u65E5\u306F", "\u3044\u3044\u5929\u6C17\u3067\u3059", "\u6674\u308C",
              "\u96E8"}},
        Case{"mixed_scripts",
             "Hello\u4E16\u754C \u043C\u0438\u0440\u2014peace "
             "\u03B1\u03B2\u03B3;\u05E9\u05DC\u05D5\u05DD",
             {"Hello\u4E16\u754C", "\u043C\u0438\u0440", "peace", "\u03B1\u03B2\u03B3",
              "\u05E9\u05DC\u05D5\u05DD"}},
        // Unicode white space and punctuation act like ASCII ones, between
        // digits too.
        Case{"unicode_spaces",
             "a\u00A0b\u2003c\u3000d\u2028e\u0085f",
             {"a", "b", "c", "d", "e", "f"}},
        Case{"digit_groups",
             "1\u00A0000 x 2\u202F500 y 3\u00B74",
             {"1\u00A0000", "x", "2\u202F500", "y", "3\u00B74"}},
        Case{"fullwidth_digits",
             "\uFF11\uFF0C\uFF10\uFF10\uFF10",
             {"\uFF11\uFF0C\uFF10\uFF10\uFF10"}},
        Case{"symbols_end_words", "5\u20AC a\u2192b \u00A9me", {"5", "a", "b", "me"}},
        // Bytes that start no well-formed sequence are word bytes, one each.
        Case{"invalid_bytes",
             "ab\xFF"
             "cd \x80x \xC0\xAF y",
             {"ab\xFF"
              "cd",
              "\x80x", "\xC0\xAF", "y"}},
        Case{"surrogate_and_too_large",
             "\xED\xA0\x80 \xF4\x90\x80\x80",
             {"\xED\xA0\x80", "\xF4\x90\x80\x80"}},
        Case{"truncated_before_punctuation", "\xE3\x81\u3001x", {"\xE3\x81", "x"}},
        Case{"truncated_at_end", "ab \xE3\x81", {"ab", "\xE3\x81"}},
        Case{"only_delimiters", "\u3001\u3002 ,.", {}}, Case{"empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The continuation: resuming, its end, and independence from strword.
TEST(StrwordUtf8Continuation, EmptyStringResumesAndEndStaysEnded) {
    char line[] = "one two three";
    char empty[] = "";
    ASSERT_STREQ(strword_utf8(line), "one");
    EXPECT_STREQ(strword_utf8(empty), "two");
    EXPECT_STREQ(strword_utf8(nullptr), "three");
    EXPECT_EQ(strword_utf8(nullptr), nullptr);
    EXPECT_EQ(strword_utf8(nullptr), nullptr);
}

TEST(StrwordUtf8Continuation, InterleavesWithByteTokenizer) {
    char utf8[] = "\u00E9t\u00E9 hiver";
    char bytes[] = "alpha beta";
    ASSERT_STREQ(strword_utf8(utf8), "\u00E9t\u00E9");
    ASSERT_STREQ(strword(bytes), "alpha");
    EXPECT_STREQ(strword_utf8(nullptr), "hiver");
    EXPECT_STREQ(strword(nullptr), "beta");
    EXPECT_EQ(strword_utf8(nullptr), nullptr);
    while (strword(nullptr)) {
    }
}

TEST(StrwordUtf8Continuation, CallerStatesAreIndependent) {
    char first[] = "\u00E9t\u00E9 hiver";
    char second[] = "alpha beta";
    char own[] = "x y";
    strword_state a{}, b{};
    EXPECT_EQ(strword_utf8_r(nullptr, &a), nullptr); // never had a string
    ASSERT_STREQ(strword_utf8_r(first, &a), "\u00E9t\u00E9");
    ASSERT_STREQ(strword_utf8(own), "x");
    ASSERT_STREQ(strword_utf8_r(second, &b), "alpha");
    EXPECT_STREQ(strword_utf8_r(nullptr, &a), "hiver");
    EXPECT_STREQ(strword_utf8(nullptr), "y");
    EXPECT_STREQ(strword_utf8_r(nullptr, &b), "beta");
    EXPECT_EQ(strword_utf8_r(nullptr, &a), nullptr);
    EXPECT_EQ(strword_utf8_r(nullptr, &b), nullptr);
    EXPECT_EQ(strword_utf8(nullptr), nullptr);
    EXPECT_EQ(strword_utf8_r(first, nullptr), nullptr);
}

TEST(StrwordUtf8Continuation, MultiByteDelimiterIsSkippedWhole) {
    // The word is ended at the delimiter's first byte; its other bytes must
    // not turn up as a word of their own.
    char line[] = "a\u3001\u3001b";
    ASSERT_STREQ(strword_utf8(line), "a");
    EXPECT_STREQ(strword_utf8(nullptr), "b");
    EXPECT_EQ(strword_utf8(nullptr), nullptr);
}

// Random lines built from pieces that stress the decoder: every word lies in
// the buffer, words come in order without overlapping, and tokenizing the
// words again, joined by ", " (two delimiters never join), gives them back.
TEST(StrwordUtf8Random, StaysInBufferAndIsStable) {
    static const char* const kPieces[] = {"a",
                                          "Z",
                                          "7",
                                          " ",
                                          ",",
                                          "'",
                                          "\u2019",
                                          "\u3001",
                                          "\u00E9",
                                          "\u4E16",
                                          "\xF0\x9F\x98\x80",
                                          "\xE3",
                                          "\x81",
                                          "\xBF",
                                          "\xC3",
                                          "\xF4\x90",
                                          "\xED\xA0",
                                          "\xFF",
                                          "\u00A0",
                                          "\u0301",
                                          "-"};
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 4000; ++round) {
        std::string line;
        for (int n = length(rng); n > 0; --n)
            line += kPieces[pick(rng)];
        std::vector<char> buf(line.begin(), line.end());
        buf.push_back('\0');
        Words words;
        const char* end_of_last = buf.data();
        for (char* w = strword_utf8(buf.data()); w; w = strword_utf8(nullptr)) {
            ASSERT_GE(w, end_of_last) << line;
            ASSERT_LT(w, buf.data() + buf.size() - 1) << line;
            ASSERT_NE(*w, '\0') << line;
            words.emplace_back(w);
            end_of_last = w + std::strlen(w);
        }
        std::string joined;
        for (const std::string& w : words)
            joined += w + ", ";
        ASSERT_EQ(Tokenize(joined), words) << line;
    }
}

} // namespace
