// The output commands as a result window carries them out: their enabled
// states, Save and Save as through the window (recent files included),
// Print of the window's report, Copy with the window's
// decoding, and the save question when a modified window closes.
#include "find_widget.h"
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMdiArea>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kOutputCommands[] = {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT,
                                   ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY};

// Shift-JIS for the two characters of "Japan".
const char kNihonSjis[] = "\x93\xfa\x96\x7b";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ViewOutputTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void commands_enabledOnlyWithLines();
    void save_writesReportRetitlesAndRecordsRecentFile();
    void recentFiles_neverMoreThanFourAfterSaves();
    void recentFile_opensShowingItsLinesTitledWithItsName();
    void print_writesThePagesOfTheWindowsReport();
    void copy_decodesAsTheWindowDoes();
    void tab_showsAsOneSpaceOnScreenAndPaper();
    void close_modifiedAsksAndCancelKeepsWindow();

  private:
    CResultDocument* Doc() const { return m_frame->ActiveChild()->GetDocument(); }
    void FillReport(const std::vector<std::string>& lines);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void ViewOutputTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CMemorySettings>();
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
}

void ViewOutputTest::cleanup() {
    m_app.reset();
    m_settings.reset();
    m_dir.reset();
}

// As a count leaves it: lines with CR LF, the document modified.
void ViewOutputTest::FillReport(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        Doc()->Doc().m_listResult.AppendLine(line + "\r\n");
    Doc()->Doc().SetModifiedFlag(true);
    Doc()->UpdateAllViews();
    m_frame->UpdateCommandUI();
}

void ViewOutputTest::commands_enabledOnlyWithLines() {
    for (int id : kOutputCommands)
        QVERIFY2(!m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
    FillReport({"a"});
    for (int id : kOutputCommands)
        QVERIFY2(m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
    m_frame->RouteCommand(ID_DELETE_RESULT);
    for (int id : kOutputCommands)
        QVERIFY2(!m_frame->Action(id)->isEnabled(), qPrintable(QString::number(id)));
}

void ViewOutputTest::save_writesReportRetitlesAndRecordsRecentFile() {
    FillReport({"=====[ /X/*.TXT ]=====", "         1 : word"});
    const QString path = m_dir->filePath(QStringLiteral("saved.txt"));
    QStringList suggested;
    COutputServices services = OutputServices();
    services.saveFileName = [&](QWidget*, const QString& name) {
        suggested.append(name);
        return path;
    };
    CScopedOutputServices scoped(services);

    m_frame->RouteCommand(ID_FILE_SAVE);
    QCOMPARE(suggested, QStringList{QStringLiteral("Vorlan1.txt")});
    QCOMPARE(ReadAll(path), QByteArray("=====[ /X/*.TXT ]=====\r\n         1 : word\r\n"));
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("saved.txt"));
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(m_app->RecentFiles().Files(), QStringList{path});
    // Save again: no dialog, same file.
    m_frame->RouteCommand(ID_FILE_SAVE);
    QCOMPARE(suggested.size(), 1);
}

void ViewOutputTest::recentFiles_neverMoreThanFourAfterSaves() {
    FillReport({"a"});
    QStringList paths;
    COutputServices services = OutputServices();
    services.saveFileName = [&](QWidget*, const QString&) {
        paths.append(m_dir->filePath(QStringLiteral("r%1.txt").arg(paths.size() + 1)));
        return paths.last();
    };
    CScopedOutputServices scoped(services);
    for (int i = 0; i < 6; ++i)
        m_frame->RouteCommand(ID_FILE_SAVE_AS);
    const QStringList expected = {paths[5], paths[4], paths[3], paths[2]};
    QCOMPARE(m_app->RecentFiles().Files(), expected);
    m_app->ExitInstance();
    QCOMPARE(QString::fromStdString(m_settings->GetSettingString("Recent File List", "File1", "")),
             paths[5]);
    QVERIFY(!m_settings->Find("Recent File List", "File5"));
}

void ViewOutputTest::recentFile_opensShowingItsLinesTitledWithItsName() {
    FillReport({"a"});
    const QString path = m_dir->filePath(QStringLiteral("kept.txt"));
    COutputServices services = OutputServices();
    services.saveFileName = [&](QWidget*, const QString&) { return path; };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_SAVE_AS);
    m_frame->RouteCommand(ID_FILE_CLOSE);
    QTRY_COMPARE(m_frame->MdiArea()->subWindowList().size(), 0);

    m_frame->RouteCommand(ID_FILE_MRU_FILE1);
    QVERIFY(m_frame->ActiveChild());
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("kept.txt"));
    QCOMPARE(Doc()->LineCount(), 1);
    QVERIFY(m_frame->Action(ID_FILE_SAVE)->isEnabled());
    QCOMPARE(ReadAll(path), QByteArray("a\r\n"));
}

