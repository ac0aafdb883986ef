// Counting a list on several threads, in parts: the report, the counters and
// the messages are those of the count on one thread, byte for byte, whatever
// the files hold and however they are cut; a quit keeps a consistent
// beginning of the list.
#include "count_fixture.h"

#include "engine/scan_plan.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Outcome {
    std::string report;
    std::int64_t files = 0, total = 0, different = 0;
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    bool utf8 = false;
    bool operator==(const Outcome& o) const {
        return report == o.report && files == o.files && total == o.total &&
               different == o.different && messages == o.messages && utf8 == o.utf8;
    }
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << o.files << " files, " << o.total << " words, " << o.different << " different, "
        << o.messages.size() << " messages";
}

// Parts of a few hundred bytes, so that small files are cut many times.
ScanThreads Threads(unsigned n) {
    ScanThreads t;
    t.nThreads = n;
    t.nMinListBytes = 0;
    t.nMinPartBytes = 300;
    return t;
}

Outcome Count(const std::vector<std::string>& files, const ScanThreads& threads,
              const std::vector<std::pair<const char*, int>>& keys) {
    CountFixture f;
    for (const auto& [key, value] : keys)
        f.settings.Set(key[0] == 'O' ? "Option" : "Sort", key + 1, value);
    CTitleRecorder titles;
    f.doc.AddObserver(&titles);
    f.doc.SetScanThreads(threads);
    f.doc.CountWords(files, "x");
    f.doc.RemoveObserver(&titles);
    return {ReportText(f.doc),       f.doc.m_nFilesProcessed, f.doc.m_nTotalWords,
            f.doc.m_nDifferentWords, f.notifier.messages,     titles.titles,
            f.doc.m_bUtf8Report};
}

// Lines of words that recur in every letter case, so that which spelling
// is met first decides the report; some lines longer than a line buffer,
// CR LF and LF, the odd NUL byte and tab.
std::string RandomText(std::mt19937& rng, std::size_t lines) {
    static const char* kWords[] = {"alpha", "Beta", "GAMMA", "delta", "it's",
                                   "3.14",  "x",    "yY",    "Zeta",  "\x82\xA0\x82\xA2"};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        const std::size_t n = rng() % 50 == 0 ? 1200 : rng() % 12;
        for (std::size_t w = 0; w < n; ++w) {
            std::string word = kWords[rng() % std::size(kWords)];
            if (rng() % 3 == 0)
                for (char& c : word)
                    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            text += word;
            text += rng() % 9 == 0 ? "\t" : (rng() % 40 == 0 ? std::string(1, '\0') : " ");
        }
        text += rng() % 2 ? "\r\n" : "\n";
    }
    return text;
}

std::string FileName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%02d.txt", i);
    return name;
}

class ScanParts : public ::testing::Test {
  protected:
    // A list with something of everything a scan meets.
    std::vector<std::string> MixedList() {
        std::mt19937 rng(4242);
        std::vector<std::string> files;
        files.push_back(tree.Write("a.txt", RandomText(rng, 400)));
        files.push_back(tree.Path("missing.txt"));
        files.push_back(tree.Write("b.txt", RandomText(rng, 30)));
        files.push_back(tree.Write("empty.txt", ""));
        files.push_back(tree.Write("c.exe", RandomText(rng, 50))); // excluded with Binary
        // A Ctrl-Z in the middle: the parts after it are never read.
        files.push_back(tree.Write("z.txt", RandomText(rng, 200) + "\x1A" + RandomText(rng, 200)));
        std::filesystem::create_directory(tree.Path("dir"));
        files.push_back(tree.Path("dir"));
        std::string utf8 = "\xEF\xBB\xBF"
                           "caf\xC3\xA9 na\xC3\xAFve\n";
        utf8 += RandomText(rng, 100);
        files.push_back(tree.Write("u.txt", utf8));
        files.push_back(tree.Write("d.txt", RandomText(rng, 300)));
        return files;
    }
    CTempTree tree;
};

