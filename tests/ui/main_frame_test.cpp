// The application's start-up, its main window's menus, tool bar, status bar
// and command states, the result windows and the recent-file list.
#include "platform/event_pump.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/about_dlg.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/recent_file_list.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

QStringList MenuBarTitles(CMainFrame& frame) {
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles.append(action->text());
    return titles;
}

QMenu* MenuNamed(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

// The menu's entries as command ids, 0 for a separator and -1 for a submenu.
QList<int> MenuIds(CMainFrame& frame, QMenu* menu) {
    QList<int> ids;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            ids.append(0);
            continue;
        }
        if (action->menu()) {
            ids.append(-1);
            continue;
        }
        int found = -1;
        for (int id = 32768; id < 60000 && found < 0; ++id) {
            if (frame.Action(id) == action)
                found = id;
        }
        // The recent-file entries beyond the first are hidden while unused.
        if (action->isVisible())
            ids.append(found);
    }
    return ids;
}

// The tool bar's slots, left to right: its buttons, null for a separator.
QList<QToolButton*> ToolBarButtons(CMainFrame& frame) {
    QList<QToolButton*> buttons;
    QToolBar* bar = frame.ToolBar();
    for (QAction* slot : bar->actions())
        buttons.append(
            slot->isSeparator() ? nullptr : qobject_cast<QToolButton*>(bar->widgetForAction(slot)));
    return buttons;
}

QStringList WindowTitles(CMainFrame& frame) {
    QStringList titles;
    for (QMdiSubWindow* window : frame.MdiArea()->subWindowList())
        titles.append(window->windowTitle());
    return titles;
}

// Closes the next modal box that opens (message boxes would wait for a user).
void DismissNextModal() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

