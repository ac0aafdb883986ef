// The per-file scan: what counts as a word, how lines are prepared, which
// files are opened, and what the user is told about those that are not.
#include "count_fixture.h"

#include "platform/event_pump.h"

#include "tesmo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

namespace {

void CountPump(void* context) {
    ++*static_cast<int*>(context);
}

class Scan : public ::testing::Test {
  protected:
    // Counts the files with the plain scan; the table keeps its words.
    void ScanPlain(const std::vector<std::string>& files) { f.doc.ScanFiles(files); }
    // The stored words in ascending order, each with its count.
    std::string Words() {
        CExStringList list(10);
        f.doc.m_wordTree.WriteAscending(list, f.doc.m_wordTree.m_pRoot);
        std::string text;
        for (const auto* node = list.m_pHead; node; node = node->m_pNextNode)
            text += node->m_strLine;
        return text;
    }

    CTempTree tree;
    CountFixture f;
};

TEST_F(Scan, CaseVariantsCountAsOneWordStoredAsFirstMet) {
    ScanPlain({tree.Write("h.txt", "Hello, hello. HELLO!\n")});
    EXPECT_EQ(f.doc.m_nTotalWords, 3);
    EXPECT_EQ(f.doc.m_wordTree.m_nCount, 1);
    EXPECT_EQ(Words(), WordLine(3, "Hello"));
    EXPECT_EQ(f.doc.m_nFilesProcessed, 1);
    EXPECT_EQ(f.doc.m_bCounting, 1); // the count run clears it, not the scan
}

// Line preparation: what a line holds after reading decides the words and
// whether the event pump is called for it.
struct LineCase {
    const char* name;
    std::string bytes;
    bool html;
    int words;
    int pumps;
    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
};

class ScanLines : public Scan, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ScanLines, WordsAndPumpCalls) {
    std::vector<std::string> files{tree.Write("l.txt", GetParam().bytes)};
    int pumps = 0;
    {
        CScopedPumpHook hook(CountPump, &pumps);
        GetParam().html ? f.doc.ScanHtmlFiles(files) : f.doc.ScanFiles(files);
    }
    EXPECT_EQ(f.doc.m_nTotalWords, GetParam().words);
    EXPECT_EQ(pumps, GetParam().pumps);
}

INSTANTIATE_TEST_SUITE_P(
    Preparation, ScanLines,
    ::testing::Values(LineCase{"SpacesOnlyPlain", "     \n", false, 0, 0},
                      LineCase{"LineFeedOnlyPlain", "\n", false, 0, 0},
                      LineCase{"SpacesOnlyHtml", "     \n", true, 0, 1},
                      LineCase{"LineFeedOnlyHtml", "\n", true, 0, 1},
                      LineCase{"TrailingSpacesDropped", "word   \n", false, 1, 1},
                      LineCase{"TrailingTabSplits", "one\ttwo\t\n", false, 2, 1},
                      LineCase{"CrLfReadsAsLineFeed", "one two\r\nthree\r\n", false, 3, 2},
                      LineCase{"CtrlZEndsTheFile", std::string("one two\x1A three\n"), false, 2, 1},
                      LineCase{"NoFinalLineFeed", "one two", false, 2, 1},
                      // The filter pumps too: before analysing the tag and after removing it.
                      LineCase{"ParagraphTagOnly", "<p>\n", true, 0, 3},
                      LineCase{"DelimitersOnly", ",,, ;;\n", false, 0, 1},
                      // A NUL byte ends the line's text: what follows it is
                      // neither counted nor makes an empty line non-empty.
                      LineCase{"NulFirst", std::string("\0one two\n", 9), false, 0, 0},
                      LineCase{"SpacesThenNul", std::string("  \0one \n", 8), false, 0, 0},
                      LineCase{"WordThenNul", std::string("one\0two three  \n", 16), false, 1, 1},
                      LineCase{"WordSpaceNul", std::string("one \0two\r\n", 10), false, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Scan, TagsAreRemovedWithoutReplacement) {
    f.doc.ScanHtmlFiles({tree.Write("t.html", "a<B>b</B>c\n")});
    EXPECT_EQ(Words(), WordLine(1, "abc"));
}

TEST_F(Scan, LongLinesAreReadInPiecesOf5119Bytes) {
    // A word straddling the piece boundary counts as two.
    std::string line = std::string(5117, ' ') + "abcd\n";
    ScanPlain({tree.Write("long.txt", line)});
    EXPECT_EQ(Words(), WordLine(1, "ab") + WordLine(1, "cd"));
}

TEST_F(Scan, ByEndingsStoresReversedWords) {
    f.doc.ScanFilesByEndings({tree.Write("e.txt", "Counting\n")});
    EXPECT_EQ(Words(), WordLine(1, "gnitnuoC"));
}

// Words of every length from 1 to 20, next to each other on one line and
// with high bytes among them, each stored reversed exactly: reversing one
// word must leave its neighbours as they are.
TEST_F(Scan, ByEndingsReversesWordsOfEveryLengthWithoutTouchingNeighbours) {
    const std::string bytes = "Ab1\x83\x41\xA6z9QrStUvWxYz";
    std::string line;
    std::vector<std::string> words;
    for (std::size_t n = 1; n <= 20; ++n) {
        std::string word;
        for (std::size_t i = 0; i < n; ++i)
            word += bytes[(i * 7 + n) % bytes.size()];
        if (static_cast<unsigned char>(word.back()) == 0x83)
            word.back() = 'k'; // a lead byte at the end would take the separator along
        words.push_back(word);
        line += word + (n % 3 ? " " : ",");
    }
    f.doc.ScanFilesByEndings({tree.Write("e.txt", line + "\n")});
    std::vector<std::string> stored;
    f.doc.m_wordTree.Settle();
    CStringTree::WalkAscending(f.doc.m_wordTree.m_pRoot,
                               [&](const CNode& n) { stored.push_back(n.m_pszWord); });
    std::vector<std::string> expected;
    for (const std::string& word : words)
        expected.emplace_back(word.rbegin(), word.rend());
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return mbstricmp(a.c_str(), b.c_str()) < 0;
    });
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(f.doc.m_nTotalWords, 20);
}

