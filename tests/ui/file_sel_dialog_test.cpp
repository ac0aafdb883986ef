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
    CScopedOutputServices scoped{Services()};

    COutputServices Services() {
        COutputServices services = OutputServices();
        services.message = [this](QWidget*, const QString& text) { shown.append(text); };
        return services;
    }
};

// Highlights text in list (when given) and presses Enter on widget.
void PressEnter(QWidget* widget, const QString& text) {
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
    void typedFolder_goesThereOrSaysItIsMissing_data();
    void typedFolder_goesThereOrSaysItIsMissing();
    void ok_withNothingToCountSaysWhy_data();
    void ok_withNothingToCountSaysWhy();
    void subfolderBox_mirrorsTheStoredOption();
    void rootDrive_alwaysGoesToTheRoot();
    void typeList_selectingAPatternTakesIt();

  private:
    QString Dir(const char* sub = "") const {
        return m_tmp.path() + QLatin1Char('/') + QString::fromLatin1(sub);
    }
    QTemporaryDir m_tmp;
};

// root: a.txt b.TXT c.doc noext .hidden.txt, sub1/ (d.txt, deep/), sub2/,
// [br]/ (e.txt), .hiddendir/ (f.txt), nest/ (only inner/g.txt), veiled/
// (only .h.txt, .inner/h.txt and inner/.h.txt)
void FileSelDialogTest::initTestCase() {
    QVERIFY(m_tmp.isValid());
    QDir root(m_tmp.path());
    for (const char* dir : {"sub1", "sub1/deep", "sub2", "[br]", ".hiddendir", "nest/inner",
                            "veiled/.inner", "veiled/inner"})
        QVERIFY(root.mkpath(QString::fromLatin1(dir)));
    for (const char* file : {"a.txt", "b.TXT", "c.doc", "noext", ".hidden.txt", "sub1/d.txt",
                             "[br]/e.txt", ".hiddendir/f.txt", "nest/inner/g.txt", "veiled/.h.txt",
                             "veiled/.inner/h.txt", "veiled/inner/.h.txt"})
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
}

// Enter on a list opens or takes its highlighted entry; only the file name
// box and the file list go on to count.
void FileSelDialogTest::enter_actsOnTheFocusedControl() {
    struct Case {
        const char* control;
        const char* entry;
        const char* dir;
        const char* file;
        bool counts;
    };
    const Case cases[] = {
        {"dirList", "[deep]", "sub1/deep/", "*.*", false},
        {"dirList", "[..]", "", "*.*", false},
        {"driveList", "[-u-]", "sub2/", "*.*", false},
        {"typeList", "*.doc", "sub1/", "*.doc", false},
        {"fileName", "", "sub1/", "*.*", true},
        {"fileList", "d.txt", "sub1/", "d.txt", true},
    };
    for (const Case& c : cases) {
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

void FileSelDialogTest::typedFolder_goesThereOrSaysItIsMissing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("absolute") << Dir("sub1") << Dir("sub1/") << QStringList{"d.txt"};
    QTest::newRow("relative, cleaned") << "sub1/deep/../" << Dir("sub1/") << QStringList{"d.txt"};
    QTest::newRow("home") << "~" << QDir::homePath() + QLatin1Char('/') << QStringList{};
    QTest::newRow("missing") << Dir("nowhere") << Dir() << QStringList{};
    QTest::newRow("a file") << Dir("a.txt") << Dir() << QStringList{};
}

// Typing a path and pressing Enter, or OK, goes to the folder; a path that
// is no folder is named in a message and the dialog stays where it was.
void FileSelDialogTest::typedFolder_goesThereOrSaysItIsMissing() {
    QFETCH(QString, typed);
    QFETCH(QString, dir);
    QFETCH(QStringList, files);
    for (bool viaOk : {false, true}) {
        CMessages messages;
        CMemorySettings settings;
        StoreDir(settings, Dir());
        CFileSelDialog dialog(settings);
        dialog.show();
        FileEdit(dialog)->setText(QStringLiteral("*.txt"));
        DirEdit(dialog)->setText(typed);
        if (viaOk)
            QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
        else
            PressEnter(DirEdit(dialog), QString());
        QCOMPARE(dialog.Dir(), dir);
        const bool missing = dir == Dir();
        QCOMPARE(messages.shown.size(), missing ? 1 : int(viaOk && files.isEmpty()));
        if (missing)
            QVERIFY(messages.shown[0].startsWith(QLatin1String("Folder not found: ")));
        if (!viaOk)
            QCOMPARE(Items(FileList(dialog)), missing ? (QStringList{"a.txt", "b.TXT"}) : files);
        if (!viaOk && !missing)
            SaveScreenshot(&dialog, "file_sel_typed_folder");
        QCOMPARE(dialog.isVisible(), !(viaOk && !files.isEmpty()));
    }
}

void FileSelDialogTest::ok_withNothingToCountSaysWhy_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QString>("message");
    QTest::newRow("no match") << Dir() << "*.man" << false
                              << "No file matches *.man in " + Dir().chopped(1);
    QTest::newRow("only subfolders, not included")
        << Dir("nest") << "*.*" << false << "No file matches *.* in " + Dir("nest");
    QTest::newRow("only subfolders, included") << Dir("nest") << "*.*" << true << "";
    // Hidden files and folders are not read by a count.
    QTest::newRow("nothing below")
        << Dir("sub2") << "*.*" << true
        << "No file matches *.* in " + Dir("sub2") + ", and its subfolders hold no files";
    QTest::newRow("hidden only") << Dir("veiled") << "*.*" << true
                                 << "No file matches *.* in " + Dir("veiled") +
                                        ", and its subfolders hold no files";
    QTest::newRow("no pattern") << Dir() << "" << false << "Type a file name or pattern.";
}

