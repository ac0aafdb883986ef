// The multibyte string operations: byte-wise comparisons and reversal,
// character-wise case mapping, tokenizing and search, white-space removal.
#include "tesmo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// An exactly sized, writable copy: a sanitizer build catches any access past
// the terminator.
std::vector<char> Buffer(const std::string& s) {
    std::vector<char> buf(s.begin(), s.end());
    buf.push_back('\0');
    return buf;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

struct CompareCase {
    std::string a, b;
    int n; // byte limit for the bounded forms
    int cmp, icmp, ncmp, nicmp;
};

class Comparisons : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Comparisons, GiveDocumentedResults) {
    const CompareCase& c = GetParam();
    const auto a = Buffer(c.a);
    const auto b = Buffer(c.b);
    EXPECT_EQ(mbstrcmp(a.data(), b.data()), c.cmp);
    EXPECT_EQ(mbstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(mbstrncmp(a.data(), b.data(), c.n), c.ncmp);
    EXPECT_EQ(mbstrnicmp(a.data(), b.data(), c.n), c.nicmp);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Comparisons,
    ::testing::Values(
        CompareCase{"abc", "abd", 3, -1, -1, -1, -1}, CompareCase{"abd", "abc", 3, 1, 1, 1, 1},
        CompareCase{"ab", "abc", 3, -1, -'c', -'c', -'c'},
        CompareCase{"same", "same", 9, 0, 0, 0, 0},
        CompareCase{"\xE0", "z", 1, 1, 0xE0 - 'z', 0xE0 - 'z', 0xE0 - 'z'},
        CompareCase{"ABC", "abc", 3, -1, 0, 'A' - 'a', 0},
        CompareCase{"a", "B", 1, 1, -1, 'a' - 'B', -1}, CompareCase{"[", "a", 1, -1, -6, -6, -6},
        CompareCase{"\x83\x41", "\x83\x61", 2, -1, 0, 0x41 - 0x61, 0},
        CompareCase{"\x82\x60", "\x82\x81", 2, -1, -0x21, -0x21, -0x21},
        CompareCase{"abcx", "abcy", 3, -1, -1, 0, 0},
        CompareCase{"abcx", "abcy", 4, -1, -1, -1, -1}, CompareCase{"x", "y", 0, -1, -1, 0, 0},
        CompareCase{"x", "y", -5, -1, -1, 0, 0}, CompareCase{"\xFF", "", 1, 1, 255, 255, 255}));

TEST(ComparisonsNull, NullComparesAsEmptyString) {
    EXPECT_EQ(mbstrcmp(nullptr, nullptr), 0);
    EXPECT_EQ(mbstrcmp(nullptr, "a"), -1);
    EXPECT_EQ(mbstricmp("A", nullptr), 'a');
    EXPECT_EQ(mbstrncmp(nullptr, "", 4), 0);
    EXPECT_EQ(mbstrnicmp(nullptr, "b", 4), -'b');
}

// Folds A-Z to a-z and compares unsigned bytes: the order the word table
// relies on.
int FoldedCompare(const std::string& a, const std::string& b) {
    const auto fold = [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    };
    std::vector<unsigned char> fa, fb;
    std::transform(a.begin(), a.end(), std::back_inserter(fa), fold);
    std::transform(b.begin(), b.end(), std::back_inserter(fb), fold);
    return fa < fb ? -1 : fb < fa ? 1 : 0;
}

std::string RandomBytes(std::mt19937& rng, int max_len, const std::string& alphabet) {
    std::uniform_int_distribution<int> len(0, max_len);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s;
    for (int n = len(rng); n > 0; --n)
        s += alphabet[pick(rng)];
    return s;
}

// Letters of both cases, neighbours of the letter ranges, and high bytes.
const std::string kCompareAlphabet = "aAbBzZ@[`{\x7F\x80\xC1\xE1\xFF";

TEST(ComparisonsRandomized, CaseInsensitiveSignMatchesFoldedBytes) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const std::string prefix = RandomBytes(rng, 6, kCompareAlphabet);
        const std::string a = prefix + RandomBytes(rng, 3, kCompareAlphabet);
        const std::string b = prefix + RandomBytes(rng, 3, kCompareAlphabet);
        const auto ba = Buffer(a);
        const auto bb = Buffer(b);
        const int want = FoldedCompare(a, b);
        ASSERT_EQ(Sign(mbstricmp(ba.data(), bb.data())), want) << i;
        ASSERT_EQ(Sign(mbstrnicmp(ba.data(), bb.data(), 1 << 20)), want) << i;
        const int bytewise = std::vector<unsigned char>(a.begin(), a.end()) <
                                     std::vector<unsigned char>(b.begin(), b.end())
                                 ? -1
                                 : (a == b ? 0 : 1);
        ASSERT_EQ(mbstrcmp(ba.data(), bb.data()), bytewise) << i;
    }
}

