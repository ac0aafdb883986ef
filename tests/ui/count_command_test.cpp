// The count command in the running program: from Ctrl+F through the Select
// Files dialog to the report in the view, and what the windows allow while a
// count runs (no second count, no Delete result, no closing; Quit counting
// stops it; ending the program waits for it).
#include "count_test_helpers.h"
#include "find_widget.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/file_sel_dialog.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs answer on the next modal window of type T once it is up.
template <typename T> void WhenModal(QObject* owner, std::function<void(T*)> answer) {
    WhenReady(
        owner, [] { return qobject_cast<T*>(QApplication::activeModalWidget()) != nullptr; },
        [answer] { answer(qobject_cast<T*>(QApplication::activeModalWidget())); });
}

// Answers the next Select Files dialog: types pattern and presses OK (or
// Cancel). Records the dialog's title.
void AnswerFileDialog(QObject* owner, const QString& pattern, QString* title = nullptr,
                      bool ok = true) {
    WhenModal<CFileSelDialog>(owner, [=](CFileSelDialog* dialog) {
        if (title)
            *title = dialog->windowTitle();
        FindWidget<QLineEdit>(dialog, QStringLiteral("fileName"))->setText(pattern);
        ok ? dialog->accept() : dialog->reject();
    });
}

// Answers the next question whether to save with No; records its text.
void AnswerSaveQuestion(QObject* owner, QString* text) {
    WhenModal<QMessageBox>(owner, [=](QMessageBox* box) {
        *text = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(QMessageBox::No)->click();
    });
}

// Runs check once from inside the count, as soon as its scan has opened a
// file (the pump lets timers through).
void DuringCount(CMainFrame* frame, std::function<void()> check) {
    WhenReady(
        frame,
        [frame] {
            CVorlanScrollView* view = frame->ActiveView();
            return view && view->GetDocument()->Doc().m_bCounting == 1;
        },
        std::move(check));
}

std::vector<std::string> ReportLines(const CResultDocument& doc) {
    std::vector<std::string> lines;
    for (const auto* node = doc.Report().m_pHead; node; node = node->m_pNextNode)
        lines.push_back(node->m_strLine);
    return lines;
}

} // namespace

class CountCommandTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void startUp_stateOfTitlesMenusAndCommands();
    void count_throughTheDialogShowsTheReport();
    void count_withSubdirsAddsEveryFileBelow();
    void count_ctrlFAndOtherViewsIgnoredWhileCounting();
    void quitCounting_stopsALargeCount();
    void deleteResult_emptiesTheReportAndDisablesItsCommands();
    void contextMenu_rightButtonOffersTheWindowsCommands();
    void close_refusedWhileCountingThenAllowed();
    void exit_duringCountStopsItThenAsksAndEnds();
    void pump_pollsAtMostOncePerMillisecond();
    void notifier_messageBoxCaptionedWithTheApplicationTitle();

  private:
    CVorlanScrollView* View() const { return m_frame->ActiveView(); }
    CResultDocument* Doc() const { return View()->GetDocument(); }
    bool Enabled(int id) const { return m_frame->Action(id)->isEnabled(); }
    void PressCtrlF();

    QTemporaryDir m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void CountCommandTest::init() {
    QVERIFY(m_dir.isValid());
    const QString root = m_dir.path();
    WriteFile(root + "/a.txt", "the cat and the dog\n");
    WriteFile(root + "/b.txt", "The end\n");
    WriteFile(root + "/c.doc", "unlisted words\n");
    QDir(root).mkpath("sub/deeper");
    WriteFile(root + "/sub/deeper/notes.doc", "deep cat\n");
    m_settings = std::make_unique<CMemorySettings>();
    m_settings->WriteSettingString("File", "Dir", QFile::encodeName(root + "/").constData());
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
}

void CountCommandTest::cleanup() {
    // Nothing to save questions in between tests.
    if (m_frame) {
        for (CVorlanScrollView* view : m_frame->Views())
            view->GetDocument()->Doc().SetModifiedFlag(false);
    }
    m_app.reset();
    m_settings.reset();
    m_frame = nullptr;
}

// Keys reach the commands of the active window; a closed dialog does not
// always give activation back on this platform.
void CountCommandTest::PressCtrlF() {
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    QTest::keyClick(m_frame, Qt::Key_F, Qt::ControlModifier);
}

