// Counts the parts of a file list on threads of its own, each part into a
// tally of its own, so that the caller can add the tallies to its word table
// in list order and get exactly what counting the files one by one gives.
// Threads run at most a few parts ahead of the part the caller waits for, so
// a long list never holds more than a few tallies at once.
#ifndef VORLAN_ENGINE_PART_COUNTER_H
#define VORLAN_ENGINE_PART_COUNTER_H

#include "engine/scan_plan.h"
#include "engine/sharded_tally.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CCountInput;
class CSegmentation;

// What counting one part gave. Each in a cache line of its own: the thread
// counting one part never slows the one counting the next.
struct alignas(64) PartResult {
    std::unique_ptr<CShardedTally> pTally; // null when the part was not counted
    bool bStarted = false;                 // a thread took the part
    bool bDone = false;                    // and is finished with it
    bool bOpened = false;                  // the file could be opened
    bool bUtf8 = false;                    // read as UTF-8
    bool bReadFailed = false;              // a read error ended it early
    bool bCtrlZ = false;       // a Ctrl-Z ended it: later parts of its file are not read
    bool bStopped = false;     // Stop ended it before its end
    bool bOutOfMemory = false; // its tally ran out of memory and holds what came before
    std::atomic<std::uint64_t> nBytesRead{0};    // progress while it is read
    std::atomic<std::uint64_t> nWordsCounted{0}; // the same in words
};

class CPartCounter {
  public:
    struct Options {
        bool bReverseWords = false; // words are counted with their bytes reversed
        int nEncoding = 0;          // TextEncoding of the count
        // Makes the tokenizers, and must outlive the counter; null: by
        // character type.
        const CSegmentation* pSegmentation = nullptr;
    };

    // The list, the parts and the input must outlive the counter.
    CPartCounter(const std::vector<std::string>& files, const std::vector<ScanPart>& parts,
                 const CCountInput& input, Options options);
    ~CPartCounter() { Stop(); }
    CPartCounter(const CPartCounter&) = delete;
    CPartCounter& operator=(const CPartCounter&) = delete;

    // Starts up to nThreads threads; returns how many could be started.
    unsigned Start(unsigned nThreads);
    // Waits at most timeout for part k to be done; true when it is.
    bool WaitFor(std::size_t k, std::chrono::milliseconds timeout);
    // The result of part k: complete once WaitFor(k) was true or Stop returned.
    PartResult& Result(std::size_t k) { return *m_results[k]; }
    // The words counted so far in the parts from k on that threads took.
    std::uint64_t WordsCountedFrom(std::size_t k);
    // The caller is finished with parts up to k: their tallies go, and the
    // threads may go further ahead.
    void Release(std::size_t k);
    // Makes every thread stop at its next line and waits for them. Parts
    // they had begun are done (bStopped when cut short); the rest never start.
    void Stop();

  private:
    void Run();
    void CountPart(std::size_t k);
    bool ReadsAsUtf8(const ScanPart& part);

    const std::vector<std::string>& m_files;
    const std::vector<ScanPart>& m_parts;
    const CCountInput& m_input;
    const Options m_options;
    std::vector<std::unique_ptr<PartResult>> m_results;
    // Whether a file is UTF-8 is decided once, by the first of its parts.
    std::vector<std::once_flag> m_utf8Decided;
    std::vector<char> m_utf8;
    std::vector<std::thread> m_threads;

    std::mutex m_mutex;
    std::condition_variable m_wakeThreads;
    std::condition_variable m_partDone;
    std::size_t m_nNext = 0;     // the next part a thread takes
    std::size_t m_nReleased = 0; // parts the caller is finished with
    std::size_t m_nAhead = 0;    // how far past m_nReleased threads may take parts
    std::atomic<bool> m_bStop{false};
};

#endif
