// The count run from file list to finished report: orders, percentages,
// totals, titles, flags, and what a quit request leaves behind.
#include "count_fixture.h"

#include "engine/report_sink.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

namespace {

const char* kSeparator = "=========================\r\n";

class CountRun : public ::testing::Test {
  protected:
    // The two files of the report format's worked example.
    std::vector<std::string> GoldenFiles() {
        return {tree.Write("a.txt", "the cat and the dog\n"), tree.Write("b.txt", "The end\n")};
    }
    std::string WordLines() {
        std::vector<std::string> lines = ReportLines(f.doc);
        std::string words;
        for (std::size_t i = 1; i < lines.size() && lines[i] != kSeparator; ++i)
            words += lines[i];
        return words;
    }

    CTempTree tree;
    CountFixture f;
};

TEST_F(CountRun, GoldenExampleAscending) {
    f.settings.Set("Sort", "abc", 1);
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    EXPECT_EQ(ReportText(f.doc), "=====[ C:\\TEXT\\*.TXT ]=====\r\n"
                                 "         1 : and\r\n"
                                 "         1 : cat\r\n"
                                 "         1 : dog\r\n"
                                 "         1 : end\r\n"
                                 "         3 : the\r\n"
                                 "=========================\r\n"
                                 "         2 : Files processed\r\n"
                                 "         7 : Total words\r\n"
                                 "         5 : Different words used\r\n");
    EXPECT_EQ(f.doc.m_nFilesProcessed, 2);
    EXPECT_EQ(f.doc.m_nTotalWords, 7);
    EXPECT_EQ(f.doc.m_nDifferentWords, 5);
    EXPECT_TRUE(f.notifier.messages.empty());
    EXPECT_EQ(f.notifier.beeps, 1);
}

// How the sort keys pick the order of the word lines, over the golden files.
struct OrderCase {
    const char* name;
    std::vector<std::pair<const char*, int>> keys;
    std::vector<std::pair<unsigned long, const char*>> lines;
    friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }
};

class CountRunOrder : public CountRun, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(CountRunOrder, WordLinesFollowTheSortKeys) {
    for (const auto& [key, value] : GetParam().keys)
        f.settings.Set("Sort", key, value);
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    std::string expected;
    for (const auto& [count, word] : GetParam().lines)
        expected += WordLine(count, word);
    EXPECT_EQ(WordLines(), expected);
}

// Lines as a stream gets them.
struct CollectedLines : IReportLineSink {
    std::string text;
    void WriteLine(std::string line) override { text += line; }
    void WriteWordLine(std::string& line, std::uint64_t, std::size_t) override { text += line; }
};

// Written to a stream as it is made, the report has the same bytes as the one
// held, and the document holds none of it.
TEST_P(CountRunOrder, AStreamedReportIsTheHeldOne) {
    for (const auto& [key, value] : GetParam().keys)
        f.settings.Set("Sort", key, value);
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    const std::string held = ReportText(f.doc);
    CollectedLines stream;
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt", &stream);
    EXPECT_EQ(stream.text, held);
    EXPECT_EQ(f.doc.m_listResult.m_nLines, 0);
    EXPECT_EQ(f.doc.m_nDifferentWords, 5);
}

const std::vector<std::pair<unsigned long, const char*>> kAscending{
    {1, "and"}, {1, "cat"}, {1, "dog"}, {1, "end"}, {3, "the"}};
const std::vector<std::pair<unsigned long, const char*>> kDescending{
    {3, "the"}, {1, "end"}, {1, "dog"}, {1, "cat"}, {1, "and"}};
const std::vector<std::pair<unsigned long, const char*>> kMoreToLess{
    {3, "the"}, {1, "and"}, {1, "cat"}, {1, "dog"}, {1, "end"}};
const std::vector<std::pair<unsigned long, const char*>> kLessToMore{
    {1, "end"}, {1, "dog"}, {1, "cat"}, {1, "and"}, {3, "the"}};
// Ordered by the last letter, then the one before: anD, thE, enD < doG ...
const std::vector<std::pair<unsigned long, const char*>> kByEndings{
    {1, "and"}, {1, "end"}, {3, "the"}, {1, "dog"}, {1, "cat"}};

