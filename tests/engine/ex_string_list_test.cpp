#include "engine/ex_string_list.h"

#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const CExStringList& list) {
    std::vector<std::string> lines;
    for (const auto* node = list.m_pHead; node; node = node->m_pNextNode)
        lines.push_back(node->m_strLine);
    return lines;
}

// Forward and backward links agree with each other and with m_nLines.
::testing::AssertionResult IsLinked(const CExStringList& list) {
    std::int32_t count = 0;
    const CExStringList::CNode* previous = nullptr;
    for (const auto* node = list.m_pHead; node; node = node->m_pNextNode, ++count) {
        if (node->m_pPrevNode != previous)
            return ::testing::AssertionFailure() << "bad back link at line " << count;
        previous = node;
    }
    if (previous != list.m_pTail)
        return ::testing::AssertionFailure() << "the tail is not the last line";
    if (count != list.m_nLines)
        return ::testing::AssertionFailure() << count << " lines, m_nLines " << list.m_nLines;
    return ::testing::AssertionSuccess();
}

int Blocks(const CExStringList& list) {
    int blocks = 0;
    for (const CExPlex* block = list.GetBlocks(); block; block = block->m_pNextBlock) {
        EXPECT_EQ(block->m_nReserved, 0u);
        ++blocks;
    }
    return blocks;
}

std::string CountLine(unsigned count, const char* word) {
    char line[64];
    std::snprintf(line, sizeof line, "%10u : %s\r\n", count, word);
    return line;
}

// Runs a callback at every PumpMessages call while alive.
class PumpSpy {
  public:
    explicit PumpSpy(std::function<void()> onPump = {})
        : m_onPump(std::move(onPump)), m_hook(&PumpSpy::Call, this) {}
    int calls = 0;

  private:
    static void Call(void* self) {
        auto* spy = static_cast<PumpSpy*>(self);
        ++spy->calls;
        if (spy->m_onPump)
            spy->m_onPump();
    }
    std::function<void()> m_onPump;
    CScopedPumpHook m_hook;
};

TEST(ReportListLines, AppendAndPrependKeepOrderAndLinks) {
    CExStringList list;
    list.AppendLine("b");
    list.PrependLine("a");
    list.AppendLine(std::string("c"));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(IsLinked(list));
    list.RemoveAllLines();
    EXPECT_TRUE(Lines(list).empty());
    EXPECT_TRUE(IsLinked(list));
    list.PrependLine("again");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"again"}));
}

TEST(ReportListBlocks, NodesComeTenToABlockAndGoWithRemoveAll) {
    CExStringList list(10);
    EXPECT_EQ(Blocks(list), 0);
    for (int i = 0; i < 25; ++i)
        list.AppendLine(std::to_string(i));
    EXPECT_EQ(Blocks(list), 3);
    for (const CExPlex* block = list.GetBlocks(); block; block = block->m_pNextBlock)
        EXPECT_EQ(block->m_nCapacity, 10u);
    EXPECT_EQ(list.m_nLines, 25);
    list.RemoveAllLines();
    EXPECT_EQ(Blocks(list), 0);
    EXPECT_EQ(list.m_nLines, 0);
    EXPECT_EQ(list.m_pHead, nullptr);
    EXPECT_EQ(list.m_pTail, nullptr);
}

TEST(ReportListBlocks, FirstNodeOfABlockIsTakenFirst) {
    CExStringList list(4);
    list.AppendLine("x");
    list.AppendLine("y");
    auto* nodes =
        static_cast<const CExStringList::CNode*>(const_cast<CExPlex*>(list.GetBlocks())->data());
    EXPECT_EQ(list.m_pHead, &nodes[0]);
    EXPECT_EQ(list.m_pTail, &nodes[1]);
}

struct SortCase {
    const char* name;
    std::vector<std::string> lines;
    CExStringList::SortDirection direction;
    std::vector<std::string> expected;
    friend void PrintTo(const SortCase& c, std::ostream* os) { *os << c.name; }
};

class ReportListSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(ReportListSort, OrdersByTheCountField) {
    const SortCase& c = GetParam();
    CExStringList list;
    for (const std::string& line : c.lines)
        list.AppendLine(line);
    list.SortByCount(10, c.direction);
    EXPECT_EQ(Lines(list), c.expected);
    EXPECT_TRUE(IsLinked(list));
}

const std::vector<std::string> kMixed = {CountLine(5, "a"), CountLine(12, "b"), CountLine(5, "c"),
                                         CountLine(100, "d")};
