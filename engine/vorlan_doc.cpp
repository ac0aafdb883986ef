#include "engine/vorlan_doc.h"

#include "engine/count_notifier.h"
#include "platform/line_reader.h"
#include "settings/settings_store.h"

namespace {
// The report list takes its nodes ten at a time.
constexpr int kReportNodesPerBlock = 10;
} // namespace

CVorlanDoc::CVorlanDoc(CSettingsStore& settings, ICountNotifier& notifier)
    : m_listResult(kReportNodesPerBlock), m_listExclude(settings), m_settings(settings),
      m_notifier(notifier) {}

void CVorlanDoc::SerializeReport(CArchive& ar) {
    if (!ar.IsStoring())
        return;
    for (const auto* node = m_listResult.m_pHead; node; node = node->m_pNextNode)
        ar.Write(node->m_strLine.data(), node->m_strLine.size());
}

void CVorlanDoc::DeleteResult() {
    // Also refused when the run was started from another view of this
    // document: it would leave the run a report without its first lines.
    if (m_bRunning)
        return;
    m_listResult.RemoveAllLines();
    SetModifiedFlag(false);
    UpdateAllViews();
}

bool CVorlanDoc::OpenInput(CTextLineReader& reader, const char* path) const {
    if (!m_strDescriptorEntry.empty() && m_strDescriptorEntry == path)
        return reader.OpenDescriptor(m_nDescriptorFd);
    return reader.Open(path);
}