TEST_F(ScanParts, EveryOrderAndEncodingMatchesTheCountOnOneThread) {
    const std::vector<std::string> files = MixedList();
    const std::vector<std::vector<std::pair<const char*, int>>> settings{
        {{"Sabc", 1}},
        {{"STail", 1}, {"SPercent", 1}},
        {{"SFreq", 1}, {"OBinary", 1}},
        {{"SLowFreq", 1}, {"OEncoding", 2}},
        {{"Sabc", 1}, {"OEncoding", 1}},
    };
    for (const auto& keys : settings) {
        const Outcome one = Count(files, Threads(1), keys);
        ASSERT_GT(one.total, 5000);
        ASSERT_GE(one.messages.size(), 2u); // the missing file and the folder
        for (unsigned n : {2u, 3u, 5u})
            EXPECT_EQ(Count(files, Threads(n), keys), one) << n << " threads, " << keys[0].first;
    }
}

TEST_F(ScanParts, ManySmallFilesKeepListOrder) {
    std::mt19937 rng(7);
    std::vector<std::string> files;
    for (int i = 0; i < 60; ++i)
        files.push_back(tree.Write(FileName(i), RandomText(rng, rng() % 20)));
    files.insert(files.begin() + 30, tree.Path("gone.txt"));
    const Outcome one = Count(files, Threads(1), {{"Sabc", 1}});
    EXPECT_EQ(Count(files, Threads(4), {{"Sabc", 1}}), one);
}

TEST_F(ScanParts, TitlesOnlyShowMultiplesOf500AndEndAsBefore) {
    std::mt19937 rng(11);
    const std::vector<std::string> files{tree.Write("a.txt", RandomText(rng, 2000))};
    const Outcome many = Count(files, Threads(2), {{"Sabc", 1}});
    int counts = 0;
    for (const std::string& title : many.titles) {
        if (title.empty() || title[0] < '0' || title[0] > '9')
            continue;
        ++counts;
        EXPECT_EQ(std::atol(title.c_str()) % 500, 0) << title;
        EXPECT_NE(title.find(" words counted."), std::string::npos) << title;
    }
    EXPECT_GE(counts, 2);
    EXPECT_EQ(many.titles.back(), Count(files, Threads(1), {{"Sabc", 1}}).titles.back());
}

// Sets the quit flag on the nth pump, as the stop command would.
struct QuitOnPump {
    CVorlanDoc* doc;
    int pumpsLeft;
    bool sawCloseRefused = true;
    static void Hook(void* context) {
        auto* q = static_cast<QuitOnPump*>(context);
        q->sawCloseRefused = q->sawCloseRefused && !q->doc->CanCloseFrame();
        if (--q->pumpsLeft == 0)
            q->doc->m_bQuit = 1;
    }
};

TEST_F(ScanParts, QuitStopsPromptlyAndKeepsWhatWasMerged) {
    std::mt19937 rng(3);
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i)
        files.push_back(tree.Write(FileName(i), RandomText(rng, 300)));
    const Outcome whole = Count(files, Threads(1), {{"Sabc", 1}});

    CountFixture f;
    f.settings.Set("Sort", "abc", 1);
    f.doc.SetScanThreads(Threads(2));
    QuitOnPump quit{&f.doc, 3};
    {
        CScopedPumpHook hook(QuitOnPump::Hook, &quit);
        f.doc.CountWords(files, "x");
    }
    EXPECT_TRUE(quit.sawCloseRefused);
    EXPECT_EQ(f.doc.m_bQuit, 1);
    EXPECT_EQ(f.doc.m_bCounting, 0);
    EXPECT_GT(f.doc.m_nTotalWords, 0);
    EXPECT_LT(f.doc.m_nTotalWords, whole.total);
    EXPECT_LT(f.doc.m_nFilesProcessed, whole.files);
    // The report adds up: its word lines count every word counted.
    long sum = 0;
    for (const std::string& line : ReportLines(f.doc)) {
        if (line.find(" : ") == 10 && line.find("Files processed") == std::string::npos &&
            line.find("Total words") == std::string::npos &&
            line.find("Different words") == std::string::npos)
            sum += std::atol(line.c_str());
    }
    EXPECT_EQ(sum, f.doc.m_nTotalWords);
}

