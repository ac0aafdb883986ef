#include "engine/file_list.h"

#include "platform/event_pump.h"
#include "tests/platform/temp_tree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Paths = std::vector<std::string>;

// A chosen directory with files, hidden entries, links that loop back to an
// ancestor, a dangling link and a FIFO, two levels deep.
class FileList : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.Write("a.txt", "a");
        tree.Write("B.TXT", "b");
        tree.Write("c.doc", "c");
        tree.Write(".hidden.txt", "h");
        tree.Fifo("fifo.txt");
        tree.Link(".", "self");
        tree.MakeDir("sub1");
        tree.Write("sub1/notes.doc", "n");
        tree.Write("sub1/.profile", "p");
        tree.MakeDir("sub1/deeper");
        tree.Write("sub1/deeper/y.txt", "y");
        tree.MakeDir("sub1/.cache");
        tree.Write("sub1/.cache/z.txt", "z");
        tree.Link("..", "sub1/loop");
        tree.MakeDir("sub2");
        tree.Write("sub2/w.txt", "w");
        tree.Link("nowhere", "sub2/dangling");
        tree.Fifo("sub2/pipe");
        tree.MakeDir("[br]");
        tree.Write("[br]/in.txt", "i");
        tree.MakeDir(".hid");
        tree.Write(".hid/q.txt", "q");
    }

    std::string Dir() const { return tree.Root() + "/"; }

    Paths Build(const std::string& pattern, bool subdirs) {
        Paths files{"stale entry"};
        std::error_code ec;
        EXPECT_TRUE(BuildFileList(Dir(), pattern, subdirs, files, &ec));
        EXPECT_FALSE(ec);
        return files;
    }

    CTempTree tree;
};

TEST_F(FileList, PatternSelectsPlainFilesOfTheDirectoryOnly) {
    EXPECT_EQ(Build("*.txt", false), (Paths{Dir() + "a.txt", Dir() + "B.TXT"}));
    EXPECT_EQ(Build("c.DOC", false), Paths{Dir() + "c.doc"});
    EXPECT_EQ(Build("*.none", false), Paths{});
}

// A name that is an existing file is that file alone, not a pattern: no
// sibling that its "?" or its letter case would match, and hidden or not.
TEST_F(FileList, ANamedFileIsCountedAloneByItsExactName) {
    tree.Write("q?.txt", "q");
    tree.Write("qz.txt", "z");
    tree.Write("README.txt", "R");
    tree.Write("readme.txt", "r");
    const struct {
        const char* pattern;
        Paths expected;
    } cases[] = {
        {"q?.txt", {Dir() + "q?.txt"}},
        {"README.txt", {Dir() + "README.txt"}},
        {".hidden.txt", {Dir() + ".hidden.txt"}},
        {"Readme.TXT", {Dir() + "README.txt", Dir() + "readme.txt"}}, // no such name: a pattern
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.pattern, false), c.expected) << c.pattern;
}

TEST_F(FileList, SubdirectoriesAddEveryFileBelowDepthFirst) {
    // Below the first level the pattern no longer applies, names starting
    // with "." are never added or entered, links to directories are never
    // followed, and whatever else is not a directory is added for the scan
    // to open (or to report).
    // "[" sorts after the letters.
    Paths expected = {
        Dir() + "a.txt",          Dir() + "B.TXT",         Dir() + "sub1/deeper/y.txt",
        Dir() + "sub1/notes.doc", Dir() + "sub2/dangling", Dir() + "sub2/pipe",
        Dir() + "sub2/w.txt",     Dir() + "[br]/in.txt"};
    EXPECT_EQ(Build("*.txt", true), expected);
}

TEST_F(FileList, AddPathRecursiveTakesAFileOrATree) {
    Paths files;
    AddPathRecursive(tree.Path("c.doc"), files);
    AddPathRecursive(tree.Path("self"), files); // a link to a directory
    AddPathRecursive(tree.Path("sub1"), files);
    EXPECT_EQ(files, (Paths{tree.Path("c.doc"), tree.Path("sub1/deeper/y.txt"),
                            tree.Path("sub1/notes.doc")}));
}

void CountCall(void* context) {
    ++*static_cast<int*>(context);
}

TEST_F(FileList, InterfaceIsServedOncePerEntryRead) {
    int calls = 0;
    CScopedPumpHook hook(CountCall, &calls);
    Paths files;
    AddPathRecursive(tree.Path("sub2"), files);
    EXPECT_EQ(calls, 5); // ".", "..", dangling, pipe, w.txt
}

