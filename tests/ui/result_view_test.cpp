// The result view's drawing: where lines go (pitch H + 2 from y = 1, x = 5,
// the scroll position), what is drawn of them, the colours of the profile,
// the extent, the font made from a font description, and the line index
// that keeps repaints from walking the report.
#include "screenshot.h"
#include "settings/memory_settings.h"
#include "ui/display_font.h"
#include "ui/report_line_index.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>

namespace {

constexpr ColorRef kWhite = 0x00FFFFFF;

// A font description of the given character height from a font this system
// has; lfHeight 0 when no size gives it.
LogFont FontOfHeight(int height) {
    for (int pixels = 4; pixels <= 40; ++pixels) {
        LogFont logFont;
        SetFaceName(logFont, "DejaVu Sans Mono");
        logFont.lfHeight = -pixels;
        if (MeasureFont(FontFromLogFont(logFont)).height == height)
            return logFont;
    }
    LogFont none;
    none.lfHeight = 0;
    return none;
}

// Text is smoothed at its edges: a pixel counts as the colour when it is
// close to it.
bool Near(QRgb pixel, QRgb colour) {
    return std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour)) +
               std::abs(qBlue(pixel) - qBlue(colour)) <
           160;
}

// The rows of image that hold a pixel of colour.
QList<int> RowsWith(const QImage& image, QRgb colour) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Near(image.pixel(x, y), colour)) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

// Whether the characters report lines are made of (digits, space, '.', '%'
// and the Latin letters) all have one advance in font, so that counts and
// words line up from line to line.
bool LinesUpReports(const QFont& font) {
    QString characters = QStringLiteral("0123456789 .%");
    for (char c = 'A'; c <= 'Z'; ++c) {
        characters += QLatin1Char(c);
        characters += QLatin1Char(char(c - 'A' + 'a'));
    }
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    for (QChar c : characters) {
        if (metrics.horizontalAdvance(c) != width)
            return false;
    }
    return width > 0;
}

int LeftmostColumnWith(const QImage& image, QRgb colour) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (Near(image.pixel(x, y), colour))
                return x;
        }
    }
    return -1;
}

} // namespace

class ResultViewTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void extent_coversTheWidestLineSeen();
    void keys_data();
    void keys();
    void paint_linesSitInTheirSlotsFromTheScrollPosition();
    void paint_emptyLineTakesAPitchAndDrawsNothing();
    void paint_readsTheColoursAtEveryRepaint();
    void paint_emptyReportIsBackgroundOnly();
    void paint_visitsOnlyTheLinesItShows();
    void lineIndex_followsAppendsAndReplacements();
    void font_fromDescription_data();
    void font_fromDescription();
    void font_missingTypefaceFallsBackToFixedPitch();
    void font_firstDisplayReadsTheDisplayRecord();
    void paint_japaneseLinesLineUpWithTheOthers();

  private:
    CVorlanScrollView* MakeView(const LogFont& logFont, QSize size = {300, 200});
    void AddLines(const QStringList& lines);
    QImage Paint();

    std::unique_ptr<CMemorySettings> m_settings;
    std::shared_ptr<CResultDocument> m_doc;
    std::unique_ptr<CVorlanScrollView> m_view;
    LogFont m_font13;
};

void ResultViewTest::init() {
    m_settings = std::make_unique<CMemorySettings>();
    m_doc = std::make_shared<CResultDocument>(*m_settings, QStringLiteral("Vorlan1"));
    m_font13 = FontOfHeight(13);
    if (m_font13.lfHeight == 0)
        QSKIP("no font of this system is 13 pixels high");
}

void ResultViewTest::cleanup() {
    m_view.reset();
    m_doc.reset();
    m_settings.reset();
}

CVorlanScrollView* ResultViewTest::MakeView(const LogFont& logFont, QSize size) {
    m_view = std::make_unique<CVorlanScrollView>(m_doc);
    m_view->resize(size);
    m_view->show();
    m_view->SetLogFont(logFont);
    return m_view.get();
}

void ResultViewTest::AddLines(const QStringList& lines) {
    for (const QString& line : lines)
        m_doc->Doc().m_listResult.AppendLine(line.toStdString() + "\r\n");
    m_doc->UpdateAllViews();
}

QImage ResultViewTest::Paint() {
    return m_view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void ResultViewTest::layout_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<int>("viewHeight");
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<int>("firstTop");
    QTest::addColumn<int>("maxLines");

    QTest::newRow("top of the report") << 13 << 0 << 100 << 0 << 1 << 9;
    QTest::newRow("inside the first slot") << 13 << 14 << 100 << 0 << 1 << 9;
    QTest::newRow("second slot starts at 15") << 13 << 15 << 100 << 1 << 16 << 9;
    QTest::newRow("scrolled to 40") << 13 << 40 << 100 << 2 << 31 << 9;
    QTest::newRow("budget divides by H, not the pitch") << 10 << 0 << 120 << 0 << 1 << 14;
    QTest::newRow("window of no height") << 13 << 0 << 0 << 0 << 1 << 2;
}