INSTANTIATE_TEST_SUITE_P(
    Orders, CountRunOrder,
    ::testing::Values(OrderCase{"NoKeysDescending", {}, kDescending},
                      OrderCase{"AbcTwoCountsAsOff", {{"abc", 2}}, kDescending},
                      OrderCase{"TailWhateverAbc", {{"Tail", 1}, {"abc", 1}}, kByEndings},
                      OrderCase{"TailTwoCountsAsOff", {{"Tail", 2}, {"abc", 1}}, kAscending},
                      OrderCase{"FreqAsDialogWritesIt", {{"Freq", 1}}, kMoreToLess},
                      OrderCase{"LowFreqAsDialogWritesIt", {{"LowFreq", 1}}, kLessToMore},
                      OrderCase{"FreqWinsOverLowFreq", {{"Freq", 1}, {"LowFreq", 1}}, kMoreToLess}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CountRun, PercentLinesCarryTheShare) {
    f.settings.Set("Sort", "abc", 1);
    f.settings.Set("Sort", "Percent", 1);
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    std::vector<std::string> lines = ReportLines(f.doc);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1], "         1(14.286%) : and\r\n");
    EXPECT_EQ(lines[5], "         3(42.857%) : the\r\n");
    EXPECT_EQ(lines[8], "         7 : Total words\r\n");
}

TEST_F(CountRun, PercentTwoCountsAsOff) {
    f.settings.Set("Sort", "abc", 1);
    f.settings.Set("Sort", "Percent", 2);
    f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    EXPECT_EQ(WordLines().substr(0, 18), WordLine(1, "and"));
}

TEST_F(CountRun, HeaderFirstAndTotalsLastUnderFrequencyOrder) {
    f.settings.Set("Sort", "Freq", 1);
    f.doc.CountWords(GoldenFiles(), "/x/lower*.TXT");
    std::vector<std::string> lines = ReportLines(f.doc);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "=====[ /X/LOWER*.TXT ]=====\r\n");
    EXPECT_EQ(lines[6], kSeparator);
    EXPECT_EQ(lines.back(), "         5 : Different words used\r\n");
}

TEST_F(CountRun, OneFileGivesNoFilesProcessedLine) {
    std::vector<std::string> files{tree.Write("one.txt", "a b a\n")};
    f.doc.CountWords(files, tree.Dir() + "one.txt");
    std::vector<std::string> lines = ReportLines(f.doc);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], kSeparator);
    EXPECT_EQ(lines[4], "         3 : Total words\r\n");
    EXPECT_EQ(lines[5], "         2 : Different words used\r\n");
}

TEST_F(CountRun, FilesProcessedCountsOpenedFilesOfTheListGiven) {
    std::vector<std::string> files{tree.Write("here.txt", "word\n"), tree.Path("missing.txt")};
    f.doc.CountWords(files, tree.Dir() + "*.txt");
    EXPECT_EQ(ReportLines(f.doc).at(3), "         1 : Files processed\r\n");
    ASSERT_EQ(f.notifier.messages.size(), 1u);
}

TEST_F(CountRun, NothingCountedStillGivesAReport) {
    f.doc.CountWords({}, "/nowhere/*.*");
    EXPECT_EQ(ReportText(f.doc), "=====[ /NOWHERE/*.* ]=====\r\n"
                                 "=========================\r\n"
                                 "         0 : Total words\r\n"
                                 "         0 : Different words used\r\n");
    EXPECT_EQ(f.notifier.beeps, 1);
}

TEST_F(CountRun, TitlesDuringTheRunAndTheTitleRestored) {
    CTitleRecorder recorder;
    f.doc.AddObserver(&recorder);
    f.doc.SetTitle("Vorlan1");
    f.settings.Set("Sort", "Freq", 1);
    f.doc.CountWords(GoldenFiles(), "x");
    f.doc.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.titles,
              (std::vector<std::string>{"Vorlan1", "Now Counting...",
                                        "Sorting By Frequency(More to Less)", "Vorlan1"}));
    EXPECT_EQ(f.doc.GetTitle(), "Vorlan1");
    EXPECT_EQ(f.doc.m_strSavedTitle, "Vorlan1");
    EXPECT_TRUE(f.doc.IsModified());
}

TEST_F(CountRun, TitlesOfEndingAndLessToMoreRuns) {
    CTitleRecorder recorder;
    f.doc.AddObserver(&recorder);
    f.settings.Set("Sort", "Tail", 1);
    f.settings.Set("Sort", "LowFreq", 1);
    f.doc.CountWords(GoldenFiles(), "x");
    f.doc.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.titles,
              (std::vector<std::string>{"Counting...", "Sorting by Frequency(Less to More)", ""}));
}

// The progress title comes at every 500th word, counted across files, in the
// text of the scan that runs.
struct ProgressCase {
    const char* name;
    int html;
    int tail;
    const char* title;
    friend void PrintTo(const ProgressCase& c, std::ostream* os) { *os << c.name; }
};

class CountRunProgress : public CountRun, public ::testing::WithParamInterface<ProgressCase> {};

