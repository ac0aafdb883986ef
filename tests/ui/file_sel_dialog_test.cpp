// The Select Files dialog: where it opens, how double-clicks and typing move
// through directories and patterns, and when it remembers the directory.
#include "find_widget.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/file_sel_dialog.h"
#include "ui/output_services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QLineEdit* FileEdit(const CFileSelDialog& dialog) {
    return FindWidget<QLineEdit>(dialog, QStringLiteral("fileName"));
}
QLineEdit* DirEdit(const CFileSelDialog& dialog) {
    return FindWidget<QLineEdit>(dialog, QStringLiteral("directory"));
}
QListWidget* FileList(const CFileSelDialog& dialog) {
    return FindWidget<QListWidget>(dialog, QStringLiteral("fileList"));
}
QListWidget* DirList(const CFileSelDialog& dialog) {
    return FindWidget<QListWidget>(dialog, QStringLiteral("dirList"));
}
QListWidget* DriveList(const CFileSelDialog& dialog) {
    return FindWidget<QListWidget>(dialog, QStringLiteral("driveList"));
}
QListWidget* TypeList(const CFileSelDialog& dialog) {
    return FindWidget<QListWidget>(dialog, QStringLiteral("typeList"));
}

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

void DoubleClick(QListWidget* list, const QString& text) {
    QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    QRect rect = list->visualItemRect(found[0]);
    // The view takes the double-click on the item it saw pressed first.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Counts the writes that reach the store.
class CCountingSettings : public CMemorySettings {
  public:
    bool WriteSettingString(const char* section, const char* key, const char* value) override {
        ++writes;
        return CMemorySettings::WriteSettingString(section, key, value);
    }
    int writes = 0;
};

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void StoreDir(CSettingsStore& settings, const QString& dir) {
    settings.WriteSettingString("File", "Dir", QFile::encodeName(dir).constData());
}

QPushButton* Button(CFileSelDialog& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

// Notes the messages the dialog shows instead of showing them.
struct CMessages {
    QStringList shown;
    COutputServices Services() {
        COutputServices services = OutputServices();
        services.message = [this](QWidget*, const QString& text) { shown.append(text); };
        return services;
    }
    CScopedOutputServices scoped{Services()};
};

// Highlights text in list (when given) and presses Enter on widget.
void PressEnter(QWidget* widget, const QString& text = QString()) {
    if (auto* list = qobject_cast<QListWidget*>(widget); list && !text.isEmpty())
        list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
}

} // namespace

class FileSelDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();

    void opening_firstRunStartsInCurrentDirectory();
    void opening_startsInStoredDirectory();
    void lists_showFilesDirectoriesTypesAndDrives();
    void typing_narrowsFileListAtOnce();
    void typing_replacesTheSuggestedPattern();
    void patternLists_doubleClickSetsFileName();
    void dirList_entersAndLeavesDirectories();
    void dirList_bracketedNameIsEnteredWhole();
    void dirList_rootHasNoParentEntry();
    void driveList_keepsCurrentDriveAndJumpsToOthers();
    void ok_withEmptyFileListStaysOpen();
    void ok_remembersDirectoryForNextOpening();
    void cancel_writesNothing();
    void missingStoredDirectory_givesEmptyLists();
    void enter_actsOnTheFocusedControl();
    void typedFolder_goesThereOrSaysItIsMissing();
    void ok_withNothingToCountSaysWhy();

  private:
    QString Dir(const char* sub = "") const {
        return m_tmp.path() + QLatin1Char('/') + QString::fromLatin1(sub);
    }
    QTemporaryDir m_tmp;
};

// root: a.txt b.TXT c.doc noext .hidden.txt, sub1/ (d.txt, deep/), sub2/,
// [br]/ (e.txt), .hiddendir/, nest/ (only inner/g.txt), veiled/
// (only .h.txt, .inner/h.txt and inner/.h.txt)
void FileSelDialogTest::initTestCase() {
    QVERIFY(m_tmp.isValid());
    QDir root(m_tmp.path());
    for (const char* dir : {"sub1", "sub1/deep", "sub2", "[br]", ".hiddendir", "nest/inner",
                            "veiled/.inner", "veiled/inner"})
        QVERIFY(root.mkpath(QString::fromLatin1(dir)));
    for (const char* file :
         {"a.txt", "b.TXT", "c.doc", "noext", ".hidden.txt", "sub1/d.txt", "[br]/e.txt",
          "nest/inner/g.txt", "veiled/.h.txt", "veiled/.inner/h.txt", "veiled/inner/.h.txt"})
        Touch(root.filePath(QString::fromLatin1(file)));
}