void ResultViewTest::layout() {
    QFETCH(int, height);
    QFETCH(int, scrollY);
    QFETCH(int, viewHeight);
    const ReportLayout layout = ComputeReportLayout(height, scrollY, viewHeight);
    QCOMPARE(layout.pitch, height + 2);
    QTEST(layout.firstLine, "firstLine");
    QTEST(layout.firstTop, "firstTop");
    QTEST(layout.maxLines, "maxLines");
}

// A 200-character line far down is not measured when the report opens, but
// once it has been in the window its end can be scrolled into view.
void ResultViewTest::extent_coversTheWidestLineSeen() {
    QCOMPARE(ReportExtent({13, 7, 10}, 3, 100), QSize(110, 45));
    MakeView(m_font13, {300, 200});
    QStringList lines(300, QStringLiteral("short"));
    lines[250] = QString(200, QLatin1Char('x'));
    AddLines(lines);
    Paint();
    QScrollBar* hbar = m_view->horizontalScrollBar();
    QVERIFY(hbar->maximum() < 50 && m_view->IndexedLines() < 20);
    const int end = 10 + QFontMetrics(m_view->DisplayFont()).horizontalAdvance(lines[250]);
    for (int scroll : {245 * 15, 0}) { // and it stays when scrolled away
        m_view->verticalScrollBar()->setValue(scroll);
        Paint();
        QCOMPARE(hbar->maximum() + m_view->viewport()->width(), end);
    }
}

// From line 500 of 1,000 in a window 10.5 lines high: an arrow is a line
// (15 pixels) or a character, a page 9 lines; -1 stands for the last line.
void ResultViewTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("across");
    QTest::newRow("down") << int(Qt::Key_Down) << 0 << 501 * 15 << 0;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << 491 * 15 << 0;
    QTest::newRow("right") << int(Qt::Key_Right) << 0 << 500 * 15 << 1;
    QTest::newRow("home") << int(Qt::Key_Home) << 0 << 0 << 0;
    QTest::newRow("ctrl+home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0 << 0;
    QTest::newRow("end") << int(Qt::Key_End) << 0 << -1 << 0;
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier) << -1 << 0;
}

void ResultViewTest::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, down);
    MakeView(m_font13, {200, 200});
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->resize(200, 200 + 157 - m_view->viewport()->height());
    AddLines(QStringList(1000, QString(40, QLatin1Char('x'))));
    Paint();
    QScrollBar* vbar = m_view->verticalScrollBar();
    vbar->setValue(500 * 15);
    QTest::keyClick(m_view.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(vbar->maximum(), 1000 * 15 - 157);
    QCOMPARE(vbar->value(), down == -1 ? vbar->maximum() : down);
    QTEST(m_view->horizontalScrollBar()->value() / m_view->Metrics().aveCharWidth, "across");

    // A wheel notch down: the desktop's number of lines.
    vbar->setValue(0);
    QWheelEvent notch({50, 50}, m_view->viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view->viewport(), &notch);
    QCOMPARE(vbar->value(), QApplication::wheelScrollLines() * 15);
}

// Text pixels of line i lie in rows i x 15 + 1 to i x 15 + 13 of the whole
// area; the two rows between slots stay clear.
void ResultViewTest::paint_linesSitInTheirSlotsFromTheScrollPosition() {
    MakeView(m_font13, {300, 120});
    m_settings->WriteSettingInt("Color", "TxtColor", 0x0000FF);
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.append(QStringLiteral("|W%1").arg(i));
    AddLines(lines);

    const QRgb red = qRgb(255, 0, 0);
    // Every line starts 5 pixels from the left ("|" has next to no bearing).
    const int left = LeftmostColumnWith(Paint(), red);
    QVERIFY2(left >= 5 && left <= 9, qPrintable(QString::number(left)));
    for (int scroll : {0, 40}) {
        Paint(); // sets the extent
        m_view->verticalScrollBar()->setValue(scroll);
        QCOMPARE(m_view->verticalScrollBar()->value(), scroll);
        const QList<int> rows = RowsWith(Paint(), red);
        QVERIFY(!rows.isEmpty());
        for (int row : rows) {
            const int inSlot = (row + scroll - 1) % 15;
            QVERIFY2(inSlot < 13,
                     qPrintable(QStringLiteral("scroll %1, row %2").arg(scroll).arg(row)));
        }
        // Line 0 at y = 1 and line 1 at y = 16; scrolled to 40, line 2 at 31.
        const int firstSlotTop = scroll == 0 ? 1 : 31 - 40;
        QVERIFY(rows.first() >= std::max(0, firstSlotTop));
        QVERIFY(rows.contains(firstSlotTop + 15 + 6) || rows.contains(firstSlotTop + 15 + 7));
    }
}

