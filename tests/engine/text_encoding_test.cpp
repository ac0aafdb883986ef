// Reading text as UTF-8: per-file detection, the byte-order mark, and counts
// in each of the three encodings.
#include "count_fixture.h"

#include "engine/text_encoding.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Encoding : public ::testing::Test {
  protected:
    void Count(int encoding, const std::vector<std::string>& files) {
        if (encoding >= 0)
            f.settings.Set("Option", "Encoding", encoding);
        f.settings.Set("Sort", "abc", 1);
        f.doc.CountWords(files, tree.Dir() + "*.*");
    }
    std::string Report() { return ReportText(f.doc); }
    // The word lines: between the header and the separator.
    std::string WordLines() {
        std::vector<std::string> lines = ReportLines(f.doc);
        std::string words;
        for (std::size_t i = 1; i < lines.size() && lines[i][0] != '='; ++i)
            words += lines[i];
        return words;
    }

    CTempTree tree;
    CountFixture f;
};

const std::string kBom = "\xEF\xBB\xBF";
// Shift-JIS: two kana, the ideographic comma, two kanji (today).
const std::string kSjisLine = "\x82\xA0\x82\xA2\x81\x41\x8D\xA1\x93\xFA\n";
const std::string kUtf8Line = "\u3042\u3044\u3001\u4ECA\u65E5 caf\u00E9\n";

TEST_F(Encoding, DetectsFilesOneByOne) {
    const std::string big(100 * 1024 - 1, 'x'); // a character straddles two read pieces
    struct {
        const char* name;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"utf8.txt", kUtf8Line, true},
        {"sjis.txt", kSjisLine, false},
        {"ascii.txt", "only ascii\n", false},
        {"bom_ascii.txt", kBom + "only ascii\n", true},
        {"empty.txt", "", false},
        {"straddle.txt", big + "\u3042", true},
        {"late_fault.txt", kUtf8Line + big + "\xFF", false},
        {"after_ctrl_z.txt", kUtf8Line + "\x1A" + kSjisLine, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUtf8File(tree.Write(c.name, c.bytes).c_str()), c.utf8) << c.name;
    EXPECT_FALSE(IsUtf8File(tree.Path("missing.txt").c_str()));
    EXPECT_FALSE(IsUtf8File(tree.Dir().c_str()));
    // A FIFO with no writer would block an ordinary open.
    const std::string fifo = tree.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IsUtf8File(fifo.c_str()));
}

TEST_F(Encoding, ByteOrderMarkIsSkippedOnlyAtTheStart) {
    char marked[] = "\xEF\xBB\xBFword";
    char plain[] = "word";
    char shortLine[] = "\xEF";
    EXPECT_STREQ(SkipByteOrderMark(marked), "word");
    EXPECT_EQ(SkipByteOrderMark(plain), plain);
    EXPECT_EQ(SkipByteOrderMark(shortLine), shortLine);
}

TEST_F(Encoding, Utf8FileWithByteOrderMark) {
    Count(kEncodingUtf8, {tree.Write("u.txt", kBom + "\u201CDon\u2019t\u201D \u2014 don\u2019t!\n" +
                                                  kBom + "again\n")});
    // Only the file's first mark is skipped; one inside is an ordinary word byte.
    EXPECT_EQ(WordLines(), WordLine(2, "Don\u2019t") + WordLine(1, kBom + "again"));
    EXPECT_EQ(f.doc.m_nTotalWords, 3);
    EXPECT_TRUE(f.doc.m_bUtf8Report);
}

// A first line holding only the mark is empty once trimmed: it
// counts nothing and, like any empty line, lets no event through.
TEST_F(Encoding, ByteOrderMarkAloneMakesAnEmptyLine) {
    int pumps = 0;
    const CScopedPumpHook hook([](void* n) { ++*static_cast<int*>(n); }, &pumps);
    Count(kEncodingUtf8, {tree.Write("u.txt", kBom + "\n" + "word  \n")});
    EXPECT_EQ(WordLines(), WordLine(1, "word"));
    EXPECT_EQ(pumps, 2); // the line of "word", then its report line
}

TEST_F(Encoding, DefaultReadsBytesAsBefore) {
    const auto file = tree.Write("u.txt", kBom + kUtf8Line);
    Count(-1, {file});
    const std::string absent = Report();
    EXPECT_FALSE(f.doc.m_bUtf8Report);
    Count(kEncodingBytes, {file});
    EXPECT_EQ(Report(), absent);
    // Byte mode keeps the mark and splits only at ASCII delimiters.
    EXPECT_NE(absent.find(WordLine(1, kBom + "\u3042\u3044\u3001\u4ECA\u65E5")), std::string::npos);
}

TEST_F(Encoding, DetectMixedFolderTokenizesEachFileItsOwnWay) {
    Count(kEncodingDetect, {tree.Write("a.txt", kUtf8Line), tree.Write("b.txt", kSjisLine)});
    const std::string report = Report();
    // UTF-8: the ideographic comma splits; Shift-JIS: it is part of the word.
    EXPECT_NE(report.find(WordLine(1, "\u3042\u3044")), std::string::npos) << report;
    EXPECT_NE(report.find(WordLine(1, "\u4ECA\u65E5")), std::string::npos) << report;
    EXPECT_NE(report.find(WordLine(1, "caf\u00E9")), std::string::npos) << report;
    EXPECT_NE(report.find(WordLine(1, kSjisLine.substr(0, kSjisLine.size() - 1))),
              std::string::npos)
        << report;
    EXPECT_EQ(f.doc.m_nTotalWords, 4);
    EXPECT_TRUE(f.doc.m_bUtf8Report);
}

TEST_F(Encoding, DetectWithoutUtf8FilesMatchesByteMode) {
    const std::vector<std::string> files{tree.Write("b.txt", kSjisLine),
                                         tree.Write("c.txt", "plain \xE9t\xE9\n")};
    Count(kEncodingBytes, files);
    const std::string bytes = Report();
    Count(kEncodingDetect, files);
    EXPECT_EQ(Report(), bytes);
    EXPECT_FALSE(f.doc.m_bUtf8Report);
}

TEST_F(Encoding, ByEndingsGivesWordsBackWhole) {
    f.settings.Set("Sort", "Tail", 1);
    Count(kEncodingUtf8, {tree.Write("t.txt", "\u00E9t\u00E9 \u00E9t\u00E9 \u4ECA\u65E5\n")});
    const std::string report = Report();
    EXPECT_NE(report.find(WordLine(2, "\u00E9t\u00E9")), std::string::npos) << report;
    EXPECT_NE(report.find(WordLine(1, "\u4ECA\u65E5")), std::string::npos) << report;
}

TEST_F(Encoding, HtmlScanSkipsTheMarkToo) {
    f.settings.Set("Option", "DeHTML", 1);
    Count(kEncodingDetect, {tree.Write("p.html", kBom + "<p>na\u00EFve</p>\n")});
    EXPECT_NE(Report().find(WordLine(1, "na\u00EFve")), std::string::npos) << Report();
}

} // namespace
