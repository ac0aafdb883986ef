#include "ui/main_frame.h"

#include "ui/app_strings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/command_table.h"
#include "ui/count_progress_bar.h"
#include "ui/keyboard_state.h"
#include "ui/recent_file_list.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QAction>
#include <QActionEvent>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

// The images are compiled into the library; naming their initialiser here
// keeps the linker from dropping them.
static void InitResources() {
    Q_INIT_RESOURCE(vorlan);
}

namespace {

// The tool bar, left to right; 0 stands for a separator. The n-th button
// shows the n-th image of the strip.
constexpr int kToolBarSlots[] = {
    ID_FILE_NEW,        ID_FILE_OPEN,     ID_FILE_SAVE,     0,
    ID_EDIT_CUT,        ID_EDIT_COPY,     ID_EDIT_PASTE,    0,
    ID_COUNT_FREQUENCY, ID_QUIT_COUNTING, ID_DELETE_RESULT, 0,
    ID_FILE_PRINT,      ID_APP_ABOUT,
};
constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;
constexpr int kRecentFiles = CRecentFileList::kSize;
constexpr int kIndicatorPollMs = 250;
// A result window that is not the only one opens at this share (per cent)
// of the frame's client area.
constexpr int kChildShare = 80;

const char* const kIndicatorTexts[] = {"KANA", "CAP", "NUM", "SCRL"};

// The tool tip of a button: the command's prompt, and its key when it has one.
QString ToolTipOf(const QAction* action) {
    const QKeySequence key = action->shortcut();
    if (key.isEmpty())
        return action->statusTip();
    return QStringLiteral("%1 (%2)").arg(action->statusTip(),
                                         key.toString(QKeySequence::NativeText));
}

// A tool bar button for a command. Its image and tool tip belong to the
// button, not to the command's action, so that the menu bar shows FREQ as
// text and the menus show no tips.
class CToolBarButton : public QToolButton {
  public:
    CToolBarButton(QAction* action, const QIcon& icon, QWidget* parent)
        : QToolButton(parent), m_icon(icon) {
        setDefaultAction(action);
        ShowOwnLook();
        setAutoRaise(true);
        setFocusPolicy(Qt::NoFocus);
        setIconSize(QSize(kButtonWidth, kButtonHeight));
    }

  protected:
    // A change of the action (its enabled state) resets the button's icon
    // and tip to the action's.
    void actionEvent(QActionEvent* event) override {
        QToolButton::actionEvent(event);
        if (event->type() == QEvent::ActionChanged)
            ShowOwnLook();
    }

  private:
    void ShowOwnLook() {
        setIcon(m_icon);
        setToolTip(ToolTipOf(defaultAction()));
    }

    QIcon m_icon;
};

} // namespace

CMainFrame::CMainFrame(CCommandTarget* app, QWidget* parent)
    : QMainWindow(parent), m_pApp(app), m_pMdiArea(new QMdiArea(this)) {
    InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/vorlan/vorlan.png")));
    setContextMenuPolicy(Qt::NoContextMenu);
    setCentralWidget(m_pMdiArea);
    // A new window stays as it opens even while the active one is maximised.
    m_pMdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateContextMenu();
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateCommandUI);
    UpdateCommandUI();
}

// The windows inside go down with the frame's base class, after this
// frame's own members; their last signals must not reach it.
CMainFrame::~CMainFrame() {
    disconnect(m_pMdiArea, nullptr, this, nullptr);
    disconnect(m_pToolBar, nullptr, this, nullptr);
    disconnect(statusBar(), nullptr, this, nullptr);
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        disconnect(window, nullptr, this, nullptr);
        if (auto* child = qobject_cast<CChildFrame*>(window))
            disconnect(child->View(), nullptr, this, nullptr);
    }
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& info : CommandTable()) {
        auto* action = new QAction(info.label ? QString::fromLatin1(info.label) : QString(), this);
        QList<QKeySequence> keys;
        for (const char* key : info.keys) {
            if (key)
                keys.append(QKeySequence(QString::fromLatin1(key)));
        }
        action->setShortcuts(keys);
        action->setStatusTip(info.prompt ? QString::fromLatin1(info.prompt) : QString());
        m_actions[info.id] = action;
    }
    // The recent-file list's further entries follow the placeholder's id.
    for (int i = 1; i < kRecentFiles; ++i) {
        auto* action = new QAction(this);
        action->setStatusTip(m_actions[ID_FILE_MRU_FILE1]->statusTip());
        m_actions[ID_FILE_MRU_FILE1 + i] = action;
    }
    m_actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
    for (auto [id, action] : m_actions) {
        connect(action, &QAction::triggered, this, [this, id = id] { RouteCommand(id); });
        // Keys reach every command whichever menu bar is in force.
        addAction(action);
    }
}

