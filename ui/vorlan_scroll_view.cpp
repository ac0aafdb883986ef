#include "ui/vorlan_scroll_view.h"

#include "engine/file_list.h"
#include "settings/color_setting.h"
#include "settings/setting_keys.h"
#include "ui/command_ids.h"
#include "ui/concordance_window.h"
#include "ui/file_sel_dialog.h"
#include "ui/result_document.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <limits>

namespace {

// Lines are drawn one pitch apart: the character height and two pixels.
constexpr int kLineGap = 2;

QColor FromColorRef(ColorRef cr) {
    return QColor(cr & 0xFF, (cr >> 8) & 0xFF, (cr >> 16) & 0xFF);
}

void SetScrollRange(QScrollBar* bar, int extent, int visible, ScrollSteps steps) {
    bar->setRange(0, std::max(0, extent - visible));
    bar->setSingleStep(steps.line);
    bar->setPageStep(steps.page);
}

} // namespace

ReportLayout ComputeReportLayout(int charHeight, int scrollY, int viewHeight) {
    ReportLayout layout;
    const int height = std::max(1, charHeight);
    layout.pitch = height + kLineGap;
    layout.firstLine = std::max(0, scrollY) / layout.pitch;
    layout.firstTop = std::max(1, layout.firstLine * layout.pitch + 1);
    layout.maxLines = std::max(0, viewHeight) / height + 2;
    return layout;
}

// A huge report in a large font is taller than a scroll bar can count: its
// extent stops at the largest one rather than wrapping round to nothing.
QSize ReportExtent(const FontMetrics& metrics, int lineCount, int widestLine) {
    const qint64 height = qint64(std::max(0, lineCount)) * (metrics.height + kLineGap);
    return {CVorlanScrollView::kLeftMargin * 2 + std::max(0, widestLine),
            int(std::min<qint64>(height, std::numeric_limits<int>::max()))};
}

// A page keeps one line of the last window in sight; it is whole lines, so
// that paging from the top keeps lines on their slots.
ScrollSteps VerticalSteps(const FontMetrics& metrics, int viewHeight) {
    const int pitch = std::max(1, metrics.height) + kLineGap;
    return {pitch, std::max(1, viewHeight / pitch - 1) * pitch};
}

ScrollSteps HorizontalSteps(const FontMetrics& metrics, int viewWidth) {
    const int column = std::max(1, metrics.aveCharWidth);
    return {column, std::max(column, viewWidth - column)};
}

