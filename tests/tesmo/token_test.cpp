// Checks around a hit: free-standing words, sentence ends, neighbouring
// words, and a second keyword before or after the hit.
#include "tesmo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

std::unique_ptr<char[]> Exact(const std::string& s) {
    std::unique_ptr<char[]> p(new char[s.size() + 1]);
    std::memcpy(p.get(), s.c_str(), s.size() + 1);
    return p;
}

int Check(int mode, const std::string& line, int pos, int len) {
    auto buf = Exact(line);
    return wordcheck(mode, buf.get(), pos, len);
}

TEST(WordCheck, ModesLookAtTheBytesAroundTheOccurrence) {
    struct Case {
        int mode;
        const char* line;
        int pos, len, expected;
    } const cases[] = {
        {1, "the cat sat", 4, 3, 0},
        {1, "concat", 3, 3, 1},
        {13, "cat's", 0, 3, 1},
        {3, "cat's", 0, 3, 0},
        {0, "concat", 3, 3, 0},
        {2, "concat", 3, 3, 1},
        {2, "cats", 0, 3, 0},
        {3, "cats", 0, 3, 1},
        {11, "cat's", 0, 3, 1},
        {11, "a cat-", 2, 3, 0},
        {21, "a cat-", 2, 3, 1},
        {23, "cat-x", 0, 3, 1},
        {23, "cat's", 0, 3, 0},
        {31, "cat-", 0, 3, 1},
        {31, "cat'", 0, 3, 1},
        {33, "xcat.", 1, 3, 0},
        {33, "xcat'", 1, 3, 1},
        {12, "the cat sat", 4, 3, 1},
        {99, "", 0, 0, 1},
        {1, "9cat", 1, 3, 1},
        {1,
         "\x82\x61"
         "cat",
         2, 3, 1}, // bytes, not characters: 0x61 is a letter
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(c.mode, c.line, c.pos, c.len), c.expected)
            << c.mode << " " << c.line << " " << c.pos;
}

TEST(WordCheck, MissingNeighboursAreNotAlphanumeric) {
    EXPECT_EQ(Check(1, "cat", 0, 3), 0);  // nothing before offset 0
    EXPECT_EQ(Check(3, "cat", 3, 40), 0); // beyond the terminator
    EXPECT_EQ(Check(1, "cat", -5, 2), 0); // before the start
    EXPECT_EQ(Check(1, "cat", 9, -1), 0); // after the start, past the end
    EXPECT_EQ(Check(2, "xcat", 1, 3), 1);
    EXPECT_EQ(wordcheck(1, nullptr, 4, 3), 0);
    EXPECT_EQ(wordcheck(7, nullptr, 4, 3), 1);
}

long SentenceEnd(int mode, const std::string& text) {
    auto buf = Exact(text);
    const char* end = getSF(mode, buf.get());
    return end ? end - buf.get() : -1;
}

