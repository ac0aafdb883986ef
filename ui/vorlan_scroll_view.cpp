#include "ui/vorlan_scroll_view.h"

#include "ui/command_ids.h"
#include "ui/result_document.h"

#include <QPainter>

namespace {

QColor FromColorRef(unsigned cr) {
    return QColor(cr & 0xFF, (cr >> 8) & 0xFF, (cr >> 16) & 0xFF);
}

} // namespace

CVorlanScrollView::CVorlanScrollView(std::shared_ptr<CResultDocument> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDoc(std::move(doc)) {
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
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), FromColorRef(m_crBack));
    // The report's lines are drawn over it in m_crText once the document plugs in.
}
