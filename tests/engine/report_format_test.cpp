#include "engine/report_format.h"

#include "count_fixture.h"
#include "engine/ex_string_list.h"
#include "engine/string_tree.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

using Writer = void (CStringTree::*)(CExStringList&, const CNode*) const;

std::string TextOf(const CExStringList& list) {
    std::string text;
    for (const auto* node = list.m_pHead; node; node = node->m_pNextNode)
        text += node->m_strLine;
    return text;
}

// The worked example: two files, "the cat and the dog" and "The end",
// counted with the sort keys given.
std::string ExampleReport(std::initializer_list<std::pair<const char*, int>> sortKeys) {
    CTempTree tree;
    CountFixture f;
    for (const auto& [key, value] : sortKeys)
        f.settings.Set("Sort", key, value);
    f.doc.CountWords(
        {tree.Write("a.txt", "the cat and the dog\n"), tree.Write("b.txt", "The end\n")},
        "C:\\TEXT\\*.TXT");
    return ReportText(f.doc);
}

TEST(ReportExample, ByteForByte) {
    const std::string header = "=====[ C:\\TEXT\\*.TXT ]=====\r\n";
    const std::string totals = "=========================\r\n"
                               "         2 : Files processed\r\n"
                               "         7 : Total words\r\n"
                               "         5 : Different words used\r\n";
    const std::string l1 = "         1 : ", l3 = "         3 : ", p1 = "         1(14.286%) : ";
    EXPECT_EQ(ExampleReport({{"abc", 1}}), header + l1 + "and\r\n" + l1 + "cat\r\n" + l1 +
                                               "dog\r\n" + l1 + "end\r\n" + l3 + "the\r\n" +
                                               totals);
    EXPECT_EQ(ExampleReport({{"abc", 1}, {"Percent", 1}}),
              header + p1 + "and\r\n" + p1 + "cat\r\n" + p1 + "dog\r\n" + p1 + "end\r\n" +
                  "         3(42.857%) : the\r\n" + totals);
    EXPECT_EQ(ExampleReport({{"Freq", 1}}), header + l3 + "the\r\n" + l1 + "and\r\n" + l1 +
                                                "cat\r\n" + l1 + "dog\r\n" + l1 + "end\r\n" +
                                                totals);
    EXPECT_EQ(ExampleReport({{"LowFreq", 1}}), header + l1 + "end\r\n" + l1 + "dog\r\n" + l1 +
                                                   "cat\r\n" + l1 + "and\r\n" + l3 + "the\r\n" +
                                                   totals);
}

// All six writers over one table: order, form, first-met text, one pump per line.
TEST(ReportWriters, OneLinePerWordInTheirOrder) {
    const std::string talked = " : talked\r\n", walked = " : Walked\r\n", walks = " : walks\r\n";
    const std::string one = "         1", two = "         2", quarter = "(25.000%)",
                      half = "(50.000%)";
    const struct {
        Writer writer;
        bool reversed;
        std::string expected;
    } cases[] = {
        {&CStringTree::WriteAscending, false, one + talked + two + walked + one + walks},
        {&CStringTree::WriteDescending, false, one + walks + two + walked + one + talked},
        {&CStringTree::WriteByEndings, true, one + talked + two + walked + one + walks},
        {&CStringTree::WriteAscendingPercent, false,
         one + quarter + talked + two + half + walked + one + quarter + walks},
        {&CStringTree::WriteDescendingPercent, false,
         one + quarter + walks + two + half + walked + one + quarter + talked},
        {&CStringTree::WriteByEndingsPercent, true,
         one + quarter + talked + two + half + walked + one + quarter + walks},
    };
    for (const auto& c : cases) {
        CStringTree table;
        for (std::string word : {"walks", "Walked", "talked", "walked"}) {
            if (c.reversed)
                std::reverse(word.begin(), word.end());
            table.Insert(word.c_str());
        }
        table.m_nTotal = 4;
        CExStringList list;
        int pumps = 0;
        CScopedPumpHook hook([](void* n) { ++*static_cast<int*>(n); }, &pumps);
        (table.*c.writer)(list, table.m_pRoot);
        EXPECT_EQ(TextOf(list), c.expected);
        EXPECT_EQ(pumps, 3);
    }
}

