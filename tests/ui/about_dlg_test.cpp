// The About box shows the text library's language and version as the
// library reports them each time the box opens.
#include "find_widget.h"
#include "screenshot.h"
#include "ui/about_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstring>

namespace {

QLabel* VersionLine(const CAboutDlg& dialog) {
    return FindWidget<QLabel>(dialog, QStringLiteral("version"));
}
QLabel* LanguageLine(const CAboutDlg& dialog) {
    return FindWidget<QLabel>(dialog, QStringLiteral("language"));
}

// A library edition whose answers the tests set.
struct FakeLibrary {
    static inline int type = 0;
    static inline int version = 5;
    static inline const char* language = "";
    static inline int languageCalls = 0;

    static int ExType() { return type; }
    static char* Language(char* buffer) {
        ++languageCalls;
        std::strcpy(buffer, language);
        return buffer;
    }
    static int Version() { return version; }
    static CLibraryIdentity Identity() { return {&ExType, &Language, &Version}; }
};

QStringList LabelTexts(QWidget* widget) {
    QStringList texts;
    for (QLabel* label : widget->findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

} // namespace

class AboutDlgTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void versionLine_data();
    void versionLine();
    void languageLine_data();
    void languageLine();
    void languageLine_japaneseDoesNotAskForTheName();
    void dialog_showsLinkedLibraryEdition();
    void dialog_asksTheLibraryAtEveryOpening();
    void dialog_texts();
};

void AboutDlgTest::init() {
    FakeLibrary::type = 0;
    FakeLibrary::version = 5;
    FakeLibrary::language = "";
    FakeLibrary::languageCalls = 0;
}

void AboutDlgTest::versionLine_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("5") << 5 << "Version of DLL: 0.05";
    QTest::newRow("106") << 106 << "Version of DLL: 1.06";
    QTest::newRow("0") << 0 << "Version of DLL: 0.00";
    QTest::newRow("50") << 50 << "Version of DLL: 0.50";
    QTest::newRow("999") << 999 << "Version of DLL: 9.99";
    QTest::newRow("four digits keep them all") << 1234 << "Version of DLL: 12.34";
    QTest::newRow("negative keeps its sign") << -5 << "Version of DLL: -0.05";
    QTest::newRow("smallest int") << INT_MIN << "Version of DLL: -21474836.48";
}

void AboutDlgTest::versionLine() {
    QFETCH(int, version);
    QFETCH(QString, text);
    QCOMPARE(FormatDllVersion(version), text);
}

void AboutDlgTest::languageLine_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("English") << 0 << "ignored"
                             << "Language: English";
    QTest::newRow("Japanese") << 1 << "ignored"
                              << "Language: Japanese";
    QTest::newRow("named, empty") << 2 << ""
                                  << "Language: ";
    QTest::newRow("named") << 7 << "Deutsch"
                           << "Language: Deutsch";
    QTest::newRow("negative type is named") << -1 << "Esperanto"
                                            << "Language: Esperanto";
}

void AboutDlgTest::languageLine() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QByteArray bytes = name.toLatin1();
    FakeLibrary::type = type;
    FakeLibrary::language = bytes.constData();
    QCOMPARE(FormatLanguage(FakeLibrary::Identity()), text);
}

void AboutDlgTest::languageLine_japaneseDoesNotAskForTheName() {
    FakeLibrary::type = 1;
    FormatLanguage(FakeLibrary::Identity());
    FakeLibrary::type = 0;
    FormatLanguage(FakeLibrary::Identity());
    QCOMPARE(FakeLibrary::languageCalls, 0);
}

void AboutDlgTest::dialog_showsLinkedLibraryEdition() {
    CAboutDlg dialog;
    dialog.show();
    QCOMPARE(LanguageLine(dialog)->text(), QStringLiteral("Language: English"));
    QCOMPARE(VersionLine(dialog)->text(), QStringLiteral("Version of DLL: 0.05"));
    SaveScreenshot(&dialog, "about");
}

void AboutDlgTest::dialog_asksTheLibraryAtEveryOpening() {
    CAboutDlg dialog(nullptr, FakeLibrary::Identity());
    dialog.show();
    QCOMPARE(VersionLine(dialog)->text(), QStringLiteral("Version of DLL: 0.05"));
    dialog.hide();
    FakeLibrary::version = 106;
    FakeLibrary::type = 1;
    dialog.show();
    QCOMPARE(VersionLine(dialog)->text(), QStringLiteral("Version of DLL: 1.06"));
    QCOMPARE(LanguageLine(dialog)->text(), QStringLiteral("Language: Japanese"));
}

void AboutDlgTest::dialog_texts() {
    CAboutDlg dialog(nullptr, FakeLibrary::Identity());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("VORLAN for Linux"));
    QStringList texts = LabelTexts(&dialog);
    QVERIFY(texts.contains(QStringLiteral("Vorlan ver.1.06a")));
    QVERIFY(texts.contains(
        QStringLiteral("This program counts the frequency of each word in text file(s).")));
    auto* group = dialog.findChild<QGroupBox*>();
    QVERIFY(group);
    QCOMPARE(group->title(), QStringLiteral("About libtesmo"));
    // Both library lines sit in the group, version above language.
    QCOMPARE(VersionLine(dialog)->parentWidget(), group);
    QCOMPARE(LanguageLine(dialog)->parentWidget(), group);
    QVERIFY(VersionLine(dialog)->y() < LanguageLine(dialog)->y());
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(ok->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(AboutDlgTest)
#include "about_dlg_test.moc"