CVorlanScrollView::CVorlanScrollView(std::shared_ptr<CResultDocument> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDoc(std::move(doc)),
      m_optionDialogCommands(m_pDoc->Settings(), m_pDoc.get()) {
    setContextMenuPolicy(Qt::CustomContextMenu);
    ReadColors();
    m_pDoc->AddView(this);
    connect(m_pDoc.get(), &CResultDocument::contentChanged, this,
            &CVorlanScrollView::commandStateChanged);
    connect(m_pDoc.get(), &CResultDocument::linesReplaced, this, [this] { ForgetLines(); });
}

CVorlanScrollView::~CVorlanScrollView() {
    disconnect(m_pDoc.get(), nullptr, this, nullptr);
    m_pDoc->RemoveView(this);
}

bool CVorlanScrollView::LinesExist() const {
    return m_pDoc->LineCount() >= 1;
}

// One switch per function: every command of the window joins these two.
bool CVorlanScrollView::QueryCommand(int id, CommandState& state) const {
    if (CFontColorCommands::Handles(id) || COptionDialogCommands::Handles(id)) {
        state.enabled = true;
        return true;
    }
    switch (id) {
    case ID_COUNT_FREQUENCY:
        // A second view of a document that is counting must not start a
        // nested count on it either.
        state.enabled = !m_bCountBusy && !m_pDoc->IsCountRunning();
        return true;
    case ID_QUIT_COUNTING:
        state.enabled = true;
        return true;
    case ID_DELETE_RESULT:
        // Another view's count on the same document must not see its report
        // emptied under it, hence the document's own counting flag too.
        state.enabled = !m_bCountBusy && !m_pDoc->IsCountRunning() && LinesExist();
        return true;
    case ID_CONCORDANCE:
        state.enabled = !m_pDoc->IsCountRunning() && m_bMenuOnWord && CountFiles();
        return true;
    default:
        return QueryOutputCommand(id, state);
    }
}

void CVorlanScrollView::DoCommand(int id) {
    if (CFontColorCommands::Handles(id)) {
        m_fontColorCommands.Commands().DoCommand(id);
        return;
    }
    if (COptionDialogCommands::Handles(id)) {
        m_optionDialogCommands.DoCommand(id, window());
        return;
    }
    switch (id) {
    case ID_COUNT_FREQUENCY:
        OnCountFrequency();
        break;
    case ID_QUIT_COUNTING:
        OnQuitCounting();
        break;
    case ID_DELETE_RESULT:
        OnDeleteResult();
        break;
    case ID_CONCORDANCE:
        OpenConcordance(m_nMenuLine);
        break;
    default:
        DoOutputCommand(id);
        break;
    }
}

void CVorlanScrollView::SetCountBusy(bool busy) {
    m_bCountBusy = busy;
    emit commandStateChanged();
}

void CVorlanScrollView::OnCountFrequency() {
    if (m_bCountBusy || m_pDoc->IsCountRunning())
        return;
    CFileSelDialog dialog(m_pDoc->Settings(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The dialog let events through: another view may have started a count.
    if (m_bCountBusy || m_pDoc->IsCountRunning())
        return;
    SetCountBusy(true);
    m_listFiles.clear();

    const std::string dir = QFile::encodeName(dialog.Dir()).toStdString();
    const std::string file = QFile::encodeName(dialog.File()).toStdString();
    const bool subdirs = dialog.IncludeSubfolders();
    if (!BuildFileList(dir, file, subdirs, m_listFiles)) {
        m_pDoc->Notifier().Beep();
        m_pDoc->Notifier().ShowMessage("Failed...(/_;)");
        SetCountBusy(false);
        emit countFinished();
        return;
    }
    m_pDoc->CountWords(m_listFiles, dir + file);
    for (CVorlanScrollView* view : m_pDoc->Views())
        view->ScrollToTop();
    m_pDoc->UpdateAllViews();
    SetCountBusy(false);
    emit countFinished();
}

void CVorlanScrollView::OnQuitCounting() {
    m_pDoc->RequestQuit();
}

void CVorlanScrollView::OnDeleteResult() {
    if (m_bCountBusy || m_pDoc->IsCountRunning())
        return;
    m_pDoc->DeleteResult();
}

int CVorlanScrollView::LineAt(const QPoint& pos) const {
    const int pitch = m_tm.height + 2;
    const int y = pos.y() + verticalScrollBar()->value() - 1;
    return pitch > 2 && y >= 0 ? y / pitch : -1;
}

const CExStringList::CLineNode* CVorlanScrollView::WordLine(int line) {
    if (line < 0)
        return nullptr;
    const CExStringList::CLineNode* node = m_lineIndex.Line(m_pDoc->Report(), line);
    return node && node->IsWordLine() ? node : nullptr;
}

void CVorlanScrollView::SetMenuPoint(const QPoint& pos) {
    m_nMenuLine = LineAt(pos);
    m_bMenuOnWord = WordLine(m_nMenuLine) != nullptr;
}

// This view's count, or another view's of the same document when this one
// counted nothing.
const std::vector<std::string>* CVorlanScrollView::CountFiles() const {
    if (!m_listFiles.empty())
        return &m_listFiles;
    for (const CVorlanScrollView* view : m_pDoc->Views()) {
        if (!view->Files().empty())
            return &view->Files();
    }
    return nullptr;
}

bool CVorlanScrollView::OpenConcordance(int line) {
    const CExStringList::CLineNode* node = WordLine(line);
    const std::vector<std::string>* files = CountFiles();
    if (!node || !files || m_pDoc->IsCountRunning())
        return false;
    auto* window = new CConcordanceWindow(m_pDoc, std::string(node->Word()), node->WordCount(),
                                          *files, this->window());
    window->show();
    window->Search();
    return true;
}

void CVorlanScrollView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OpenConcordance(LineAt(event->position().toPoint())))
        return;
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CVorlanScrollView::ScrollToTop() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void CVorlanScrollView::ForgetLines() {
    m_bMenuOnWord = false;
    m_lineIndex.Reset();
    m_nWidestLine = 0;
    m_pMeasuredLongest = nullptr;
}

void CVorlanScrollView::OnUpdate() {
    ForgetLines();
    UpdateScrollExtent();
    viewport()->update();
}

void CVorlanScrollView::SyncDecoder() {
    if (!m_decoder || m_decoder->CharSet() != m_logFont.lfCharSet)
        m_decoder.emplace(m_logFont.lfCharSet);
}

void CVorlanScrollView::SetLogFont(const LogFont& logFont) {
    m_logFont = logFont;
    m_font = FontFromLogFont(m_logFont);
    m_bFontBuilt = true;
    SyncDecoder();
    m_tm = MeasureFont(m_font, viewport());
    // Widths measured in the old font say nothing of the new one.
    m_nWidestLine = 0;
    m_pMeasuredLongest = nullptr;
    UpdateScrollExtent();
    viewport()->update();
}

void CVorlanScrollView::ReadColors() {
    const CSettingsStore& settings = m_pDoc->Settings();
    CColorSetting::Load(settings, setting_keys::kColorSection, setting_keys::kBkColor, m_crBack,
                        255, 255, 255);
    CColorSetting::Load(settings, setting_keys::kColorSection, setting_keys::kTxtColor, m_crText, 0,
                        0, 0);
}

// First display: the font comes from the "Display" record, which nothing in
// the program writes, so every new window starts with the same font.
void CVorlanScrollView::InitView() {
    m_bInitDone = true;
    LogFont logFont;
    ColorRef unused = 0;
    CFontSetting::Load(m_pDoc->Settings(), setting_keys::kFontSection,
                       setting_keys::kDisplayFontPrefix, logFont, unused);
    SetLogFont(logFont);
}

void CVorlanScrollView::showEvent(QShowEvent* event) {
    if (!m_bInitDone)
        InitView();
    QAbstractScrollArea::showEvent(event);
}

void CVorlanScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_bInitDone)
        UpdateScrollExtent();
}

