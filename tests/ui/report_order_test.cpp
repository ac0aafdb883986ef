// Output Option on a result window: OK puts the report in the order chosen,
// byte for byte as a count in that order writes it; an opened file keeps
// its order, and the dialog says the next count will use the new one.
#include "answered_dialogs.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/out_opt_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Report(CMainFrame* frame) {
    QByteArray bytes;
    for (auto* node = frame->ActiveView()->GetDocument()->Report().m_pHead; node;
         node = node->m_pNextNode)
        bytes += QByteArray::fromStdString(node->m_strLine);
    return bytes;
}

// Runs Output Option choosing order, with percentages; returns its note.
QString Choose(CMainFrame* frame, int order) {
    QString note;
    COutputServices services = OutputServices();
    services.execDialog = [&](QDialog& dialog) {
        auto& options = static_cast<COutOptDlg&>(dialog);
        options.show();
        note = FindWidget<QLabel>(options, QStringLiteral("reportNote"))->text();
        options.Control(order)->click();
        options.Control(COutOptDlg::IDC_PERCENT)->setChecked(true);
        options.accept();
        return options.result();
    };
    CScopedOutputServices scoped(services);
    frame->RouteCommand(ID_OUTPUT_OPTION);
    return note;
}

} // namespace

class ReportOrderTest : public QObject {
    Q_OBJECT
  private slots:
    void ok_reordersAsACountWould();
};

void ReportOrderTest::ok_reordersAsACountWould() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("a.txt"), "The the cat tac act Zebra zebra apple\nend the act x X\n");
    Answers answers;
    answers.openPath = dir.filePath("report.txt");
    CScopedOutputServices scoped(answers.Services());
    CMemorySettings settings;
    CVorlanApp app(settings);
    QVERIFY(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    auto count = [&] {
        AnswerFileDialog(frame, dir.path() + QLatin1Char('/'), QStringLiteral("*.txt"));
        frame->RouteCommand(ID_COUNT_FREQUENCY);
    };
    count();
    const QByteArray before = Report(frame);
    SaveScreenshot(frame, "ui18_report_before_resort");
    QCOMPARE(Choose(frame, COutOptDlg::IDC_FREQ), QString());
    SaveScreenshot(frame, "ui18_report_after_resort");
    const QByteArray resorted = Report(frame);
    QVERIFY(resorted != before);
    frame->RouteCommand(ID_FILE_NEW); // a count in the order now stored
    count();
    QCOMPARE(resorted, Report(frame));

    // Saved and opened again, the report is only lines: it keeps its order.
    WriteFile(answers.openPath, resorted);
    for (CVorlanScrollView* view : frame->Views())
        view->GetDocument()->Doc().SetModifiedFlag(false);
    frame->MdiArea()->closeAllSubWindows();
    frame->RouteCommand(ID_FILE_OPEN);
    QVERIFY(Choose(frame, COutOptDlg::IDC_ABC).contains(QStringLiteral("next count will use")));
    QCOMPARE(Report(frame), resorted);
    QCOMPARE(answers.messages, QStringList());
}

QTEST_MAIN(ReportOrderTest)
#include "report_order_test.moc"
