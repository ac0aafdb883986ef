// Printed pages of a report: which lines each page holds, where the page
// number and the rows stand, where the job ends; and the same seen through a
// PDF printed headless and through the preview window.
#include "engine/ex_string_list.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "text_recorder.h"
#include "ui/output_services.h"
#include "ui/print_commands.h"
#include "ui/report_printer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>

namespace {

struct PrintedPage {
    QString number;       // the "Page : n" text
    QPointF numberAt;     // its baseline
    QStringList rows;     // text of each row, top to bottom
    QList<QPointF> rowAt; // baseline of each row's first text
};

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

QFont PageFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

void Fill(CExStringList& report, const QStringList& lines) {
    for (const QString& line : lines)
        report.AppendLine(line.toStdString() + "\r\n");
}

QStringList Numbered(int count, const char* prefix = "line") {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("%1 %2").arg(QLatin1String(prefix)).arg(i));
    return lines;
}

// Turns the texts drawn on one page into its number and rows: texts with
// the same baseline make one row.
PrintedPage ToPage(const std::vector<RecordedText>& texts) {
    PrintedPage page;
    if (texts.empty())
        return page;
    page.number = texts.front().text;
    page.numberAt = texts.front().baseline;
    std::map<qreal, QString> rows;
    std::map<qreal, QPointF> firstAt;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        qreal y = std::round(texts[i].baseline.y() * 100) / 100;
        rows[y] += texts[i].text;
        firstAt.emplace(y, texts[i].baseline);
    }
    for (auto& [y, text] : rows) {
        page.rows.append(text.trimmed());
        page.rowAt.append(firstAt[y]);
    }
    return page;
}

struct Job {
    std::vector<PrintedPage> pages;
    CPrintInfo info;
    FontMetrics metrics;
};

Job RecordJob(const CExStringList& report, const CSettingsStore& settings, int from = 1,
              int to = 0xFFFF) {
    Job job;
    CReportPrinter printer(report, settings, &Latin1);
    printer.PreparePrint(job.info);
    CTextRecorder recorder;
    auto endPage = [&] {
        job.pages.push_back(ToPage(recorder.Texts()));
        recorder.Clear();
        return true;
    };
    int drawn = printer.DrawPages(recorder, endPage, PageFont(), job.info, from, to, &job.metrics);
    if (drawn > 0)
        endPage();
    return job;
}

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// Prints report through the Print command into a PDF file, the printer
// dialog answered with the given page range (0 for all pages); the messages
// shown are added to messages.
int PrintToPdf(const CExStringList& report, const CSettingsStore& settings, const QString& path,
               QStringList& messages, int from = 0, int to = 0) {
    COutputServices services = DefaultOutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    services.printDialog = [&](QWidget*, QPrinter& printer, int maxPage) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setFromTo(1, maxPage);
        if (from) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        return true;
    };
    CScopedOutputServices scoped(services);
    CReportPrinter printer(report, settings, &Latin1);
    if (!RunPrintCommand(printer, PageFont(), nullptr))
        return 0;
    // Kept for a look by eye alongside the windows' pictures.
    if (const QString keep = qEnvironmentVariable("VORLAN_SCREENSHOT_DIR"); !keep.isEmpty())
        QFile::copy(path, QDir(keep).filePath(QFileInfo(path).fileName()));
    return PdfPageCount(path);
}

int PreviewPageCount(const CExStringList& report, const CSettingsStore& settings) {
    int pages = -1;
    COutputServices services = DefaultOutputServices();
    services.execDialog = [&](QDialog& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        preview->updatePreview();
        pages = preview->pageCount();
        dialog.resize(900, 700);
        dialog.show();
        SaveScreenshot(&dialog, "print_preview");
        return 0;
    };
    CScopedOutputServices scoped(services);
    CReportPrinter printer(report, settings, &Latin1);
    RunPreviewCommand(printer, PageFont(), nullptr);
    return pages;
}

} // namespace

class ReportPrinterTest : public QObject {
    Q_OBJECT
  private slots:
    void pageFilling_data();
    void pageFilling();
    void wrappedLine_movesWholeAndKeepsLongWords();
    void pageRange_numbersAndLinesAsInFullPrintout();
    void geometry_followsTopLeftOffset();
    void pdfAndPreview_offerThePagesOfTheJob_data();
    void pdfAndPreview_offerThePagesOfTheJob();
    void print_printerThatCannotOpenIsReported();
    void pageNumber_followsNumberPagesNotPageNum_data();
    void pageNumber_followsNumberPagesNotPageNum();
};

