// The figures a scan reports as it goes: which file of the list it reads and
// how far through the bytes of the whole list it is.
#include "count_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Report {
    std::size_t fileIndex;
    std::size_t fileCount;
    std::string path;
    std::int64_t words;
    std::uint64_t bytesDone;
    std::uint64_t bytesTotal;
};

class CProgressRecorder : public CRecordingNotifier {
  public:
    void OnProgress(const CountProgress& p) override {
        reports.push_back(
            {p.fileIndex, p.fileCount, std::string(p.path), p.words, p.bytesDone, p.bytesTotal});
        if (onReport)
            onReport(reports.back());
    }
    std::vector<Report> reports;
    std::function<void(const Report&)> onReport;
};

// Lines of eight words, 41 bytes each.
std::string Lines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "one two three four five six seven eight\n";
    return text;
}

class ScanProgress : public ::testing::Test {
  protected:
    // What holds for every scan: one count and one total throughout, the
    // bytes never going back or past the total, the words never going back,
    // and the path always that of the file at the reported place.
    void ExpectConsistent(const std::vector<std::string>& files) {
        ASSERT_FALSE(notifier.reports.empty());
        std::uint64_t done = 0;
        std::size_t index = 0;
        std::int64_t words = 0;
        for (const Report& r : notifier.reports) {
            EXPECT_EQ(r.fileCount, files.size());
            EXPECT_EQ(r.bytesTotal, notifier.reports.front().bytesTotal);
            EXPECT_GE(r.bytesDone, done);
            EXPECT_LE(r.bytesDone, r.bytesTotal);
            EXPECT_GE(r.fileIndex, index);
            EXPECT_GE(r.words, words);
            if (r.fileIndex > 0) {
                ASSERT_LE(r.fileIndex, files.size());
                EXPECT_EQ(r.path, files[r.fileIndex - 1]);
            }
            done = r.bytesDone;
            index = r.fileIndex;
            words = r.words;
        }
    }
    // The file indexes of the reports, each once, in order.
    std::vector<std::size_t> IndexesSeen() const {
        std::vector<std::size_t> seen;
        for (const Report& r : notifier.reports)
            if (seen.empty() || seen.back() != r.fileIndex)
                seen.push_back(r.fileIndex);
        return seen;
    }

    CTempTree tree;
    CFixtureSettings settings;
    CProgressRecorder notifier;
    CVorlanDoc doc{settings, notifier};
};

TEST_F(ScanProgress, FiguresRunFromTheFirstFileToTheWholeList) {
    const std::string small = Lines(10);
    const std::string large = Lines(20000); // several reports within the file
    const std::string crlf = "a b\r\nc d\r\n";
    std::vector<std::string> files{tree.Write("a.txt", small), tree.Write("b.txt", large),
                                   tree.Write("c.txt", crlf)};
    doc.ScanFiles(files);

    ExpectConsistent(files);
    const std::uint64_t total = small.size() + large.size() + crlf.size();
    EXPECT_EQ(notifier.reports.front().bytesTotal, total);
    EXPECT_EQ(notifier.reports.front().fileIndex, 0u);
    EXPECT_EQ(notifier.reports.front().bytesDone, 0u);
    EXPECT_EQ(IndexesSeen(), (std::vector<std::size_t>{0, 1, 2, 3}));

    const Report& last = notifier.reports.back();
    EXPECT_EQ(last.bytesDone, total);
    EXPECT_EQ(last.words, doc.m_nTotalWords);
    EXPECT_EQ(last.words, 10 * 8 + 20000 * 8 + 4);

    // Within the large file the figures move between its first and last byte.
    int inside = 0;
    for (const Report& r : notifier.reports)
        if (r.fileIndex == 2 && r.bytesDone > small.size() &&
            r.bytesDone < small.size() + large.size())
            ++inside;
    EXPECT_GE(inside, 3);
}

TEST_F(ScanProgress, FilesNotReadStillCountTheirPlaceAndOnlyRegularFilesTheirBytes) {
    const std::string text = Lines(3);
    std::vector<std::string> files{tree.Path("missing.txt"), tree.Write("x.txt", text), tree.Dir(),
                                   tree.Write("y.txt", text)};
    doc.ScanFiles(files);

    ExpectConsistent(files);
    EXPECT_EQ(notifier.messages.size(), 2u); // the missing file and the folder
    EXPECT_EQ(notifier.reports.front().bytesTotal, 2 * text.size());
    EXPECT_EQ(IndexesSeen(), (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_EQ(notifier.reports.back().bytesDone, 2 * text.size());
}

TEST_F(ScanProgress, AStoppedScanEndsShortOfTheTotal) {
    const std::string large = Lines(30000);
    std::vector<std::string> files{tree.Write("a.txt", large), tree.Write("b.txt", large)};
    notifier.onReport = [this](const Report& r) {
        if (r.fileIndex == 1 && r.bytesDone > 0)
            doc.m_bQuit = 1; // as "Quit counting..." would, from an event
    };
    doc.SetScanThreads({}); // one thread: it stops at the line it is on
    doc.ScanFiles(files);

    ExpectConsistent(files);
    const Report& last = notifier.reports.back();
    EXPECT_EQ(last.fileIndex, 1u);
    EXPECT_LT(last.bytesDone, large.size());
    EXPECT_EQ(last.words, doc.m_nTotalWords);
    EXPECT_LT(doc.m_nTotalWords, 30000 * 8);
}

TEST_F(ScanProgress, AnEmptyListReportsNothingToDo) {
    doc.ScanFiles({});
    ASSERT_FALSE(notifier.reports.empty());
    for (const Report& r : notifier.reports) {
        EXPECT_EQ(r.fileCount, 0u);
        EXPECT_EQ(r.bytesTotal, 0u);
        EXPECT_EQ(r.bytesDone, 0u);
    }
}

} // namespace

// A file counted in parts on several threads: the word figure grows with the
// bytes from the first report on, not only as parts are done.
TEST_F(ScanProgress, ASeveralThreadCountShowsTheWordsOfPartsInFlight) {
    const std::vector<std::string> files{tree.Write("big.txt", Lines(400000))};
    ScanThreads threads;
    threads.nThreads = 2;
    threads.nMinListBytes = 0;
    threads.nMinPartBytes = 1 << 20;
    doc.SetScanThreads(threads);
    doc.CountWords(files, "x");
    ExpectConsistent(files);
    for (const Report& r : notifier.reports) {
        if (r.bytesDone > 0) {
            EXPECT_GT(r.words, 0) << r.bytesDone << " of " << r.bytesTotal << " bytes";
        }
    }
    EXPECT_EQ(notifier.reports.back().words, 400000 * 8);
}
