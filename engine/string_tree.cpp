#include "engine/string_tree.h"

#include "tesmo.h"

#include <algorithm>
#include <cassert>
#include <cstring>
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

int CompareNodes(const CNode& a, const CNode& b) noexcept {
    for (int i = 0; i < 2; ++i) {
        if (a.m_nPrefix[i] != b.m_nPrefix[i])
            return BigEndian(a.m_nPrefix[i]) < BigEndian(b.m_nPrefix[i]) ? -1 : 1;
    }
    // Equal prefixes: both words are at least 16 bytes long, or equal.
    if (strnlen(a.m_pszWord, 16) < 16)
        return 0;
    return mbstricmp(a.m_pszWord + 16, b.m_pszWord + 16);
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
    if (!Settle())
        return nullptr;
    const WordKey key = MakeWordKey(pszWord);
    if (CNode* pFound = m_index.Find(key)) {
        ++pFound->m_nCount;
        ++m_nTotal;
        return pFound;
    }
    if (m_pLast && SortsAfter(key, *m_pLast))
        return InsertNew(key, m_pLast);
    return InsertNew(key, nullptr);
}

bool CStringTree::InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
    return InsertRepeated(MakeWordKey(pszWord), nTimes);
}

bool CStringTree::InsertRepeated(const WordKey& key, std::uint64_t nTimes) noexcept {
    // While the tree holds words (Insert was called, or the table settled),
    // a word that is there is counted in its node; no word is in both.
    if (m_pRoot->m_pszWord && !m_counted.Knows(key) && CountInTree(key, nTimes))
        return true;
    const CWordTally::Counted counted = m_counted.CountTimes(key, nTimes);
    if (counted == CWordTally::kNotCounted)
        return false;
    m_nCount += counted == CWordTally::kNew;
    m_nTotal += static_cast<std::int64_t>(nTimes);
    return true;
}

bool CStringTree::TakeTally(CShardedTally& tally, std::uint64_t& nWords) noexcept {
    if (m_pRoot->m_pszWord || m_counted.Size() != 0)
        return false;
    m_counted.Swap(tally);
    nWords = 0;
    for (std::size_t s = 0; s < CShardedTally::kShards; ++s) {
        const CWordTally& shard = m_counted.Shard(s);
        for (std::size_t i = 0; i < shard.Size(); ++i)
            nWords += shard.CountOf(i);
    }
    m_nCount = static_cast<std::int64_t>(m_counted.Size());
    m_nTotal += static_cast<std::int64_t>(nWords);
    return true;
}

// Counts a word of the counting paths nTimes in its node; false when the
// tree does not hold it.
bool CStringTree::CountInTree(const WordKey& key, std::uint64_t nTimes) noexcept {
    CNode* pNode = m_index.Find(key);
    if (!pNode)
        pNode = FindLinked(key);
    if (!pNode)
        return false;
    pNode->m_nCount += nTimes;
    m_nTotal += static_cast<std::int64_t>(nTimes);
    return true;
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
        pNode = LinkChild(pLast, true, m_nodes.Take());
    else if (bNeedNode)
        pNode = FindOrLink(key, bLinked);
    if (!bLinked) { // counted before, not yet indexed
        m_index.Add(key, pNode);
        ++pNode->m_nCount;
        ++m_nTotal;
        return pNode;
    }
    if (!m_inOrder.empty())
        std::vector<CNode*>().swap(m_inOrder);
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

CNode* CStringTree::FindLinked(const WordKey& key) const noexcept {
    CNode* pNode = m_pRoot;
    while (pNode) {
        const int r = CompareNodeWithKey(*pNode, key);
        if (r == 0)
            return pNode;
        pNode = Child(pNode, r < 0);
    }
    return nullptr;
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
            return LinkChild(pNode, r < 0, m_nodes.Take());
        }
        pNode = pNext;
    }
}

// Hangs pNew, red, on the free side bGreater of pParent.
CNode* CStringTree::LinkChild(CNode* pParent, bool bGreater, CNode* pNew) const noexcept {
    pNew->m_pParent = pParent;
    pNew->m_bRed = true;
    Child(pParent, bGreater) = pNew;
    return pNew;
}

