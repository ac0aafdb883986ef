// A report of two million lines in the result window: it shows, jumps to its
// end, pages through, copies and saves, and a count of two million distinct
// words keeps letting events through. What each step costs is measured by
// bench/big_report_bench.cpp; here only what the steps do is checked.
#include "engine/report_format.h"
#include "find_widget.h"
#include "settings/memory_settings.h"
#include "tests/ui/big_report_lines.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/copy_text_box.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/save_report.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <limits>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#define VORLAN_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLAN_TEST_ASAN 1
#endif
#endif

namespace {

constexpr int kLines = kBigReportLines;

// Fewer words under the address sanitizer, which makes a count several
// times slower; the words are distinct either way.
#ifdef VORLAN_TEST_ASAN
constexpr int kCountWords = 300'000;
#else
constexpr int kCountWords = 2'000'000;
#endif

} // namespace

class BigReportTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();

    // The last case deletes the report.
    void copy_dialogShowsAndCopiesEveryLine();
    void save_writesEveryLine();
    void view_showsJumpsToTheEndAndPagesThrough();
    void extent_ofAHugeReportInALargeFontStopsAtTheLargest();
    void count_ofManyDistinctWordsLetsEventsThrough();

  private:
    CVorlanScrollView* View() const { return m_view.get(); }

    CMemorySettings m_settings;
    std::shared_ptr<CResultDocument> m_doc;
    std::unique_ptr<CVorlanScrollView> m_view;
    std::size_t m_nBytes = 0;
};

void BigReportTest::initTestCase() {
    m_doc = std::make_shared<CResultDocument>(m_settings, QStringLiteral("Big"));
    CExStringList& report = m_doc->Doc().m_listResult;
    AppendBigReport(report);
    QCOMPARE(report.m_nLines, kLines);
    for (const auto* node = report.m_pHead; node; node = node->m_pNextNode)
        m_nBytes += node->m_strLine.size();
    m_doc->Doc().SetModifiedFlag(true);

    m_view = std::make_unique<CVorlanScrollView>(m_doc);
    m_view->resize(640, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void BigReportTest::cleanupTestCase() {
    m_view.reset();
    m_doc.reset();
}

void BigReportTest::view_showsJumpsToTheEndAndPagesThrough() {
    QScrollBar* bar = View()->verticalScrollBar();
    m_doc->UpdateAllViews();
    View()->viewport()->grab();
    const int pitch = View()->Metrics().height + 2;
    QCOMPARE(bar->maximum(), kLines * pitch - View()->viewport()->height());

    bar->setValue(bar->maximum());
    View()->viewport()->grab();
    // The last lines are on screen, so the view knows where they are.
    QVERIFY(View()->IndexedLines() >= std::size_t(kLines - View()->viewport()->height() / pitch));

    // Paging back to the top and down again: each page a repaint.
    for (int page = 0; page < 12; ++page) {
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        View()->viewport()->grab();
    }
    QCOMPARE(bar->value(), 0);
    for (int line = 0; line < 20; ++line) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        View()->viewport()->grab();
    }

    // The report replaced: the view forgets the old places and starts over.
    m_doc->DeleteResult();
    View()->viewport()->grab();
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(View()->IndexedLines(), std::size_t(0));
}

// The dialog's box shows every line and Whole copies all of them.
void BigReportTest::copy_dialogShowsAndCopiesEveryLine() {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    int rows = 0;
    QStringList messages;
    COutputServices services = DefaultOutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    services.beep = [] {};
    services.execDialog = [&](QDialog& dialog) {
        auto& copy = static_cast<CCopyDialog&>(dialog);
        copy.show();
        rows = FindWidget<CCopyTextBox>(copy, CCopyDialog::ControlName(CCopyDialog::IDC_EDIT))
                   ->RowCount();
        copy.OnWhole();
        return copy.result();
    };
    CScopedOutputServices scoped(services);
    View()->DoCommand(ID_EDIT_COPY);

    QCOMPARE(messages, QStringList{QStringLiteral("Completed!(^_^)")});
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY(copied.startsWith(QString::fromLatin1(FormatHeaderLine("/DATA/*.TXT"))));
    QVERIFY(copied.endsWith(QLatin1String(kSeparatorLine)));
    QCOMPARE(std::size_t(copied.size()), m_nBytes);
    QCOMPARE(rows, kLines + 1); // and the row after the last line end
}

// One buffered write of the whole report; the old file stays until the new
// one is complete.
void BigReportTest::save_writesEveryLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old report\n");
    }
    QStringList messages;
    COutputServices services = DefaultOutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    CScopedOutputServices scoped(services);
    const bool saved = SaveDocumentTo(m_doc->Doc(), path, View());
    QVERIFY2(saved, qPrintable(messages.join(' ')));
    QVERIFY(!m_doc->IsModified());
    QCOMPARE(std::size_t(QFileInfo(path).size()), m_nBytes);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine(), QByteArray::fromStdString(FormatHeaderLine("/DATA/*.TXT")));
    QVERIFY(file.seek(qint64(m_nBytes) - qint64(sizeof kSeparatorLine - 1)));
    QCOMPARE(file.readAll(), QByteArray(kSeparatorLine));
}

// Two million lines 1,100 pixels apart are more pixels than an int holds.
void BigReportTest::extent_ofAHugeReportInALargeFontStopsAtTheLargest() {
    const QSize extent = ReportExtent({1098, 500, 900}, kLines);
    QCOMPARE(extent.height(), std::numeric_limits<int>::max());
    QCOMPARE(extent.width(), 30 * 500 + 10);
    QCOMPARE(ReportExtent({1098, 500, 900}, 1000).height(), 1000 * 1100);
}

// A count lets events through as it works, while the user scrolls to the
// end of the growing report now and then. A second count first drops the
// first one's report.
void BigReportTest::count_ofManyDistinctWordsLetsEventsThrough() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        std::string text;
        for (int i = 0; i < kCountWords; ++i)
            text += BigReportWord(i) + "\n";
        file.write(text.data(), qint64(text.size()));
    }
    CMemorySettings settings;
    settings.WriteSettingInt("Sort", "Freq", 1);
    CVorlanApp app(settings);
    QVERIFY(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    frame->resize(640, 400);
    CVorlanScrollView* view = frame->ActiveView();
    CResultDocument* doc = view->GetDocument();

    int ticks = 0;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, [&] {
        if (++ticks % 20 == 0) {
            QScrollBar* bar = view->verticalScrollBar();
            bar->setValue(bar->maximum());
        }
    });
    const std::vector<std::string> files{QFile::encodeName(path).toStdString()};
    for (int run = 0; run < 2; ++run) {
        ticks = 0;
        watch.start();
        doc->CountWords(files, "/DATA/WORDS.TXT");
        view->viewport()->grab();
        watch.stop();
        QCOMPARE(doc->LineCount(), kCountWords + 4);
        QVERIFY(ticks > 0);
    }
    doc->Doc().SetModifiedFlag(false);
    QVERIFY(frame->close());
    app.ExitInstance();
}

QTEST_MAIN(BigReportTest)
#include "big_report_test.moc"