TEST(Reverse, ReversesBytesNotCharacters) {
    auto s = Buffer("abc");
    EXPECT_EQ(mbstrrev(s.data()), s.data());
    EXPECT_STREQ(s.data(), "cba");
    auto d = Buffer("\x82\xA0\x41");
    mbstrrev(d.data());
    EXPECT_STREQ(d.data(), "\x41\xA0\x82");
    auto empty = Buffer("");
    EXPECT_STREQ(mbstrrev(empty.data()), "");
    EXPECT_EQ(mbstrrev(nullptr), nullptr);
}

TEST(Reverse, TwiceIsIdentityOnRandomBytes) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> len(0, 64);
    for (int i = 0; i < 50000; ++i) {
        std::string s;
        for (int n = len(rng); n > 0; --n)
            s += static_cast<char>(byte(rng));
        auto buf = Buffer(s);
        mbstrrev(mbstrrev(buf.data()));
        ASSERT_EQ(std::string(buf.data()), s) << i;
    }
}

TEST(CaseMapping, SkipsDoubleByteCharacters) {
    auto up = Buffer("a\x82\x61"
                     "b");
    EXPECT_EQ(mbstrupr(up.data()), up.data());
    EXPECT_STREQ(up.data(), "A\x82\x61"
                            "B");
    auto low = Buffer("Q\x83\x41Z[@");
    EXPECT_EQ(mbstrlwr(low.data()), low.data());
    EXPECT_STREQ(low.data(), "q\x83\x41z[@");
    auto kana = Buffer("\xC1x");
    EXPECT_STREQ(mbstrupr(kana.data()), "\xC1X");
}

TEST(CaseMapping, LoneLeadByteEndsString) {
    auto up = Buffer("ab\x82");
    EXPECT_STREQ(mbstrupr(up.data()), "AB\x82");
    auto low = Buffer("\xE0");
    EXPECT_STREQ(mbstrlwr(low.data()), "\xE0");
}

TEST(CaseMapping, ConvAndNullsReturnArgument) {
    char text[] = "aB\x82\x61";
    EXPECT_EQ(mbstrconv(text), text);
    EXPECT_STREQ(text, "aB\x82\x61");
    EXPECT_EQ(mbstrconv(nullptr), nullptr);
    EXPECT_EQ(mbstrupr(nullptr), nullptr);
    EXPECT_EQ(mbstrlwr(nullptr), nullptr);
}

TEST(SpaceRemoval, DelSpace1SkipsLeadingSpacesOnly) {
    char out[32];
    EXPECT_EQ(mbdelspace1(out, "  \x81\x40x y"), out);
    EXPECT_STREQ(out, "x y");
    mbdelspace1(out, "\tx");
    EXPECT_STREQ(out, "\tx");
    mbdelspace1(out, " \x81\x41 x"); // double-byte comma is not a space
    EXPECT_STREQ(out, "\x81\x41 x");
    mbdelspace1(out, "   ");
    EXPECT_STREQ(out, "");
    mbdelspace1(out, " \x81");
    EXPECT_STREQ(out, "\x81");
}

TEST(SpaceRemoval, DelSpace3CollapsesRunsToTheirFirstByte) {
    char out[32];
    EXPECT_EQ(mbdelspace3(out, "a   b\t\nc"), out);
    EXPECT_STREQ(out, "a b\tc");
    mbdelspace3(out, "\x81\x40\x81\x40 \r\n ");
    EXPECT_STREQ(out, "\x81\x40\x81\x40 ");
    mbdelspace3(out, "");
    EXPECT_STREQ(out, "");
}

TEST(SpaceRemoval, WorksInPlace) {
    char a[] = "   \x81\x40lead";
    EXPECT_EQ(mbdelspace1(a, a), a);
    EXPECT_STREQ(a, "lead");
    char b[] = "x \t  y\n\nz";
    EXPECT_EQ(mbdelspace3(b, b), b);
    EXPECT_STREQ(b, "x y\nz");
}

TEST(SpaceRemoval, NullArgumentsGiveNull) {
    char out[4] = "abc";
    EXPECT_EQ(mbdelspace1(out, nullptr), nullptr);
    EXPECT_EQ(mbdelspace3(out, nullptr), nullptr);
    EXPECT_EQ(mbdelspace1(nullptr, "x"), nullptr);
    EXPECT_EQ(mbdelspace3(nullptr, "x"), nullptr);
    EXPECT_STREQ(out, "abc");
}