TEST(ReportWriters, EmptyTableShiftJisAndLongWords) {
    CStringTree table;
    CExStringList list;
    table.WriteByEndingsPercent(list, table.m_pRoot);
    EXPECT_EQ(list.m_nLines, 0);
    // By endings, a double-byte word comes out in the bytes that were counted.
    const std::string counted = "\x82\xA0\x82\xA2\x83\x41";
    table.Insert(std::string(counted.rbegin(), counted.rend()).c_str());
    table.WriteByEndings(list, table.m_pRoot);
    EXPECT_EQ(TextOf(list), "         1 : " + counted + "\r\n");
    EXPECT_EQ(FormatWordLine(1, std::string(20000, 'q')),
              "         1 : " + std::string(20000, 'q') + "\r\n");
}

TEST(ReportFields, CountsMatchPrintf) {
    char expected[64];
    for (std::uint32_t count : {0u, 9u, 10u, 999999999u, 1234567890u, 4294967295u}) {
        std::snprintf(expected, sizeof expected, "%10lu : w\r\n",
                      static_cast<unsigned long>(count));
        EXPECT_EQ(FormatWordLine(count, "w"), expected);
    }
    for (std::int32_t total : {0, 5, -5, INT32_MAX, INT32_MIN}) {
        std::snprintf(expected, sizeof expected, "%10ld : Total words\r\n",
                      static_cast<long>(total));
        EXPECT_EQ(FormatTotalWordsLine(total), expected);
    }
}

TEST(ReportFields, PercentHasThreeDecimalsInAtLeastSixCharacters) {
    const struct {
        std::uint32_t count;
        std::int32_t total;
        const char* field;
    } cases[] = {{1, 1, "(100.000%)"},
                 {1, 30000, "( 0.003%)"},
                 {1, 300000, "( 0.000%)"},
                 {1, 1600, "( 0.062%)"}}; // a tie rounds to even, as printf does
    for (const auto& c : cases)
        EXPECT_EQ(FormatWordPercentLine(c.count, c.total, "w"),
                  "         1" + std::string(c.field) + " : w\r\n");
}

// Counts past 32 bits, as many gigabytes of text give: every number true,
// fields wider than 10 digits where needed, and percent of the true total.
TEST(ReportWriters, CountsPast32BitsStayTrue) {
    CStringTree table;
    ASSERT_TRUE(table.InsertRepeated("big", 3000000000u));
    ASSERT_TRUE(table.InsertRepeated("big", 3000000000u));
    ASSERT_TRUE(table.InsertRepeated("huge", 20000000000u));
    ASSERT_TRUE(table.InsertRepeated("small", 7));
    EXPECT_EQ(table.m_nTotal, 26000000007);
    CExStringList list;
    table.WriteAscendingPercent(list, table.m_pRoot);
    list.SortByCount(10, CExStringList::MoreToLess);
    EXPECT_EQ(TextOf(list), "20000000000(76.923%) : huge\r\n"
                            "6000000000(23.077%) : big\r\n"
                            "         7( 0.000%) : small\r\n");
    EXPECT_EQ(list.m_pHead->WordCount(), 20000000000u); // as data too, for the exports
    EXPECT_EQ(list.m_pTail->WordCount(), 7u);
    EXPECT_EQ(FormatTotalWordsLine(26000000007), "26000000007 : Total words\r\n");
}

TEST(ReportFields, HeaderSeparatorAndTotals) {
    EXPECT_EQ(FormatHeaderLine("D:\\A B\\*.*"), "=====[ D:\\A B\\*.* ]=====\r\n");
    EXPECT_EQ(std::string(kSeparatorLine), std::string(25, '=') + "\r\n");
    EXPECT_EQ(FormatFilesProcessedLine(12), "        12 : Files processed\r\n");
    EXPECT_EQ(FormatDifferentWordsLine(0), "         0 : Different words used\r\n");
}

} // namespace
