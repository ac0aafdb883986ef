// The result document: what it saves, what opening a saved report gives, and
// when it refuses to close.
#include "count_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class CStringSink : public CByteSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

class CFailingSink : public CByteSink {
  public:
    bool Write(const char*, std::size_t) override {
        ++calls;
        return false;
    }
    int calls = 0;
};

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

class VorlanDoc : public ::testing::Test {
  protected:
    CTempTree tree;
    CountFixture f;
};

TEST_F(VorlanDoc, ExclusionListIsReadWhenTheDocumentIsCreated) {
    f.settings.WriteSettingString("Exclude", "UserExt", ".TMP|.BAK");
    CVorlanDoc later(f.settings, f.notifier);
    EXPECT_TRUE(later.m_listExclude.IsExcluded("/X/A.TMP"));
    EXPECT_FALSE(f.doc.m_listExclude.IsExcluded("/X/A.TMP"));
}

TEST_F(VorlanDoc, StoringWritesTheReportLinesByteForByte) {
    f.doc.CountWords({tree.Write("a.txt", "the cat\n"), tree.Write("b.txt", "the\n")}, "x");
    CStringSink sink;
    CArchive ar(sink);
    f.doc.SerializeReport(ar);
    EXPECT_EQ(sink.bytes, ReportText(f.doc));
    EXPECT_TRUE(sink.bytes.ends_with("Different words used\r\n"));
    EXPECT_FALSE(ar.Failed());
}

TEST_F(VorlanDoc, AFailingSinkStopsTheArchiveAtTheFirstError) {
    f.doc.m_listResult.AppendLine("a\r\n");
    f.doc.m_listResult.AppendLine("b\r\n");
    CFailingSink sink;
    CArchive ar(sink);
    f.doc.SerializeReport(ar);
    EXPECT_TRUE(ar.Failed());
    EXPECT_EQ(sink.calls, 1);
}

TEST_F(VorlanDoc, OpeningASavedReportGivesItsLinesTitledWithItsName) {
    f.doc.CountWords({tree.Write("a.txt", "words here\n")}, "x");
    std::string path = tree.Path("report");
    ASSERT_FALSE(f.doc.OnSaveDocument(path));

    CVorlanDoc opened(f.settings, f.notifier);
    ASSERT_FALSE(opened.OnOpenDocument(path));
    EXPECT_EQ(ReportText(opened), ReportText(f.doc));
    EXPECT_EQ(opened.m_listResult.m_nLines, f.doc.m_listResult.m_nLines);
    EXPECT_EQ(opened.GetTitle(), "report");
    EXPECT_FALSE(opened.IsModified());
    // A count in it is a new report, which Save must not put over the file.
    opened.CountWords({tree.Path("a.txt")}, "x");
    EXPECT_EQ(opened.GetPathName(), "");
}

TEST_F(VorlanDoc, DeleteResultEmptiesTheReportButKeepsTheCounters) {
    CTitleRecorder views;
    f.doc.AddObserver(&views);
    f.doc.CountWords({tree.Write("a.txt", "one two two\n")}, "x");
    ASSERT_TRUE(f.doc.IsModified());
    f.doc.DeleteResult();
    f.doc.RemoveObserver(&views);
    EXPECT_EQ(f.doc.m_listResult.m_nLines, 0);
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_EQ(f.doc.m_nTotalWords, 3);
    EXPECT_EQ(f.doc.m_nDifferentWords, 2);
    EXPECT_EQ(views.updates, 1);
}

// One entry of the file list may stand for a descriptor the front end holds
// (standard input); the other entries, even one whose path is that name in
// another form, are opened by path as before.
TEST_F(VorlanDoc, ADescriptorEntryReadsItsDescriptorAmongListedFiles) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string piped = "alpha beta\r\nalpha\n";
    ASSERT_EQ(::write(fds[1], piped.data(), piped.size()), static_cast<ssize_t>(piped.size()));
    ::close(fds[1]);
    std::string listed = tree.Write("f.txt", "beta gamma\n");
    f.settings.Set("Sort", "abc", 1);
    f.doc.SetDescriptorEntry("(in)", fds[0]);
    f.doc.CountWords({"(in)", listed, tree.Path("(in)")}, "(in)");
    ::close(fds[0]);
    EXPECT_EQ(f.doc.m_nFilesProcessed, 2);
    EXPECT_EQ(f.notifier.messages,
              std::vector<std::string>{"Failed to open " + Upper(tree.Path("(in)")) + "(--;)"});
    std::vector<std::string> lines = ReportLines(f.doc);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "=====[ (IN) ]=====\r\n");
    EXPECT_EQ(lines[1], WordLine(2, "alpha"));
    EXPECT_EQ(lines[2], WordLine(2, "beta"));
    EXPECT_EQ(lines[3], WordLine(1, "gamma"));
}

} // namespace
