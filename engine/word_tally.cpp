#include "engine/word_tally.h"

#include <new>

CNode* CWordTally::InsertNew(const WordKey& key) noexcept {
    try {
        m_index.ReserveOne();
        m_texts.Reserve(std::size_t{key.nLength} + 1);
        m_nodes.Reserve();
    } catch (const std::bad_alloc&) {
        --m_nTotal;
        return nullptr;
    }
    CNode* pNode = m_nodes.Take();
    pNode->m_pszWord = m_texts.Copy(key.pszText, key.nLength);
    pNode->m_nPrefix[0] = key.nPrefix[0];
    pNode->m_nPrefix[1] = key.nPrefix[1];
    pNode->m_nCount = 1;
    m_index.Add(key, pNode);
    (m_pLast ? m_pLast->m_pGreater : m_pFirst) = pNode;
    m_pLast = pNode;
    return pNode;
}