// Rows per page for a report of single-row lines, under some settings.
void ReportPrinterTest::pageFilling_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("keys"); // "Key=value" pairs of section "Print"
    QTest::addColumn<QList<int>>("rowsPerPage");

    QTest::newRow("defaults: 49 rows, never 50") << 100 << "" << QList<int>{49, 49, 2};
    QTest::newRow("exactly one page") << 49 << "" << QList<int>{49};
    QTest::newRow("50th line opens page 2") << 50 << "" << QList<int>{49, 1};
    QTest::newRow("cut after MaxPage") << 100 << "MaxPage=2" << QList<int>{49, 49};
    QTest::newRow("Line 0: only page numbers up to MaxPage") << 5 << "Line=0" << QList<int>(10, 0);
    QTest::newRow("Line 1: nothing fits") << 5 << "Line=1 MaxPage=3" << QList<int>{0, 0, 0};
    QTest::newRow("Line 3: two rows a page") << 5 << "Line=3" << QList<int>{2, 2, 1};
    QTest::newRow("empty report: page 1 alone") << 0 << "" << QList<int>{0};
    // With no width every word takes a row: "line n" takes two.
    QTest::newRow("Column 0: two rows a line") << 30 << "Column=0" << QList<int>{48, 12};
    QTest::newRow("numeric text") << 10 << "Line=4rows" << QList<int>{3, 3, 3, 1};
    QTest::newRow("MaxPage 0 still prints page 1") << 100 << "MaxPage=0" << QList<int>{49};
}

void ReportPrinterTest::pageFilling() {
    QFETCH(int, lines);
    QFETCH(QString, keys);
    QFETCH(QList<int>, rowsPerPage);

    CMemorySettings settings;
    for (const QString& pair : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = pair.split(QLatin1Char('='));
        const QByteArray value = kv[1].toLatin1();
        settings.WriteSettingString("Print", kv[0].toLatin1().constData(), value.constData());
    }
    CExStringList report;
    Fill(report, Numbered(lines));

    Job job = RecordJob(report, settings);
    QList<int> rows;
    QStringList all;
    for (std::size_t i = 0; i < job.pages.size(); ++i) {
        QCOMPARE(job.pages[i].number, QStringLiteral("Page : %1").arg(i + 1));
        rows.append(int(job.pages[i].rows.size()));
        all += job.pages[i].rows;
    }
    QCOMPARE(rows, rowsPerPage);
    // The pages hold the report's first lines in order, none twice.
    const QString joined = all.join(QLatin1Char(' '));
    QCOMPARE(joined, QStringList(Numbered(lines).mid(0, joined.count(QStringLiteral("line"))))
                         .join(QLatin1Char(' ')));
    QCOMPARE(job.info.m_nMaxPage, int(rowsPerPage.size()));
    QVERIFY(!job.info.m_bContinuePrinting);
}

// Column 10 holds one 8-letter word a row, so "abcdefgh" three times takes
// three rows.
void ReportPrinterTest::wrappedLine_movesWholeAndKeepsLongWords() {
    CMemorySettings settings;
    settings.WriteSettingString("Print", "Column", "10");
    settings.WriteSettingString("Print", "Line", "5");
    CExStringList report;
    Fill(report, {QStringLiteral("a"), QStringLiteral("b"),
                  QStringLiteral("abcdefgh abcdefgh abcdefgh"), QStringLiteral("c"),
                  QStringLiteral("x abcdefghijklmnopqrstuvwx y"), QStringLiteral("d")});

    Job job = RecordJob(report, settings);
    QCOMPARE(job.pages.size(), std::size_t(3));
    // 1 + 1 + 3 reaches the budget of 5: the three-row line moves whole.
    QCOMPARE(job.pages[0].rows, (QStringList{"a", "b"}));
    QCOMPARE(job.pages[1].rows, (QStringList{"abcdefgh", "abcdefgh", "abcdefgh", "c"}));
    // A word wider than the column is not split; it takes a row of its own.
    QCOMPARE(job.pages[2].rows, (QStringList{"x", "abcdefghijklmnopqrstuvwx", "y", "d"}));
    // Rows follow each other H apart, wrapped rows included.
    const qreal h = job.metrics.height;
    for (qsizetype i = 1; i < job.pages[1].rowAt.size(); ++i)
        QCOMPARE(job.pages[1].rowAt[i].y() - job.pages[1].rowAt[i - 1].y(), h);
}

void ReportPrinterTest::pageRange_numbersAndLinesAsInFullPrintout() {
    CMemorySettings settings;
    settings.WriteSettingString("Print", "Line", "11");
    CExStringList report;
    Fill(report, Numbered(50));

    Job full = RecordJob(report, settings);
    QCOMPARE(full.pages.size(), std::size_t(5));
    Job part = RecordJob(report, settings, 2, 3);
    QCOMPARE(part.pages.size(), std::size_t(2));
    QCOMPARE(part.pages[0].number, QStringLiteral("Page : 2"));
    QCOMPARE(part.pages[0].rows, full.pages[1].rows);
    QCOMPARE(part.pages[1].number, QStringLiteral("Page : 3"));
    QCOMPARE(part.pages[1].rows, full.pages[2].rows);
    // Lines remained and page 3 is below the maximum: the job goes on.
    QVERIFY(part.info.m_bContinuePrinting);
}

