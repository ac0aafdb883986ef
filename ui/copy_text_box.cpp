#include "ui/copy_text_box.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Room between the frame and the text, and for the caret after a row's end.
constexpr int kMargin = 3;

// A tab inside a word is shown as one space, as on the screen and on paper.
QString Shown(QStringView row) {
    QString text = row.toString();
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

} // namespace

CCopyTextBox::CCopyTextBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    SetText(QString());
}

void CCopyTextBox::SetText(const QString& text) {
    m_text = text;
    m_rowStarts.assign(1, 0);
    m_nWidestRow = 0;
    m_nWidthSeen = 0;
    qsizetype start = 0;
    for (qsizetype end = m_text.indexOf(QLatin1Char('\n')); end >= 0;
         end = m_text.indexOf(QLatin1Char('\n'), start)) {
        m_nWidestRow = std::max(m_nWidestRow, int(end - start));
        start = end + 1;
        m_rowStarts.push_back(start);
    }
    m_nWidestRow = std::max(m_nWidestRow, int(m_text.size() - start));
    m_anchor = m_caret = Place{};
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit selectionChanged(false);
}

QStringView CCopyTextBox::RowText(int row) const {
    const qsizetype start = m_rowStarts[std::size_t(row)];
    qsizetype end = std::size_t(row) + 1 < m_rowStarts.size()
                        ? m_rowStarts[std::size_t(row) + 1] - 1
                        : m_text.size();
    if (end > start && m_text[end - 1] == QLatin1Char('\r'))
        --end;
    return QStringView(m_text).mid(start, end - start);
}

qsizetype CCopyTextBox::Offset(Place place) const {
    return m_rowStarts[std::size_t(place.row)] + place.column;
}

QString CCopyTextBox::SelectedText() const {
    const qsizetype a = Offset(m_anchor);
    const qsizetype b = Offset(m_caret);
    return m_text.mid(std::min(a, b), std::abs(b - a));
}

void CCopyTextBox::SelectAll() {
    m_anchor = Place{};
    const int last = RowCount() - 1;
    MoveCaret({last, int(RowText(last).size())}, true);
}

int CCopyTextBox::RowHeight() const {
    return std::max(1, fontMetrics().height());
}

qreal CCopyTextBox::ColumnX(int row, int column) const {
    return QFontMetricsF(font()).horizontalAdvance(Shown(RowText(row).left(column)));
}

CCopyTextBox::Place CCopyTextBox::PlaceAt(QPoint pos) const {
    const int first = verticalScrollBar()->value();
    const int row = std::clamp(first + pos.y() / RowHeight(), 0, RowCount() - 1);
    const QString text = Shown(RowText(row));
    const QFontMetricsF metrics(font());
    const qreal x = pos.x() - kMargin + horizontalScrollBar()->value();
    qreal left = 0;
    int column = 0;
    while (column < text.size()) {
        const int step = text[column].isHighSurrogate() && column + 1 < text.size() ? 2 : 1;
        const qreal width = metrics.horizontalAdvance(text.mid(column, step));
        if (x < left + width / 2)
            break;
        left += width;
        column += step;
    }
    return {row, column};
}

void CCopyTextBox::MoveCaret(Place place, bool keep) {
    const bool had = HasSelection();
    m_caret = place;
    if (!keep)
        m_anchor = place;
    EnsureCaretVisible();
    viewport()->update();
    if (had != HasSelection())
        emit selectionChanged(HasSelection());
}

void CCopyTextBox::EnsureCaretVisible() {
    const int rows = std::max(1, viewport()->height() / RowHeight());
    QScrollBar* vertical = verticalScrollBar();
    if (m_caret.row < vertical->value())
        vertical->setValue(m_caret.row);
    else if (m_caret.row >= vertical->value() + rows)
        vertical->setValue(m_caret.row - rows + 1);

    const int x = int(std::ceil(ColumnX(m_caret.row, m_caret.column)));
    m_nWidthSeen = std::max(m_nWidthSeen, x);
    UpdateScrollBars();
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width() - 2 * kMargin;
    if (x < horizontal->value())
        horizontal->setValue(x);
    else if (x > horizontal->value() + width)
        horizontal->setValue(x - width);
}

