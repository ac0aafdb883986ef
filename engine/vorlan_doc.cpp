#include "engine/vorlan_doc.h"

#include "platform/quote_name.h"
#include "settings/settings_store.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace {

// The report list takes its nodes ten at a time.
constexpr int kReportNodesPerBlock = 10;
// An opened file is read this much at a time.
constexpr std::size_t kLoadChunk = std::size_t{1} << 20;

// What a scan shows the user, by variant: [stripHtml][reverseWords].
struct ScanTexts {
    const char* progress;   // the title every 500 words; printf format of one long
    const char* failSuffix; // follows the path in a failure message
};
constexpr ScanTexts kScanTexts[2][2] = {
    {{"%ld words counted.", "(--;)"}, {"%ld words counted", " (--;)"}},
    {{"%ld words are counted.", "(--;)"}, {"%ld words are counted", "(--;)"}},
};

const ScanTexts& TextsOf(const ScanVariant& variant) {
    return kScanTexts[variant.stripHtml ? 1 : 0][variant.reverseWords ? 1 : 0];
}

} // namespace

CVorlanDoc::CVorlanDoc(CSettingsStore& settings, ICountNotifier& notifier)
    : m_listResult(kReportNodesPerBlock), m_listExclude(settings), m_settings(settings),
      m_notifier(notifier) {}

void CVorlanDoc::CountWords(const std::vector<std::string>& files, std::string spec,
                            IReportLineSink* pStream) {
    // A second run on this document, started from an event handler while
    // this one pumps events, would empty the word table under it.
    if (m_pRun)
        return;
    CCountRun run(*this, m_settings, m_notifier, m_scanThreads, m_input);
    // Whatever ends the run, the document must not stay unclosable.
    struct RunGuard {
        CVorlanDoc& doc;
        ~RunGuard() {
            doc.m_bCounting = 0;
            doc.m_pRun = nullptr;
        }
    } guard{*this};
    m_pRun = &run;
    // A count that cannot start leaves the document as it was, path and all.
    if (!run.LoadSegmentation()) {
        m_lastCount = run.Outcome();
        return;
    }
    ForgetPathName();
    m_lastCount = run.Run(files, spec, pStream);
}

void CVorlanDoc::ScanFiles(const std::vector<std::string>& files) {
    Scan(files, kScanPlain);
}

void CVorlanDoc::ScanFilesByEndings(const std::vector<std::string>& files) {
    Scan(files, kScanByEndings);
}

void CVorlanDoc::ScanHtmlFiles(const std::vector<std::string>& files) {
    Scan(files, kScanHtml);
}

void CVorlanDoc::ScanHtmlFilesByEndings(const std::vector<std::string>& files) {
    Scan(files, kScanHtmlByEndings);
}

void CVorlanDoc::Scan(const std::vector<std::string>& files, const ScanVariant& variant) {
    CCountRun run(*this, m_settings, m_notifier, m_scanThreads, m_input);
    run.Scan(files, variant);
    m_lastCount = run.Outcome();
}

void CVorlanDoc::ShowWordsTitle(const ScanVariant& variant, std::int64_t words) {
    char title[64];
    static_assert(sizeof(long) == sizeof(std::int64_t), "the title's %ld takes every total");
    std::snprintf(title, sizeof title, TextsOf(variant).progress, static_cast<long>(words));
    SetTitle(title);
}

std::string CVorlanDoc::FailureMessage(FileFailure failure, const std::string& upperPath,
                                       const ScanVariant& variant) {
    const char* what = failure == FileFailure::open ? "Failed to open " : "Failed to read ";
    // The line reaches a terminal or a message box: a name's control bytes
    // must not act there.
    return what + QuoteControlBytes(upperPath) + TextsOf(variant).failSuffix;
}

void CVorlanDoc::SerializeReport(CArchive& ar) {
    if (ar.IsLoading()) {
        LoadReport(ar);
        return;
    }
    for (const auto* node = m_listResult.m_pHead; node; node = node->m_pNextNode)
        ar.Write(node->m_strLine.data(), node->m_strLine.size());
}

void CVorlanDoc::LoadReport(CArchive& ar) {
    m_listResult.RemoveAllLines();
    // Not the words of a count: the lines are shown in the code page of the
    // view, and no count outcome goes with them.
    m_bUtf8Report = false;
    m_lastCount = CountOutcome{};
    std::vector<char> chunk(kLoadChunk);
    std::string line;
    while (const std::size_t n = ar.Read(chunk.data(), chunk.size())) {
        std::string_view rest(chunk.data(), n);
        for (std::size_t lf; (lf = rest.find('\n')) != std::string_view::npos;) {
            line.append(rest.substr(0, lf + 1));
            m_listResult.AppendLine(std::exchange(line, {}));
            rest.remove_prefix(lf + 1);
        }
        line.append(rest);
    }
    if (!line.empty())
        m_listResult.AppendLine(std::move(line));
}

void CVorlanDoc::DeleteResult() {
    // Also refused when the run was started from another view of this
    // document: it would leave the run a report without its first lines.
    if (IsCountRunning())
        return;
    m_listResult.RemoveAllLines();
    SetModifiedFlag(false);
    UpdateAllViews();
}
