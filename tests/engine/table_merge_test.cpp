// Adding part tallies to the word table, shard by shard on several threads,
// gives the table that counting the words one by one in list order gives:
// the same words, counts and first-met texts, in the same order.
#include "engine/string_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Row = std::tuple<std::string, std::uint64_t>;

std::vector<Row> Rows(const CStringTree& table) {
    std::vector<Row> rows;
    table.VisitInOrder(false, CStringTree::CountOrder::none,
                       [&](const char* word, std::size_t n, std::uint64_t count) {
                           rows.emplace_back(std::string(word, n), count);
                       });
    return rows;
}

struct MergeCase {
    const char* name;
    bool bSorted;      // the words come as a sorted word list
    bool bTreeFirst;   // the table already holds words in its tree
    unsigned nThreads; // threads that may add a part
};

class TableMerge : public ::testing::TestWithParam<MergeCase> {};

// Three parts of 20,000 words each, enough for the shards to go on threads
// of their own, with repeats across parts in other letter cases.
TEST_P(TableMerge, PartsAddUpToTheWordsCountedInOrder) {
    const MergeCase& c = GetParam();
    std::vector<std::string> words;
    char word[16];
    for (int i = 0; i < 60000; ++i) {
        std::snprintf(word, sizeof word, (i % 3 ? "w%05d" : "W%05d"), i % 45000);
        words.push_back(word);
    }
    if (!c.bSorted)
        std::shuffle(words.begin(), words.end(), std::mt19937(7));
    CStringTree merged, oneByOne;
    if (c.bTreeFirst) {
        for (CStringTree* table : {&merged, &oneByOne})
            ASSERT_NE(table->Insert("w00001"), nullptr);
    }
    for (std::size_t part = 0; part < 3; ++part) {
        CShardedTally tally;
        for (std::size_t i = part * 20000; i < (part + 1) * 20000; ++i) {
            ASSERT_TRUE(tally.InsertRepeated(words[i].c_str(), 1 + i % 2));
            ASSERT_TRUE(oneByOne.InsertRepeated(words[i].c_str(), 1 + i % 2));
        }
        std::uint64_t added = 0;
        ASSERT_TRUE(merged.AddTally(tally, c.nThreads, added, [] {}));
        EXPECT_GE(added, 20000u);
    }
    EXPECT_EQ(merged.m_nCount, oneByOne.m_nCount);
    EXPECT_EQ(merged.m_nTotal, oneByOne.m_nTotal);
    EXPECT_EQ(Rows(merged), Rows(oneByOne));
}

INSTANTIATE_TEST_SUITE_P(Cases, TableMerge,
                         ::testing::Values(MergeCase{"ShuffledOneThread", false, false, 1},
                                           MergeCase{"ShuffledFourThreads", false, false, 4},
                                           MergeCase{"SortedTwoThreads", true, false, 2},
                                           MergeCase{"IntoATreeTwoThreads", false, true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
