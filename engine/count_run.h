// One count of a result document, from the options to the finished report:
// the run reads its options once, scans the file list into the document's
// word table (on this thread, or in parts on several), writes and orders the
// report lines, and hands the caller an outcome. Its flags live here, for
// one run; the document keeps only what the user sees of the last count.
#ifndef VORLAN_ENGINE_COUNT_RUN_H
#define VORLAN_ENGINE_COUNT_RUN_H

#include "engine/scan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCountInput;
class CExStringList;
class CLineTokenizer;
class CScanBuffers;
class CScanProgress;
class CSegmentation;
class CSettingsStore;
class CStringTree;
class CVorlanDoc;
class ICountNotifier;
class IReportLineSink;
struct PartResult;
struct ScanPart;
struct ScanThreads;

// What a count gave its caller.
struct CountOutcome {
    std::int64_t nFilesProcessed = 0;
    std::int64_t nTotalWords = 0;
    std::int64_t nDifferentWords = 0;
    // Entries as listed that could not be opened, or were not read whole
    // (a read error); each was also shown to the user.
    std::vector<std::string> failedFiles;
    // Memory ran out: counting or listing stopped early (the user was told).
    bool bOutOfMemory = false;
    // The user asked to quit while the files were read: the report holds
    // what was counted until then.
    bool bStopped = false;
    // The files were read as UTF-8: every file, or with per-file detection
    // at least one. The report's words are then shown as UTF-8.
    bool bUtf8Report = false;
    // Nothing was counted and the report is as it was: what splitting the
    // words needs could not be loaded (the user was told).
    bool bNotCounted = false;
};

// Width of the count field that the frequency ordering sorts on.
inline constexpr int kCountFieldWidth = 10;

// Appends the word lines of table to list as a count writes them: by
// endings (the table then holds its words reversed), else ascending or
// descending, with or without each word's share of table.m_nTotal. Throws
// std::bad_alloc as the table's writers do.
void WriteReportWordLines(const CStringTree& table, CExStringList& list, bool bAbc, bool bTail,
                          bool bPercent);

// The failures of one file that the user is told of.
enum class FileFailure { open, read };

class CCountRun {
  public:
    // Every argument must outlive the run.
    CCountRun(CVorlanDoc& doc, const CSettingsStore& settings, ICountNotifier& notifier,
              const ScanThreads& threads, const CCountInput& input);
    ~CCountRun();
    CCountRun(const CCountRun&) = delete;
    CCountRun& operator=(const CCountRun&) = delete;

    // The whole count: files in reading order, spec the directory followed
    // by the file name or pattern. Leaves the report in the document, its
    // title as it was, the document modified, and sounds the beep. With
    // pStream, every line of the report goes there instead, in order, and
    // the document's report stays empty.
    CountOutcome Run(const std::vector<std::string>& files, const std::string& spec,
                     IReportLineSink* pStream = nullptr);
    // Only the scan of the files into the document's word table, read as
    // variant says.
    void Scan(const std::vector<std::string>& files, const ScanVariant& variant);
    const CountOutcome& Outcome() const { return m_outcome; }
    // Loads what splitting the words takes (the analyser of Japanese words
    // by dictionary), once. False, after telling the user, when it cannot be
    // loaded: Run and Scan then count nothing. They call it themselves; a
    // caller calls it first to leave its document untouched on failure.
    bool LoadSegmentation();

  private:
    // Options read at the start; "Freq" and "LowFreq" are read after the
    // scan instead, so that a change made while files are read still applies.
    struct Options {
        bool bPercent = false;
        bool bAbc = false;
        bool bTail = false;
        bool bHtml = false;
        int nEncoding = 0;
    };
    void ReadOptions();
    void ScanSafely(const std::vector<std::string>& files);
    void ScanList(const std::vector<std::string>& files);
    std::vector<bool> FilesToCount(const std::vector<std::string>& files) const;
    bool BuildReport(std::size_t filesGiven, const std::string& spec);
    void WriteWordLines();
    void SortWordLines();
    void AppendTotalsAndHeader(std::size_t filesGiven, const std::string& spec);
    void StreamReport(std::size_t filesGiven, const std::string& spec);
    void WriteTotals(IReportLineSink& sink, std::size_t filesGiven);
    void Finish();

    // The scan on this thread.
    void ScanOneFile(const std::string& path, CScanBuffers& buffers);
    class CScanHooks;
    template <bool kReverse> void CountLine(char* text, CLineTokenizer& tokenizer);
    // The scan in parts on several threads (scan_parts.cpp): false, with
    // nothing done, when the list is too small to gain or no thread can be
    // had.
    bool ScanInParts(const std::vector<std::string>& files, const std::vector<bool>& counted,
                     CScanProgress& progress);
    bool MergePart(const std::string& path, const ScanPart& part, const PartResult& result,
                   bool& bSkipFile);

    void ReadAsUtf8(bool utf8);
    void ShowWordsTitle(std::int64_t words);
    void ReportFailure(FileFailure failure, const std::string& path);
    bool Quit() const;

    CVorlanDoc& m_doc;
    const CSettingsStore& m_settings;
    ICountNotifier& m_notifier;
    const ScanThreads& m_threads;
    const CCountInput& m_input;
    Options m_options;
    ScanVariant m_variant = kScanPlain;
    CountOutcome m_outcome;
    std::unique_ptr<CSegmentation> m_pSegmentation;
    IReportLineSink* m_pStream = nullptr;
};

#endif