// The widest row is estimated from its length until wider rows are drawn:
// measuring every row of a long text would cost what this box avoids.
void CCopyTextBox::UpdateScrollBars() {
    const int rows = std::max(1, viewport()->height() / RowHeight());
    verticalScrollBar()->setRange(0, std::max(0, RowCount() - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    const qint64 estimate = qint64(m_nWidestRow) * fontMetrics().averageCharWidth();
    const int width = int(std::min<qint64>(std::max<qint64>(estimate, m_nWidthSeen) + 2 * kMargin,
                                           std::numeric_limits<int>::max() / 2));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
}

void CCopyTextBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int first = verticalScrollBar()->value();
    const int height = RowHeight();
    const int widthBefore = m_nWidthSeen;
    for (int row = first, y = 0; row < RowCount() && y < viewport()->height(); ++row, y += height)
        PaintRow(painter, row, y);
    if (m_nWidthSeen > widthBefore)
        UpdateScrollBars();
}

void CCopyTextBox::PaintRow(QPainter& painter, int row, int y) const {
    const QString text = Shown(RowText(row));
    const QFontMetricsF metrics(font());
    const qreal left = kMargin - horizontalScrollBar()->value();
    const qreal baseline = y + metrics.ascent();
    m_nWidthSeen = std::max(m_nWidthSeen, int(std::ceil(metrics.horizontalAdvance(text))));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(left, baseline), text);

    const Place from = std::min(m_anchor, m_caret, [](const Place& a, const Place& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    const Place to = from == m_anchor ? m_caret : m_anchor;
    if (from != to && row >= from.row && row <= to.row) {
        const int a = row == from.row ? from.column : 0;
        const int b = row == to.row ? to.column : int(text.size());
        const qreal x = left + metrics.horizontalAdvance(text.left(a));
        qreal width = metrics.horizontalAdvance(text.mid(a, b - a));
        if (row < to.row) // the line end is selected too
            width += metrics.averageCharWidth();
        const QRectF band(x, y, width, RowHeight());
        painter.fillRect(band, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(QPointF(x, baseline), text.mid(a, b - a));
    }
    if (row == m_caret.row && hasFocus()) {
        const qreal x = left + metrics.horizontalAdvance(text.left(m_caret.column));
        painter.fillRect(QRectF(x, y, 1, RowHeight()), palette().color(QPalette::Text));
    }
}

bool CCopyTextBox::MoveByKey(int key, bool control, bool keep) {
    Place place = m_caret;
    const int rows = std::max(1, viewport()->height() / RowHeight());
    const auto rowLength = [this](int row) { return int(RowText(row).size()); };
    switch (key) {
    case Qt::Key_Left:
        if (place.column > 0)
            place.column -= RowText(place.row)[place.column - 1].isLowSurrogate() ? 2 : 1;
        else if (place.row > 0)
            place = {place.row - 1, rowLength(place.row - 1)};
        break;
    case Qt::Key_Right:
        if (place.column < rowLength(place.row))
            place.column += RowText(place.row)[place.column].isHighSurrogate() ? 2 : 1;
        else if (place.row + 1 < RowCount())
            place = {place.row + 1, 0};
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int step = key == Qt::Key_Up || key == Qt::Key_Down ? 1 : rows;
        const int sign = key == Qt::Key_Up || key == Qt::Key_PageUp ? -1 : 1;
        place.row = std::clamp(place.row + sign * step, 0, RowCount() - 1);
        place.column = std::min(place.column, rowLength(place.row));
        break;
    }
    case Qt::Key_Home:
        place = control ? Place{} : Place{place.row, 0};
        break;
    case Qt::Key_End:
        place.row = control ? RowCount() - 1 : place.row;
        place.column = rowLength(place.row);
        break;
    default:
        return false;
    }
    MoveCaret(place, keep);
    return true;
}

void CCopyTextBox::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        SelectAll();
        return;
    }
    if (event == QKeySequence::Copy) {
        if (HasSelection())
            QGuiApplication::clipboard()->setText(SelectedText());
        return;
    }
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Enter, Escape and the rest belong to the dialog.
    if (!MoveByKey(event->key(), control, shift))
        event->ignore();
}

void CCopyTextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    MoveCaret(PlaceAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void CCopyTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        MoveCaret(PlaceAt(event->position().toPoint()), true);
}

void CCopyTextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CCopyTextBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CCopyTextBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CCopyTextBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_nWidthSeen = 0;
        UpdateScrollBars();
    }
}
