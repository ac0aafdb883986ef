#include "ui/print_preview_dlg.h"

#include "ui/app_strings.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

QPrintPreviewWidget::ViewMode PreviewViewMode(int nPages) {
    if (nPages == 2)
        return QPrintPreviewWidget::FacingPagesView;
    if (nPages > 2)
        return QPrintPreviewWidget::AllPagesView;
    return QPrintPreviewWidget::SinglePageView;
}

int PreviewPagesFor(QPrintPreviewWidget::ViewMode mode, int nCurrent) {
    switch (mode) {
    case QPrintPreviewWidget::SinglePageView:
        return 1;
    case QPrintPreviewWidget::FacingPagesView:
        return 2;
    case QPrintPreviewWidget::AllPagesView:
        return nCurrent > 2 ? nCurrent : 3;
    }
    return nCurrent;
}

CPrintPreviewDlg::CPrintPreviewDlg(QPrinter& printer, int nPreviewPages, QWidget* parent)
    : QDialog(parent), m_pPreview(new QPrintPreviewWidget(&printer, this)),
      m_pPageLabel(new QLabel(this)), m_nPreviewPages(nPreviewPages) {
    SetPageLimitNotice(QString());
    CreateActions();
    auto* toolBar = new QToolBar(this);
    for (int i = 0; i < kButtonCount; ++i) {
        toolBar->addAction(m_actions[i]);
        if (i == IDC_PRINT || i == IDC_NEXT_PAGE || i == IDC_ALL_PAGES)
            toolBar->addSeparator();
        if (i == IDC_ZOOM_OUT) {
            toolBar->addSeparator();
            toolBar->addWidget(m_pPageLabel);
            toolBar->addSeparator();
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_pPreview, 1);
    resize(800, 700);

    const QPrintPreviewWidget::ViewMode mode = PreviewViewMode(nPreviewPages);
    m_pPreview->setViewMode(mode);
    m_pPreview->setZoomMode(QPrintPreviewWidget::FitInView);
    m_actions[IDC_ONE_PAGE + int(mode)]->setChecked(true);
    connect(m_pPreview, &QPrintPreviewWidget::previewChanged, this,
            &CPrintPreviewDlg::UpdatePageControls);
}

void CPrintPreviewDlg::CreateActions() {
    const char* const texts[kButtonCount] = {"&Print...", "Pre&v Page", "&Next Page",
                                             "&One Page", "T&wo Page",  "&All Pages",
                                             "Zoom &In",  "Zoom O&ut",  "&Close"};
    for (int i = 0; i < kButtonCount; ++i)
        m_actions[i] = new QAction(QString::fromLatin1(texts[i]), this);
    auto* modes = new QActionGroup(this);
    for (int i = IDC_ONE_PAGE; i <= IDC_ALL_PAGES; ++i) {
        m_actions[i]->setCheckable(true);
        modes->addAction(m_actions[i]);
        const auto mode = static_cast<QPrintPreviewWidget::ViewMode>(i - IDC_ONE_PAGE);
        connect(m_actions[i], &QAction::triggered, this, [this, mode] { SetViewMode(mode); });
    }
    connect(m_actions[IDC_PRINT], &QAction::triggered, this, [this] {
        m_bPrint = true;
        accept();
    });
    connect(m_actions[IDC_PREV_PAGE], &QAction::triggered, this, [this] { TurnPage(-1); });
    connect(m_actions[IDC_NEXT_PAGE], &QAction::triggered, this, [this] { TurnPage(1); });
    connect(m_actions[IDC_ZOOM_IN], &QAction::triggered, m_pPreview,
            [this] { m_pPreview->zoomIn(); });
    connect(m_actions[IDC_ZOOM_OUT], &QAction::triggered, m_pPreview,
            [this] { m_pPreview->zoomOut(); });
    connect(m_actions[IDC_CLOSE], &QAction::triggered, this, &QDialog::reject);
    AddPageKeys();
}

// Home and End, with or without Ctrl, go to the first and the last page,
// wherever the focus is in the window.
void CPrintPreviewDlg::AddPageKeys() {
    auto addKeys = [this](QKeySequence plain, QKeySequence withCtrl, auto page) {
        auto* action = new QAction(this);
        action->setShortcuts({plain, withCtrl});
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, page] {
            m_pPreview->setCurrentPage(page());
            UpdatePageControls();
        });
        addAction(action);
    };
    addKeys(QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home), [] { return 1; });
    addKeys(QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End),
            [this] { return m_pPreview->pageCount(); });
}

// The user's choice of pages side by side outlives the window.
void CPrintPreviewDlg::SetViewMode(QPrintPreviewWidget::ViewMode mode) {
    m_pPreview->setViewMode(mode);
    m_pPreview->setZoomMode(QPrintPreviewWidget::FitInView);
    m_nPreviewPages = PreviewPagesFor(mode, m_nPreviewPages);
    UpdatePageControls();
}

void CPrintPreviewDlg::SetPageLimitNotice(const QString& notice) {
    const QString title = QString::fromLatin1(kAppTitle);
    setWindowTitle(notice.isEmpty() ? title : title + QStringLiteral(" - ") + notice);
}

void CPrintPreviewDlg::TurnPage(int nStep) {
    m_pPreview->setCurrentPage(m_pPreview->currentPage() + nStep);
    UpdatePageControls();
}

void CPrintPreviewDlg::UpdatePageControls() {
    const int current = m_pPreview->currentPage();
    const int count = m_pPreview->pageCount();
    const bool paging = m_pPreview->viewMode() != QPrintPreviewWidget::AllPagesView;
    m_actions[IDC_PREV_PAGE]->setEnabled(paging && current > 1);
    m_actions[IDC_NEXT_PAGE]->setEnabled(paging && current < count);
    m_pPageLabel->setText(QStringLiteral(" Page %1 / %2 ").arg(current).arg(count));
}
