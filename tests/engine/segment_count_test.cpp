// Counts by dictionary against the mecab command: the words and counts of a
// count equal what the command gives for the same classic words handed to
// it one by one, symbols dropped; on one thread or several, in any order;
// and UTF-8 text counts as its Shift-JIS conversion does.
#include "count_fixture.h"

#include "engine/segment.h"
#include "engine/segment_codec.h"
#include "tesmo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Words with the bytes A-Z folded, as the word table tells words apart (in
// Shift-JIS a second byte folds too), or as the report shows them.
using Counts = std::map<std::string, unsigned long>;

const std::string kData = VORLAN_SOURCE_DIR "/tests/data/segment/";

std::string Folded(std::string word) {
    for (char& c : word)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return word;
}

// The word lines of a report: between the header and the separator.
Counts ReportCounts(const std::vector<std::string>& lines, bool fold) {
    Counts counts;
    for (std::size_t i = 1; i < lines.size() && lines[i][0] != '='; ++i) {
        const std::size_t colon = lines[i].find(" : ");
        const std::string word = lines[i].substr(colon + 3, lines[i].size() - colon - 5);
        counts[fold ? Folded(word) : word] += std::stoul(lines[i].substr(0, colon));
    }
    return counts;
}

struct CountSetup {
    SegmentMode mode;
    unsigned threads; // several cut the files into parts of a few hundred bytes
    bool tail;
    bool utf8;
};

Counts CountFiles(const std::vector<std::string>& files, const CountSetup& setup,
                  bool fold = true) {
    CountFixture f;
    f.settings.Set("Option", "Segment", setup.mode);
    f.settings.Set("Option", "Encoding", setup.utf8 ? 1 : 0);
    f.settings.Set("Sort", "Tail", setup.tail ? 1 : 0);
    ScanThreads threads;
    threads.nThreads = setup.threads;
    threads.nMinListBytes = 0;
    threads.nMinPartBytes = 300;
    f.doc.SetScanThreads(threads);
    f.doc.CountWords(files, "x");
    EXPECT_TRUE(f.notifier.messages.empty()) << f.notifier.messages[0];
    return ReportCounts(ReportLines(f.doc), fold);
}

// The classic words of a Shift-JIS file, as the count takes them from its
// lines: ASCII ones counted here, the others listed one per line in words.
void ClassicWords(const std::string& path, Counts& counts, std::string& words) {
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        strword_state state{};
        for (char* w = strword_r(line.data(), &state); w; w = strword_r(nullptr, &state)) {
            const std::string word = w;
            if (word.empty())
                continue;
            if (std::any_of(word.begin(), word.end(), [](char c) { return c & 0x80; }))
                words += word + "\n";
            else
                ++counts[Folded(word)];
        }
    }
}

// What the mecab command gives for the classic words of a Shift-JIS file,
// each handed to it alone, converted with the iconv command both ways.
Counts CommandCounts(const std::string& path, bool baseForms) {
    Counts counts;
    std::string words;
    ClassicWords(path, counts, words);
    CTempTree tree;
    const std::string list = tree.Write("words.txt", words);
    const std::string dic = MecabPlace{}.strDictionary;
    const std::string command = "iconv -f CP932 -t UTF-8 " + list + " | mecab -r " + dic +
                                "/dicrc -d " + dic + " | iconv -f UTF-8 -t CP932";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char piece[4096];
    for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, pipe)) > 0;)
        output.append(piece, n);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    const std::string symbol = "\x8B\x4C\x8D\x86"; // 記号 in code page 932
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue; // EOS
        std::vector<std::string> fields;
        std::istringstream feature(line.substr(tab + 1));
        for (std::string field; std::getline(feature, field, ',');)
            fields.push_back(field);
        if (fields[0] == symbol)
            continue;
        const bool hasBase = baseForms && fields.size() > 6 && fields[6] != "*";
        ++counts[Folded(hasBase ? fields[6] : line.substr(0, tab))];
    }
    return counts;
}

class SegmentCountTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!CSegmentation(kSegmentByDictionary).Ready() ||
            std::system("command -v mecab >/dev/null && command -v iconv >/dev/null") != 0)
            GTEST_SKIP() << "MeCab, its UTF-8 dictionary or the mecab command is not installed";
    }
};

TEST_F(SegmentCountTest, countsEqualTheMecabCommandOnTheSameClassicWords) {
    const struct {
        const char* file;
        CountSetup setup;
    } cases[] = {
        {"japanese_prose.sjis.txt", {kSegmentByDictionary, 1, false, false}},
        {"japanese_prose.sjis.txt", {kSegmentBaseForms, 2, false, false}},
        {"japanese_prose.sjis.txt", {kSegmentByDictionary, 2, true, false}},
        {"japanese_spaced.sjis.txt", {kSegmentBaseForms, 1, true, false}},
    };
    for (const auto& c : cases) {
        const std::string path = kData + c.file;
        EXPECT_EQ(CountFiles({path, path}, c.setup),
                  [&] {
                      Counts twice = CommandCounts(path, c.setup.mode == kSegmentBaseForms);
                      for (auto& [word, n] : twice)
                          n *= 2;
                      return twice;
                  }())
            << c.file << " mode " << c.setup.mode << ", " << c.setup.threads << " threads";
    }
}

TEST_F(SegmentCountTest, utf8TextCountsAsItsShiftJisConversion) {
    for (const SegmentMode mode : {kSegmentByDictionary, kSegmentBaseForms}) {
        const Counts sjis =
            CountFiles({kData + "japanese_spaced.sjis.txt"}, {mode, 1, false, false}, false);
        Counts converted;
        CCp932Codec codec;
        for (const auto& [word, n] : sjis) {
            std::string utf8;
            ASSERT_TRUE(codec.ToUtf8(word, utf8)) << word;
            converted[utf8] += n;
        }
        EXPECT_EQ(CountFiles({kData + "japanese_spaced.utf8.txt"}, {mode, 2, false, true}, false),
                  converted)
            << "mode " << mode;
    }
}

} // namespace