// Lets closed windows be deleted, as the event loop would.
void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void CloseAll(CMainFrame& frame) {
    frame.MdiArea()->closeAllSubWindows();
    Settle();
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void startUp_opensVorlan1AndNewGivesVorlan2();
    void caption_isAppTitleWithActiveDocument();
    void menuBar_switchesBetweenMenu2AndMenu3();
    void fileMenus_holdTheirCommandsInOrder();
    void editAndWindowMenus_holdTheirCommandsInOrder();
    void toolBar_elevenButtonsThreeSeparatorsInOrder();
    void toolBar_showsPromptsAsToolTips();
    void commands_unhandledAreDisabled();
    void commands_enabledWithResultWindow();
    void commands_enabledWithoutResultWindow();
    void contextMenu_entriesFollowTheirCommands();
    void display_togglesToolBarAndStatusBarWithCheckMarks();
    void statusBar_panesAndPromptsAndIdleText();
    void newWindow_numbersWindowsOfOneDocument();
    void tile_stacksWindowsAtFullWidth();
    void close_closesEveryWindowOfTheDocument();
    void pumpMessages_deliversPendingEvents();
    void abbreviatePath_data();
    void abbreviatePath();
    void windowMenu_listsOpenWindows();
    void shortcut_ctrlNOpensNewWindow();
    void openFile_titledWithNameAndRecorded();
    void openFile_unreadableIsReportedAndNotRecorded_data();
    void openFile_unreadableIsReportedAndNotRecorded();
    void recentFiles_keepFourNewestAndPersist();
    void recentFiles_unusedSlotsAreNotStored();
    void recentFiles_unreadableEntryIsDropped();
    void startUp_setsDialogColours();

  private:
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void MainFrameTest::init() {
    m_settings = std::make_unique<CMemorySettings>();
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
}

void MainFrameTest::cleanup() {
    m_app.reset();
    m_settings.reset();
}

void MainFrameTest::startUp_opensVorlan1AndNewGivesVorlan2() {
    QCOMPARE(WindowTitles(*m_frame), QStringList{"Vorlan1"});
    m_frame->RouteCommand(ID_FILE_NEW);
    QCOMPARE(WindowTitles(*m_frame), (QStringList{"Vorlan1", "Vorlan2"}));
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan2"));
    // Closing windows does not reuse numbers.
    CloseAll(*m_frame);
    m_frame->RouteCommand(ID_FILE_NEW);
    QCOMPARE(WindowTitles(*m_frame), QStringList{"Vorlan3"});
}

void MainFrameTest::caption_isAppTitleWithActiveDocument() {
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan1"));
    m_frame->ActiveChild()->GetDocument()->SetTitle(QStringLiteral("Counting a.txt"));
    QCOMPARE(m_frame->windowTitle(),
             QStringLiteral("Word Frequency Counter VORLAN - Counting a.txt"));
    CloseAll(*m_frame);
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN"));
    QVERIFY(m_frame->windowTitle().endsWith(QLatin1String("VORLAN")));
}

void MainFrameTest::menuBar_switchesBetweenMenu2AndMenu3() {
    const QStringList menu3 = {"File(&F)", "Edit(&E)",    "FREQ",       "Options(&O)",
                               "Font",     "Display(&D)", "Window(&W)", "Help(&H)"};
    const QStringList menu2 = {"File(&F)", "Display(&D)", "Help(&H)"};
    QCOMPARE(m_frame->MenuInForce(), 3);
    QCOMPARE(MenuBarTitles(*m_frame), menu3);
    SaveScreenshot(m_frame, "main_frame");
    CloseAll(*m_frame);
    QCOMPARE(m_frame->MenuInForce(), 2);
    QCOMPARE(MenuBarTitles(*m_frame), menu2);
    SaveScreenshot(m_frame, "main_frame_empty");
    m_frame->RouteCommand(ID_FILE_NEW);
    QCOMPARE(MenuBarTitles(*m_frame), menu3);
    // FREQ and Font are commands in the bar itself.
    QCOMPARE(m_frame->menuBar()->actions()[2], m_frame->Action(ID_COUNT_FREQUENCY));
    QCOMPARE(m_frame->menuBar()->actions()[4], m_frame->Action(ID_CHANGE_FONT));
}

void MainFrameTest::fileMenus_holdTheirCommandsInOrder() {
    const QList<int> file3 = {ID_FILE_NEW,         ID_FILE_OPEN,
                              ID_FILE_CLOSE,       ID_FILE_SAVE,
                              ID_FILE_SAVE_AS,     0,
                              ID_FILE_PRINT,       ID_FILE_PRINT_PREVIEW,
                              ID_FILE_PRINT_SETUP, 0,
                              ID_FILE_MRU_FILE1,   0,
                              ID_APP_EXIT};
    QCOMPARE(MenuIds(*m_frame, MenuNamed(*m_frame, "File(&F)")), file3);
    // The empty recent-file placeholder is greyed and labelled per menu bar.
    QAction* placeholder = m_frame->Action(ID_FILE_MRU_FILE1);
    QCOMPARE(placeholder->text(), QStringLiteral("Most Recently Used Files"));
    QVERIFY(!placeholder->isEnabled());
    CloseAll(*m_frame);
    QCOMPARE(placeholder->text(), QStringLiteral("Most recently Used Files"));
    QVERIFY(!placeholder->isEnabled());
    const QList<int> file2 = {ID_FILE_NEW, ID_FILE_OPEN,      0, ID_FILE_PRINT_SETUP,
                              0,           ID_FILE_MRU_FILE1, 0, ID_APP_EXIT};
    QCOMPARE(MenuIds(*m_frame, MenuNamed(*m_frame, "File(&F)")), file2);
    QCOMPARE(MenuIds(*m_frame, MenuNamed(*m_frame, "Display(&D)")),
             (QList<int>{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}));
    QCOMPARE(MenuIds(*m_frame, MenuNamed(*m_frame, "Help(&H)")), QList<int>{ID_APP_ABOUT});
}

void MainFrameTest::editAndWindowMenus_holdTheirCommandsInOrder() {
    QCOMPARE(MenuIds(*m_frame, MenuNamed(*m_frame, "Edit(&E)")),
             (QList<int>{ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                         ID_COUNT_FREQUENCY, ID_QUIT_COUNTING, ID_DELETE_RESULT}));
    QMenu* options = MenuNamed(*m_frame, "Options(&O)");
    QCOMPARE(MenuIds(*m_frame, options), (QList<int>{ID_PRINT_OPTION, ID_OUTPUT_OPTION, -1}));
    QMenu* colors = options->actions().last()->menu();
    QCOMPARE(colors->title(), QStringLiteral("Colors"));
    QCOMPARE(MenuIds(*m_frame, colors), (QList<int>{ID_TEXT_COLOR, ID_BACK_COLOR}));
    QCOMPARE(
        MenuIds(*m_frame, MenuNamed(*m_frame, "Window(&W)")),
        (QList<int>{ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}));
}

void MainFrameTest::toolBar_elevenButtonsThreeSeparatorsInOrder() {
    const QList<int> expected = {ID_FILE_NEW,        ID_FILE_OPEN,     ID_FILE_SAVE,     0,
                                 ID_EDIT_CUT,        ID_EDIT_COPY,     ID_EDIT_PASTE,    0,
                                 ID_COUNT_FREQUENCY, ID_QUIT_COUNTING, ID_DELETE_RESULT, 0,
                                 ID_FILE_PRINT,      ID_APP_ABOUT};
    const QList<QToolButton*> buttons = ToolBarButtons(*m_frame);
    QCOMPARE(buttons.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        if (!expected[i]) {
            QVERIFY(!buttons[i]);
            continue;
        }
        QVERIFY(buttons[i]);
        QCOMPARE(buttons[i]->defaultAction(), m_frame->Action(expected[i]));
        QVERIFY(!buttons[i]->icon().isNull());
        QCOMPARE(buttons[i]->iconSize(), QSize(16, 15));
    }
    // The images belong to the buttons: they survive state changes, and the
    // menu bar's FREQ stays text.
    CloseAll(*m_frame);
    for (QToolButton* button : ToolBarButtons(*m_frame)) {
        if (button)
            QVERIFY(!button->icon().isNull());
    }
    QVERIFY(m_frame->Action(ID_COUNT_FREQUENCY)->icon().isNull());
    QToolBar* bar = m_frame->ToolBar();
    QVERIFY(!bar->isMovable());
    QVERIFY(!bar->isFloatable());
    QCOMPARE(m_frame->toolBarArea(bar), Qt::TopToolBarArea);
}

// Each button's tip is its command's prompt, with the key when it has one,
// and stays so when the command's state changes.
void MainFrameTest::toolBar_showsPromptsAsToolTips() {
    CloseAll(*m_frame);
    for (QToolButton* tipped : ToolBarButtons(*m_frame)) {
        if (!tipped)
            continue;
        const QAction* action = tipped->defaultAction();
        QVERIFY(!action->statusTip().isEmpty());
        QVERIFY2(tipped->toolTip().startsWith(action->statusTip()), qPrintable(tipped->toolTip()));
    }
    const QString key = QKeySequence(QStringLiteral("Ctrl+F")).toString(QKeySequence::NativeText);
    QCOMPARE(ToolBarButtons(*m_frame)[8]->toolTip(),
             QStringLiteral("Count the frequency of each word (%1)").arg(key));
    QToolButton* button = ToolBarButtons(*m_frame)[0];
    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &event);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().startsWith(QStringLiteral("Create new file.")));
    QToolTip::hideText();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(m_frame->statusBar()->currentMessage(), QStringLiteral("Create new file."));
}

