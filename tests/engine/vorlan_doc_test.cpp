// The result document: what it saves, what opening a saved report gives, and
// when it refuses to close.
#include "count_fixture.h"

#include <gtest/gtest.h>

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

TEST_F(VorlanDoc, OpeningASavedReportGivesAnEmptyReportTitledWithItsName) {
    f.doc.CountWords({tree.Write("a.txt", "words here\n")}, "x");
    std::string path = tree.Path("report");
    ASSERT_EQ(f.doc.OnSaveDocument(path), 0);

    CVorlanDoc opened(f.settings, f.notifier);
    ASSERT_EQ(opened.OnOpenDocument(path), 0);
    EXPECT_EQ(opened.m_listResult.m_nLines, 0);
    EXPECT_EQ(opened.GetTitle(), "report");
    EXPECT_FALSE(opened.IsModified());
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

} // namespace
