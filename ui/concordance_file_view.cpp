#include "ui/concordance_file_view.h"

#include "engine/word_index.h"
#include "platform/line_reader.h"
#include "ui/gui_count_notifier.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

CConcordanceFileView::CConcordanceFileView(std::string path, std::uint64_t line,
                                           std::uint64_t column, std::string hit, bool tagsRemoved,
                                           QWidget* parent)
    : QDialog(parent), m_pNote(new QLabel(this)), m_pText(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("concordanceFileView"));
    setWindowTitle(EngineText(path));
    m_pNote->setObjectName(QStringLiteral("concordanceFileNote"));
    m_pNote->setWordWrap(true);
    m_pText->setObjectName(QStringLiteral("concordanceFileText"));
    m_pText->setReadOnly(true);
    m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pNote);
    layout->addWidget(m_pText);
    resize(800, 500);
    Show(Read(path, line), line, column, hit, tagsRemoved);
}

// The physical lines as the count reads them, all of them or those around
// line: the pieces of a long line are joined again.
CConcordanceFileView::Excerpt CConcordanceFileView::Read(const std::string& path,
                                                         std::uint64_t line) {
    Excerpt excerpt;
    excerpt.nFirst = line > kLinesAround ? line - kLinesAround : 1;
    const std::uint64_t last = line + kLinesAround;
    CTextLineReader reader;
    if (!reader.Open(path.c_str()))
        return excerpt;
    excerpt.bOpened = true;
    std::vector<char> buffer(64 * 1024);
    std::string current;
    std::uint64_t number = 1;
    std::size_t length = 0;
    while (number <= last && reader.ReadLine(buffer.data(), buffer.size(), &length)) {
        const bool ends = length > 0 && buffer[length - 1] == '\n';
        if (number >= excerpt.nFirst)
            current.append(buffer.data(), ends ? length - 1 : length);
        if (!ends)
            continue;
        if (number >= excerpt.nFirst)
            excerpt.lines.push_back(std::move(current));
        current.clear();
        ++number;
    }
    if (!current.empty())
        excerpt.lines.push_back(std::move(current));
    return excerpt;
}

void CConcordanceFileView::Show(const Excerpt& excerpt, std::uint64_t line, std::uint64_t column,
                                const std::string& hit, bool tagsRemoved) {
    QStringList lines;
    for (const std::string& text : excerpt.lines)
        lines << EngineText(text);
    m_pText->setPlainText(lines.join(QLatin1Char('\n')));
    QString note;
    if (!excerpt.bOpened) {
        note = tr("The file cannot be opened now.");
    } else if (excerpt.nFirst > 1 || excerpt.lines.size() > 2 * kLinesAround) {
        note = tr("Lines %1 to %2 of the file.")
                   .arg(excerpt.nFirst)
                   .arg(excerpt.nFirst + excerpt.lines.size() - 1);
    }
    const std::uint64_t index = line - excerpt.nFirst;
    const bool there = index < excerpt.lines.size() &&
                       (tagsRemoved || (column - 1 + hit.size() <= excerpt.lines[index].size() &&
                                        FoldedEqual(excerpt.lines[index].data() + column - 1,
                                                    hit.data(), hit.size())));
    if (excerpt.bOpened && !there)
        note += (note.isEmpty() ? QString() : QStringLiteral(" ")) +
                tr("The file changed since the concordance: line %1 no longer holds the hit.")
                    .arg(line);
    m_pNote->setText(note);
    m_pNote->setVisible(!note.isEmpty());
    const QTextBlock block = m_pText->document()->findBlockByNumber(static_cast<int>(index));
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    m_pText->setTextCursor(cursor);
    QTextEdit::ExtraSelection selection;
    selection.cursor = cursor;
    selection.format.setBackground(palette().highlight());
    selection.format.setForeground(palette().highlightedText());
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    m_pText->setExtraSelections({selection});
    m_pText->centerCursor();
}
