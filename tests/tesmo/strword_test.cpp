// strword: word boundaries, the continuation protocol, and memory safety on
// arbitrary bytes (checked against a plain reference tokenizer).
#include "tesmo.h"
#include "tokenize_words.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

Words Tokenize(const std::string& line) {
    return TokenizeWith(strword, line);
}

// Makes sure no earlier tokenization is pending.
void Drain() {
    while (strword(nullptr)) {
    }
}

class StrwordBoundaries : public ::testing::TestWithParam<Case> {};

TEST_P(StrwordBoundaries, SplitsIntoExpectedWords) {
    Drain();
    EXPECT_EQ(Tokenize(GetParam().line), GetParam().words);
}

const std::string kHiragana = "\x82\xA0\x82\xA2";  // two double-byte characters
const std::string kKanji = "\x8A\xBF\x8E\x9A";     // two more
const std::string kWideSpace = "\x81\x40";         // double-byte space
const std::string kWideComma = "\x81\x41\x81\x42"; // double-byte comma, full stop

INSTANTIATE_TEST_SUITE_P(
    Delimiters, StrwordBoundaries,
    ::testing::Values(
        Case{"PunctuationAndSpace", "Hello, world!", {"Hello", "world"}},
        Case{"OnlyDelimitersGiveOneEmptyWord", ",,, ;;", {""}},
        Case{"TrailingDelimitersGiveAnEmptyWord", "abc ,,,", {"abc", ""}},
        Case{"SingleWord", "abc", {"abc"}}, Case{"FinalDelimiterEndsCleanly", "abc.", {"abc"}},
        Case{"TabsAndLineEnds", "a\tb\rc\nd\ve\ff", {"a", "b", "c", "d", "e", "f"}},
        Case{"OtherControlBytesStayInWords",
             "a\x01\x08z \x0E\x1F\x7F",
             {"a\x01\x08z", "\x0E\x1F\x7F"}},
        Case{"EveryPunctuationRange",
             "a!b/c:d@e[f`g{h~i",
             {"a", "b", "c", "d", "e", "f", "g", "h", "i"}},
        Case{"RunsOfDelimiters", "  a ,; b  ", {"a", "b", ""}},
        Case{"HyphenatedWordsSplit", "well-known e-mail", {"well", "known", "e", "mail"}},
        Case{"LongWordsAcrossBlocks",
             "x " + std::string(100, 'a') + " " + std::string(70, '7') + ".",
             {"x", std::string(100, 'a'), std::string(70, '7')}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Apostrophes, StrwordBoundaries,
    ::testing::Values(Case{"Contraction", "don't", {"don't"}}, Case{"Name", "O'Neil", {"O'Neil"}},
                      Case{"TwoInOneWord", "rock'n'roll", {"rock'n'roll"}},
                      Case{"QuotedWord", "'quoted'", {"quoted"}},
                      Case{"Possessive", "dogs'", {"dogs"}}, Case{"AfterLetterAtEnd", "x'", {"x"}},
                      Case{"BeforeLetterAtStart", "'x", {"x"}},
                      Case{"BetweenLetterAndDigit", "a'1", {"a", "1"}},
                      Case{"Doubled", "a''b", {"a", "b"}},
                      Case{"TrailByteCountsAsLetter", "\x82\x61'b", {"\x82\x61'b"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Numbers, StrwordBoundaries,
    ::testing::Values(
        Case{"DecimalPoint", "3.14", {"3.14"}}, Case{"ThousandsSeparator", "1,000", {"1,000"}},
        Case{"Time", "10:30", {"10:30"}}, Case{"Range", "1-2", {"1-2"}},
        Case{"ApostropheBetweenDigits", "1'2", {"1'2"}},
        Case{"SpaceBetweenDigits", "10 20", {"10 20"}}, Case{"LetterThenNumber", "A-1", {"A", "1"}},
        Case{"Assignments", "pi=3.14159 e=2.71828", {"pi", "3.14159", "e", "2.71828"}},
        Case{"DigitGroups", "page 10 20 30", {"page", "10 20 30"}},
        Case{"TwoSpacesSplit", "1  2", {"1", "2"}}, Case{"DelimiterAfterLastDigit", "12,", {"12"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    DoubleByte, StrwordBoundaries,
    ::testing::Values(
        Case{"SentenceIsOneWord",
             kHiragana + kWideComma + kKanji,
             {kHiragana + kWideComma + kKanji}},
        Case{"SingleByteSpaceSplits", kHiragana + " " + kKanji, {kHiragana, kKanji}},
        Case{"DoubleByteSpaceDoesNotSplit",
             kHiragana + kWideSpace + kKanji,
             {kHiragana + kWideSpace + kKanji}},
        Case{"SingleBytePunctuationSplits", kHiragana + "," + kKanji + ".", {kHiragana, kKanji}},
        Case{"SecondByteLooksLikeDelimiter", "\x81\x2C\x81\x20x", {"\x81\x2C\x81\x20x"}},
        Case{"HalfWidthKanaAndPunctuation",
             "\xA1\xA5\xA6\xB1\xDF a\xB1",
             {"\xA1\xA5\xA6\xB1\xDF", "a\xB1"}},
        Case{"NonLeadHighBytes", "\x80\xA0\xFD\xFE\xFF", {"\x80\xA0\xFD\xFE\xFF"}},
        Case{"LoneLeadByteAtEnd", "ab \x82", {"ab", "\x82"}},
        Case{"LoneLeadByteEndsWord", "ab\x82", {"ab\x82"}},
        Case{"LeadByteAfterDelimiterAtEnd", "ab,\x9F", {"ab", "\x9F"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StrwordContinuation, DelimitersAreOverwrittenInPlace) {
    Drain();
    char buf[] = "Hello, world!";
    EXPECT_STREQ(strword(buf), "Hello");
    EXPECT_STREQ(strword(nullptr), "world");
    EXPECT_EQ(strword(nullptr), nullptr);
    EXPECT_EQ(0, std::memcmp(buf, "Hello\0 world\0", sizeof buf));
}

TEST(StrwordContinuation, EmptyStringResumesPendingLine) {
    Drain();
    char line[] = "a b";
    char empty[] = "";
    EXPECT_STREQ(strword(line), "a");
    EXPECT_STREQ(strword(empty), "b");
    EXPECT_EQ(strword(empty), nullptr);
}

TEST(StrwordContinuation, NothingPendingGivesNull) {
    Drain();
    char empty[] = "";
    EXPECT_EQ(strword(nullptr), nullptr);
    EXPECT_EQ(strword(empty), nullptr);
}

TEST(StrwordContinuation, FinishedLineStaysFinished) {
    Drain();
    char buf[] = "abc";
    EXPECT_STREQ(strword(buf), "abc");
    EXPECT_EQ(strword(nullptr), nullptr);
    EXPECT_EQ(strword(nullptr), nullptr);
}

TEST(StrwordContinuation, NewLineAbandonsPendingOne) {
    Drain();
    char first[] = "one two three";
    char second[] = "four five";
    EXPECT_STREQ(strword(first), "one");
    EXPECT_STREQ(strword(second), "four");
    EXPECT_STREQ(strword(nullptr), "five");
    EXPECT_EQ(strword(nullptr), nullptr);
}

TEST(StrwordContinuation, ReversingAWordLeavesTheRestIntact) {
    // The counter reverses each word in place before taking the next one.
    Drain();
    char buf[] = "ab cd";
    char* w = strword(buf);
    std::swap(w[0], w[1]);
    EXPECT_STREQ(strword(nullptr), "cd");
    EXPECT_STREQ(buf, "ba");
}

// The rules written out directly over a std::string with bounds-checked
// access: the reference for randomized lines.
bool IsDelim(unsigned char c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E) || (c >= 0x09 && c <= 0x0D) || c == 0x20;
}
bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

Words ReferenceWords(const std::string& s) {
    const auto at = [&](std::size_t k) -> unsigned char {
        return k < s.size() ? static_cast<unsigned char>(s[k]) : 0;
    };
    Words words;
    std::size_t i = 0;
    if (s.empty())
        return words;
    for (;;) {
        while (i < s.size() && IsDelim(at(i)))
            ++i;
        std::size_t p = i;
        for (;;) {
            if (p >= s.size()) {
                words.push_back(s.substr(i, p - i));
                return words;
            }
            const unsigned char c = at(p);
            if (IsLeadByte(c)) {
                p += (p + 1 < s.size()) ? 2 : 1;
            } else if (c == '\'' && IsLetter(at(p + 1)) && IsLetter(at(p - 1))) {
                p += 2;
            } else if (IsDelim(c) && !(IsDigit(at(p - 1)) && IsDigit(at(p + 1)))) {
                words.push_back(s.substr(i, p - i));
                i = p + 1;
                if (i >= s.size())
                    return words;
                break;
            } else {
                ++p;
            }
        }
    }
}

// Byte ranges a random line draws from, each equally likely: delimiters of
// every kind, digits, the apostrophe, letters, lead bytes, the trail-byte
// range, half-width and other high bytes, and any byte but the terminator.
struct ByteRange {
    int lo, hi;
};
constexpr ByteRange kLineBytes[] = {{' ', ' '},   {'\t', '\r'}, {'!', '/'},   {':', '@'},
                                    {'[', '`'},   {'0', '9'},   {'0', '9'},   {'\'', '\''},
                                    {'a', 'z'},   {'A', 'Z'},   {0x81, 0x9F}, {0xE0, 0xFC},
                                    {0x40, 0xFC}, {0xA0, 0xDF}, {0x01, 0xFF}};

std::string RandomLine(std::mt19937& rng) {
    const auto pick = [&](ByteRange r) {
        return static_cast<char>(std::uniform_int_distribution<int>(r.lo, r.hi)(rng));
    };
    std::uniform_int_distribution<std::size_t> range(0, std::size(kLineBytes) - 1);
    // Mostly short lines, some long enough to need several blocks, a few
    // with long runs of letters.
    const int n = std::uniform_int_distribution<int>(1, rng() % 8 == 0 ? 300 : 40)(rng);
    std::string s;
    for (int i = 0; i < n; ++i)
        s += pick(kLineBytes[range(rng)]);
    if (rng() % 16 == 0)
        s.insert(s.size() / 2, std::string(rng() % 100, pick({'a', 'z'})));
    if (rng() % 4 == 0)
        s += pick({0x81, 0x9F}); // lead byte right before the terminator
    return s;
}

TEST(StrwordRandomized, MatchesReferenceAndStaysInsideTheLine) {
    std::mt19937 rng(20261207);
    Drain();
    for (int i = 0; i < 300000; ++i) {
        const std::string line = RandomLine(rng);
        const Words got = Tokenize(line);
        const Words want = ReferenceWords(line);
        ASSERT_EQ(got, want) << "line " << i << ": " << ::testing::PrintToString(line);
    }
}

} // namespace

namespace {

// A whole tokenization with strword_r on an exactly sized copy of line.
struct ReentrantRun {
    explicit ReentrantRun(const std::string& line) : buf(line.begin(), line.end()) {
        buf.push_back('\0');
    }
    // The next word, or false at the end.
    bool Next(std::string& word) {
        char* w = strword_r(started ? nullptr : buf.data(), &state);
        started = true;
        if (!w)
            return false;
        EXPECT_GE(w, buf.data());
        EXPECT_LT(w, buf.data() + buf.size());
        word = w;
        return true;
    }
    std::vector<char> buf;
    strword_state state{};
    bool started = false;
};

// Two tokenizations advanced in turn, word by word, and strword's own one
// running beside them: none disturbs another.
TEST(StrwordReentrant, InterleavedTokenizationsKeepTheirOwnPlaces) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string a = RandomLine(rng), b = RandomLine(rng);
        ReentrantRun ra(a), rb(b);
        std::vector<char> own(b.begin(), b.end());
        own.push_back('\0');
        Words gotA, gotB, gotOwn;
        std::string w;
        char* o = strword(own.data());
        bool moreA = true, moreB = true;
        while (moreA || moreB || o) {
            if (moreA && (moreA = ra.Next(w)))
                gotA.push_back(w);
            if (moreB && (moreB = rb.Next(w)))
                gotB.push_back(w);
            if (o) {
                gotOwn.emplace_back(o);
                o = strword(nullptr);
            }
        }
        ASSERT_EQ(gotA, ReferenceWords(a)) << ::testing::PrintToString(a);
        ASSERT_EQ(gotB, ReferenceWords(b)) << ::testing::PrintToString(b);
        ASSERT_EQ(gotOwn, gotB);
    }
}

TEST(StrwordReentrant, FreshStateAndNullStateGiveNothing) {
    strword_state fresh{};
    EXPECT_EQ(strword_r(nullptr, &fresh), nullptr);
    EXPECT_EQ(strword_r(nullptr, &fresh), nullptr);
    char line[] = "two words";
    EXPECT_EQ(strword_r(line, nullptr), nullptr);
    EXPECT_STREQ(line, "two words"); // nothing written without a state
}

} // namespace
