#include "ui/report_line_index.h"

const CReportLineIndex::CLineNode* CReportLineIndex::Line(const CExStringList& list,
                                                          std::int32_t index) {
    if (index < 0 || index >= list.m_nLines)
        return nullptr;
    if (!m_nodes.empty() &&
        (m_nodes.front() != list.m_pHead || std::int32_t(m_nodes.size()) > list.m_nLines))
        m_nodes.clear();
    const auto wanted = static_cast<std::size_t>(index);
    if (m_nodes.empty() && list.m_pHead)
        m_nodes.push_back(list.m_pHead);
    while (m_nodes.size() <= wanted && !m_nodes.empty()) {
        const CLineNode* next = m_nodes.back()->m_pNextNode;
        if (!next)
            return nullptr;
        m_nodes.push_back(next);
    }
    return m_nodes.empty() ? nullptr : m_nodes[wanted];
}