TEST_F(Scan, ExcludedFilesAreSkippedSilentlyWhenBinaryIsOn) {
    std::vector<std::string> files{tree.Write("A.EXE", "program bytes\n"),
                                   tree.Write("B.TXT", "text\n"), tree.Write("c.zip", "archive\n")};
    f.doc.m_bExcludeBinary = 1;
    ScanPlain(files);
    EXPECT_EQ(Words(), WordLine(1, "text"));
    EXPECT_EQ(f.doc.m_nFilesProcessed, 1);
    EXPECT_TRUE(f.notifier.messages.empty());
}

TEST_F(Scan, BinaryOtherThanOneExcludesNothing) {
    f.doc.m_bExcludeBinary = 2;
    ScanPlain({tree.Write("A.EXE", "program\n")});
    EXPECT_EQ(f.doc.m_nFilesProcessed, 1);
}

TEST_F(Scan, FileIsOpenedUnderItsListedNameOnACaseSensitiveSystem) {
    ScanPlain({tree.Write("MixedCase.txt", "found\n")});
    EXPECT_EQ(Words(), WordLine(1, "found"));
    EXPECT_TRUE(f.notifier.messages.empty());
}

// The open-failure message names the upper-cased path, with each scan's own
// suffix, and the scan goes on with the next file.
struct FailureCase {
    const char* name;
    void (CVorlanDoc::*scan)(const std::vector<std::string>&);
    const char* suffix;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

class ScanFailures : public Scan, public ::testing::WithParamInterface<FailureCase> {
  protected:
    std::string Expected(const std::string& path) {
        std::string upper = path;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return "Failed to open " + upper + GetParam().suffix;
    }
};

TEST_P(ScanFailures, MissingFileIsReportedAndSkipped) {
    std::string missing = tree.Path("missing.txt");
    (f.doc.*GetParam().scan)({missing, tree.Write("ok.txt", "fine\n")});
    EXPECT_EQ(f.notifier.messages, std::vector<std::string>{Expected(missing)});
    EXPECT_EQ(f.doc.m_nFilesProcessed, 1);
    EXPECT_EQ(f.doc.m_nTotalWords, 1);
}

TEST_P(ScanFailures, DirectoriesAndFifosAreNotOpened) {
    std::string dir = tree.Path("sub");
    tree.Write("sub/inner.txt", "x\n");
    std::string fifo = tree.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    (f.doc.*GetParam().scan)({dir, fifo}); // must not block on the FIFO
    EXPECT_EQ(f.notifier.messages, (std::vector<std::string>{Expected(dir), Expected(fifo)}));
    EXPECT_EQ(f.doc.m_nFilesProcessed, 0);
    EXPECT_EQ(f.doc.m_bCounting, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ScanFailures,
    ::testing::Values(FailureCase{"Plain", &CVorlanDoc::ScanFiles, "(--;)"},
                      FailureCase{"ByEndings", &CVorlanDoc::ScanFilesByEndings, " (--;)"},
                      FailureCase{"Html", &CVorlanDoc::ScanHtmlFiles, "(--;)"},
                      FailureCase{"HtmlByEndings", &CVorlanDoc::ScanHtmlFilesByEndings, "(--;)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Scan, QuitIsTestedAfterASkippedFileToo) {
    f.doc.m_bQuit = 1;
    ScanPlain({tree.Path("missing.txt"), tree.Write("never.txt", "never\n")});
    EXPECT_EQ(f.notifier.messages.size(), 1u);
    EXPECT_EQ(f.doc.m_nFilesProcessed, 0);
}

} // namespace

namespace {

// The word total is 64-bit: it never wraps, and the progress title comes
// whenever it is a multiple of 500, counted across lines and files.
struct TitleCase {
    std::int64_t start;
    int words;
    std::vector<std::string> titles;
};

class ScanTitleCounter : public Scan, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(ScanTitleCounter, TitleAtEveryMultipleOf500PastThe32BitLimits) {
    std::string text;
    for (int i = 0; i < GetParam().words; ++i)
        text += (i % 7 == 6) ? "w\n" : "w ";
    const std::string half = text.substr(0, text.size() / 2);
    const std::vector<std::string> files{tree.Write("a.txt", half),
                                         tree.Write("b.txt", text.substr(half.size()))};
    CTitleRecorder recorder;
    f.doc.AddObserver(&recorder);
    f.doc.m_nTotalWords = GetParam().start;
    ScanPlain(files);
    f.doc.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.titles, GetParam().titles);
    EXPECT_EQ(f.doc.m_nTotalWords, GetParam().start + GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, ScanTitleCounter,
    ::testing::Values(TitleCase{0, 1001, {"500 words counted.", "1000 words counted."}},
                      TitleCase{499, 2, {"500 words counted."}}, TitleCase{500, 499, {}},
                      TitleCase{INT32_MAX - 100, 749, {"2147484000 words counted."}},
                      TitleCase{4294967290, 220, {"4294967500 words counted."}}));

} // namespace