void MainFrameTest::commands_unhandledAreDisabled() {
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE})
        QVERIFY2(!m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
    // A frame with no application behind it leaves the application's
    // commands unhandled too.
    CMainFrame bare;
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_APP_ABOUT, ID_APP_EXIT, ID_FILE_PRINT_SETUP})
        QVERIFY2(!bare.Action(id)->isEnabled(), qPrintable(QString::number(id)));
    QVERIFY(bare.Action(ID_VIEW_TOOLBAR)->isEnabled());
}

// An empty report: nothing to save, copy, print or delete.
void MainFrameTest::commands_enabledWithResultWindow() {
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_QUIT_COUNTING, ID_FILE_PRINT_SETUP,
                   ID_APP_ABOUT, ID_APP_EXIT, ID_WINDOW_NEW, ID_WINDOW_CASCADE})
        QVERIFY2(m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                   ID_EDIT_COPY, ID_DELETE_RESULT})
        QVERIFY2(!m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
}

void MainFrameTest::commands_enabledWithoutResultWindow() {
    CloseAll(*m_frame);
    QVERIFY(m_frame->Action(ID_FILE_OPEN)->isEnabled());
    QVERIFY(m_frame->Action(ID_FILE_NEW)->isEnabled());
    for (int id : {ID_FILE_SAVE, ID_EDIT_COPY, ID_COUNT_FREQUENCY, ID_QUIT_COUNTING,
                   ID_DELETE_RESULT, ID_FILE_PRINT, ID_WINDOW_NEW, ID_FILE_CLOSE})
        QVERIFY2(!m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
    // Open stays enabled with a window open.
    m_frame->RouteCommand(ID_FILE_NEW);
    QVERIFY(m_frame->Action(ID_FILE_OPEN)->isEnabled());
}

void MainFrameTest::contextMenu_entriesFollowTheirCommands() {
    QMenu* menu = m_frame->ContextMenu();
    QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), 5);
    QCOMPARE(entries[0]->menu()->title(), QStringLiteral("File"));
    QList<QAction*> file = entries[0]->menu()->actions();
    QCOMPARE(file.size(), 2);
    QCOMPARE(file[0]->text(), QStringLiteral("Save"));
    QCOMPARE(file[1]->text(), QStringLiteral("Save as..."));
    QCOMPARE(entries[1]->text(), QStringLiteral("Freq"));
    QCOMPARE(entries[2]->text(), QStringLiteral("Font"));
    QCOMPARE(entries[3]->text(), QStringLiteral("Clear Result"));
    QCOMPARE(entries[4]->text(), QStringLiteral("Concordance"));
    const QList<QPair<QAction*, int>> pairs = {
        {file[0], ID_FILE_SAVE},          {file[1], ID_FILE_SAVE_AS},
        {entries[1], ID_COUNT_FREQUENCY}, {entries[2], ID_CHANGE_FONT},
        {entries[3], ID_DELETE_RESULT},   {entries[4], ID_CONCORDANCE}};
    for (auto [entry, id] : pairs) {
        QCOMPARE(entry->isEnabled(), m_frame->Action(id)->isEnabled());
        QCOMPARE(entry->statusTip(), m_frame->Action(id)->statusTip());
    }
}

