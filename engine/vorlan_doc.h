// The result document: one report, the word table of its running count, the
// counters and flags of the last count, and the exclusion list it was created
// with. A count runs on the calling thread; while it runs, the event pump may
// deliver commands that read the report, set m_bQuit or try to close.
#ifndef VORLAN_ENGINE_VORLAN_DOC_H
#define VORLAN_ENGINE_VORLAN_DOC_H

#include "engine/count_input.h"
#include "engine/count_run.h"
#include "engine/ex_string_list.h"
#include "engine/scan_plan.h"
#include "engine/string_tree.h"
#include "filters/exclude_list.h"
#include "platform/document.h"

#include <cstdint>
#include <string>
#include <vector>

class CSettingsStore;
class ICountNotifier;

class CVorlanDoc : public CDocument {
  public:
    // Both are kept by reference and must outlive the document. The exclusion
    // list is read from settings here, once.
    CVorlanDoc(CSettingsStore& settings, ICountNotifier& notifier);
    ~CVorlanDoc() override = default;
    // The settings the document's counts read; its saves read them too.
    CSettingsStore& Settings() const { return m_settings; }

    // The count run (CCountRun): files in reading order, spec the directory
    // followed by the file name or pattern the user chose. Leaves the report
    // in m_listResult, the counters set, the title as it was, the document
    // modified, and sounds the beep; LastCount() then tells how it went.
    // Does nothing when called while a run of this document is already in
    // progress (from an event handler). The count makes a new report: a
    // document opened from or saved to a file forgets its path, so that Save
    // can never put this report over that file unasked. With pStream the
    // report's lines go there as they are made and m_listResult stays empty
    // (CCountRun::Run).
    void CountWords(const std::vector<std::string>& files, std::string spec,
                    IReportLineSink* pStream = nullptr);
    // A count run is in progress: from the start of CountWords to its end.
    bool IsCountRunning() const { return m_pRun != nullptr; }
    // What the last count run, or scan on its own, gave.
    const CountOutcome& LastCount() const { return m_lastCount; }

    // The four scans; each counts files into m_wordTree, outside a run.
    void ScanFiles(const std::vector<std::string>& files);
    void ScanFilesByEndings(const std::vector<std::string>& files);
    void ScanHtmlFiles(const std::vector<std::string>& files);
    void ScanHtmlFilesByEndings(const std::vector<std::string>& files);

    // What the user sees of a scan read as variant: its progress title every
    // 500 words, and the message on a file that failed (path upper-cased).
    void ShowWordsTitle(const ScanVariant& variant, std::int64_t words);
    static std::string FailureMessage(FileFailure failure, const std::string& upperPath,
                                      const ScanVariant& variant);

    // Storing writes every report line byte for byte. Loading replaces the
    // report with the archive's bytes cut after each LF (the last line may
    // end without one), so storing it again gives those bytes unchanged; the
    // lines are shown as they are, not as words of a count. Throws
    // std::bad_alloc when the lines do not fit in memory.
    void SerializeReport(CArchive& ar);

    // "Delete result": empties the report and clears the modified flag; the
    // counters keep their values. Tells the views. Does nothing while a
    // count of this document runs.
    void DeleteResult();

    // A document that is counting refuses to close.
    bool CanCloseFrame() const override { return m_bCounting == 0; }

    // Lets one entry of the file list stand for a descriptor the process
    // already holds (standard input in a pipeline); see CCountInput.
    void SetDescriptorEntry(std::string name, int fd) {
        m_input.SetDescriptorEntry(std::move(name), fd);
    }

    // How many threads a count may use (by default: as many as the machine
    // has, or VORLAN_THREADS), and from which sizes it uses more than one.
    void SetScanThreads(const ScanThreads& threads) { m_scanThreads = threads; }

    CExStringList m_listResult;
    // Set once the run has opened a file, cleared when the run ends.
    int m_bCounting = 0;
    // The user asked the scan to stop after its current line.
    int m_bQuit = 0;
    int m_bExcludeBinary = 0;
    CExcludeList m_listExclude;
    CStringTree m_wordTree;
    std::int64_t m_nDifferentWords = 0;
    std::int64_t m_nTotalWords = 0;
    std::string m_strSavedTitle;
    std::int64_t m_nFilesProcessed = 0;
    // The words of the report are shown as UTF-8 (CountOutcome::bUtf8Report,
    // kept up to date while the run reads files).
    bool m_bUtf8Report = false;

  protected:
    void Serialize(CArchive& ar) override { SerializeReport(ar); }
    void DeleteContents() override { m_listResult.RemoveAllLines(); }

  private:
    void LoadReport(CArchive& ar);
    void Scan(const std::vector<std::string>& files, const ScanVariant& variant);

    CSettingsStore& m_settings;
    ICountNotifier& m_notifier;
    CCountRun* m_pRun = nullptr; // the run in progress, if any
    CountOutcome m_lastCount;
    ScanThreads m_scanThreads = ScanThreads::ForThisMachine();
    CCountInput m_input;
};

#endif