void CountCommandTest::startUp_stateOfTitlesMenusAndCommands() {
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan1"));
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
    QCOMPARE(m_frame->MenuInForce(), 3);
    for (int id : {ID_COUNT_FREQUENCY, ID_QUIT_COUNTING, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE})
        QVERIFY2(Enabled(id), qPrintable(QString::number(id)));
    for (int id : {ID_DELETE_RESULT, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_COPY, ID_FILE_PRINT,
                   ID_FILE_PRINT_PREVIEW, ID_EDIT_CUT, ID_EDIT_UNDO})
        QVERIFY2(!Enabled(id), qPrintable(QString::number(id)));
    QCOMPARE(Doc()->LineCount(), 0);
    QVERIFY(!Doc()->IsModified());
    QVERIFY(!View()->IsCountBusy());
}

void CountCommandTest::count_throughTheDialogShowsTheReport() {
    QString title;
    AnswerFileDialog(m_frame, QStringLiteral("*.txt"), &title);
    PressCtrlF();
    QCOMPARE(title, QStringLiteral("Select Files"));

    const std::string dir = QFile::encodeName(m_dir.path()).toStdString() + "/";
    QCOMPARE(View()->Files(), (std::vector<std::string>{dir + "a.txt", dir + "b.txt"}));
    const std::vector<std::string> lines = ReportLines(*Doc());
    QVERIFY(lines.size() > 5);
    QVERIFY(lines.front().find("/*.TXT") != std::string::npos);
    for (const std::string& line : lines)
        QVERIFY(line.ends_with("\r\n"));
    QCOMPARE(Doc()->Doc().m_nTotalWords, 7);
    QCOMPARE(Doc()->Doc().m_nDifferentWords, 5); // "The" and "the" are one word
    QVERIFY(Doc()->IsModified());
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
    QVERIFY(!View()->IsCountBusy());
    for (int id : {ID_COUNT_FREQUENCY, ID_DELETE_RESULT})
        QVERIFY(Enabled(id));
    // The view draws it: the extent covers every line.
    m_frame->resize(640, 400);
    View()->viewport()->grab();
    QCOMPARE(View()->verticalScrollBar()->maximum(),
             std::max(0, int(lines.size()) * (View()->Metrics().height + 2) -
                             View()->viewport()->height()));
    SaveScreenshot(m_frame, "count_report");

    // Cancel leaves the report; the dialog opens again afterwards, in the
    // directory last confirmed.
    AnswerFileDialog(m_frame, QStringLiteral("b.txt"), nullptr, false);
    PressCtrlF();
    QCOMPARE(ReportLines(*Doc()), lines);
    AnswerFileDialog(m_frame, QStringLiteral("b.txt"));
    PressCtrlF();
    QCOMPARE(View()->Files(), std::vector<std::string>{dir + "b.txt"});
}