void CVorlanScrollView::scrollContentsBy(int, int) {
    viewport()->update();
}

void CVorlanScrollView::UpdateScrollExtent() {
    const QSize extent = ReportExtent(m_tm, m_pDoc->LineCount(), m_nWidestLine);
    const QSize visible = viewport()->size();
    SetScrollRange(horizontalScrollBar(), extent.width(), visible.width(),
                   HorizontalSteps(m_tm, visible.width()));
    SetScrollRange(verticalScrollBar(), extent.height(), visible.height(),
                   VerticalSteps(m_tm, visible.height()));
}

// Home and End (with or without Ctrl) go to the first and the last line;
// the arrows and the page keys are the base class's, with the steps above.
void CVorlanScrollView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    const bool home = event->key() == Qt::Key_Home;
    if ((home || event->key() == Qt::Key_End) && others == Qt::NoModifier) {
        verticalScrollBar()->triggerAction(home ? QAbstractSlider::SliderToMinimum
                                                : QAbstractSlider::SliderToMaximum);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// The widest line seen so far: those drawn, measured as drawn, and the
// longest the line index has passed. It only grows until the report or
// the font changes, so the extent does not shrink under the user.
void CVorlanScrollView::WidenTo(const QFontMetrics& metrics) {
    const CExStringList::CLineNode* longest = m_lineIndex.LongestLine(m_pDoc->Report());
    if (!longest || longest == m_pMeasuredLongest)
        return;
    m_pMeasuredLongest = longest;
    const std::string_view body = ReportLineBody(longest->m_strLine);
    m_nWidestLine =
        std::max(m_nWidestLine, metrics.horizontalAdvance(m_decoder->DecodeForDisplay(body)));
}

void CVorlanScrollView::paintEvent(QPaintEvent*) {
    if (!m_bInitDone)
        InitView();
    QPainter painter(viewport());
    // The colours are read before the background is filled, so that a
    // colour chosen in another window reaches the whole of this one at once.
    ReadColors();
    painter.fillRect(viewport()->rect(), FromColorRef(m_crBack));
    PaintReport(painter);
}

void CVorlanScrollView::PaintReport(QPainter& painter) {
    painter.setFont(m_bFontBuilt ? m_font : font());
    m_tm = MeasureFont(painter.font(), viewport());
    const QFontMetrics metrics(painter.font(), viewport());
    UpdateScrollExtent();

    const int dx = -horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value();
    const ReportLayout layout = ComputeReportLayout(m_tm.height, scrollY, viewport()->height());
    const CExStringList& report = m_pDoc->Report();
    const CExStringList::CLineNode* node = m_lineIndex.Line(report, layout.firstLine);

    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(FromColorRef(m_crBack));
    painter.setPen(FromColorRef(m_crText));
    int y = layout.firstTop;
    for (int drawn = 0; node && drawn < layout.maxLines; ++drawn, node = node->m_pNextNode) {
        const std::string_view body = ReportLineBody(node->m_strLine);
        if (!body.empty()) {
            const QString text = m_decoder->DecodeForDisplay(body);
            painter.drawText(kLeftMargin + dx, y - scrollY + m_tm.ascent, text);
            m_nWidestLine = std::max(m_nWidestLine, metrics.horizontalAdvance(text));
        }
        y += layout.pitch;
    }
    WidenTo(metrics);
    UpdateScrollExtent();
}