const std::vector<std::string> kBlank = {"           x", "           y", "           z"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportListSort,
    ::testing::Values(
        SortCase{"LessToMoreIsStable",
                 kMixed,
                 CExStringList::LessToMore,
                 {kMixed[0], kMixed[2], kMixed[1], kMixed[3]}},
        SortCase{"MoreToLessReversesTies",
                 kMixed,
                 CExStringList::MoreToLess,
                 {kMixed[3], kMixed[1], kMixed[2], kMixed[0]}},
        SortCase{"EmptyListLessToMore", {}, CExStringList::LessToMore, {}},
        SortCase{"EmptyListMoreToLess", {}, CExStringList::MoreToLess, {}},
        SortCase{"NoDigitsLessToMoreUnchanged", kBlank, CExStringList::LessToMore, kBlank},
        SortCase{"NoDigitsMoreToLessReversed",
                 kBlank,
                 CExStringList::MoreToLess,
                 {kBlank[2], kBlank[1], kBlank[0]}},
        // Past the end of a line is a non-digit; the first position where
        // no line has a digit ends the ordering, whatever lies further left.
        SortCase{"StopsAtTheFirstPositionWithoutDigits",
                 {"7", CountLine(12, "x"), ""},
                 CExStringList::LessToMore,
                 {"7", "", CountLine(12, "x")}},
        SortCase{"LargestCountsFillTheField",
                 {CountLine(4294967295u, "max"), CountLine(1234567890, "big"), CountLine(9, "s")},
                 CExStringList::LessToMore,
                 {CountLine(9, "s"), CountLine(1234567890, "big"), CountLine(4294967295u, "max")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportListSortEdges, WidthBelowOneChangesNothing) {
    CExStringList list;
    for (const std::string& line : kMixed)
        list.AppendLine(line);
    PumpSpy spy;
    list.SortByCount(0, CExStringList::MoreToLess);
    list.SortByCount(-3, CExStringList::LessToMore);
    EXPECT_EQ(Lines(list), kMixed);
    EXPECT_EQ(spy.calls, 0);
}

TEST(ReportListSortEdges, MatchesAStableSortOfManyLines) {
    std::mt19937 random(7);
    std::vector<std::pair<unsigned, std::string>> entries;
    CExStringList list;
    for (int i = 0; i < 20000; ++i) {
        unsigned count = random() % 3 ? random() % 50 : random();
        entries.emplace_back(count, CountLine(count, std::to_string(i).c_str()));
        list.AppendLine(entries.back().second);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> expected;
    for (const auto& entry : entries)
        expected.push_back(entry.second);
    list.SortByCount(10, CExStringList::LessToMore);
    EXPECT_EQ(Lines(list), expected);
    std::reverse(expected.begin(), expected.end());
    list.SortByCount(10, CExStringList::MoreToLess); // already ordered: reversed exactly
    EXPECT_EQ(Lines(list), expected);
    EXPECT_TRUE(IsLinked(list));
}

// One call per line distributed, per bucket gathered, per line reversed.
TEST(ReportListSortPumping, PumpsOncePerUnitOfWork) {
    struct Case {
        CExStringList::SortDirection direction;
        int expected;
    };
    // Counts below 10: a pass over the last position, then a pass that
    // finds no digit and stops.
    const int n = 7;
    for (const Case& c : {Case{CExStringList::LessToMore, n + 11 + n},
                          Case{CExStringList::MoreToLess, n + 11 + n + 2 * n}}) {
        CExStringList list;
        for (int i = 0; i < n; ++i)
            list.AppendLine(CountLine(static_cast<unsigned>(i % 3), "w"));
        PumpSpy spy;
        list.SortByCount(10, c.direction);
        EXPECT_EQ(spy.calls, c.expected);
    }
}

TEST(ReportListSortPumping, ReadersAlwaysSeeAWholeList) {
    CExStringList list;
    for (int i = 0; i < 50; ++i)
        list.AppendLine(CountLine(static_cast<unsigned>(i * 37 % 101), "w"));
    int broken = 0;
    PumpSpy spy([&] { broken += IsLinked(list) ? 0 : 1; });
    list.SortByCount(10, CExStringList::MoreToLess);
    EXPECT_GT(spy.calls, 0);
    EXPECT_EQ(broken, 0);
}

// Another window may empty the report while it is being sorted; the sort
// still owns every line and finishes with all of them, as a sort of copies
// would.
TEST(ReportListSortPumping, RemoveAllDuringTheSortIsSafe) {
    for (int at : {1, 6, 40, 49}) {
        CExStringList list;
        for (const std::string& line : kMixed)
            list.AppendLine(line);
        PumpSpy spy([&] {
            if (--at == 0)
                list.RemoveAllLines();
        });
        list.SortByCount(10, CExStringList::LessToMore);
        EXPECT_EQ(Lines(list),
                  (std::vector<std::string>{kMixed[0], kMixed[2], kMixed[1], kMixed[3]}));
        EXPECT_TRUE(IsLinked(list));
    }
}

} // namespace
