// The copy dialog's read-only text box. It shows a text of any length, one
// row per line, without laying the whole text out first: a report of
// millions of lines opens at once, and only the rows on screen are drawn.
// The user selects characters with the mouse or the keyboard as in any
// text box; what is selected comes out with the text's own line ends.
#ifndef VORLAN_UI_COPY_TEXT_BOX_H
#define VORLAN_UI_COPY_TEXT_BOX_H

#include <QAbstractScrollArea>
#include <QString>
#include <QStringView>
#include <vector>

class CCopyTextBox : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit CCopyTextBox(QWidget* parent = nullptr);

    // Shows text, whose lines end in CR LF or LF; a text ending in a line
    // end has an empty row after it. The caret goes to the start.
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }

    int RowCount() const { return int(m_rowStarts.size()); }
    // A row's characters without its line end.
    QStringView RowText(int row) const;

    bool HasSelection() const { return m_anchor != m_caret; }
    // The selected characters, line ends as they are in the text.
    QString SelectedText() const;
    void SelectAll();
    void EnsureCaretVisible();

  signals:
    void selectionChanged(bool hasSelection);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // A place between characters: row and column within the row.
    struct Place {
        int row = 0;
        int column = 0;
        friend bool operator==(const Place&, const Place&) = default;
    };

    qsizetype Offset(Place place) const;
    int RowHeight() const;
    qreal ColumnX(int row, int column) const;
    Place PlaceAt(QPoint viewportPos) const;
    // The caret moved to place; keep drops the anchor where it was.
    void MoveCaret(Place place, bool keep);
    // Moves the caret as key does; false for a key that moves nothing.
    bool MoveByKey(int key, bool control, bool keep);
    void UpdateScrollBars();
    void PaintRow(QPainter& painter, int row, int y) const;

    QString m_text;
    std::vector<qsizetype> m_rowStarts;
    int m_nWidestRow = 0; // in characters
    mutable int m_nWidthSeen = 0;
    Place m_anchor;
    Place m_caret;
};

#endif
