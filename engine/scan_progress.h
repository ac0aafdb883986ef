// The figures a scan reports to its notifier as it goes: which file of the
// list it reads, and how many bytes of the whole list lie behind it. The read
// loop asks Due() once per line, a countdown that costs a decrement and a
// branch that is almost never taken.
#ifndef VORLAN_ENGINE_SCAN_PROGRESS_H
#define VORLAN_ENGINE_SCAN_PROGRESS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CTextLineReader;
class ICountNotifier;

class CScanProgress {
  public:
    // Lines read between two reports within a file.
    static constexpr int kLinesPerReport = 4096;

    // Measures the regular files of the list (anything else counts as empty)
    // and reports the start. The list must outlive the scan.
    void Start(ICountNotifier& notifier, const std::vector<std::string>& files, std::int64_t words);
    // The scan moves on to the next file of the list, opened or not.
    void NextFile();
    bool Due() { return --m_nCountdown == 0; }
    // What Start measured: the size of each regular file of the list, 0 for
    // anything else (and for a file of unknown size).
    const std::vector<std::uint64_t>& FileSizes() const { return m_sizes; }
    // Reports the current file (call it once the file is open, and whenever
    // Due).
    void Report(std::int64_t words, const CTextLineReader& reader);
    // The same for a scan that reads files in parts: the scan is at the
    // 1-based file index of the list (never going back), offset bytes into it.
    void ReportAt(std::int64_t words, std::size_t fileIndex, std::uint64_t offset);
    // The scan ended; complete when it passed every file of the list.
    void Finish(std::int64_t words, bool complete);

  private:
    void Send(std::int64_t words, std::string_view path);

    ICountNotifier* m_pNotifier = nullptr;
    const std::vector<std::string>* m_pFiles = nullptr;
    std::vector<std::uint64_t> m_sizes;
    std::uint64_t m_nTotal = 0;
    std::uint64_t m_nBefore = 0; // the sizes of the files before the current one
    std::uint64_t m_nDone = 0;
    std::size_t m_nIndex = 0; // 1-based; 0 before the first file
    int m_nCountdown = kLinesPerReport;
};

#endif
