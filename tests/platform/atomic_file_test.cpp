// The one atomic write of the program: what it does with whatever stands at
// its path (links, read-only files, directories, missing folders), and that
// a failure leaves the old file whole with no temporary file behind.
#include "platform/atomic_file.h"

#include "temp_tree.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::size_t EntriesIn(const CTempTree& tree) {
    std::size_t n = 0;
    for (auto it = fs::recursive_directory_iterator(tree.Root()); it != fs::end(it); ++it)
        ++n;
    return n;
}

// One thing put in the tree: kind "file" (read-write), "ro" (read-only
// file), "dir", "fifo", or "link" (rel points to arg).
struct Item {
    const char* kind;
    const char* rel;
    const char* arg = "";
};

struct TargetCase {
    const char* name;
    std::vector<Item> tree;   // besides the folder "dir"; the write goes to "out"
    int error;                // errno of the write, 0 for success
    const char* written = ""; // the file that holds the new content on success
    friend void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }
};

void Build(const CTempTree& tree, const std::vector<Item>& items) {
    tree.MakeDir("dir");
    for (const Item& i : items) {
        const std::string kind = i.kind;
        if (kind == "file" || kind == "ro")
            tree.Write(i.rel, "old");
        if (kind == "ro") {
            ASSERT_EQ(::chmod(tree.Path(i.rel).c_str(), 0444), 0);
        }
        if (kind == "dir")
            tree.MakeDir(i.rel);
        if (kind == "fifo")
            tree.Fifo(i.rel);
        if (kind == "link")
            tree.Link(*i.arg == '/' ? tree.Path(i.arg + 1) : i.arg, i.rel);
    }
}

class AtomicWrite : public ::testing::TestWithParam<TargetCase> {};

TEST_P(AtomicWrite, TreatsWhatStandsAtThePathAsDecided) {
    const TargetCase& c = GetParam();
    CTempTree tree;
    Build(tree, c.tree);
    const bool wasLink = fs::is_symlink(tree.Path("out"));
    const std::size_t before = EntriesIn(tree);

    const std::error_code ec = ReplaceFileAtomically(tree.Path("out"), "new");

    EXPECT_EQ(ec.value(), c.error) << ec.message();
    if (c.error == 0)
        EXPECT_EQ(ReadFile(tree.Path(c.written)), "new");
    else
        EXPECT_EQ(EntriesIn(tree), before);               // not even a temporary file
    EXPECT_EQ(fs::is_symlink(tree.Path("out")), wasLink); // a link is kept
}

INSTANTIATE_TEST_SUITE_P(
    Targets, AtomicWrite,
    ::testing::Values(
        TargetCase{"new_file", {}, 0, "out"}, TargetCase{"old_file", {{"file", "out"}}, 0, "out"},
        TargetCase{
            "link_to_file", {{"file", "dir/real"}, {"link", "out", "dir/real"}}, 0, "dir/real"},
        TargetCase{
            "absolute_link", {{"file", "dir/real"}, {"link", "out", "/dir/real"}}, 0, "dir/real"},
        TargetCase{"chain_of_relative_links",
                   {{"file", "dir/real"}, {"link", "dir/hop", "real"}, {"link", "out", "dir/hop"}},
                   0,
                   "dir/real"},
        TargetCase{"dangling_link_into_a_folder", {{"link", "out", "dir/new"}}, 0, "dir/new"},
        TargetCase{"dangling_link_into_a_missing_folder", {{"link", "out", "none/new"}}, ENOENT},
        TargetCase{"link_loop", {{"link", "out", "loop"}, {"link", "loop", "out"}}, ELOOP},
        TargetCase{"directory", {{"dir", "out"}}, EISDIR},
        TargetCase{"link_to_directory", {{"link", "out", "dir"}}, EISDIR},
        TargetCase{"read_only_file", {{"ro", "out"}}, EACCES},
        TargetCase{
            "link_to_read_only_file", {{"ro", "dir/real"}, {"link", "out", "dir/real"}}, EACCES},
        TargetCase{"folder_is_a_file", {{"file", "dir/f"}, {"link", "out", "dir/f/out"}}, ENOTDIR}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtomicWriteContent, NewFileGetsTheModeOpenWouldGiveIt) {
    CTempTree tree;
    const mode_t mask = ::umask(027);
    const std::error_code ec = ReplaceFileAtomically(tree.Path("out"), "new");
    ::umask(mask);
    ASSERT_FALSE(ec);
    EXPECT_EQ(fs::status(tree.Path("out")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicWriteContent, FailingWriterLeavesTheOldFileAndNothingElse) {
    CTempTree tree;
    tree.Write("out", "old");
    const std::error_code full(ENOSPC, std::system_category());
    EXPECT_EQ(ReplaceFileAtomically(tree.Path("out"), [&](int) { return full; }), full);
    EXPECT_EQ(ReadFile(tree.Path("out")), "old");
    EXPECT_EQ(EntriesIn(tree), 1u);
}

// Runs body in a child process and returns its wait status.
template <typename Body> int InChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(AtomicWriteCleanup, NoTemporaryFileOutlivesATerminationOrTheSizeLimit) {
    CTempTree tree;
    tree.Write("out", "old");
    const int killed = InChild([&] {
        ReplaceFileAtomically(tree.Path("out"), [](int) {
            ::raise(SIGTERM);
            return std::error_code();
        });
    });
    EXPECT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGTERM);
    const int limited = InChild([&] {
        const struct rlimit limit { 2, 2 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(ReplaceFileAtomically(tree.Path("out"), "too long").value());
    });
    EXPECT_TRUE(WIFEXITED(limited) && WEXITSTATUS(limited) == EFBIG);
    EXPECT_EQ(ReadFile(tree.Path("out")), "old");
    EXPECT_EQ(EntriesIn(tree), 1u);
}

} // namespace
