#include "engine/string_tree.h"

#include "tesmo.h"

#include <cassert>
#include <new>

namespace {

inline CNode*& Child(CNode* pNode, bool bGreater) noexcept {
    return bGreater ? pNode->m_pGreater : pNode->m_pLesser;
}

inline bool IsRed(const CNode* pNode) noexcept {
    return pNode && pNode->m_bRed;
}

inline std::uint64_t BigEndian(std::uint64_t x) noexcept {
    return __builtin_bswap64(x);
}

} // namespace

// The folded prefixes decide almost always; only words that share their
// first 16 bytes compare their texts. A key shorter than 16 bytes ends inside
// its prefix, so equal prefixes then mean equal words.
int CompareNodeWithKey(const CNode& node, const WordKey& key) noexcept {
    for (int i = 0; i < 2; ++i) {
        if (node.m_nPrefix[i] != key.nPrefix[i])
            return BigEndian(node.m_nPrefix[i]) < BigEndian(key.nPrefix[i]) ? -1 : 1;
    }
    if (key.nLength < 16)
        return 0;
    return mbstricmp(node.m_pszWord + 16, key.pszText + 16);
}

CStringTree::CStringTree() : m_nCount(0), m_nTotal(0) {
    m_pRoot = m_nodes.Take();
}

CStringTree::~CStringTree() {
    FreeSubtree(m_pRoot);
    m_nCount = 0;
    m_nTotal = 0;
}

CNode* CStringTree::Insert(const char* pszWord, const CNode* pStart) noexcept {
    assert(pStart == m_pRoot);
    (void)pStart;
    return Insert(pszWord);
}

CNode* CStringTree::Insert(const char* pszWord) noexcept {
    const WordKey key = MakeWordKey(pszWord);
    if (CNode* pFound = m_index.Find(key)) {
        ++pFound->m_nCount;
        ++m_nTotal;
        return pFound;
    }
    return InsertNew(key);
}

CNode* CStringTree::InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
    // By key, so that words that come in ascending order go in fastest.
    CNode* pNode = InsertKey(MakeWordKey(pszWord));
    if (pNode && nTimes > 1) {
        pNode->m_nCount += nTimes - 1;
        m_nTotal += static_cast<std::int64_t>(nTimes - 1);
    }
    return pNode;
}

// A word the index does not know. Words appended after the last one in
// order stay out of the index (a word list would only fill it with words
// never met again); the first repeat of such a word finds it in the tree
// and puts it in the index then.
CNode* CStringTree::InsertNew(const WordKey& key, CNode* pLast) noexcept {
    // Everything a new word needs is had before the tree is touched.
    const bool bNeedNode = m_pRoot->m_pszWord != nullptr;
    try {
        if (!pLast)
            m_index.ReserveOne();
        m_texts.Reserve(std::size_t{key.nLength} + 1);
        if (bNeedNode)
            m_nodes.Reserve();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    bool bLinked = true;
    CNode* pNode = m_pRoot;
    if (pLast)
        pNode = LinkChild(pLast, true);
    else if (bNeedNode)
        pNode = FindOrLink(key, bLinked);
    if (!bLinked) { // counted before, not yet indexed
        m_index.Add(key, pNode);
        ++pNode->m_nCount;
        ++m_nTotal;
        return pNode;
    }
    pNode->m_pszWord = m_texts.Copy(key.pszText, key.nLength);
    pNode->m_nPrefix[0] = key.nPrefix[0];
    pNode->m_nPrefix[1] = key.nPrefix[1];
    pNode->m_nCount = 1;
    if (!pLast)
        m_index.Add(key, pNode);
    if (!m_pLast || CompareNodeWithKey(*m_pLast, key) < 0) {
        m_pLast = pNode;
        m_nLastOrder = BigEndian(key.nPrefix[0]);
    }
    if (bNeedNode)
        Rebalance(pNode);
    ++m_nCount;
    ++m_nTotal;
    return pNode;
}

// Descends from the root by mbstricmp and hangs a new red node where the
// word belongs; bLinked false means an equal word was found instead.
CNode* CStringTree::FindOrLink(const WordKey& key, bool& bLinked) noexcept {
    CNode* pNode = m_pRoot;
    for (;;) {
        const int r = CompareNodeWithKey(*pNode, key);
        if (r == 0) {
            bLinked = false;
            return pNode;
        }
        CNode*& pNext = Child(pNode, r < 0);
        if (!pNext) {
            bLinked = true;
            return LinkChild(pNode, r < 0);
        }
        pNode = pNext;
    }
}

// Hangs a new red node on the free side bGreater of pParent.
CNode* CStringTree::LinkChild(CNode* pParent, bool bGreater) noexcept {
    CNode* pNew = m_nodes.Take();
    pNew->m_pParent = pParent;
    pNew->m_bRed = true;
    Child(pParent, bGreater) = pNew;
    return pNew;
}

// Red-black insertion repair. Rotations move nodes, never words, so every
// node keeps its word and count and the in-order sequence is unchanged.
void CStringTree::Rebalance(CNode* pNode) noexcept {
    while (pNode != m_pRoot && IsRed(pNode->m_pParent)) {
        CNode* pParent = pNode->m_pParent;
        CNode* pGrand = pParent->m_pParent; // exists: a red node is never the root
        const bool bParentGreater = pParent == pGrand->m_pGreater;
        CNode* pUncle = Child(pGrand, !bParentGreater);
        if (IsRed(pUncle)) {
            pParent->m_bRed = false;
            pUncle->m_bRed = false;
            pGrand->m_bRed = true;
            pNode = pGrand;
            continue;
        }
        if (pNode == Child(pParent, !bParentGreater)) {
            pNode = pParent;
            Rotate(pNode, !bParentGreater);
            pParent = pNode->m_pParent;
        }
        pParent->m_bRed = false;
        pGrand->m_bRed = true;
        Rotate(pGrand, bParentGreater);
    }
    m_pRoot->m_bRed = false;
}

// Moves pNode down to its lesser side (bToLesser) or its greater side; the
// child on the other side takes its place.
void CStringTree::Rotate(CNode* pNode, bool bToLesser) noexcept {
    CNode* pUp = Child(pNode, bToLesser);
    CNode*& pInner = Child(pUp, !bToLesser);
    Child(pNode, bToLesser) = pInner;
    if (pInner)
        pInner->m_pParent = pNode;
    pUp->m_pParent = pNode->m_pParent;
    if (!pNode->m_pParent)
        m_pRoot = pUp;
    else
        Child(pNode->m_pParent, pNode == pNode->m_pParent->m_pGreater) = pUp;
    pInner = pNode;
    pNode->m_pParent = pUp;
}

void CStringTree::Clear() noexcept {
    FreeSubtree(m_pRoot);
    m_nCount = 0;
    m_nTotal = 0;
}

void CStringTree::FreeSubtree(CNode* pNode) noexcept {
    assert(pNode == m_pRoot);
    (void)pNode;
    // Nodes and texts live in the arenas; dropping those frees them all.
    m_index.Release();
    m_pLast = nullptr;
    m_nLastOrder = 0;
    m_texts.Reset();
    m_nodes.Reset();
    m_pRoot = m_nodes.Take();
}
