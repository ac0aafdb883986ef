// Files that fight back: giant lines and words, random bytes, files that
// grow, shrink or vanish while a count runs. Each runs a real count on
// files generated here.
#include "count_fixture.h"

#include "engine/file_list.h"
#include "engine/scan.h"
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

constexpr std::size_t kPiece = kScanLineBufferSize - 1;

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Words of a text of letters, spaces and line feeds as the scan sees them: a
// line longer than a piece is read in pieces, and a word cut by a piece
// boundary counts as two.
std::vector<std::string> ModelWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    std::size_t inPiece = 0;
    auto flush = [&] {
        if (!word.empty())
            words.push_back(word);
        word.clear();
    };
    for (char c : text) {
        ++inPiece;
        if (c == ' ' || c == '\n')
            flush();
        else
            word += c;
        if (c == '\n' || inPiece == kPiece) {
            flush();
            inPiece = 0;
        }
    }
    flush();
    return words;
}

struct Totals {
    long total = 0;
    long different = 0;
};

// Checks that the report is whole: the header first, one line per distinct
// word whose counts add up to the total, the totals block last.
Totals CheckReportShape(const CVorlanDoc& doc) {
    std::vector<std::string> lines = ReportLines(doc);
    Totals totals{doc.m_nTotalWords, doc.m_nDifferentWords};
    EXPECT_GE(lines.size(), 4u);
    if (lines.size() < 4)
        return totals;
    EXPECT_TRUE(lines.front().starts_with("=====[ "));
    EXPECT_TRUE(lines.back().ends_with(" : Different words used\r\n"));
    std::size_t separator = lines.size();
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i] == "=========================\r\n")
            separator = i;
    EXPECT_EQ(static_cast<long>(separator) - 1, totals.different);
    unsigned long long sum = 0;
    for (std::size_t i = 1; i < separator; ++i) {
        const std::string& line = lines[i];
        EXPECT_GE(line.size(), 13u + 2u) << "a word line holds a non-empty word";
        sum += std::stoull(line.substr(0, 10));
    }
    EXPECT_EQ(sum, static_cast<unsigned long long>(totals.total));
    return totals;
}

class HostileFile : public ::testing::Test {
  protected:
    void Count(const std::vector<std::string>& files) {
        fx.doc.CountWords(files, tree.Dir() + "*.*");
    }

    CTempTree tree;
    CountFixture fx;
};

// ------------------------------------------------------------ giant lines

TEST_F(HostileFile, SixtyMegabyteLineIsReadInPieces) {
    const std::size_t size = 60u << 20;
    std::string text(size, 'a');
    text += "\nend\n";
    std::string path = tree.Write("line.txt", text);
    text.clear();
    fx.settings.Set("Sort", "abc", 1);
    Count({path});

    const std::size_t full = size / kPiece, rest = size % kPiece;
    EXPECT_EQ(ReportLines(fx.doc),
              (std::vector<std::string>{
                  "=====[ " + Upper(tree.Dir()) + "*.* ]=====\r\n",
                  WordLine(1, std::string(rest, 'a')), WordLine(full, std::string(kPiece, 'a')),
                  WordLine(1, "end"), "=========================\r\n",
                  "     12292 : Total words\r\n", "         3 : Different words used\r\n"}));
    EXPECT_EQ(full + 2, 12292u);
    EXPECT_TRUE(fx.notifier.messages.empty());
}

