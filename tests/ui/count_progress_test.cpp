// The running count in the status bar: the file being read, the words so
// far, a bar of the bytes of the whole list and a Stop button; shown only
// while a count runs, and for nested counts the innermost one.
#include "count_test_helpers.h"
#include "find_widget.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/app_strings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/count_progress_bar.h"
#include "ui/file_sel_dialog.h"
#include "ui/main_frame.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include "engine/count_notifier.h"
#include "engine/scan_plan.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

namespace {

// The text of the progress widget's label name ("file" or "words").
QString ShownText(const CCountProgressBar* bar, const QString& name) {
    return FindWidget<QLabel>(bar, name)->text();
}

constexpr int kFiles = 4;
constexpr int kLinesPerFile = 190000; // 41 bytes a line: about 30 MB in all
constexpr int kWordsPerLine = 8;

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Holds the event pump for 3 ms at every millisecond tick while it lives, so
// that a count lasts several times longer than it would: tests that watch a
// count run then see it move, however fast the machine is.
class CScanBrake {
  public:
    explicit CScanBrake(QObject* owner) : m_timer(owner) {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [] { QThread::msleep(3); });
        m_timer.start();
    }

  private:
    QTimer m_timer;
};

// Answers the next Select Files dialog with pattern and OK.
void AnswerFileDialog(QObject* owner, const QString& pattern) {
    WhenReady(
        owner,
        [] { return qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget()) != nullptr; },
        [pattern] {
            auto* dialog = qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget());
            FindWidget<QLineEdit>(dialog, QStringLiteral("fileName"))->setText(pattern);
            dialog->accept();
        });
}

// The number of "123 words".
qint64 Words(const QString& text) {
    return text.section(QLatin1Char(' '), 0, 0).toLongLong();
}

// What the status bar showed at one moment of a count.
struct Sample {
    bool visible;
    QString file;
    QString words;
    int permille;
};

} // namespace

class CountProgressTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void format_fileWordsAndBarPosition_data();
    void format_fileWordsAndBarPosition();
    void noCount_statusBarAsBefore();
    void largeCount_showsFileWordsAndBytesThenStopEndsIt();
    void completeCount_progressGoneAtTheEnd();
    void document_passesFiguresOnAtMostEvery100ms();
    void nestedCounts_innermostShownAndStoppedFirst();
    void twoThreadCount_sameReportAndStopKeepsWhatWasCounted();

  private:
    CVorlanScrollView* View() const { return m_frame->ActiveView(); }
    CResultDocument* Doc() const { return View()->GetDocument(); }
    CCountProgressBar* Bar() const { return m_frame->CountProgressBar(); }
    void Count(const QString& pattern) {
        AnswerFileDialog(m_frame, pattern);
        m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    }
    void ExpectIdle(bool stopped = false) const;
    qint64 WordsShown() const { return Words(ShownText(Bar(), QStringLiteral("words"))); }

    // A fresh folder for each test, so that patterns find only its files.
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QTemporaryDir& m_dir() { return *m_tempDir; }
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void CountProgressTest::init() {
    m_tempDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir().isValid());
    m_settings = std::make_unique<CMemorySettings>();
    m_settings->WriteSettingString("File", "Dir",
                                   QFile::encodeName(m_dir().path() + "/").constData());
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
    m_frame->resize(720, 420);
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
}

void CountProgressTest::cleanup() {
    if (m_frame) {
        for (CVorlanScrollView* view : m_frame->Views())
            view->GetDocument()->Doc().SetModifiedFlag(false);
    }
    m_app.reset();
    m_settings.reset();
    m_frame = nullptr;
}

// Nothing of the progress shows: the message pane has the bar to itself,
// and says so when the active window's count was stopped.
void CountProgressTest::ExpectIdle(bool stopped) const {
    QVERIFY(Bar()->isHidden());
    QCOMPARE(Bar()->ShownDocument(), nullptr);
    const QString message = m_frame->statusBar()->currentMessage();
    if (stopped)
        QVERIFY2(message.startsWith(QLatin1String("Partial report: stopped at ")),
                 qPrintable(message));
    else
        QCOMPARE(message, QString::fromLatin1(kIdleText));
}

