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

class CChildFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT
  public:
    explicit CChildFrame(std::shared_ptr<CResultDocument> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVorlanScrollView* View() const { return m_pView; }
    CResultDocument* GetDocument() const;
    // The caption: the document's title, with the window number when the
    // document has more than one window.
    QString Caption() const;

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateCaption();
    bool SaveModified();

    CVorlanScrollView* m_pView;
};

#endif
