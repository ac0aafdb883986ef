// Co-occurrences within the span of each hit, and how the scores rank them.
#include "count_fixture.h"

#include "engine/collocates.h"
#include "engine/count_input.h"
#include "engine/segment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<CollocateRow> CollocatesOf(const std::string& text, const std::string& word,
                                       unsigned left, unsigned right, std::uint64_t min,
                                       std::int64_t* total = nullptr) {
    CTempTree tree;
    CountFixture f;
    CCountInput input;
    const int quit = 0;
    const CSegmentation byType(kSegmentByType);
    CConcordance concordance(input, f.notifier, f.doc.m_listExclude, {}, byType, quit);
    CCollocates collocates(left, right);
    const ConcordanceOutcome outcome =
        concordance.Run({tree.Write("c.txt", text)}, {word, word}, collocates);
    if (total)
        *total = outcome.nTotalWords;
    return collocates.Rows(min);
}

TEST(Collocates, EachHitCountsItsSpanLeavingOutOtherHits) {
    std::int64_t total = 0;
    const auto rows = CollocatesOf("a X b x c\nx B\nb\n", "x", 1, 1, 1, &total);
    EXPECT_EQ(total, 8);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].word, "b"); // first met form; B counts with it
    EXPECT_EQ(rows[0].nCooccurrences, 3u);
    EXPECT_EQ(rows[0].nFrequency, 3u);
    EXPECT_GT(rows[0].logLikelihood, rows[1].logLikelihood);
    EXPECT_EQ(CollocatesOf("a X b x c\nx B\nb\n", "x", 1, 1, 2).size(), 1u);
    EXPECT_TRUE(CollocatesOf("a X b x c\n", "x", 0, 0, 1).empty());
    // Only to the right: "a" is never counted.
    for (const CollocateRow& row : CollocatesOf("a X b x c\n", "x", 0, 3, 1))
        EXPECT_NE(row.word, "a");
}

TEST(Collocates, ScoresFollowTheTwoByTwoTable) {
    struct Case {
        std::uint64_t cooc, frequency, window, total;
        double mi;
        bool attracted;
    };
    for (const Case& c : {Case{10, 10, 100, 10000, std::log2(100.0), true},
                          Case{1, 1000, 100, 10000, std::log2(0.1), false}}) {
        CollocateRow row{"w", c.cooc, c.frequency, 0, 0};
        ScoreCollocate(row, c.window, c.total);
        EXPECT_NEAR(row.mi, c.mi, 1e-9);
        EXPECT_EQ(row.logLikelihood > 0, c.attracted);
    }
}

} // namespace
