// Through the program's windows: Copy puts a report of any length on the
// clipboard whole, and the Output Option dialog opens with the order the
// next count uses.
#include "find_widget.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/main_frame.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

class OutputFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup() { m_app.reset(); }

    void copy_wholeReportOfAnyLengthReachesTheClipboard();
    void outputOption_opensWithTheOrderTheCountUses();

  private:
    CMemorySettings m_settings;
    std::unique_ptr<CVorlanApp> m_app;
};

void OutputFaultsTest::init() {
    m_app = std::make_unique<CVorlanApp>(m_settings);
    QVERIFY(m_app->InitInstance());
}

// 3000 lines of 15 bytes: the copy used to stop after 2182 of them.
void OutputFaultsTest::copy_wholeReportOfAnyLengthReachesTheClipboard() {
    CVorlanScrollView* view = m_app->MainFrame()->ActiveView();
    CResultDocument* doc = view->GetDocument();
    QString report;
    for (int i = 1; i <= 3000; ++i) {
        report += QStringLiteral("line %1\r\n").arg(i, 8);
        doc->Doc().m_listResult.AppendLine(QStringLiteral("line %1\r\n").arg(i, 8).toStdString());
    }
    doc->UpdateAllViews();
    QStringList messages;
    QFont boxFont;
    QPalette partialColours;
    COutputServices services = OutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    services.execDialog = [&](QDialog& dialog) {
        dialog.show();
        boxFont =
            FindWidget<QWidget>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_EDIT))->font();
        // Disabled until text is selected, and drawn so.
        partialColours =
            FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_PARTIAL))
                ->palette();
        FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_WHOLE))->click();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    m_app->MainFrame()->RouteCommand(ID_EDIT_COPY);
    QCOMPARE(QGuiApplication::clipboard()->text(), report);
    QCOMPARE(messages, QStringList{QStringLiteral("Completed!(^_^)")});
    QCOMPARE(boxFont, view->DisplayFont());
    QVERIFY(partialColours.color(QPalette::Disabled, QPalette::ButtonText) !=
            partialColours.color(QPalette::Active, QPalette::ButtonText));
    doc->Doc().SetModifiedFlag(false);
}

// A fresh profile has no "abc", and the count lists descending.
void OutputFaultsTest::outputOption_opensWithTheOrderTheCountUses() {
    QList<int> shown;
    COutputServices services = OutputServices();
    services.execDialog = [&](QDialog& dialog) {
        auto& options = static_cast<COutOptDlg&>(dialog);
        options.show();
        for (int id : {COutOptDlg::IDC_ABC, COutOptDlg::IDC_ZYX, COutOptDlg::IDC_TAIL,
                       COutOptDlg::IDC_FREQ, COutOptDlg::IDC_LOWFREQ}) {
            if (options.Control(id)->isChecked())
                shown.append(id);
        }
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_app->MainFrame()->RouteCommand(ID_OUTPUT_OPTION);
    QCOMPARE(shown, QList<int>{COutOptDlg::IDC_ZYX});
}

QTEST_MAIN(OutputFaultsTest)
#include "output_faults_test.moc"