std::string Words(int count) {
    std::string line;
    for (int i = 0; i < count; ++i) {
        line += 'w';
        line += std::to_string(i);
        line += ' ';
    }
    line += '\n';
    return line;
}

TEST_P(CountRunProgress, TitleAtEveryFiveHundredWordsAcrossFiles) {
    f.settings.Set("Option", "DeHTML", GetParam().html);
    f.settings.Set("Sort", "Tail", GetParam().tail);
    // 250 + 500 words: the 500th comes in the middle of the second file.
    std::vector<std::string> files{tree.Write("1.txt", Words(250)),
                                   tree.Write("2.txt", Words(500))};
    CTitleRecorder recorder;
    f.doc.AddObserver(&recorder);
    f.doc.CountWords(files, "x");
    f.doc.RemoveObserver(&recorder);
    ASSERT_EQ(recorder.titles.size(), 3u);
    EXPECT_EQ(recorder.titles[0], std::string("500 ") + GetParam().title);
    EXPECT_EQ(recorder.titles[1], GetParam().tail ? "Counting..." : "Now Counting...");
}

TEST_P(CountRunProgress, NoProgressTitleBelowFiveHundredWords) {
    f.settings.Set("Option", "DeHTML", GetParam().html);
    f.settings.Set("Sort", "Tail", GetParam().tail);
    std::vector<std::string> files{tree.Write("1.txt", Words(499))};
    CTitleRecorder recorder;
    f.doc.AddObserver(&recorder);
    f.doc.CountWords(files, "x");
    f.doc.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.titles.size(), 2u);
    EXPECT_EQ(f.doc.m_nTotalWords, 499);
}

INSTANTIATE_TEST_SUITE_P(Variants, CountRunProgress,
                         ::testing::Values(ProgressCase{"Plain", 0, 0, "words counted."},
                                           ProgressCase{"ByEndings", 0, 1, "words counted"},
                                           ProgressCase{"Html", 2, 0, "words are counted."},
                                           ProgressCase{"HtmlByEndings", 1, 1,
                                                        "words are counted"}),
                         [](const auto& info) { return std::string(info.param.name); });

// What an event handler does while the count pumps events.
struct PumpProbe {
    CVorlanDoc* doc = nullptr;
    int quitInFile = 0; // set m_bQuit during this file (1-based)
    CFixtureSettings* settings = nullptr;
    int pumps = 0;
    bool sawCounting = false;
    bool sawCloseRefused = false;

    static void Hook(void* context) {
        auto* p = static_cast<PumpProbe*>(context);
        ++p->pumps;
        if (p->doc->m_bCounting) {
            p->sawCounting = true;
            p->sawCloseRefused = !p->doc->CanCloseFrame();
        }
        if (p->quitInFile && p->doc->m_nFilesProcessed == p->quitInFile) {
            p->doc->m_bQuit = 1;
            p->quitInFile = 0;
        }
        if (p->settings) // the user confirms the Output Option dialog mid-scan
            p->settings->Set("Sort", "Freq", 1);
    }
};

TEST_F(CountRun, QuitDuringTheSecondOfThreeFiles) {
    std::vector<std::string> files{tree.Write("1.txt", "alpha beta\n"),
                                   tree.Write("2.txt", "gamma\ndelta\n"),
                                   tree.Write("3.txt", "epsilon\n")};
    f.settings.Set("Sort", "abc", 1);
    PumpProbe probe{&f.doc, 2};
    {
        CScopedPumpHook hook(PumpProbe::Hook, &probe);
        f.doc.CountWords(files, "x");
    }
    EXPECT_EQ(WordLines(), WordLine(1, "alpha") + WordLine(1, "beta") + WordLine(1, "gamma"));
    EXPECT_EQ(ReportLines(f.doc).at(5), "         2 : Files processed\r\n");
    EXPECT_EQ(f.doc.m_nTotalWords, 3);
    EXPECT_EQ(f.doc.m_bCounting, 0);
    EXPECT_EQ(f.doc.m_bQuit, 1); // the run itself does not clear it
}

TEST_F(CountRun, QuitRequestIsClearedWhenTheNextRunOpensAFile) {
    f.doc.m_bQuit = 1;
    std::vector<std::string> files{tree.Write("1.txt", "a\n"), tree.Write("2.txt", "b\n")};
    f.doc.CountWords(files, "x");
    EXPECT_EQ(f.doc.m_nTotalWords, 2);
    EXPECT_EQ(f.doc.m_bQuit, 0);
}

