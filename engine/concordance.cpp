#include "engine/concordance.h"

#include "engine/count_input.h"
#include "engine/count_notifier.h"
#include "engine/line_counter.h"
#include "engine/report_format.h"
#include "engine/scan_progress.h"
#include "engine/segment.h"
#include "engine/vorlan_doc.h"
#include "filters/dehtml_string.h"
#include "filters/exclude_list.h"
#include "platform/event_pump.h"
#include "settings/setting_keys.h"

#include <cstring>
#include <memory>

// The buffers of one run: the line the tokenizer cuts up, an intact copy of
// it that the words and the context are shown from, and the HTML filter,
// whose state carries from file to file as in a count.
struct CConcordance::CRunBuffers {
    CLineBuffer line;
    char copy[kScanLineBufferSize];
    CDehtmlString dehtml;
    CScanProgress progress;
};

ConcordanceReading ReadConcordanceReading(const CSettingsStore& settings) {
    using namespace setting_keys;
    ConcordanceReading reading;
    reading.variant = {IsOn(settings, kDeHtml), IsOn(settings, kTail)};
    reading.bExcludeBinary = GetFlagValue(settings, kBinary) == 1;
    reading.nEncoding = GetInt(settings, kEncoding);
    return reading;
}

bool IsSingleWord(std::string_view word, bool utf8) {
    if (word.empty() || word.size() >= kScanLineBufferSize ||
        word.find('\0') != std::string_view::npos)
        return false;
    std::string text(word);
    CLineTokenizer tokenizer(utf8);
    const char* first = tokenizer.First(text.data());
    return first && first == text.data() && std::string_view(first) == word && !tokenizer.Next();
}

// The hooks of the line loop for one file: the line and column bookkeeping,
// the preparation the count does, and the comparison of every word.
class CConcordance::CFileReader {
  public:
    CFileReader(CConcordance& owner, CRunBuffers& buffers, const ConcordanceLine& where,
                std::string_view word, bool utf8, IConcordanceSink& sink)
        : m_owner(owner), m_buffers(buffers), m_line(where), m_word(word),
          m_tokenizer(owner.m_segmentation.MakeTokenizer(utf8)), m_sink(sink),
          m_bEveryLine(sink.WantsEveryLine()) {}

    bool Stop() const { return m_owner.m_quit == 1; }
    void Between(const CTextLineReader& reader) {
        if (m_buffers.progress.Due()) [[unlikely]]
            m_buffers.progress.Report(m_owner.m_outcome.nTotalWords, reader);
    }
    bool Prepare(char* text, std::size_t length);
    static void Ahead(std::string_view) {} // nothing to load ahead: no table
    bool Count(char* text);
    void After() const { PumpMessages(); }

  private:
    template <bool kSplits> void TakeWords(char* text);

    CConcordance& m_owner;
    CRunBuffers& m_buffers;
    ConcordanceLine m_line;
    std::string_view m_word;
    CLineTokenizer m_tokenizer;
    IConcordanceSink& m_sink;
    bool m_bEveryLine;
    bool m_bLineEnded = true;    // the piece before ended its physical line
    std::uint64_t m_nColumn = 0; // bytes of the physical line before the next piece
    std::vector<std::string_view> m_words;
    std::vector<std::string_view> m_forms; // filled only when they may differ from the words
    std::vector<std::uint32_t> m_hits;
};

// Keeps the place of the piece in its physical line before the count's
// preparation changes it: a piece that ends with a line feed ends its line;
// the next piece of the same line starts where this one ends, after tag
// removal when tags are removed.
bool CConcordance::CFileReader::Prepare(char* text, std::size_t length) {
    if (m_bLineEnded) {
        ++m_line.nLine;
        m_nColumn = 0;
    }
    m_line.nPieceColumn = m_nColumn;
    m_bLineEnded = length > 0 && text[length - 1] == '\n';
    const auto before = static_cast<std::size_t>(text - m_buffers.line.line);
    if (m_owner.m_reading.variant.stripHtml) {
        m_buffers.dehtml.StripTags(text, text);
        m_nColumn += before + std::strlen(text);
        return text[0] != '\0';
    }
    m_nColumn += before + length;
    return line_counter::TrimLine(text, length);
}

