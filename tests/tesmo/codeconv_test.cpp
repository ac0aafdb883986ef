// EUC-JP and ISO-2022-JP to Shift-JIS in place: known codes, the truncation
// at invalid codes, and bounds on random input.
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

std::string Euc(const std::string& in) {
    auto buf = Exact(in);
    EXPECT_EQ(euc2sjis(buf.get()), buf.get());
    return buf.get();
}

std::string Jis(const std::string& in) {
    auto buf = Exact(in);
    EXPECT_EQ(jis2sjis(buf.get()), buf.get());
    return buf.get();
}

const std::string kIn = "\x1B$B";  // ESC $ B
const std::string kIn2 = "\x1B$@"; // ESC $ @
const std::string kOut = "\x1B(B"; // ESC ( B
const std::string kOutJ = "\x1B(J";

TEST(EucToSjis, ConvertsPairsAndKeepsOtherBytes) {
    struct Case {
        std::string in, out;
    } const cases[] = {
        {"\xA4\xA2", "\x82\xA0"},                 // hiragana a
        {"\xB0\xA1", "\x88\x9F"},                 // first first-level kanji
        {"\xA1\xA1", "\x81\x40"},                 // double-byte space
        {"\xDF\xA1", "\xE0\x40"},                 // first row from 0x5F
        {"\xA5\xE0", "\x83\x80"},                 // odd row, cell from 0x60
        {"\xFE\xFE", "\xEF\xFC"},                 // last code
        {"plain ASCII text", "plain ASCII text"}, //
        {"a\xA4\xA2z", "a\x82\xA0z"},             //
        {"\x8F\xA0\xFF\x80\x8D", "\x8F\xA0\xFF\x80\x8D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Euc(c.in), c.out);
}

TEST(EucToSjis, InvalidPairEndsTheStringThere) {
    auto buf = Exact("ab\x8E\xB1"
                     "cd"); // single-shift half-width katakana
    euc2sjis(buf.get());
    EXPECT_EQ(std::string(buf.get()), "ab");
    EXPECT_EQ(buf[3], '\0');      // both bytes of the pair are cleared
    EXPECT_EQ(buf[4], 'c');       // nothing after the pair is touched
    EXPECT_EQ(Euc("x\xA4"), "x"); // a start byte before the terminator
    EXPECT_EQ(Euc("\xA4"
                  "A"),
              ""); // second byte below 0xA1
    EXPECT_EQ(euc2sjis(nullptr), nullptr);
}

TEST(JisToSjis, RemovesEscapesAndConvertsPairs) {
    struct Case {
        std::string in, out;
    } const cases[] = {
        {"a" + kIn + "\x24\x22" + kOut + "b", "a\x82\xA0"
                                              "b"},
        {kIn2 + "\x24\x22\x30\x21", "\x82\xA0\x88\x9F"}, // no closing sequence
        {kIn + "\x24\x22" + kOutJ + "x" + kIn + "\x21\x21" + kOut, "\x82\xA0x\x81\x40"},
        {"no escapes here", "no escapes here"},
        {"\x1B(Iabc\x1B$A", "\x1B(Iabc\x1B$A"}, // unknown escapes copied
        {"", ""},
        {"x" + kIn, "x"}, // entering sequence at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(Jis(c.in), c.out);
}

TEST(JisToSjis, InvalidOrOddPairsEndTheOutput) {
    EXPECT_EQ(Jis("a" + kIn + "\x24\x22\x24"), "a\x82\xA0"); // odd last byte dropped
    EXPECT_EQ(Jis("a" + kIn + "\x24\x10zz"), "a");           // cell byte out of range
    EXPECT_EQ(Jis(kIn + kOut + "x"), "");                    // ESC ( is converted as a pair
    EXPECT_EQ(jis2sjis(nullptr), nullptr);
}

TEST(CodeConversion, StaysWithinRandomStrings) {
    std::mt19937 rng(7);
    const std::string pieces[] = {kIn, kIn2, kOut, kOutJ, "\x1B", "(", "\x24\x22", "\xA4", "\x8E"};
    for (int round = 0; round < 4000; ++round) {
        std::string s;
        const int len = std::uniform_int_distribution<int>(0, 120)(rng);
        while (static_cast<int>(s.size()) < len) {
            if (rng() % 3 == 0)
                s += pieces[rng() % 9];
            else
                s += static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
        }
        auto euc = Exact(s);
        euc2sjis(euc.get());
        EXPECT_LE(std::strlen(euc.get()), s.size());
        auto jis = Exact(s);
        jis2sjis(jis.get());
        EXPECT_LE(std::strlen(jis.get()), s.size());
    }
}

} // namespace