void CMainFrame::CreateMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id)
                menu->addAction(Action(id));
            else
                menu->addSeparator();
        }
    };
    auto addRecent = [this](QMenu* menu) {
        for (int i = 0; i < kRecentFiles; ++i)
            menu->addAction(Action(ID_FILE_MRU_FILE1 + i));
    };
    m_pFileMenu2 = new QMenu(tr("File(&F)"), this);
    add(m_pFileMenu2, {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_FILE_PRINT_SETUP, 0});
    addRecent(m_pFileMenu2);
    add(m_pFileMenu2, {0, ID_APP_EXIT});

    m_pFileMenu3 = new QMenu(tr("File(&F)"), this);
    add(m_pFileMenu3, {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
                       ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0});
    addRecent(m_pFileMenu3);
    add(m_pFileMenu3, {0, ID_APP_EXIT});

    m_pEditMenu = new QMenu(tr("Edit(&E)"), this);
    // The count command also stands here, where a menu shows its key.
    add(m_pEditMenu, {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                      ID_COUNT_FREQUENCY, ID_QUIT_COUNTING, ID_DELETE_RESULT});

    m_pOptionsMenu = new QMenu(tr("Options(&O)"), this);
    add(m_pOptionsMenu, {ID_PRINT_OPTION, ID_OUTPUT_OPTION});
    QMenu* colors = m_pOptionsMenu->addMenu(tr("Colors"));
    add(colors, {ID_TEXT_COLOR, ID_BACK_COLOR});

    m_pDisplayMenu = new QMenu(tr("Display(&D)"), this);
    add(m_pDisplayMenu, {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR});

    m_pWindowMenu = new QMenu(tr("Window(&W)"), this);
    add(m_pWindowMenu, {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE});
    connect(m_pWindowMenu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowList);

    m_pHelpMenu = new QMenu(tr("Help(&H)"), this);
    add(m_pHelpMenu, {ID_APP_ABOUT});

    // States are brought up to date whenever a menu opens.
    for (QMenu* menu : findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::ShowMenu(int menu) {
    if (menu == m_nMenu)
        return;
    m_nMenu = menu;
    QMenuBar* bar = menuBar();
    bar->clear();
    if (menu == 2) {
        bar->addMenu(m_pFileMenu2);
        bar->addMenu(m_pDisplayMenu);
        bar->addMenu(m_pHelpMenu);
    } else {
        bar->addMenu(m_pFileMenu3);
        bar->addMenu(m_pEditMenu);
        bar->addAction(Action(ID_COUNT_FREQUENCY));
        bar->addMenu(m_pOptionsMenu);
        bar->addAction(Action(ID_CHANGE_FONT));
        bar->addMenu(m_pDisplayMenu);
        bar->addMenu(m_pWindowMenu);
        bar->addMenu(m_pHelpMenu);
    }
    UpdateRecentFileItems();
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new QToolBar(tr("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(QSize(kButtonWidth, kButtonHeight));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    QPixmap strip(QStringLiteral(":/vorlan/toolbar.png"));
    int image = 0;
    for (int id : kToolBarSlots) {
        if (!id) {
            m_pToolBar->addSeparator();
            continue;
        }
        QIcon icon(strip.copy(image++ * kButtonWidth, 0, kButtonWidth, kButtonHeight));
        m_pToolBar->addWidget(new CToolBarButton(Action(id), icon, m_pToolBar));
    }
    connect(m_pToolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    for (const char* text : kIndicatorTexts) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("indicator"));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 8);
        pane->setProperty("indicator", QString::fromLatin1(text));
        bar->addPermanentWidget(pane);
        m_indicators.push_back(pane);
    }
    // A prompt that goes away leaves the idle text behind.
    m_strIdleText = QString::fromLatin1(kIdleText);
    connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(m_strIdleText);
    });
    bar->showMessage(m_strIdleText);
    // First of the permanent panes and stretching: while it shows it covers
    // the message pane; hidden, it leaves the bar as it was.
    m_pCountProgress = new CCountProgressBar(bar);
    bar->insertPermanentWidget(0, m_pCountProgress, 1);
    UpdateIndicators();
    if (KeyboardLocksKnown()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateIndicators);
        timer->start(kIndicatorPollMs);
    }
}

