// What the running program does when things go wrong around a report: a
// window, the document or the program closed while a count writes the
// report, "Delete result" and Save given from the document's other window
// meanwhile, a save that fails for a full disk or a read-only place (also
// when it was asked for on the way out), and a profile folder that cannot be
// written. Nothing crashes, no report is lost or half-written, and the user
// is told what failed.
#include "answered_dialogs.h"
#include "settings/memory_settings.h"
#include "settings/profile_location.h"
#include "settings/profile_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/file_sel_dialog.h"
#include "ui/font_color_commands.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/mount.h>

namespace {

// One distinct word per line: the report gets a line for each, so writing
// it takes long enough to act in between.
void WriteDistinctWords(const QString& path, int words) {
    QByteArray text;
    text.reserve(words * 9);
    for (int i = 0; i < words; ++i)
        text += "w" + QByteArray::number(i).rightJustified(7, '0') + "\n";
    WriteFile(path, text);
}

// A small file system of its own in a temporary folder, for the disk-full
// and read-only cases; mounting needs the superuser.
class CSmallMount {
  public:
    CSmallMount() {
        m_bMounted =
            m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                       "tmpfs", 0, "size=64k") == 0;
        if (!m_bMounted)
            m_strError = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~CSmallMount() {
        if (m_bMounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    CSmallMount(const CSmallMount&) = delete;
    CSmallMount& operator=(const CSmallMount&) = delete;

    bool Mounted() const { return m_bMounted; }
    const QString& Error() const { return m_strError; }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QStringList Entries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    bool MakeReadOnly() const {
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    QTemporaryDir m_dir;
    bool m_bMounted = false;
    QString m_strError;
};

constexpr int kWords = 200000;
const QString kOldReport = QStringLiteral("the report saved before\r\n");

} // namespace

class GuiFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void countWritingReport_closeDeleteAndSaveWaitForTheWholeReport_data();
    void countWritingReport_closeDeleteAndSaveWaitForTheWholeReport();
    void exitAfterCount_failedSaveKeepsProgramDocumentAndOldFile();
    void exitDuringCount_cancelledKeepsTheProgramCounting();
    void save_failures_data();
    void save_failures();
    void profileNotWritable_data();
    void profileNotWritable();

  private:
    void StartApp(CSettingsStore& settings);
    CVorlanScrollView* View() const { return m_frame->ActiveView(); }
    CResultDocument* Doc() const { return View()->GetDocument(); }
    void CountWords(const QString& pattern);
    void CountSmallFile();

    QTemporaryDir m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void GuiFaultsTest::init() {
    QVERIFY(m_dir.isValid());
    m_settings = std::make_unique<CMemorySettings>();
}

void GuiFaultsTest::StartApp(CSettingsStore& settings) {
    m_app = std::make_unique<CVorlanApp>(settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
}

void GuiFaultsTest::cleanup() {
    if (m_frame) {
        for (CVorlanScrollView* view : m_frame->Views())
            view->GetDocument()->Doc().SetModifiedFlag(false);
    }
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    m_frame = nullptr;
    m_settings.reset();
}

void GuiFaultsTest::CountWords(const QString& pattern) {
    AnswerFileDialog(m_frame, m_dir.path() + QLatin1Char('/'), pattern);
    m_frame->RouteCommand(ID_COUNT_FREQUENCY);
}

void GuiFaultsTest::CountSmallFile() {
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text += "word" + QByteArray::number(i) + "\n";
    WriteFile(m_dir.filePath(QStringLiteral("small.txt")), text);
    CountWords(QStringLiteral("small.txt"));
    QCOMPARE(Doc()->LineCount(), 5004);
}

void GuiFaultsTest::countWritingReport_closeDeleteAndSaveWaitForTheWholeReport_data() {
    QTest::addColumn<bool>("sorting");
    QTest::newRow("writing the word lines") << false;
    QTest::newRow("ordering by frequency") << true;
}

// While the count writes the report lines or orders them, the document's
// other window may neither empty the report nor save the part done so far;
// the counting window and the document stay open; ending the program waits.
// Afterwards the report is whole.
void GuiFaultsTest::countWritingReport_closeDeleteAndSaveWaitForTheWholeReport() {
    QFETCH(bool, sorting);
    m_settings->WriteSettingInt("Sort", "Freq", sorting ? 1 : 0);
    StartApp(*m_settings);
    WriteDistinctWords(m_dir.filePath(QStringLiteral("words.txt")), kWords);
    m_frame->RouteCommand(ID_WINDOW_NEW);
    CVorlanScrollView* other = View();
    QMdiSubWindow* otherWindow = m_frame->MdiArea()->currentSubWindow();
    m_frame->MdiArea()->setActiveSubWindow(m_frame->MdiArea()->subWindowList().first());
    CVorlanScrollView* counting = View();
    CResultDocument* doc = counting->GetDocument();
    QVERIFY(other != counting && other->GetDocument() == doc);

    Answers answers;
    answers.savePath = m_dir.filePath(QStringLiteral("partial.txt"));
    CScopedOutputServices scoped(answers.Services());
    bool checked = false;
    WhenReady(
        m_frame,
        [doc, sorting] {
            return doc->IsCountRunning() && doc->LineCount() > 0 &&
                   doc->Doc().GetTitle().starts_with("Sorting") == sorting;
        },
        [&] {
            checked = true;
            const int before = doc->LineCount();
            CommandState state;
            for (int id : {ID_DELETE_RESULT, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_COUNT_FREQUENCY}) {
                QVERIFY(other->QueryCommand(id, state));
                QVERIFY2(!state.enabled, qPrintable(QString::number(id)));
                QVERIFY(counting->QueryCommand(id, state));
                QVERIFY2(!state.enabled, qPrintable(QString::number(id)));
                // Given anyway (a key pressed before the menus followed).
                other->DoCommand(id);
            }
            QVERIFY(doc->LineCount() >= before);
            QVERIFY(!QFileInfo::exists(answers.savePath));
            // The other window may go; the document keeps its last one.
            QVERIFY(otherWindow->close());
            // The counting window, the document and the program stay while
            // the user does not choose to stop the count.
            QVERIFY(!m_frame->MdiArea()->subWindowList().first()->close());
            m_frame->RouteCommand(ID_FILE_CLOSE);
            answers.answer = QMessageBox::Yes;
            QVERIFY(!m_frame->close());
            answers.answer = QMessageBox::No;
            QVERIFY(m_frame->IsClosePending());
        });
    CountWords(QStringLiteral("words.txt"));
    QVERIFY(checked);
    QVERIFY(answers.messages.isEmpty());
    QVERIFY(answers.saved.isEmpty());

    // The report is whole: header, a line for every word, the totals.
    QCOMPARE(doc->LineCount(), kWords + 4);
    QVERIFY(doc->Report().m_pHead->m_strLine.starts_with("====="));
    QCOMPARE(doc->Doc().m_nDifferentWords, kWords);
    QVERIFY(doc->IsModified());
    QCOMPARE(doc->Title(), QStringLiteral("Vorlan1"));

    // The pending close goes ahead once the count has returned; No lets it.
    // The stop came after the files were read: the report is whole.
    QTRY_VERIFY(!m_frame->isVisible());
    const QString stop = QStringLiteral("Stop counting and close?");
    QCOMPARE(answers.questions,
             (QStringList{stop, stop, stop, QStringLiteral("Save changes to Vorlan1?")}));
    m_frame = nullptr;
}

// Exit, "Save changes?" Yes, and the save fails: the user is told, the
// program and the document stay as they were, the old file is intact; a
// second exit may then end without saving.
void GuiFaultsTest::exitAfterCount_failedSaveKeepsProgramDocumentAndOldFile() {
    CSmallMount disk;
    if (!disk.Mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small file system: ") + disk.Error()));
    const QString target = disk.Path(QStringLiteral("report.txt"));
    WriteFile(target, kOldReport.toLatin1());

    StartApp(*m_settings);
    WriteDistinctWords(m_dir.filePath(QStringLiteral("words.txt")), 20000);
    CountWords(QStringLiteral("words.txt"));
    QCOMPARE(Doc()->LineCount(), 20004);

    Answers answers;
    answers.answer = QMessageBox::Yes;
    answers.savePath = target;
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(!m_frame->close());
    QCOMPARE(answers.questions, QStringList{QStringLiteral("Save changes to Vorlan1?")});
    QCOMPARE(answers.messages, QStringList{QStringLiteral("Destination disk drive is full.")});
    QVERIFY(m_frame->isVisible());
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);
    QVERIFY(Doc()->IsModified());
    QCOMPARE(Doc()->Title(), QStringLiteral("Vorlan1"));
    QVERIFY(Doc()->Doc().GetPathName().empty());
    QCOMPARE(Doc()->LineCount(), 20004);
    QCOMPARE(ReadAll(target), kOldReport.toLatin1());
    QCOMPARE(disk.Entries(), QStringList{QStringLiteral("report.txt")});
    QVERIFY(answers.saved.isEmpty());
    QVERIFY(!m_frame->IsClosePending());

    answers.answer = QMessageBox::No;
    QVERIFY(m_frame->close());
    QCOMPARE(ReadAll(target), kOldReport.toLatin1());
    m_frame = nullptr;
}

// Ending the program during a count stops the count when the user says so;
// when the user then cancels the save question, the program stays and
// counts as before.
void GuiFaultsTest::exitDuringCount_cancelledKeepsTheProgramCounting() {
    StartApp(*m_settings);
    WriteDistinctWords(m_dir.filePath(QStringLiteral("words.txt")), kWords);
    Answers answers;
    answers.answer = QMessageBox::Yes;
    CScopedOutputServices scoped(answers.Services());
    bool deferred = false;
    WhenReady(
        m_frame, [this] { return Doc()->Doc().m_bCounting == 1; },
        [&] {
            deferred = !m_frame->close() && m_frame->IsClosePending();
            answers.answer = QMessageBox::Cancel;
        });
    CountWords(QStringLiteral("words.txt"));
    QVERIFY(deferred);
    QTRY_COMPARE(answers.questions.size(), 2);
    QVERIFY(
        answers.questions[1].startsWith(QStringLiteral("Save changes to Vorlan1 (stopped at ")));
    QVERIFY(m_frame->isVisible());
    QVERIFY(!m_frame->IsClosePending());
    QVERIFY(Doc()->IsModified());
    QVERIFY(Doc()->Doc().m_nTotalWords < kWords);

    // Nothing of the cancelled exit stops the next count.
    CountSmallFile();
    QCOMPARE(Doc()->Doc().m_nTotalWords, 5000);
    QVERIFY(m_frame->isVisible());
    QCOMPARE(answers.questions.size(), 2);
}

void GuiFaultsTest::save_failures_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("message");
    const QString full = QStringLiteral("Destination disk drive is full.");
    const QString readOnly =
        QStringLiteral("Unable to write to %1, it is read-only or opened by someone else.");
    QTest::newRow("Save as, disk full") << false << int(ID_FILE_SAVE_AS) << full;
    QTest::newRow("Save as, read-only file system") << true << int(ID_FILE_SAVE_AS) << readOnly;
    QTest::newRow("Save, disk full") << false << int(ID_FILE_SAVE) << full;
    QTest::newRow("Save, read-only file system") << true << int(ID_FILE_SAVE) << readOnly;
}

// A new report over an existing one in a place that cannot take it: chosen
// with Save as in a new document, or saved with Save into the opened old
// report's file.
void GuiFaultsTest::save_failures() {
    QFETCH(bool, readOnly);
    QFETCH(int, command);
    QFETCH(QString, message);
    CSmallMount disk;
    if (!disk.Mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small file system: ") + disk.Error()));
    const QString target = disk.Path(QStringLiteral("report.txt"));
    WriteFile(target, kOldReport.toLatin1());
    if (readOnly)
        QVERIFY(disk.MakeReadOnly());

    StartApp(*m_settings);
    // A count in the opened report's window makes a new report, which Save
    // puts where the user says: here over the old report's file.
    QString title = QStringLiteral("Vorlan1");
    if (command == ID_FILE_SAVE) {
        QVERIFY(m_app->OpenDocumentFile(target));
        title = QStringLiteral("Vorlan2");
    }
    CountSmallFile();
    Answers answers;
    answers.savePath = target;
    CScopedOutputServices scoped(answers.Services());
    const QString recent = m_frame->Action(ID_FILE_MRU_FILE1)->text();
    m_frame->RouteCommand(command);
    QCOMPARE(answers.messages, QStringList{message.replace(QLatin1String("%1"), target)});
    QVERIFY(Doc()->IsModified());
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), title);
    QCOMPARE(Doc()->Doc().GetPathName(), std::string());
    QCOMPARE(ReadAll(target), kOldReport.toLatin1());
    QCOMPARE(disk.Entries(), QStringList{QStringLiteral("report.txt")});
    QVERIFY(answers.saved.isEmpty());
    QCOMPARE(m_frame->Action(ID_FILE_MRU_FILE1)->text(), recent);
    // The report is still there to be saved elsewhere.
    answers.savePath = m_dir.filePath(QStringLiteral("elsewhere.txt"));
    m_frame->RouteCommand(ID_FILE_SAVE_AS);
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(ReadAll(answers.savePath).count("\r\n"), 5004);
}

void GuiFaultsTest::profileNotWritable_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("folder is a file") << "file";
    QTest::newRow("read-only file system") << "readonly";
}

// Settings that cannot be stored are lost without a word; the program works
// on: it counts, takes a font, saves, lists the saved file among the recent
// files for this run, and ends.
void GuiFaultsTest::profileNotWritable() {
    QFETCH(QString, where);
    std::unique_ptr<CSmallMount> disk;
    QString ini;
    if (where == QLatin1String("missing")) {
        ini = m_dir.filePath(QStringLiteral("no/such/folder/VORLAN.INI"));
    } else if (where == QLatin1String("file")) {
        WriteFile(m_dir.filePath(QStringLiteral("plain")), "not a folder");
        ini = m_dir.filePath(QStringLiteral("plain/VORLAN.INI"));
    } else {
        disk = std::make_unique<CSmallMount>();
        if (!disk->Mounted())
            QSKIP(qPrintable(QStringLiteral("cannot mount a small file system: ") + disk->Error()));
        QVERIFY(disk->MakeReadOnly());
        ini = disk->Path(QStringLiteral("VORLAN.INI"));
    }
    const QByteArray oldIni = qgetenv("VORLAN_INI");
    const bool hadIni = qEnvironmentVariableIsSet("VORLAN_INI");
    qputenv("VORLAN_INI", QFile::encodeName(ini));
    CProfileSettings settings(FindProfileLocation());
    hadIni ? qputenv("VORLAN_INI", oldIni) : qunsetenv("VORLAN_INI");
    QCOMPARE(settings.Path(), QFile::encodeName(ini).toStdString());
    QVERIFY(!settings.WriteSettingInt("Sort", "Freq", 1));

    StartApp(settings);
    Answers answers;
    answers.savePath = m_dir.filePath(QStringLiteral("saved.txt"));
    CScopedOutputServices scoped(answers.Services());
    CountSmallFile();
    // The font and colour commands store their choice; the font still
    // reaches the window.
    LogFont chosen;
    chosen.lfHeight = -20;
    SetFaceName(chosen, "DejaVu Sans Mono");
    COutputServices withChoosers = OutputServices();
    withChoosers.chooseFont = [&](QWidget*, const LogFont&, ColorRef) {
        return std::optional(CChosenFont{chosen, 0x0000FF});
    };
    withChoosers.chooseColor = [](QWidget*, ColorRef) { return std::optional<ColorRef>(0x00FF00); };
    CScopedOutputServices choosers(withChoosers);
    for (int id : {ID_CHANGE_FONT, ID_TEXT_COLOR, ID_BACK_COLOR})
        m_frame->RouteCommand(id);
    View()->viewport()->grab();
    QCOMPARE(View()->GetLogFont().lfHeight, -20);
    m_frame->RouteCommand(ID_FILE_SAVE_AS);
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(answers.saved, QStringList{answers.savePath});
    QVERIFY(m_frame->Action(ID_FILE_MRU_FILE1)->text().endsWith(QLatin1String("saved.txt")));
    QVERIFY(answers.messages.isEmpty());
    QVERIFY(m_frame->close());
    m_app->ExitInstance();
    m_app.reset();
    m_frame = nullptr;
    QVERIFY(!QFileInfo::exists(ini));
    QVERIFY(answers.messages.isEmpty());
}

QTEST_MAIN(GuiFaultsTest)
#include "gui_faults_test.moc"
