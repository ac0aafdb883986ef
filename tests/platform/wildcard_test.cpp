#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* os) {
    *os << '"' << c.pattern << "\" vs \"" << c.name << '"';
}

class WildcardTable : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTable, MatchesLikeTheListing) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches);
    EXPECT_EQ(CWildcard(c.pattern).Matches(c.name), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    StarAndQuestion, WildcardTable,
    ::testing::Values(
        WildcardCase{"*", "anything.at.all", true}, WildcardCase{"*.txt", "notes.txt", true},
        WildcardCase{"*.txt", "notes.TXT", true}, WildcardCase{"*.TXT", "Notes.txt", true},
        WildcardCase{"*.txt", "notes.txt.bak", false}, WildcardCase{"*.txt", "notes.txtx", false},
        WildcardCase{"*.txt", "notestxt", false}, WildcardCase{"*.txt", "a.b.txt", true},
        WildcardCase{"n*s.txt", "notes.txt", true}, WildcardCase{"n*s.txt", "ns.txt", true},
        WildcardCase{"*a*b*", "xxaxxbxx", true}, WildcardCase{"*a*b*", "xxbxxaxx", false},
        WildcardCase{"file?.txt", "file1.txt", true},
        WildcardCase{"file?.txt", "file12.txt", false}, WildcardCase{"a?c", "abc", true},
        WildcardCase{"a?c", "a.c", false}, WildcardCase{"readme", "README", true},
        WildcardCase{"readme", "readme2", false}, WildcardCase{"", "a", false}));

// The idioms of the original listing around dots.
INSTANTIATE_TEST_SUITE_P(
    Dots, WildcardTable,
    ::testing::Values(
        WildcardCase{"*.*", "plain", true}, WildcardCase{"*.*", "a.b", true},
        WildcardCase{"*.*", "trailing.", true}, WildcardCase{"x.*", "x", true},
        WildcardCase{"x.*", "x.c", true}, WildcardCase{"x.*", "xy", false},
        WildcardCase{"a*.*", "ab", true}, WildcardCase{"*.", "noext", true},
        WildcardCase{"*.", "trailing.", true}, WildcardCase{"*.", "a.b", false},
        WildcardCase{"*.", "a.b.", true}, WildcardCase{"readme.", "readme", true},
        WildcardCase{"readme.", "readme.", true}, WildcardCase{"readme.", "readme.txt", false},
        WildcardCase{"*.???", "abc", true}, WildcardCase{"*.???", "a.tx", true},
        WildcardCase{"*.???", "a.html", false}, WildcardCase{"a??.txt", "a.txt", true},
        WildcardCase{"a??.txt", "abc.txt", true}, WildcardCase{"a??.txt", "abcd.txt", false},
        WildcardCase{"???", "ab", true}, WildcardCase{"???", "abcd", false}));

// Letters other than ASCII compare exactly; a multibyte character is one
// character for "?".
INSTANTIATE_TEST_SUITE_P(Bytes, WildcardTable,
                         ::testing::Values(WildcardCase{"\xC3\xA9*", "\xC3\x89t\xC3\xA9", false},
                                           WildcardCase{"?t?.txt", "\xC3\xA9t\xC3\xA9.txt", true},
                                           WildcardCase{"?.txt", "\xE6\x97\xA5.txt", true},
                                           WildcardCase{"?.txt", "\xE6\x97\xA5\xE6\x97\xA5.txt",
                                                        false},
                                           WildcardCase{"?x", "\xFFx", true}));

} // namespace
