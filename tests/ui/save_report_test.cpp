// Saving a report: the bytes written, the suggested name, the document's
// name, title and modified flag afterwards, the messages of failed saves
// (which leave both the document and an existing file as they were), and
// the save question on closing.
#include "engine/count_notifier.h"
#include "engine/vorlan_doc.h"
#include "settings/memory_settings.h"
#include "ui/output_services.h"
#include "ui/save_report.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

class CSilentNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string&) override {}
    void Beep() override {}
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Answers the save dialog with a fixed path and records what is shown.
struct Answers {
    QString savePath;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    QStringList suggested;
    QStringList messages;
    QStringList questions;
    QStringList saved;

    COutputServices Services() {
        COutputServices services = DefaultOutputServices();
        services.saveFileName = [this](QWidget*, const QString& name) {
            suggested.append(name);
            return savePath;
        };
        services.message = [this](QWidget*, const QString& text) { messages.append(text); };
        services.question = [this](QWidget*, const QString& text) {
            questions.append(text);
            return answer;
        };
        services.fileSaved = [this](const QString& path) { saved.append(path); };
        return services;
    }
};

} // namespace

class SaveReportTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void saveAs_writesTheReportBytesAndTakesTheName();
    void saveAs_cancelled_writesNothing();
    void save_throughALink_writesTheLinkedFile();
    void save_toADevice_writesItInPlace_data();
    void save_toADevice_writesItInPlace();
    void failedSave_showsMessageAndChangesNothing_data();
    void failedSave_showsMessageAndChangesNothing();
    void errorMessages_forTheCauses_data();
    void errorMessages_forTheCauses();
    void suggestedName_data();
    void suggestedName();
    void suggestedFolder_lastSavedElseLastCounted();
    void closeQuestion_data();
    void closeQuestion();

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    CMemorySettings m_settings;
    CSilentNotifier m_notifier;
    std::unique_ptr<CVorlanDoc> m_doc;
};

void SaveReportTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = CMemorySettings();
    m_doc = std::make_unique<CVorlanDoc>(m_settings, m_notifier);
    m_doc->SetTitle("Result of May 5");
    m_doc->m_listResult.AppendLine("a\r\n");
    m_doc->m_listResult.AppendLine("b\r\n");
    m_doc->SetModifiedFlag(true);
}

void SaveReportTest::cleanup() {
    m_doc.reset();
    m_dir.reset();
}

void SaveReportTest::saveAs_writesTheReportBytesAndTakesTheName() {
    Answers answers;
    answers.savePath = m_dir->filePath(QStringLiteral("report.txt"));
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(DoFileSave(*m_doc, nullptr));

    QCOMPARE(answers.suggested, QStringList{QStringLiteral("Result of May 5.txt")});
    QCOMPARE(ReadAll(answers.savePath), QByteArray("a\r\nb\r\n"));
    QCOMPARE(m_doc->GetTitle(), std::string("report.txt"));
    QCOMPARE(QString::fromStdString(m_doc->GetPathName()), answers.savePath);
    QVERIFY(!m_doc->IsModified());
    QCOMPARE(answers.saved, QStringList{answers.savePath});
    QVERIFY(answers.messages.isEmpty());
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("report.txt")});
}

void SaveReportTest::saveAs_cancelled_writesNothing() {
    Answers answers; // the dialog answers with no path
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(!DoFileSave(*m_doc, nullptr));
    QVERIFY(m_doc->IsModified());
    QVERIFY(m_doc->GetPathName().empty());
    QVERIFY(answers.messages.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void SaveReportTest::save_throughALink_writesTheLinkedFile() {
    const QString real = m_dir->filePath(QStringLiteral("real.txt"));
    const QString link = m_dir->filePath(QStringLiteral("link.txt"));
    WriteFile(real, "old");
    QVERIFY(QFile::link(real, link));
    Answers answers;
    answers.savePath = link;
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(DoFileSave(*m_doc, nullptr));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadAll(real), QByteArray("a\r\nb\r\n"));
    QCOMPARE(m_doc->GetTitle(), std::string("link.txt"));
}

void SaveReportTest::save_toADevice_writesItInPlace_data() {
    QTest::addColumn<unsigned>("minor"); // of the memory devices
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("null") << 3u << QStringList{};
    QTest::newRow("full") << 7u << QStringList{QStringLiteral("Destination disk drive is full.")};
}

void SaveReportTest::save_toADevice_writesItInPlace() {
    QFETCH(unsigned, minor);
    QFETCH(QStringList, messages);
    const QString device = m_dir->filePath(QStringLiteral("device"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, ::makedev(1, minor)) != 0)
        QSKIP("no device node can be made here");
    Answers answers;
    answers.savePath = device;
    CScopedOutputServices scoped(answers.Services());
    QCOMPARE(DoFileSave(*m_doc, nullptr), messages.isEmpty());
    QCOMPARE(answers.messages, messages);
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(device).constData(), &st), 0);
    QVERIFY(S_ISCHR(st.st_mode));
}

// Each case names the target inside the temporary folder (or an absolute
// one) and what is there.
void SaveReportTest::failedSave_showsMessageAndChangesNothing_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("message");

    QTest::newRow("folder missing") << "missing/report.txt"
                                    << ""
                                    << "Invalid filename.";
    QTest::newRow("name is a folder")
        << "report.txt"
        << "dir"
        << "Unable to write to %1, it is read-only or opened by someone else.";
    QTest::newRow("read-only folder")
        << "ro/report.txt"
        << "rodir"
        << "Unable to write to %1, it is read-only or opened by someone else.";
    QTest::newRow("read-only file")
        << "report.txt"
        << "readonly"
        << "Unable to write to %1, it is read-only or opened by someone else.";
    QTest::newRow("folder that takes no new file")
        << "/proc/vorlan-report.txt"
        << ""
        << "Unable to write to %1, it is read-only or opened by someone else.";
}