void MainFrameTest::display_togglesToolBarAndStatusBarWithCheckMarks() {
    QAction* toolbar = m_frame->Action(ID_VIEW_TOOLBAR);
    QAction* statusbar = m_frame->Action(ID_VIEW_STATUS_BAR);
    QVERIFY(toolbar->isCheckable() && toolbar->isChecked());
    QVERIFY(statusbar->isCheckable() && statusbar->isChecked());

    toolbar->trigger();
    QVERIFY(m_frame->ToolBar()->isHidden());
    QVERIFY(!toolbar->isChecked());
    toolbar->trigger();
    QVERIFY(!m_frame->ToolBar()->isHidden());
    QVERIFY(toolbar->isChecked());
    QCOMPARE(m_frame->toolBarArea(m_frame->ToolBar()), Qt::TopToolBarArea);

    statusbar->trigger();
    QVERIFY(m_frame->statusBar()->isHidden());
    QVERIFY(!statusbar->isChecked());
    statusbar->trigger();
    QVERIFY(!m_frame->statusBar()->isHidden());
    QVERIFY(statusbar->isChecked());
}

void MainFrameTest::statusBar_panesAndPromptsAndIdleText() {
    const QList<QLabel*> found =
        m_frame->statusBar()->findChildren<QLabel*>(QStringLiteral("indicator"));
    const std::vector<QLabel*> panes(found.begin(), found.end());
    QCOMPARE(panes.size(), std::size_t(4));
    const char* names[] = {"KANA", "CAP", "NUM", "SCRL"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(panes[i]->property("indicator").toString(), QString::fromLatin1(names[i]));
        // Wide enough for its text whether or not it is showing it.
        QVERIFY(panes[i]->minimumWidth() >=
                panes[i]->fontMetrics().horizontalAdvance(QString::fromLatin1(names[i])));
    }
    QStatusBar* bar = m_frame->statusBar();
    QCOMPARE(bar->currentMessage(), QStringLiteral("Ready"));
    QStatusTipEvent prompt(m_frame->Action(ID_FILE_NEW)->statusTip());
    QApplication::sendEvent(m_frame, &prompt);
    QCOMPARE(bar->currentMessage(), QStringLiteral("Create new file."));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(m_frame, &leave);
    QCOMPARE(bar->currentMessage(), QStringLiteral("Ready"));
}

