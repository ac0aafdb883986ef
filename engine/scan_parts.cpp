// A count on several threads: the list is cut into parts (scan_plan), the
// parts are counted into tallies of their own (part_counter), and this
// thread adds the tallies to the word table in list order, with the messages
// of each file in that order too. The report is then exactly the one a count
// on one thread gives. This thread keeps the event pump going while it waits,
// and a quit keeps what was counted before the first part not yet finished:
// the report always holds a beginning of the list, as a count on one thread
// stopped at that point would.
#include "engine/count_run.h"
#include "engine/part_counter.h"
#include "engine/scan_progress.h"
#include "engine/vorlan_doc.h"
#include "platform/event_pump.h"
#include "platform/large_pages.h"

#include <chrono>
#include <cstdio>

namespace {

// How long this thread waits for a part before it pumps events again.
constexpr std::chrono::milliseconds kPumpInterval{15};

} // namespace

bool CCountRun::ScanInParts(const std::vector<std::string>& files, const std::vector<bool>& counted,
                            CScanProgress& progress) {
    const CScanPlan plan = PlanScanParts(files, counted, progress.FileSizes(), m_threads);
    const std::vector<ScanPart>& parts = plan.parts;
    if (parts.empty())
        return false;
    CPartCounter counter(files, parts, m_input,
                         {m_variant.reverseWords, m_options.nEncoding, m_pSegmentation.get()});
    if (counter.Start(m_threads.nThreads) == 0)
        return false;
    // The document counts from now on, whichever file opens first.
    std::int64_t& words = m_doc.m_nTotalWords;
    m_doc.m_bCounting = 1;
    m_doc.m_bQuit = 0;
    bool stopped = false;
    bool skipFile = false;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const ScanPart& part = parts[k];
        if (k > 0 && part.nFile != parts[k - 1].nFile)
            skipFile = false;
        // A quit may come from an event or from whoever follows the progress.
        while (!Quit() && !counter.WaitFor(k, kPumpInterval)) {
            PumpMessages();
            if (Quit())
                break;
            // The words of the parts being counted show with the table's, so
            // that the word figure grows with the bar.
            const std::uint64_t read = counter.Result(k).nBytesRead.load(std::memory_order_acquire);
            const auto inFlight = static_cast<std::int64_t>(counter.WordsCountedFrom(k));
            progress.ReportAt(words + inFlight, part.nFile + 1, part.nBegin + read);
        }
        if (Quit()) {
            // What is being counted now stops at its next line; of what was
            // counted, the parts up to this one are kept.
            counter.Stop();
            stopped = true;
        }
        const PartResult& result = counter.Result(k);
        const bool go = !result.bStarted || MergePart(files[part.nFile], part, result, skipFile);
        counter.Release(k);
        if (stopped || !go)
            break;
        const auto inFlight = static_cast<std::int64_t>(counter.WordsCountedFrom(k + 1));
        progress.ReportAt(words + inFlight, part.nFile + 1, part.nEnd);
        PumpMessages();
    }
    counter.Stop();
    // The tallies are gone; what their threads' heaps keep goes back before
    // the report takes its memory.
    ReturnFreeHeapMemory();
    m_outcome.bStopped = stopped;
    progress.Finish(words, !stopped && !m_outcome.bOutOfMemory);
    return true;
}

bool CCountRun::MergePart(const std::string& path, const ScanPart& part, const PartResult& result,
                          bool& bSkipFile) {
    // After a failure or a Ctrl-Z in an earlier part, the rest of the file
    // was never there.
    if (bSkipFile)
        return true;
    if (!result.bOpened) {
        ReportFailure(part.bFirst ? FileFailure::open : FileFailure::read, path);
        bSkipFile = true;
        return true;
    }
    if (part.bFirst) {
        ++m_doc.m_nFilesProcessed;
        ReadAsUtf8(result.bUtf8);
    }
    std::int64_t& words = m_doc.m_nTotalWords;
    const std::int64_t before = words;
    std::int64_t total = words;
    // A word already in the table keeps its spelling, a new one takes the
    // part's first. Events are let through as the words go in: a part of a
    // word list holds as many words as lines.
    if (result.pTally) {
        std::uint64_t added = 0;
        if (!m_doc.m_wordTree.AddTally(*result.pTally, m_threads.nThreads, added,
                                       [] { PumpMessages(); }))
            m_outcome.bOutOfMemory = true;
        total += static_cast<std::int64_t>(added);
    }
    words = total;
    if (before / 500 != words / 500) {
        // The title shows the last multiple of 500 words reached, as it does
        // when it follows every word.
        ShowWordsTitle(words - words % 500);
    }
    if (result.bReadFailed)
        ReportFailure(FileFailure::read, path);
    if (result.bReadFailed || result.bCtrlZ)
        bSkipFile = true;
    if (result.bOutOfMemory)
        m_outcome.bOutOfMemory = true;
    return !m_outcome.bOutOfMemory && !result.bStopped;
}
