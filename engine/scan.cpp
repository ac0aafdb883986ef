#include "engine/scan.h"

#include "engine/count_notifier.h"
#include "engine/scan_progress.h"
#include "engine/vorlan_doc.h"
#include "filters/dehtml_string.h"
#include "platform/event_pump.h"
#include "platform/line_reader.h"

#include "tesmo.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

const ScanVariant kScanPlain{false, false, "%ld words counted.", "(--;)"};
const ScanVariant kScanByEndings{false, true, "%ld words counted", " (--;)"};
const ScanVariant kScanHtml{true, false, "%ld words are counted.", "(--;)"};
const ScanVariant kScanHtmlByEndings{true, true, "%ld words are counted", "(--;)"};

// The fixed buffer of one scan, so that reading a line allocates nothing.
// The HTML filter lives here too: its state carries from file to file. It
// filters in place, since its output is never longer than its input.
class CScanBuffers {
  public:
    char line[kScanLineBufferSize];
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
    std::string upper;
    for (const std::string& path : files) {
        buffers->progress.NextFile();
        // The upper-cased copy is what the exclusion list sees and what a
        // message shows; the file itself is opened under its listed name,
        // since this file system tells letter case apart.
        upper = path;
        mbstrupr(upper.data());
        bool excluded = m_bExcludeBinary == 1 && m_listExclude.IsExcluded(upper.c_str());
        if (!excluded)
            ScanOneFile(path.c_str(), upper, variant, *buffers);
        if (m_bQuit == 1 || m_bOutOfMemory)
            break;
    }
    buffers->progress.Finish(m_nTotalWords, m_bQuit != 1 && !m_bOutOfMemory);
}

namespace {

// Drops the line feed and then trailing spaces (tabs stay: the tokenizer
// splits at them anyway). Returns false when nothing is left.
bool TrimLine(char* line) {
    std::size_t n = std::strlen(line);
    if (n > 0 && line[n - 1] == '\n')
        line[--n] = '\0';
    while (n > 0 && line[n - 1] == ' ')
        line[--n] = '\0';
    return n > 0;
}

} // namespace

void CVorlanDoc::ScanOneFile(const char* path, const std::string& upperPath,
                             const ScanVariant& variant, CScanBuffers& buffers) {
    CTextLineReader reader;
    if (!reader.Open(path)) {
        ReportOpenFailure(upperPath, variant);
        return;
    }
    m_bCounting = 1;
    m_bQuit = 0;
    ++m_nFilesProcessed;
    buffers.progress.Report(m_nTotalWords, reader);

    while (reader.ReadLine(buffers.line, kScanLineBufferSize)) {
        if (m_bQuit == 1)
            break; // the line just read is not counted
        if (buffers.progress.Due()) [[unlikely]]
            buffers.progress.Report(m_nTotalWords, reader);
        char* text = buffers.line;
        if (variant.stripHtml) {
            if (buffers.dehtml.StripTags(text, text)[0] == '\0')
                continue;
        } else if (!TrimLine(text)) {
            continue;
        }
        CountLine(text, variant);
        if (m_bOutOfMemory)
            break;
        // Only after the line's last word: strword keeps its place in the
        // line process-wide, and an event handler might tokenize too.
        PumpMessages();
    }
    if (reader.Failed())
        ReportReadFailure(upperPath, variant);
}

void CVorlanDoc::CountLine(char* text, const ScanVariant& variant) {
    char title[64];
    for (char* word = strword(text); word; word = strword(nullptr)) {
        if (word[0] == '\0')
            continue;
        // Wraps instead of overflowing past 2^31 - 1 words.
        const std::int32_t before = m_nTotalWords;
        m_nTotalWords = static_cast<std::int32_t>(static_cast<std::uint32_t>(before) + 1u);
        if (variant.reverseWords)
            std::reverse(word, word + std::strlen(word));
        // Null when memory ran out: the table is unchanged and the scan
        // stops; the count run reports what was counted until then.
        if (!m_wordTree.Insert(word, m_wordTree.m_pRoot)) {
            m_nTotalWords = before; // not counted: the totals stay the table's
            m_bOutOfMemory = true;
            return;
        }
        if (m_nTotalWords % 500 == 0) {
            std::snprintf(title, sizeof title, variant.progress, static_cast<long>(m_nTotalWords));
            SetTitle(title);
        }
    }
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
