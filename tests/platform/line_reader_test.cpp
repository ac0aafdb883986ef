#include "platform/line_reader.h"

#include "tests/platform/temp_tree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kLineBuffer = 5120;
constexpr std::size_t kMaxLine = kLineBuffer - 1;

using Lines = std::vector<std::string>;

// Every line of the file as stored, NUL bytes included.
Lines ReadAll(CTextLineReader& reader, std::size_t size = kLineBuffer) {
    Lines lines;
    std::vector<char> buf(size);
    std::size_t length = 0;
    while (reader.ReadLine(buf.data(), size, &length)) {
        EXPECT_EQ(buf[length], '\0');
        lines.emplace_back(buf.data(), length);
    }
    EXPECT_EQ(buf[0], '\0') << "an empty string is stored when nothing is read";
    return lines;
}

Lines ReadFile(const std::string& bytes, std::size_t size = kLineBuffer) {
    CTempTree tree;
    tree.Write("f", bytes);
    CTextLineReader reader;
    EXPECT_TRUE(reader.Open(tree.Path("f").c_str()));
    Lines lines = ReadAll(reader, size);
    EXPECT_FALSE(reader.Failed());
    return lines;
}

// The reading rules written plainly, byte by byte: CR LF becomes LF, Ctrl-Z
// ends the data, lines end after LF or when size - 1 bytes are stored.
Lines Model(const std::string& bytes, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0x1A)
            break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    Lines lines;
    std::string line;
    for (char c : text) {
        line += c;
        if (c == '\n' || line.size() == size - 1) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class LineReaderTextMode : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReaderTextMode, ReadsLinesAsTextMode) {
    EXPECT_EQ(ReadFile(GetParam().bytes), GetParam().lines);
}

