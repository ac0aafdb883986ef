// Re-sorting a finished report: whatever order a report was counted in,
// re-sorting it gives the bytes of a count made in the new order; reports
// that are not one count's whole report are left alone.
#include "count_fixture.h"

#include "engine/report_resort.h"

#include <gtest/gtest.h>

namespace {

// The five orders of the Output Option dialog, each with and without
// percentages: the keys a count reads.
struct Order {
    const char* name;
    const char* key;
    bool percent;
};
const Order kOrders[] = {
    {"abc", "abc", false},         {"zyx", "zyx", false},         {"tail", "Tail", false},
    {"freq", "Freq", false},       {"lowfreq", "LowFreq", false}, {"abc%", "abc", true},
    {"zyx%", "zyx", true},         {"tail%", "Tail", true},       {"freq%", "Freq", true},
    {"lowfreq%", "LowFreq", true},
};

void Choose(CFixtureSettings& settings, const Order& order) {
    for (const char* key : {"abc", "zyx", "Tail", "Freq", "LowFreq"})
        settings.Set("Sort", key, 0);
    settings.Set("Sort", order.key, 1);
    settings.Set("Sort", "Percent", order.percent ? 1 : 0);
}

// Words with case variants met in varying order, shared endings, ties in
// frequency, a Shift-JIS word and long words alike in their first 16 bytes.
std::string Corpus(unsigned seed) {
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
                                 "apples",
                                 "pineapple",
                                 "\x82\xa0\x82\xa2",
                                 "end",
                                 "and",
                                 "longwordlongwordlongword1",
                                 "longwordlongwordlongword2",
                                 "x",
                                 "X",
                                 "dna"};
    std::string text;
    unsigned state = seed;
    for (int i = 0; i < 600; ++i) {
        state = state * 1103515245u + 12345u;
        const unsigned pick = (state >> 16) % (sizeof words / sizeof words[0]);
        // Skewed: early words are met more, several end up with equal counts.
        text += words[pick % (1 + (state >> 8) % 20)];
        text += (i % 9 == 8) ? ".\n" : " ";
    }
    return text;
}

class ReportResort : public ::testing::Test {
  protected:
    std::vector<std::string> Files() {
        return {tree.Write("a.txt", Corpus(1)), tree.Write("b.txt", Corpus(7))};
    }
    std::string CountIn(const Order& order) {
        CountFixture f;
        Choose(f.settings, order);
        f.doc.CountWords(Files(), tree.Dir() + "*.txt");
        return ReportText(f.doc);
    }

    CTempTree tree;
};

TEST_F(ReportResort, GivesTheBytesOfACountInTheNewOrder) {
    std::vector<std::string> counted;
    for (const Order& order : kOrders)
        counted.push_back(CountIn(order));
    for (const Order& from : kOrders) {
        CountFixture f;
        Choose(f.settings, from);
        f.doc.CountWords(Files(), tree.Dir() + "*.txt");
        for (std::size_t to = 0; to < std::size(kOrders); ++to) {
            Choose(f.settings, kOrders[to]);
            ASSERT_EQ(
                ResortReport(f.doc.m_listResult, f.doc.m_nTotalWords, ReadReportOrder(f.settings)),
                ResortResult::done);
            EXPECT_EQ(ReportText(f.doc), counted[to]) << from.name << " -> " << kOrders[to].name;
        }
    }
}

// An opened file's lines, and a report whose lines do not add up, are not
// reordered, since the result could not be a count's.
TEST_F(ReportResort, LeavesOtherReportsAlone) {
    CountFixture f;
    Choose(f.settings, kOrders[0]);
    f.doc.CountWords(Files(), tree.Dir() + "*.txt");
    const std::string text = ReportText(f.doc);
    const ReportOrder freq{.byCount = CExStringList::MoreToLess};

    EXPECT_EQ(ResortReport(f.doc.m_listResult, f.doc.m_nTotalWords + 1, freq),
              ResortResult::notACountReport);
    EXPECT_EQ(ReportText(f.doc), text);

    // The same word on two lines (as "The" and "the").
    const std::string twice = "=====[ X ]=====\r\n" + WordLine(2, "The") + WordLine(1, "the");
    CExStringList doubled;
    doubled.AppendLine("=====[ X ]=====\r\n");
    doubled.AppendWordLine(WordLine(2, "The"), 2, 3);
    doubled.AppendWordLine(WordLine(1, "the"), 1, 3);
    EXPECT_EQ(ResortReport(doubled, 3, freq), ResortResult::notACountReport);
    std::string after;
    for (const auto* node = doubled.m_pHead; node; node = node->m_pNextNode)
        after += node->m_strLine;
    EXPECT_EQ(after, twice);

    CExStringList opened;
    opened.AppendLine("=====[ X ]=====\r\n");
    opened.AppendLine(WordLine(2, "The"));
    EXPECT_EQ(ResortReport(opened, 2, freq), ResortResult::notACountReport);
}

} // namespace
