// Print and preview jobs of a result window on the application's printer:
// what "Printer setting" chose reaches the printed pages and the preview, the
// preview shows and remembers its pages side by side, and printing from the
// preview keeps the Print command's page range and last page.
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/print_preview_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString ReadPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

int PdfPageCount(const QString& pdf) {
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// Width and height in points of every page of the file.
QList<QSize> PdfPageSizes(const QString& pdf) {
    QList<QSize> sizes;
    QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"));
    for (auto it = box.globalMatch(pdf); it.hasNext();) {
        const auto match = it.next();
        sizes.append(
            QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble())));
    }
    return sizes;
}

} // namespace

class PrintSetupTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void printerSetting_reachesPrintAndPreview_data();
    void printerSetting_reachesPrintAndPreview();
    void printerSetting_dialogChoiceStaysForTheNextJob();
    void printDialog_offersAllPagesAgainAfterARange();
    void previewPages_shownAndRememberedAtExit_data();
    void previewPages_shownAndRememberedAtExit();
    void previewPrint_keepsRangeAndLastPage_data();
    void previewPrint_keepsRangeAndLastPage();
    void maxPage_cuttingAJobShortIsSaidOnce();
    void preview_homeAndEndGoToFirstAndLastPage();

  private:
    void StartApp();
    void FillReport(int count);
    // The printer dialog answered with PDF output into m_pdf and the range
    // from..to (0: all pages); records what the dialog was offered.
    COutputServices PrintToPdf(int from = 0, int to = 0);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
    QString m_pdf;
    QStringList m_messages;
    int m_nOffered = 0;
    QPageLayout m_offeredLayout;
    QPrinter::PrintRange m_offeredRange = QPrinter::AllPages;
};

void PrintSetupTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CMemorySettings>();
    m_pdf = m_dir->filePath(QStringLiteral("job.pdf"));
    m_nOffered = 0;
    m_messages.clear();
}

void PrintSetupTest::cleanup() {
    m_app.reset();
    m_settings.reset();
    m_dir.reset();
}

void PrintSetupTest::StartApp() {
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
}

void PrintSetupTest::FillReport(int count) {
    CResultDocument* doc = m_frame->ActiveChild()->GetDocument();
    for (int i = 1; i <= count; ++i)
        doc->Doc().m_listResult.AppendLine("line " + std::to_string(i) + "\r\n");
    doc->UpdateAllViews();
    m_frame->UpdateCommandUI();
}

COutputServices PrintSetupTest::PrintToPdf(int from, int to) {
    COutputServices services = OutputServices();
    services.message = [this](QWidget*, const QString& text) { m_messages.append(text); };
    services.printDialog = [this, from, to](QWidget*, QPrinter& printer, int maxPage) {
        m_nOffered = maxPage;
        m_offeredLayout = printer.pageLayout();
        m_offeredRange = printer.printRange();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        if (from) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        return true;
    };
    return services;
}

void PrintSetupTest::printerSetting_reachesPrintAndPreview_data() {
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("points");

    QTest::newRow("A4 portrait") << int(QPageSize::A4) << int(QPageLayout::Portrait)
                                 << QSize(595, 842);
    QTest::newRow("A4 landscape") << int(QPageSize::A4) << int(QPageLayout::Landscape)
                                  << QSize(842, 595);
    QTest::newRow("Letter landscape")
        << int(QPageSize::Letter) << int(QPageLayout::Landscape) << QSize(792, 612);
}

// The choices are made on the printer the page set-up dialog was given; the
// print job and the preview must both run on that printer.
void PrintSetupTest::printerSetting_reachesPrintAndPreview() {
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(QSize, points);
    StartApp();
    FillReport(100);
    const auto chosen = static_cast<QPageLayout::Orientation>(orientation);

    COutputServices services = PrintToPdf();
    bool setupShown = false;
    QPageLayout::Orientation previewed = QPageLayout::Portrait;
    services.execDialog = [&](QDialog& dialog) {
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&dialog)) {
            setupShown = true;
            setup->printer()->setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper)));
            setup->printer()->setPageOrientation(chosen);
            return int(QDialog::Accepted);
        }
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        preview->updatePreview();
        previewed = preview->orientation();
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT_SETUP);
    QVERIFY(setupShown);

    m_frame->RouteCommand(ID_FILE_PRINT);
    QCOMPARE(m_offeredLayout.orientation(), chosen);
    const QString pdf = ReadPdf(m_pdf);
    QCOMPARE(PdfPageCount(pdf), 3);
    const QList<QSize> sizes = PdfPageSizes(pdf);
    QCOMPARE(sizes.size(), 3);
    for (const QSize& size : sizes)
        QCOMPARE(size, points);

    m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(previewed, chosen);
}

