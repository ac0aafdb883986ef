// The Select Files dialog: where it opens, how double-clicks and typing move
// through directories and patterns, and when it remembers the directory.
#include "screenshot.h"
#include "ui/dir_listing.h"
#include "ui/file_sel_dialog.h"
#include "ui/memory_settings_store.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QPushButton* Button(CFileSelDialog& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

} // namespace

class FileSelDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void wildcard_data();
    void wildcard();

    void opening_firstRunStartsInCurrentDirectory();
    void opening_startsInStoredDirectory();
    void lists_showFilesDirectoriesTypesAndDrives();
    void typing_narrowsFileListAtOnce();
    void typeList_setsPattern();
    void fileList_doubleClickPicksThatFile();
    void dirList_entersAndLeavesDirectories();
    void dirList_bracketedNameIsEnteredWhole();
    void dirList_rootHasNoParentEntry();
    void driveList_keepsCurrentDriveAndJumpsToOthers();
    void ok_withEmptyFileListStaysOpen();
    void ok_remembersDirectoryForNextOpening();
    void cancel_writesNothing();
    void missingStoredDirectory_givesEmptyLists();

  private:
    QString Dir(const char* sub = "") const {
        return m_tmp.path() + QLatin1Char('/') + QString::fromLatin1(sub);
    }
    QTemporaryDir m_tmp;
};

// root: a.txt b.TXT c.doc noext .hidden.txt, sub1/ (d.txt, deep/), sub2/,
// [br]/ (e.txt), .hiddendir/
void FileSelDialogTest::initTestCase() {
    QVERIFY(m_tmp.isValid());
    QDir root(m_tmp.path());
    for (const char* dir : {"sub1", "sub1/deep", "sub2", "[br]", ".hiddendir"})
        QVERIFY(root.mkpath(QString::fromLatin1(dir)));
    for (const char* file :
         {"a.txt", "b.TXT", "c.doc", "noext", ".hidden.txt", "sub1/d.txt", "[br]/e.txt"})
        Touch(root.filePath(QString::fromLatin1(file)));
}

void FileSelDialogTest::wildcard_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");
    QTest::newRow("extension") << "a.txt"
                               << "*.txt" << true;
    QTest::newRow("case ignored") << "A.TXT"
                                  << "*.txt" << true;
    QTest::newRow("other extension") << "a.doc"
                                     << "*.txt" << false;
    QTest::newRow("star dot star takes names without a point") << "noext"
                                                               << "*.*" << true;
    QTest::newRow("name dot star takes the bare name") << "foo"
                                                       << "foo.*" << true;
    QTest::newRow("name dot star takes extensions") << "foo.c"
                                                    << "foo.*" << true;
    QTest::newRow("name dot star not a longer name") << "food"
                                                     << "foo.*" << false;
    QTest::newRow("question mark one character") << "ab"
                                                 << "a?" << true;
    QTest::newRow("question mark not zero") << "a"
                                            << "a?" << false;
    QTest::newRow("backtracking star") << "abcabd"
                                       << "*abd" << true;
    QTest::newRow("brackets are plain") << "[x].txt"
                                        << "[x].txt" << true;
    QTest::newRow("brackets are no set") << "x.txt"
                                         << "[x].txt" << false;
    QTest::newRow("empty pattern") << "a"
                                   << "" << false;
    QTest::newRow("exact name") << "readme"
                                << "README" << true;
}

void FileSelDialogTest::wildcard() {
    QFETCH(QString, name);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(MatchesWildcard(name, pattern), matches);
}

void FileSelDialogTest::opening_firstRunStartsInCurrentDirectory() {
    CMemorySettingsStore settings;
    QString old = QDir::currentPath();
    QDir::setCurrent(Dir("sub1"));
    CFileSelDialog dialog(settings);
    QDir::setCurrent(old);
    QCOMPARE(dialog.Dir(), Dir("sub1/"));
    QCOMPARE(dialog.DirEdit()->text(), Dir("sub1/"));
    QCOMPARE(dialog.FileEdit()->text(), QStringLiteral("*.*"));
    QCOMPARE(Items(dialog.FileList()), QStringList{"d.txt"});
}

void FileSelDialogTest::opening_startsInStoredDirectory() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir("[br]")).constData());
    CFileSelDialog dialog(settings);
    // A stored directory without its separator gets one.
    QCOMPARE(dialog.Dir(), Dir("[br]/"));
    QCOMPARE(Items(dialog.FileList()), QStringList{"e.txt"});
}

void FileSelDialogTest::lists_showFilesDirectoriesTypesAndDrives() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    QCOMPARE(Items(dialog.FileList()), (QStringList{"a.txt", "b.TXT", "c.doc", "noext"}));
    QCOMPARE(Items(dialog.DirList()), (QStringList{"[..]", "[[br]]", "[sub1]", "[sub2]"}));
    QCOMPARE(Items(dialog.TypeList()), (QStringList{"*.*", "*.doc", "*.man", "*.txt"}));
    QCOMPARE(Items(dialog.DriveList()), (QStringList{"[-/-]", "[-~-]"}));
    QVERIFY(dialog.DirEdit()->isReadOnly());
}

void FileSelDialogTest::typing_narrowsFileListAtOnce() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    dialog.FileEdit()->clear();
    QTest::keyClicks(dialog.FileEdit(), QStringLiteral("*.t"));
    QVERIFY(Items(dialog.FileList()).isEmpty());
    QTest::keyClicks(dialog.FileEdit(), QStringLiteral("xt"));
    QCOMPARE(Items(dialog.FileList()), (QStringList{"a.txt", "b.TXT"}));
    QCOMPARE(dialog.File(), QStringLiteral("*.txt"));
}

