#include "engine/part_counter.h"

#include "engine/count_input.h"
#include "engine/line_counter.h"
#include "engine/scan_progress.h"
#include "engine/segment.h"
#include "engine/text_encoding.h"

#include <new>
#include <system_error>

namespace {

// The hooks of a part's line loop: the stop flag, progress in an atomic, and
// the part's tally.
class CPartHooks {
  public:
    CPartHooks(PartResult& result, const std::atomic<bool>& stop, CLineTokenizer tokenizer,
               bool reverse)
        : m_result(result), m_tally(*result.pTally), m_stop(stop),
          m_tokenizer(std::move(tokenizer)), m_bReverse(reverse) {}
    bool Stop() {
        if (!m_stop.load(std::memory_order_relaxed)) [[likely]]
            return false;
        m_result.bStopped = true;
        return true;
    }
    void Between(const CTextLineReader& reader) {
        if (--m_nUntilProgress == 0) [[unlikely]] {
            m_nUntilProgress = CScanProgress::kLinesPerReport;
            // Words first: whoever sees the bytes sees at least their words.
            m_result.nWordsCounted.store(m_nWords, std::memory_order_relaxed);
            m_result.nBytesRead.store(reader.BytesConsumed(), std::memory_order_release);
        }
    }
    // A line that only looks non-empty (a NUL byte ends it early) just gives
    // the tokenizer nothing.
    static bool Prepare(char* text, std::size_t length) {
        return line_counter::TrimLineEnd(text, length) > 0;
    }
    void Ahead(std::string_view bytes) const {
        if (m_bReverse)
            line_counter::PrefetchNextLineWord<true>(m_tally, bytes);
        else
            line_counter::PrefetchNextLineWord<false>(m_tally, bytes);
    }
    bool Count(char* text) {
        std::uint64_t words = m_nWords;
        const auto onWord = [&words] { ++words; };
        const bool counted = m_bReverse
                                 ? CountWordsOfLine<true>(m_tally, m_tokenizer, text, onWord)
                                 : CountWordsOfLine<false>(m_tally, m_tokenizer, text, onWord);
        m_nWords = words;
        if (!counted) [[unlikely]]
            m_result.bOutOfMemory = true;
        return counted;
    }
    static void After() {}
    std::uint64_t Words() const { return m_nWords; }

  private:
    PartResult& m_result;
    CShardedTally& m_tally;
    const std::atomic<bool>& m_stop;
    CLineTokenizer m_tokenizer;
    const bool m_bReverse;
    int m_nUntilProgress = CScanProgress::kLinesPerReport;
    std::uint64_t m_nWords = 0;
};

} // namespace

CPartCounter::CPartCounter(const std::vector<std::string>& files,
                           const std::vector<ScanPart>& parts, const CCountInput& input,
                           Options options)
    : m_files(files), m_parts(parts), m_input(input), m_options(options),
      m_utf8Decided(files.size()), m_utf8(files.size(), 0) {
    m_results.reserve(parts.size());
    for (std::size_t k = 0; k < parts.size(); ++k)
        m_results.push_back(std::make_unique<PartResult>());
}

unsigned CPartCounter::Start(unsigned nThreads) {
    m_nAhead = 2 * std::size_t{nThreads} + 2;
    for (unsigned i = 0; i < nThreads; ++i) {
        try {
            m_threads.emplace_back([this] { Run(); });
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    return static_cast<unsigned>(m_threads.size());
}

void CPartCounter::Run() {
    for (;;) {
        std::size_t k;
        {
            std::unique_lock lock(m_mutex);
            m_wakeThreads.wait(lock, [this] {
                return m_bStop.load() || m_nNext >= m_parts.size() ||
                       m_nNext < m_nReleased + m_nAhead;
            });
            if (m_bStop.load() || m_nNext >= m_parts.size())
                return;
            k = m_nNext++;
            m_results[k]->bStarted = true;
        }
        CountPart(k);
        {
            std::lock_guard lock(m_mutex);
            m_results[k]->bDone = true;
        }
        m_partDone.notify_all();
    }
}

bool CPartCounter::ReadsAsUtf8(const ScanPart& part) {
    std::call_once(m_utf8Decided[part.nFile], [&] {
        m_utf8[part.nFile] =
            m_input.ReadsAsUtf8(m_options.nEncoding, m_files[part.nFile], part.nFd);
    });
    return m_utf8[part.nFile] != 0;
}

void CPartCounter::CountPart(std::size_t k) {
    const ScanPart& part = m_parts[k];
    PartResult& result = *m_results[k];
    try {
        CTextLineReader reader;
        if (!m_input.Open(reader, m_files[part.nFile], part.nBegin, part.nEnd, part.nFd))
            return;
        result.bOpened = true;
        result.bUtf8 = ReadsAsUtf8(part);
        result.pTally = std::make_unique<CShardedTally>(part.nBytes);
        auto buffer = std::make_unique<CLineBuffer>();
        const CSegmentation* segmentation = m_options.pSegmentation;
        CPartHooks hooks(result, m_bStop,
                         segmentation ? segmentation->MakeTokenizer(result.bUtf8)
                                      : CLineTokenizer(result.bUtf8),
                         m_options.bReverseWords);
        CountLinesOfFile(reader, *buffer, result.bUtf8 && part.nBegin == 0, hooks);
        result.nWordsCounted.store(hooks.Words(), std::memory_order_relaxed);
        result.bReadFailed = reader.Failed();
        result.bCtrlZ = reader.EndedAtCtrlZ();
    } catch (const std::bad_alloc&) {
        result.bOutOfMemory = true;
    }
}

bool CPartCounter::WaitFor(std::size_t k, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_partDone.wait_for(lock, timeout, [&] { return m_results[k]->bDone; });
}

std::uint64_t CPartCounter::WordsCountedFrom(std::size_t k) {
    std::lock_guard lock(m_mutex);
    std::uint64_t words = 0;
    for (std::size_t j = k; j < m_nNext; ++j)
        words += m_results[j]->nWordsCounted.load(std::memory_order_relaxed);
    return words;
}

void CPartCounter::Release(std::size_t k) {
    {
        std::lock_guard lock(m_mutex);
        m_results[k]->pTally.reset();
        if (k + 1 > m_nReleased)
            m_nReleased = k + 1;
    }
    m_wakeThreads.notify_all();
}

void CPartCounter::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_bStop.store(true);
    }
    m_wakeThreads.notify_all();
    for (std::thread& t : m_threads) {
        if (t.joinable())
            t.join();
    }
    m_threads.clear();
}
