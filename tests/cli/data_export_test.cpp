// The pieces of the data formats: reading word lines back from a report,
// escaping fields, converting Shift-JIS, percent text that reads back
// exactly, and one report written in each format.
#include "cli/data_export.h"
#include "cli/report_data.h"
#include "cli/sjis_to_utf8.h"

#include "engine/ex_string_list.h"
#include "engine/report_format.h"
#include "platform/document.h"
#include "platform/utf8.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

struct LineCase {
    const char* name;
    std::string line;
    bool isWord;
    std::uint32_t count;
    std::string word;
};

class WordLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(WordLines, AreReadBackExactly) {
    const LineCase& c = GetParam();
    ReportWord w;
    ASSERT_EQ(ParseWordLine(c.line, w), c.isWord);
    if (c.isWord) {
        EXPECT_EQ(w.count, c.count);
        EXPECT_EQ(w.word, c.word);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Report, WordLines,
    ::testing::Values(
        LineCase{"Plain", FormatWordLine(3, "the"), true, 3, "the"},
        LineCase{"Percent", FormatWordPercentLine(1, 7, "and"), true, 1, "and"},
        LineCase{"LargestCount", FormatWordLine(4294967295u, "x"), true, 4294967295u, "x"},
        // Words may hold spaces, colons and tabs between digits, and any byte
        // after a lead byte: the first " : " after the count field decides.
        LineCase{"DigitsWithSpaceAndColon", FormatWordLine(2, "10 20:30"), true, 2, "10 20:30"},
        LineCase{"LooksLikeAWordLine", FormatWordPercentLine(5, 9, "1 : 2"), true, 5, "1 : 2"},
        LineCase{"TabAndCrInside", FormatWordLine(1, "1\t2\r"), true, 1, "1\t2\r"},
        LineCase{"ShiftJis", FormatWordLine(1, "\x93\xfa\x96\x7b"), true, 1, "\x93\xfa\x96\x7b"},
        LineCase{"NegativePercentOfWrappedTotal", FormatWordPercentLine(1, -5, "w"), true, 1, "w"},
        LineCase{"Separator", kSeparatorLine, false, 0, ""},
        LineCase{"Header", FormatHeaderLine("/A/*.*"), false, 0, ""},
        LineCase{"NoLineEnd", "         1 : word", false, 0, ""},
        LineCase{"NoWord", "         1 : \r\n", false, 0, ""},
        LineCase{"CountTooLarge", "4294967296 : x\r\n", false, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportWords, WalkStopsAtTheSeparatorAndSkipsTheHeader) {
    CExStringList list;
    list.AppendLine(FormatHeaderLine("/D/*.TXT"));
    list.AppendLine(FormatWordLine(3, "the"));
    list.AppendLine(FormatWordLine(1, "end"));
    list.AppendLine(kSeparatorLine);
    list.AppendLine(FormatTotalWordsLine(4)); // shaped like a word line
    std::vector<std::pair<std::string, std::uint32_t>> seen;
    ForEachReportWord(list, [&](const ReportWord& w) { seen.emplace_back(w.word, w.count); });
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::uint32_t>>{{"the", 3}, {"end", 1}}));
    std::string_view spec;
    ASSERT_TRUE(ParseHeaderLine(list.m_pHead->m_strLine, spec));
    EXPECT_EQ(spec, "/D/*.TXT");
}

struct FieldCase {
    std::string bytes;
    std::string tsv;
    std::string csv;
    std::string json; // of the bytes as UTF-8
};

class Fields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(Fields, AreEscapedForEachFormat) {
    EXPECT_EQ(TsvField(GetParam().bytes), GetParam().tsv);
    EXPECT_EQ(CsvField(GetParam().bytes), GetParam().csv);
    EXPECT_EQ(JsonString(GetParam().bytes), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Escaping, Fields,
    ::testing::Values(FieldCase{"plain", "plain", "plain", "\"plain\""},
                      FieldCase{"1\t2", "1\\t2", "1\t2", "\"1\\t2\""},
                      FieldCase{"a\r\nb", "a\\r\\nb", "\"a\r\nb\"", "\"a\\r\\nb\""},
                      FieldCase{"1,000", "1,000", "\"1,000\"", "\"1,000\""},
                      FieldCase{"say \"x\"", "say \"x\"", "\"say \"\"x\"\"\"", "\"say \\\"x\\\"\""},
                      FieldCase{"back\\slash", "back\\\\slash", "back\\slash", "\"back\\\\slash\""},
                      FieldCase{"\x01\x1f\x7f", "\x01\x1f\x7f", "\x01\x1f\x7f",
                                "\"\\u0001\\u001f\x7f\""},
                      FieldCase{"", "", "", "\"\""}));

TEST(SjisToUtf8, ConvertsAndReplacesWhatDoesNotConvert) {
    CSjisToUtf8 converter;
    std::string out;
    EXPECT_TRUE(converter.Convert("\x93\xfa\x96\x7b\x8c\xea abc \xb1", out));
    EXPECT_EQ(out, "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e abc \xef\xbd\xb1"); // 日本語 abc ｱ
    out.clear();
    // A lead byte at the end, and one before a byte no character has.
    EXPECT_FALSE(converter.Convert("a\x81", out));
    EXPECT_EQ(out, "a\xef\xbf\xbd");
    out.clear();
    EXPECT_FALSE(converter.Convert("\x81\x20x", out));
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_EQ(out.substr(0, 3), "\xef\xbf\xbd");
    EXPECT_TRUE(out.ends_with(" x"));
}

TEST(Percent, ReadsBackAsTheSameDouble) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> counts(1, 1000000);
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t count = counts(random);
        const std::int32_t total = static_cast<std::int32_t>(count + counts(random));
        const double value = count * 100.0 / total;
        const std::string text = FormatPercent(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(FormatPercent(100.0), "100");
    EXPECT_EQ(FormatPercent(1.0 / 0.0), "");
}

class CStringSink : public CByteSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

std::string Export(const CExStringList& list, DataFormat format, std::string spec = "/D/*.*") {
    CStringSink sink;
    CArchive ar(sink);
    WriteWordData(list, {2, 4, 2, std::move(spec)}, format, ar);
    return sink.bytes;
}

class ExportedReport : public ::testing::Test {
  protected:
    void SetUp() override {
        list.AppendLine(FormatHeaderLine("/D/*.*"));
        list.AppendLine(FormatWordPercentLine(3, 4, "the"));
        list.AppendLine(FormatWordPercentLine(1, 4, "1\t2"));
        list.AppendLine(kSeparatorLine);
    }
    CExStringList list;
};

TEST_F(ExportedReport, EachFormatWhole) {
    EXPECT_EQ(Export(list, DataFormat::tsv), "word\tcount\tpercent\tencoding=utf-8\n"
                                             "the\t3\t75\n"
                                             "1\\t2\t1\t25\n"
                                             "\tfiles processed=2\ttotal words=4\t"
                                             "different words=2\tfile specification=/D/*.*\n");
    EXPECT_EQ(Export(list, DataFormat::csv), "word,count,percent,encoding=utf-8\r\n"
                                             "the,3,75\r\n"
                                             "1\t2,1,25\r\n"
                                             ",files processed=2,total words=4,"
                                             "different words=2,file specification=/D/*.*\r\n");
    EXPECT_EQ(Export(list, DataFormat::json),
              "{\"encoding\":\"utf-8\",\n\"words\":[\n"
              "{\"word\":\"the\",\"count\":3,\"percent\":75},\n"
              "{\"word\":\"1\\t2\",\"count\":1,\"percent\":25}\n],\n"
              "\"totals\":{\"files_processed\":2,\"total_words\":4,\"different_words\":2,"
              "\"file_specification\":\"/D/*.*\"}}\n");
}

TEST_F(ExportedReport, ShiftJisWordsStayBytesInCsvAndAreConvertedInJson) {
    list.AppendLine(FormatWordLine(1, "\x93\xfa\x96\x7b")); // after the separator: not a word
    CExStringList sjis;
    sjis.AppendLine(FormatHeaderLine("/\x93\xfa/*.*"));
    sjis.AppendLine(FormatWordLine(2, "\x93\xfa\x96\x7b"));
    sjis.AppendLine(FormatWordLine(1, "ab\x81"));
    sjis.AppendLine(kSeparatorLine);
    std::string csv = Export(sjis, DataFormat::csv, "/\x93\xfa/*.*");
    EXPECT_TRUE(
        csv.starts_with("word,count,percent,encoding=shift_jis\r\n\x93\xfa\x96\x7b,2,50\r\n"))
        << csv;
    std::string json = Export(sjis, DataFormat::json, "/\x93\xfa/*.*");
    EXPECT_TRUE(IsValidUtf8(json));
    EXPECT_NE(json.find("\"encoding\":\"converted from Shift-JIS\""), std::string::npos);
    EXPECT_NE(json.find("{\"word\":\"\xe6\x97\xa5\xe6\x9c\xac\",\"count\":2"), std::string::npos);
    EXPECT_NE(json.find("{\"word\":\"ab\xef\xbf\xbd\",\"word_bytes\":\"616281\",\"count\":1"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"file_specification\":\"/\xe6\x97\xa5/*.*\""), std::string::npos);
    EXPECT_EQ(Export(list, DataFormat::tsv).find("\x93"), std::string::npos);
}

} // namespace
