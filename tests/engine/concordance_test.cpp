// The concordance reads as the count reads: for every word of a report it
// finds as many occurrences as the report counts, and each occurrence's line
// and column point at its bytes in the file.
#include "count_fixture.h"

#include "engine/concordance.h"
#include "engine/concordance_rows.h"
#include "engine/count_input.h"
#include "engine/segment.h"
#include "engine/segment_codec.h"
#include "engine/word_index.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Hit {
    std::string path;
    std::uint64_t line, column;
    std::string hit, left, right;
};

class CHitRecorder : public IConcordanceSink {
  public:
    explicit CHitRecorder(unsigned context = 2) : m_nContext(context) {}
    void OnLine(const ConcordanceLine& line) override {
        for (std::uint32_t i : line.hits) {
            const KwicRow r = MakeKwicRow(line, i, m_nContext);
            hits.push_back({std::string(r.path), r.nLine, r.nColumn, std::string(r.hit),
                            std::string(r.left), std::string(r.right)});
        }
    }
    std::vector<Hit> hits;

  private:
    unsigned m_nContext;
};

// Words and separators a generated corpus is made of: case variants, words
// the tokenizer keeps whole across punctuation, Shift-JIS characters whose
// trail bytes are letters, and runs of digits that spaces join.
const std::vector<std::string> kWords = {"the",
                                         "The",
                                         "THE",
                                         "LORD",
                                         "lord",
                                         "don't",
                                         "O'Neil",
                                         "3.14",
                                         "10",
                                         "e",
                                         "mail",
                                         "a",
                                         "x'",
                                         "na\xEFve",
                                         "NA\xCFVE",
                                         "\x83\x41\x83\x43",
                                         "\x83\x61\x83\x43",
                                         "\xB1\xB2",
                                         "rock'n'roll"};
const std::vector<std::string> kSeparators = {" ", ", ", ". ", "\t", "  ", "-", " <b>", "</b> "};