const std::string kA5118(kMaxLine - 1, 'a');
const std::string kA5119(kMaxLine, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, LineReaderTextMode,
    ::testing::Values(
        LineCase{"Empty", "", {}}, LineCase{"LfLines", "one\ntwo\n", {"one\n", "two\n"}},
        LineCase{"CrLfReadsAsLf", "one\r\ntwo\r\n", {"one\n", "two\n"}},
        LineCase{"LastLineWithoutLf", "x\ny", {"x\n", "y"}},
        LineCase{"EmptyLines", "\n\r\n\n", {"\n", "\n", "\n"}},
        LineCase{"LoneCrIsKept", "a\rb\n", {"a\rb\n"}},
        LineCase{"CrAtEndOfFileIsKept", "a\r", {"a\r"}},
        LineCase{"CrBeforeCrLf", "a\r\r\nb", {"a\r\n", "b"}},
        LineCase{"CtrlZEndsTheFile", "one two\x1Athree\nfour\n", {"one two"}},
        LineCase{"CtrlZAtStart",
                 "\x1A"
                 "abc\n",
                 {}},
        LineCase{"CtrlZAfterCr", "a\r\x1A\n", {"a\r"}},
        LineCase{"NulBytesAreStored", std::string("a\0b\n", 4), {std::string("a\0b\n", 4)}},
        LineCase{"LongestWholeLine", kA5118 + "\n", {kA5118 + "\n"}},
        LineCase{"LineOfExactlyTheLimit", kA5119 + "\nz", {kA5119, "\n", "z"}},
        LineCase{"CrLfAtTheLimitFolds", kA5118 + "\r\n", {kA5118 + "\n"}},
        LineCase{"CrLfJustPastTheLimit", kA5119 + "\r\n", {kA5119, "\n"}},
        LineCase{"LongLineInPieces",
                 std::string(12000, 'b') + "\n",
                 {std::string(kMaxLine, 'b'), std::string(kMaxLine, 'b'),
                  std::string(12000 - 2 * kMaxLine, 'b') + "\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineReader, LineEndsSplitAcrossReadsAreJoined) {
    // A CR as the last byte of one system read and its LF as the first byte
    // of the next must still read as one line feed.
    std::string bytes(CTextLineReader::kReadSize - 1, 'c');
    for (std::size_t i = 70; i < bytes.size(); i += 71)
        bytes[i] = '\n';
    bytes += "\r\nafter\r";
    bytes += std::string(CTextLineReader::kReadSize, 'd');
    bytes += "\r\x1A tail";
    EXPECT_EQ(ReadFile(bytes), Model(bytes, kLineBuffer));
}

TEST(LineReader, AgreesWithTheRulesOnRandomText) {
    std::mt19937 rng(20261207);
    const char alphabet[] = {'a', ' ', '\t', '\n', '\r', '\0', '\x83', 'Z'};
    for (std::size_t size : {std::size_t(2), std::size_t(3), std::size_t(17), kLineBuffer}) {
        std::string bytes;
        std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
        for (std::size_t i = 0; i < 700000; ++i)
            bytes += alphabet[pick(rng)];
        bytes += '\x1A';
        bytes += "ignored";
        EXPECT_EQ(ReadFile(bytes, size), Model(bytes, size)) << "buffer size " << size;
    }
}

TEST(LineReader, ReopeningStartsAfresh) {
    CTempTree tree;
    tree.Write("first", "a\x1A"
                        "b\n");
    tree.Write("second", "c\nd");
    CTextLineReader reader;
    ASSERT_TRUE(reader.Open(tree.Path("first").c_str()));
    EXPECT_EQ(ReadAll(reader), Lines{"a"});
    ASSERT_TRUE(reader.Open(tree.Path("second").c_str()));
    EXPECT_EQ(ReadAll(reader), (Lines{"c\n", "d"}));
    reader.Close();
    char buf[8] = "x";
    EXPECT_FALSE(reader.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "");
}

TEST(LineReaderOpen, RefusesWhatIsNotARegularFile) {
    CTempTree tree;
    tree.MakeDir("dir");
    tree.Fifo("fifo");
    tree.Link("missing", "dangling");
    CTextLineReader reader;
    // A FIFO without a writer would block a plain open; fail the test rather
    // than hang if it ever does.
    ::alarm(20);
    EXPECT_FALSE(reader.Open(tree.Path("fifo").c_str()));
    ::alarm(0);
    EXPECT_EQ(reader.Error().value(), EINVAL);
    EXPECT_FALSE(reader.Open(tree.Path("dir").c_str()));
    EXPECT_EQ(reader.Error().value(), EISDIR);
    EXPECT_FALSE(reader.Open("/dev/null"));
    EXPECT_EQ(reader.Error().value(), EINVAL);
    EXPECT_FALSE(reader.Open(tree.Path("dangling").c_str()));
    EXPECT_EQ(reader.Error().value(), ENOENT);
    EXPECT_FALSE(reader.IsOpen());
}

TEST(LineReaderOpen, ReadErrorEndsTheFileAndIsReported) {
    // The process's own memory file is a regular file whose first page is
    // never mapped, so reading it fails with an I/O error.
    CTextLineReader reader;
    if (!reader.Open("/proc/self/mem"))
        GTEST_SKIP() << "no /proc/self/mem here";
    char buf[kLineBuffer];
    EXPECT_FALSE(reader.ReadLine(buf, sizeof buf));
    EXPECT_TRUE(reader.Failed());
    EXPECT_NE(reader.Error().value(), 0);
    EXPECT_FALSE(reader.ReadLine(buf, sizeof buf)) << "the file stays ended";
}

// Standard input in a pipeline: whatever kind of descriptor it is, the
// reader takes it as it is and reads it with the same text-mode rules.
TEST(LineReaderDescriptor, ReadsAPipeAsTextAndLeavesTheDescriptorOpen) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string bytes = "one\r\ntwo\rthree\n\x1A"
                              "after\n";
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
    CTextLineReader reader;
    ASSERT_TRUE(reader.OpenDescriptor(fds[0]));
    EXPECT_EQ(ReadAll(reader), (Lines{"one\n", "two\rthree\n"}));
    EXPECT_FALSE(reader.Failed());
    reader.Close();
    EXPECT_EQ(::fcntl(fds[0], F_GETFD), 0) << "the caller's descriptor stays open";
    ::close(fds[0]);
}

TEST(LineReaderDescriptor, RefusesADirectoryAndAClosedDescriptor) {
    CTempTree tree;
    tree.MakeDir("dir");
    int dir = ::open(tree.Path("dir").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(dir, 0);
    CTextLineReader reader;
    EXPECT_FALSE(reader.OpenDescriptor(dir));
    EXPECT_EQ(reader.Error().value(), EISDIR);
    ::close(dir);
    EXPECT_FALSE(reader.OpenDescriptor(dir));
    EXPECT_EQ(reader.Error().value(), EBADF);
    EXPECT_FALSE(reader.IsOpen());
    // A regular file by descriptor reads from where its offset stands.
    tree.Write("f", "skip\nkeep\n");
    int fd = ::open(tree.Path("f").c_str(), O_RDONLY);
    ASSERT_EQ(::lseek(fd, 5, SEEK_SET), 5);
    ASSERT_TRUE(reader.OpenDescriptor(fd));
    EXPECT_EQ(ReadAll(reader), Lines{"keep\n"});
    ::close(fd);
}

} // namespace

TEST(LineReader, BytesConsumedFollowsTheLinesHandedOut) {
    // CR LF lines of 10 bytes, so that one straddles the first system read:
    // after each line the count is the raw bytes up to its end, not what was
    // read ahead.
    std::string bytes;
    while (bytes.size() < CTextLineReader::kReadSize + 50)
        bytes += "abcdefgh\r\n";
    CTempTree tree;
    tree.Write("f", bytes);
    tree.Write("g", "xy\n");
    CTextLineReader reader;
    ASSERT_TRUE(reader.Open(tree.Path("f").c_str()));
    EXPECT_EQ(reader.BytesConsumed(), 0u);
    char buf[kLineBuffer];
    std::uint64_t lines = 0;
    while (reader.ReadLine(buf, sizeof buf)) {
        ++lines;
        ASSERT_EQ(reader.BytesConsumed(), lines * 10) << "after line " << lines;
    }
    EXPECT_EQ(reader.BytesConsumed(), bytes.size());
    ASSERT_TRUE(reader.Open(tree.Path("g").c_str()));
    EXPECT_EQ(reader.BytesConsumed(), 0u);
    ASSERT_TRUE(reader.ReadLine(buf, sizeof buf));
    EXPECT_EQ(reader.BytesConsumed(), 3u);
}

namespace {

// A file read in parts that start after line feeds gives the lines of the
// whole file, as long as the parts after one that met a Ctrl-Z are left out.
TEST(LineReaderParts, PartsStartingAfterLineFeedsReadAsTheWhole) {
    std::mt19937 rng(99);
    const char alphabet[] = {'a', ' ', '\n', '\r', '\0', 'Z', 'q', '\x1A'};
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
        const std::size_t n = round % 4 == 0 ? 600000 : 3000;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = alphabet[pick(rng)];
            // Ctrl-Z is rare, so that most rounds read far.
            bytes += c == '\x1A' && rng() % 64 != 0 ? 'b' : c;
        }
        CTempTree tree;
        tree.Write("f", bytes);
        const std::string path = tree.Path("f");
        std::vector<std::uint64_t> cuts{0};
        for (int k = 0; k < 3; ++k) {
            const std::size_t lf = bytes.find('\n', rng() % bytes.size());
            if (lf != std::string::npos && lf + 1 > cuts.back())
                cuts.push_back(lf + 1);
        }
        cuts.push_back(bytes.size() + 10); // past the end: read to the end
        Lines parts;
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            CTextLineReader reader;
            ASSERT_TRUE(reader.OpenPart(path.c_str(), cuts[k], cuts[k + 1]));
            for (const std::string& line : ReadAll(reader))
                parts.push_back(line);
            if (reader.EndedAtCtrlZ())
                break;
        }
        ASSERT_EQ(parts, Model(bytes, kLineBuffer)) << "round " << round;
    }
}

TEST(LineReaderParts, EmptyAndOutOfRangePartsReadNothing) {
    CTempTree tree;
    tree.Write("f", "one\ntwo\n");
    CTextLineReader reader;
    ASSERT_TRUE(reader.OpenPart(tree.Path("f").c_str(), 4, 4));
    EXPECT_TRUE(ReadAll(reader).empty());
    ASSERT_TRUE(reader.OpenPart(tree.Path("f").c_str(), 100, 200));
    EXPECT_TRUE(ReadAll(reader).empty());
    EXPECT_FALSE(reader.EndedAtCtrlZ());
    EXPECT_FALSE(reader.OpenPart(tree.Path("missing").c_str(), 0, 4));
}

} // namespace
