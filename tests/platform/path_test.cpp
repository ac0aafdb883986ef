// Splitting paths on "/" and matching names without regard to ASCII case.
#include "platform/ascii_case.h"
#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

TEST(Path, FolderAndFileName) {
    const struct {
        const char *path, *folder, *name;
    } cases[] = {{"name", ".", "name"},
                 {"/name", "/", "name"},
                 {"/a/b/name", "/a/b", "name"},
                 {"a/", "a", ""},
                 {"", ".", ""},
                 {"./name", ".", "name"},
                 {"/a/b.c/d.e", "/a/b.c", "d.e"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    }
}

// Only ASCII letters fold: the bytes next to the letter ranges and bytes
// above 0x7F (UTF-8 letters among them) are compared exactly.
TEST(AsciiCase, OnlyAsciiLettersFold) {
    const struct {
        std::string_view a, b;
        bool equal;
    } cases[] = {{"Option", "OPTION", true}, {"abc", "abd", false},
                 {"ab", "abc", false},       {"a_z", "A_Z", true},
                 {"@[`{", "`{@[", false},    {"\xC3\xA9", "\xC3\x89", false}};
    for (const auto& c : cases)
        EXPECT_EQ(AsciiEqualNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_LT(AsciiUpper('z'), AsciiUpper('_')); // orderings fold to upper case
}

} // namespace