std::vector<std::string> AllTokens(std::vector<char>& buf, const char* delims) {
    std::vector<std::string> tokens;
    for (char* t = mbstrtok(buf.data(), delims); t; t = mbstrtok(nullptr, delims))
        tokens.emplace_back(t);
    return tokens;
}

using Tokens = std::vector<std::string>;

TEST(Tokenizer, SkipsRunsOfDelimiters) {
    auto a = Buffer("a,b");
    EXPECT_EQ(AllTokens(a, ","), (Tokens{"a", "b"}));
    auto b = Buffer(",,a,,b,,");
    EXPECT_EQ(AllTokens(b, ","), (Tokens{"a", "b"}));
    auto c = Buffer(",;,");
    EXPECT_EQ(AllTokens(c, ";,"), Tokens{});
    auto d = Buffer("abc");
    EXPECT_EQ(AllTokens(d, ""), Tokens{"abc"});
}

TEST(Tokenizer, DoubleByteDelimiterMatchesWholeCharacters) {
    // 0x82 0x41 holds the byte 0x41, which is not the comma 0x81 0x41.
    auto s = Buffer("x\x81\x41y\x82\x41z\x81\x41\x81\x41w");
    EXPECT_EQ(AllTokens(s, "\x81\x41"), (Tokens{"x", "y\x82\x41z", "w"}));
    auto t = Buffer("\x82\x41\x41");
    EXPECT_EQ(AllTokens(t, "A"), (Tokens{"\x82\x41"}));
}

TEST(Tokenizer, DelimiterBytesBecomeNul) {
    auto s = Buffer("ab\x81\x41"
                    "cd");
    EXPECT_EQ(AllTokens(s, "\x81\x41"), (Tokens{"ab", "cd"}));
    EXPECT_EQ(std::string(s.data(), s.size()), std::string("ab\0\0cd\0", 7));
}

TEST(Tokenizer, LoneLeadByteEndsString) {
    auto a = Buffer(",\x82");
    EXPECT_EQ(AllTokens(a, ","), Tokens{});
    auto b = Buffer("ab,\x82");
    EXPECT_EQ(AllTokens(b, ","), Tokens{"ab"});
    auto c = Buffer("ab\x82");
    EXPECT_EQ(AllTokens(c, "\x82"), Tokens{"ab\x82"});
}

TEST(Tokenizer, NullArguments) {
    auto s = Buffer("a b");
    EXPECT_STREQ(mbstrtok(s.data(), " "), "a");
    EXPECT_EQ(mbstrtok(nullptr, nullptr), nullptr); // no delimiters: nothing
    EXPECT_STREQ(mbstrtok(nullptr, " "), "b");
    EXPECT_EQ(mbstrtok(nullptr, " "), nullptr);
    EXPECT_EQ(mbstrtok(nullptr, " "), nullptr);
}

TEST(Search, FindsNeedlesAtCharacterBoundaries) {
    const char hay[] = "x\x82\x41\x42y";
    EXPECT_EQ(mbstrstr(hay, "A"), nullptr); // the 0x41 there is a second byte
    EXPECT_EQ(mbstrstr(hay, "\x41\x42"), nullptr);
    EXPECT_EQ(mbstrstr(hay, "\x42y"), hay + 3);
    EXPECT_EQ(mbstrstr(hay, "\x82\x41"), hay + 1);
    const char kana[] = "\x82\xA0\x82\xA0\x82\xA2";
    EXPECT_EQ(mbstrstr(kana, "\xA0\x82"), nullptr);
    EXPECT_EQ(mbstrstr(kana, "\x82\xA0\x82\xA2"), kana + 2);
}

TEST(Search, EmptyNeedleAndMisses) {
    const char hay[] = "abcabd";
    EXPECT_EQ(mbstrstr(hay, ""), hay);
    const char empty[] = "";
    EXPECT_EQ(mbstrstr(empty, ""), empty);
    EXPECT_EQ(mbstrstr(hay, "abd"), hay + 3);
    EXPECT_EQ(mbstrstr(hay, "abdx"), nullptr);
    EXPECT_EQ(mbstrstr("", "a"), nullptr);
    EXPECT_EQ(mbstrstr(nullptr, "a"), nullptr);
    EXPECT_EQ(mbstrstr(hay, nullptr), nullptr);
}

