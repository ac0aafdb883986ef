#include "platform/dir_listing.h"

#include "tests/platform/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Names = std::vector<std::string>;

// One directory holding one of each kind of entry the listings tell apart.
class DirListing : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.Write("b.txt", "b");
        tree.Write("A.txt", "a");
        tree.Write("a.TXT", "a");
        tree.Write("c.doc", "c");
        tree.Write(".hidden.txt", "h");
        tree.Write("readonly.txt", "r");
        ::chmod(tree.Path("readonly.txt").c_str(), 0444);
        tree.Fifo("pipe.txt");
        tree.Link("b.txt", "tofile.txt");
        tree.Link("nowhere", "dangling.txt");
        tree.MakeDir("dir.txt");
        tree.MakeDir("Sub");
        tree.MakeDir(".hiddendir");
        tree.Link("Sub", "todir");
    }

    CTempTree tree;
};

TEST_F(DirListing, PlainFilesAreRegularVisibleMatchingAndSorted) {
    Names names;
    ASSERT_FALSE(ListPlainFiles(tree.Root() + "/", "*.txt", names));
    // Letters without case first, then bytes: "A.txt" < "a.TXT" < "b.txt".
    EXPECT_EQ(names, (Names{"A.txt", "a.TXT", "b.txt", "readonly.txt", "tofile.txt"}));
}

TEST_F(DirListing, EverythingPatternListsAllPlainFiles) {
    Names names;
    ASSERT_FALSE(ListPlainFiles(tree.Root(), "*.*", names));
    EXPECT_EQ(names, (Names{"A.txt", "a.TXT", "b.txt", "c.doc", "readonly.txt", "tofile.txt"}));
}

TEST_F(DirListing, SubdirectoriesLeaveOutHiddenOnesAndLinks) {
    Names names;
    ASSERT_FALSE(ListSubdirectories(tree.Root() + "/", "*.*", names));
    EXPECT_EQ(names, (Names{"dir.txt", "Sub"}));
    ASSERT_FALSE(ListSubdirectories(tree.Root(), "s*", names));
    EXPECT_EQ(names, Names{"Sub"});
}

TEST_F(DirListing, EntriesAreAllNamesWithTheirKinds) {
    std::vector<CDirEntry> entries;
    ASSERT_FALSE(ReadDirectoryEntries(tree.Root(), entries));
    Names names;
    for (const CDirEntry& e : entries)
        names.push_back(e.name);
    EXPECT_EQ(names, (Names{".", "..", ".hidden.txt", ".hiddendir", "A.txt", "a.TXT", "b.txt",
                            "c.doc", "dangling.txt", "dir.txt", "pipe.txt", "readonly.txt", "Sub",
                            "todir", "tofile.txt"}));
    auto kindOf = [&](const std::string& name) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const CDirEntry& e) { return e.name == name; })
            ->kind;
    };
    EXPECT_EQ(kindOf("Sub"), DirEntryKind::Directory);
    EXPECT_EQ(kindOf(".."), DirEntryKind::Directory);
    EXPECT_EQ(kindOf("todir"), DirEntryKind::LinkToDirectory);
    EXPECT_EQ(kindOf("tofile.txt"), DirEntryKind::Other);
    EXPECT_EQ(kindOf("dangling.txt"), DirEntryKind::Other);
    EXPECT_EQ(kindOf("pipe.txt"), DirEntryKind::Other);
}

TEST_F(DirListing, DirectoryTestDoesNotFollowLinks) {
    EXPECT_TRUE(IsDirectory(tree.Path("Sub")));
    EXPECT_TRUE(IsDirectory(tree.Path("Sub/")));
    EXPECT_FALSE(IsDirectory(tree.Path("todir")));
    EXPECT_FALSE(IsDirectory(tree.Path("b.txt")));
    EXPECT_FALSE(IsDirectory(tree.Path("missing")));
    EXPECT_EQ(PathKind(tree.Path("todir")), DirEntryKind::LinkToDirectory);
    EXPECT_EQ(PathKind(tree.Path("Sub")), DirEntryKind::Directory);
    EXPECT_EQ(PathKind(tree.Path("dangling.txt")), DirEntryKind::Other);
}

TEST(DirListingErrors, MissingDirectoryReportsWhy) {
    CTempTree tree;
    Names names{"stale"};
    std::error_code ec = ListPlainFiles(tree.Path("missing/"), "*.*", names);
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_TRUE(names.empty());
    std::vector<CDirEntry> entries;
    EXPECT_EQ(ReadDirectoryEntries(tree.Path("missing"), entries),
              std::errc::no_such_file_or_directory);
}

TEST(DirListingErrors, UnreadableDirectoryReportsWhy) {
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop the superuser";
    CTempTree tree;
    tree.MakeDir("closed");
    ::chmod(tree.Path("closed").c_str(), 0);
    Names names;
    EXPECT_EQ(ListSubdirectories(tree.Path("closed"), "*.*", names), std::errc::permission_denied);
    ::chmod(tree.Path("closed").c_str(), 0755);
}

TEST(ListingOrder, LettersWithoutCaseThenBytes) {
    Names names{"b", "B", "a", "_x", "ab", "A", "Ab", "a.txt", "Z", "\xC3\xA9"};
    std::sort(names.begin(), names.end(), ListingOrder);
    EXPECT_EQ(names, (Names{"A", "a", "a.txt", "Ab", "ab", "B", "b", "Z", "_x", "\xC3\xA9"}));
}

} // namespace
