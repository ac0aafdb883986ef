#include "engine/scan.h"

#include "engine/count_notifier.h"
#include "engine/line_counter.h"
#include "engine/scan_progress.h"
#include "engine/text_encoding.h"
#include "engine/vorlan_doc.h"
#include "filters/dehtml_string.h"
#include "platform/event_pump.h"
#include "platform/line_reader.h"

#include "tesmo.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

const ScanVariant kScanPlain{false, false, "%ld words counted.", "(--;)"};
const ScanVariant kScanByEndings{false, true, "%ld words counted", " (--;)"};
const ScanVariant kScanHtml{true, false, "%ld words are counted.", "(--;)"};
const ScanVariant kScanHtmlByEndings{true, true, "%ld words are counted", "(--;)"};

// The fixed buffers of one scan, so that reading a line allocates nothing.
// The HTML filter lives here too: its state carries from file to file. It
// filters in place, since its output is never longer than its input.
class CScanBuffers {
  public:
    CLineBuffer buffer;
    CDehtmlString dehtml;
    CScanProgress progress;
};

void CVorlanDoc::ScanFiles(const std::vector<std::string>& files) {
    ScanFileList(files, kScanPlain);
}

void CVorlanDoc::ScanFilesByEndings(const std::vector<std::string>& files) {
    ScanFileList(files, kScanByEndings);
}

void CVorlanDoc::ScanHtmlFiles(const std::vector<std::string>& files) {
    ScanFileList(files, kScanHtml);
}

void CVorlanDoc::ScanHtmlFilesByEndings(const std::vector<std::string>& files) {
    ScanFileList(files, kScanHtmlByEndings);
}

void CVorlanDoc::ScanFileList(const std::vector<std::string>& files, const ScanVariant& variant) {
    m_bOutOfMemory = false;
    auto buffers = std::make_unique<CScanBuffers>();
    if (variant.stripHtml)
        buffers->dehtml.Reset();
    buffers->progress.Start(m_notifier, files, m_nTotalWords);
    // The upper-cased path is what the exclusion list sees and what a
    // message shows; the file itself is opened under its listed name, since
    // this file system tells letter case apart.
    std::vector<bool> counted(files.size(), true);
    if (m_bExcludeBinary == 1) {
        for (std::size_t i = 0; i < files.size(); ++i)
            counted[i] = !m_listExclude.IsExcluded(UpperPath(files[i]).c_str());
    }
    // The HTML filter carries its state from line to line and file to file,
    // and a descriptor can only be read in one go: those lists are read in
    // order on this thread.
    if (!variant.stripHtml && m_strDescriptorEntry.empty() &&
        ScanInParts(files, counted, variant, buffers->progress))
        return;
    for (std::size_t i = 0; i < files.size(); ++i) {
        buffers->progress.NextFile();
        if (counted[i])
            ScanOneFile(files[i].c_str(), UpperPath(files[i]), variant, *buffers);
        if (m_bQuit == 1 || m_bOutOfMemory)
            break;
    }
    buffers->progress.Finish(m_nTotalWords, m_bQuit != 1 && !m_bOutOfMemory);
}

std::string CVorlanDoc::UpperPath(const std::string& path) {
    std::string upper = path;
    mbstrupr(upper.data());
    return upper;
}

// The hooks of the document's own line loop: the quit flag, progress, the
// HTML filter or trimming, the word table, and the event pump.
class CVorlanDoc::CScanHooks {
  public:
    CScanHooks(CVorlanDoc& doc, const ScanVariant& variant, CScanBuffers& buffers, bool utf8)
        : m_doc(doc), m_variant(variant), m_buffers(buffers), m_tokenizer(utf8) {}
    bool Stop() const { return m_doc.m_bQuit == 1; }
    void Between(const CTextLineReader& reader) {
        if (m_buffers.progress.Due()) [[unlikely]]
            m_buffers.progress.Report(m_doc.m_nTotalWords, reader);
    }
    bool Prepare(char* text, std::size_t length) {
        if (m_variant.stripHtml)
            return m_buffers.dehtml.StripTags(text, text)[0] != '\0';
        return line_counter::TrimLine(text, length);
    }
    bool Count(char* text) {
        if (m_variant.reverseWords)
            m_doc.CountLine<true>(text, m_tokenizer, m_variant);
        else
            m_doc.CountLine<false>(text, m_tokenizer, m_variant);
        return !m_doc.m_bOutOfMemory;
    }
    void After() const { PumpMessages(); }

