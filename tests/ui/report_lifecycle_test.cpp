// A new count is a new report; a count cut short says so; a close during a
// count asks whether to stop; File > Open shows a file and saves it unchanged.
#include "answered_dialogs.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAction>
#include <QLocale>
#include <QMdiArea>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

class ReportLifecycleTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void newCount_isANewUntitledReport();
    void partialCount_saysSoAndCloseAsksToStop_data();
    void partialCount_saysSoAndCloseAsksToStop();
    void openFile_showsItsLinesAndSavesThemUnchanged();

  private:
    CResultDocument* Doc() const { return m_frame->ActiveView()->GetDocument(); }
    void Count(const QString& pattern);

    QTemporaryDir m_dir;
    CMemorySettings m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
    Answers m_answers;
    std::optional<CScopedOutputServices> m_services;
};

void ReportLifecycleTest::init() {
    m_answers = Answers{};
    m_app = std::make_unique<CVorlanApp>(m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
    m_services.emplace(m_answers.Services());
}

void ReportLifecycleTest::cleanup() {
    for (CVorlanScrollView* view : m_frame->Views())
        view->GetDocument()->Doc().SetModifiedFlag(false);
    m_services.reset();
    m_app.reset();
}

void ReportLifecycleTest::Count(const QString& pattern) {
    AnswerFileDialog(m_frame, m_dir.path(), pattern);
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
}

// Count A, save as a.txt, count B in the same window, Save: B's report must
// not replace a.txt without a question.
void ReportLifecycleTest::newCount_isANewUntitledReport() {
    WriteFile(m_dir.filePath(QStringLiteral("first.txt")), "apple apple\n");
    WriteFile(m_dir.filePath(QStringLiteral("second.txt")), "pear\n");
    Count(QStringLiteral("first.txt"));
    const QString saved = m_dir.filePath(QStringLiteral("a.txt"));
    m_answers.savePath = saved;
    m_frame->RouteCommand(ID_FILE_SAVE_AS);
    const QByteArray report = ReadAll(saved);
    const QStringList recent = m_app->RecentFiles().Files();

    Count(QStringLiteral("second.txt"));
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan2"));
    QCOMPARE(m_app->RecentFiles().Files(), recent);
    m_answers.savePath.clear(); // the dialog is cancelled
    m_frame->RouteCommand(ID_FILE_SAVE);
    QCOMPARE(m_answers.saveDialogs, 2);
    QCOMPARE(ReadAll(saved), report);
    m_answers.queued = {QMessageBox::Cancel};
    QVERIFY(!m_frame->ActiveChild()->close());
    QCOMPARE(m_answers.questions.last(), QStringLiteral("Save changes to Vorlan2?"));
}

void ReportLifecycleTest::partialCount_saysSoAndCloseAsksToStop_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stops");
    QTest::newRow("Quit counting") << QStringLiteral("quit") << true;
    QTest::newRow("close the window, Yes") << QStringLiteral("window") << true;
    QTest::newRow("close the program, Yes") << QStringLiteral("program") << true;
    QTest::newRow("close the window, No") << QStringLiteral("keep") << false;
}

void ReportLifecycleTest::partialCount_saysSoAndCloseAsksToStop() {
    QFETCH(QString, how);
    QFETCH(bool, stops);
    constexpr int kLines = 300000;
    WriteLargeFile(m_dir.filePath(QStringLiteral("large.txt")), kLines);
    if (how != QLatin1String("quit")) // asked whether to stop
        m_answers.queued = {stops ? QMessageBox::Yes : QMessageBox::No};
    m_answers.answer = QMessageBox::Cancel; // the save question
    QPointer<QMdiSubWindow> window = m_frame->ActiveChild();
    CResultDocument* doc = Doc();
    WhenReady(
        m_frame, [doc] { return doc->Doc().m_bCounting == 1; },
        [&] {
            if (how == QLatin1String("quit"))
                m_frame->RouteCommand(ID_QUIT_COUNTING);
            else
                QVERIFY(!(how == QLatin1String("program") ? m_frame->close() : window->close()));
        });
    Count(QStringLiteral("large.txt"));
    QCOMPARE(doc->Doc().LastCount().bStopped, stops);
    if (!stops) {
        QCOMPARE(m_answers.questions, QStringList{QStringLiteral("Stop counting and close?")});
        QCOMPARE(window->windowTitle(), QStringLiteral("Vorlan1"));
        return;
    }
    const QString title = QStringLiteral("Vorlan1 (stopped at %1 words)")
                              .arg(QLocale(QLocale::English, QLocale::UnitedStates)
                                       .toString(doc->Doc().m_nTotalWords));
    if (how == QLatin1String("quit")) {
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(m_frame->windowTitle().endsWith(title));
        QVERIFY(m_frame->statusBar()->currentMessage().contains(QLatin1String("stopped at")));
        SaveScreenshot(m_frame, "partial_report");
        QVERIFY(!window->close());
    }
    // The save question (cancelled) names the report as partial.
    QTRY_COMPARE(m_answers.questions.last(), QStringLiteral("Save changes to %1?").arg(title));
    QVERIFY(window && m_frame->isVisible());
}

// Lines ending in CR LF, in LF and in nothing, opened while a result window
// is active; a file too large to show is refused with the reason.
void ReportLifecycleTest::openFile_showsItsLinesAndSavesThemUnchanged() {
    const QByteArray bytes = "first line\r\nsecond line\nlast line";
    const QString path = m_dir.filePath(QStringLiteral("old report.txt"));
    WriteFile(path, bytes);
    m_frame->UpdateCommandUI();
    QVERIFY(m_frame->Action(ID_FILE_OPEN)->isEnabled());
    m_answers.openPath = path;
    m_frame->RouteCommand(ID_FILE_OPEN);
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("old report.txt"));
    QCOMPARE(Doc()->LineCount(), 3);
    m_frame->RouteCommand(ID_FILE_SAVE);
    QCOMPARE(ReadAll(path), bytes);
    m_answers.savePath = m_dir.filePath(QStringLiteral("copy.txt"));
    m_frame->RouteCommand(ID_FILE_SAVE_AS);
    QCOMPARE(ReadAll(m_answers.savePath), bytes);

    m_answers.openPath = m_dir.filePath(QStringLiteral("huge.txt")); // sparse
    QFile huge(m_answers.openPath);
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(1) << 30) + 1));
    const auto windows = m_frame->MdiArea()->subWindowList().size();
    m_frame->RouteCommand(ID_FILE_OPEN);
    QCOMPARE(m_answers.messages, QStringList{QStringLiteral("Failed to open document.\n%1: the "
                                                            "file is larger than 1 GiB")
                                                 .arg(m_answers.openPath)});
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), windows);
}

QTEST_MAIN(ReportLifecycleTest)
#include "report_lifecycle_test.moc"
