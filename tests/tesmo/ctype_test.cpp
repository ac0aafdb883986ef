// Character classes and the library's identity, with the code page flag as
// the process environment fixed it (see the two registrations in CMake).
#include "ctype_tables.h"
#include "tesmo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

bool FlagExpected() {
    const char* cp = std::getenv("TESMO_CODEPAGE");
    return cp && std::string(cp) == "932";
}

int Class(const std::string& s, int n) {
    return zqr_nthctype(n, s.c_str());
}

TEST(Identity, EditionConstants) {
    EXPECT_EQ(GetExDllVersion(), 5);
    EXPECT_EQ(CwExType(), 0);
    char buf[8] = "junk";
    EXPECT_EQ(GetLanguage(buf), buf);
    EXPECT_STREQ(buf, "");
}

TEST(CodePageFlag, FixedFromEnvironmentAtLoad) {
    EXPECT_EQ(tesmo::JapaneseCodePage(), FlagExpected());
}

TEST(CodePageFlag, DecidedFromOverrideThenLocaleVariables) {
    using tesmo::DecideJapaneseCodePage;
    EXPECT_TRUE(DecideJapaneseCodePage("932", nullptr, nullptr, "C.UTF-8"));
    EXPECT_FALSE(DecideJapaneseCodePage("1252", "ja_JP.SJIS", nullptr, nullptr));
    EXPECT_TRUE(DecideJapaneseCodePage(nullptr, "ja_JP.SJIS", "C", "C"));
    EXPECT_FALSE(DecideJapaneseCodePage("", "ja_JP.UTF-8", "ja_JP.SJIS", nullptr));
    EXPECT_TRUE(DecideJapaneseCodePage(nullptr, "", "ja_JP.eucJP", nullptr));
    EXPECT_TRUE(DecideJapaneseCodePage(nullptr, nullptr, nullptr, "zh_CN.GBK"));
    EXPECT_TRUE(DecideJapaneseCodePage(nullptr, nullptr, nullptr, "ko_KR.euc-kr@x"));
    EXPECT_TRUE(DecideJapaneseCodePage(nullptr, nullptr, nullptr, "zh_TW.Big5"));
    EXPECT_FALSE(DecideJapaneseCodePage(nullptr, nullptr, nullptr, "ja_JP"));
    EXPECT_FALSE(DecideJapaneseCodePage(nullptr, nullptr, nullptr, nullptr));
}

TEST(ByteTables, DelimiterAndLeadRanges) {
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(tesmo::IsLead(b), lead) << c;
        if (lead || (c >= 0xA1 && c <= 0xDF)) {
            EXPECT_TRUE(tesmo::IsTrail(b)) << c;
        }
        if (c >= 0x80) {
            EXPECT_EQ(tesmo::kSingleClass[c], 0) << c;
        }
    }
}

TEST(NthKanji, FirstLevelKanjiPair) {
    const std::string k = "\x8A\xBF";
    EXPECT_EQ(is_nth_kanji(0, k.c_str()), 0);
    EXPECT_EQ(is_nth_kanji(1, k.c_str()), 1);
    EXPECT_EQ(is_nth_kanji2(1, k.c_str()), 0);
    const int expected = FlagExpected() ? 5 : 10;
    EXPECT_EQ(Class(k, 0), expected);
    EXPECT_EQ(Class(k, 1), expected);
}

TEST(NthKanji, TrailFlagOnSingleBytes) {
    EXPECT_EQ(is_nth_kanji2(1, "AB"), 0);
    EXPECT_EQ(is_nth_kanji2(0, "\x88\x9F"), 0);
    EXPECT_EQ(is_nth_kanji2(0, " "), 1);
}

TEST(NthKanji, OutOfRangeOffsets) {
    EXPECT_EQ(is_nth_kanji(-1, "\x88\x9F"), 1);
    EXPECT_EQ(is_nth_kanji2(-3, "AB"), 1);
    EXPECT_EQ(is_nth_kanji(7, "\x88\x9F"), 1);
    EXPECT_EQ(is_nth_kanji2(9, "AB"), 1);
    // A lone lead byte at the end never walks past the terminator.
    EXPECT_EQ(is_nth_kanji(0, "\x88"), 0);
    EXPECT_EQ(is_nth_kanji(2, "\x88"), 1);
    EXPECT_EQ(is_nth_kanji2(1, "\x88"), 1);
}

TEST(CharClass, SingleBytes) {
    EXPECT_EQ(Class("", 0), 11);
    EXPECT_EQ(Class("", 5), 11);
    EXPECT_EQ(Class("a", 0), 0);
    EXPECT_EQ(Class("7", 0), 0);
    EXPECT_EQ(Class(",", 0), 1);
    EXPECT_EQ(Class("\xB1", 0), 2);
    EXPECT_EQ(Class("\xA4", 0), 1);
    EXPECT_EQ(Class(" ", 0), 9);
    EXPECT_EQ(Class("\x80", 0), 9);
    EXPECT_EQ(Class("ab", 2), 9);  // the terminator
    EXPECT_EQ(Class("ab", 40), 9); // beyond it
    EXPECT_EQ(Class("ab", -1), 9);
}

TEST(CharClass, DoubleBytesUnderTheFlag) {
    const bool jp = FlagExpected();
    EXPECT_EQ(Class("\x82\x60", 0), 6);
    EXPECT_EQ(Class("\x82\x95", 0), jp ? 7 : 10);
    EXPECT_EQ(Class("\x81\x5B", 0), 3);
    EXPECT_EQ(Class("\x81\x5B", 1), 3);
    EXPECT_EQ(Class("\x82\xA0", 0), jp ? 4 : 10);
    EXPECT_EQ(Class("\x83\x41", 0), jp ? 3 : 10);
    EXPECT_EQ(Class("\x83\x96", 0), jp ? 3 : 10);
    EXPECT_EQ(Class("\x83\x97", 0), jp ? 7 : 10);
    EXPECT_EQ(Class("\x83\x7F", 0), 10); // 0x7F is no trail byte: not legal
    EXPECT_EQ(Class("\x98\x9F", 0), jp ? 5 : 10);
    EXPECT_EQ(Class("\xEA\x9E", 0), jp ? 5 : 10);
    EXPECT_EQ(Class("\xEA\x9F", 0), 10);
}

} // namespace
