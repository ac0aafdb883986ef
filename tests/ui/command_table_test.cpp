// The main window's commands as the user meets them: each entry of the menu
// bar with its label and status-bar prompt, carrying out its command, and
// each key reaching its command.
#include "settings/memory_settings.h"
#include "ui/command_ids.h"
#include "ui/command_target.h"
#include "ui/main_frame.h"
#include "ui/result_document.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

// The end of the frame's command route: takes every command and records
// the ones carried out.
class CCommandRecorder : public CCommandTarget {
  public:
    bool QueryCommand(int, CommandState& state) const override {
        state = CommandState{};
        return true;
    }
    void DoCommand(int id) override { done.append(id); }
    QList<int> done;
};

// The entry at path: a menu-bar title, then the labels of the entries below
// it, separated by "/"; null when there is none.
QAction* EntryAt(const CMainFrame& frame, const QString& path) {
    QList<QAction*> entries = frame.menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& label : path.split(QLatin1Char('/'))) {
        found = nullptr;
        for (QAction* entry : entries) {
            if (entry->text() == label)
                found = entry;
        }
        if (!found)
            return nullptr;
        entries = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

// The command a menu entry carries out, or 0.
int CommandOf(const CMainFrame& frame, const QAction* entry) {
    for (int id = 32768; id < 60000; ++id) {
        if (frame.Action(id) == entry)
            return id;
    }
    return 0;
}

void ShowActive(CMainFrame& frame) {
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
}

} // namespace

class CommandTableTest : public QObject {
    Q_OBJECT
  private slots:
    void menuEntry_labelPromptAndCommand_data();
    void menuEntry_labelPromptAndCommand();
    void key_reachesItsCommand_data();
    void key_reachesItsCommand();
    void menuShortcutText_isAKeyOfTheEntrysCommand();
};

void CommandTableTest::menuEntry_labelPromptAndCommand_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("id");
    auto row = [](const char* path, const char* prompt, int id) {
        QTest::newRow(path) << QString::fromLatin1(path) << QString::fromLatin1(prompt) << id;
    };
    row("File(&F)/New(&N)\tCtrl+N", "Create new file.", ID_FILE_NEW);
    row("File(&F)/Open(&O)...\tCtrl+O", "Open a file.", ID_FILE_OPEN);
    row("File(&F)/Close(&C)", "Close this Window.", ID_FILE_CLOSE);
    row("File(&F)/Save(&S)\tCtrl+S", "Save this file to a text file.", ID_FILE_SAVE);
    row("File(&F)/Save as...(&A)...", "Save this file as...", ID_FILE_SAVE_AS);
    row("File(&F)/Print(P)...\tCtrl+P", "Print this file.", ID_FILE_PRINT);
    row("File(&F)/Preview(&V)", "Preview this file...", ID_FILE_PRINT_PREVIEW);
    row("File(&F)/Printer setting(&R)...", "Printer setting", ID_FILE_PRINT_SETUP);
    row("File(&F)/Exit(&X)", "Exit VORLAN", ID_APP_EXIT);
    row("Edit(&E)/Undo(&U)\tCtrl+Z", "Undo...", ID_EDIT_UNDO);
    row("Edit(&E)/Cut(&T)\tCtrl+X", "Cut and copy to the clipboard", ID_EDIT_CUT);
    row("Edit(&E)/Copy(&C)\tCtrl+C", "Copy and Save to the Clipboard", ID_EDIT_COPY);
    row("Edit(&E)/Paste(&P)\tCtrl+V", "Paste...", ID_EDIT_PASTE);
    row("Edit(&E)/Quit counting...", "Quit counting...", ID_QUIT_COUNTING);
    row("Edit(&E)/Delete result", "Delete result.", ID_DELETE_RESULT);
    row("FREQ", "Count the frequency of each word", ID_COUNT_FREQUENCY);
    row("Options(&O)/Print Option", "Printing setting", ID_PRINT_OPTION);
    row("Options(&O)/Output Option...", "Output setting", ID_OUTPUT_OPTION);
    row("Options(&O)/Colors/Text Color", "Please choose the text color", ID_TEXT_COLOR);
    row("Options(&O)/Colors/Back Ground Color", "", ID_BACK_COLOR);
    row("Font", "Change Font", ID_CHANGE_FONT);
    row("Display(&D)/Toolbar(&T)", "Toggle toolbar", ID_VIEW_TOOLBAR);
    row("Display(&D)/Statusbar(&S)", "Toggle statusbar", ID_VIEW_STATUS_BAR);
    row("Window(&W)/New Window(&N)", "Create New Window", ID_WINDOW_NEW);
    row("Window(&W)/Cascade(&C)", "Cascade", ID_WINDOW_CASCADE);
    row("Window(&W)/Tile(&T)", "Tile Horizontal", ID_WINDOW_TILE_HORZ);
    row("Window(&W)/Arrange icons(&A)", "Arrange icons", ID_WINDOW_ARRANGE);
    row("Help(&H)/About Vorlan(&A)...", "About this application", ID_APP_ABOUT);
}