void CountProgressTest::format_fileWordsAndBarPosition_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<quint64>("done");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("permille");

    QTest::newRow("name without its folders")
        << 3 << 120 << QByteArray("/books/part one/chapter3.txt") << quint64(250) << quint64(1000)
        << "3 of 120: chapter3.txt" << 250;
    QTest::newRow("before the first file")
        << 0 << 7 << QByteArray() << quint64(0) << quint64(10) << "0 of 7" << 0;
    QTest::newRow("an empty list")
        << 0 << 0 << QByteArray() << quint64(0) << quint64(0) << "0 of 0" << 0;
    QTest::newRow("Shift-JIS name") << 1 << 1 << QByteArray("/t/\x93\xfa\x96\x7b.txt") << quint64(1)
                                    << quint64(3) << "1 of 1: 日本.txt" << 333;
    // Figures beyond any int, and a file that grew past its measure.
    QTest::newRow("sizes beyond 32 bits")
        << 2 << 2 << QByteArray("big") << quint64(6000000000000ull) << quint64(8000000000000ull)
        << "2 of 2: big" << 750;
    QTest::newRow("done past the total")
        << 1 << 1 << QByteArray("x") << quint64(12) << quint64(10) << "1 of 1: x" << 1000;
    QTest::newRow("end") << 5 << 5 << QByteArray("x") << ~quint64(0) << ~quint64(0) << "5 of 5: x"
                         << 1000;
}

void CountProgressTest::format_fileWordsAndBarPosition() {
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(QByteArray, path);
    QFETCH(quint64, done);
    QFETCH(quint64, total);
    CountProgress progress;
    progress.fileIndex = std::size_t(index);
    progress.fileCount = std::size_t(count);
    progress.path = std::string_view(path.constData(), std::size_t(path.size()));
    progress.words = 123456;
    progress.bytesDone = done;
    progress.bytesTotal = total;
    QTEST(CCountProgressBar::FormatFile(progress), "file");
    QTEST(CCountProgressBar::FormatPermille(progress), "permille");
    QCOMPARE(CCountProgressBar::FormatWords(progress), QStringLiteral("123456 words"));
}

void CountProgressTest::noCount_statusBarAsBefore() {
    ExpectIdle();
}

void CountProgressTest::largeCount_showsFileWordsAndBytesThenStopEndsIt() {
    for (int i = 1; i <= kFiles; ++i)
        WriteLargeFile(m_dir().path() + QStringLiteral("/chapter%1.txt").arg(i), kLinesPerFile);

    CResultDocument* doc = Doc();
    std::vector<Sample> samples;
    QSet<int> permilles;
    bool stopped = false;
    auto* sampler = new QTimer(this);
    sampler->setInterval(5);
    connect(sampler, &QTimer::timeout, this, [&] {
        if (!doc->IsCountRunning() || stopped)
            return;
        samples.push_back({Bar()->isVisible(), ShownText(Bar(), QStringLiteral("file")),
                           ShownText(Bar(), QStringLiteral("words")),
                           FindWidget<QProgressBar>(Bar(), QStringLiteral("bar"))->value()});
        permilles.insert(FindWidget<QProgressBar>(Bar(), QStringLiteral("bar"))->value());
        // Holding the pump a little slows the scan down, so that the bar
        // moves a few times within each file whatever the machine's speed.
        QThread::msleep(4);
        // Past the first file, once the bar has moved: a picture, then Stop
        // as a user would.
        const QString file = ShownText(Bar(), QStringLiteral("file"));
        const bool pastFirst =
            file.startsWith(QLatin1String("2 of")) || file.startsWith(QLatin1String("3 of"));
        if (pastFirst && permilles.size() >= 3) {
            QCOMPARE(Bar()->ShownDocument(), doc);
            QVERIFY(Bar()->geometry().left() < 10); // in the message pane's place
            SaveScreenshot(m_frame, "count_progress");
            stopped = true;
            QTest::mouseClick(FindWidget<QPushButton>(Bar(), QStringLiteral("stop")),
                              Qt::LeftButton);
        }
    });
    sampler->start();
    Count(QStringLiteral("chapter*.txt"));
    sampler->stop();

    QVERIFY(stopped);
    QVERIFY(samples.size() >= 3);
    const QRegularExpression fileText(QStringLiteral("^[0-4] of 4(: chapter[1-4]\\.txt)?$"));
    int lastPermille = 0;
    qint64 lastWords = 0;
    for (const Sample& s : samples) {
        QVERIFY(s.visible);
        QVERIFY2(fileText.match(s.file).hasMatch(), qPrintable(s.file));
        QVERIFY(s.permille >= lastPermille);
        const qint64 words = Words(s.words);
        QVERIFY(words >= lastWords);
        lastPermille = s.permille;
        lastWords = words;
    }

    // Stop did what "Quit counting..." does: a report of what was read.
    const CVorlanDoc& engine = doc->Doc();
    QVERIFY(engine.m_nTotalWords > kLinesPerFile * kWordsPerLine);
    QVERIFY(engine.m_nTotalWords < kFiles * kLinesPerFile * kWordsPerLine);
    QVERIFY(engine.m_nFilesProcessed >= 2 && engine.m_nFilesProcessed < kFiles);
    QVERIFY(doc->LineCount() > 0);
    ExpectIdle(true);
}

