// One count, step by step: Run reads the options, scans the list (ScanList:
// here on one thread, file by file and line by line, or in parts on several
// threads, scan_parts.cpp), then BuildReport writes the word lines, orders
// them and adds the totals and the header.
#include "engine/count_run.h"
#include "engine/report_sink.h"

#include "engine/count_input.h"
#include "engine/count_notifier.h"
#include "engine/line_counter.h"
#include "engine/report_format.h"
#include "engine/scan_progress.h"
#include "engine/segment.h"
#include "engine/vorlan_doc.h"
#include "filters/dehtml_string.h"
#include "settings/setting_keys.h"

#include "platform/event_pump.h"

#include <climits>
#include <memory>
#include <new>

namespace {

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

// How many more words until the word total is a multiple of 500 again,
// which is when the title shows it.
std::uint32_t WordsUntilTitle(std::int64_t total) {
    constexpr std::int64_t kEvery = 500;
    return static_cast<std::uint32_t>(kEvery - total % kEvery);
}

} // namespace

// The fixed buffers of one scan, so that reading a line allocates nothing.
// The HTML filter lives here too: its state carries from file to file. It
// filters in place, since its output is never longer than its input.
class CScanBuffers {
  public:
    CLineBuffer buffer;
    CDehtmlString dehtml;
    CScanProgress progress;
};

CCountRun::CCountRun(CVorlanDoc& doc, const CSettingsStore& settings, ICountNotifier& notifier,
                     const ScanThreads& threads, const CCountInput& input)
    : m_doc(doc), m_settings(settings), m_notifier(notifier), m_threads(threads), m_input(input) {}

CCountRun::~CCountRun() = default;

bool CCountRun::LoadSegmentation() {
    if (!m_pSegmentation)
        m_pSegmentation = std::make_unique<CSegmentation>(m_settings);
    if (m_pSegmentation->Ready())
        return true;
    if (!m_outcome.bNotCounted)
        m_notifier.ShowMessage(m_pSegmentation->Error());
    m_outcome.bNotCounted = true;
    return false;
}

CountOutcome CCountRun::Run(const std::vector<std::string>& files, const std::string& spec,
                            IReportLineSink* pStream) {
    if (!LoadSegmentation())
        return m_outcome;
    m_pStream = pStream;
    m_doc.m_nFilesProcessed = 0;
    m_doc.m_nDifferentWords = 0;
    m_doc.m_nTotalWords = 0;
    ReadOptions();
    m_doc.m_listResult.RemoveAllLines();
    m_doc.m_strSavedTitle = m_doc.GetTitle();
    m_variant = {m_options.bHtml, m_options.bTail};
    ScanSafely(files);

    const bool scanStopped = m_outcome.bOutOfMemory;
    const bool reportBuilt = BuildReport(files.size(), spec);
    m_doc.SetTitle(m_doc.m_strSavedTitle);
    m_doc.SetModifiedFlag(true);
    m_doc.m_bCounting = 0;
    if (m_outcome.bOutOfMemory)
        m_notifier.ShowMessage(OutOfMemoryMessage(scanStopped, reportBuilt));
    m_notifier.Beep();
    Finish();
    return m_outcome;
}

void CCountRun::ReadOptions() {
    using namespace setting_keys;
    m_options.bPercent = IsOn(m_settings, kPercent);
    m_options.bAbc = IsOn(m_settings, kAbc);
    m_doc.m_bExcludeBinary = GetFlagValue(m_settings, kBinary);
    m_options.bTail = IsOn(m_settings, kTail);
    m_options.bHtml = IsOn(m_settings, kDeHtml);
    m_options.nEncoding = GetInt(m_settings, kEncoding);
}

void CCountRun::Scan(const std::vector<std::string>& files, const ScanVariant& variant) {
    if (!LoadSegmentation())
        return;
    m_options.nEncoding = GetInt(m_settings, setting_keys::kEncoding);
    m_variant = variant;
    ScanList(files);
    Finish();
}

void CCountRun::ScanSafely(const std::vector<std::string>& files) {
    try {
        ScanList(files);
    } catch (const std::bad_alloc&) {
        // A path copy or a reader's buffer could not be had: stop as the
        // word table does when it runs out.
        m_outcome.bOutOfMemory = true;
    }
}

void CCountRun::ScanList(const std::vector<std::string>& files) {
    ReadAsUtf8(m_options.nEncoding == kEncodingUtf8);
    auto buffers = std::make_unique<CScanBuffers>();
    if (m_variant.stripHtml)
        buffers->dehtml.Reset();
    buffers->progress.Start(m_notifier, files, m_doc.m_nTotalWords);
    const std::vector<bool> counted = FilesToCount(files);
    // The HTML filter carries its state from line to line and file to file,
    // and a descriptor can only be read in one go: those lists are read in
    // order on this thread.
    if (!m_variant.stripHtml && !m_input.HasDescriptorEntry() &&
        ScanInParts(files, counted, buffers->progress))
        return;
    for (std::size_t i = 0; i < files.size(); ++i) {
        buffers->progress.NextFile();
        if (counted[i])
            ScanOneFile(files[i], *buffers);
        if (Quit() || m_outcome.bOutOfMemory)
            break;
    }
    m_outcome.bStopped = Quit();
    buffers->progress.Finish(m_doc.m_nTotalWords, !Quit() && !m_outcome.bOutOfMemory);
}

