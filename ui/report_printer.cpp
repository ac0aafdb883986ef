#include "ui/report_printer.h"

#include "settings/setting_keys.h"
#include "settings/setting_values.h"
#include "ui/report_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

constexpr int kLargestPageNumber = 0xFFFF;

} // namespace

int ReadPrintNumber(const CSettingsStore& settings, const StringKey& key) {
    return GetSettingNumericText(settings, key.section, key.key, key.pDefault);
}

PrintLayout ReadPrintLayout(const CSettingsStore& settings) {
    PrintLayout layout;
    layout.nLine = ReadPrintNumber(settings, setting_keys::kPrintLine);
    layout.nColumn = ReadPrintNumber(settings, setting_keys::kPrintColumn);
    layout.nOffset = ReadPrintNumber(settings, setting_keys::kPrintOffset);
    layout.nTop = ReadPrintNumber(settings, setting_keys::kPrintTop);
    layout.nLeft = ReadPrintNumber(settings, setting_keys::kPrintLeft);
    return layout;
}

int ReadMaxPage(const CSettingsStore& settings) {
    return std::clamp(ReadPrintNumber(settings, setting_keys::kPrintMaxPage), 1,
                      kLargestPageNumber);
}

void SetHundredthsOfInch(QPainter& painter, const QPaintDevice& device) {
    painter.scale(device.logicalDpiX() / 100.0, device.logicalDpiY() / 100.0);
}

// Wraps and draws report lines at one width with one font on one device.
// Measuring and drawing share the layout, so a line takes on paper exactly
// the rows it was counted with.
class CReportPrinter::CPageComposer {
  public:
    CPageComposer(const QFont& font, QPaintDevice* device, int nWidth, int nRowHeight,
                  const ReportLineDecoder& decode)
        : m_font(font), m_pDevice(device), m_nWidth(nWidth), m_nRowHeight(nRowHeight),
          m_decode(decode) {
        const QFontMetricsF metrics(font, device);
        for (int c = 0; c < 256; ++c) {
            const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
            m_latin1Advance[std::size_t(c)] =
                control ? kNoFastPath : metrics.horizontalAdvance(QChar(c));
        }
    }

    // Text rows of the line wrapped at word boundaries; a word wider than
    // the width keeps a row of its own, an empty line still takes a row.
    int Rows(const CExStringList::CLineNode* node) const {
        const QString text = Text(node);
        if (FitsOneRow(text))
            return 1;
        QTextLayout layout(text, m_font, m_pDevice);
        Wrap(layout);
        return std::max(1, layout.lineCount());
    }

    // Draws the line's rows H apart from top downwards; returns its rows.
    int Draw(QPainter& painter, const CExStringList::CLineNode* node, QPointF topLeft) const {
        QTextLayout layout(Text(node), m_font, m_pDevice);
        Wrap(layout);
        layout.draw(&painter, topLeft);
        return std::max(1, layout.lineCount());
    }

  private:
    static constexpr qreal kNoFastPath = 1e30;

    // A line of printable Latin-1 or Japanese characters whose advances add
    // up to no more than the width is one row without being laid out:
    // counting the pages of a report of millions of lines then takes a
    // moment, not a minute. Anything else (tabs, scripts whose characters
    // join or combine) is laid out.
    bool FitsOneRow(const QString& text) const {
        qreal width = 0;
        for (QChar c : text) {
            width += Advance(c.unicode());
            if (width > m_nWidth)
                return false;
        }
        return true;
    }

    qreal Advance(char16_t c) const {
        if (c <= 0xFF)
            return m_latin1Advance[c];
        const bool japanese = (c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                              (c >= 0xFF01 && c <= 0xFF9F);
        if (!japanese)
            return kNoFastPath;
        auto [it, added] = m_otherAdvance.try_emplace(c, 0.0);
        if (added)
            it->second = QFontMetricsF(m_font, m_pDevice).horizontalAdvance(QChar(c));
        return it->second;
    }

    QString Text(const CExStringList::CLineNode* node) const {
        return m_decode(ReportLineBody(node->m_strLine));
    }

    void Wrap(QTextLayout& layout) const {
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (int row = 0;; ++row) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(m_nWidth);
            line.setPosition(QPointF(0, row * m_nRowHeight));
        }
        layout.endLayout();
    }

    QFont m_font;
    QPaintDevice* m_pDevice;
    int m_nWidth;
    int m_nRowHeight;
    const ReportLineDecoder& m_decode;
    std::array<qreal, 256> m_latin1Advance;
    mutable std::unordered_map<char16_t, qreal> m_otherAdvance;
};

CReportPrinter::CReportPrinter(const CExStringList& report, const CSettingsStore& settings,
                               ReportLineDecoder decode)
    : m_report(report), m_settings(settings), m_decode(std::move(decode)) {}

void CReportPrinter::PreparePrint(CPrintInfo& info) const {
    info.m_nMaxPage = ReadMaxPage(m_settings);
    info.m_nCurPage = 1;
    info.m_bContinuePrinting = true;
}

