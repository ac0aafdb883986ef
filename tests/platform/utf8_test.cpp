// The one UTF-8 well-formedness check: whole strings, and streams given in
// pieces.
#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
    bool multiByte; // when valid
    friend void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }
};

class Utf8 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8, WholeStringVerdict) {
    EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid);
}

// Fed whole and fed one byte at a time, the verdict is the same: sequences
// may straddle the pieces of a stream.
TEST_P(Utf8, VerdictDoesNotDependOnPieces) {
    const auto& c = GetParam();
    const auto* data = reinterpret_cast<const unsigned char*>(c.bytes.data());
    CUtf8Validator whole;
    whole.Feed(data, c.bytes.size());
    CUtf8Validator bytewise;
    for (std::size_t i = 0; i < c.bytes.size(); ++i)
        bytewise.Feed(data + i, 1);
    EXPECT_EQ(whole.Complete(), c.valid);
    EXPECT_EQ(bytewise.Complete(), c.valid);
    if (c.valid) {
        EXPECT_EQ(whole.SawMultiByte(), c.multiByte);
        EXPECT_EQ(bytewise.SawMultiByte(), c.multiByte);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8,
    ::testing::Values(Utf8Case{"empty", "", true, false},
                      Utf8Case{"ascii", "plain text\n", true, false},
                      Utf8Case{"two_three_four", "caf\u00E9\u3042\U0001F600", true, true},
                      Utf8Case{"edges", "\u0080\u07FF\u0800\uD7FF\uE000\U0010FFFF", true, true},
                      Utf8Case{"overlong_two", "\xC0\xAF", false, false},
                      Utf8Case{"overlong_two_high", "\xC1\xBF", false, false},
                      Utf8Case{"overlong_three", "\xE0\x9F\xBF", false, false},
                      Utf8Case{"overlong_three_low", "\xE0\x80\xAF", false, false},
                      Utf8Case{"overlong_four", "\xF0\x8F\xBF\xBF", false, false},
                      Utf8Case{"surrogate", "\xED\xA0\x80", false, false},
                      Utf8Case{"past_max", "\xF4\x90\x80\x80", false, false},
                      Utf8Case{"lead_past_max", "\xF5\x80\x80\x80", false, false},
                      Utf8Case{"lone_continuation", "a\x80", false, false},
                      Utf8Case{"cut_two", "\xC3", false, false},
                      Utf8Case{"cut_three", "ok \xE6\x97", false, false},
                      Utf8Case{"bad_third_byte", "\xE6\x97\x41", false, false},
                      Utf8Case{"shift_jis", "\x93\xFA\x96\x7B", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