// "Top" is the horizontal distance and "Left" the vertical one.
void ReportPrinterTest::geometry_followsTopLeftOffset() {
    CMemorySettings settings;
    settings.WriteSettingString("Print", "Top", "100");
    settings.WriteSettingString("Print", "Left", "50");
    settings.WriteSettingString("Print", "Offset", "4");
    CExStringList report;
    Fill(report, Numbered(2));

    Job job = RecordJob(report, settings);
    const PrintedPage& page = job.pages.at(0);
    const QFontMetricsF metrics(PageFont());
    const int h = job.metrics.height;
    const int w = job.metrics.aveCharWidth;
    QVERIFY(h > 10 && h < 20); // a 13-pixel font is about 0.13 inch high on paper
    QVERIFY(w > 4 && w < 12);
    QCOMPARE(page.numberAt.x(), 100.0);
    QVERIFY(qAbs(page.numberAt.y() - (50.0 + metrics.ascent())) < 0.5);
    // The rows start one empty row below the page number, indented 4 widths.
    QCOMPARE(page.rowAt.at(0).x(), 100.0 + 4 * w);
    QVERIFY(qAbs(page.rowAt.at(0).y() - (50.0 + 2 * h + metrics.ascent())) < 0.5);
    QVERIFY(qAbs(page.rowAt.at(1).y() - page.rowAt.at(0).y() - h) < 0.01);
}

void ReportPrinterTest::pdfAndPreview_offerThePagesOfTheJob_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("notice"); // the one message of the print job

    QTest::newRow("100 lines: 3 pages") << 100 << QString() << QString() << 3 << QString();
    QTest::newRow("MaxPage 2 cuts a 3-page report")
        << 100 << "MaxPage"
        << "2" << 2 << "Printed 2 of 3 pages; raise Max page number in Print Option to print more.";
    QTest::newRow("Line 0 runs to MaxPage")
        << 3 << "Line"
        << "0" << 10
        << "Printed 10 pages; a report line does not fit on a page: raise Lines per Page in "
           "Print Option.";
}

void ReportPrinterTest::pdfAndPreview_offerThePagesOfTheJob() {
    QFETCH(int, lines);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, pages);
    QFETCH(QString, notice);

    CMemorySettings settings;
    if (!key.isEmpty())
        settings.WriteSettingString("Print", key.toLatin1().constData(),
                                    value.toLatin1().constData());
    CExStringList report;
    Fill(report, Numbered(lines));
    QTemporaryDir dir;
    const QString name = QStringLiteral("report_%1_pages.pdf").arg(pages);
    QStringList messages;
    QCOMPARE(PrintToPdf(report, settings, dir.filePath(name), messages), pages);
    QCOMPARE(messages, notice.isEmpty() ? QStringList() : QStringList{notice});
    QCOMPARE(PreviewPageCount(report, settings), pages);
}

// A job whose output cannot be written prints nothing and says so, rather
// than ending as if it had printed.
void ReportPrinterTest::print_printerThatCannotOpenIsReported() {
    CMemorySettings settings;
    CExStringList report;
    Fill(report, Numbered(3));
    QTemporaryDir dir;
    QStringList messages;
    COutputServices services = DefaultOutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    services.printDialog = [&](QWidget*, QPrinter& printer, int) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("missing/report.pdf")));
        return true;
    };
    CScopedOutputServices scoped(services);
    CReportPrinter printer(report, settings, &Latin1);
    QVERIFY(!RunPrintCommand(printer, PageFont(), nullptr));
    QCOMPARE(messages, QStringList{QStringLiteral("Failed to print.")});
}

// Profiles of earlier versions hold "PageNum"=0 from a box that opened
// unticked; only "NumberPages"=0 leaves the number off, its row then empty.
void ReportPrinterTest::pageNumber_followsNumberPagesNotPageNum_data() {
    QTest::addColumn<QString>("pageNum");     // empty: absent
    QTest::addColumn<QString>("numberPages"); // empty: absent
    QTest::addColumn<bool>("numbered");
    QTest::newRow("fresh profile") << QString() << QString() << true;
    QTest::newRow("old PageNum=0") << "0" << QString() << true;
    QTest::newRow("NumberPages=0") << "1"
                                   << "0" << false;
    QTest::newRow("NumberPages=2") << QString() << "2" << true;
}

void ReportPrinterTest::pageNumber_followsNumberPagesNotPageNum() {
    QFETCH(QString, pageNum);
    QFETCH(QString, numberPages);
    QFETCH(bool, numbered);
    CMemorySettings settings;
    for (const auto& [key, value] : {std::pair{"PageNum", pageNum}, {"NumberPages", numberPages}}) {
        if (!value.isEmpty())
            settings.WriteSettingString("Print", key, value.toLatin1().constData());
    }
    CExStringList report;
    Fill(report, Numbered(2));
    // The first text drawn is the page number, when there is one.
    QCOMPARE(RecordJob(report, settings).pages.at(0).number == QStringLiteral("Page : 1"),
             numbered);
}

QTEST_MAIN(ReportPrinterTest)
#include "report_printer_test.moc"