std::string GenerateFile(unsigned seed, bool crlf) {
    std::uint32_t x = seed * 2654435761u + 1;
    auto next = [&] { return x = x * 1664525u + 1013904223u, x >> 8; };
    std::string text;
    for (int line = 0; line < 300; ++line) {
        const unsigned words = next() % 50 == 0 ? 2500 : next() % 14; // some lines > 5,119 bytes
        for (unsigned w = 0; w < words; ++w) {
            text += kWords[next() % kWords.size()];
            text += kSeparators[next() % kSeparators.size()];
        }
        if (next() % 5 == 0)
            text += "   ";
        text += crlf ? "\r\n" : "\n";
    }
    return text;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The physical lines of a file as a text-mode reader sees them.
std::vector<std::string> PhysicalLines(const std::string& path) {
    std::string bytes = ReadAll(path);
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

struct Corpus {
    const char* name;
    bool html;
    bool tail;
    friend void PrintTo(const Corpus& c, std::ostream* os) { *os << c.name; }
};

class HitsEqualCounts : public ::testing::TestWithParam<Corpus> {};

TEST_P(HitsEqualCounts, ForEveryWordOfTheReport) {
    CTempTree tree;
    CountFixture f;
    f.settings.Set("Option", "DeHTML", GetParam().html ? 1 : 0);
    f.settings.Set("Sort", "Tail", GetParam().tail ? 1 : 0);
    f.settings.Set("Option", "Binary", 1); // the program file is skipped by both
    const std::vector<std::string> files = {
        tree.Write("a.txt", GenerateFile(1, false)),
        tree.Write("b.txt", GenerateFile(2, true) + "the LORD\x1A the the"),
        tree.Write("c.exe", "the LORD the\n"),
    };
    f.doc.CountWords(files, tree.Path("*.txt"));
    std::vector<std::vector<std::string>> lines;
    for (const std::string& path : files)
        lines.push_back(PhysicalLines(path));

    CCountInput input;
    const int quit = 0;
    const CSegmentation byType(kSegmentByType);
    CConcordance concordance(input, f.notifier, f.doc.m_listExclude,
                             ReadConcordanceReading(f.settings), byType, quit);
    int words = 0;
    for (const auto* node = f.doc.m_listResult.m_pHead; node; node = node->m_pNextNode) {
        if (!node->IsWordLine())
            continue;
        ++words;
        const std::string word(node->Word());
        CHitRecorder sink;
        const ConcordanceOutcome outcome = concordance.Run(files, {word, word}, sink);
        ASSERT_EQ(outcome.nHits, static_cast<std::int64_t>(node->WordCount())) << word;
        ASSERT_EQ(outcome.nTotalWords, f.doc.m_nTotalWords);
        if (GetParam().html)
            continue; // columns count the line after its tags are removed
        for (const Hit& h : sink.hits) {
            ASSERT_NE(h.path, files[2]);
            const std::size_t file = h.path == files[0] ? 0 : 1;
            ASSERT_LE(h.line, lines[file].size());
            const std::string& text = lines[file][h.line - 1];
            ASSERT_LE(h.column - 1 + h.hit.size(), text.size());
            EXPECT_EQ(text.substr(h.column - 1, h.hit.size()), h.hit) << word;
            EXPECT_TRUE(FoldedEqual(h.hit.data(), word.data(), word.size()));
        }
    }
    EXPECT_GT(words, 15) << "words: " << words;
    EXPECT_TRUE(f.notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Corpora, HitsEqualCounts,
                         ::testing::Values(Corpus{"english_and_shift_jis", false, false},
                                           Corpus{"by_endings", false, true},
                                           Corpus{"html", true, false}));

// By dictionary a hit is a word the analyser found: its column and bytes are
// those of its surface in the file (行っ for the base form 行く), symbols and
// spaces the analyser passed over counted in, in the file's own encoding.
TEST(Concordance, HitsFollowTheCountByDictionary) {
    if (!CSegmentation(kSegmentByDictionary).Ready())
        GTEST_SKIP() << "MeCab or its UTF-8 dictionary is not installed";
    const std::string data = VORLAN_SOURCE_DIR "/tests/data/segment/";
    CTempTree tree;
    std::string prose;
    ASSERT_TRUE(CCp932Codec().ToUtf8(ReadAll(data + "japanese_prose.sjis.txt"), prose));
    const std::vector<std::string> inEncoding[2] = {
        {data + "japanese_prose.sjis.txt", data + "japanese_spaced.sjis.txt"},
        {data + "japanese_spaced.utf8.txt", tree.Write("prose.utf8.txt", prose)}};
    const std::string iku = "\xE8\xA1\x8C\xE3\x81\x8F", itt = "\xE8\xA1\x8C\xE3\x81\xA3";
    for (const SegmentMode mode : {kSegmentByDictionary, kSegmentBaseForms}) {
        for (const int utf8 : {0, 1}) {
            const std::vector<std::string>& files = inEncoding[utf8];
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", utf8 " << utf8);
            CountFixture f;
            f.settings.Set("Option", "Segment", mode);
            f.settings.Set("Option", "Encoding", utf8);
            f.doc.CountWords(files, "x");
            const CSegmentation segmentation(f.settings);
            CCountInput input;
            const int quit = 0;
            CConcordance concordance(input, f.notifier, f.doc.m_listExclude,
                                     ReadConcordanceReading(f.settings), segmentation, quit);
            const std::vector<std::string> lines[2] = {PhysicalLines(files[0]),
                                                       PhysicalLines(files[1])};
            int surfaces = 0; // hits whose bytes are not the word looked for
            for (const auto* node = f.doc.m_listResult.m_pHead; node; node = node->m_pNextNode) {
                if (!node->IsWordLine())
                    continue;
                const std::string word(node->Word());
                CHitRecorder sink;
                const ConcordanceOutcome outcome = concordance.Run(files, {word, word}, sink);
                ASSERT_EQ(outcome.nHits, static_cast<std::int64_t>(node->WordCount())) << word;
                for (const Hit& h : sink.hits) {
                    const std::string& text = lines[h.path == files[0] ? 0 : 1][h.line - 1];
                    ASSERT_LE(h.column - 1 + h.hit.size(), text.size()) << word;
                    EXPECT_EQ(text.substr(h.column - 1, h.hit.size()), h.hit) << word;
                    surfaces += h.hit.size() != word.size() ||
                                !FoldedEqual(h.hit.data(), word.data(), word.size());
                }
                if (utf8 && word == iku) {
                    ASSERT_EQ(mode, kSegmentBaseForms);
                    EXPECT_EQ(sink.hits.at(0).hit, itt);
                }
            }
            EXPECT_EQ(surfaces > 0, mode == kSegmentBaseForms);
            EXPECT_TRUE(f.notifier.messages.empty());
        }
    }
}

// Context, columns and failures on small files whose answers can be read off.
TEST(Concordance, ContextStaysWithinTheLineAndKeepsPunctuation) {
    CTempTree tree;
    CountFixture f;
    const std::string path = tree.Write("k.txt", "And God said, Let there be light: and there "
                                                 "was light.\nlight\n");
    CCountInput input;
    const int quit = 0;
    const CSegmentation byType(kSegmentByType);
    CConcordance concordance(input, f.notifier, f.doc.m_listExclude, {}, byType, quit);
    CHitRecorder two(2), none(0);
    concordance.Run({path}, {"LIGHT", "LIGHT"}, two);
    concordance.Run({path}, {"LIGHT", "LIGHT"}, none);
    ASSERT_EQ(two.hits.size(), 3u);
    EXPECT_EQ(two.hits[0].left, "there be");
    EXPECT_EQ(two.hits[0].right, ": and there");
    EXPECT_EQ(two.hits[0].column, 28u);
    EXPECT_EQ(two.hits[1].left, "there was");
    EXPECT_EQ(two.hits[1].right, "");
    EXPECT_EQ(two.hits[2].line, 2u);
    EXPECT_EQ(two.hits[2].left, "");
    EXPECT_EQ(none.hits[0].left + none.hits[0].right, "");
}

TEST(Concordance, ColumnsCountAcrossPiecesAndAfterTagsAndMark) {
    CTempTree tree;
    CountFixture f;
    const std::string longLine = std::string(6000, 'x') + " word\n";
    const std::string plain = tree.Write("p.txt", longLine);
    const std::string html = tree.Write("h.html", "<p>a <b>word</b></p>\n");
    const std::string marked = tree.Write("m.txt", "\xEF\xBB\xBFword \xC3\xA9t\xC3\xA9\n");
    CCountInput input;
    const int quit = 0;
    const CSegmentation byType(kSegmentByType);
    ConcordanceReading reading;
    CConcordance concordance(input, f.notifier, f.doc.m_listExclude, reading, byType, quit);
    CHitRecorder sink;
    concordance.Run({plain}, {"word", "word"}, sink);
    reading.variant.stripHtml = true;
    CConcordance stripping(input, f.notifier, f.doc.m_listExclude, reading, byType, quit);
    stripping.Run({html}, {"word", "word"}, sink);
    reading = {kScanPlain, false, 1};
    CConcordance utf8(input, f.notifier, f.doc.m_listExclude, reading, byType, quit);
    utf8.Run({marked}, {"word", "word"}, sink);
    ASSERT_EQ(sink.hits.size(), 3u);
    EXPECT_EQ(sink.hits[0].column, 6002u); // a 5,119-byte piece, then the rest of the line
    EXPECT_EQ(sink.hits[1].column, 3u);    // "a word" once the tags are gone
    EXPECT_EQ(sink.hits[2].column, 4u);    // the byte-order mark is in the file
}

TEST(Concordance, FailuresAreToldAsTheCountTellsThem) {
    CTempTree tree;
    CountFixture f;
    CCountInput input;
    const int quit = 0;
    const CSegmentation byType(kSegmentByType);
    CConcordance concordance(input, f.notifier, f.doc.m_listExclude, {}, byType, quit);
    CHitRecorder sink;
    const ConcordanceOutcome outcome =
        concordance.Run({tree.Path("missing.txt")}, {"a", "a"}, sink);
    ASSERT_EQ(outcome.failedFiles.size(), 1u);
    ASSERT_EQ(f.notifier.messages.size(), 1u);
    EXPECT_EQ(f.notifier.messages[0].rfind("Failed to open ", 0), 0u);
}

TEST(Concordance, OnlyWholeWordsCanBeLookedFor) {
    struct Case {
        const char* word;
        bool single;
    };
    for (const Case& c :
         {Case{"don't", true}, Case{"3.14", true}, Case{"10 20", true}, Case{"a b", false},
          Case{"", false}, Case{"   ", false}, Case{"word,", false}, Case{"'x", false}})
        EXPECT_EQ(IsSingleWord(c.word, false), c.single) << c.word;
}

} // namespace