  private:
    CVorlanDoc& m_doc;
    const ScanVariant& m_variant;
    CScanBuffers& m_buffers;
    CLineTokenizer m_tokenizer;
};

void CVorlanDoc::ScanOneFile(const char* path, const std::string& upperPath,
                             const ScanVariant& variant, CScanBuffers& buffers) {
    CTextLineReader reader;
    if (!OpenInput(reader, path)) {
        ReportOpenFailure(upperPath, variant);
        return;
    }
    m_bCounting = 1;
    m_bQuit = 0;
    ++m_nFilesProcessed;
    const bool utf8 = ReadsAsUtf8(path);
    m_bUtf8Report = m_bUtf8Report || utf8;
    buffers.progress.Report(m_nTotalWords, reader);
    CScanHooks hooks(*this, variant, buffers, utf8);
    CountLinesOfFile(reader, buffers.buffer, utf8, hooks);
    if (reader.Failed())
        ReportReadFailure(upperPath, variant);
}

namespace {

// How many more words until the word total, a 32-bit count that wraps from
// 2^31 - 1 to -2^31, is a multiple of 500 again (as % sees it), which is
// when the title shows it.
std::uint32_t WordsUntilTitle(std::int32_t total) {
    constexpr std::int64_t kEvery = 500;
    constexpr std::int64_t kMax = INT32_MAX;
    const std::int64_t t = total;
    if (t < 0) {
        const std::int64_t r = t % kEvery; // in (-500, 0]
        return static_cast<std::uint32_t>(r == 0 ? kEvery : -r);
    }
    const std::int64_t next = (t / kEvery + 1) * kEvery;
    if (next <= kMax)
        return static_cast<std::uint32_t>(next - t);
    // Past the wrap: the first multiple is the lowest value's distance below.
    constexpr std::int64_t kFromLowest = -(std::int64_t{INT32_MIN} % kEvery);
    return static_cast<std::uint32_t>(kMax - t + 1 + kFromLowest);
}

} // namespace

template <bool kReverse>
void CVorlanDoc::CountLine(char* text, CLineTokenizer& tokenizer, const ScanVariant& variant) {
    // The total lives in a register for the line; m_nTotalWords is brought up
    // to date before the title changes and when the line is done.
    auto total = static_cast<std::uint32_t>(m_nTotalWords);
    std::uint32_t untilTitle = WordsUntilTitle(m_nTotalWords);
    // False when memory ran out: the table is unchanged, the word is not
    // counted and the scan stops; the count run reports what was counted
    // until then.
    const bool counted = CountWordsOfLine<kReverse>(m_wordTree, tokenizer, text, [&] {
        ++total; // wraps instead of overflowing past 2^31 - 1 words
        if (--untilTitle == 0) [[unlikely]] {
            m_nTotalWords = static_cast<std::int32_t>(total);
            ShowWordsTitle(variant, m_nTotalWords);
            untilTitle = WordsUntilTitle(m_nTotalWords);
        }
    });
    if (!counted)
        m_bOutOfMemory = true;
    m_nTotalWords = static_cast<std::int32_t>(total);
}

void CVorlanDoc::ShowWordsTitle(const ScanVariant& variant, std::int32_t words) {
    char title[64];
    std::snprintf(title, sizeof title, variant.progress, static_cast<long>(words));
    SetTitle(title);
}

// Detection reads the file ahead of the scan, which a descriptor entry (a
// pipe, as often as not) cannot offer: it is read as bytes.
bool CVorlanDoc::ReadsAsUtf8(const char* path) const {
    const bool descriptor = !m_strDescriptorEntry.empty() && m_strDescriptorEntry == path;
    if (descriptor)
        return m_nEncoding == kEncodingUtf8;
    return ReadsFileAsUtf8(m_nEncoding, path);
}

void CVorlanDoc::ReportOpenFailure(const std::string& upperPath, const ScanVariant& variant) {
    m_notifier.ShowMessage("Failed to open " + upperPath + variant.failSuffix);
}

// A read error ends the file like its end would: what was read counts, the
// file counts as processed, and the scan goes on with the next one. The user
// is told, since the file was not counted whole.
void CVorlanDoc::ReportReadFailure(const std::string& upperPath, const ScanVariant& variant) {
    m_notifier.ShowMessage("Failed to read " + upperPath + variant.failSuffix);
}