TEST(SentenceEnd, EarliestCandidateOrTheTerminator) {
    struct Case {
        int mode;
        std::string text;
        long expected;
    } const cases[] = {
        {0, "He said,\"go\" then", 7},
        {0, "He said, \"go\". Then", 19},
        {1, "a | b. c", 1},
        {0, "a | b. c", 8},
        {1, "ab. c", 2},
        {1, "a.. b", 1},
        {1, "..", 0}, // nothing two bytes before offset 0
        {1, "ab...", 2},
        {0, "stop.\" more", 4},
        {2, "stop.\" more", 11},     // other modes have no full-stop candidate
        {0, "wow! really? yes", 11}, // a "!" counts only without a "?"
        {0, "wow! really", 3},
        {0, "x\",y", 2},
        {0, ",\"", 0},
        {0, "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SentenceEnd(c.mode, c.text), c.expected) << c.mode << " " << c.text;
    EXPECT_EQ(getSF(0, nullptr), nullptr);
}

std::string Token(int n, int mode, int pos, const std::string& line) {
    auto in = Exact(line);
    std::unique_ptr<char[]> out(new char[1000]);
    std::strcpy(out.get(), "junk");
    gettoken(n, mode, pos, 12345, in.get(), out.get());
    EXPECT_EQ(std::string(in.get()), line) << "the line is read only";
    return out.get();
}

TEST(GetToken, WordsAroundAPosition) {
    struct Case {
        int n, mode, pos;
        std::string line, expected;
    } const cases[] = {
        {1, 0, 4, "the cat sat on", "sat"},
        {-1, 0, 4, "the cat sat on", "the"},
        {0, 0, 5, "the cat sat on", "cat"},
        {2, 0, 5, "the cat sat on", "on"},
        {3, 0, 5, "the cat sat on", ""},
        {-2, 0, 8, "the cat sat on", "the"},
        {-3, 0, 8, "the cat sat on", ""},
        {0, 0, 0, "the cat", "the"},
        {-1, 0, 0, "the cat", ""}, // nothing before the first word
        {-1, 0, 2, "the cat", ""},
        {-1, 0, 7, "don't stop", "don't"},
        {0, 0, 3, "don't stop", "don't"},
        {1, 0, 0, "pi=3.14 e", "3.14"},
        {1, 1, 0, "is it so? yes", "it"},
        {3, 1, 0, "is it so? yes", ""}, // beyond the end of the sentence
        {3, 0, 0, "is it so? yes", "yes"},
        {0, 0, 3, "the cat", "cat"},
        {0, 0, 7, "the cat", ""}, // at the terminator
        {0, 0, 8, "the cat", ""}, // beyond it
        {0, 0, -1, "the cat", ""},
        {-1, 0, 7, "the cat", "cat"},
        {-2147483647 - 1, 0, 4, "the cat", ""},
        {2147483647, 0, 0, "the cat", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Token(c.n, c.mode, c.pos, c.line), c.expected)
            << c.n << " " << c.mode << " " << c.pos << " " << c.line;
}

TEST(GetToken, LeavesNoTokenizationPending) {
    // An empty line must not resume the caller's pending string.
    char text[] = "a b c";
    ASSERT_STREQ(strword(text), "a");
    EXPECT_EQ(Token(0, 0, 0, ""), "");
    EXPECT_EQ(Token(-1, 0, 0, "x"), "");
    // Afterwards nothing points into gettoken's own copy.
    EXPECT_EQ(Token(0, 0, 0, "one two three"), "one");
    EXPECT_EQ(strword(nullptr), nullptr);
}

TEST(GetToken, NullArguments) {
    char out[16] = "junk";
    gettoken(0, 0, 0, 0, nullptr, out);
    EXPECT_STREQ(out, "");
    gettoken(0, 0, 0, 0, "abc", nullptr);
}

TEST(GetToken, LinesLongerThanTheWorkingCopy) {
    const std::string line = std::string(994, 'a') + " bb cc" + std::string(500, 'd');
    EXPECT_EQ(Token(0, 0, 995, line), "bb");
    EXPECT_EQ(Token(1, 0, 995, line), "c"); // the copy ends after 999 bytes
    EXPECT_EQ(Token(-1, 0, 995, line), std::string(994, 'a'));
    EXPECT_EQ(Token(0, 0, 1200, line), "");
}

int Hit(int type, int lower, int check, int pos, int len, const std::string& line,
        const std::string& keyword) {
    auto l = Exact(line);
    auto k = Exact(keyword);
    return Rekkc(type, lower, check, pos, len, l.get(), k.get());
}

TEST(Rekkc, KeywordAfterOrBeforeTheHit) {
    const std::string line = "the cat sat";
    EXPECT_EQ(Hit(1, 0, 1, 0, 3, line, "sat"), 0);
    EXPECT_EQ(Hit(2, 0, 1, 0, 3, line, "sat"), 1);
    EXPECT_EQ(Hit(-1, 0, 1, 0, 3, line, "sat"), 0);
    EXPECT_EQ(Hit(0, 0, 1, 0, 3, line, "sat"), 1);
    // Before the hit, the line is searched backwards for the keyword's bytes
    // as given: a caller names "the" as "eht", characters reversed.
    EXPECT_EQ(Hit(2, 0, 1, 8, 3, line, "eht"), 0);
    EXPECT_EQ(Hit(-1, 0, 1, 8, 3, line, "eht"), 1);
    EXPECT_EQ(Hit(2, 0, 1, 8, 3, line, "the"), 1);
    EXPECT_EQ(Hit(1, 0, 1, 8, 3, line, "the"), 1);
    EXPECT_EQ(Hit(2, 0, 1, 4, 3, "\x82\xA0\x82\xA2 cat", "\x82\xA2\x82\xA0"), 0);
    EXPECT_EQ(Hit(2, 0, 1, 4, 3, "\x82\xA0\x82\xA2 cat", "\x82\xA0\x82\xA2"), 1);
}

TEST(Rekkc, WordCheckAndSentenceLimits) {
    EXPECT_EQ(Hit(1, 0, 1, 0, 3, "the concat", "cat"), 1);
    EXPECT_EQ(Hit(1, 0, 0, 0, 3, "the concat", "cat"), 0);
    EXPECT_EQ(Hit(0, 0, 1, 0, 3, "the concat", "cat"), 1); // type 0 skips the check
    EXPECT_EQ(Hit(1, 0, 1, 0, 3, "the concat cat", "cat"), 0);
    EXPECT_EQ(Hit(11, 0, 1, 0, 3, "the cat? sat", "sat"), 1);
    EXPECT_EQ(Hit(-9, 0, 1, 0, 3, "the cat? sat", "sat"), 0);
    EXPECT_EQ(Hit(1, 0, 1, 0, 3, "the cat? sat", "sat"), 0);
    EXPECT_EQ(Hit(12, 0, 1, 9, 3, "sat? the cat", "tas"), 1);
    EXPECT_EQ(Hit(-10, 0, 1, 9, 3, "sat? the cat", "tas"), 0);
    EXPECT_EQ(Hit(2, 0, 1, 9, 3, "sat? the cat", "tas"), 0);
    EXPECT_EQ(Hit(12, 0, 1, 9, 3, "sat? the cat", "eht"), 0);
    // The search starts on the hit's last byte.
    EXPECT_EQ(Hit(0, 0, 0, 0, 3, "abcd", "cd"), 1);
    EXPECT_EQ(Hit(0, 0, 0, 0, 3, "abcd", "bc"), 0);
}

TEST(Rekkc, TypesLowerFlagAndBadArguments) {
    const std::string line = "a \x82\x60\x82\x61 b"; // full-width A B
    EXPECT_EQ(Hit(0, 1, 0, 0, 1, line, "\x82\x81\x82\x82"), 1);
    EXPECT_EQ(Hit(0, 0, 0, 0, 1, line, "\x82\x81\x82\x82"), 0);
    EXPECT_EQ(Hit(0, 1, 0, 0, 1, "A b", "a"), 0); // ASCII is not folded
    EXPECT_EQ(Hit(5, 0, 0, 0, 1, "a a", "a"), 1); // unknown types: not found
    EXPECT_EQ(Hit(-5, 0, 0, 0, 1, "a a", "a"), 0);
    EXPECT_EQ(Hit(0, 0, 0, 0, 1, "a a", ""), 0);
    EXPECT_EQ(Rekkc(1, 0, 0, 0, 1, nullptr, "a"), 1);
    EXPECT_EQ(Rekkc(1, 0, 0, 0, 1, "a a", nullptr), 1);
    EXPECT_EQ(Hit(1, 0, 0, 50, 3, "a a", "a"), 1);  // hit beyond the line
    EXPECT_EQ(Hit(1, 0, 0, 0, 0, "a a", "a"), 0);   // starts at offset 0
    EXPECT_EQ(Hit(2, 0, 0, -3, 1, "a a", "a"), 1);  // nothing before the start
    EXPECT_EQ(Hit(2, 0, 0, 900, 1, "a a", "a"), 0); // the whole line is before
}

TEST(Rekkc, LinesLongerThanTheWorkingCopy) {
    const std::string line = std::string(250, 'x') + " key " + std::string(300, 'y') + " far";
    EXPECT_EQ(Hit(1, 0, 1, 0, 1, line, "key"), 0);
    EXPECT_EQ(Hit(1, 0, 1, 0, 1, line, "far"), 1); // cut away with the copy
    EXPECT_EQ(Hit(2, 0, 1, 500, 3, line, "yek"), 0);
}

// Random lines, positions and keywords over exactly-sized buffers: the
// sanitizers report any byte read or written outside them.
TEST(TokenFunctions, StayWithinRandomInput) {
    std::mt19937 rng(42);
    const char alphabet[] = "ab1 '.,?!\"|-\x82\xA0\x95\x5C";
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
    for (int round = 0; round < 3000; ++round) {
        std::string line(pick(round % 4 == 0 ? 2200 : 400), 'a');
        for (char& c : line)
            c = alphabet[pick(sizeof alphabet - 2)];
        std::string keyword(pick(4), 'a');
        for (char& c : keyword)
            c = alphabet[pick(sizeof alphabet - 2)];
        const int len = static_cast<int>(line.size());
        const int pos = pick(len + 8) - 4;
        auto in = Exact(line);
        auto key = Exact(keyword);
        std::unique_ptr<char[]> out(new char[1000]);
        gettoken(pick(10) - 5, pick(1), pos, 0, in.get(), out.get());
        EXPECT_LT(std::strlen(out.get()), 1000u);
        const int types[] = {0, 1, 11, -9, 2, -1, 12, -10};
        Rekkc(types[pick(7)], pick(1), pick(40), pos, pick(6) - 1, in.get(), key.get());
        wordcheck(pick(40), in.get(), pos, pick(6) - 1);
        getSF(pick(2), in.get());
    }
}

} // namespace
