#include "ui/report_line_index.h"

const CReportLineIndex::CLineNode* CReportLineIndex::Line(const CExStringList& list,
                                                          std::int32_t index) {
    if (index < 0 || index >= list.m_nLines)
        return nullptr;
    if (!Follows(list))
        Reset();
    const auto wanted = static_cast<std::size_t>(index);
    if (m_nodes.empty() && list.m_pHead)
        Keep(list.m_pHead);
    while (m_nodes.size() <= wanted && !m_nodes.empty()) {
        const CLineNode* next = m_nodes.back()->m_pNextNode;
        if (!next)
            return nullptr;
        Keep(next);
    }
    return m_nodes.empty() ? nullptr : m_nodes[wanted];
}

void CReportLineIndex::Keep(const CLineNode* node) {
    m_nodes.push_back(node);
    if (!m_pLongest || node->m_strLine.size() > m_pLongest->m_strLine.size())
        m_pLongest = node;
}
