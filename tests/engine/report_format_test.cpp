#include "engine/report_format.h"

#include "engine/ex_string_list.h"
#include "engine/string_tree.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const CExStringList& list) {
    std::vector<std::string> lines;
    for (const auto* node = list.m_pHead; node; node = node->m_pNextNode)
        lines.push_back(node->m_strLine);
    return lines;
}

std::string Text(const CExStringList& list) {
    std::string text;
    for (const std::string& line : Lines(list))
        text += line;
    return text;
}

// The two files of the worked example: "the cat and the dog" and "The end".
void CountExample(CStringTree& table) {
    for (const char* word : {"the", "cat", "and", "the", "dog", "The", "end"})
        ASSERT_NE(table.Insert(word), nullptr);
    table.m_nTotal = 7;
}

// The steps of a count run after the scan, for one writer and ordering.
using Writer = void (CStringTree::*)(CExStringList&, const CNode*) const;

std::string Report(Writer writer, int freq) {
    CStringTree table;
    CountExample(table);
    CExStringList list;
    (table.*writer)(list, table.m_pRoot);
    const std::int32_t different = table.m_nCount;
    table.Clear();
    if (freq != 0)
        list.SortByCount(10, freq > 0 ? CExStringList::MoreToLess : CExStringList::LessToMore);
    list.AppendLine(kSeparatorLine);
    list.AppendLine(FormatFilesProcessedLine(2));
    list.AppendLine(FormatTotalWordsLine(7));
    list.AppendLine(FormatDifferentWordsLine(different));
    list.PrependLine(FormatHeaderLine("C:\\TEXT\\*.TXT"));
    return Text(list);
}

const std::string kHeader = "=====[ C:\\TEXT\\*.TXT ]=====\r\n";
const std::string kTotals = "=========================\r\n"
                            "         2 : Files processed\r\n"
                            "         7 : Total words\r\n"
                            "         5 : Different words used\r\n";

TEST(ReportExample, AscendingByteForByte) {
    EXPECT_EQ(Report(&CStringTree::WriteAscending, 0), kHeader +
                                                           "         1 : and\r\n"
                                                           "         1 : cat\r\n"
                                                           "         1 : dog\r\n"
                                                           "         1 : end\r\n"
                                                           "         3 : the\r\n" +
                                                           kTotals);
}

TEST(ReportExample, AscendingWithPercent) {
    EXPECT_EQ(Report(&CStringTree::WriteAscendingPercent, 0), kHeader +
                                                                  "         1(14.286%) : and\r\n"
                                                                  "         1(14.286%) : cat\r\n"
                                                                  "         1(14.286%) : dog\r\n"
                                                                  "         1(14.286%) : end\r\n"
                                                                  "         3(42.857%) : the\r\n" +
                                                                  kTotals);
}

TEST(ReportExample, MoreToLessAfterTheDescendingWriter) {
    EXPECT_EQ(Report(&CStringTree::WriteDescending, 1), kHeader +
                                                            "         3 : the\r\n"
                                                            "         1 : and\r\n"
                                                            "         1 : cat\r\n"
                                                            "         1 : dog\r\n"
                                                            "         1 : end\r\n" +
                                                            kTotals);
}

TEST(ReportExample, LessToMoreAfterTheDescendingWriter) {
    EXPECT_EQ(Report(&CStringTree::WriteDescending, -1), kHeader +
                                                             "         1 : end\r\n"
                                                             "         1 : dog\r\n"
                                                             "         1 : cat\r\n"
                                                             "         1 : and\r\n"
                                                             "         3 : the\r\n" +
                                                             kTotals);
}

// The six writers over one table: order, form, and the first-met text.
struct WriterCase {
    const char* name;
    Writer writer;
    bool reversedWords;
    std::vector<std::string> expected;
    friend void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
};

class ReportWriters : public ::testing::TestWithParam<WriterCase> {};

TEST_P(ReportWriters, WriteOneLinePerWordAndPumpAfterEach) {
    const WriterCase& c = GetParam();
    CStringTree table;
    for (std::string word : {"walks", "Walked", "talked", "walked"}) {
        if (c.reversedWords)
            std::reverse(word.begin(), word.end());
        table.Insert(word.c_str());
    }
    table.m_nTotal = 4;
    CExStringList list;
    int pumps = 0;
    CScopedPumpHook hook([](void* n) { ++*static_cast<int*>(n); }, &pumps);
    (table.*c.writer)(list, table.m_pRoot);
    EXPECT_EQ(Lines(list), c.expected);
    EXPECT_EQ(pumps, 3);
}