void FileSelDialogTest::ok_withNothingToCountSaysWhy() {
    QFETCH(QString, dir);
    QFETCH(QString, pattern);
    QFETCH(bool, subfolders);
    QFETCH(QString, message);
    CMessages messages;
    CMemorySettings settings;
    StoreDir(settings, dir);
    CFileSelDialog dialog(settings);
    dialog.show();
    FileEdit(dialog)->setText(pattern);
    FindWidget<QCheckBox>(dialog, QStringLiteral("includeSubfolders"))->setChecked(subfolders);
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dialog.result(), int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
}

// The box starts as "Option"/"Subdir" stands and OK stores a change of it.
void FileSelDialogTest::subfolderBox_mirrorsTheStoredOption() {
    CCountingSettings settings;
    StoreDir(settings, Dir());
    for (int stored : {0, 1}) {
        settings.WriteSettingInt("Option", "Subdir", stored);
        CFileSelDialog dialog(settings);
        auto* box = FindWidget<QCheckBox>(dialog, QStringLiteral("includeSubfolders"));
        QCOMPARE(box->isChecked(), stored == 1);
        box->setChecked(stored == 0);
        dialog.accept();
        QCOMPARE(settings.GetSettingInt("Option", "Subdir", -1), 1 - stored);
        QCOMPARE(dialog.IncludeSubfolders(), stored == 0);
    }
    const int writes = settings.writes;
    CFileSelDialog unchanged(settings);
    unchanged.accept();
    QCOMPARE(settings.writes, writes + 1); // "File"/"Dir" only
}

void FileSelDialogTest::rootDrive_alwaysGoesToTheRoot() {
    CMemorySettings settings;
    StoreDir(settings, Dir("sub1"));
    CFileSelDialog dialog(settings, nullptr, {{QLatin1Char('/'), QStringLiteral("/")}});
    dialog.show();
    DoubleClick(DriveList(dialog), QStringLiteral("[-/-]"));
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
}

// One click on a pattern is enough, again after another was typed.
void FileSelDialogTest::typeList_selectingAPatternTakesIt() {
    CMemorySettings settings;
    StoreDir(settings, Dir());
    CFileSelDialog dialog(settings);
    dialog.show();
    for (const char* pattern : {"*.doc", "*.txt"}) {
        QListWidgetItem* item = TypeList(dialog)->findItems(pattern, Qt::MatchExactly).value(0);
        FileEdit(dialog)->setText(QStringLiteral("a*"));
        QTest::mouseClick(TypeList(dialog)->viewport(), Qt::LeftButton, {},
                          TypeList(dialog)->visualItemRect(item).center());
        QCOMPARE(FileEdit(dialog)->text(), QString::fromLatin1(pattern));
        QCOMPARE(dialog.File(), QString::fromLatin1(pattern));
    }
    QCOMPARE(Items(FileList(dialog)), (QStringList{"a.txt", "b.TXT"}));
}

QTEST_MAIN(FileSelDialogTest)
#include "file_sel_dialog_test.moc"