TEST(FileListErrors, MissingDirectoryGivesAnEmptyList) {
    CTempTree tree;
    Paths files{"stale"};
    EXPECT_TRUE(BuildFileList(tree.Path("missing/"), "*.*", true, files));
    EXPECT_TRUE(files.empty());
    tree.Write("file", "x");
    EXPECT_TRUE(BuildFileList(tree.Path("file/"), "*.*", true, files));
    EXPECT_TRUE(files.empty());
}

TEST(FileListErrors, UnreadableChosenDirectoryFails) {
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop the superuser";
    CTempTree tree;
    tree.MakeDir("closed");
    ::chmod(tree.Path("closed").c_str(), 0);
    Paths files{"stale"};
    std::error_code ec;
    EXPECT_FALSE(BuildFileList(tree.Path("closed/"), "*.*", false, files, &ec));
    EXPECT_EQ(ec, std::errc::permission_denied);
    EXPECT_TRUE(files.empty());
    ::chmod(tree.Path("closed").c_str(), 0755);
}

// A folder that cannot be listed stands in the list as its path with a "/",
// which the count reports as failing to open.
TEST(FileListErrors, UnreadableSubdirectoryIsListedAsAFolderEntry) {
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop the superuser";
    CTempTree tree;
    tree.MakeDir("open");
    tree.Write("open/a", "a");
    tree.MakeDir("open/closed");
    tree.Write("open/closed/b", "b");
    tree.Write("open/z", "z");
    ::chmod(tree.Path("open/closed").c_str(), 0);
    Paths files;
    EXPECT_TRUE(BuildFileList(tree.Root() + "/", "*.*", true, files));
    EXPECT_EQ(files, (Paths{tree.Path("open/a"), tree.Path("open/closed/"), tree.Path("open/z")}));
    ::chmod(tree.Path("open/closed").c_str(), 0755);
}

// The same for a folder gone between its listing and its walk (this also
// holds for the superuser), paced by the walk's event pump.
TEST(FileListErrors, FolderGoneBeforeItIsWalkedIsListedAsAFolderEntry) {
    CTempTree tree;
    tree.MakeDir("a");
    tree.MakeDir("b");
    tree.Write("b/x", "x");
    struct Remover {
        std::string path;
        static void Hook(void* self) {
            auto* r = static_cast<Remover*>(self);
            if (!r->path.empty() && ::unlink((r->path + "/x").c_str()) == 0)
                ::rmdir(r->path.c_str());
        }
    } remover{tree.Path("b")};
    Paths files;
    {
        CScopedPumpHook hook(Remover::Hook, &remover);
        EXPECT_TRUE(BuildFileList(tree.Root() + "/", "*.*", true, files));
    }
    EXPECT_EQ(files, Paths{tree.Path("b/")});
}

// Builds a chain of directories whose full path is longer than any path the
// system accepts, so that its deepest part cannot be opened by anyone.
void MakeTooLongChain(const CTempTree& tree, int levels) {
    const std::string name(200, 'd');
    int fd = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < levels; ++i) {
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
        int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
    ::close(file);
    ::close(fd);
}

// Past the longest path the system takes in one call, the walk goes on
// from each folder's descriptor.
TEST(FileListDepth, FilesDeeperThanTheLongestPathAreListed) {
    CTempTree tree;
    tree.Write("top.txt", "t");
    MakeTooLongChain(tree, 25);
    Paths files;
    EXPECT_TRUE(BuildFileList(tree.Root() + "/", "*.*", true, files));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], tree.Path("top.txt"));
    EXPECT_GT(files[1].size(), 5000u);
    EXPECT_EQ(files[1].substr(files[1].size() - 9), "/deep.txt");
}

TEST(FileListDepth, DeepTreeIsWalkedCompletely) {
    CTempTree tree;
    std::string rel = "d";
    tree.MakeDir(rel);
    for (int i = 0; i < 300; ++i) {
        rel += "/d";
        tree.MakeDir(rel);
    }
    tree.Write(rel + "/bottom.txt", "b");
    Paths files;
    EXPECT_TRUE(BuildFileList(tree.Root() + "/", "*.*", true, files));
    EXPECT_EQ(files, Paths{tree.Path(rel + "/bottom.txt")});
}

} // namespace