TEST_F(HostileFile, OneMegabyteWordAmongWords) {
    std::string text = "before " + std::string(1u << 20, 'w') + " after\nnext line\n";
    std::string path = tree.Write("word.txt", text);
    for (int tail = 0; tail <= 1; ++tail) {
        SCOPED_TRACE(tail ? "by endings" : "plain");
        fx.settings.Set("Sort", "Tail", tail);
        Count({path});
        std::vector<std::string> words = ModelWords(text);
        EXPECT_EQ(fx.doc.m_nTotalWords, static_cast<long>(words.size()));
        std::set<std::string> distinct(words.begin(), words.end());
        EXPECT_EQ(fx.doc.m_nDifferentWords, static_cast<long>(distinct.size()));
        EXPECT_EQ(distinct.size(), 7u); // four words and three lengths of w
        Totals totals = CheckReportShape(fx.doc);
        EXPECT_EQ(totals.total, static_cast<long>(words.size()));
        // Printed as counted, also when the table held it reversed.
        std::string report = ReportText(fx.doc);
        EXPECT_NE(report.find(" : before\r\n"), std::string::npos);
        EXPECT_NE(report.find(" : " + std::string(kPiece, 'w') + "\r\n"), std::string::npos);
    }
}

TEST_F(HostileFile, MegabyteTagsAndCommentsAreStrippedAcrossPieces) {
    std::string text = "one <" + std::string(1u << 20, 't') + " x=1> two <!-- " +
                       std::string(1u << 20, 'c') + " --> three\n";
    std::string path = tree.Write("page.html", text);
    fx.settings.Set("Option", "DeHTML", 1);
    fx.settings.Set("Sort", "abc", 1);
    Count({path});
    EXPECT_EQ(ReportLines(fx.doc),
              (std::vector<std::string>{
                  "=====[ " + Upper(tree.Dir()) + "*.* ]=====\r\n", WordLine(1, "one"),
                  WordLine(1, "three"), WordLine(1, "two"), "=========================\r\n",
                  "         3 : Total words\r\n", "         3 : Different words used\r\n"}));
}

// ------------------------------------------------------------ random bytes

class RandomBytes : public HostileFile, public ::testing::WithParamInterface<int> {};

// Every byte value but Ctrl-Z (which would end the file at once): NULs,
// stray lead bytes before line ends, lone CRs, unclosed tags and comments.
TEST_P(RandomBytes, AreCountedIntoAWholeReport) {
    const std::size_t size = kSanitized ? 2u << 20 : 20u << 20;
    std::string bytes(size, '\0');
    std::mt19937_64 random(20261207);
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        std::uint64_t r = random();
        for (int k = 0; k < 8; ++k, r >>= 8)
            bytes[i + k] = static_cast<char>(r & 0xFF);
    }
    for (char& c : bytes)
        if (c == 0x1A)
            c = 0x1B;
    std::string path = tree.Write("random.bin", bytes);
    bytes.clear();
    // The exclusion list would skip a .bin file.
    fx.settings.Set("Option", "Binary", 0);
    fx.settings.Set("Option", "DeHTML", GetParam() & 1);
    fx.settings.Set("Sort", "Tail", GetParam() >> 1);
    Count({path});
    Totals totals = CheckReportShape(fx.doc);
    EXPECT_GT(totals.total, 1000);
    EXPECT_GT(totals.different, 1000);
    EXPECT_TRUE(fx.notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Variants, RandomBytes, ::testing::Values(0, 3), [](const auto& info) {
    return info.param == 0 ? std::string("Plain") : std::string("HtmlByEndings");
});

// ------------------------------------------------------------ changing files

// Runs an action from inside the count, at the n-th event pump call.
struct PumpAction {
    int calls = 0;
    int at = 1;
    std::function<void(int)> action; // given the call number
    static void Hook(void* context) {
        auto* self = static_cast<PumpAction*>(context);
        ++self->calls;
        if (self->calls >= self->at)
            self->action(self->calls);
    }
};

std::string NumberedLines(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "line" + std::to_string(i) + " word\n";
    return text;
}