// The exclusion list sees the upper-cased path; the file itself is opened
// under its listed name, since this file system tells letter case apart.
std::vector<bool> CCountRun::FilesToCount(const std::vector<std::string>& files) const {
    std::vector<bool> counted(files.size(), true);
    if (m_doc.m_bExcludeBinary == 1) {
        for (std::size_t i = 0; i < files.size(); ++i)
            counted[i] = !m_doc.m_listExclude.IsExcluded(UpperCased(files[i]).c_str());
    }
    return counted;
}

// The hooks of this thread's line loop: the quit flag, progress, the HTML
// filter or trimming, the word table, and the event pump.
class CCountRun::CScanHooks {
  public:
    CScanHooks(CCountRun& run, CScanBuffers& buffers, bool utf8)
        : m_run(run), m_buffers(buffers), m_tokenizer(run.m_pSegmentation->MakeTokenizer(utf8)) {}
    bool Stop() const { return m_run.Quit(); }
    void Between(const CTextLineReader& reader) {
        if (m_buffers.progress.Due()) [[unlikely]]
            m_buffers.progress.Report(m_run.m_doc.m_nTotalWords, reader);
    }
    bool Prepare(char* text, std::size_t length) {
        if (m_run.m_variant.stripHtml)
            return m_buffers.dehtml.StripTags(text, text)[0] != '\0';
        return line_counter::TrimLine(text, length);
    }
    void Ahead(std::string_view bytes) const {
        if (m_run.m_variant.reverseWords)
            line_counter::PrefetchNextLineWord<true>(m_run.m_doc.m_wordTree, bytes);
        else
            line_counter::PrefetchNextLineWord<false>(m_run.m_doc.m_wordTree, bytes);
    }
    bool Count(char* text) {
        if (m_run.m_variant.reverseWords)
            m_run.CountLine<true>(text, m_tokenizer);
        else
            m_run.CountLine<false>(text, m_tokenizer);
        return !m_run.m_outcome.bOutOfMemory;
    }
    void After() const { PumpMessages(); }

  private:
    CCountRun& m_run;
    CScanBuffers& m_buffers;
    CLineTokenizer m_tokenizer;
};

template <bool kReverse> void CCountRun::CountLine(char* text, CLineTokenizer& tokenizer) {
    // The total lives in a register for the line; m_nTotalWords is brought up
    // to date before the title changes and when the line is done.
    std::int64_t& words = m_doc.m_nTotalWords;
    std::int64_t total = words;
    std::uint32_t untilTitle = WordsUntilTitle(words);
    // False when memory ran out: the table is unchanged, the word is not
    // counted and the scan stops; the run reports what was counted until
    // then.
    const bool counted = CountWordsOfLine<kReverse>(m_doc.m_wordTree, tokenizer, text, [&] {
        ++total;
        if (--untilTitle == 0) [[unlikely]] {
            words = total;
            ShowWordsTitle(words);
            untilTitle = WordsUntilTitle(words);
        }
    });
    if (!counted)
        m_outcome.bOutOfMemory = true;
    words = total;
}

void CCountRun::ScanOneFile(const std::string& path, CScanBuffers& buffers) {
    CTextLineReader reader;
    if (!m_input.Open(reader, path)) {
        ReportFailure(FileFailure::open, path);
        return;
    }
    m_doc.m_bCounting = 1;
    m_doc.m_bQuit = 0;
    ++m_doc.m_nFilesProcessed;
    const bool utf8 = m_input.ReadsAsUtf8(m_options.nEncoding, path);
    ReadAsUtf8(utf8);
    buffers.progress.Report(m_doc.m_nTotalWords, reader);
    CScanHooks hooks(*this, buffers, utf8);
    CountLinesOfFile(reader, buffers.buffer, utf8, hooks);
    if (reader.Failed())
        ReportFailure(FileFailure::read, path);
}

// Everything between the scan and the restored title. Returns false when
// memory ran out while the word lines were being written or sorted: the
// report then holds only the header and the totals, which need next to no
// memory once the word table is emptied.
bool CCountRun::BuildReport(std::size_t filesGiven, const std::string& spec) {
    CStringTree& table = m_doc.m_wordTree;
    try {
        m_doc.m_listResult.RemoveAllLines();
        m_doc.SetTitle(m_options.bTail ? "Counting..." : "Now Counting...");
        table.m_nTotal = m_doc.m_nTotalWords;
        if (m_pStream) {
            StreamReport(filesGiven, spec);
            return true;
        }
        WriteWordLines();
        m_doc.m_nDifferentWords = table.m_nCount;
        table.Clear();
        SortWordLines();
        AppendTotalsAndHeader(filesGiven, spec);
        return true;
    } catch (const std::bad_alloc&) {
    }
    if (table.m_nCount > 0) // the writer failed before the table was emptied
        m_doc.m_nDifferentWords = table.m_nCount;
    table.Clear();
    m_doc.m_listResult.RemoveAllLines();
    m_outcome.bOutOfMemory = true;
    try {
        // A stream has had the header already; word lines written to it
        // before memory ran out stay there.
        if (m_pStream)
            WriteTotals(*m_pStream, filesGiven);
        else
            AppendTotalsAndHeader(filesGiven, spec);
    } catch (const std::bad_alloc&) {
        m_doc.m_listResult.RemoveAllLines();
    }
    return false;
}