// A file renamed over the counted one while its parts are being counted:
// every part reads the file the list named when the count began.
struct RenameOnPump {
    std::string from, to;
    bool done = false;
    static void Hook(void* context) {
        auto* self = static_cast<RenameOnPump*>(context);
        if (!self->done)
            self->done = std::rename(self->from.c_str(), self->to.c_str()) == 0;
    }
};

TEST_F(ScanParts, AFileRenamedOverTheCountedOneIsNotMixedIn) {
    std::string oldText, newText;
    for (int i = 0; i < 1500; ++i) {
        oldText += "oldword\n";
        newText += "newword\n";
    }
    const std::vector<std::string> files{tree.Write("counted.txt", oldText)};
    RenameOnPump rename{tree.Write("new.txt", newText), files[0]};
    CountFixture f;
    f.doc.SetScanThreads(Threads(2)); // some forty parts, a few taken at a time
    {
        CScopedPumpHook hook(RenameOnPump::Hook, &rename);
        f.doc.CountWords(files, "x");
    }
    ASSERT_TRUE(rename.done);
    EXPECT_EQ(f.doc.m_nTotalWords, 1500);
    EXPECT_EQ(f.doc.m_nDifferentWords, 1);
    EXPECT_NE(ReportText(f.doc).find(WordLine(1500, "oldword")), std::string::npos);
}

// ------------------------------------------------------------------ the plan

std::vector<std::uint64_t> Sizes(const std::vector<std::string>& files) {
    std::vector<std::uint64_t> sizes;
    for (const std::string& file : files)
        sizes.push_back(std::filesystem::file_size(file));
    return sizes;
}

TEST(ScanPlan, PartsStartAfterLineFeedsAndCoverTheFile) {
    CTempTree tree;
    std::mt19937 rng(5);
    const std::string text = RandomText(rng, 3000);
    const std::vector<std::string> files{tree.Write("a.txt", text),
                                         tree.Write("oneline.txt", std::string(5000, 'w'))};
    const CScanPlan plan = PlanScanParts(files, {true, true}, Sizes(files), Threads(8));
    const std::vector<ScanPart>& parts = plan.parts;
    ASSERT_GT(parts.size(), 3u);
    std::uint64_t at = 0;
    std::size_t k = 0;
    for (; parts[k].nFile == 0; ++k) {
        EXPECT_EQ(parts[k].nBegin, at);
        EXPECT_EQ(parts[k].bFirst, at == 0);
        if (at > 0) {
            EXPECT_EQ(text[at - 1], '\n');
        }
        if (parts[k].bLast) {
            EXPECT_EQ(parts[k].nEnd, UINT64_MAX);
            break;
        }
        at = parts[k].nEnd;
    }
    // A file without a line feed cannot be cut.
    ASSERT_EQ(parts.size(), k + 2);
    EXPECT_TRUE(parts[k + 1].bFirst && parts[k + 1].bLast);
}

TEST(ScanPlan, SmallListsAndSingleThreadsStayWhole) {
    CTempTree tree;
    const std::vector<std::string> files{tree.Write("a.txt", std::string(1000, '\n')),
                                         tree.Write("b.txt", "x\n")};
    ScanThreads t = Threads(2);
    EXPECT_TRUE(PlanScanParts(files, {true, true}, Sizes(files), Threads(1)).parts.empty());
    t.nMinListBytes = 2000;
    EXPECT_TRUE(PlanScanParts(files, {true, true}, Sizes(files), t).parts.empty());
    // One file left, too small to cut: nothing to share.
    t.nMinListBytes = 0;
    t.nMinPartBytes = 1 << 20;
    EXPECT_TRUE(PlanScanParts(files, {true, false}, Sizes(files), t).parts.empty());
    const CScanPlan plan = PlanScanParts(files, {false, true}, Sizes(files), Threads(2));
    EXPECT_TRUE(plan.parts.empty()); // b.txt alone is one part
}

} // namespace