void CMainFrame::UpdateIndicators() {
    for (std::size_t i = 0; i < m_indicators.size(); ++i) {
        QLabel* pane = m_indicators[i];
        bool on = KeyboardLockOn(static_cast<KeyboardLock>(i));
        pane->setText(on ? pane->property("indicator").toString() : QString());
    }
}

QAction* CMainFrame::AddAlias(int id, const QString& label) {
    auto* alias = new QAction(label, this);
    alias->setStatusTip(Action(id)->statusTip());
    connect(alias, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_aliases.emplace(id, alias);
    return alias;
}

void CMainFrame::CreateContextMenu() {
    m_pContextMenu = new QMenu(this);
    QMenu* file = m_pContextMenu->addMenu(tr("File"));
    file->addAction(AddAlias(ID_FILE_SAVE, tr("Save")));
    file->addAction(AddAlias(ID_FILE_SAVE_AS, tr("Save as...")));
    m_pContextMenu->addAction(AddAlias(ID_COUNT_FREQUENCY, tr("Freq")));
    m_pContextMenu->addAction(AddAlias(ID_CHANGE_FONT, tr("Font")));
    m_pContextMenu->addAction(AddAlias(ID_DELETE_RESULT, tr("Clear Result")));
    m_pContextMenu->addAction(m_actions[ID_CONCORDANCE]);
}

void CMainFrame::ShowContextMenu(CVorlanScrollView* view, const QPoint& pos) {
    view->SetMenuPoint(pos); // the concordance is of the line under it
    UpdateCommandUI();
    m_pContextMenu->exec(view->viewport()->mapToGlobal(pos));
}

CChildFrame* CMainFrame::OpenWindow(std::shared_ptr<CResultDocument> doc) {
    m_pCountProgress->Watch(doc.get());
    const bool only = m_pMdiArea->subWindowList().isEmpty();
    auto* child = new CChildFrame(std::move(doc));
    m_pMdiArea->addSubWindow(child);
    PlaceNewChild(child, only);
    CVorlanScrollView* view = child->View();
    connect(view, &CVorlanScrollView::commandStateChanged, this, &CMainFrame::UpdateCommandUI);
    connect(view, &CVorlanScrollView::countFinished, this, &CMainFrame::OnCountFinished);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { ShowContextMenu(view, pos); });
    connect(child, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateCaption);
    // A closed window leaves the route; the states follow at once.
    connect(child, &QObject::destroyed, this, &CMainFrame::UpdateCommandUI, Qt::QueuedConnection);
    m_pMdiArea->setActiveSubWindow(child);
    UpdateCommandUI();
    return child;
}

