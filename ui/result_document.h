// The result windows' side of a result document: it owns the engine's
// CVorlanDoc and the notifier that speaks for it, turns the document's
// notices into Qt signals, and keeps the list of views showing it. Frames and
// views talk to this one type.
#ifndef VORLAN_UI_RESULT_DOCUMENT_H
#define VORLAN_UI_RESULT_DOCUMENT_H

#include "engine/report_resort.h"
#include "engine/vorlan_doc.h"
#include "ui/gui_count_notifier.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CSettingsStore;
class CVorlanScrollView;

class CResultDocument : public QObject, private IDocumentObserver {
    Q_OBJECT
  public:
    // settings must outlive the document.
    CResultDocument(CSettingsStore& settings, QString title, QObject* parent = nullptr);
    ~CResultDocument() override;

    CVorlanDoc& Doc() { return m_doc; }
    const CVorlanDoc& Doc() const { return m_doc; }
    CSettingsStore& Settings() const { return m_settings; }
    ICountNotifier& Notifier() { return m_notifier; }

    QString Title() const;
    void SetTitle(const QString& title);
    // Where a new report's title comes from ("Vorlan3", as a new window
    // would be titled); without one a new report keeps the title.
    void SetNewTitleSource(std::function<QString()> source) { m_newTitle = std::move(source); }

    // How the windows say that the report is partial, because its count was
    // stopped or ran out of memory ("stopped at 6,226,150 words"); empty for
    // a whole report, an opened file or no report.
    QString PartialNote() const;
    // The title, followed by the partial note in brackets when there is one.
    QString TitleWithNote() const;

    int LineCount() const { return m_doc.m_listResult.m_nLines; }
    const CExStringList& Report() const { return m_doc.m_listResult; }
    // The report's words are UTF-8: the last count read at least one file so.
    bool ReportIsUtf8() const { return m_doc.m_bUtf8Report; }
    // A count of this document runs, from its start (before any file opens) to its end.
    bool IsCountRunning() const { return m_doc.IsCountRunning() || m_doc.m_bCounting != 0; }
    bool IsModified() const { return m_doc.IsModified(); }

    // The count run; the views are told when it starts and ends, and
    // countStarted, countProgress and countEnded follow it. The count makes
    // a new report: a document that belonged to a file forgets it and takes
    // a new title.
    void CountWords(const std::vector<std::string>& files, std::string spec);
    void DeleteResult();

    // Why the report cannot be put into another order now: there is none, a
    // count of this document runs, the count was cut short, or the lines did
    // not come from a count here (an opened file).
    enum class OrderLock { none, noReport, countRunning, partial, notCounted };
    OrderLock WhyOrderIsKept() const;
    // Puts the report into order, byte for byte as a count in that order
    // would have written it, when it can be and is in another order; the
    // views then show it from its first line. A failure is told the user.
    void PutReportInOrder(const ReportOrder& order);
    void RequestQuit() { m_doc.m_bQuit = 1; }
    // The document's window is to close once its count has stopped: the
    // request to stop holds until the count ends (see StopPending).
    void StopForClose() {
        m_bStopForClose = true;
        RequestQuit();
    }
    // A close waits for this document's count to stop. A count forgets a
    // stop request when it opens its next file, so whoever pumps events
    // repeats RequestQuit while this holds.
    bool StopPending() const { return m_bStopForClose; }
    // The close that waited was given up (the user kept the window).
    void CancelStopForClose() { m_bStopForClose = false; }

    // Loads the file at path, as File > Open does: its lines, titled with the
    // file's name. 0 or the errno value of the failure.
    int OpenFile(const QString& path);

    // The views showing this document, in the order they were opened; each
    // view registers itself for its lifetime.
    const std::vector<CVorlanScrollView*>& Views() const { return m_views; }
    void AddView(CVorlanScrollView* view);
    void RemoveView(CVorlanScrollView* view);
    // The window number of view among several windows of this document
    // (1, 2, ...), or 0 while it is the only one.
    int WindowNumber(const CVorlanScrollView* view) const;

    // Makes every view show the report again from its first line.
    void UpdateAllViews() { m_doc.UpdateAllViews(); }

  signals:
    // The caption of every window of this document changes (title or
    // window numbering).
    void captionsChanged();
    // The report or a flag that decides command states changed; views show
    // the report again from its first line.
    void contentChanged();
    // The report's lines may have been replaced or reordered without a
    // content notice (a count is writing them): line positions kept by a
    // view are stale.
    void linesReplaced();
    // A count of this document begins or has ended.
    void countStarted();
    void countEnded();
    // Where the running count stands, at most every 100 ms; the latest
    // figures always follow within that time. The path in progress is valid
    // only during the signal.
    void countProgress(const CountProgress& progress);

  private:
    void OnDocumentUpdate(CDocument& doc) override;
    void OnDocumentTitleChanged(CDocument& doc) override;
    void OnCountProgress(const CountProgress& progress);
    void SendDueProgress();

    CSettingsStore& m_settings;
    CGuiCountNotifier m_notifier;
    CVorlanDoc m_doc;
    std::function<QString()> m_newTitle;
    // The report is the result of a count cut short (LastCount tells how).
    bool m_bPartial = false;
    // The order of the report's word lines, known while it is the whole
    // report of a count.
    std::optional<ReportOrder> m_reportOrder;
    bool m_bStopForClose = false;
    std::vector<CVorlanScrollView*> m_views;
    // During a count the title changes every few hundred words; captions
    // follow it at a pace the eye can read without repainting the window
    // frames for every change.
    QTimer m_captionTimer;
    // The progress figures are held back likewise; the latest waits here.
    QTimer m_progressTimer;
    CountProgress m_progress;
    std::string m_strProgressPath;
    bool m_bProgressPending = false;
    bool m_bProgressSent = false; // in this count
    std::chrono::steady_clock::time_point m_lastProgressSent;
};

#endif
