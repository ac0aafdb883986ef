// The result windows' side of a result document: the title shown as the
// windows' caption, the report's line count and flags that decide which
// commands are enabled, and the list of views to refresh.
//
// This is the one place where the result document plugs in. Until it does,
// a document holds its title and an empty report; the operations marked
// below then forward to it.
#ifndef VORLAN_UI_RESULT_DOCUMENT_H
#define VORLAN_UI_RESULT_DOCUMENT_H

#include <QObject>
#include <QString>
#include <vector>

class CVorlanScrollView;

class CResultDocument : public QObject {
    Q_OBJECT
  public:
    explicit CResultDocument(QString title, QObject* parent = nullptr);

    const QString& Title() const { return m_strTitle; }
    void SetTitle(const QString& title);

    // Forwarded to the document once it plugs in.
    int LineCount() const { return 0; }
    bool IsCounting() const { return false; }
    bool IsModified() const { return false; }
    void DeleteResult();
    void RequestQuit() { m_bQuit = true; }
    bool QuitRequested() const { return m_bQuit; }

    // The views showing this document, in the order they were opened; each
    // view registers itself for its lifetime.
    const std::vector<CVorlanScrollView*>& Views() const { return m_views; }
    void AddView(CVorlanScrollView* view);
    void RemoveView(CVorlanScrollView* view);
    // The window number of view among several windows of this document
    // (1, 2, ...), or 0 while it is the only one.
    int WindowNumber(const CVorlanScrollView* view) const;

    // Makes every view repaint from the report.
    void UpdateAllViews();

  signals:
    // The caption of every window of this document changes (title or
    // window numbering).
    void captionsChanged();
    // The report or a flag that decides command states changed.
    void contentChanged();

  private:
    QString m_strTitle;
    bool m_bQuit = false;
    std::vector<CVorlanScrollView*> m_views;
};

#endif
