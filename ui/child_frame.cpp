#include "ui/child_frame.h"

#include "ui/command_ids.h"
#include "ui/result_document.h"
#include "ui/save_report.h"
#include "ui/vorlan_scroll_view.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(std::shared_ptr<CResultDocument> doc, QWidget* parent)
    : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/vorlan/result.png")));
    CResultDocument* document = doc.get();
    m_pView = new CVorlanScrollView(std::move(doc), this);
    setWidget(m_pView);
    connect(document, &CResultDocument::captionsChanged, this, &CChildFrame::UpdateCaption);
    UpdateCaption();
}

// The view goes down with the base class, after this frame's own part, and
// tells its document, which must no longer call back into this frame.
CChildFrame::~CChildFrame() {
    disconnect(GetDocument(), nullptr, this, nullptr);
}

CResultDocument* CChildFrame::GetDocument() const {
    return m_pView->GetDocument();
}

QString CChildFrame::Caption() const {
    const CResultDocument* doc = GetDocument();
    int number = doc->WindowNumber(m_pView);
    return number ? QStringLiteral("%1:%2").arg(doc->Title()).arg(number) : doc->Title();
}

void CChildFrame::UpdateCaption() {
    setWindowTitle(Caption());
}

bool CChildFrame::QueryCommand(int id, CommandState& state) const {
    if (id != ID_FILE_CLOSE)
        return false;
    state.enabled = true;
    return true;
}

// Close closes the document, that is every window showing it.
void CChildFrame::DoCommand(int id) {
    if (id != ID_FILE_CLOSE || GetDocument()->IsCountRunning())
        return;
    std::vector<CVorlanScrollView*> views = GetDocument()->Views();
    for (CVorlanScrollView* view : views) {
        if (auto* frame = qobject_cast<CChildFrame*>(view->parentWidget()); frame && frame != this)
            frame->close();
    }
    close();
}

// A document refuses to close while a count runs on it, and no window closes
// while its own view runs the count command: the count runs inside that
// view's command. Other windows of a document may close at any time; the
// last one asks first whether a modified report is to be saved.
void CChildFrame::closeEvent(QCloseEvent* event) {
    CResultDocument* doc = GetDocument();
    const bool lastWindow = doc->Views().size() == 1;
    if (m_pView->IsCountBusy() || (lastWindow && doc->IsCountRunning()) ||
        (lastWindow && !SaveModified())) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    // The window is deleted later, perhaps only after a count has returned;
    // the document must stop counting it among its windows now, so that
    // closing the document's other window asks the save question.
    if (event->isAccepted())
        doc->RemoveView(m_pView);
}

// True when the window may close: the report is not modified, or the user
// saved it or chose not to.
bool CChildFrame::SaveModified() {
    return ::SaveModified(GetDocument()->Doc(), this);
}
