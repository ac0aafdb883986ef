// The pieces of the data formats: escaping fields, converting Shift-JIS,
// percent text that reads back exactly, and one report written in each format.
#include "cli/data_export.h"
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
        list.AppendWordLine(FormatWordPercentLine(3, 4, "the"), 3, 3);
        list.AppendWordLine(FormatWordPercentLine(1, 4, "1\t2"), 1, 3);
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
    list.AppendLine(FormatWordLine(1, "\x93\xfa\x96\x7b")); // text only: not a word line
    CExStringList sjis;
    sjis.AppendLine(FormatHeaderLine("/\x93\xfa/*.*"));
    sjis.AppendWordLine(FormatWordLine(2, "\x93\xfa\x96\x7b"), 2, 4);
    sjis.AppendWordLine(FormatWordLine(1, "ab\x81"), 1, 3);
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