// With a result window the full menu bar is in force; the entry found by its
// label shows its prompt and carries out its command.
void CommandTableTest::menuEntry_labelPromptAndCommand() {
    QFETCH(QString, path);
    QFETCH(QString, prompt);
    QFETCH(int, id);
    CMemorySettings settings;
    CCommandRecorder app;
    CMainFrame frame(&app);
    frame.OpenWindow(std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan1")));
    frame.UpdateCommandUI();
    const QAction* entry = EntryAt(frame, path);
    QVERIFY(entry);
    QCOMPARE(entry->statusTip(), prompt);
    QCOMPARE(CommandOf(frame, entry), id);
}

void CommandTableTest::key_reachesItsCommand_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("id");
    const std::pair<const char*, int> rows[] = {
        {"Ctrl+N", ID_FILE_NEW},        {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+P", ID_FILE_PRINT},      {"Ctrl+Z", ID_EDIT_UNDO},   {"Alt+Backspace", ID_EDIT_UNDO},
        {"Ctrl+X", ID_EDIT_CUT},        {"Shift+Del", ID_EDIT_CUT}, {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+Ins", ID_EDIT_COPY},     {"Ctrl+V", ID_EDIT_PASTE},  {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+F", ID_COUNT_FREQUENCY}, {"F6", ID_NEXT_PANE},       {"Shift+F6", ID_PREV_PANE},
    };
    for (const auto& [key, id] : rows)
        QTest::newRow(key) << QString::fromLatin1(key) << id;
}

// Every command handled at the end of the route, so each key's command is
// enabled: the key carries out that one command, once.
void CommandTableTest::key_reachesItsCommand() {
    QFETCH(QString, key);
    QFETCH(int, id);
    CCommandRecorder app;
    CMainFrame frame(&app);
    frame.UpdateCommandUI();
    ShowActive(frame);
    QTest::keySequence(&frame, QKeySequence::fromString(key, QKeySequence::PortableText));
    QCOMPARE(app.done, QList<int>{id});
}

// The shortcut a menu shows after its label must be a key that really
// reaches the entry's command.
void CommandTableTest::menuShortcutText_isAKeyOfTheEntrysCommand() {
    CMemorySettings settings;
    CCommandRecorder app;
    CMainFrame frame(&app);
    frame.OpenWindow(std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan1")));
    frame.UpdateCommandUI();
    int shown = 0;
    for (QAction* title : frame.menuBar()->actions()) {
        if (!title->menu())
            continue;
        for (QAction* entry : title->menu()->actions()) {
            const qsizetype tab = entry->text().indexOf(QLatin1Char('\t'));
            if (tab < 0)
                continue;
            const QKeySequence key(entry->text().mid(tab + 1), QKeySequence::PortableText);
            QVERIFY2(entry->shortcuts().contains(key), qPrintable(entry->text()));
            QVERIFY(CommandOf(frame, entry) != 0);
            ++shown;
        }
    }
    QCOMPARE(shown, 8); // New, Open, Save, Print, Undo, Cut, Copy and Paste
}

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