void FileSelDialogTest::typeList_setsPattern() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(dialog.TypeList(), QStringLiteral("*.doc"));
    QCOMPARE(dialog.FileEdit()->text(), QStringLiteral("*.doc"));
    QCOMPARE(Items(dialog.FileList()), QStringList{"c.doc"});
}

void FileSelDialogTest::fileList_doubleClickPicksThatFile() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(dialog.FileList(), QStringLiteral("b.TXT"));
    // The name keeps its case; the list shows just that file.
    QCOMPARE(dialog.FileEdit()->text(), QStringLiteral("b.TXT"));
    QCOMPARE(Items(dialog.FileList()), QStringList{"b.TXT"});
}

void FileSelDialogTest::dirList_entersAndLeavesDirectories() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(dialog.TypeList(), QStringLiteral("*.txt"));
    DoubleClick(dialog.DirList(), QStringLiteral("[sub1]"));
    QCOMPARE(dialog.DirEdit()->text(), Dir("sub1/"));
    QCOMPARE(Items(dialog.DirList()), (QStringList{"[..]", "[deep]"}));
    // The pattern stays and applies to the new directory.
    QCOMPARE(Items(dialog.FileList()), QStringList{"d.txt"});
    DoubleClick(dialog.DirList(), QStringLiteral("[deep]"));
    QCOMPARE(dialog.DirEdit()->text(), Dir("sub1/deep/"));
    DoubleClick(dialog.DirList(), QStringLiteral("[..]"));
    DoubleClick(dialog.DirList(), QStringLiteral("[..]"));
    QCOMPARE(dialog.DirEdit()->text(), Dir());
    QCOMPARE(Items(dialog.FileList()), (QStringList{"a.txt", "b.TXT"}));
}

void FileSelDialogTest::dirList_bracketedNameIsEnteredWhole() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    CFileSelDialog dialog(settings);
    dialog.show();
    DoubleClick(dialog.DirList(), QStringLiteral("[[br]]"));
    QCOMPARE(dialog.Dir(), Dir("[br]/"));
    QCOMPARE(Items(dialog.FileList()), QStringList{"e.txt"});
}

void FileSelDialogTest::dirList_rootHasNoParentEntry() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", "/");
    CFileSelDialog dialog(settings);
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
    QVERIFY(!Items(dialog.DirList()).contains(QStringLiteral("[..]")));
}

void FileSelDialogTest::driveList_keepsCurrentDriveAndJumpsToOthers() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir("sub1/deep")).constData());
    QList<CDriveRoot> roots = {{QLatin1Char('a'), Dir("sub1/")}, {QLatin1Char('b'), Dir()}};
    CFileSelDialog dialog(settings, nullptr, roots);
    dialog.show();
    QCOMPARE(Items(dialog.DriveList()), (QStringList{"[-a-]", "[-b-]"}));
    // sub1/deep lies on a (the closest root holding it): picking a keeps it.
    DoubleClick(dialog.DriveList(), QStringLiteral("[-a-]"));
    QCOMPARE(dialog.Dir(), Dir("sub1/deep/"));
    DoubleClick(dialog.DriveList(), QStringLiteral("[-b-]"));
    QCOMPARE(dialog.Dir(), Dir());
    QCOMPARE(Items(dialog.FileList()), (QStringList{"a.txt", "b.TXT", "c.doc", "noext"}));
    DoubleClick(dialog.DirList(), QStringLiteral("[sub2]"));
    DoubleClick(dialog.DriveList(), QStringLiteral("[-b-]"));
    QCOMPARE(dialog.Dir(), Dir("sub2/"));
    DoubleClick(dialog.DriveList(), QStringLiteral("[-a-]"));
    QCOMPARE(dialog.Dir(), Dir("sub1/"));
}

void FileSelDialogTest::ok_withEmptyFileListStaysOpen() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir("sub2")).constData());
    int writes = settings.WriteCount();
    CFileSelDialog dialog(settings);
    dialog.show();
    QVERIFY(Items(dialog.FileList()).isEmpty());
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.WriteCount(), writes);
}

void FileSelDialogTest::ok_remembersDirectoryForNextOpening() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir()).constData());
    {
        CFileSelDialog dialog(settings);
        dialog.show();
        DoubleClick(dialog.DirList(), QStringLiteral("[sub1]"));
        dialog.FileEdit()->setText(QStringLiteral("*.txt"));
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
    CMemorySettingsStore settings;
    QString old = QDir::currentPath();
    QDir::setCurrent(Dir());
    CFileSelDialog dialog(settings);
    QDir::setCurrent(old);
    dialog.show();
    DoubleClick(dialog.DirList(), QStringLiteral("[sub1]"));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!settings.Has("File", "Dir"));
}

void FileSelDialogTest::missingStoredDirectory_givesEmptyLists() {
    CMemorySettingsStore settings;
    settings.WriteSettingString("File", "Dir", QFile::encodeName(Dir("gone/")).constData());
    QList<CDriveRoot> roots = {{QLatin1Char('/'), QStringLiteral("/")}, {QLatin1Char('t'), Dir()}};
    CFileSelDialog dialog(settings, nullptr, roots);
    dialog.show();
    QVERIFY(Items(dialog.FileList()).isEmpty());
    QVERIFY(Items(dialog.DirList()).isEmpty());
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    // Another drive still leads out.
    DoubleClick(dialog.DriveList(), QStringLiteral("[-t-]"));
    QCOMPARE(dialog.Dir(), Dir("gone/"));
    DoubleClick(dialog.DriveList(), QStringLiteral("[-/-]"));
    QCOMPARE(dialog.Dir(), QStringLiteral("/"));
}

QTEST_MAIN(FileSelDialogTest)
#include "file_sel_dialog_test.moc"