void ResultViewTest::paint_emptyLineTakesAPitchAndDrawsNothing() {
    MakeView(m_font13);
    m_settings->WriteSettingInt("Color", "TxtColor", 0x0000FF);
    AddLines({QStringLiteral("WWW"), QString(), QStringLiteral("WWW")});
    const QList<int> rows = RowsWith(Paint(), qRgb(255, 0, 0));
    QVERIFY(!rows.isEmpty());
    for (int row : rows)
        QVERIFY2(row < 16 || row >= 31, qPrintable(QString::number(row)));
    QVERIFY(rows.last() >= 31 && rows.last() < 44);
}

// Another window may have changed the colours: every repaint reads both.
void ResultViewTest::paint_readsTheColoursAtEveryRepaint() {
    MakeView(m_font13);
    AddLines({QStringLiteral("WWWW")});
    QImage image = Paint();
    QCOMPARE(image.pixel(image.width() - 3, image.height() - 3), qRgb(255, 255, 255));
    QVERIFY(!RowsWith(image, qRgb(0, 0, 0)).isEmpty());

    m_settings->WriteSettingInt("Color", "BkColor", 0x00FF0000);     // blue
    m_settings->WriteSettingString("Color", "TxtColor", "0x00FF00"); // green, as typed by hand
    image = Paint();
    QCOMPARE(m_view->BackColor(), ColorRef(0x00FF0000));
    QCOMPARE(m_view->TextColor(), ColorRef(0x0000FF00));
    QCOMPARE(image.pixel(image.width() - 3, image.height() - 3), qRgb(0, 0, 255));
    // The text's cells are opaque in the background colour.
    QCOMPARE(image.pixel(5, 1), qRgb(0, 0, 255));
    QVERIFY(!RowsWith(image, qRgb(0, 255, 0)).isEmpty());
}

void ResultViewTest::paint_emptyReportIsBackgroundOnly() {
    MakeView(m_font13);
    const QImage image = Paint();
    QCOMPARE(RowsWith(image, qRgb(255, 255, 255)).size(), image.height());
    QVERIFY(RowsWith(image, qRgb(0, 0, 0)).isEmpty());
    QCOMPARE(m_view->verticalScrollBar()->maximum(), 0);
    QCOMPARE(m_view->BackColor(), kWhite);
}

// A repaint halfway down a long report indexes the lines up to the window
// and draws no more than the window holds.
void ResultViewTest::paint_visitsOnlyTheLinesItShows() {
    MakeView(m_font13, {300, 150});
    CExStringList& report = m_doc->Doc().m_listResult;
    for (int i = 0; i < 100000; ++i)
        report.AppendLine("line " + std::to_string(i) + "\r\n");
    m_doc->UpdateAllViews();
    Paint();
    QVERIFY(m_view->IndexedLines() <= 1);
    m_view->verticalScrollBar()->setValue(50000 * 15);
    Paint();
    QCOMPARE(m_view->IndexedLines(), std::size_t(50001));
    m_view->verticalScrollBar()->setValue(10 * 15);
    Paint();
    QCOMPARE(m_view->IndexedLines(), std::size_t(50001));
}

void ResultViewTest::lineIndex_followsAppendsAndReplacements() {
    CExStringList list;
    CReportLineIndex index;
    QCOMPARE(index.Line(list, 0), nullptr);
    list.AppendLine("a");
    list.AppendLine("b");
    QCOMPARE(index.Line(list, 1)->m_strLine, std::string("b"));
    QCOMPARE(index.Line(list, 2), nullptr);
    // Growth at the end is picked up from the last indexed line.
    list.AppendLine("c");
    QCOMPARE(index.Line(list, 2)->m_strLine, std::string("c"));
    // A new first line or fewer lines: indexed again.
    list.PrependLine("z");
    QCOMPARE(index.Line(list, 0)->m_strLine, std::string("z"));
    QCOMPARE(index.Line(list, 3)->m_strLine, std::string("c"));
    list.RemoveAllLines();
    QCOMPARE(index.Line(list, 0), nullptr);
    list.AppendLine("n");
    index.Reset();
    QCOMPARE(index.Line(list, 0)->m_strLine, std::string("n"));
    QCOMPARE(index.Line(list, -1), nullptr);
}