void ViewOutputTest::print_writesThePagesOfTheWindowsReport() {
    std::vector<std::string> lines;
    for (int i = 1; i <= 100; ++i)
        lines.push_back("         " + std::to_string(i) + " : " + kNihonSjis);
    FillReport(lines);
    const QString pdf = m_dir->filePath(QStringLiteral("window.pdf"));
    int offered = 0;
    COutputServices services = OutputServices();
    services.printDialog = [&](QWidget*, QPrinter& printer, int maxPage) {
        offered = maxPage;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_PRINT);
    QCOMPARE(offered, 10);
    const QByteArray bytes = ReadAll(pdf);
    QCOMPARE(QString::fromLatin1(bytes).count(
                 QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))),
             3);
    if (const QString keep = qEnvironmentVariable("VORLAN_SCREENSHOT_DIR"); !keep.isEmpty())
        QFile::copy(pdf, keep + QStringLiteral("/window_print.pdf"));
    // Printing leaves the report and its state alone.
    QCOMPARE(Doc()->LineCount(), 100);
    QVERIFY(Doc()->IsModified());
}

void ViewOutputTest::copy_decodesAsTheWindowDoes() {
    FillReport({std::string("         2 : ") + kNihonSjis});
    QStringList messages;
    COutputServices services = OutputServices();
    services.message = [&](QWidget*, const QString& text) { messages.append(text); };
    services.execDialog = [](QDialog& dialog) {
        dialog.show();
        FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_WHOLE))->click();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_EDIT_COPY);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("         2 : ") +
                                                       QString::fromUtf8("\u65e5\u672c") +
                                                       QStringLiteral("\r\n"));
    QCOMPARE(messages, QStringList{QStringLiteral("Completed!(^_^)")});
}

// A word may hold a tab between two digits: the window and the page show it
// as one space, not as a jump to a tab stop.
void ViewOutputTest::tab_showsAsOneSpaceOnScreenAndPaper() {
    const auto looks = [&](const char* word) {
        Doc()->Doc().m_listResult.RemoveAllLines();
        FillReport({std::string("         1 : ") + word});
        QImage paper;
        COutputServices services = OutputServices();
        services.execDialog = [&](QDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            preview->updatePreview();
            dialog.show();
            paper = preview->grab().toImage();
            return 0;
        };
        CScopedOutputServices scoped(services);
        m_frame->RouteCommand(ID_FILE_PRINT_PREVIEW);
        return std::pair(m_frame->ActiveView()->viewport()->grab().toImage(), paper);
    };
    const auto spaced = looks("12 34");
    const auto tabbed = looks("12\t34");
    QCOMPARE(tabbed.first, spaced.first);
    QCOMPARE(tabbed.second, spaced.second);
    QVERIFY(!spaced.second.isNull());
}

void ViewOutputTest::close_modifiedAsksAndCancelKeepsWindow() {
    FillReport({"a"});
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    COutputServices services = OutputServices();
    services.question = [&](QWidget*, const QString& text) {
        questions.append(text);
        return answer;
    };
    CScopedOutputServices scoped(services);
    m_frame->RouteCommand(ID_FILE_CLOSE);
    QCOMPARE(questions, QStringList{QStringLiteral("Save changes to Vorlan1?")});
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);
    answer = QMessageBox::No;
    m_frame->RouteCommand(ID_FILE_CLOSE);
    QCOMPARE(questions.size(), 2);
    QTRY_COMPARE(m_frame->MdiArea()->subWindowList().size(), 0);
}

QTEST_MAIN(ViewOutputTest)
#include "view_output_test.moc"