void CountProgressTest::completeCount_progressGoneAtTheEnd() {
    WriteLargeFile(m_dir().path() + "/big.txt", 100000);
    WriteFile(m_dir().path() + "/small.txt", "last words\n");
    const QSize barSize = m_frame->statusBar()->size();
    bool seen = false;
    WhenReady(
        m_frame, [this] { return Doc()->Doc().m_bCounting == 1; },
        [&] {
            seen = true;
            QVERIFY(Bar()->isVisible());
            QVERIFY2(ShownText(Bar(), QStringLiteral("file")).contains(QLatin1String(" of 2")),
                     qPrintable(ShownText(Bar(), QStringLiteral("file"))));
        });
    Count(QStringLiteral("*.txt"));
    QVERIFY(seen);
    QCOMPARE(Doc()->Doc().m_nTotalWords, 100000 * kWordsPerLine + 2);
    ExpectIdle();
    QApplication::processEvents(); // the layout follows the hidden bar
    QCOMPARE(m_frame->statusBar()->size(), barSize);
    // The title of the window is the document's again, untouched by the bar.
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
}

// The document alone, with no window listening before the test: the time of
// each signal is the time it was sent.
void CountProgressTest::document_passesFiguresOnAtMostEvery100ms() {
    std::vector<std::string> files;
    for (int i = 1; i <= 2; ++i) {
        const QString path = m_dir().path() + QStringLiteral("/t%1.txt").arg(i);
        WriteLargeFile(path, kLinesPerFile);
        files.push_back(QFile::encodeName(path).toStdString());
    }
    CResultDocument doc(*m_settings, QStringLiteral("T"));
    QElapsedTimer clock;
    std::vector<qint64> times;
    std::vector<CountProgress> figures;
    connect(&doc, &CResultDocument::countProgress, this, [&](const CountProgress& p) {
        times.push_back(clock.elapsed());
        figures.push_back(p);
        figures.back().path = {};
        // Slower than the scan, as a busy window would be.
        QThread::msleep(30);
    });
    const CScanBrake brake(this);
    clock.start();
    doc.CountWords(files, QFile::encodeName(m_dir().path() + "/t*.txt").toStdString());
    const qint64 elapsed = clock.elapsed();

    QVERIFY(times.size() >= 2);
    QVERIFY(times.size() <= std::size_t(elapsed / 100 + 1));
    for (std::size_t i = 1; i < times.size(); ++i) {
        // Read in whole milliseconds a moment after each was sent.
        QVERIFY2(times[i] - times[i - 1] >= 99,
                 qPrintable(QString::number(times[i] - times[i - 1])));
        QVERIFY(figures[i].bytesDone >= figures[i - 1].bytesDone);
    }
}

// The counts above run on one thread (the test's environment says so), which
// pumps events between lines; here the window counts on two, pumping while
// it waits for them: the same report, and Stop still ends the count.
void CountProgressTest::twoThreadCount_sameReportAndStopKeepsWhatWasCounted() {
    for (int i = 1; i <= kFiles; ++i)
        WriteLargeFile(m_dir().path() + QStringLiteral("/chapter%1.txt").arg(i), kLinesPerFile);
    ScanThreads two;
    two.nThreads = 2;
    const auto report = [](const CResultDocument* doc) {
        std::string text;
        for (auto* node = doc->Doc().m_listResult.m_pHead; node; node = node->m_pNextNode)
            text += node->m_strLine;
        return text;
    };

    CResultDocument* first = Doc();
    first->Doc().SetScanThreads(two);
    bool sawBar = false;
    WhenReady(
        m_frame, [&] { return first->Doc().m_bCounting == 1; },
        [&] { sawBar = Bar()->isVisible(); });
    Count(QStringLiteral("chapter*.txt"));
    QVERIFY(sawBar);
    QCOMPARE(first->Doc().m_nTotalWords, kFiles * kLinesPerFile * kWordsPerLine);

    m_frame->RouteCommand(ID_FILE_NEW);
    CResultDocument* second = Doc();
    second->Doc().SetScanThreads({});
    Count(QStringLiteral("chapter*.txt"));
    QVERIFY(report(second) == report(first));

    m_frame->RouteCommand(ID_FILE_NEW);
    CResultDocument* third = Doc();
    third->Doc().SetScanThreads(two);
    const CScanBrake brake(this);
    WhenReady(
        m_frame, [&] { return third->Doc().m_bCounting == 1; },
        [&] { FindWidget<QPushButton>(Bar(), QStringLiteral("stop"))->click(); });
    Count(QStringLiteral("chapter*.txt"));
    QVERIFY(third->Doc().m_nTotalWords < kFiles * kLinesPerFile * kWordsPerLine);
    QVERIFY(third->Doc().m_nFilesProcessed < kFiles);
    ExpectIdle(true);
}

