// The concordance window of a word of a report: its hits over the files of
// that count in a table that fills while the files are read (with the
// progress and Stop of a count in its status bar), the collocates on a
// second tab, Copy and Save as of the rows as TSV, and the file of a hit on
// double-click. The search runs on the user-interface thread and lets
// events through after every line, as a count does, so the report's window
// stays usable meanwhile.
#ifndef VORLAN_UI_CONCORDANCE_WINDOW_H
#define VORLAN_UI_CONCORDANCE_WINDOW_H

#include "engine/count_notifier.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

class CConcordanceModel;
class CResultDocument;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;
class QTabWidget;

class CConcordanceWindow : public QMainWindow, private ICountNotifier {
    Q_OBJECT
  public:
    // word is a word of doc's report as counted, nCounted its count there;
    // files the list that count read. The window deletes itself on close.
    CConcordanceWindow(std::shared_ptr<CResultDocument> doc, std::string word,
                       std::uint64_t nCounted, std::vector<std::string> files,
                       QWidget* parent = nullptr);
    ~CConcordanceWindow() override;

    // Reads the files; returns when done or stopped (events are handled
    // meanwhile).
    void Search();
    bool IsSearching() const { return m_bSearching; }
    // "Concordance of LORD: 7,830 hits".
    static QString TitleFor(const QString& word, std::int64_t hits);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The main window closing stops the search: the program is ending.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateWidgets();
    void CreateStatusBar();
    void UpdateTitle(std::int64_t hits);
    void ShowEnd(std::int64_t hits, bool stopped, const class CCollocates& collocates);
    void FillCollocates(const class CCollocates& collocates);
    void CopyRows();
    void SaveRows();
    void ShowHit(const QModelIndex& index);

    void ShowMessage(const std::string& text) override;
    void Beep() override;
    void OnProgress(const CountProgress& progress) override;

    std::shared_ptr<CResultDocument> m_pDoc;
    std::string m_strWord;
    std::uint64_t m_nCounted;
    std::vector<std::string> m_files;
    CConcordanceModel* m_pModel;
    int m_nQuit = 0;
    bool m_bSearching = false;
    bool m_bCloseWhenDone = false;
    bool m_bTagsRemoved = false; // the search stripped HTML tags
    QElapsedTimer m_sinceProgress;
    QTabWidget* m_pTabs = nullptr;
    QTableView* m_pTable = nullptr;
    QTableWidget* m_pCollocates = nullptr;
    QComboBox* m_pSort = nullptr;
    QLabel* m_pNote = nullptr;
    QLabel* m_pFile = nullptr;
    QLabel* m_pWords = nullptr;
    QProgressBar* m_pBar = nullptr;
    QPushButton* m_pStop = nullptr;
};

#endif
