// How the result view scrolls: an arrow key moves one line or one
// character, a page key the window less one line, a wheel notch the
// desktop's number of lines, Home and End to the first and last line; and
// the extent across is the widest line as drawn, found as the user scrolls.
#include "font_of_height.h"
#include "settings/memory_settings.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>

class ViewScrollingTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void keys_data();
    void keys();
    void wheel_notchScrollsTheDesktopsLines();
    void extent_coversALongLineOnceItHasBeenSeen();

  private:
    void MakeView(const QStringList& lines, QSize size);
    void Paint() { m_view->viewport()->grab(); }

    std::unique_ptr<CMemorySettings> m_settings;
    std::shared_ptr<CResultDocument> m_doc;
    std::unique_ptr<CVorlanScrollView> m_view;
};

void ViewScrollingTest::init() {
    m_settings = std::make_unique<CMemorySettings>();
    m_doc = std::make_shared<CResultDocument>(*m_settings, QStringLiteral("Vorlan1"));
}

void ViewScrollingTest::cleanup() {
    m_view.reset();
    m_doc.reset();
    m_settings.reset();
}

// A 13-pixel font: 15 pixels a line.
void ViewScrollingTest::MakeView(const QStringList& lines, QSize size) {
    const LogFont font13 = FontOfHeight(13);
    if (font13.lfHeight == 0)
        QSKIP("no font of this system is 13 pixels high");
    for (const QString& line : lines)
        m_doc->Doc().m_listResult.AppendLine(line.toStdString() + "\r\n");
    m_view = std::make_unique<CVorlanScrollView>(m_doc);
    m_view->resize(size);
    m_view->show();
    m_view->SetLogFont(font13);
    m_doc->UpdateAllViews();
    Paint();
}

// From the middle of 1,000 lines, 40 characters wide, in a window of 10.5
// lines; "max" stands for the end of the report, W for one character.
void ViewScrollingTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("down");   // pixels, or -1 for the last line
    QTest::addColumn<int>("across"); // characters

    QTest::newRow("down arrow") << int(Qt::Key_Down) << 0 << 15 << 0;
    QTest::newRow("up arrow") << int(Qt::Key_Up) << 0 << -15 << 0;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << 9 * 15 << 0;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << -9 * 15 << 0;
    QTest::newRow("right arrow") << int(Qt::Key_Right) << 0 << 0 << 1;
    QTest::newRow("home") << int(Qt::Key_Home) << 0 << -500 * 15 << 0;
    QTest::newRow("ctrl+home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << -500 * 15 << 0;
    QTest::newRow("end") << int(Qt::Key_End) << 0 << -1 << 0;
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier) << -1 << 0;
}

void ViewScrollingTest::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, down);
    QFETCH(int, across);
    MakeView(QStringList(1000, QString(40, QLatin1Char('x'))), {200, 200});
    // 10.5 lines high inside the frame and the scroll bars.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->resize(200, 200 + 157 - m_view->viewport()->height());
    Paint();
    QCOMPARE(m_view->viewport()->height(), 157);
    QScrollBar* vbar = m_view->verticalScrollBar();
    QScrollBar* hbar = m_view->horizontalScrollBar();
    vbar->setValue(500 * 15);
    hbar->setValue(0);
    QTest::keyClick(m_view.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(vbar->value(), down == -1 ? vbar->maximum() : 500 * 15 + down);
    QCOMPARE(vbar->maximum(), 1000 * 15 - 157);
    QCOMPARE(hbar->value(), across * m_view->Metrics().aveCharWidth);
}

void ViewScrollingTest::wheel_notchScrollsTheDesktopsLines() {
    MakeView(QStringList(1000, QStringLiteral("word")), {200, 200});
    QWheelEvent notch(QPointF(50, 50), m_view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view->viewport(), &notch);
    QCOMPARE(m_view->verticalScrollBar()->value(), QApplication::wheelScrollLines() * 15);
}

// A 200-character line far down the report is not measured when the report
// opens (nothing walks the report for it), but once it has been in the
// window its end can be scrolled into view, and no further.
void ViewScrollingTest::extent_coversALongLineOnceItHasBeenSeen() {
    QStringList lines(300, QStringLiteral("short"));
    const QString longLine = QString(199, QLatin1Char('x')) + QLatin1Char('|');
    lines[250] = longLine;
    MakeView(lines, {300, 200});
    QScrollBar* hbar = m_view->horizontalScrollBar();
    QVERIFY(m_view->IndexedLines() < 20);
    QVERIFY(hbar->maximum() < 50);

    m_view->verticalScrollBar()->setValue(245 * 15);
    Paint();
    const QFontMetrics metrics(m_view->DisplayFont());
    const int width = m_view->viewport()->width();
    QCOMPARE(hbar->maximum(),
             CVorlanScrollView::kLeftMargin * 2 + metrics.horizontalAdvance(longLine) - width);
    // Back at the top the extent stays: the user can still reach the line.
    m_view->verticalScrollBar()->setValue(0);
    Paint();
    QCOMPARE(hbar->maximum(),
             CVorlanScrollView::kLeftMargin * 2 + metrics.horizontalAdvance(longLine) - width);
}

QTEST_MAIN(ViewScrollingTest)
#include "view_scrolling_test.moc"