// A count started in another window while one runs interrupts it: the bar
// follows the new one, its Stop stops only that, and the first shows again.
void CountProgressTest::nestedCounts_innermostShownAndStoppedFirst() {
    for (int i = 1; i <= 2; ++i)
        WriteLargeFile(m_dir().path() + QStringLiteral("/part%1.txt").arg(i), 150000);
    const CScanBrake brake(this);
    CResultDocument* outer = Doc();
    CResultDocument* inner = nullptr;
    bool innerChecked = false;
    bool outerChecked = false;
    WhenReady(
        m_frame,
        [&] {
            return outer->Doc().m_bCounting == 1 &&
                   FindWidget<QProgressBar>(Bar(), QStringLiteral("bar"))->value() > 0;
        },
        [&] {
            QCOMPARE(Bar()->ShownDocument(), outer);
            const QString outerFile = ShownText(Bar(), QStringLiteral("file"));
            const QString outerWords = ShownText(Bar(), QStringLiteral("words"));
            const int outerPermille =
                FindWidget<QProgressBar>(Bar(), QStringLiteral("bar"))->value();
            m_frame->RouteCommand(ID_FILE_NEW);
            inner = Doc();
            QVERIFY(inner != outer);
            WhenReady(
                m_frame, [&] { return inner->Doc().m_bCounting == 1; },
                [&] {
                    QCOMPARE(Bar()->ShownDocument(), inner);
                    QVERIFY(Bar()->isVisible());
                    innerChecked = true;
                    FindWidget<QPushButton>(Bar(), QStringLiteral("stop"))->click();
                });
            AnswerFileDialog(m_frame, QStringLiteral("part1.txt"));
            m_frame->RouteCommand(ID_COUNT_FREQUENCY);
            // Back in the outer count: its figures show again.
            QVERIFY(!inner->IsCountRunning());
            QVERIFY(outer->IsCountRunning());
            QCOMPARE(outer->Doc().m_bQuit, 0);
            QCOMPARE(Bar()->ShownDocument(), outer);
            QVERIFY(Bar()->isVisible());
            // The outer count's figures, never behind what showed before (its
            // last figures may have been passed on meanwhile) and never the
            // inner count's list of one file.
            const QRegularExpression outerText(QStringLiteral("^[12] of 2: part[12]\\.txt$"));
            QVERIFY2(outerText.match(ShownText(Bar(), QStringLiteral("file"))).hasMatch(),
                     qPrintable(ShownText(Bar(), QStringLiteral("file"))));
            QVERIFY(ShownText(Bar(), QStringLiteral("file")) >= outerFile);
            QVERIFY(WordsShown() >= Words(outerWords));
            QVERIFY(WordsShown() <= outer->Doc().m_nTotalWords);
            QVERIFY(FindWidget<QProgressBar>(Bar(), QStringLiteral("bar"))->value() >=
                    outerPermille);
            outerChecked = true;
            FindWidget<QPushButton>(Bar(), QStringLiteral("stop"))->click();
        });
    Count(QStringLiteral("part*.txt"));
    QVERIFY(innerChecked);
    QVERIFY(outerChecked);
    QVERIFY(inner->Doc().m_nTotalWords < 150000 * kWordsPerLine);
    QVERIFY(outer->Doc().m_nTotalWords < 2 * 150000 * kWordsPerLine);
    ExpectIdle(true);
}

QTEST_MAIN(CountProgressTest)
#include "count_progress_test.moc"
