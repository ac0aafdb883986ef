// The status bar's view of a running count: the file being read ("3 of 120:
// chapter3.txt"), the words counted so far, a bar of the bytes of the whole
// file list, and a Stop button that asks the count to stop as "Quit
// counting..." does. It shows only while a count runs and takes the message
// pane's place then.
//
// Counts run on the one thread, each started from an event that another
// count's event pump let through, so they nest: only the most recently
// started one reads its files until it ends, and the one it interrupted
// resumes then. The widget therefore shows, and Stop stops, the most recent
// running count; when it ends the one before it shows again.
#ifndef VORLAN_UI_COUNT_PROGRESS_BAR_H
#define VORLAN_UI_COUNT_PROGRESS_BAR_H

#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class CResultDocument;
struct CountProgress;

class CCountProgressBar : public QWidget {
    Q_OBJECT
  public:
    explicit CCountProgressBar(QWidget* parent = nullptr);

    // Follows the counts of doc for as long as both live; a document
    // watched already is not watched twice.
    void Watch(CResultDocument* doc);

    // The document whose count is shown, or null when none runs.
    CResultDocument* ShownDocument() const;

    static QString FormatFile(const CountProgress& progress);
    static QString FormatWords(const CountProgress& progress);
    static int FormatPermille(const CountProgress& progress);

  private:
    struct Count {
        CResultDocument* doc;
        const QObject* key; // the document, comparable while it is destroyed
        QString fileText;
        QString fileTip;
        QString wordsText;
        int permille;
    };

    void OnStarted(CResultDocument* doc);
    void OnEnded(CResultDocument* doc);
    void OnProgress(CResultDocument* doc, const CountProgress& progress);
    void Forget(QObject* doc);
    void Stop();
    void ShowLatest();

    std::vector<const QObject*> m_watched;
    std::vector<Count> m_counts; // running, in the order they started
    QLabel* m_pFile;
    QLabel* m_pWords;
    QProgressBar* m_pBar;
    QPushButton* m_pStop;
};

#endif
