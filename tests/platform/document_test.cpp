// The document base: title and observers, the modified flag, and saving
// through a temporary file so that a failed save leaves the old file whole.
#include "platform/document.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CTextDocument : public CDocument {
  public:
    std::string text;
    int loads = 0;

  protected:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar.Write(text.data(), text.size());
        else
            ++loads;
    }
};

class CObserver : public IDocumentObserver {
  public:
    void OnDocumentUpdate(CDocument&) override { ++updates; }
    void OnDocumentTitleChanged(CDocument& doc) override { titles.push_back(doc.GetTitle()); }
    int updates = 0;
    std::vector<std::string> titles;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class Document : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "vorlan-doc-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
    CTextDocument doc;
};

TEST_F(Document, ObserversHearTitlesAndUpdatesUntilRemoved) {
    CObserver a, b;
    doc.AddObserver(&a);
    doc.AddObserver(&b);
    doc.AddObserver(&a); // once only
    doc.SetTitle("Vorlan1");
    doc.UpdateAllViews();
    doc.RemoveObserver(&b);
    doc.SetTitle("Counting...");
    EXPECT_EQ(a.titles, (std::vector<std::string>{"Vorlan1", "Counting..."}));
    EXPECT_EQ(b.titles, std::vector<std::string>{"Vorlan1"});
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 1);
}

TEST_F(Document, SaveWritesTheBytesAndTakesTheFileName) {
    doc.text = std::string("a\r\nb\r\n\0x", 8);
    doc.SetModifiedFlag();
    std::string path = dir + "/report.txt";
    ASSERT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadFile(path), doc.text);
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "report.txt");
    EXPECT_FALSE(doc.IsModified());
    // Nothing but the saved file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(Document, SaveReplacesAnOldFileAndKeepsItsPermissions) {
    std::string path = dir + "/report.txt";
    { std::ofstream(path) << "old contents that are longer"; }
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    doc.text = "new";
    ASSERT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadFile(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Document, FailedSaveChangesNothing) {
    doc.SetTitle("Vorlan1");
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.OnSaveDocument(dir + "/no/such/folder/report.txt"));
    EXPECT_EQ(doc.GetTitle(), "Vorlan1");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Document, SaveOverADirectoryFailsAndLeavesNoTemporaryFile) {
    std::filesystem::create_directory(dir + "/taken");
    std::filesystem::create_directory(dir + "/taken/inside");
    EXPECT_TRUE(doc.OnSaveDocument(dir + "/taken"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// The same write serves content other than a document's. A writer that
// throws leaves the old file whole and no temporary file behind.
TEST_F(Document, AtomicWriteOfOtherContentAndAWriterThatThrows) {
    std::string path = dir + "/data.tsv";
    ASSERT_FALSE(WriteFileAtomically(path, [](CArchive& ar) { ar.Write("old\n", 4); }));
    EXPECT_EQ(ReadFile(path), "old\n");
    EXPECT_THROW(WriteFileAtomically(path,
                                     [](CArchive& ar) {
                                         ar.Write("new", 3);
                                         throw std::bad_alloc();
                                     }),
                 std::bad_alloc);
    EXPECT_EQ(ReadFile(path), "old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(Document, OpenLoadsAndTakesTheFileNameAsTitle) {
    std::string path = dir + "/saved.txt";
    { std::ofstream(path) << "anything"; }
    doc.SetModifiedFlag();
    ASSERT_FALSE(doc.OnOpenDocument(path));
    EXPECT_EQ(doc.loads, 1);
    EXPECT_EQ(doc.GetTitle(), "saved.txt");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Document, OpenRefusesMissingFilesAndDirectories) {
    EXPECT_EQ(doc.OnOpenDocument(dir + "/missing").value(), ENOENT);
    EXPECT_EQ(doc.OnOpenDocument(dir).value(), EISDIR);
    EXPECT_EQ(doc.loads, 0);
}

TEST(FdSink, SmallWritesArriveInOrderAndLargeOnesPassThrough) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    {
        CFdSink sink(fds[1], 8);
        EXPECT_TRUE(sink.Write("abc", 3));
        EXPECT_TRUE(sink.Write("defgh", 5));
        EXPECT_TRUE(sink.Write("0123456789", 10)); // larger than the buffer
        EXPECT_TRUE(sink.Write("z", 1));
        EXPECT_TRUE(sink.Flush());
    }
    ::close(fds[1]);
    char buf[64] = {};
    ssize_t n = ::read(fds[0], buf, sizeof buf);
    ::close(fds[0]);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), "abcdefgh0123456789z");
}

TEST(FdSink, WriteErrorIsKeptAndReported) {
    CFdSink sink(-1, 4);
    EXPECT_TRUE(sink.Write("ab", 2)); // buffered
    EXPECT_FALSE(sink.Flush());
    EXPECT_EQ(sink.Error().value(), EBADF);
    EXPECT_FALSE(sink.Write("cd", 2));
}

} // namespace
