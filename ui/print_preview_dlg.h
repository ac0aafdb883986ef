// The preview window: the job's pages with page buttons, zoom, and one, two
// or all pages side by side. Its Print button closes the window and leaves
// the printing to the caller, which runs it as the Print command does (the
// same printer dialog, page range and last page).
#ifndef VORLAN_UI_PRINT_PREVIEW_DLG_H
#define VORLAN_UI_PRINT_PREVIEW_DLG_H

#include <QDialog>
#include <QPrintPreviewWidget>

class QAction;
class QLabel;
class QPrinter;

// The view that shows nPages pages side by side: one page for 1 and for 0
// or less (no choice made), facing pages for 2, all pages for more.
QPrintPreviewWidget::ViewMode PreviewViewMode(int nPages);
// The number to remember after the user chose mode, given the number in
// force: a larger number that already means all pages is kept.
int PreviewPagesFor(QPrintPreviewWidget::ViewMode mode, int nCurrent);

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
  public:
    enum Button {
        IDC_PRINT,
        IDC_PREV_PAGE,
        IDC_NEXT_PAGE,
        IDC_ONE_PAGE,
        IDC_TWO_PAGE,
        IDC_ALL_PAGES,
        IDC_ZOOM_IN,
        IDC_ZOOM_OUT,
        IDC_CLOSE,
        kButtonCount
    };

    // printer must outlive the dialog; the pages come from Preview()'s
    // paintRequested.
    CPrintPreviewDlg(QPrinter& printer, int nPreviewPages, QWidget* parent = nullptr);

    QPrintPreviewWidget* Preview() const { return m_pPreview; }
    QAction* Action(Button button) const { return m_actions[button]; }
    // The pages-side-by-side number: as given, or what the user last chose.
    int PreviewPages() const { return m_nPreviewPages; }
    // True when the window was closed by its Print button.
    bool PrintChosen() const { return m_bPrint; }
    // Shown in the window's title after the program's name; empty: none.
    void SetPageLimitNotice(const QString& notice);

  private:
    void CreateActions();
    void AddPageKeys();
    void SetViewMode(QPrintPreviewWidget::ViewMode mode);
    void TurnPage(int nStep);
    void UpdatePageControls();

    QPrintPreviewWidget* m_pPreview;
    QLabel* m_pPageLabel;
    QAction* m_actions[kButtonCount] = {};
    int m_nPreviewPages;
    bool m_bPrint = false;
};

#endif