TEST_F(CountRun, CountingFlagRefusesCloseDuringTheScanOnly) {
    PumpProbe probe{&f.doc};
    {
        CScopedPumpHook hook(PumpProbe::Hook, &probe);
        f.doc.CountWords({tree.Write("1.txt", "a b\n")}, "x");
    }
    EXPECT_TRUE(probe.sawCounting);
    EXPECT_TRUE(probe.sawCloseRefused);
    EXPECT_EQ(f.doc.m_bCounting, 0);
    EXPECT_TRUE(f.doc.CanCloseFrame());
}

// An event handler that tries to count or delete in the same document.
struct Reentry {
    CVorlanDoc* doc;
    std::vector<std::string> files;
    int tries = 0;
    static void Hook(void* context) {
        auto* r = static_cast<Reentry*>(context);
        ++r->tries;
        r->doc->CountWords(r->files, "nested");
        r->doc->DeleteResult();
    }
};

TEST_F(CountRun, NestedCountAndDeleteOfTheSameDocumentAreRefused) {
    f.settings.Set("Sort", "abc", 1);
    Reentry reentry{&f.doc, {tree.Write("other.txt", "intruder\n")}};
    {
        CScopedPumpHook hook(Reentry::Hook, &reentry);
        f.doc.CountWords(GoldenFiles(), "c:\\text\\*.txt");
    }
    EXPECT_GT(reentry.tries, 0);
    EXPECT_EQ(ReportLines(f.doc).at(0), "=====[ C:\\TEXT\\*.TXT ]=====\r\n");
    EXPECT_EQ(WordLines(), WordLine(1, "and") + WordLine(1, "cat") + WordLine(1, "dog") +
                               WordLine(1, "end") + WordLine(3, "the"));
    EXPECT_EQ(f.notifier.beeps, 1);
    EXPECT_FALSE(f.doc.IsCountRunning());
}

TEST_F(CountRun, FrequencyKeysAreReadAfterTheScan) {
    f.settings.Set("Sort", "abc", 1);
    PumpProbe probe{&f.doc};
    probe.settings = &f.settings;
    {
        CScopedPumpHook hook(PumpProbe::Hook, &probe);
        f.doc.CountWords({tree.Write("1.txt", "b a b\n")}, "x");
    }
    EXPECT_EQ(WordLines(), WordLine(2, "b") + WordLine(1, "a"));
}

TEST_F(CountRun, ASecondRunReplacesTheReportAndEmptiesTheWordTable) {
    f.doc.CountWords(GoldenFiles(), "first");
    f.doc.CountWords({tree.Write("other.txt", "zebra\n")}, "second");
    EXPECT_EQ(ReportText(f.doc), "=====[ SECOND ]=====\r\n" + WordLine(1, "zebra") + kSeparator +
                                     "         1 : Total words\r\n"
                                     "         1 : Different words used\r\n");
    EXPECT_EQ(f.doc.m_wordTree.m_nCount, 0);
    EXPECT_EQ(f.doc.m_wordTree.m_nTotal, 0);
    EXPECT_EQ(f.notifier.beeps, 2);
}

TEST_F(CountRun, HtmlFilterCarriesAnOpenCommentIntoTheNextFile) {
    f.settings.Set("Option", "DeHTML", 1);
    f.settings.Set("Sort", "abc", 1);
    std::vector<std::string> files{tree.Write("1.html", "alpha <!-- a > b\n"),
                                   tree.Write("2.html", "hidden\nc --> omega\n")};
    f.doc.CountWords(files, "x");
    EXPECT_EQ(WordLines(), WordLine(1, "alpha") + WordLine(1, "omega"));
}

TEST_F(CountRun, HtmlFilterStartsCleanInEveryRun) {
    f.settings.Set("Option", "DeHTML", 1);
    f.doc.CountWords({tree.Write("1.html", "alpha <!-- a > b\n")}, "x");
    f.doc.CountWords({tree.Write("2.html", "omega\n")}, "x");
    EXPECT_EQ(WordLines(), WordLine(1, "omega"));
}

TEST_F(CountRun, ShiftJisWordsKeepTheirBytesInEveryOrder) {
    // "neko" and "inu" in Shift-JIS kanji, plus a kana word.
    const std::string neko = "\x94\x4c", inu = "\x8c\xa2", kana = "\x82\xa0\x82\xa2";
    std::vector<std::string> files{
        tree.Write("j.txt", neko + " " + inu + " " + neko + " " + kana + "\n")};
    for (int tail : {0, 1}) {
        f.settings.Set("Sort", "Tail", tail);
        f.doc.CountWords(files, "x");
        std::string words = WordLines();
        EXPECT_NE(words.find(WordLine(2, neko)), std::string::npos) << tail;
        EXPECT_NE(words.find(WordLine(1, inu)), std::string::npos) << tail;
        EXPECT_NE(words.find(WordLine(1, kana)), std::string::npos) << tail;
    }
}

} // namespace