void FileSelDialogTest::opening_firstRunStartsInCurrentDirectory() {
    CMemorySettings settings;
    QString old = QDir::currentPath();
    QDir::setCurrent(Dir("sub1"));
    CFileSelDialog dialog(settings);
    QDir::setCurrent(old);
    QCOMPARE(dialog.Dir(), Dir("sub1/"));
    QCOMPARE(DirEdit(dialog)->text(), Dir("sub1/"));
    QCOMPARE(FileEdit(dialog)->text(), QStringLiteral("*.*"));
    QCOMPARE(Items(FileList(dialog)), QStringList{"d.txt"});
}

void FileSelDialogTest::opening_startsInStoredDirectory() {
    CMemorySettings settings;
    StoreDir(settings, Dir("[br]"));
    CFileSelDialog dialog(settings);
    // A stored directory without its separator gets one.
    QCOMPARE(dialog.Dir(), Dir("[br]/"));
    QCOMPARE(Items(FileList(dialog)), QStringList{"e.txt"});
}

void FileSelDialogTest::lists_showFilesDirectoriesTypesAndDrives() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    QCOMPARE(Items(FileList(dialog)), (QStringList{"a.txt", "b.TXT", "c.doc", "noext"}));
    QCOMPARE(Items(DirList(dialog)),
             (QStringList{"[..]", "[nest]", "[sub1]", "[sub2]", "[veiled]", "[[br]]"}));
    QCOMPARE(Items(TypeList(dialog)), (QStringList{"*.*", "*.doc", "*.man", "*.txt"}));
    QCOMPARE(Items(DriveList(dialog)), (QStringList{"[-/-]", "[-~-]"}));
    QVERIFY(!DirEdit(dialog)->isReadOnly());
    QStringList typeLabels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() == TypeList(dialog))
            typeLabels.append(label->text());
    }
    QCOMPARE(typeLabels, QStringList{"File type"});
}

void FileSelDialogTest::typing_narrowsFileListAtOnce() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    FileEdit(dialog)->clear();
    QTest::keyClicks(FileEdit(dialog), QStringLiteral("*.t"));
    QVERIFY(Items(FileList(dialog)).isEmpty());
    QTest::keyClicks(FileEdit(dialog), QStringLiteral("xt"));
    QCOMPARE(Items(FileList(dialog)), (QStringList{"a.txt", "b.TXT"}));
    QCOMPARE(dialog.File(), QStringLiteral("*.txt"));
}

// The dialog opens with the pattern chosen, so typing a name replaces it
// instead of being added after "*.*".
void FileSelDialogTest::typing_replacesTheSuggestedPattern() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    FileEdit(dialog)->setFocus();
    QTest::keyClicks(FileEdit(dialog), QStringLiteral("a.txt"));
    QCOMPARE(dialog.File(), QStringLiteral("a.txt"));
}

// A double-click in the type list or the file list makes the item the file
// name, as it is written.
void FileSelDialogTest::patternLists_doubleClickSetsFileName() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(TypeList(dialog), QStringLiteral("*.doc"));
    QCOMPARE(FileEdit(dialog)->text(), QStringLiteral("*.doc"));
    QCOMPARE(Items(FileList(dialog)), QStringList{"c.doc"});
    DoubleClick(TypeList(dialog), QStringLiteral("*.*"));
    DoubleClick(FileList(dialog), QStringLiteral("b.TXT"));
    QCOMPARE(FileEdit(dialog)->text(), QStringLiteral("b.TXT"));
    QCOMPARE(Items(FileList(dialog)), QStringList{"b.TXT"});
}

void FileSelDialogTest::dirList_entersAndLeavesDirectories() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(TypeList(dialog), QStringLiteral("*.txt"));
    DoubleClick(DirList(dialog), QStringLiteral("[sub1]"));
    QCOMPARE(DirEdit(dialog)->text(), Dir("sub1/"));
    QCOMPARE(Items(DirList(dialog)), (QStringList{"[..]", "[deep]"}));
    // The pattern stays and applies to the new directory.
    QCOMPARE(Items(FileList(dialog)), QStringList{"d.txt"});
    DoubleClick(DirList(dialog), QStringLiteral("[deep]"));
    QCOMPARE(DirEdit(dialog)->text(), Dir("sub1/deep/"));
    DoubleClick(DirList(dialog), QStringLiteral("[..]"));
    DoubleClick(DirList(dialog), QStringLiteral("[..]"));
    QCOMPARE(DirEdit(dialog)->text(), Dir());
    QCOMPARE(Items(FileList(dialog)), (QStringList{"a.txt", "b.TXT"}));
}

