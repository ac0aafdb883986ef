#include "ui/vorlan_scroll_view.h"

#include "settings/color_setting.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/font_convert.h"
#include "ui/result_document.h"

#include <QPainter>

namespace {

QColor FromColorRef(unsigned cr) {
    return QColor(cr & 0xFF, (cr >> 8) & 0xFF, (cr >> 16) & 0xFF);
}

} // namespace

CVorlanScrollView::CVorlanScrollView(std::shared_ptr<CResultDocument> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDoc(std::move(doc)),
      m_fontColorCommands(AppSettings(), *this) {
    ReadColors();
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_pDoc->AddView(this);
    connect(m_pDoc.get(), &CResultDocument::contentChanged, this,
            &CVorlanScrollView::commandStateChanged);
}

CVorlanScrollView::~CVorlanScrollView() {
    m_pDoc->RemoveView(this);
}

bool CVorlanScrollView::LinesExist() const {
    return m_pDoc->LineCount() >= 1;
}

// The commands this view carries out today. The count, font, colour, option,
// print, copy and save commands join this switch as they are wired; until
// then no target handles them and they show disabled.
bool CVorlanScrollView::QueryCommand(int id, CommandState& state) const {
    if (CFontColorCommands::Handles(id)) {
        state.enabled = true;
        return true;
    }
    switch (id) {
    case ID_FILE_OPEN:
        // A result window never opens files; only the bare main window does.
        state.enabled = false;
        return true;
    case ID_QUIT_COUNTING:
        state.enabled = true;
        return true;
    case ID_DELETE_RESULT:
        // Another view's count on the same document must not see its report
        // emptied under it, hence the document's own counting flag too.
        state.enabled = !m_bCountBusy && !m_pDoc->IsCounting() && LinesExist();
        return true;
    default:
        return false;
    }
}

void CVorlanScrollView::DoCommand(int id) {
    if (CFontColorCommands::Handles(id)) {
        m_fontColorCommands.DoCommand(id);
        return;
    }
    switch (id) {
    case ID_QUIT_COUNTING:
        OnQuitCounting();
        break;
    case ID_DELETE_RESULT:
        OnDeleteResult();
        break;
    default:
        break;
    }
}

void CVorlanScrollView::OnQuitCounting() {
    m_pDoc->RequestQuit();
}

void CVorlanScrollView::OnDeleteResult() {
    if (m_bCountBusy || m_pDoc->IsCounting())
        return;
    m_pDoc->DeleteResult();
}

void CVorlanScrollView::paintEvent(QPaintEvent*) {
    ReadColors();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), FromColorRef(m_crBack));
    // The report's lines are drawn over it in m_crText once the document plugs in.
}

// ---- Font and colours --------------------------------------------------

void CVorlanScrollView::ReadColors() {
    CColorSetting::Load(AppSettings(), "Color", "BkColor", m_crBack, 255, 255, 255);
    CColorSetting::Load(AppSettings(), "Color", "TxtColor", m_crText, 0, 0, 0);
}

void CVorlanScrollView::SetViewFont(const LogFont& logFont) {
    m_logFont = logFont;
    m_font = FontFromLogFont(logFont);
    viewport()->setFont(m_font);
    viewport()->update();
}

void CVorlanScrollView::SetTextColor(ColorRef color) {
    m_crText = color;
    viewport()->update();
}

void CVorlanScrollView::SetBackColor(ColorRef color) {
    m_crBack = color;
    viewport()->update();
}

void CVorlanScrollView::UpdateAllViews() {
    m_pDoc->UpdateAllViews();
}
