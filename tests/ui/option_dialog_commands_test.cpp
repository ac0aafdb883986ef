// The option commands of a result view: each runs its own dialog modally,
// owned by the view's window, and only what that dialog's OK stores reaches
// the settings.
#include "settings_recorder.h"
#include "ui/command_ids.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QDialog>
#include <QTest>

class OptionDialogCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void command_runsItsDialog_data();
    void command_runsItsDialog();
};

void OptionDialogCommandsTest::command_runsItsDialog_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("writes");
    QTest::newRow("output option, OK stores every flag")
        << int(ID_OUTPUT_OPTION) << true << QStringLiteral("Output Option") << 9;
    QTest::newRow("output option, cancel stores nothing")
        << int(ID_OUTPUT_OPTION) << false << QStringLiteral("Output Option") << 0;
    QTest::newRow("print option, OK stores the untouched page number box")
        << int(ID_PRINT_OPTION) << true << QStringLiteral("Print Options") << 1;
    QTest::newRow("print option, cancel stores nothing")
        << int(ID_PRINT_OPTION) << false << QStringLiteral("Print Options") << 0;
}

void OptionDialogCommandsTest::command_runsItsDialog() {
    QFETCH(int, command);
    QFETCH(bool, ok);
    QFETCH(QString, title);
    QFETCH(int, writes);
    CRecordingSettings settings;
    QWidget window;
    auto* view =
        new CVorlanScrollView(std::make_shared<CResultDocument>(settings, "Vorlan1"), &window);
    QStringList titles;
    QWidget* owner = nullptr;
    COutputServices services = OutputServices();
    services.execDialog = [&](QDialog& dialog) {
        dialog.show();
        titles.append(dialog.windowTitle());
        owner = dialog.parentWidget();
        ok ? dialog.accept() : dialog.reject();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    settings.writes.clear();

    CommandState state;
    QVERIFY(view->QueryCommand(command, state));
    QVERIFY(state.enabled);
    view->DoCommand(command);
    QCOMPARE(titles, QStringList{title});
    QCOMPARE(owner, &window);
    QCOMPARE(settings.writes.size(), writes);
}

QTEST_MAIN(OptionDialogCommandsTest)
#include "option_dialog_commands_test.moc"
