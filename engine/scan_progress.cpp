#include "engine/scan_progress.h"

#include "engine/count_notifier.h"
#include "platform/file_io.h"
#include "platform/line_reader.h"

#include <algorithm>

void CScanProgress::Start(ICountNotifier& notifier, const std::vector<std::string>& files,
                          std::int64_t words) {
    m_pNotifier = &notifier;
    m_pFiles = &files;
    m_sizes.assign(files.size(), 0);
    m_nTotal = m_nBefore = m_nDone = 0;
    m_nIndex = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        m_sizes[i] = RegularFileSize(files[i].c_str()).value_or(0);
        m_nTotal += m_sizes[i];
    }
    Send(words, {});
}

void CScanProgress::NextFile() {
    if (m_nIndex > 0)
        m_nBefore += m_sizes[m_nIndex - 1];
    m_nDone = std::max(m_nDone, m_nBefore);
    ++m_nIndex;
}

// A file read further than it measured (it grew) counts no more than its
// measure, so that the figures stay within the total and never go back.
void CScanProgress::Report(std::int64_t words, const CTextLineReader& reader) {
    m_nCountdown = kLinesPerReport;
    if (m_nIndex == 0 || m_nIndex > m_sizes.size())
        return;
    const std::uint64_t inFile = std::min(reader.BytesConsumed(), m_sizes[m_nIndex - 1]);
    m_nDone = std::max(m_nDone, m_nBefore + inFile);
    Send(words, (*m_pFiles)[m_nIndex - 1]);
}

void CScanProgress::ReportAt(std::int64_t words, std::size_t fileIndex, std::uint64_t offset) {
    while (m_nIndex < fileIndex && m_nIndex < m_sizes.size())
        NextFile();
    if (m_nIndex == 0)
        return;
    m_nDone = std::max(m_nDone, m_nBefore + std::min(offset, m_sizes[m_nIndex - 1]));
    Send(words, (*m_pFiles)[m_nIndex - 1]);
}

void CScanProgress::Finish(std::int64_t words, bool complete) {
    if (!m_pNotifier)
        return;
    if (complete)
        m_nDone = m_nTotal;
    std::string_view path;
    if (m_nIndex > 0 && m_nIndex <= m_pFiles->size())
        path = (*m_pFiles)[m_nIndex - 1];
    Send(words, path);
}

void CScanProgress::Send(std::int64_t words, std::string_view path) {
    if (!m_pNotifier)
        return;
    CountProgress progress;
    progress.fileIndex = m_nIndex;
    progress.fileCount = m_sizes.size();
    progress.path = path;
    progress.words = words;
    progress.bytesDone = m_nDone;
    progress.bytesTotal = m_nTotal;
    m_pNotifier->OnProgress(progress);
}