void SaveReportTest::failedSave_showsMessageAndChangesNothing() {
    QFETCH(QString, target);
    QFETCH(QString, setUp);
    QFETCH(QString, message);
    const QString path = QDir::isAbsolutePath(target) ? target : m_dir->filePath(target);
    if (setUp == QLatin1String("dir"))
        QVERIFY(QDir().mkpath(path));
    if (setUp == QLatin1String("rodir")) {
        // Permissions do not bind the superuser.
        if (::geteuid() == 0)
            QSKIP("running as root");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::setPermissions(QFileInfo(path).path(),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    if (setUp == QLatin1String("readonly")) {
        WriteFile(path, "old");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }

    Answers answers;
    answers.savePath = path;
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(!DoFileSave(*m_doc, nullptr));
    QCOMPARE(answers.messages, QStringList{message.replace(QLatin1String("%1"), path)});
    QCOMPARE(m_doc->GetTitle(), std::string("Result of May 5"));
    QVERIFY(m_doc->IsModified());
    QVERIFY(m_doc->GetPathName().empty());
    QVERIFY(answers.saved.isEmpty());
    if (setUp == QLatin1String("readonly"))
        QCOMPARE(ReadAll(path), QByteArray("old"));
    // No temporary file stays behind.
    const QStringList left = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.filter(QStringLiteral("vorlan")).isEmpty(), qPrintable(left.join(' ')));
}

// The causes the failing saves above do not reach.
void SaveReportTest::errorMessages_forTheCauses_data() {
    QTest::addColumn<int>("err");
    QTest::addColumn<QString>("message");
    QTest::newRow("disk full") << ENOSPC << "Destination disk drive is full.";
    QTest::newRow("quota") << EDQUOT << "Destination disk drive is full.";
    QTest::newRow("device error") << EIO << "An unexpected error occurred while writing /x/r.txt.";
    QTest::newRow("other") << EXDEV << "Failed to save document.";
}

void SaveReportTest::errorMessages_forTheCauses() {
    QFETCH(int, err);
    QFETCH(QString, message);
    QCOMPARE(SaveErrorMessage(err, QStringLiteral("/x/r.txt")), message);
}

void SaveReportTest::suggestedName_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("whole title") << "Result of May 5"
                                 << "Result of May 5.txt";
    QTest::newRow("longer than 8") << "Abcdefgh123"
                                   << "Abcdefgh123.txt";
    QTest::newRow("ends so already") << "report.txt"
                                     << "report.txt";
    QTest::newRow("in capitals") << "NOTES.TXT"
                                 << "NOTES.TXT";
    QTest::newRow("other extension kept") << "kjv.htm"
                                          << "kjv.htm.txt";
    QTest::newRow("no folder in a name") << "a/b"
                                         << "a_b.txt";
}

void SaveReportTest::suggestedName() {
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(SuggestedFileName(title), name);
}

// Save as opens in the folder last saved to, else the one last counted; a
// folder that is gone is passed over.
void SaveReportTest::suggestedFolder_lastSavedElseLastCounted() {
    const QString counted = m_dir->filePath(QStringLiteral("counted"));
    const QString saved = m_dir->filePath(QStringLiteral("saved"));
    QVERIFY(QDir().mkpath(counted) && QDir().mkpath(saved));
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    QVERIFY(!DoSaveAs(*m_doc, nullptr));
    m_settings.WriteSettingString("File", "Dir", QFile::encodeName(counted + "/").constData());
    QVERIFY(!DoSaveAs(*m_doc, nullptr));
    answers.savePath = saved + QStringLiteral("/r.txt");
    QVERIFY(DoSaveAs(*m_doc, nullptr));
    QVERIFY(DoSaveAs(*m_doc, nullptr));
    QVERIFY(QDir(saved).removeRecursively());
    answers.savePath.clear();
    QVERIFY(!DoSaveAs(*m_doc, nullptr));
    QCOMPARE(answers.suggested,
             (QStringList{"Result of May 5.txt", counted + "/Result of May 5.txt",
                          counted + "/Result of May 5.txt", saved + "/r.txt", counted + "/r.txt"}));
}

void SaveReportTest::closeQuestion_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dialogGivesPath");
    QTest::addColumn<bool>("mayClose");
    QTest::addColumn<bool>("written");

    QTest::newRow("not modified: no question")
        << false << int(QMessageBox::Cancel) << true << true << false;
    QTest::newRow("yes saves") << true << int(QMessageBox::Yes) << true << true << true;
    QTest::newRow("yes, save cancelled: stays")
        << true << int(QMessageBox::Yes) << false << false << false;
    QTest::newRow("no closes unsaved") << true << int(QMessageBox::No) << true << true << false;
    QTest::newRow("cancel stays") << true << int(QMessageBox::Cancel) << true << false << false;
}

void SaveReportTest::closeQuestion() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, dialogGivesPath);
    QFETCH(bool, mayClose);
    QFETCH(bool, written);
    m_doc->SetModifiedFlag(modified);
    Answers answers;
    answers.answer = QMessageBox::StandardButton(answer);
    const QString path = m_dir->filePath(QStringLiteral("Result"));
    if (dialogGivesPath)
        answers.savePath = path;
    CScopedOutputServices scoped(answers.Services());

    QCOMPARE(SaveModified(*m_doc, nullptr), mayClose);
    const QStringList asked =
        modified ? QStringList{QStringLiteral("Save changes to Result of May 5?")} : QStringList{};
    QCOMPARE(answers.questions, asked);
    QCOMPARE(QFile::exists(path), written);
}

QTEST_MAIN(SaveReportTest)
#include "save_report_test.moc"
