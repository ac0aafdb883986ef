#include "engine/count_notifier.h"
#include "engine/report_format.h"
#include "engine/text_encoding.h"
#include "engine/vorlan_doc.h"
#include "settings/settings_store.h"

#include "tesmo.h"

#include <new>

namespace {

// Width of the count field that the frequency ordering sorts on.
constexpr int kCountFieldWidth = 10;

// What the user is told when memory ran out in the scan, in the report, or
// in both.
const char* OutOfMemoryMessage(bool scanStopped, bool reportBuilt) {
    if (reportBuilt)
        return "Not enough memory to count every word: counting stopped early, and the "
               "report lists the words counted until then.";
    if (scanStopped)
        return "Not enough memory to count every word: counting stopped early, and the "
               "report holds only the totals of the words counted until then.";
    return "Not enough memory to list the words: the report holds only the totals.";
}

} // namespace

void CVorlanDoc::CountWords(const std::vector<std::string>& files, std::string spec) {
    // A second run on this document, started from an event handler while
    // this one pumps events, would empty the word table under it.
    if (m_bRunning)
        return;
    // Whatever ends the run, the document must not stay unclosable.
    struct RunGuard {
        CVorlanDoc& doc;
        explicit RunGuard(CVorlanDoc& d) : doc(d) { doc.m_bRunning = true; }
        ~RunGuard() {
            doc.m_bCounting = 0;
            doc.m_bRunning = false;
        }
    } guard(*this);

    m_nFilesProcessed = 0;
    m_nDifferentWords = 0;
    m_nTotalWords = 0;

    bool percent = m_settings.GetSettingInt("Sort", "Percent", 0) == 1;
    bool abc = m_settings.GetSettingInt("Sort", "abc", 0) == 1;
    m_bExcludeBinary = m_settings.GetSettingInt("Option", "Binary", 0);
    bool tail = m_settings.GetSettingInt("Sort", "Tail", 0) == 1;

    m_listResult.RemoveAllLines();
    m_strSavedTitle = GetTitle();
    bool html = m_settings.GetSettingInt("Option", "DeHTML", 0) != 0;
    m_nEncoding = m_settings.GetSettingInt("Option", "Encoding", kEncodingBytes);
    m_bUtf8Report = m_nEncoding == kEncodingUtf8;
    Scan(files, html, tail);

    bool scanStopped = m_bOutOfMemory;
    bool reportBuilt = BuildReport(files.size(), spec, tail, abc, percent);

    SetTitle(m_strSavedTitle);
    SetModifiedFlag(true);
    m_bCounting = 0;
    if (m_bOutOfMemory)
        m_notifier.ShowMessage(OutOfMemoryMessage(scanStopped, reportBuilt));
    m_notifier.Beep();
}

void CVorlanDoc::Scan(const std::vector<std::string>& files, bool html, bool tail) {
    try {
        if (html)
            tail ? ScanHtmlFilesByEndings(files) : ScanHtmlFiles(files);
        else
            tail ? ScanFilesByEndings(files) : ScanFiles(files);
    } catch (const std::bad_alloc&) {
        // A path copy or a reader's buffer could not be had: stop as the
        // word table does when it runs out.
        m_bOutOfMemory = true;
    }
}

// Everything between the scan and the restored title. Returns false when
// memory ran out while the word lines were being written or sorted: the
// report then holds only the header and the totals, which need next to no
// memory once the word table is emptied.
bool CVorlanDoc::BuildReport(std::size_t filesGiven, const std::string& spec, bool tail, bool abc,
                             bool percent) {
    try {
        m_listResult.RemoveAllLines();
        SetTitle(tail ? "Counting..." : "Now Counting...");
        m_wordTree.m_nTotal = m_nTotalWords;
        WriteWordLines(tail, abc, percent);
        m_nDifferentWords = m_wordTree.m_nCount;
        m_wordTree.Clear();
        SortWordLines();
        AppendTotalsAndHeader(filesGiven, spec);
        return true;
    } catch (const std::bad_alloc&) {
    }
    if (m_wordTree.m_nCount > 0) // the writer failed before the table was emptied
        m_nDifferentWords = m_wordTree.m_nCount;
    m_wordTree.Clear();
    m_listResult.RemoveAllLines();
    m_bOutOfMemory = true;
    try {
        AppendTotalsAndHeader(filesGiven, spec);
    } catch (const std::bad_alloc&) {
        m_listResult.RemoveAllLines();
    }
    return false;
}

void CVorlanDoc::WriteWordLines(bool tail, bool abc, bool percent) {
    CNode* root = m_wordTree.m_pRoot;
    if (tail)
        percent ? m_wordTree.WriteByEndingsPercent(m_listResult, root)
                : m_wordTree.WriteByEndings(m_listResult, root);
    else if (abc)
        percent ? m_wordTree.WriteAscendingPercent(m_listResult, root)
                : m_wordTree.WriteAscending(m_listResult, root);
    else
        percent ? m_wordTree.WriteDescendingPercent(m_listResult, root)
                : m_wordTree.WriteDescending(m_listResult, root);
}

// Read only now, after the scan: a change made while the files were being
// read still applies to this run.
void CVorlanDoc::SortWordLines() {
    if (m_settings.GetSettingInt("Sort", "Freq", 0) == 1) {
        SetTitle("Sorting By Frequency(More to Less)");
        m_listResult.SortByCount(kCountFieldWidth, CExStringList::MoreToLess);
    } else if (m_settings.GetSettingInt("Sort", "LowFreq", 0) == 1) {
        SetTitle("Sorting by Frequency(Less to More)");
        m_listResult.SortByCount(kCountFieldWidth, CExStringList::LessToMore);
    }
}

void CVorlanDoc::AppendTotalsAndHeader(std::size_t filesGiven, const std::string& spec) {
    m_listResult.AppendLine(kSeparatorLine);
    // The number of files given decides, not the number opened.
    if (filesGiven >= 2)
        m_listResult.AppendLine(FormatFilesProcessedLine(m_nFilesProcessed));
    m_listResult.AppendLine(FormatTotalWordsLine(m_nTotalWords));
    m_listResult.AppendLine(FormatDifferentWordsLine(m_nDifferentWords));

    std::string upper = spec;
    mbstrupr(upper.data());
    m_listResult.PrependLine(FormatHeaderLine(upper));
}