// Through the dialog's own controls and its own exec, as a user sets it.
void PrintSetupTest::printerSetting_dialogChoiceStaysForTheNextJob() {
    StartApp();
    FillReport(10);
    COutputServices services = PrintToPdf();
    bool clicked = false;
    services.execDialog = [&](QDialog& dialog) {
        QTimer::singleShot(0, &dialog, [&] {
            if (auto* landscape = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"))) {
                landscape->click();
                clicked = true;
            }
            dialog.accept();
        });
        return dialog.exec();
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT_SETUP);
    QVERIFY(clicked);
    m_frame->RouteCommand(ID_FILE_PRINT);
    QCOMPARE(m_offeredLayout.orientation(), QPageLayout::Landscape);
    const QList<QSize> sizes = PdfPageSizes(ReadPdf(m_pdf));
    QCOMPARE(sizes.size(), 1);
    QVERIFY(sizes[0].width() > sizes[0].height());
}

// The range is one job's choice; paper and printer stay.
void PrintSetupTest::printDialog_offersAllPagesAgainAfterARange() {
    StartApp();
    FillReport(100);
    {
        CScopedOutputServices scoped(PrintToPdf(2, 3));
        m_frame->RouteCommand(ID_FILE_PRINT);
    }
    QCOMPARE(PdfPageCount(ReadPdf(m_pdf)), 2);
    CScopedOutputServices scoped(PrintToPdf());
    m_frame->RouteCommand(ID_FILE_PRINT);
    QCOMPARE(m_offeredRange, QPrinter::AllPages);
    QCOMPARE(PdfPageCount(ReadPdf(m_pdf)), 3);
}

void PrintSetupTest::previewPages_shownAndRememberedAtExit_data() {
    QTest::addColumn<QString>("stored");  // empty: no such key
    QTest::addColumn<int>("choice");      // a view button, or -1 for none
    QTest::addColumn<int>("shown");       // the view the preview opens with
    QTest::addColumn<QString>("written"); // empty: nothing written

    const int none = -1;
    const int single = QPrintPreviewWidget::SinglePageView;
    const int facing = QPrintPreviewWidget::FacingPagesView;
    const int all = QPrintPreviewWidget::AllPagesView;
    QTest::newRow("none stored, none chosen") << QString() << none << single << QString();
    QTest::newRow("0 stored: not written") << "0" << none << single << QString();
    QTest::newRow("1: one page") << "1" << none << single << "1";
    QTest::newRow("2: facing pages") << "2" << none << facing << "2";
    QTest::newRow("5: all pages, kept") << "5" << none << all << "5";
    QTest::newRow("none stored, two chosen")
        << QString() << int(CPrintPreviewDlg::IDC_TWO_PAGE) << single << "2";
    QTest::newRow("2 stored, one chosen")
        << "2" << int(CPrintPreviewDlg::IDC_ONE_PAGE) << facing << "1";
    QTest::newRow("1 stored, all chosen")
        << "1" << int(CPrintPreviewDlg::IDC_ALL_PAGES) << single << "3";
    QTest::newRow("4 stored, all chosen again")
        << "4" << int(CPrintPreviewDlg::IDC_ALL_PAGES) << all << "4";
}

