// Splitting lines into words by dictionary: which classic words reach the
// analyser, what comes back of them, how long the words stay put, and what
// the user is told when the analyser cannot be loaded.
#include "engine/segment.h"
#include "engine/word_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iconv.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Words = std::vector<std::string>;

// Test text is written in UTF-8; Shift-JIS cases convert it with the
// system's converter directly.
std::string Convert(const char* to, const char* from, const std::string& text) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size(), outLeft = out.size();
    char* at = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    EXPECT_TRUE(ok) << text;
    out.resize(out.size() - outLeft);
    return out;
}

// The words of one line as a count takes them: all of the line first, then
// read, so that a word moved or overwritten while later ones were made shows.
Words Tokenize(const CSegmentation& segmentation, bool utf8, const std::string& line) {
    std::vector<char> buffer(line.size() + 1 + kWordPadding, '\0');
    std::memcpy(buffer.data(), line.data(), line.size());
    CLineTokenizer tokenizer = segmentation.MakeTokenizer(utf8);
    std::vector<const char*> found;
    for (char* w = tokenizer.First(buffer.data()); w; w = tokenizer.Next())
        found.push_back(w);
    return Words(found.begin(), found.end());
}

// In UTF-8 on both sides, whatever the encoding tokenized.
Words TokenizeAs(const CSegmentation& segmentation, bool utf8, const std::string& line) {
    if (utf8)
        return Tokenize(segmentation, true, line);
    Words words = Tokenize(segmentation, false, Convert("CP932", "UTF-8", line));
    for (std::string& w : words)
        w = Convert("UTF-8", "CP932", w);
    return words;
}

class SegmentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!CSegmentation(kSegmentByDictionary).Ready())
            GTEST_SKIP() << "MeCab or its UTF-8 dictionary is not installed";
    }
};

struct SplitCase {
    SegmentMode mode;
    const char* line;
    Words words;
};

TEST_F(SegmentTest, japaneseWordsAreSplitByDictionaryInBothEncodings) {
    const SplitCase cases[] = {
        // Symbols (、。「」) are dropped; ASCII words pass as they are.
        {kSegmentByDictionary,
         "Hello 日本語の文章を、読む。",
         {"Hello", "日本語", "の", "文章", "を", "読む"}},
        {kSegmentByDictionary, "「」 end 2024年", {"end", "2024", "年"}},
        {kSegmentByDictionary, "猫 猫が", {"猫", "猫", "が"}},
        // Base forms; an unknown word has none and stays as written.
        {kSegmentBaseForms, "行った ヴォルラン", {"行く", "た", "ヴォルラン"}},
    };
    for (const bool utf8 : {false, true}) {
        for (const SplitCase& c : cases) {
            const CSegmentation segmentation(c.mode);
            EXPECT_EQ(TokenizeAs(segmentation, utf8, c.line), c.words)
                << c.line << (utf8 ? " (UTF-8)" : " (Shift-JIS)");
        }
    }
}

TEST_F(SegmentTest, onlyKanaAndKanjiReachTheAnalyserInUtf8) {
    const CSegmentation segmentation(kSegmentByDictionary);
    EXPECT_EQ(Tokenize(segmentation, true, "naïve Größe 猫が鳴く"),
              (Words{"naïve", "Größe", "猫", "が", "鳴く"}));
}

TEST_F(SegmentTest, aWordThatDoesNotConvertCountsWhole) {
    const CSegmentation segmentation(kSegmentByDictionary);
    // 0x85 0x40 is no character of code page 932; 0xFF is never UTF-8.
    EXPECT_EQ(Tokenize(segmentation, false, "\x85\x40\x82\xA0 ok"),
              (Words{"\x85\x40\x82\xA0", "ok"}));
    EXPECT_EQ(Tokenize(segmentation, true, "\xFF猫 ok"), (Words{"\xFF猫", "ok"}));
}

TEST_F(SegmentTest, wordsOfALongLineStayPutUntilTheLineIsDone) {
    const CSegmentation segmentation(kSegmentByDictionary);
    std::string line;
    for (int i = 0; i < 3000; ++i)
        line += "猫が ";
    const Words words = Tokenize(segmentation, true, line);
    ASSERT_EQ(words.size(), 6000u);
    for (std::size_t i = 0; i < words.size(); ++i)
        ASSERT_EQ(words[i], i % 2 ? "が" : "猫") << i;
}

TEST(SegmentLoadTest, aMissingAnalyserNamesThePackagesToInstall) {
    const std::string dictionary = MecabPlace{}.strDictionary;
    std::vector<MecabPlace> places = {
        {"libvorlan-no-such-mecab.so", dictionary},
        {MecabPlace{}.strLibrary, "/nonexistent/vorlan/dic"},
    };
    // Debian's EUC-JP dictionary, where it is installed alongside.
    if (::access("/var/lib/mecab/dic/ipadic/dicrc", R_OK) == 0)
        places.push_back({MecabPlace{}.strLibrary, "/var/lib/mecab/dic/ipadic"});
    for (const MecabPlace& place : places) {
        const CSegmentation segmentation(kSegmentByDictionary, place);
        EXPECT_FALSE(segmentation.Ready()) << place.strLibrary << " " << place.strDictionary;
        EXPECT_NE(segmentation.Error().find("libmecab2"), std::string::npos)
            << segmentation.Error();
        EXPECT_NE(segmentation.Error().find("mecab-ipadic-utf8"), std::string::npos);
    }
    // By character type nothing is loaded, so nothing can be missing.
    EXPECT_TRUE(CSegmentation(kSegmentByType, places[0]).Ready());
}

} // namespace
