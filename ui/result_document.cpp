#include "ui/result_document.h"

#include "ui/vorlan_scroll_view.h"

#include <algorithm>

CResultDocument::CResultDocument(QString title, QObject* parent)
    : QObject(parent), m_strTitle(std::move(title)) {}

void CResultDocument::SetTitle(const QString& title) {
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    emit captionsChanged();
}

void CResultDocument::DeleteResult() {
    // Nothing to remove while the report is empty; the views still repaint.
    UpdateAllViews();
}

void CResultDocument::AddView(CVorlanScrollView* view) {
    m_views.push_back(view);
    emit captionsChanged();
}

void CResultDocument::RemoveView(CVorlanScrollView* view) {
    std::erase(m_views, view);
    emit captionsChanged();
}

int CResultDocument::WindowNumber(const CVorlanScrollView* view) const {
    if (m_views.size() < 2)
        return 0;
    auto it = std::find(m_views.begin(), m_views.end(), view);
    return it == m_views.end() ? 0 : int(it - m_views.begin()) + 1;
}

void CResultDocument::UpdateAllViews() {
    for (CVorlanScrollView* view : m_views)
        view->viewport()->update();
    emit contentChanged();
}
