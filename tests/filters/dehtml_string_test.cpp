#include "filters/dehtml_string.h"

#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string Strip(CDehtmlString& filter, const std::string& line) {
    std::vector<char> in(line.begin(), line.end());
    in.push_back('\0');
    // One byte more than the line needs, filled so that an overrun or a
    // missing terminator shows.
    std::vector<char> out(line.size() + 2, '#');
    char* result = filter.StripTags(in.data(), out.data());
    EXPECT_EQ(result, out.data());
    EXPECT_EQ(out.back(), '#') << "output longer than the line";
    return result;
}

Lines StripAll(CDehtmlString& filter, const Lines& lines) {
    Lines out;
    for (const std::string& line : lines)
        out.push_back(Strip(filter, line));
    return out;
}

struct StripCase {
    const char* name;
    Lines in;
    Lines out;
    bool carryOver; // state left by the last line
    bool inComment;
};

class DehtmlLines : public ::testing::TestWithParam<StripCase> {};

TEST_P(DehtmlLines, StripsMarkupAndCarriesStateOver) {
    const StripCase& c = GetParam();
    CDehtmlString filter;
    filter.Reset();
    EXPECT_EQ(StripAll(filter, c.in), c.out);
    EXPECT_EQ(filter.CarryOver(), c.carryOver);
    EXPECT_EQ(filter.InComment(), c.inComment);
}

INSTANTIATE_TEST_SUITE_P(
    SingleLines, DehtmlLines,
    ::testing::Values(
        StripCase{"TagsRemoved", {"Hello <B>world</B>!"}, {"Hello world!"}, false, false},
        StripCase{"JoinsAcrossTags", {"a<B>b</B>c"}, {"abc"}, false, false},
        StripCase{"EmptyTag", {"a<>b"}, {"ab"}, false, false},
        StripCase{"Comment", {"<!-- note --> text"}, {" text"}, false, false},
        StripCase{"ShortestComment", {"a<!->b"}, {"ab"}, false, false},
        StripCase{"CommentHidesTags", {"a<!-- <b>x</b> -->c"}, {"ac"}, false, false},
        StripCase{"NoMarkupKeepsLineFeed", {"plain text\n"}, {"plain text\n"}, false, false},
        StripCase{"OnlyATag", {"<P>\n"}, {"\n"}, false, false},
        StripCase{"CaseOfTextKept", {"MiXeD <i>CaSe</i>"}, {"MiXeD CaSe"}, false, false},
        StripCase{"LessThanOpensATag", {"a < b"}, {"a "}, true, false},
        StripCase{"LoneGreaterThanIsText", {"a > b"}, {"a > b"}, false, false},
        StripCase{"Empty", {""}, {""}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CarryOver, DehtmlLines,
    ::testing::Values(
        // The opener line has no ">", so this is an ordinary tag that ends at
        // the next ">", which stays as text.
        StripCase{
            "OpenerWithoutGreaterThan", {"x <!-- open", "y --> z"}, {"x ", "> z"}, false, false},
        StripCase{"CommentOverLines", {"x <!-- a > b", "c --> d"}, {"x ", " d"}, false, false},
        StripCase{"CommentStillOpen", {"x <!-- a > b"}, {"x "}, true, true},
        StripCase{"TagOverLines", {"<A", "HREF=x>link</A>"}, {"", ">link"}, false, false},
        StripCase{"LinesInsideMarkupAreEmpty",
                  {"<!-- a >", "middle\n", "end -->after"},
                  {"", "", "after"},
                  false,
                  false},
        StripCase{"TagOverThreeLines", {"a <b", "c", "d> e"}, {"a ", "", "> e"}, false, false},
        // Inside a comment a ">" ends the carry-over but not the comment:
        // the next "<" opens a region that only "->" closes.
        StripCase{"GreaterThanInsideComment",
                  {"x <!-- a > b", "p > q", "r <i> s --> t"},
                  {"x ", "> q", "r  t"},
                  false,
                  false},
        StripCase{
            "CommentFlagWithoutCarryOver", {"x <!-- a > b", "p > q"}, {"x ", "> q"}, false, true},
        StripCase{"CommentFlagReachesNextTag",
                  {"x <!-- a > b", "p > q", "r <i> s"},
                  {"x ", "> q", "r "},
                  true,
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DehtmlState, CarriesOverFromFileToFileUntilReset) {
    CDehtmlString filter;
    filter.Reset();
    // The last line of one file opens a comment ...
    EXPECT_EQ(Strip(filter, "end of file <!-- unclosed > still\n"), "end of file ");
    // ... so the next file starts inside it.
    EXPECT_EQ(Strip(filter, "first line of next file\n"), "");
    EXPECT_EQ(Strip(filter, "closes --> here\n"), " here\n");
    Strip(filter, "<!-- again >");
    filter.Reset();
    EXPECT_FALSE(filter.CarryOver());
    EXPECT_FALSE(filter.InComment());
    EXPECT_EQ(Strip(filter, "fresh run\n"), "fresh run\n");
}

TEST(DehtmlState, TagNameIsUpperCasedUpToItsEnd) {
    CDehtmlString filter;
    Strip(filter, "<body class=x>");
    EXPECT_STREQ(filter.LastTag(), "<BODY");
    Strip(filter, "<b>");
    EXPECT_STREQ(filter.LastTag(), "<B>");
    Strip(filter, "<!--   x -->");
    EXPECT_STREQ(filter.LastTag(), "<!--");
    Strip(filter, "<" + std::string(400, 'a') + ">");
    EXPECT_EQ(std::string(filter.LastTag()), "<" + std::string(CDehtmlString::kTagSize - 2, 'A'));
}

TEST(DehtmlState, DeclarationIsAnOrdinaryTag) {
    // Only "<!-" opens a comment; "<!" alone is a tag like any other.
    CDehtmlString filter;
    EXPECT_EQ(Strip(filter, "a<!DOCTYPE html>b"), "ab");
    EXPECT_FALSE(filter.InComment());
}

TEST(DehtmlState, FiltersInPlace) {
    CDehtmlString filter;
    char line[] = "<p>Hello <b>world</b><!-- x -->!\n";
    EXPECT_STREQ(filter.StripTags(line, line), "Hello world!\n");
}

void CountCall(void* context) {
    ++*static_cast<int*>(context);
}

TEST(DehtmlPump, ServesTheInterfaceOncePerTagAndAfterEachRemoval) {
    int calls = 0;
    CScopedPumpHook hook(CountCall, &calls);
    CDehtmlString filter;
    Strip(filter, "no markup at all\n");
    EXPECT_EQ(calls, 0);
    Strip(filter, "a<B>b</B>c");
    EXPECT_EQ(calls, 4); // before analysing and after removing, for each tag
    calls = 0;
    Strip(filter, "x <y"); // analysed nowhere: no ">" on the line
    Strip(filter, "z> w"); // the carried-over tag ends here
    EXPECT_EQ(calls, 1);
}

} // namespace
