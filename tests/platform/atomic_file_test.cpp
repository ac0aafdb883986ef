// The one atomic write of the program: what it does with whatever stands at
// its path (links, read-only files, directories, missing folders), and that
// a failure leaves the old file whole with no temporary file behind.
#include "platform/atomic_file.h"

#include "temp_tree.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::size_t EntriesIn(const std::string& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

struct TargetCase {
    const char* name;
    std::function<void(const CTempTree&)> make; // puts something at "out"
    int error;                                  // errno of the write, 0 for success
    const char* written;                        // file that holds "new" after success
    bool linkKept;                              // "out" is still a symbolic link
    friend void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }
};

class AtomicWrite : public ::testing::TestWithParam<TargetCase> {};

TEST_P(AtomicWrite, TreatsWhatStandsAtThePathAsDecided) {
    const TargetCase& c = GetParam();
    CTempTree tree;
    tree.MakeDir("dir");
    c.make(tree);
    const std::size_t before = EntriesIn(tree.Root()) + EntriesIn(tree.Path("dir"));

    std::error_code ec = ReplaceFileAtomically(tree.Path("out"), "new");

    EXPECT_EQ(ec.value(), c.error) << ec.message();
    if (c.error == 0) {
        EXPECT_EQ(ReadFile(tree.Path(c.written)), "new");
    } else {
        // Nothing was created, not even a temporary file.
        EXPECT_EQ(EntriesIn(tree.Root()) + EntriesIn(tree.Path("dir")), before);
    }
    EXPECT_EQ(fs::is_symlink(tree.Path("out")), c.linkKept);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, AtomicWrite,
    ::testing::Values(
        TargetCase{"new_file", [](const CTempTree&) {}, 0, "out", false},
        TargetCase{"old_file", [](const CTempTree& t) { t.Write("out", "old"); }, 0, "out", false},
        TargetCase{"link_to_file",
                   [](const CTempTree& t) {
                       t.Write("dir/real", "old");
                       t.Link("dir/real", "out");
                   },
                   0, "dir/real", true},
        TargetCase{"chain_of_relative_links",
                   [](const CTempTree& t) {
                       t.Write("dir/real", "old");
                       t.Link("real", "dir/hop");
                       t.Link("dir/hop", "out");
                   },
                   0, "dir/real", true},
        TargetCase{"absolute_link",
                   [](const CTempTree& t) {
                       t.Write("dir/real", "old");
                       t.Link(t.Path("dir/real"), "out");
                   },
                   0, "dir/real", true},
        TargetCase{"dangling_link_into_a_folder",
                   [](const CTempTree& t) { t.Link("dir/created", "out"); }, 0, "dir/created",
                   true},
        TargetCase{"dangling_link_into_a_missing_folder",
                   [](const CTempTree& t) { t.Link("missing/created", "out"); }, ENOENT, "", true},
        TargetCase{"link_loop",
                   [](const CTempTree& t) {
                       t.Link("loop", "out");
                       t.Link("out", "loop");
                   },
                   ELOOP, "", true},
        TargetCase{"directory", [](const CTempTree& t) { t.MakeDir("out"); }, EISDIR, "", false},
        TargetCase{"link_to_directory", [](const CTempTree& t) { t.Link("dir", "out"); }, EISDIR,
                   "", true},
        TargetCase{"read_only_file",
                   [](const CTempTree& t) {
                       t.Write("out", "old");
                       ASSERT_EQ(::chmod(t.Path("out").c_str(), 0444), 0);
                   },
                   EACCES, "", false},
        TargetCase{"link_to_read_only_file",
                   [](const CTempTree& t) {
                       t.Write("dir/real", "old");
                       ASSERT_EQ(::chmod(t.Path("dir/real").c_str(), 0444), 0);
                       t.Link("dir/real", "out");
                   },
                   EACCES, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FolderCase {
    const char* name;
    const char* path;
    int error;
};

// The folder is checked before anything is made in it.
TEST(AtomicWriteFolder, MissingOrFileFolderFails) {
    CTempTree tree;
    tree.Write("file", "x");
    const FolderCase cases[] = {
        {"missing", "none/out", ENOENT}, {"file", "file/out", ENOTDIR}, {"empty", "", ENOENT}};
    for (const FolderCase& c : cases) {
        const std::string path = *c.path ? tree.Path(c.path) : std::string();
        EXPECT_EQ(ReplaceFileAtomically(path, "new").value(), c.error) << c.name;
        EXPECT_EQ(CheckReplaceable(path).value(), c.error) << c.name;
    }
}

TEST(AtomicWriteContent, ReplacedFileKeepsItsPermissions) {
    CTempTree tree;
    tree.Write("out", "old contents that are longer");
    ASSERT_EQ(::chmod(tree.Path("out").c_str(), 0640), 0);
    ASSERT_FALSE(ReplaceFileAtomically(tree.Path("out"), "new"));
    EXPECT_EQ(ReadFile(tree.Path("out")), "new");
    EXPECT_EQ(fs::status(tree.Path("out")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A writer that fails or throws leaves the old file whole and nothing else.
TEST(AtomicWriteContent, FailingWriterLeavesTheOldFile) {
    CTempTree tree;
    tree.Write("out", "old");
    const std::error_code full(ENOSPC, std::system_category());
    EXPECT_EQ(ReplaceFileAtomically(tree.Path("out"), [&](int) { return full; }), full);
    EXPECT_THROW(ReplaceFileAtomically(tree.Path("out"),
                                       [](int) -> std::error_code { throw std::bad_alloc(); }),
                 std::bad_alloc);
    EXPECT_EQ(ReadFile(tree.Path("out")), "old");
    EXPECT_EQ(EntriesIn(tree.Root()), 1u);
}

} // namespace
