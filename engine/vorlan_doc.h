// The result document: one report, the word table of its running count, the
// counters and flags of the last count, and the exclusion list it was created
// with. A count runs on the calling thread; while it runs, the event pump may
// deliver commands that read the report, set m_bQuit or try to close.
#ifndef VORLAN_ENGINE_VORLAN_DOC_H
#define VORLAN_ENGINE_VORLAN_DOC_H

#include "engine/ex_string_list.h"
#include "engine/scan_plan.h"
#include "engine/string_tree.h"
#include "filters/exclude_list.h"
#include "platform/document.h"

#include <cstdint>
#include <string>
#include <vector>

class CLineTokenizer;
class CScanBuffers;
class CScanProgress;
struct PartResult;
struct ScanPart;
class CSettingsStore;
class CTextLineReader;
class ICountNotifier;
struct ScanVariant;

class CVorlanDoc : public CDocument {
  public:
    // Both are kept by reference and must outlive the document. The exclusion
    // list is read from settings here, once.
    CVorlanDoc(CSettingsStore& settings, ICountNotifier& notifier);
    ~CVorlanDoc() override = default;

    // The count run: files in reading order, spec the directory followed by
    // the file name or pattern the user chose. Leaves the report in
    // m_listResult, the counters set, the title as it was, the document
    // modified, and sounds the beep. Does nothing when called while a run of
    // this document is already in progress (from an event handler).
    void CountWords(const std::vector<std::string>& files, std::string spec);
    // True from the start of CountWords to its end; m_bCounting, by
    // contrast, is set only once a file has been opened.
    bool IsCountRunning() const { return m_bRunning; }

    // The four scans; each counts files into m_wordTree.
    void ScanFiles(const std::vector<std::string>& files);
    void ScanFilesByEndings(const std::vector<std::string>& files);
    void ScanHtmlFiles(const std::vector<std::string>& files);
    void ScanHtmlFilesByEndings(const std::vector<std::string>& files);

    // Storing writes every report line byte for byte; loading reads nothing.
    void SerializeReport(CArchive& ar);

    // "Delete result": empties the report and clears the modified flag; the
    // counters keep their values. Tells the views. Does nothing while a
    // count of this document runs.
    void DeleteResult();

    // A document that is counting refuses to close.
    bool CanCloseFrame() const override { return m_bCounting == 0; }

    // Lets one entry of the file list stand for a descriptor the process
    // already holds (standard input in a pipeline): the entry equal to name
    // reads what is left of fd, which stays open and must stay so while
    // counting. Every other entry is opened by its path. An empty name (the
    // default) means no entry is special.
    void SetDescriptorEntry(std::string name, int fd) {
        m_strDescriptorEntry = std::move(name);
        m_nDescriptorFd = fd;
    }

    // True when the last count ran out of memory for its word table and
    // stopped early (the report lists what had been counted until then).
    bool RanOutOfMemory() const { return m_bOutOfMemory; }

    // How many threads a count may use (by default: as many as the machine
    // has, or VORLAN_THREADS), and from which sizes it uses more than one.
    void SetScanThreads(const ScanThreads& threads) { m_scanThreads = threads; }

    CExStringList m_listResult;
    int m_bCounting = 0;
    int m_bQuit = 0;
    int m_bExcludeBinary = 0;
    CExcludeList m_listExclude;
    CStringTree m_wordTree;
    std::int32_t m_nDifferentWords = 0;
    std::int32_t m_nTotalWords = 0;
    std::string m_strSavedTitle;
    std::int32_t m_nFilesProcessed = 0;
    // The last count read its files as UTF-8: every file, or with per-file
    // detection at least one. The report's words are then shown as UTF-8.
    bool m_bUtf8Report = false;

  protected:
    void Serialize(CArchive& ar) override { SerializeReport(ar); }
    void DeleteContents() override { m_listResult.RemoveAllLines(); }

  private:
    void ScanFileList(const std::vector<std::string>& files, const ScanVariant& variant);
    // Counts the list on several threads when it is large enough to gain:
    // false, with nothing done, when it is not (or no thread can be had).
    bool ScanInParts(const std::vector<std::string>& files, const std::vector<bool>& counted,
                     const ScanVariant& variant, CScanProgress& progress);
    // Adds what counting one part gave to the word table and the counters,
    // with the messages its file calls for; false when the scan must stop.
    bool MergePart(const std::string& path, const ScanPart& part, const PartResult& result,
                   const ScanVariant& variant, bool& bSkipFile);
    static std::string UpperPath(const std::string& path);
    bool OpenInput(CTextLineReader& reader, const char* path) const;
    void ScanOneFile(const char* path, const std::string& upperPath, const ScanVariant& variant,
                     CScanBuffers& buffers);
    // Reversing words is decided once per line rather than once per word.
    class CScanHooks;
    template <bool kReverse>
    void CountLine(char* text, CLineTokenizer& tokenizer, const ScanVariant& variant);
    void ShowWordsTitle(const ScanVariant& variant, std::int32_t words);
    bool ReadsAsUtf8(const char* path) const;
    void ReportOpenFailure(const std::string& upperPath, const ScanVariant& variant);
    void ReportReadFailure(const std::string& upperPath, const ScanVariant& variant);
    void Scan(const std::vector<std::string>& files, bool html, bool tail);
    bool BuildReport(std::size_t filesGiven, const std::string& spec, bool tail, bool abc,
                     bool percent);
    void WriteWordLines(bool tail, bool abc, bool percent);
    void SortWordLines();
    void AppendTotalsAndHeader(std::size_t filesGiven, const std::string& spec);

    CSettingsStore& m_settings;
    ICountNotifier& m_notifier;
    bool m_bOutOfMemory = false;
    bool m_bRunning = false;
    // How this count reads its files ("Option"/"Encoding").
    int m_nEncoding = 0;
    ScanThreads m_scanThreads = ScanThreads::ForThisMachine();
    std::string m_strDescriptorEntry;
    int m_nDescriptorFd = -1;
};

#endif
