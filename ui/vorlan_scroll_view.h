// The result view: shows one result document's report in a scrolling window
// and owns the window's commands and their enabled states.
#ifndef VORLAN_UI_VORLAN_SCROLL_VIEW_H
#define VORLAN_UI_VORLAN_SCROLL_VIEW_H

#include "ui/command_target.h"

#include <QAbstractScrollArea>
#include <memory>

class CResultDocument;

class CVorlanScrollView : public QAbstractScrollArea, public CCommandTarget {
    Q_OBJECT
  public:
    // The view keeps its document alive; the document lives as long as any
    // of its views.
    explicit CVorlanScrollView(std::shared_ptr<CResultDocument> doc, QWidget* parent = nullptr);
    ~CVorlanScrollView() override;

    CResultDocument* GetDocument() const { return m_pDoc.get(); }
    const std::shared_ptr<CResultDocument>& SharedDocument() const { return m_pDoc; }

    bool IsCountBusy() const { return m_bCountBusy; }

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

  signals:
    // Something that decides this view's command states changed.
    void commandStateChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void OnDeleteResult();
    void OnQuitCounting();
    bool LinesExist() const;

    std::shared_ptr<CResultDocument> m_pDoc;
    bool m_bCountBusy = false;
    // 0x00BBGGRR; read from the colour settings once they plug in.
    unsigned m_crBack = 0x00FFFFFF;
    unsigned m_crText = 0x00000000;
};

#endif