INSTANTIATE_TEST_SUITE_P(
    AllSix, ReportWriters,
    ::testing::Values(
        WriterCase{
            "Ascending",
            &CStringTree::WriteAscending,
            false,
            {"         1 : talked\r\n", "         2 : Walked\r\n", "         1 : walks\r\n"}},
        WriterCase{
            "Descending",
            &CStringTree::WriteDescending,
            false,
            {"         1 : walks\r\n", "         2 : Walked\r\n", "         1 : talked\r\n"}},
        WriterCase{
            "ByEndings",
            &CStringTree::WriteByEndings,
            true,
            {"         1 : talked\r\n", "         2 : Walked\r\n", "         1 : walks\r\n"}},
        WriterCase{"AscendingPercent",
                   &CStringTree::WriteAscendingPercent,
                   false,
                   {"         1(25.000%) : talked\r\n", "         2(50.000%) : Walked\r\n",
                    "         1(25.000%) : walks\r\n"}},
        WriterCase{"DescendingPercent",
                   &CStringTree::WriteDescendingPercent,
                   false,
                   {"         1(25.000%) : walks\r\n", "         2(50.000%) : Walked\r\n",
                    "         1(25.000%) : talked\r\n"}},
        WriterCase{"ByEndingsPercent",
                   &CStringTree::WriteByEndingsPercent,
                   true,
                   {"         1(25.000%) : talked\r\n", "         2(50.000%) : Walked\r\n",
                    "         1(25.000%) : walks\r\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportWritersEdges, EmptyTableWritesNothing) {
    CStringTree table;
    CExStringList list;
    table.WriteAscending(list, table.m_pRoot);
    table.WriteByEndingsPercent(list, table.m_pRoot);
    EXPECT_EQ(list.m_nLines, 0);
}

TEST(ReportWritersEdges, ShiftJisWordByEndingsComesOutAsCounted) {
    const std::string counted = "\x82\xA0\x82\xA2\x83\x41"; // two kana and a katakana
    std::string reversed(counted.rbegin(), counted.rend());
    CStringTree table;
    table.Insert(reversed.c_str());
    CExStringList list;
    table.WriteByEndings(list, table.m_pRoot);
    EXPECT_EQ(Lines(list), std::vector<std::string>{"         1 : " + counted + "\r\n"});
}

TEST(ReportWritersEdges, LongWordsAreWrittenWhole) {
    const std::string word(20000, 'q');
    CStringTree table;
    table.Insert(word.c_str());
    table.m_nTotal = 1;
    CExStringList list;
    table.WriteAscendingPercent(list, table.m_pRoot);
    EXPECT_EQ(Lines(list), std::vector<std::string>{"         1(100.000%) : " + word + "\r\n"});
}

// The count field must be printf's "%10lu"/"%10ld", byte for byte.
TEST(ReportFields, CountFieldMatchesPrintf) {
    for (std::uint32_t count :
         {0u, 1u, 9u, 10u, 999999999u, 1000000000u, 1234567890u, 2147483648u, 4294967295u}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%10lu : w\r\n",
                      static_cast<unsigned long>(count));
        EXPECT_EQ(FormatWordLine(count, "w"), expected);
    }
    for (std::int32_t total : {0, 5, -5, 123456789, INT32_MAX, INT32_MIN}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%10ld : Total words\r\n",
                      static_cast<long>(total));
        EXPECT_EQ(FormatTotalWordsLine(total), expected);
    }
    EXPECT_EQ(FormatWordLine(1234567890u, "w"), "1234567890 : w\r\n");
}

struct PercentCase {
    std::uint32_t count;
    std::int32_t total;
    const char* expected;
    friend void PrintTo(const PercentCase& c, std::ostream* os) {
        *os << c.count << " of " << c.total;
    }
};

class ReportPercent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(ReportPercent, ThreeDecimalsInAtLeastSixCharacters) {
    const PercentCase& c = GetParam();
    EXPECT_EQ(FormatWordPercentLine(c.count, c.total, "w"),
              "         " + std::string(c.expected) + " : w\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportPercent,
                         ::testing::Values(PercentCase{1, 1, "1(100.000%)"},
                                           PercentCase{1, 7, "1(14.286%)"},
                                           PercentCase{1, 30000, "1( 0.003%)"},
                                           PercentCase{1, 300000, "1( 0.000%)"},
                                           PercentCase{1, 1600, "1( 0.062%)"}));

TEST(ReportFields, HeaderAndTotalsLines) {
    EXPECT_EQ(FormatHeaderLine("D:\\A B\\*.*"), "=====[ D:\\A B\\*.* ]=====\r\n");
    EXPECT_EQ(FormatHeaderLine(""), "=====[  ]=====\r\n");
    EXPECT_EQ(std::string(kSeparatorLine), std::string(25, '=') + "\r\n");
    EXPECT_EQ(FormatFilesProcessedLine(2), "         2 : Files processed\r\n");
    EXPECT_EQ(FormatDifferentWordsLine(0), "         0 : Different words used\r\n");
}

} // namespace