// Red-black insertion repair. Rotations move nodes, never words, so every
// node keeps its word and count and the in-order sequence is unchanged.
void CStringTree::Rebalance(CNode* pNode) const noexcept {
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
void CStringTree::Rotate(CNode* pNode, bool bToLesser) const noexcept {
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
    m_counted.Clear();
    std::vector<CNode*>().swap(m_inOrder);
    m_pLast = nullptr;
    m_nLastOrder = 0;
    m_texts.Reset();
    m_nodes.Reset();
    m_pRoot = m_nodes.Take();
}

namespace {

// Hangs the n nodes of a (in order) below pParent as a tree whose subtrees
// differ in size by one at most, so every empty link lies on the last two
// levels: the nodes of the deepest level red and all others black make a
// valid red-black tree. The depth is logarithmic, and so is the recursion.
CNode* HangBalanced(CNode* const* a, std::size_t n, CNode* pParent, int depth, int redDepth) {
    if (n == 0)
        return nullptr;
    const std::size_t m = n / 2;
    CNode* pNode = a[m];
    pNode->m_pParent = pParent;
    pNode->m_bRed = depth == redDepth;
    pNode->m_pLesser = HangBalanced(a, m, pNode, depth + 1, redDepth);
    pNode->m_pGreater = HangBalanced(a + m + 1, n - m - 1, pNode, depth + 1, redDepth);
    return pNode;
}

} // namespace

bool CStringTree::Settle() const noexcept {
    if (m_counted.Size() == 0)
        return true;
    std::vector<std::uint32_t> order;
    std::vector<CNode*> nodes;
    const bool bSorted = m_counted.SortedOrder(order);
    if (!bSorted) { // one by one, in the order met
        try {
            order.resize(m_counted.Size());
        } catch (const std::bad_alloc&) {
            return false;
        }
        std::size_t i = 0;
        for (std::size_t s = 0; s < CShardedTally::kShards; ++s) {
            for (std::size_t k = 0; k < m_counted.Shard(s).Size(); ++k)
                order[i++] = static_cast<std::uint32_t>(s << CShardedTally::kIndexBits | k);
        }
    }
    if (!MakeNodes(order, nodes))
        return false;
    std::vector<std::uint32_t>().swap(order);
    // Once every word is in the tree the index is only a shortcut: a word it
    // misses is found in the tree and indexed again. Dropped now, its memory
    // serves the sort and the report instead.
    m_index.Release();
    if (!bSorted || !BuildBalanced(nodes)) {
        std::vector<CNode*>().swap(m_inOrder);
        for (CNode* pNode : nodes)
            LinkOneByOne(pNode);
    }
    for (CNode* pNode : nodes) {
        if (!m_pLast || CompareNodes(*m_pLast, *pNode) < 0)
            m_pLast = pNode;
    }
    m_nLastOrder = BigEndian(m_pLast->m_nPrefix[0]);
    m_counted.GiveTextsTo(m_texts);
    m_counted.Clear();
    return true;
}

// A node for each word of the tally, in order, unlinked. False when memory
// runs out: the nodes made so far stay unused in the arena until the table
// is emptied, and the table is as it was.
bool CStringTree::MakeNodes(const std::vector<std::uint32_t>& order,
                            std::vector<CNode*>& nodes) const noexcept {
    try {
        nodes.reserve(order.size());
        for (const std::uint32_t w : order) {
            m_nodes.Reserve();
            CNode* pNode = m_nodes.Take();
            pNode->m_pszWord = const_cast<char*>(m_counted.TextOf(w));
            pNode->m_nPrefix[0] = m_counted.PrefixOf(w)[0];
            pNode->m_nPrefix[1] = m_counted.PrefixOf(w)[1];
            pNode->m_nCount = m_counted.CountOf(w);
            nodes.push_back(pNode);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The words of the tally (in order, in their nodes) merged with the tree's,
// then the whole tree hung anew. False, with nothing changed, when memory
// is short.
bool CStringTree::BuildBalanced(const std::vector<CNode*>& counted) const noexcept {
    std::vector<CNode*> order;
    try {
        order.reserve(static_cast<std::size_t>(m_nCount));
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto next = counted.cbegin();
    Walk(m_pRoot, false, [&](const CNode& node) {
        while (next != counted.cend() && CompareNodes(**next, node) < 0)
            order.push_back(*next++);
        order.push_back(const_cast<CNode*>(&node));
    });
    order.insert(order.end(), next, counted.cend());
    int deepest = 0;
    while ((std::size_t{2} << deepest) <= order.size())
        ++deepest;
    m_pRoot = HangBalanced(order.data(), order.size(), nullptr, 0, deepest > 0 ? deepest : -1);
    m_inOrder = std::move(order);
    return true;
}

// Places one word of the tally by a descent of the tree, as Insert would.
void CStringTree::LinkOneByOne(CNode* pNode) const noexcept {
    if (!m_pRoot->m_pszWord) { // the first word of an empty table is its root
        m_pRoot = pNode;
        return;
    }
    CNode* pAt = m_pRoot;
    for (;;) {
        const bool bGreater = CompareNodes(*pAt, *pNode) < 0;
        CNode* pNext = Child(pAt, bGreater);
        if (!pNext) {
            LinkChild(pAt, bGreater, pNode);
            break;
        }
        pAt = pNext;
    }
    Rebalance(pNode);
}
