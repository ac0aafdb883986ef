// The concordance window in the running program: opened from a word line of
// a report, filled with that word's hits over the count's files, copied as
// the command line's TSV, and honest about files that changed meanwhile.
#include "count_test_helpers.h"
#include "find_widget.h"
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/command_ids.h"
#include "ui/concordance_file_view.h"
#include "ui/concordance_window.h"
#include "ui/file_sel_dialog.h"
#include "ui/main_frame.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T> T* TopLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return qobject_cast<T*>(widget);
    }
    return nullptr;
}

} // namespace

class ConcordanceWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void doubleClickOnWordLine_opensTheFilledWindow();
    void changedFile_isToldInTheWindowAndTheFileView();
    void stop_whileTheTableFills();

  private:
    void Count();
    int LineOf(const char* word) const;
    CVorlanScrollView* View() const { return m_frame->ActiveView(); }

    QTemporaryDir m_dir;
    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
    CMainFrame* m_frame = nullptr;
};

void ConcordanceWindowTest::init() {
    QVERIFY(m_dir.isValid());
    WriteFile(m_dir.filePath("a.txt"), "The LORD said\nthe lord is good\n");
    WriteFile(m_dir.filePath("b.txt"), "LORD\n");
    m_settings = std::make_unique<CMemorySettings>();
    m_settings->WriteSettingString("File", "Dir",
                                   QFile::encodeName(m_dir.path() + "/").constData());
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    QVERIFY(m_app->InitInstance());
    m_frame = m_app->MainFrame();
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
}

void ConcordanceWindowTest::cleanup() {
    // Deleting a window deletes the windows it owns, which the list still
    // names: guard every entry.
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows.append(widget);
    for (const QPointer<QWidget>& widget : windows) {
        if (widget && widget->objectName() == QStringLiteral("concordanceWindow"))
            delete widget.data();
    }
    for (CVorlanScrollView* view : m_frame->Views())
        view->GetDocument()->Doc().SetModifiedFlag(false);
    m_app.reset();
    m_settings.reset();
}

void ConcordanceWindowTest::Count() {
    WhenReady(
        m_frame, [] { return qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget()); },
        [] {
            auto* dialog = qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget());
            FindWidget<QLineEdit>(dialog, QStringLiteral("fileName"))->setText("*.txt");
            dialog->accept();
        });
    View()->OnCountFrequency();
    QVERIFY(View()->GetDocument()->LineCount() > 0);
}

int ConcordanceWindowTest::LineOf(const char* word) const {
    int line = 0;
    for (auto* node = View()->GetDocument()->Report().m_pHead; node; node = node->m_pNextNode) {
        if (node->IsWordLine() && node->Word() == word)
            return line;
        ++line;
    }
    return -1;
}

void ConcordanceWindowTest::doubleClickOnWordLine_opensTheFilledWindow() {
    Count();
    View()->viewport()->repaint();
    const int line = LineOf("LORD");
    QVERIFY(line >= 0);
    const int pitch = View()->Metrics().height + 2;
    QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, QPoint(10, line * pitch + 3));
    auto* window = TopLevel<CConcordanceWindow>(QStringLiteral("concordanceWindow"));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Concordance of LORD: 3 hits"));
    // It opens over the middle of the main window, wholly on the screen.
    const QRect area = window->screen()->availableGeometry();
    QVERIFY(area.contains(window->geometry()));
    QVERIFY((window->geometry().center() - m_frame->geometry().center()).manhattanLength() < 40);
    QVERIFY(!FindWidget<QPushButton>(window, QStringLiteral("concordanceStop"))->isEnabled());
    QVERIFY(!FindWidget<QLabel>(window, QStringLiteral("concordanceNote"))->isVisible());
    const QString a = m_dir.filePath("a.txt"), b = m_dir.filePath("b.txt");
    FindWidget<QPushButton>(window, QStringLiteral("concordanceCopy"))->click();
    QCOMPARE(QApplication::clipboard()->text(),
             "file\tline\tcolumn\tleft\thit\tright\n" + a + "\t1\t5\tThe\tLORD\tsaid\n" + a +
                 "\t2\t5\tthe\tlord\tis good\n" + b + "\t1\t1\t\tLORD\t\n");
    window->resize(700, 260);
    SaveScreenshot(window, "kwic_window");
    QCOMPARE(CConcordanceWindow::TitleFor("LORD", 7830),
             QStringLiteral("Concordance of LORD: 7,830 hits"));
}

void ConcordanceWindowTest::changedFile_isToldInTheWindowAndTheFileView() {
    Count();
    View()->viewport()->repaint();
    WriteFile(m_dir.filePath("a.txt"), "new first line\nthe LORD\nLORD LORD\n");
    const int pitch = View()->Metrics().height + 2;
    View()->SetMenuPoint(QPoint(10, LineOf("LORD") * pitch + 3));
    View()->DoCommand(ID_CONCORDANCE);
    auto* window = TopLevel<CConcordanceWindow>(QStringLiteral("concordanceWindow"));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Concordance of LORD: 4 hits"));
    auto* note = FindWidget<QLabel>(window, QStringLiteral("concordanceNote"));
    QVERIFY(note->text().contains("changed since the count"));

    // The file changes again: its view says the hit is gone from its line.
    auto* table = FindWidget<QTableView>(window, QStringLiteral("concordanceTable"));
    WriteFile(m_dir.filePath("a.txt"), "gone\n");
    emit table->doubleClicked(table->model()->index(0, 0));
    auto* view = window->findChild<CConcordanceFileView*>(QStringLiteral("concordanceFileView"));
    QVERIFY(view);
    QVERIFY(FindWidget<QLabel>(view, QStringLiteral("concordanceFileNote"))
                ->text()
                .contains("no longer holds the hit"));
}

// The search lets events through as a count does: Stop reaches it while the
// table fills, and what was found until then stays.
void ConcordanceWindowTest::stop_whileTheTableFills() {
    WriteLargeFile(m_dir.filePath("a.txt"), 300000);
    Count();
    View()->viewport()->repaint();
    const int pitch = View()->Metrics().height + 2;
    QPointer<CConcordanceWindow> seen;
    WhenReady(
        m_frame,
        [&] {
            seen = TopLevel<CConcordanceWindow>(QStringLiteral("concordanceWindow"));
            return seen && seen->IsSearching() &&
                   FindWidget<QTableView>(seen, QStringLiteral("concordanceTable"))
                           ->model()
                           ->rowCount() > 0;
        },
        [&] { FindWidget<QPushButton>(seen, QStringLiteral("concordanceStop"))->click(); });
    View()->SetMenuPoint(QPoint(10, LineOf("alpha") * pitch + 3));
    View()->DoCommand(ID_CONCORDANCE);
    QVERIFY(seen);
    const int rows =
        FindWidget<QTableView>(seen, QStringLiteral("concordanceTable"))->model()->rowCount();
    QVERIFY(rows > 0 && rows < 300000);
    QVERIFY(
        FindWidget<QLabel>(seen, QStringLiteral("concordanceNote"))->text().startsWith("Stopped"));
}

QTEST_MAIN(ConcordanceWindowTest)
#include "concordance_window_test.moc"