// The report written as it is made: the header, the word lines in the
// order the table gives them, the totals. Nothing is held but the table and
// the order of its words, which a report by frequency sorts by count as the
// list's sort would.
void CCountRun::StreamReport(std::size_t filesGiven, const std::string& spec) {
    using CountOrder = CStringTree::CountOrder;
    CStringTree& table = m_doc.m_wordTree;
    m_doc.m_nDifferentWords = table.m_nCount;
    m_pStream->WriteLine(FormatHeaderLine(UpperCased(spec)));
    CountOrder byCount = CountOrder::none;
    if (IsOn(m_settings, setting_keys::kFreq))
        byCount = CountOrder::mostFirst;
    else if (IsOn(m_settings, setting_keys::kLowFreq))
        byCount = CountOrder::fewestFirst;
    const bool bDescending = !m_options.bTail && !m_options.bAbc;
    table.WriteLines(*m_pStream, table.m_pRoot, bDescending, m_options.bTail, m_options.bPercent,
                     byCount);
    table.Clear();
    WriteTotals(*m_pStream, filesGiven);
}

void CCountRun::WriteTotals(IReportLineSink& sink, std::size_t filesGiven) {
    sink.WriteLine(kSeparatorLine);
    // The number of files given decides, not the number opened.
    if (filesGiven >= 2)
        sink.WriteLine(FormatFilesProcessedLine(m_doc.m_nFilesProcessed));
    sink.WriteLine(FormatTotalWordsLine(m_doc.m_nTotalWords));
    sink.WriteLine(FormatDifferentWordsLine(m_doc.m_nDifferentWords));
}

void CCountRun::WriteWordLines() {
    WriteReportWordLines(m_doc.m_wordTree, m_doc.m_listResult, m_options.bAbc, m_options.bTail,
                         m_options.bPercent);
}

void WriteReportWordLines(const CStringTree& table, CExStringList& list, bool bAbc, bool bTail,
                          bool bPercent) {
    // By endings overrides the alphabetical direction.
    const CNode* root = table.m_pRoot;
    if (bTail)
        bPercent ? table.WriteByEndingsPercent(list, root) : table.WriteByEndings(list, root);
    else if (bAbc)
        bPercent ? table.WriteAscendingPercent(list, root) : table.WriteAscending(list, root);
    else
        bPercent ? table.WriteDescendingPercent(list, root) : table.WriteDescending(list, root);
}

// Read only now, after the scan: a change made while the files were being
// read still applies to this run.
void CCountRun::SortWordLines() {
    if (IsOn(m_settings, setting_keys::kFreq)) {
        m_doc.SetTitle("Sorting By Frequency(More to Less)");
        m_doc.m_listResult.SortByCount(kCountFieldWidth, CExStringList::MoreToLess);
    } else if (IsOn(m_settings, setting_keys::kLowFreq)) {
        m_doc.SetTitle("Sorting by Frequency(Less to More)");
        m_doc.m_listResult.SortByCount(kCountFieldWidth, CExStringList::LessToMore);
    }
}

void CCountRun::AppendTotalsAndHeader(std::size_t filesGiven, const std::string& spec) {
    CExStringList& report = m_doc.m_listResult;
    CListLineSink sink(report);
    WriteTotals(sink, filesGiven);
    report.PrependLine(FormatHeaderLine(UpperCased(spec)));
}

void CCountRun::Finish() {
    m_outcome.nFilesProcessed = m_doc.m_nFilesProcessed;
    m_outcome.nTotalWords = m_doc.m_nTotalWords;
    m_outcome.nDifferentWords = m_doc.m_nDifferentWords;
}

void CCountRun::ReadAsUtf8(bool utf8) {
    m_outcome.bUtf8Report = m_outcome.bUtf8Report || utf8;
    m_doc.m_bUtf8Report = m_outcome.bUtf8Report;
}

void CCountRun::ShowWordsTitle(std::int64_t words) {
    m_doc.ShowWordsTitle(m_variant, words);
}

// A read error ends the file like its end would: what was read counts, the
// file counts as processed, and the scan goes on with the next one. Either
// way the user is told, since the file was not counted whole.
void CCountRun::ReportFailure(FileFailure failure, const std::string& path) {
    m_outcome.failedFiles.push_back(path);
    m_notifier.ShowMessage(m_doc.FailureMessage(failure, UpperCased(path), m_variant));
}

bool CCountRun::Quit() const {
    return m_doc.m_bQuit == 1;
}