// The only result window fills the frame; any other opens over most of it,
// a title bar's height further down and right than the one before, so that
// the windows behind stay reachable.
void CMainFrame::PlaceNewChild(CChildFrame* child, bool only) {
    if (only) {
        child->showMaximized();
        return;
    }
    const QRect area = m_pMdiArea->viewport()->rect();
    const QSize size = area.size() * kChildShare / 100;
    const int step = std::max(1, child->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int places = std::max(
        1, std::min(area.width() - size.width(), area.height() - size.height()) / step + 1);
    const int offset = (m_nCascade++ % places) * step;
    child->setGeometry(QRect(QPoint(offset, offset), size));
    child->showNormal();
}

CChildFrame* CMainFrame::ActiveChild() const {
    // The current window stays current while the program is in the
    // background, unlike the active one.
    return qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
}

CVorlanScrollView* CMainFrame::ActiveView() const {
    CChildFrame* child = ActiveChild();
    return child ? child->View() : nullptr;
}

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::SetRecentFiles(const QStringList& names) {
    m_recentNames = names.mid(0, kRecentFiles);
    UpdateRecentFileItems();
    UpdateCommandUI();
}

// The first entry doubles as the placeholder, whose label differs between
// the two menu bars; unused entries are hidden.
void CMainFrame::UpdateRecentFileItems() {
    const CommandInfo* info = FindCommand(ID_FILE_MRU_FILE1);
    QAction* first = Action(ID_FILE_MRU_FILE1);
    if (m_recentNames.isEmpty()) {
        const char* label = m_nMenu == 2 ? info->labelMenu2 : info->label;
        first->setText(QString::fromLatin1(label));
    }
    for (int i = 0; i < kRecentFiles; ++i) {
        QAction* action = Action(ID_FILE_MRU_FILE1 + i);
        if (i < m_recentNames.size())
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(m_recentNames[i]));
        action->setVisible(i == 0 || i < m_recentNames.size());
    }
}

std::vector<CCommandTarget*> CMainFrame::CommandRoute() const {
    std::vector<CCommandTarget*> route;
    if (CChildFrame* child = ActiveChild()) {
        route.push_back(child->View());
        route.push_back(child);
    }
    route.push_back(const_cast<CMainFrame*>(this));
    if (m_pApp)
        route.push_back(m_pApp);
    return route;
}

bool CMainFrame::QueryRoute(int id, CommandState& state) const {
    for (CCommandTarget* target : CommandRoute()) {
        state = CommandState{};
        if (target->QueryCommand(id, state))
            return true;
    }
    state = CommandState{.enabled = false};
    return false;
}

void CMainFrame::UpdateCommandUI() {
    ShowMenu(ActiveChild() ? 3 : 2);
    auto apply = [](QAction* action, const CommandState& state) {
        action->setEnabled(state.enabled);
        if (action->isCheckable())
            action->setChecked(state.checked);
    };
    for (auto [id, action] : m_actions) {
        CommandState state;
        QueryRoute(id, state);
        apply(action, state);
        auto [first, last] = m_aliases.equal_range(id);
        for (auto it = first; it != last; ++it)
            apply(it->second, state);
    }
    UpdateCaption();
}

void CMainFrame::RouteCommand(int id) {
    for (CCommandTarget* target : CommandRoute()) {
        CommandState state;
        if (!target->QueryCommand(id, state))
            continue;
        if (state.enabled)
            target->DoCommand(id);
        break;
    }
    UpdateCommandUI();
}

void CMainFrame::UpdateCaption() {
    CChildFrame* child = ActiveChild();
    QString title = QString::fromLatin1(kAppTitle);
    m_strCaption = child ? QStringLiteral("%1 - %2").arg(title, child->Caption()) : title;
    setWindowTitle(m_strCaption);
    UpdateIdleText();
}

// A maximised result window would add its caption once more in brackets;
// the caption already names it, so the frame keeps its own.
void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && !m_strCaption.isNull() &&
        windowTitle() != m_strCaption)
        setWindowTitle(m_strCaption);
}

// A prompt on show stays; the idle text under it changes.
void CMainFrame::UpdateIdleText() {
    CChildFrame* child = ActiveChild();
    const QString note = child ? child->GetDocument()->PartialNote() : QString();
    QString idle = note.isEmpty() ? QString::fromLatin1(kIdleText)
                                  : QStringLiteral("Partial report: %1").arg(note);
    if (idle == m_strIdleText)
        return;
    QStatusBar* bar = statusBar();
    const bool showingIdle = bar->currentMessage() == m_strIdleText;
    m_strIdleText = std::move(idle);
    if (showingIdle)
        bar->showMessage(m_strIdleText);
}

