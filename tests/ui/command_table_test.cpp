// The main window's actions carry every command's label, keys and prompt,
// and each command has exactly one action.
#include "ui/command_ids.h"
#include "ui/command_table.h"
#include "ui/main_frame.h"

#include <QAction>
#include <QSet>
#include <QTest>

class CommandTableTest : public QObject {
    Q_OBJECT
  private slots:
    void actionMatchesCommand_data();
    void actionMatchesCommand();
    void everyCommandHasOneActionAndUniqueId();
    void menuShortcutTextNamesTheFirstKey();
};

void CommandTableTest::actionMatchesCommand_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("prompt");
    auto row = [](int id, const char* label, QStringList keys, const char* prompt) {
        QTest::newRow(*label ? label : qPrintable(keys[0]))
            << id << QString::fromLatin1(label) << keys << QString::fromLatin1(prompt);
    };
    row(57600, "New(&N)\tCtrl+N", {"Ctrl+N"}, "Create new file.");
    row(57601, "Open(&O)...\tCtrl+O", {"Ctrl+O"}, "Open a file.");
    row(57602, "Close(&C)", {}, "Close this Window.");
    row(57603, "Save(&S)\tCtrl+S", {"Ctrl+S"}, "Save this file to a text file.");
    row(57604, "Save as...(&A)...", {}, "Save this file as...");
    row(57607, "Print(P)...\tCtrl+P", {"Ctrl+P"}, "Print this file.");
    row(57608, "Preview(&V)", {}, "Preview this file...");
    row(57606, "Printer setting(&R)...", {}, "Printer setting");
    row(57665, "Exit(&X)", {}, "Exit VORLAN");
    row(57643, "Undo(&U)\tCtrl+Z", {"Ctrl+Z", "Alt+Backspace"}, "Undo...");
    row(57635, "Cut(&T)\tCtrl+X", {"Ctrl+X", "Shift+Del"}, "Cut and copy to the clipboard");
    row(57634, "Copy(&C)\tCtrl+C", {"Ctrl+C", "Ctrl+Ins"}, "Copy and Save to the Clipboard");
    row(57637, "Paste(&P)\tCtrl+V", {"Ctrl+V", "Shift+Ins"}, "Paste...");
    row(32773, "Quit counting...", {}, "Quit counting...");
    row(32774, "Delete result", {}, "Delete result.");
    row(32768, "FREQ", {"Ctrl+F"}, "Count the frequency of each words");
    row(32770, "Print Option", {}, "Printing setting");
    row(32771, "Output Option...", {}, "Output setting");
    row(32776, "Text Color", {}, "Pleae choose the text color");
    row(32778, "Back Ground Color", {}, "");
    row(32769, "Font", {}, "Change Font");
    row(59392, "Toolbar(&T)", {}, "Toggle toolbar");
    row(59393, "Statusbar(&S)", {}, "Toggle statusbar");
    row(57648, "New Window(&N)", {}, "Create New Window");
    row(57650, "Cascade(&C)", {}, "Cascade");
    row(57651, "Tile(&T)", {}, "Tile Horizontal");
    row(57649, "Arrange icons(&A)", {}, "Arrange icons");
    row(57664, "About Vorlan(&A)...", {}, "About this application");
    // Keys only: no window splits into panes, so nobody handles them.
    row(ID_NEXT_PANE, "", {"F6"}, "");
    row(ID_PREV_PANE, "", {"Shift+F6"}, "");
}

void CommandTableTest::actionMatchesCommand() {
    QFETCH(int, id);
    QFETCH(QString, label);
    QFETCH(QStringList, keys);
    QFETCH(QString, prompt);
    CMainFrame frame;
    QAction* action = frame.Action(id);
    QVERIFY(action);
    QCOMPARE(action->text(), label);
    QStringList shortcuts;
    for (const QKeySequence& key : action->shortcuts())
        shortcuts.append(key.toString(QKeySequence::PortableText));
    QCOMPARE(shortcuts, keys);
    QCOMPARE(action->statusTip(), prompt);
}

void CommandTableTest::everyCommandHasOneActionAndUniqueId() {
    CMainFrame frame;
    QSet<int> ids;
    QSet<QAction*> actions;
    for (const CommandInfo& info : CommandTable()) {
        QVERIFY2(!ids.contains(info.id), qPrintable(QString::number(info.id)));
        ids.insert(info.id);
        QAction* action = frame.Action(info.id);
        QVERIFY(action);
        QVERIFY(!actions.contains(action));
        actions.insert(action);
        QCOMPARE(FindCommand(info.id), &info);
    }
    QVERIFY(!frame.Action(12345));
    QVERIFY(!FindCommand(12345));
}

// The shortcut a menu shows must be a key that really reaches the command.
void CommandTableTest::menuShortcutTextNamesTheFirstKey() {
    for (const CommandInfo& info : CommandTable()) {
        if (!info.label)
            continue;
        QString label = QString::fromLatin1(info.label);
        qsizetype tab = label.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        QVERIFY2(info.keys[0], info.label);
        QCOMPARE(label.mid(tab + 1), QString::fromLatin1(info.keys[0]));
    }
}

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
