#include "engine/ex_string_list.h"

#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const CExStringList& list) {
    Lines lines;
    for (const auto* node = list.m_pHead; node; node = node->m_pNextNode)
        lines.push_back(node->m_strLine);
    return lines;
}

// Back links, tail and m_nLines agree with the forward chain.
bool IsLinked(const CExStringList& list) {
    std::int32_t count = 0;
    const CExStringList::CLineNode* previous = nullptr;
    for (const auto* node = list.m_pHead; node;
         previous = node, node = node->m_pNextNode, ++count) {
        if (node->m_pPrevNode != previous)
            return false;
    }
    return previous == list.m_pTail && count == list.m_nLines;
}

void Fill(CExStringList& list, const Lines& lines) {
    for (const std::string& line : lines)
        list.AppendLine(line);
}

std::string CountLine(unsigned long long count, const char* word) {
    char line[64];
    std::snprintf(line, sizeof line, "%10llu : %s\r\n", count, word);
    return line;
}

// Counts PumpMessages calls and runs a callback at each while alive.
struct PumpSpy {
    explicit PumpSpy(std::function<void()> onPump = {}) : onPump(std::move(onPump)) {}
    static void Call(void* self) {
        auto* spy = static_cast<PumpSpy*>(self);
        ++spy->calls;
        if (spy->onPump)
            spy->onPump();
    }
    std::function<void()> onPump;
    int calls = 0;
    CScopedPumpHook hook{&PumpSpy::Call, this};
};

// Sees the block chain a list keeps to itself.
class CBlockedList : public CExStringList {
  public:
    using CExStringList::CExStringList;
    const CExPlex* Blocks() const { return m_pBlocks; }
};

TEST(ReportList, AppendPrependAndRemoveAll) {
    CBlockedList list(10);
    list.AppendLine("b");
    list.PrependLine("a");
    for (int i = 0; i < 23; ++i)
        list.AppendLine(std::to_string(i));
    EXPECT_EQ(LinesOf(list)[0], "a");
    EXPECT_EQ(LinesOf(list)[24], "22");
    EXPECT_TRUE(IsLinked(list));
    int blocks = 0; // 25 lines: three blocks of ten
    for (const CExPlex* block = list.Blocks(); block; block = block->m_pNextBlock, ++blocks)
        EXPECT_EQ(block->m_nCapacity, 10u);
    EXPECT_EQ(blocks, 3);
    list.RemoveAllLines();
    EXPECT_EQ(list.Blocks(), nullptr);
    EXPECT_TRUE(LinesOf(list).empty() && IsLinked(list) && !list.m_pTail);
    list.PrependLine("again");
    EXPECT_EQ(LinesOf(list), Lines{"again"});
}

const Lines kMixed = {CountLine(5, "a"), CountLine(12, "b"), CountLine(5, "c"),
                      CountLine(100, "d")};
const Lines kBlank = {"           x", "           y"};

TEST(ReportListSort, OrdersStablyByTheCountField) {
    const struct {
        Lines lines;
        int width;
        CExStringList::SortDirection direction;
        Lines expected;
    } cases[] = {
        {kMixed, 10, CExStringList::LessToMore, {kMixed[0], kMixed[2], kMixed[1], kMixed[3]}},
        {kMixed, 10, CExStringList::MoreToLess, {kMixed[3], kMixed[1], kMixed[2], kMixed[0]}},
        {kMixed, 0, CExStringList::MoreToLess, kMixed},
        {{}, 10, CExStringList::LessToMore, {}},
        {{}, 10, CExStringList::MoreToLess, {}},
        {kBlank, 10, CExStringList::LessToMore, kBlank},
        {kBlank, 10, CExStringList::MoreToLess, {kBlank[1], kBlank[0]}},
        // Past the end of a line is a non-digit; the first position without
        // any digit ends the ordering, whatever lies further left.
        {{"7", CountLine(12, "x"), ""},
         10,
         CExStringList::LessToMore,
         {"7", "", CountLine(12, "x")}},
        {{CountLine(4294967295u, "m"), CountLine(9, "s")},
         10,
         CExStringList::LessToMore,
         {CountLine(9, "s"), CountLine(4294967295u, "m")}},
        // A count of more digits than the field sorts by its value too.
        {{CountLine(12345678901u, "l"), CountLine(9, "s"), CountLine(4294967295u, "m"),
          CountLine(99999999999u, "xl")},
         10,
         CExStringList::MoreToLess,
         {CountLine(99999999999u, "xl"), CountLine(12345678901u, "l"), CountLine(4294967295u, "m"),
          CountLine(9, "s")}},
    };
    for (const auto& c : cases) {
        CExStringList list;
        Fill(list, c.lines);
        list.SortByCount(c.width, c.direction);
        EXPECT_EQ(LinesOf(list), c.expected);
        EXPECT_TRUE(IsLinked(list));
    }
}

TEST(ReportListSort, MatchesAStableSortOfManyLines) {
    std::mt19937 random(7);
    std::vector<std::pair<unsigned, std::string>> entries;
    for (int i = 0; i < 20000; ++i) {
        unsigned count = random() % 3 ? random() % 50 : random();
        entries.emplace_back(count, CountLine(count, std::to_string(i).c_str()));
    }
    CExStringList list;
    for (const auto& entry : entries)
        list.AppendLine(entry.second);
    std::stable_sort(entries.begin(), entries.end(),
                     [](auto& a, auto& b) { return a.first < b.first; });
    Lines expected;
    for (const auto& entry : entries)
        expected.push_back(entry.second);
    list.SortByCount(10, CExStringList::LessToMore);
    EXPECT_EQ(LinesOf(list), expected);
}

// One call per line distributed, per bucket gathered, per line reversed.
// Counts below 10: one pass at the last position, then one that finds no
// digit and stops.
TEST(ReportListSort, PumpsOncePerUnitOfWork) {
    const int n = 7;
    for (auto [direction, expected] : {std::pair{CExStringList::LessToMore, n + 11 + n},
                                       std::pair{CExStringList::MoreToLess, n + 11 + n + 2 * n}}) {
        CExStringList list;
        for (int i = 0; i < n; ++i)
            list.AppendLine(CountLine(static_cast<unsigned>(i % 3), "w"));
        PumpSpy spy;
        list.SortByCount(10, direction);
        EXPECT_EQ(spy.calls, expected);
    }
}

// Handlers run during the sort: they must always find a whole list, and
// another window emptying it must neither crash the sort nor lose lines.
TEST(ReportListSort, EventHandlersMayReadOrEmptyTheList) {
    // Emptied never, while distributing, while gathering, in the last gather, in the final pass.
    for (int at : {0, 1, 6, 40, 49}) {
        CExStringList list;
        Fill(list, kMixed);
        bool alwaysLinked = true;
        PumpSpy spy([&] {
            alwaysLinked = alwaysLinked && IsLinked(list);
            if (--at == 0)
                list.RemoveAllLines();
        });
        list.SortByCount(10, CExStringList::LessToMore);
        EXPECT_TRUE(alwaysLinked);
        EXPECT_EQ(LinesOf(list), (Lines{kMixed[0], kMixed[2], kMixed[1], kMixed[3]}));
        EXPECT_TRUE(IsLinked(list));
    }
}

} // namespace
