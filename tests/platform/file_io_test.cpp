// The file operations the engine reads through: sizes of regular files only,
// an open that never blocks, reads at an offset, failures as error codes.
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
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"file", 5}, {"empty", 0}, {"link", 5}, {"dir", {}}, {"fifo", {}}, {"missing", {}}};
    for (const auto& [rel, size] : cases)
        EXPECT_EQ(RegularFileSize(tree.Path(rel).c_str()), size) << rel;
}

// A FIFO without a writer would hang a plain open.
TEST(OpenForReading, OpensAFifoWithoutBlockingAndTellsWhyAnOpenFailed) {
    CTempTree tree;
    tree.Fifo("fifo");
    std::error_code ec;
    CFd fifo = OpenForReading(tree.Path("fifo").c_str(), ec);
    EXPECT_FALSE(ec);
    EXPECT_FALSE(RegularFileSize(fifo.Get()));
    CFd missing = OpenForReading(tree.Path("missing").c_str(), ec);
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_LT(missing.Get(), 0);
}

TEST(ReadAt, ReadsFromTheOffsetUntilTheEnd) {
    CTempTree tree;
    tree.Write("file", "line one\nline two\n");
    std::error_code ec;
    CFd fd = OpenForReading(tree.Path("file").c_str(), ec);
    char buf[8];
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, "line one"}, {9, "line two"}, {14, "two\n"}, {18, ""}, {100, ""}};
    for (const auto& [offset, expected] : cases) {
        EXPECT_EQ(std::string(buf, ReadAt(fd.Get(), buf, sizeof buf, offset, ec)), expected);
        EXPECT_FALSE(ec) << offset;
    }
    EXPECT_EQ(ReadAt(-1, buf, sizeof buf, 0, ec), 0u);
    EXPECT_EQ(ec.value(), EBADF);
    EXPECT_EQ(WriteAll(-1, "x").value(), EBADF);
}

} // namespace
