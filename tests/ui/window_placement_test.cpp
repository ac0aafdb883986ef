// Where the windows open: the main window at two thirds of the screen the
// first time and as it was closed after that; the only result window
// maximised, any other over most of the frame; a readable caption while
// maximised; Ctrl+W and Ctrl+F4 close the active result window.
#include "settings/memory_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/vorlan_app.h"

#include <QMdiArea>
#include <QScreen>
#include <QTest>
#include <memory>

class WindowPlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void firstStart_twoThirdsOfTheScreenCentred();
    void restart_reopensAsClosed_data();
    void restart_reopensAsClosed();
    void resultWindows_onlyOneMaximisedOthersCascaded();
    void caption_maximisedWindowIsNamedOnce();
    void closeKeys_closeTheActiveWindow_data();
    void closeKeys_closeTheActiveWindow();

  private:
    CMainFrame* Start();

    std::unique_ptr<CMemorySettings> m_settings;
    std::unique_ptr<CVorlanApp> m_app;
};

void WindowPlacementTest::init() {
    m_settings = std::make_unique<CMemorySettings>();
}

void WindowPlacementTest::cleanup() {
    m_app.reset();
    m_settings.reset();
}

CMainFrame* WindowPlacementTest::Start() {
    m_app = std::make_unique<CVorlanApp>(*m_settings);
    if (!m_app->InitInstance())
        return nullptr;
    return m_app->MainFrame();
}

void WindowPlacementTest::firstStart_twoThirdsOfTheScreenCentred() {
    CMainFrame* frame = Start();
    QVERIFY(frame);
    const QRect available = frame->screen()->availableGeometry();
    QCOMPARE(frame->geometry().size(), available.size() * 2 / 3);
    QVERIFY((frame->geometry().center() - available.center()).manhattanLength() <= 2);
    QVERIFY(!frame->isMaximized());
}

void WindowPlacementTest::restart_reopensAsClosed_data() {
    QTest::addColumn<bool>("maximised");
    QTest::newRow("normal") << false;
    QTest::newRow("maximised") << true;
}

void WindowPlacementTest::restart_reopensAsClosed() {
    QFETCH(bool, maximised);
    const QRect placed(90, 70, 610, 430);
    CMainFrame* frame = Start();
    frame->setGeometry(placed);
    if (maximised)
        frame->showMaximized();
    frame->close();
    m_app->ExitInstance();

    frame = Start();
    QCOMPARE(frame->isMaximized(), maximised);
    QCOMPARE(frame->normalGeometry(), placed);
}

void WindowPlacementTest::resultWindows_onlyOneMaximisedOthersCascaded() {
    CMainFrame* frame = Start();
    QVERIFY(frame->ActiveChild()->isMaximized());
    const QSize area = frame->MdiArea()->viewport()->size();
    QRect last = frame->ActiveChild()->geometry();
    for (int command : {ID_FILE_NEW, ID_WINDOW_NEW}) {
        frame->RouteCommand(command);
        CChildFrame* child = frame->ActiveChild();
        QVERIFY(!child->isMaximized());
        QVERIFY(child->width() >= area.width() * 3 / 4 && child->width() < area.width());
        QVERIFY(child->height() >= area.height() * 3 / 4 && child->height() < area.height());
        QVERIFY(child->geometry().topLeft() != last.topLeft());
        last = child->geometry();
    }
    // With every window closed, the next one is again the only one.
    frame->MdiArea()->closeAllSubWindows();
    frame->RouteCommand(ID_FILE_NEW);
    QVERIFY(frame->ActiveChild()->isMaximized());
}

void WindowPlacementTest::caption_maximisedWindowIsNamedOnce() {
    CMainFrame* frame = Start();
    QVERIFY(frame->ActiveChild()->isMaximized());
    QCOMPARE(frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan1"));
    frame->RouteCommand(ID_FILE_NEW);
    frame->ActiveChild()->showMaximized();
    QCOMPARE(frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan2"));
}

void WindowPlacementTest::closeKeys_closeTheActiveWindow_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("ctrl+w") << int(Qt::Key_W);
    QTest::newRow("ctrl+f4") << int(Qt::Key_F4);
}

void WindowPlacementTest::closeKeys_closeTheActiveWindow() {
    QFETCH(int, key);
    CMainFrame* frame = Start();
    frame->RouteCommand(ID_FILE_NEW);
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key(key), Qt::ControlModifier);
    QTRY_COMPARE(frame->MdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame->ActiveChild()->windowTitle(), QStringLiteral("Vorlan1"));
}

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