void MainFrameTest::newWindow_numbersWindowsOfOneDocument() {
    m_frame->RouteCommand(ID_WINDOW_NEW);
    QCOMPARE(WindowTitles(*m_frame), (QStringList{"Vorlan1:1", "Vorlan1:2"}));
    CChildFrame* second = m_frame->ActiveChild();
    QCOMPARE(second->GetDocument(),
             qobject_cast<CChildFrame*>(m_frame->MdiArea()->subWindowList()[0])->GetDocument());
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan1:2"));
    second->close();
    Settle();
    QCOMPARE(WindowTitles(*m_frame), QStringList{"Vorlan1"});
}

void MainFrameTest::tile_stacksWindowsAtFullWidth() {
    m_frame->resize(600, 400);
    m_frame->RouteCommand(ID_FILE_NEW);
    m_frame->RouteCommand(ID_FILE_NEW);
    m_frame->MdiArea()->subWindowList()[2]->showMinimized();
    m_frame->RouteCommand(ID_WINDOW_TILE_HORZ);
    const QRect area = m_frame->MdiArea()->viewport()->rect();
    const QList<QMdiSubWindow*> windows = m_frame->MdiArea()->subWindowList();
    QCOMPARE(windows[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    QCOMPARE(windows[1]->geometry(), QRect(0, area.height() / 2, area.width(), area.height() / 2));
    // Arranging puts the minimised window at the bottom left.
    windows[2]->move(100, 50);
    m_frame->RouteCommand(ID_WINDOW_ARRANGE);
    QCOMPARE(windows[2]->geometry().bottomLeft(), QPoint(0, area.bottom()));
}

void MainFrameTest::close_closesEveryWindowOfTheDocument() {
    m_frame->RouteCommand(ID_FILE_NEW);
    m_frame->MdiArea()->setActiveSubWindow(m_frame->MdiArea()->subWindowList()[0]);
    m_frame->RouteCommand(ID_WINDOW_NEW);
    QCOMPARE(WindowTitles(*m_frame), (QStringList{"Vorlan1:1", "Vorlan2", "Vorlan1:2"}));
    m_frame->RouteCommand(ID_FILE_CLOSE);
    Settle();
    QCOMPARE(WindowTitles(*m_frame), QStringList{"Vorlan2"});
}

void MainFrameTest::windowMenu_listsOpenWindows() {
    m_frame->RouteCommand(ID_FILE_NEW);
    QMenu* menu = m_frame->WindowMenu();
    emit menu->aboutToShow();
    QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 4 + 1 + 2);
    QVERIFY(actions[4]->isSeparator());
    QCOMPARE(actions[5]->text(), QStringLiteral("&1 Vorlan1"));
    QCOMPARE(actions[6]->text(), QStringLiteral("&2 Vorlan2"));
    QVERIFY(!actions[5]->isChecked());
    QVERIFY(actions[6]->isChecked());
    actions[5]->trigger();
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
    // Opening the menu again rebuilds the list rather than adding to it.
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 7);
}

void MainFrameTest::shortcut_ctrlNOpensNewWindow() {
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    QTest::keyClick(m_frame, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(WindowTitles(*m_frame), (QStringList{"Vorlan1", "Vorlan2"}));
    // Keys of a disabled command do nothing.
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void MainFrameTest::openFile_titledWithNameAndRecorded() {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("report.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("word 1\r\n");
    file.close();
    CChildFrame* child = m_app->OpenDocumentFile(path);
    QVERIFY(child);
    QCOMPARE(child->windowTitle(), QStringLiteral("report.txt"));
    QCOMPARE(child->GetDocument()->LineCount(), 1);
    QCOMPARE(m_app->RecentFiles().Files(), QStringList{path});
    QAction* first = m_frame->Action(ID_FILE_MRU_FILE1);
    QVERIFY(first->text().startsWith(QLatin1String("&1 ")));
    QVERIFY(first->isEnabled());
    QVERIFY(!m_frame->Action(ID_FILE_MRU_FILE1 + 1)->isVisible());
}

void MainFrameTest::openFile_unreadableIsReportedAndNotRecorded_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << QStringLiteral("gone.txt");
    QTest::newRow("directory") << QStringLiteral("folder");
}

void MainFrameTest::openFile_unreadableIsReportedAndNotRecorded() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QStringList messages;
    COutputServices services = OutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    CScopedOutputServices scoped(services);
    const int windows = int(m_frame->MdiArea()->subWindowList().size());
    QCOMPARE(m_app->OpenDocumentFile(dir.filePath(name)), nullptr);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith(QStringLiteral("Failed to open document.\n") +
                                   dir.filePath(name) + QStringLiteral(": ")));
    QCOMPARE(m_app->RecentFiles().Files(), QStringList());
    QCOMPARE(int(m_frame->MdiArea()->subWindowList().size()), windows);
}