void FileSelDialogTest::dirList_bracketedNameIsEnteredWhole() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(DirList(dialog), QStringLiteral("[[br]]"));
    QCOMPARE(dialog.Dir(), Dir("[br]/"));
    QCOMPARE(Items(FileList(dialog)), QStringList{"e.txt"});
}

void FileSelDialogTest::dirList_rootHasNoParentEntry() {
    CMemorySettings settings;
    settings.WriteSettingString("File", "Dir", "/");
    CFileSelDialog dialog(settings);
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
    QVERIFY(!Items(DirList(dialog)).contains(QStringLiteral("[..]")));
}

void FileSelDialogTest::driveList_keepsCurrentDriveAndJumpsToOthers() {
    CMemorySettings settings;
    StoreDir(settings, Dir("sub1/deep"));
    QList<CDriveRoot> roots = {{QLatin1Char('a'), Dir("sub1/")}, {QLatin1Char('b'), Dir()}};
    CFileSelDialog dialog(settings, nullptr, roots);
    dialog.show();
    QCOMPARE(Items(DriveList(dialog)), (QStringList{"[-a-]", "[-b-]"}));
    // sub1/deep lies on a (the closest root holding it): picking a keeps it.
    DoubleClick(DriveList(dialog), QStringLiteral("[-a-]"));
    QCOMPARE(dialog.Dir(), Dir("sub1/deep/"));
    DoubleClick(DriveList(dialog), QStringLiteral("[-b-]"));
    QCOMPARE(dialog.Dir(), Dir());
    QCOMPARE(Items(FileList(dialog)), (QStringList{"a.txt", "b.TXT", "c.doc", "noext"}));
    DoubleClick(DirList(dialog), QStringLiteral("[sub2]"));
    DoubleClick(DriveList(dialog), QStringLiteral("[-b-]"));
    QCOMPARE(dialog.Dir(), Dir("sub2/"));
    DoubleClick(DriveList(dialog), QStringLiteral("[-a-]"));
    QCOMPARE(dialog.Dir(), Dir("sub1/"));
}

void FileSelDialogTest::ok_withEmptyFileListStaysOpen() {
    CMessages messages;
    CCountingSettings settings;
    StoreDir(settings, Dir("sub2"));
    int writes = settings.writes;
    CFileSelDialog dialog(settings);
    dialog.show();
    QVERIFY(Items(FileList(dialog)).isEmpty());
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.writes, writes);
}

void FileSelDialogTest::ok_remembersDirectoryForNextOpening() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    {
        CFileSelDialog dialog(settings);
        dialog.show();
        DoubleClick(DirList(dialog), QStringLiteral("[sub1]"));
        FileEdit(dialog)->setText(QStringLiteral("*.txt"));
        QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Dir(), Dir("sub1/"));
        QCOMPARE(dialog.File(), QStringLiteral("*.txt"));
    }
    QCOMPARE(QFile::decodeName(settings.GetSettingString("File", "Dir", "").c_str()), Dir("sub1/"));
    CFileSelDialog next(settings);
    QCOMPARE(next.Dir(), Dir("sub1/"));
    SaveScreenshot(&next, "file_sel_dialog");
}

void FileSelDialogTest::cancel_writesNothing() {
    CCountingSettings settings;
    QString old = QDir::currentPath();
    QDir::setCurrent(Dir());
    CFileSelDialog dialog(settings);
    QDir::setCurrent(old);
    dialog.show();
    DoubleClick(DirList(dialog), QStringLiteral("[sub1]"));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.writes, 0);
}

void FileSelDialogTest::missingStoredDirectory_givesEmptyLists() {
    CMessages messages;
    CMemorySettings settings;
    StoreDir(settings, Dir("gone/"));
    QList<CDriveRoot> roots = {{QLatin1Char('/'), QStringLiteral("/")}, {QLatin1Char('t'), Dir()}};
    CFileSelDialog dialog(settings, nullptr, roots);
    dialog.show();
    QVERIFY(Items(FileList(dialog)).isEmpty());
    QVERIFY(Items(DirList(dialog)).isEmpty());
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(messages.shown, QStringList{QStringLiteral("Folder not found: ") + Dir("gone")});
    // Another drive still leads out.
    DoubleClick(DriveList(dialog), QStringLiteral("[-t-]"));
    QCOMPARE(dialog.Dir(), Dir("gone/"));
    DoubleClick(DriveList(dialog), QStringLiteral("[-/-]"));
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
    // The root is reached from any folder it holds most closely, too.
    PressEnter(DirEdit(dialog), "/tmp/");
    DoubleClick(DriveList(dialog), QStringLiteral("[-/-]"));
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
}

