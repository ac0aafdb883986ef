// Through the program's windows: Copy puts a report of any length on the
// clipboard whole, a print job cut short by the largest page number says so,
// and the Output Option dialog opens with the order the next count uses.
#include "find_widget.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/copy_text_box.h"
#include "ui/main_frame.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/print_preview_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class OutputFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void copy_wholeReportOfAnyLengthReachesTheClipboard();
    void print_cutShortByMaxPageSaysSo();
    void outputOption_opensWithTheOrderTheCountUses();

  private:
    CResultDocument* Doc() const { return m_app->MainFrame()->ActiveChild()->GetDocument(); }
    // count lines "line n" padded to 13 characters; returns the report's text.
    QString FillReport(int count);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    QStringList m_messages;
};

void OutputFaultsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CMemorySettings>();
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_messages.clear();
}

void OutputFaultsTest::cleanup() {
    Doc()->Doc().SetModifiedFlag(false);
    m_app.reset();
    m_settings.reset();
    m_dir.reset();
}

QString OutputFaultsTest::FillReport(int count) {
    QString text;
    for (int i = 1; i <= count; ++i) {
        const QString line = QStringLiteral("line %1").arg(i, 8) + QStringLiteral("\r\n");
        Doc()->Doc().m_listResult.AppendLine(line.toStdString());
        text += line;
    }
    Doc()->UpdateAllViews();
    m_app->MainFrame()->UpdateCommandUI();
    return text;
}

// 3000 lines of 15 bytes: the copy used to stop after 2182 of them.
void OutputFaultsTest::copy_wholeReportOfAnyLengthReachesTheClipboard() {
    const QString report = FillReport(3000);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QFont boxFont;
    int rows = 0;
    QString wholeText;
    bool partialEnabled = true;
    bool partialLooksDisabled = false;
    COutputServices services = OutputServices();
    services.message = [this](QWidget*, const QString& text) { m_messages.append(text); };
    services.execDialog = [&](QDialog& dialog) {
        dialog.show();
        const auto name = [](int id) { return CCopyDialog::ControlName(id); };
        auto* box = FindWidget<CCopyTextBox>(dialog, name(CCopyDialog::IDC_EDIT));
        boxFont = box->font();
        rows = box->RowCount();
        auto* partial = FindWidget<QPushButton>(dialog, name(CCopyDialog::IDC_PARTIAL));
        partialEnabled = partial->isEnabled();
        const QPalette& colours = partial->palette();
        partialLooksDisabled = colours.color(QPalette::Disabled, QPalette::ButtonText) !=
                               colours.color(QPalette::Active, QPalette::ButtonText);
        auto* whole = FindWidget<QPushButton>(dialog, name(CCopyDialog::IDC_WHOLE));
        wholeText = whole->text();
        whole->click();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    m_app->MainFrame()->RouteCommand(ID_EDIT_COPY);
    QCOMPARE(QGuiApplication::clipboard()->text(), report);
    QCOMPARE(m_messages, QStringList{QStringLiteral("Completed!(^_^)")});
    QCOMPARE(rows, 3001); // and the row after the last line end
    QCOMPARE(boxFont, m_app->MainFrame()->ActiveView()->DisplayFont());
    QCOMPARE(wholeText, QStringLiteral("Whole"));
    QVERIFY(!partialEnabled);
    QVERIFY(partialLooksDisabled); // not black like an enabled button's text
}

// 100 lines make three pages; "MaxPage" 2 stops after two.
void OutputFaultsTest::print_cutShortByMaxPageSaysSo() {
    m_settings->WriteSettingString("Print", "MaxPage", "2");
    FillReport(100);
    QString previewTitle;
    COutputServices services = OutputServices();
    services.message = [this](QWidget*, const QString& text) { m_messages.append(text); };
    services.printDialog = [this](QWidget*, QPrinter& printer, int) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir->filePath(QStringLiteral("job.pdf")));
        return true;
    };
    services.execDialog = [&](QDialog& dialog) {
        static_cast<CPrintPreviewDlg&>(dialog).Preview()->updatePreview();
        previewTitle = dialog.windowTitle();
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_app->MainFrame()->RouteCommand(ID_FILE_PRINT);
    QCOMPARE(m_messages, QStringList{QStringLiteral("Printed 2 of 3 pages; raise Max page number "
                                                    "in Print Option to print more.")});
    m_app->MainFrame()->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QVERIFY2(previewTitle.endsWith(QStringLiteral(" - Showing 2 of 3 pages; raise Max page "
                                                  "number in Print Option to print more.")),
             qPrintable(previewTitle));
    QCOMPARE(m_messages.size(), 1);
}

// A fresh profile has no "abc": the count lists descending, and so must the
// dialog show it; confirming it unchanged keeps that order.
void OutputFaultsTest::outputOption_opensWithTheOrderTheCountUses() {
    const QString path = m_dir->filePath(QStringLiteral("words.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("apple banana cherry\n");
    file.close();
    QList<int> shown;
    COutputServices services = OutputServices();
    services.execDialog = [&](QDialog& dialog) {
        auto& options = static_cast<COutOptDlg&>(dialog);
        options.show();
        for (int id : {COutOptDlg::IDC_ABC, COutOptDlg::IDC_ZYX, COutOptDlg::IDC_TAIL,
                       COutOptDlg::IDC_FREQ, COutOptDlg::IDC_LOWFREQ}) {
            if (options.CheckBox(id)->isChecked())
                shown.append(id);
        }
        options.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return options.result();
    };
    CScopedOutputServices scoped(services);
    m_app->MainFrame()->RouteCommand(ID_OUTPUT_OPTION);
    QCOMPARE(shown, QList<int>{COutOptDlg::IDC_ZYX});

    Doc()->CountWords({QFile::encodeName(path).toStdString()}, "/DATA/WORDS.TXT");
    const CExStringList::CLineNode* first = Doc()->Doc().m_listResult.m_pHead->m_pNextNode;
    QVERIFY(std::string_view(first->m_strLine).find("cherry") != std::string_view::npos);
}

QTEST_MAIN(OutputFaultsTest)
#include "output_faults_test.moc"