void MainFrameTest::recentFiles_keepFourNewestAndPersist() {
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        paths.append(dir.filePath(QStringLiteral("f%1.txt").arg(i)));
        QFile file(paths.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    for (const QString& path : paths)
        QVERIFY(m_app->OpenDocumentFile(path));
    m_app->OpenDocumentFile(paths[2]);
    const QStringList expected = {paths[2], paths[4], paths[3], paths[1]};
    QCOMPARE(m_app->RecentFiles().Files(), expected);
    m_app->ExitInstance();
    QCOMPARE(QString::fromStdString(m_settings->GetSettingString("Recent File List", "File1", "")),
             paths[2]);
    QCOMPARE(QString::fromStdString(m_settings->GetSettingString("Recent File List", "File4", "")),
             paths[1]);

    CVorlanApp next(*m_settings);
    QVERIFY(next.InitInstance());
    QCOMPARE(next.RecentFiles().Files(), expected);
    for (int i = 0; i < 4; ++i)
        QVERIFY(next.MainFrame()->Action(ID_FILE_MRU_FILE1 + i)->isEnabled());
}

void MainFrameTest::recentFiles_unusedSlotsAreNotStored() {
    m_settings->WriteSettingString("Recent File List", "File3", "/old/stale.txt");
    m_app->ExitInstance();
    for (const char* key : {"File1", "File2", "File3", "File4"})
        QVERIFY2(!m_settings->Find("Recent File List", key), key);
    QVERIFY(!m_settings->Find("Settings", "PreviewPages"));
}

void MainFrameTest::recentFiles_unreadableEntryIsDropped() {
    m_settings->WriteSettingString("Recent File List", "File1", "/nonexistent/gone.txt");
    CVorlanApp app(*m_settings);
    QVERIFY(app.InitInstance());
    QCOMPARE(app.RecentFiles().Files().size(), 1);
    DismissNextModal();
    app.MainFrame()->RouteCommand(ID_FILE_MRU_FILE1);
    QVERIFY(app.RecentFiles().Files().isEmpty());
    QCOMPARE(app.MainFrame()->MdiArea()->subWindowList().size(), 1);
    QVERIFY(!app.MainFrame()->Action(ID_FILE_MRU_FILE1)->isEnabled());
}

// Long work reaches the event loop through the pump once the program runs.
void MainFrameTest::pumpMessages_deliversPendingEvents() {
    bool delivered = false;
    QMetaObject::invokeMethod(
        m_frame, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    PumpMessages();
    QVERIFY(delivered);
}

void MainFrameTest::abbreviatePath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fits") << "/home/ann/notes.txt"
                          << "/home/ann/notes.txt";
    QTest::newRow("exactly thirty") << "/home/ann/texts/novel/ch01.txt"
                                    << "/home/ann/texts/novel/ch01.txt";
    QTest::newRow("leading levels dropped") << "/home/ann/texts/novel/ch001.txt"
                                            << "/.../ann/texts/novel/ch001.txt";
    QTest::newRow("only the name fits") << "/a/averyveryverylongfilename_of_a_report.txt"
                                        << "averyveryverylongfilename_of_a_report.txt";
}

void MainFrameTest::abbreviatePath() {
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(AbbreviatePath(path, 30), shown);
}

void MainFrameTest::startUp_setsDialogColours() {
    CAboutDlg about(m_frame);
    about.ensurePolished();
    QCOMPARE(about.palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(about.palette().color(QPalette::WindowText), QColor(Qt::black));
    // Only dialogs: the main window keeps the platform's colours.
    QCOMPARE(m_frame->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Window));
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