void ResultViewTest::font_fromDescription_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("flags"); // 1 italic, 2 underline, 4 strike-out
    QTest::newRow("default record") << -13 << 400 << 0;
    QTest::newRow("bold italic") << -20 << 700 << 1;
    QTest::newRow("underline and strike-out") << -9 << 400 << 6;
}

void ResultViewTest::font_fromDescription() {
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(int, flags);
    LogFont logFont;
    SetFaceName(logFont, "DejaVu Sans Mono");
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfItalic = flags & 1;
    logFont.lfUnderline = (flags & 2) != 0;
    logFont.lfStrikeOut = (flags & 4) != 0;
    const QFont font = FontFromLogFont(logFont);
    QCOMPARE(font.family(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(font.pixelSize(), -height);
    QCOMPARE(int(font.weight()), weight);
    QCOMPARE(font.italic(), bool(flags & 1));
    QCOMPARE(font.underline(), bool(flags & 2));
    QCOMPARE(font.strikeOut(), bool(flags & 4));
    QVERIFY(font.fixedPitch());
}

void ResultViewTest::font_missingTypefaceFallsBackToFixedPitch() {
    LogFont logFont; // "FixedSys", which this system lacks
    QVERIFY(!QFontDatabase::hasFamily(QStringLiteral("FixedSys")));
    logFont.lfCharSet = 0;
    QFont font = FontFromLogFont(logFont);
    QCOMPARE(font.pixelSize(), 13);
    // A monospaced font need not be flagged fixed pitch (Noto Sans Mono is
    // not): what counts is that report lines line up. The system's own
    // fixed-pitch font is taken when it does that.
    QVERIFY2(LinesUpReports(font), qPrintable(QFontInfo(font).family()));
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QCOMPARE(font.family() == system.family(), LinesUpReports(system));

    // Shift-JIS text wants such a font with Japanese where there is one.
    logFont.lfCharSet = 128;
    font = FontFromLogFont(logFont);
    QVERIFY2(LinesUpReports(font), qPrintable(QFontInfo(font).family()));
    // The set-up script installs it; without it this check would prove nothing.
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("IPAGothic")));
    QCOMPARE(font.family(), QStringLiteral("IPAGothic"));

    // A positive height is the cell height: the characters come out smaller.
    logFont.lfHeight = 20;
    QVERIFY(MeasureFont(FontFromLogFont(logFont)).height <= 20);
}

// A new window takes its font from the "Display" record, never "Disp".
void ResultViewTest::font_firstDisplayReadsTheDisplayRecord() {
    m_settings->WriteSettingString("Font", "DispFont", "-30 0 0 0 700 0 0 0 128 1 2 1 1 0 0 0");
    m_settings->WriteSettingString("Font", "DisplayFont", "-11 0 0 0 700 1 0 0 0 1 2 1 1 0 0 0");
    m_settings->WriteSettingString("Font", "DisplayFontFace", "DejaVu Sans Mono");
    m_view = std::make_unique<CVorlanScrollView>(m_doc);
    m_view->show();
    QCOMPARE(m_view->GetLogFont().lfHeight, -11);
    QCOMPARE(m_view->GetLogFont().lfCharSet, 0);
    QCOMPARE(m_view->DisplayFont().pixelSize(), 11);
    QVERIFY(m_view->DisplayFont().bold());
    QVERIFY(m_view->DisplayFont().italic());
}

// The spaces and digits of a Japanese line are as wide as those of the
// others, so its count and its word start in the same columns.
void ResultViewTest::paint_japaneseLinesLineUpWithTheOthers() {
    MakeView(LogFont(), {360, 160});
    for (const char* word : {"word", "\x93\xfa\x96\x7b\x8c\xea", "\x82\xa0\x82\xa2\x82\xa4"})
        m_doc->Doc().m_listResult.AppendLine(std::string("         1 : ") + word + "\r\n");
    m_doc->UpdateAllViews();
    const QImage image = Paint();
    const int height = m_view->Metrics().height;
    QList<int> starts;
    for (int line = 0; line < 3; ++line) {
        const QImage slot = image.copy(0, line * (height + 2) + 1, image.width(), height);
        starts.append(LeftmostColumnWith(slot, qRgb(0, 0, 0)));
    }
    QVERIFY(starts[0] > 5);
    QCOMPARE(starts, QList<int>(3, starts[0]));
    SaveScreenshot(m_view.get(), "result_view_japanese");
}

QTEST_MAIN(ResultViewTest)
#include "result_view_test.moc"