// Each word is shown from the intact copy, at the place it was read from;
// only a tokenizer that splits by dictionary can read a word from bytes
// other than its own, so only such a one pays for asking.
template <bool kSplits> void CConcordance::CFileReader::TakeWords(char* text) {
    const char* const base = m_buffers.line.line;
    for (char* w = m_tokenizer.First(text); w; w = m_tokenizer.Next()) {
        const std::size_t n = std::strlen(w);
        if (n == m_word.size() && FoldedEqual(w, m_word.data(), n))
            m_hits.push_back(static_cast<std::uint32_t>(m_words.size()));
        if constexpr (kSplits) {
            const std::string_view surface = m_tokenizer.Surface(w, n);
            m_words.emplace_back(m_buffers.copy + (surface.data() - base), surface.size());
            m_forms.emplace_back(w, n);
        } else {
            m_words.emplace_back(m_buffers.copy + (w - base), n);
        }
    }
}

bool CConcordance::CFileReader::Count(char* text) {
    char* const base = m_buffers.line.line;
    const std::size_t end = static_cast<std::size_t>(text - base) + std::strlen(text);
    std::memcpy(m_buffers.copy, base, end);
    const bool splits = m_tokenizer.Splits();
    m_words.clear();
    m_forms.clear();
    m_hits.clear();
    if (splits)
        TakeWords<true>(text);
    else
        TakeWords<false>(text);
    m_owner.m_outcome.nTotalWords += static_cast<std::int64_t>(m_words.size());
    m_owner.m_outcome.nHits += static_cast<std::int64_t>(m_hits.size());
    if (m_hits.empty() && !(m_bEveryLine && !m_words.empty()))
        return true;
    m_line.text = std::string_view(m_buffers.copy, end);
    m_line.words = m_words;
    m_line.forms = splits ? std::span<const std::string_view>(m_forms) : m_line.words;
    m_line.hits = m_hits;
    m_sink.OnLine(m_line);
    return true;
}

CConcordance::CConcordance(const CCountInput& input, ICountNotifier& notifier,
                           const CExcludeList& exclude, const ConcordanceReading& reading,
                           const CSegmentation& segmentation, const int& quit)
    : m_input(input), m_notifier(notifier), m_exclude(exclude), m_reading(reading),
      m_segmentation(segmentation), m_quit(quit) {}

ConcordanceOutcome CConcordance::Run(const std::vector<std::string>& files,
                                     const ConcordanceWord& word, IConcordanceSink& sink) {
    m_outcome = {};
    auto buffers = std::make_unique<CRunBuffers>();
    buffers->dehtml.Reset();
    buffers->progress.Start(m_notifier, files, 0);
    for (std::size_t i = 0; i < files.size() && m_quit != 1; ++i) {
        buffers->progress.NextFile();
        if (m_reading.bExcludeBinary && m_exclude.IsExcluded(UpperCased(files[i]).c_str()))
            continue;
        ReadFile(i, files[i], word, sink, *buffers);
    }
    m_outcome.bStopped = m_quit == 1;
    buffers->progress.Finish(m_outcome.nTotalWords, !m_outcome.bStopped);
    return m_outcome;
}

void CConcordance::ReadFile(std::size_t nFile, const std::string& path, const ConcordanceWord& word,
                            IConcordanceSink& sink, CRunBuffers& buffers) {
    CTextLineReader reader;
    if (!m_input.Open(reader, path)) {
        Fail(FileFailure::open, path);
        return;
    }
    ++m_outcome.nFilesProcessed;
    const bool utf8 = m_input.ReadsAsUtf8(m_reading.nEncoding, path);
    buffers.progress.Report(m_outcome.nTotalWords, reader);
    ConcordanceLine where;
    where.nFile = nFile;
    where.pPath = &path;
    CFileReader hooks(*this, buffers, where, utf8 ? word.utf8 : word.bytes, utf8, sink);
    CountLinesOfFile(reader, buffers.line, utf8, hooks);
    if (reader.Failed())
        Fail(FileFailure::read, path);
}

void CConcordance::Fail(FileFailure failure, const std::string& path) {
    m_outcome.failedFiles.push_back(path);
    m_notifier.ShowMessage(
        CVorlanDoc::FailureMessage(failure, UpperCased(path), m_reading.variant));
}