TEST_F(HostileFile, FileThatGrowsWhileCountedStopsAtItsSizeWhenOpened) {
    const int lines = 2000;
    std::string path = tree.Write("log.txt", NumberedLines(lines));
    // Another program appends a line for every line the count reads: the
    // reader never catches up unless it stops at the size it found.
    PumpAction grow;
    grow.action = [&](int call) {
        FILE* f = std::fopen(path.c_str(), "ab");
        std::fputs("grown words\n", f);
        std::fclose(f);
        if (call > 3 * lines)
            fx.doc.m_bQuit = 1; // the test's own brake
    };
    CScopedPumpHook hook(PumpAction::Hook, &grow);
    Count({path});
    EXPECT_LE(grow.calls, 3 * lines + 1) << "the count only ended by quitting";
    EXPECT_EQ(fx.doc.m_nTotalWords, 2 * lines);
    EXPECT_EQ(fx.doc.m_nDifferentWords, lines + 1);
    EXPECT_EQ(ReportText(fx.doc).find("grown"), std::string::npos);
}

TEST_F(HostileFile, GeneratedFileThatReportsNoSizeIsReadToItsEnd) {
    // Such files say they are empty and are made up as they are read.
    const std::string path = "/proc/self/status";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no " << path << " here";
    fx.settings.Set("Sort", "abc", 1);
    Count({path});
    EXPECT_TRUE(fx.notifier.messages.empty());
    EXPECT_NE(ReportText(fx.doc).find(" : VmHWM\r\n"), std::string::npos);
}

TEST_F(HostileFile, FileThatShrinksWhileCountedEndsEarly) {
    const int lines = 200000; // several reads' worth
    std::string shrinking = tree.Write("a.txt", NumberedLines(lines));
    std::string steady = tree.Write("b.txt", "steady text\n");
    PumpAction truncate;
    truncate.action = [&](int call) {
        if (call == 1) {
            ASSERT_EQ(::truncate(shrinking.c_str(), 0), 0);
        }
    };
    CScopedPumpHook hook(PumpAction::Hook, &truncate);
    Count({shrinking, steady});
    EXPECT_GT(fx.doc.m_nTotalWords, 2);
    EXPECT_LT(fx.doc.m_nTotalWords, 2 * lines);
    EXPECT_EQ(fx.doc.m_nFilesProcessed, 2);
    EXPECT_TRUE(fx.notifier.messages.empty());
    std::string report = ReportText(fx.doc);
    EXPECT_NE(report.find(WordLine(1, "steady")), std::string::npos);
    CheckReportShape(fx.doc);
}

TEST_F(HostileFile, FilesDeletedAfterListingAreReportedAndSkipped) {
    tree.Write("a.txt", "alpha\n");
    tree.Write("b.txt", "beta\n");
    tree.Write("c.txt", "gamma\n");
    tree.Write("d.txt", "delta\n");
    std::vector<std::string> files;
    ASSERT_TRUE(BuildFileList(tree.Dir(), "*.txt", false, files));
    ASSERT_EQ(files.size(), 4u);
    // b goes before the count starts, c while a is being read, and d is
    // replaced by a directory of the same name.
    std::filesystem::remove(tree.Path("b.txt"));
    PumpAction remove;
    remove.action = [&](int call) {
        if (call == 1) {
            std::filesystem::remove(tree.Path("c.txt"));
            std::filesystem::remove(tree.Path("d.txt"));
            std::filesystem::create_directory(tree.Path("d.txt"));
        }
    };
    CScopedPumpHook hook(PumpAction::Hook, &remove);
    fx.settings.Set("Sort", "abc", 1);
    fx.doc.CountWords(files, tree.Dir() + "*.txt");
    EXPECT_EQ(fx.notifier.messages,
              (std::vector<std::string>{"Failed to open " + Upper(tree.Path("b.txt")) + "(--;)",
                                        "Failed to open " + Upper(tree.Path("c.txt")) + "(--;)",
                                        "Failed to open " + Upper(tree.Path("d.txt")) + "(--;)"}));
    EXPECT_EQ(ReportText(fx.doc),
              "=====[ " + Upper(tree.Dir()) + "*.TXT ]=====\r\n" + WordLine(1, "alpha") +
                  "=========================\r\n" + "         1 : Files processed\r\n" +
                  "         1 : Total words\r\n" + "         1 : Different words used\r\n");
}

} // namespace
