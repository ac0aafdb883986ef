// Output Option on a result window: after OK the report on screen is put in
// the order chosen, byte for byte as a count in that order writes it; a
// report that cannot be (an opened file) keeps its order, and the dialog
// says that the next count will use the new one.
#include "answered_dialogs.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/out_opt_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReportBytes(const CResultDocument& doc) {
    QByteArray bytes;
    for (const auto* node = doc.Report().m_pHead; node; node = node->m_pNextNode)
        bytes += QByteArray::fromStdString(node->m_strLine);
    return bytes;
}

// Stores order (a control id of the dialog) as the dialog's OK would.
void StoreOrder(CSettingsStore& settings, int order, bool percent) {
    const std::pair<int, const char*> keys[] = {{COutOptDlg::IDC_ABC, "abc"},
                                                {COutOptDlg::IDC_ZYX, "zyx"},
                                                {COutOptDlg::IDC_TAIL, "Tail"},
                                                {COutOptDlg::IDC_FREQ, "Freq"},
                                                {COutOptDlg::IDC_LOWFREQ, "LowFreq"}};
    for (const auto& [id, key] : keys)
        settings.WriteSettingInt("Sort", key, id == order ? 1 : 0);
    settings.WriteSettingInt("Sort", "Percent", percent ? 1 : 0);
}

} // namespace

class ReportOrderTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void ok_reordersTheReportAsACountWould_data();
    void ok_reordersTheReportAsACountWould();
    void openedFile_keepsItsOrderAndTheDialogSaysSo();

  private:
    CResultDocument* Doc() const { return m_frame->ActiveView()->GetDocument(); }
    void Count();
    // Runs Output Option, choosing order and percent; returns its note.
    QString ChooseInDialog(int order, bool percent);

    QTemporaryDir m_dir;
    Answers m_answers;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void ReportOrderTest::init() {
    QVERIFY(m_dir.isValid());
    // Case variants met in both orders, equal counts, shared endings.
    WriteFile(m_dir.filePath("a.txt"), "The the cat tac act Zebra zebra apple apples\n"
                                       "end and dna the act ZEBRA x X x\n");
    WriteFile(m_dir.filePath("b.txt"), "the Cat cat pineapple end end dna apple x\n");
    m_settings = std::make_unique<CMemorySettings>();
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
}

void ReportOrderTest::cleanup() {
    for (CVorlanScrollView* view : m_frame->Views())
        view->GetDocument()->Doc().SetModifiedFlag(false);
    m_app.reset();
    m_settings.reset();
}

void ReportOrderTest::Count() {
    AnswerFileDialog(m_frame, m_dir.path() + QLatin1Char('/'), QStringLiteral("*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
}

QString ReportOrderTest::ChooseInDialog(int order, bool percent) {
    QString note;
    COutputServices services = m_answers.Services();
    services.execDialog = [&](QDialog& dialog) {
        auto& options = static_cast<COutOptDlg&>(dialog);
        options.show();
        auto* label = FindWidget<QLabel>(options, QStringLiteral("reportNote"));
        note = label->isVisible() ? label->text() : QString();
        options.Control(order)->click();
        options.Control(COutOptDlg::IDC_PERCENT)->setChecked(percent);
        options.accept();
        return options.result();
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_OUTPUT_OPTION);
    return note;
}

void ReportOrderTest::ok_reordersTheReportAsACountWould_data() {
    using F = COutOptDlg;
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("fromPercent");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("toPercent");
    QTest::newRow("descending to frequency")
        << int(F::IDC_ZYX) << false << int(F::IDC_FREQ) << false;
    QTest::newRow("ascending to less frequent, with percent")
        << int(F::IDC_ABC) << false << int(F::IDC_LOWFREQ) << true;
    QTest::newRow("frequency with percent to endings")
        << int(F::IDC_FREQ) << true << int(F::IDC_TAIL) << false;
    QTest::newRow("endings to ascending") << int(F::IDC_TAIL) << false << int(F::IDC_ABC) << false;
}

void ReportOrderTest::ok_reordersTheReportAsACountWould() {
    QFETCH(int, from);
    QFETCH(bool, fromPercent);
    QFETCH(int, to);
    QFETCH(bool, toPercent);
    StoreOrder(*m_settings, from, fromPercent);
    Count();
    CResultDocument* doc = Doc();
    const QByteArray before = ReportBytes(*doc);
    doc->Doc().SetModifiedFlag(false);
    m_frame->ActiveView()->verticalScrollBar()->setValue(30);
    SaveScreenshot(m_frame, "ui18_report_before_resort");

    QCOMPARE(ChooseInDialog(to, toPercent), QString());
    SaveScreenshot(m_frame, "ui18_report_after_resort");
    const QByteArray resorted = ReportBytes(*doc);
    QVERIFY(resorted != before);
    QVERIFY(doc->IsModified());
    QCOMPARE(m_frame->ActiveView()->verticalScrollBar()->value(), 0);

    m_frame->RouteCommand(ID_FILE_NEW); // a count in the stored order
    Count();
    QCOMPARE(resorted, ReportBytes(*Doc()));
    QCOMPARE(m_answers.messages, QStringList());
}

void ReportOrderTest::openedFile_keepsItsOrderAndTheDialogSaysSo() {
    StoreOrder(*m_settings, COutOptDlg::IDC_ABC, false);
    Count();
    const QString saved = m_dir.filePath("report.txt");
    WriteFile(saved, ReportBytes(*Doc()));
    m_answers.openPath = saved;
    CScopedOutputServices scoped(m_answers.Services());
    Doc()->Doc().SetModifiedFlag(false);
    m_frame->MdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_frame->RouteCommand(ID_FILE_OPEN);
    const QByteArray opened = ReportBytes(*Doc());
    QCOMPARE(opened, ReadAll(saved));

    const QString note = ChooseInDialog(COutOptDlg::IDC_FREQ, false);
    QVERIFY2(note.contains(QStringLiteral("next count will use the new order")), qPrintable(note));
    QCOMPARE(ReportBytes(*Doc()), opened);
    QCOMPARE(m_settings->GetSettingInt("Sort", "Freq", 0), 1);
}

QTEST_MAIN(ReportOrderTest)
#include "report_order_test.moc"
