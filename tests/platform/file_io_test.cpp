// The file operations the engine reads through: sizes of regular files only,
// an open that never blocks, reads at an offset, and failures as error codes.
#include "platform/file_io.h"

#include "temp_tree.h"

#include <cerrno>

namespace {

TEST(RegularFileSize, OnlyRegularFilesHaveOne) {
    CTempTree tree;
    tree.Write("file", "12345");
    tree.Write("empty", "");
    tree.MakeDir("dir");
    tree.Fifo("fifo");
    tree.Link("file", "link");
    const struct {
        const char* rel;
        std::optional<std::uint64_t> size;
    } cases[] = {{"file", 5}, {"empty", 0},           {"link", 5},
                 {"dir", {}}, {"fifo", std::nullopt}, {"missing", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(RegularFileSize(tree.Path(c.rel).c_str()), c.size) << c.rel;
}

// A FIFO without a writer would hang a plain open.
TEST(OpenForReading, OpensAFifoWithoutBlockingAndReportsMissingFiles) {
    CTempTree tree;
    tree.Fifo("fifo");
    std::error_code ec;
    CFd fifo = OpenForReading(tree.Path("fifo").c_str(), ec);
    EXPECT_FALSE(ec);
    EXPECT_GE(fifo.Get(), 0);
    EXPECT_FALSE(RegularFileSize(fifo.Get()));
    CFd missing = OpenForReading(tree.Path("missing").c_str(), ec);
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_LT(missing.Get(), 0);
}

TEST(ReadAt, ReadsFromTheOffsetAndEndsAtTheEnd) {
    CTempTree tree;
    tree.Write("file", "line one\nline two\n");
    std::error_code ec;
    CFd fd = OpenForReading(tree.Path("file").c_str(), ec);
    ASSERT_FALSE(ec);
    char buf[8] = {};
    const struct {
        std::uint64_t offset;
        std::string expected;
    } cases[] = {{0, "line one"}, {9, "line two"}, {14, "two\n"}, {18, ""}, {100, ""}};
    for (const auto& c : cases) {
        const std::size_t n = ReadAt(fd.Get(), buf, sizeof buf, c.offset, ec);
        EXPECT_FALSE(ec);
        EXPECT_EQ(std::string(buf, n), c.expected) << c.offset;
    }
}

TEST(FileIoErrors, FailuresComeBackAsTheSystemsReason) {
    char buf[4];
    std::error_code ec;
    EXPECT_EQ(ReadAt(-1, buf, sizeof buf, 0, ec), 0u);
    EXPECT_EQ(ec.value(), EBADF);
    EXPECT_EQ(ReadSome(-1, buf, sizeof buf, ec), 0u);
    EXPECT_EQ(ec.value(), EBADF);
    EXPECT_EQ(WriteAll(-1, "x").value(), EBADF);
    EXPECT_FALSE(WriteAll(-1, ""));
}

} // namespace
