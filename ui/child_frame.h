// A result window inside the main window: one child window holding one
// result view. Its caption is the document's title, numbered ":1", ":2" while
// the document has several windows.
#ifndef VORLAN_UI_CHILD_FRAME_H
#define VORLAN_UI_CHILD_FRAME_H

#include "ui/command_target.h"

#include <QMdiSubWindow>
#include <memory>

class CResultDocument;
class CVorlanScrollView;

// Asks "Stop counting and close?" of a close given during a count; true on
// Yes.
bool AskStopCountingAndClose(QWidget* parent);

class CChildFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT
  public:
    explicit CChildFrame(std::shared_ptr<CResultDocument> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVorlanScrollView* View() const { return m_pView; }
    CResultDocument* GetDocument() const;
    // The caption: the document's title, with the window number when the
    // document has more than one window, and the note of a partial report.
    QString Caption() const;

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateCaption();
    bool SaveModified();
    bool CountKeepsOpen();
    void CloseAfterCount();

    CVorlanScrollView* m_pView;
    // The user chose to stop the count and close: the window closes when
    // the count has returned.
    bool m_bCloseAfterCount = false;
};

#endif