const CExStringList::CLineNode* CReportPrinter::FillPage(
    const CExStringList::CLineNode* start, int nLine, const CPageComposer& composer,
    const std::function<void(const CExStringList::CLineNode*, int)>& place) const {
    int used = 0;
    const CExStringList::CLineNode* node = start;
    while (node && used < nLine) {
        int rows = composer.Rows(node);
        used += rows;
        if (used >= nLine)
            return node;
        if (place)
            place(node, rows);
        node = node->m_pNextNode;
    }
    return node;
}

FontMetrics CReportPrinter::PrintPage(QPainter& painter, const QFont& font, CPrintInfo& info,
                                      PageCursor* cursor) const {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font);
    const FontMetrics tm = MeasureFont(font, painter.device());
    const int page = info.m_nCurPage;

    const PrintLayout layout = ReadPrintLayout(m_settings);
    const int width = layout.nColumn * tm.aveCharWidth;
    const CPageComposer composer(font, painter.device(), width, tm.height, m_decode);
    const CExStringList::CLineNode* first = m_report.m_pHead;
    if (cursor && cursor->nPage == page && cursor->nLine == layout.nLine &&
        cursor->nWidth == width) {
        first = cursor->pFirst;
    } else {
        for (int p = 1; p < page && first; ++p)
            first = FillPage(first, layout.nLine, composer, nullptr);
    }

    // Without the page number its row stays empty: pages break alike either way.
    if (GetInt(m_settings, setting_keys::kNumberPages) != 0)
        painter.drawText(QPointF(layout.nTop, layout.nLeft + tm.ascent),
                         QStringLiteral("Page : %1").arg(page));

    const qreal x = layout.nTop + layout.nOffset * tm.aveCharWidth;
    qreal y = layout.nLeft + 2 * tm.height;
    const CExStringList::CLineNode* next =
        FillPage(first, layout.nLine, composer, [&](const CExStringList::CLineNode* node, int) {
            y += composer.Draw(painter, node, QPointF(x, y)) * tm.height;
        });

    if (cursor)
        *cursor = {page + 1, layout.nLine, width, next};
    if (next && page < info.m_nMaxPage) {
        info.m_bContinuePrinting = true;
    } else {
        info.m_bCutAtMaxPage = next != nullptr;
        info.m_nMaxPage = page;
        info.m_bContinuePrinting = false;
    }
    painter.restore();
    return tm;
}

int CReportPrinter::PrintPages(QPrinter& printer, const QFont& font, CPrintInfo& info, int from,
                               int to, FontMetrics* metrics) const {
    return DrawPages(
        printer, [&printer] { return printer.newPage(); }, font, info, from, to, metrics);
}

int CReportPrinter::DrawPages(QPaintDevice& device, const std::function<bool()>& newPage,
                              const QFont& font, CPrintInfo& info, int from, int to,
                              FontMetrics* metrics) const {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    int printed = 0;
    PageCursor cursor;
    for (int page = std::max(from, 1); page <= to && page <= info.m_nMaxPage; ++page) {
        if (printed && !newPage())
            break;
        painter.save();
        SetHundredthsOfInch(painter, device);
        info.m_nCurPage = page;
        FontMetrics tm = PrintPage(painter, font, info, &cursor);
        if (metrics)
            *metrics = tm;
        painter.restore();
        ++printed;
        if (!info.m_bContinuePrinting)
            break;
    }
    if (info.m_bCutAtMaxPage)
        info.m_nReportPages = CountPages(painter, font, cursor.nPage, cursor.pFirst);
    painter.end();
    return printed;
}

int CReportPrinter::CountPages(QPainter& painter, const QFont& font, int page,
                               const CExStringList::CLineNode* first) const {
    const FontMetrics tm = MeasureFont(font, painter.device());
    const PrintLayout layout = ReadPrintLayout(m_settings);
    const CPageComposer composer(font, painter.device(), layout.nColumn * tm.aveCharWidth,
                                 tm.height, m_decode);
    for (const CExStringList::CLineNode* start = first; start; ++page) {
        const CExStringList::CLineNode* next = FillPage(start, layout.nLine, composer, nullptr);
        if (!next)
            break;
        // A page that takes no line would be followed by such pages for ever.
        if (next == start)
            return kEndlessReport;
        start = next;
    }
    return page;
}

QString PageLimitNotice(int printed, int reportPages, bool preview) {
    const QString done = preview ? QStringLiteral("Showing") : QStringLiteral("Printed");
    if (reportPages == kEndlessReport)
        return QStringLiteral("%1 %2 pages; a report line does not fit on a page: raise Lines "
                              "per Page in Print Option.")
            .arg(done)
            .arg(printed);
    return QStringLiteral("%1 %2 of %3 pages; raise Max page number in Print Option to print more.")
        .arg(done)
        .arg(printed)
        .arg(reportPages);
}
