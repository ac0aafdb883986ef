// The result view: shows one result document's report in a scrolling window
// and owns the window's commands and their enabled states.
#ifndef VORLAN_UI_VORLAN_SCROLL_VIEW_H
#define VORLAN_UI_VORLAN_SCROLL_VIEW_H

#include "ui/command_target.h"
#include "ui/font_color_commands.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <memory>

class CResultDocument;

class CVorlanScrollView : public QAbstractScrollArea, public CCommandTarget, public CFontColorView {
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

    // Font and colours, as the font and colour commands set them.
    QWidget* DialogOwner() const override { return window(); }
    void SetViewFont(const LogFont& logFont) override;
    void SetTextColor(ColorRef color) override;
    void SetBackColor(ColorRef color) override;
    void UpdateAllViews() override;
    const LogFont& ViewLogFont() const { return m_logFont; }
    const QFont& ViewFont() const { return m_font; }
    ColorRef TextColor() const { return m_crText; }
    ColorRef BackColor() const { return m_crBack; }
    CFontColorCommands& FontColorCommands() { return m_fontColorCommands; }

  signals:
    // Something that decides this view's command states changed.
    void commandStateChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void OnDeleteResult();
    void OnQuitCounting();
    bool LinesExist() const;
    // Every view reads the stored colours when made and at every repaint, so
    // a colour chosen in one view reaches the others.
    void ReadColors();

    std::shared_ptr<CResultDocument> m_pDoc;
    bool m_bCountBusy = false;
    ColorRef m_crBack = 0x00FFFFFF;
    ColorRef m_crText = 0x00000000;
    QFont m_font;
    LogFont m_logFont;
    CFontColorCommands m_fontColorCommands;
};

#endif
