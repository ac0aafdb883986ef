// Re-sorting a finished report gives the bytes of a count made in the new
// order, whatever order it was counted in; other reports are left alone.
#include "count_fixture.h"

#include "engine/report_resort.h"

#include <gtest/gtest.h>

namespace {

// The five orders (the key set to 1), each without and with percentages.
const char* const kOrderKeys[] = {"abc", "zyx", "Tail", "Freq", "LowFreq"};

void Choose(CFixtureSettings& settings, int order) {
    for (int i = 0; i < 5; ++i)
        settings.Set("Sort", kOrderKeys[i], i == order % 5 ? 1 : 0);
    settings.Set("Sort", "Percent", order / 5);
}

// Case variants met in varying order, shared endings, ties in frequency, a
// Shift-JIS word, and long words alike in their first 16 bytes.
std::string Corpus(unsigned state) {
    const char* const words[] = {"the",
                                 "The",
                                 "THE",
                                 "cat",
                                 "Cat",
                                 "tac",
                                 "act",
                                 "zebra",
                                 "ZEBRA",
                                 "apple",
                                 "pineapple",
                                 "\x82\xa0\x82\xa2",
                                 "end",
                                 "longwordlongwordlongword1",
                                 "longwordlongwordlongword2",
                                 "X"};
    std::string text;
    for (int i = 0; i < 600; ++i) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % (1 + (state >> 8) % 16)];
        text += i % 9 == 8 ? ".\n" : " ";
    }
    return text;
}

TEST(ReportResort, GivesTheBytesOfACountInTheNewOrder) {
    CTempTree tree;
    const std::vector<std::string> files = {tree.Write("a.txt", Corpus(1)),
                                            tree.Write("b.txt", Corpus(7))};
    std::vector<std::string> counted;
    for (int order = 0; order < 10; ++order) {
        CountFixture f;
        Choose(f.settings, order);
        f.doc.CountWords(files, tree.Dir() + "*.txt");
        counted.push_back(ReportText(f.doc));
    }
    for (int from = 0; from < 10; ++from) {
        CountFixture f;
        Choose(f.settings, from);
        f.doc.CountWords(files, tree.Dir() + "*.txt");
        for (int to = 0; to < 10; ++to) {
            Choose(f.settings, to);
            ASSERT_EQ(
                ResortReport(f.doc.m_listResult, f.doc.m_nTotalWords, ReadReportOrder(f.settings)),
                ResortResult::done);
            EXPECT_EQ(ReportText(f.doc), counted[to]) << from << " -> " << to;
        }
    }
}

// Lines that do not add up to the total, or one word on two lines, could
// not come from one count: the report stays as it was.
TEST(ReportResort, LeavesOtherReportsAlone) {
    for (std::int64_t total : {3, 4}) {
        CExStringList report;
        report.AppendLine("=====[ X ]=====\r\n");
        report.AppendWordLine(WordLine(1, "The"), 1, 3);
        report.AppendWordLine(WordLine(2, total == 3 ? "the" : "cat"), 2, 3);
        EXPECT_EQ(ResortReport(report, total, {.byCount = CExStringList::MoreToLess}),
                  ResortResult::notACountReport);
        EXPECT_EQ(report.m_pHead->m_pNextNode->m_strLine, WordLine(1, "The"));
    }
}

} // namespace