void CMainFrame::FillWindowList() {
    for (QAction* action : m_windowListActions)
        delete action;
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowListActions.push_back(m_pWindowMenu->addSeparator());
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        auto* action = m_pWindowMenu->addAction(
            QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == m_pMdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window = QPointer(window)] {
            if (window)
                m_pMdiArea->setActiveSubWindow(window);
        });
        m_windowListActions.push_back(action);
    }
}

// A count runs inside a command of its view, on this thread: the windows
// must outlive it. Closing then asks whether to stop counting; on Yes every
// count stops as "Quit counting..." would, and the close is done again once
// the last count has returned.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (AnyCountRunning()) {
        event->ignore();
        if (!m_bClosePending && AskStopCountingAndClose(this)) {
            m_bClosePending = true;
            StopCountsForExit();
        }
        return;
    }
    m_bClosePending = false;
    // Every document closes first; one that refuses (a count still reading
    // its files) keeps the program running.
    m_pMdiArea->closeAllSubWindows();
    if (!m_pMdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

std::vector<CVorlanScrollView*> CMainFrame::Views() const {
    std::vector<CVorlanScrollView*> views;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            views.push_back(child->View());
    }
    return views;
}

bool CMainFrame::AnyCountRunning() const {
    for (CVorlanScrollView* view : Views()) {
        if (view->IsCountBusy() || view->GetDocument()->IsCountRunning())
            return true;
    }
    return false;
}

void CMainFrame::StopCountsForExit() {
    for (CVorlanScrollView* view : Views()) {
        CResultDocument* doc = view->GetDocument();
        if (doc->IsCountRunning() && (m_bClosePending || doc->StopPending()))
            doc->RequestQuit();
    }
}

void CMainFrame::OnCountFinished() {
    UpdateCommandUI();
    // Queued: the count's command is still on the stack.
    if (m_bClosePending && !AnyCountRunning())
        QTimer::singleShot(0, this, [this] {
            if (m_bClosePending)
                close();
        });
}

bool CMainFrame::QueryCommand(int id, CommandState& state) const {
    switch (id) {
    case ID_VIEW_TOOLBAR:
        state = {.enabled = true, .checked = !m_pToolBar->isHidden()};
        return true;
    case ID_VIEW_STATUS_BAR:
        state = {.enabled = true, .checked = !statusBar()->isHidden()};
        return true;
    case ID_WINDOW_NEW:
        state.enabled = ActiveChild() != nullptr;
        return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

void CMainFrame::DoCommand(int id) {
    switch (id) {
    case ID_VIEW_TOOLBAR:
        m_pToolBar->setVisible(m_pToolBar->isHidden());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        break;
    case ID_WINDOW_NEW:
        if (CVorlanScrollView* view = ActiveView())
            OpenWindow(view->SharedDocument());
        break;
    case ID_WINDOW_CASCADE:
        m_pMdiArea->cascadeSubWindows();
        break;
    case ID_WINDOW_TILE_HORZ:
        TileHorizontally();
        break;
    case ID_WINDOW_ARRANGE:
        ArrangeIcons();
        break;
    default:
        break;
    }
}

// Horizontal tiling stacks the open windows one above the other, each as
// wide as the client area.
void CMainFrame::TileHorizontally() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        if (!window->isMinimized())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_pMdiArea->viewport()->rect();
    const int height = area.height() / int(windows.size());
    int top = 0;
    for (QMdiSubWindow* window : windows) {
        if (window->isMaximized())
            window->showNormal();
        window->setGeometry(0, top, area.width(), height);
        top += height;
    }
}

// Minimised windows are lined up along the bottom edge, left to right.
void CMainFrame::ArrangeIcons() {
    const QRect area = m_pMdiArea->viewport()->rect();
    int left = 0;
    int bottom = area.bottom() + 1;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (left > 0 && left + size.width() > area.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}