TEST(Search, LoneLeadBytesEndEitherString) {
    const char hay[] = "ab\x82";
    EXPECT_EQ(mbstrstr(hay, "b\x82"), hay + 1); // the needle reads as "b"
    EXPECT_EQ(mbstrstr(hay, "\x82"), hay);      // reads as empty
    EXPECT_EQ(mbstrstr(hay, "\x82\x40"), nullptr);
}

// Splits into characters the simple way: a lead byte takes the byte after it
// unless that is the end; a lone lead byte at the end is dropped.
std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 == s.size())
            break;
        const std::size_t w = lead ? 2 : 1;
        out.push_back(s.substr(i, w));
        i += w;
    }
    return out;
}

std::size_t CharacterBytes(const std::string& s) {
    std::size_t n = 0;
    for (const auto& c : Characters(s))
        n += c.size();
    return n;
}

Tokens ReferenceTokens(const std::string& s, const std::string& delims) {
    const auto set = Characters(delims);
    Tokens tokens;
    std::string current;
    for (const auto& ch : Characters(s)) {
        if (std::find(set.begin(), set.end(), ch) == set.end()) {
            current += ch;
            continue;
        }
        if (!current.empty())
            tokens.push_back(current);
        current.clear();
    }
    // A token running to a lone lead byte keeps it: nothing is written there.
    if (!current.empty())
        tokens.push_back(current + s.substr(CharacterBytes(s)));
    return tokens;
}

// -1 when absent, else the byte offset of the first match.
long ReferenceFind(const std::string& hay, const std::string& needle) {
    const auto h = Characters(hay);
    const auto n = Characters(needle);
    long offset = 0;
    for (std::size_t i = 0; i + n.size() <= h.size(); offset += static_cast<long>(h[i].size()), ++i)
        if (std::equal(n.begin(), n.end(), h.begin() + static_cast<long>(i)))
            return offset;
    return -1;
}

// A small alphabet, so that tokens, matches and near-matches are frequent.
const std::string kMixedAlphabet = "aAz, \x81\x40\x41\x82\x61\xA0\x9F\xE0";

std::string RandomMixed(std::mt19937& rng, int max_len) {
    std::string s = RandomBytes(rng, max_len, kMixedAlphabet);
    if (rng() % 3 == 0)
        s += '\x82'; // lead byte right before the terminator
    return s;
}

TEST(CharacterWiseRandomized, TokenizerMatchesReference) {
    std::mt19937 rng(13);
    for (int i = 0; i < 100000; ++i) {
        const std::string s = RandomMixed(rng, 24);
        const std::string delims = RandomMixed(rng, 3);
        auto buf = Buffer(s);
        auto dbuf = Buffer(delims);
        Tokens got;
        for (char* t = mbstrtok(buf.data(), dbuf.data()); t; t = mbstrtok(nullptr, dbuf.data()))
            got.emplace_back(t);
        ASSERT_EQ(got, ReferenceTokens(s, delims))
            << i << " " << ::testing::PrintToString(s) << " " << ::testing::PrintToString(delims);
    }
}

TEST(CharacterWiseRandomized, SearchMatchesReference) {
    std::mt19937 rng(17);
    for (int i = 0; i < 100000; ++i) {
        const std::string hay = RandomMixed(rng, 24);
        const std::string needle = RandomMixed(rng, 4);
        const auto h = Buffer(hay);
        const auto n = Buffer(needle);
        const char* found = mbstrstr(h.data(), n.data());
        const long got = found ? found - h.data() : -1;
        ASSERT_EQ(got, ReferenceFind(hay, needle))
            << i << " " << ::testing::PrintToString(hay) << " " << ::testing::PrintToString(needle);
    }
}

TEST(CharacterWiseRandomized, CaseMappingMatchesReference) {
    std::mt19937 rng(19);
    for (int i = 0; i < 100000; ++i) {
        const std::string s = RandomMixed(rng, 24);
        std::string up, low;
        for (const auto& ch : Characters(s)) {
            std::string u = ch, l = ch;
            if (ch.size() == 1 && ch[0] >= 'a' && ch[0] <= 'z')
                u[0] = static_cast<char>(ch[0] - 32);
            if (ch.size() == 1 && ch[0] >= 'A' && ch[0] <= 'Z')
                l[0] = static_cast<char>(ch[0] + 32);
            up += u;
            low += l;
        }
        up += s.substr(CharacterBytes(s)); // a lone lead byte stays
        low += s.substr(CharacterBytes(s));
        auto bu = Buffer(s);
        auto bl = Buffer(s);
        ASSERT_EQ(std::string(mbstrupr(bu.data())), up) << i;
        ASSERT_EQ(std::string(mbstrlwr(bl.data())), low) << i;
    }
}

} // namespace
