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

class WindowPlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindow_placedFirstThenReopensAsClosed();
    void resultWindows_onlyOneMaximisedOthersCascaded();
    void closeKeys_closeTheActiveWindow();

  private:
    CMemorySettings m_settings;
};

void WindowPlacementTest::mainWindow_placedFirstThenReopensAsClosed() {
    const QRect placed(90, 70, 610, 430);
    for (bool maximised : {false, true}) {
        CVorlanApp app(m_settings);
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        if (!maximised) { // the first start
            const QRect available = frame->screen()->availableGeometry();
            QCOMPARE(frame->geometry().size(), available.size() * 2 / 3);
            QVERIFY((frame->geometry().center() - available.center()).manhattanLength() <= 2);
        }
        frame->setGeometry(placed);
        if (maximised)
            frame->showMaximized();
        frame->close();
        app.ExitInstance();

        CVorlanApp next(m_settings);
        QVERIFY(next.InitInstance());
        QCOMPARE(next.MainFrame()->isMaximized(), maximised);
        QCOMPARE(next.MainFrame()->normalGeometry(), placed);
    }
}

// New, New Window and Open (the same path) all follow the rule.
void WindowPlacementTest::resultWindows_onlyOneMaximisedOthersCascaded() {
    CVorlanApp app(m_settings);
    QVERIFY(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    QVERIFY(frame->ActiveChild()->isMaximized());
    QCOMPARE(frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan1"));
    const QSize area = frame->MdiArea()->viewport()->size();
    QPoint last;
    for (int command : {ID_FILE_NEW, ID_WINDOW_NEW}) {
        frame->RouteCommand(command);
        const QRect rect = frame->ActiveChild()->geometry();
        QVERIFY(!frame->ActiveChild()->isMaximized());
        QVERIFY(rect.width() >= area.width() * 3 / 4 && rect.width() < area.width());
        QVERIFY(rect.height() >= area.height() * 3 / 4 && rect.height() < area.height());
        QVERIFY(rect.topLeft() != last);
        last = rect.topLeft();
    }
    frame->ActiveChild()->showMaximized();
    QCOMPARE(frame->windowTitle(), QStringLiteral("Word Frequency Counter VORLAN - Vorlan2:2"));
}

// The windows' own menus must not hold the keys too: ambiguous, they would
// do nothing.
void WindowPlacementTest::closeKeys_closeTheActiveWindow() {
    CVorlanApp app(m_settings);
    QVERIFY(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    frame->RouteCommand(ID_FILE_NEW);
    frame->RouteCommand(ID_FILE_NEW);
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);
}

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