void PrintSetupTest::previewPages_shownAndRememberedAtExit() {
    QFETCH(QString, stored);
    QFETCH(int, choice);
    QFETCH(int, shown);
    QFETCH(QString, written);
    if (!stored.isEmpty())
        m_settings->WriteSettingString("Settings", "PreviewPages", stored.toLatin1().constData());
    StartApp();
    FillReport(100);

    int opened = -1;
    int after = -1;
    COutputServices services = OutputServices();
    services.execDialog = [&](QDialog& dialog) {
        auto& preview = static_cast<CPrintPreviewDlg&>(dialog);
        preview.Preview()->updatePreview();
        opened = preview.Preview()->viewMode();
        if (choice >= 0) {
            preview.Action(static_cast<CPrintPreviewDlg::Button>(choice))->trigger();
            after = preview.Preview()->viewMode();
        }
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(opened, shown);
    if (choice >= 0)
        QCOMPARE(after, choice - int(CPrintPreviewDlg::IDC_ONE_PAGE));

    m_settings->WriteSettingString("Settings", "PreviewPages", "");
    m_app->ExitInstance();
    QCOMPARE(QString::fromStdString(m_settings->GetSettingString("Settings", "PreviewPages", "")),
             written);
}

void PrintSetupTest::previewPrint_keepsRangeAndLastPage_data() {
    QTest::addColumn<int>("button");      // the preview's button pressed
    QTest::addColumn<QString>("maxPage"); // empty: the default
    QTest::addColumn<int>("from");        // 0: all pages
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("offered");
    QTest::addColumn<int>("pages");

    const int print = CPrintPreviewDlg::IDC_PRINT;
    QTest::newRow("all pages") << print << QString() << 0 << 0 << 10 << 3;
    QTest::newRow("pages 2 to 3") << print << QString() << 2 << 3 << 10 << 2;
    QTest::newRow("MaxPage 2 cuts the job") << print << "2" << 0 << 0 << 2 << 2;
    QTest::newRow("range beyond MaxPage") << print << "2" << 2 << 5 << 2 << 1;
    QTest::newRow("Close prints nothing")
        << int(CPrintPreviewDlg::IDC_CLOSE) << QString() << 0 << 0 << 0 << 0;
}

void PrintSetupTest::previewPrint_keepsRangeAndLastPage() {
    QFETCH(int, button);
    QFETCH(QString, maxPage);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, offered);
    QFETCH(int, pages);
    if (!maxPage.isEmpty())
        m_settings->WriteSettingString("Print", "MaxPage", maxPage.toLatin1().constData());
    StartApp();
    FillReport(100);

    COutputServices services = PrintToPdf(from, to);
    services.execDialog = [button](QDialog& dialog) {
        auto& preview = static_cast<CPrintPreviewDlg&>(dialog);
        preview.Action(static_cast<CPrintPreviewDlg::Button>(button))->trigger();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(m_nOffered, offered);
    QCOMPARE(PdfPageCount(ReadPdf(m_pdf)), pages);
}

// 100 lines make three pages; "MaxPage" 2 stops after two.
void PrintSetupTest::maxPage_cuttingAJobShortIsSaidOnce() {
    m_settings->WriteSettingString("Print", "MaxPage", "2");
    StartApp();
    FillReport(100);
    QString title;
    COutputServices services = PrintToPdf();
    services.execDialog = [&title](QDialog& dialog) {
        static_cast<CPrintPreviewDlg&>(dialog).Preview()->updatePreview();
        title = dialog.windowTitle();
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT);
    const QString notice =
        QStringLiteral(" 2 of 3 pages; raise Max page number in Print Option to print more.");
    QCOMPARE(m_messages, QStringList{QStringLiteral("Printed") + notice});
    m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(title, QStringLiteral("Word Frequency Counter VORLAN - Showing") + notice);
    QCOMPARE(m_messages.size(), 1);
}

void PrintSetupTest::preview_homeAndEndGoToFirstAndLastPage() {
    StartApp();
    FillReport(100); // three pages
    QList<int> pages;
    COutputServices services = OutputServices();
    services.execDialog = [&pages](QDialog& dialog) {
        QPrintPreviewWidget* preview = static_cast<CPrintPreviewDlg&>(dialog).Preview();
        dialog.show();
        if (QTest::qWaitForWindowActive(&dialog)) {
            preview->updatePreview();
            preview->setFocus();
            for (QKeyCombination key :
                 {Qt::Key_End | Qt::KeyboardModifiers(), Qt::Key_Home | Qt::KeyboardModifiers(),
                  Qt::CTRL | Qt::Key_End, Qt::CTRL | Qt::Key_Home}) {
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
                pages.append(preview->currentPage());
            }
        }
        return int(QDialog::Rejected);
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
    QCOMPARE(pages, (QList<int>{3, 1, 3, 1}));
}

QTEST_MAIN(PrintSetupTest)
#include "print_setup_test.moc"