// Enter on a list opens or takes its highlighted entry (a pattern is taken
// as soon as it is highlighted); only the file name box and the file list go
// on to count.
void FileSelDialogTest::enter_actsOnTheFocusedControl() {
    const struct {
        const char *control, *entry, *dir, *file;
        bool counts;
    } cases[] = {{"dirList", "[deep]", "sub1/deep/", "*.*", false},
                 {"dirList", "[..]", "", "*.*", false},
                 {"driveList", "[-u-]", "sub2/", "*.*", false},
                 {"typeList", "*.doc", "sub1/", "*.doc", false},
                 {"fileName", "", "sub1/", "*.*", true},
                 {"fileList", "d.txt", "sub1/", "d.txt", true}};
    for (const auto& c : cases) {
        CMessages messages;
        CMemorySettings settings;
        StoreDir(settings, Dir("sub1"));
        CFileSelDialog dialog(settings, nullptr,
                              {{QLatin1Char('t'), Dir()}, {QLatin1Char('u'), Dir("sub2/")}});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        PressEnter(FindWidget<QWidget>(dialog, QString::fromLatin1(c.control)),
                   QString::fromLatin1(c.entry));
        QCOMPARE(dialog.Dir(), Dir(c.dir));
        QCOMPARE(dialog.File(), QString::fromLatin1(c.file));
        QCOMPARE(dialog.result(), int(c.counts ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog.isVisible(), !c.counts);
        QCOMPARE(messages.shown, QStringList());
    }
}

// Enter in the directory box goes to the folder typed; a path that is no
// folder is named in a message and the dialog stays where it was.
void FileSelDialogTest::typedFolder_goesThereOrSaysItIsMissing() {
    const QString home = QDir::homePath() + QLatin1Char('/');
    const QStringList cases[] = {{Dir("sub1"), Dir("sub1/")},
                                 {"sub1/deep/../", Dir("sub1/")},
                                 {"~", home},
                                 {Dir("nowhere"), Dir()},
                                 {Dir("a.txt"), Dir()}};
    for (const QStringList& c : cases) {
        CMessages messages;
        CMemorySettings settings;
        StoreDir(settings, Dir());
        CFileSelDialog dialog(settings);
        dialog.show();
        DirEdit(dialog)->setText(c[0]);
        PressEnter(DirEdit(dialog));
        QCOMPARE(dialog.Dir(), c[1]);
        QCOMPARE(messages.shown.size(), c[1] == Dir() ? 1 : 0);
        QCOMPARE(Items(FileList(dialog)).contains("d.txt"), c[1] == Dir("sub1/"));
        QVERIFY(dialog.isVisible());
        if (c[0] == Dir("sub1"))
            SaveScreenshot(&dialog, "file_sel_typed_folder");
    }
}

// With subfolders the count reads every file below them; hidden ones are
// never read. OK accepted stores the box as "Option"/"Subdir".
void FileSelDialogTest::ok_withNothingToCountSaysWhy() {
    const QString below = QStringLiteral(", and its subfolders hold no files");
    const struct {
        QString dir, pattern;
        int subfolders;
        QString message;
    } cases[] = {{Dir(), "*.man", 0, "No file matches *.man in " + Dir().chopped(1)},
                 {Dir("nest"), "*.*", 0, "No file matches *.* in " + Dir("nest")},
                 {Dir("nest"), "*.*", 1, ""},
                 {Dir("sub2"), "*.*", 1, "No file matches *.* in " + Dir("sub2") + below},
                 {Dir("veiled"), "*.*", 1, "No file matches *.* in " + Dir("veiled") + below},
                 {Dir(), ".hidden.txt", 0, ""}, // named: counted alone
                 {Dir(), "", 0, "Type a file name or pattern."}};
    for (const auto& c : cases) {
        CMessages messages;
        CMemorySettings settings;
        StoreDir(settings, c.dir);
        settings.WriteSettingInt("Option", "Subdir", c.subfolders);
        CFileSelDialog dialog(settings);
        dialog.show();
        FileEdit(dialog)->setText(c.pattern);
        QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(messages.shown, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        QCOMPARE(dialog.result(), int(c.message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
    }
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    FindWidget<QCheckBox>(dialog, QStringLiteral("includeSubfolders"))->setChecked(true);
    dialog.accept();
    QCOMPARE(settings.GetSettingInt("Option", "Subdir", 0), 1);
}

QTEST_MAIN(FileSelDialogTest)
#include "file_sel_dialog_test.moc"