void CountCommandTest::count_withSubdirsAddsEveryFileBelow() {
    m_settings->WriteSettingInt("Option", "Subdir", 1);
    AnswerFileDialog(m_frame, QStringLiteral("*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    const std::string dir = QFile::encodeName(m_dir.path()).toStdString() + "/";
    QCOMPARE(View()->Files(), (std::vector<std::string>{dir + "a.txt", dir + "b.txt",
                                                        dir + "sub/deeper/notes.doc"}));
    QCOMPARE(Doc()->Doc().m_nTotalWords, 9);
}

void CountCommandTest::count_ctrlFAndOtherViewsIgnoredWhileCounting() {
    WriteLargeFile(m_dir.path() + "/large.txt", 400000);
    m_frame->RouteCommand(ID_WINDOW_NEW);
    CVorlanScrollView* other = View();
    m_frame->MdiArea()->setActiveSubWindow(m_frame->MdiArea()->subWindowList().first());
    CVorlanScrollView* counting = View();
    QVERIFY(other != counting && other->GetDocument() == counting->GetDocument());

    bool checked = false;
    DuringCount(m_frame, [&] {
        checked = true;
        QVERIFY(counting->IsCountBusy());
        QVERIFY(Doc()->IsCountRunning());
        m_frame->UpdateCommandUI();
        QVERIFY(!Enabled(ID_COUNT_FREQUENCY));
        QVERIFY(!Enabled(ID_DELETE_RESULT));
        QVERIFY(Enabled(ID_QUIT_COUNTING));
        // Ctrl+F opens no second dialog.
        PressCtrlF();
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        // Neither does the count command of the document's other window,
        // nor may it delete the report.
        CommandState state;
        QVERIFY(other->QueryCommand(ID_COUNT_FREQUENCY, state) && !state.enabled);
        QVERIFY(other->QueryCommand(ID_DELETE_RESULT, state) && !state.enabled);
        other->OnCountFrequency();
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        m_frame->RouteCommand(ID_QUIT_COUNTING);
    });
    AnswerFileDialog(m_frame, QStringLiteral("large.txt"));
    PressCtrlF();
    QVERIFY(checked);
    QVERIFY(!counting->IsCountBusy());
    QVERIFY(Doc()->LineCount() > 0);
    m_frame->UpdateCommandUI();
    QVERIFY(Enabled(ID_COUNT_FREQUENCY));
}

void CountCommandTest::quitCounting_stopsALargeCount() {
    constexpr int kLines = 400000;
    WriteLargeFile(m_dir.path() + "/large.txt", kLines);
    WriteFile(m_dir.path() + "/later.txt", "never read\n");
    bool quitGiven = false;
    DuringCount(m_frame, [&] {
        quitGiven = Doc()->IsCountRunning();
        m_frame->RouteCommand(ID_QUIT_COUNTING);
    });
    AnswerFileDialog(m_frame, QStringLiteral("*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    QVERIFY(quitGiven);
    // The scan stopped after the line it was reading; later files were not
    // opened. The report holds what was counted and the totals.
    const CVorlanDoc& doc = Doc()->Doc();
    QVERIFY(doc.m_nTotalWords > 0);
    QVERIFY(doc.m_nTotalWords < kLines * 8);
    QVERIFY(doc.m_nFilesProcessed < 4);
    QVERIFY(Doc()->LineCount() > 0);
    QVERIFY(Doc()->IsModified());
}

void CountCommandTest::deleteResult_emptiesTheReportAndDisablesItsCommands() {
    AnswerFileDialog(m_frame, QStringLiteral("*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    const int totals = Doc()->Doc().m_nTotalWords;
    QVERIFY(Enabled(ID_DELETE_RESULT));
    m_frame->RouteCommand(ID_DELETE_RESULT);
    QCOMPARE(Doc()->LineCount(), 0);
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(Doc()->Doc().m_nTotalWords, totals); // the counters stay
    QVERIFY(!Enabled(ID_DELETE_RESULT));
    QVERIFY(Enabled(ID_COUNT_FREQUENCY));
    QCOMPARE(View()->verticalScrollBar()->maximum(), 0);
    // Nothing to save: the window closes without a question.
    QVERIFY(m_frame->ActiveChild()->close());
}

void CountCommandTest::contextMenu_rightButtonOffersTheWindowsCommands() {
    AnswerFileDialog(m_frame, QStringLiteral("*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    QStringList entries;
    QMenu* menu = m_frame->ContextMenu();
    WhenReady(
        m_frame, [menu] { return menu->isVisible(); },
        [&] {
            QAction* clear = nullptr;
            for (QAction* action : menu->actions()) {
                entries.append(action->text());
                if (action->text() == QLatin1String("Freq"))
                    QVERIFY(action->isEnabled());
                if (action->text() == QLatin1String("Clear Result") && action->isEnabled())
                    clear = action;
            }
            menu->close();
            QVERIFY(clear);
            clear->trigger();
        });
    // What the window system turns a right-button press into.
    QWidget* viewport = View()->viewport();
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(30, 20),
                            viewport->mapToGlobal(QPoint(30, 20)));
    QApplication::sendEvent(viewport, &press);
    QTRY_COMPARE(entries.size(), 5);
    QCOMPARE(entries.mid(1), (QStringList{"Freq", "Font", "Clear Result", "Concordance"}));
    QCOMPARE(Doc()->LineCount(), 0);
}

void CountCommandTest::close_refusedWhileCountingThenAllowed() {
    WriteLargeFile(m_dir.path() + "/large.txt", 400000);
    m_frame->RouteCommand(ID_WINDOW_NEW);
    QMdiSubWindow* second = m_frame->MdiArea()->currentSubWindow();
    m_frame->MdiArea()->setActiveSubWindow(m_frame->MdiArea()->subWindowList().first());
    QMdiSubWindow* counting = m_frame->MdiArea()->currentSubWindow();
    bool refused = false;
    int stopQuestions = 0;
    DuringCount(m_frame, [&] {
        // Asked whether to stop, the user keeps the count going.
        COutputServices services = OutputServices();
        services.question = [&](QWidget*, const QString& text) {
            stopQuestions += text == QLatin1String("Stop counting and close?");
            return QMessageBox::No;
        };
        CScopedOutputServices keepCounting(services);
        // The window running the count stays; the document's other window
        // may go, but then the document's last window must stay.
        refused = !counting->close();
        QVERIFY(second->close());
        m_frame->RouteCommand(ID_FILE_CLOSE);
        refused = refused && !counting->close() && counting->isVisible();
        m_frame->RouteCommand(ID_QUIT_COUNTING);
    });
    AnswerFileDialog(m_frame, QStringLiteral("large.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    QVERIFY(refused);
    QCOMPARE(stopQuestions, 3);
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);
    // After the count it closes, once the save question is answered.
    QString question;
    AnswerSaveQuestion(m_frame, &question);
    QVERIFY(counting->close());
    QVERIFY(question.startsWith(
        QStringLiteral("Word Frequency Counter VORLAN|Save changes to Vorlan1 (stopped at ")));
}

void CountCommandTest::exit_duringCountStopsItThenAsksAndEnds() {
    WriteLargeFile(m_dir.path() + "/large.txt", 400000);
    WriteLargeFile(m_dir.path() + "/large2.txt", 400000);
    bool deferred = false;
    DuringCount(m_frame, [&] {
        COutputServices services = OutputServices();
        services.question = [](QWidget*, const QString&) { return QMessageBox::Yes; };
        CScopedOutputServices stop(services);
        deferred = !m_frame->close() && m_frame->IsClosePending() && m_frame->isVisible();
    });
    AnswerFileDialog(m_frame, QStringLiteral("large*.txt"));
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
    QVERIFY(deferred);
    // Stopped as Quit counting would: the second file was never opened.
    QCOMPARE(Doc()->Doc().m_nFilesProcessed, 1);
    QVERIFY(Doc()->Doc().m_nTotalWords < 400000 * 8);

    QString question;
    AnswerSaveQuestion(m_frame, &question);
    QTRY_VERIFY(!m_frame->isVisible());
    QVERIFY(question.startsWith(
        QStringLiteral("Word Frequency Counter VORLAN|Save changes to Vorlan1 (stopped at ")));
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    m_frame = nullptr;
}

// The hook polls the queue when a millisecond has passed since the last
// poll, and costs a clock reading otherwise.
void CountCommandTest::pump_pollsAtMostOncePerMillisecond() {
    // One event waits in the queue at all times; each poll handles it.
    int polls = 0;
    bool pending = false;
    auto keepOnePending = [&] {
        if (pending)
            return;
        pending = true;
        QMetaObject::invokeMethod(
            m_frame,
            [&] {
                pending = false;
                ++polls;
            },
            Qt::QueuedConnection);
    };
    QElapsedTimer clock;
    clock.start();
    int calls = 0;
    while (clock.elapsed() < 5) {
        keepOnePending();
        PumpMessages();
        ++calls;
    }
    const qint64 elapsed = clock.elapsed();
    QVERIFY(calls > 100);
    QVERIFY(polls >= 1);
    QVERIFY2(polls <= elapsed + 1, qPrintable(QString::number(polls)));
    // Once a millisecond has passed, the next call polls.
    keepOnePending();
    const int before = polls;
    QTest::qSleep(2);
    PumpMessages();
    QCOMPARE(polls, before + 1);
}

// A file that cannot be opened is reported and skipped; the count goes on.
void CountCommandTest::notifier_messageBoxCaptionedWithTheApplicationTitle() {
    QString message;
    WhenModal<QMessageBox>(m_frame, [&](QMessageBox* box) {
        message = box->windowTitle() + QLatin1Char('|') + box->text();
        box->accept();
    });
    const std::string a = QFile::encodeName(m_dir.path()).toStdString() + "/a.txt";
    Doc()->CountWords({"/no/such/dir/gone.txt", a}, "/no/such/dir/*.txt");
    QVERIFY(message.startsWith(
        QStringLiteral("Word Frequency Counter VORLAN|Failed to open /NO/SUCH/DIR/GONE.TXT")));
    QCOMPARE(Doc()->Doc().m_nFilesProcessed, 1);
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
}

QTEST_MAIN(CountCommandTest)
#include "count_command_test.moc"
