#include "ui/child_frame.h"

#include "ui/command_ids.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/save_report.h"
#include "ui/vorlan_scroll_view.h"

#include <QCloseEvent>

bool AskStopCountingAndClose(QWidget* parent) {
    return OutputServices().question(parent, QStringLiteral("Stop counting and close?")) ==
           QMessageBox::Yes;
}

CChildFrame::CChildFrame(std::shared_ptr<CResultDocument> doc, QWidget* parent)
    : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/vorlan/result.png")));
    CResultDocument* document = doc.get();
    m_pView = new CVorlanScrollView(std::move(doc), this);
    setWidget(m_pView);
    connect(document, &CResultDocument::captionsChanged, this, &CChildFrame::UpdateCaption);
    // Queued: the count's command is still on the stack when it says so.
    connect(m_pView, &CVorlanScrollView::countFinished, this, &CChildFrame::CloseAfterCount,
            Qt::QueuedConnection);
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
    QString caption = number ? QStringLiteral("%1:%2").arg(doc->Title()).arg(number) : doc->Title();
    const QString note = doc->PartialNote();
    return note.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, note);
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

// Close closes the document, that is every window showing it; the window
// whose view counts asks first whether to stop.
void CChildFrame::DoCommand(int id) {
    if (id != ID_FILE_CLOSE)
        return;
    std::vector<CVorlanScrollView*> views = GetDocument()->Views();
    for (CVorlanScrollView* view : views) {
        if (auto* frame = qobject_cast<CChildFrame*>(view->parentWidget()); frame && frame != this)
            frame->close();
    }
    close();
}

// A document does not close while a count runs on it, and no window closes
// while its own view runs the count command: the count runs inside that
// view's command. Other windows of a document may close at any time; the
// last one asks first whether a modified report is to be saved.
void CChildFrame::closeEvent(QCloseEvent* event) {
    CResultDocument* doc = GetDocument();
    const bool lastWindow = doc->Views().size() == 1;
    if (CountKeepsOpen() || (lastWindow && !SaveModified())) {
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

// While the count that keeps this window open runs, the user is asked once
// whether to stop it; on Yes the count stops at its next line and the
// window closes when it has returned (CloseAfterCount). True while the
// window must stay.
bool CChildFrame::CountKeepsOpen() {
    CResultDocument* doc = GetDocument();
    const bool lastWindow = doc->Views().size() == 1;
    if (!m_pView->IsCountBusy() && !(lastWindow && doc->IsCountRunning()))
        return false;
    if (!m_bCloseAfterCount && AskStopCountingAndClose(this)) {
        m_bCloseAfterCount = true;
        doc->StopForClose();
    }
    return true;
}

void CChildFrame::CloseAfterCount() {
    if (!m_bCloseAfterCount)
        return;
    m_bCloseAfterCount = false;
    GetDocument()->CancelStopForClose();
    close();
}

// True when the window may close: the report is not modified, or the user
// saved it or chose not to. The question names a partial report as such.
bool CChildFrame::SaveModified() {
    return ::SaveModified(GetDocument()->Doc(), this, GetDocument()->TitleWithNote());
}
