// The word table: the distinct words of one count run with a count each,
// in the order of mbstricmp (bytes compared by value after A-Z are folded to
// a-z). A red-black tree keeps any insertion order, a sorted word list
// included, at logarithmic depth; an index in front of it finds a word that
// is already counted without a single comparison of the tree.
//
// The counting paths (InsertKey, InsertRepeated) keep their words apart, in
// a tally of compact entries with no tree node: a word costs about 48 bytes
// and one lookup whatever the size of the vocabulary. The writers sort the
// tally once (a radix sort of the folded prefixes) and walk that order;
// Settle builds the tree's nodes from the sorted words in one sweep, for
// anyone who walks the tree itself.
#ifndef VORLAN_ENGINE_STRING_TREE_H
#define VORLAN_ENGINE_STRING_TREE_H

#include "engine/radix_sort.h"
#include "engine/sharded_tally.h"
#include "engine/tree_arena.h"
#include "engine/word_index.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

class CExStringList;
class IReportLineSink;

// One distinct word. Nodes and their texts belong to the table's storage;
// they stay valid until the table is emptied or destroyed.
// One cache line: counting a word already met touches only its node.
class alignas(64) CNode {
  public:
    CNode* m_pGreater = nullptr; // words that sort after this one
    CNode* m_pLesser = nullptr;  // words that sort before this one
    CNode* m_pParent = nullptr;  // null for the root
    char* m_pszWord = nullptr;   // the text as first met; null only in an empty table's root
    std::uint64_t m_nCount = 0;  // occurrences; 64 bits fit in the line's spare bytes
    bool m_bRed = false;         // balancing colour; the root is always black
    // The word's first 16 bytes as its key has them (WordKey::nPrefix):
    // equal words have equal prefixes, and the prefixes compared as
    // big-endian numbers order words like mbstricmp does.
    std::uint64_t m_nPrefix[2] = {0, 0};
};
static_assert(sizeof(CNode) == 64, "a node is one cache line");

class CStringTree {
  public:
    // Throws std::bad_alloc when not even the empty root can be had.
    CStringTree();
    virtual ~CStringTree();
    CStringTree(const CStringTree&) = delete;
    CStringTree& operator=(const CStringTree&) = delete;

    // Counts pszWord (copied; the caller keeps its string) and returns the
    // node that holds it, placed in the tree (the words of the counting
    // paths are settled first). When memory runs out it returns null
    // instead: the word is not counted and the table is exactly as it was,
    // still consistent and destructible, so the caller can stop in order.
    CNode* Insert(const char* pszWord) noexcept;
    // The same for a word that has kWordPadding readable bytes after its
    // terminator (a word of a padded line buffer), the scan's hot path, in
    // two steps, so that a caller can compute the key of the next word
    // (which starts the load of its slot) before it counts the current one.
    // The word of a key must stay unchanged until InsertKey has counted it.
    // InsertKey is false, with nothing changed, when memory runs out.
    WordKey PrepareKey(const char* pszWord) const noexcept { return m_counted.PrepareKey(pszWord); }
    inline bool InsertKey(const WordKey& key) noexcept;
    // Starts loading the entry that InsertKey (key) most likely counts.
    void PrefetchNode(const WordKey& key) const noexcept { m_counted.PrefetchNode(key); }
    // Starts loading the slot where InsertKey (key) looks first.
    void PrefetchSlot(const WordKey& key) const noexcept { m_counted.PrefetchSlot(key); }
    // Counts pszWord nTimes times at once (nTimes > 0), as that many Inserts
    // would: a word new to the table keeps this text. False, with nothing
    // changed, when memory runs out.
    bool InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept;
    // The same for a word whose key is known (any NUL-terminated word).
    bool InsertRepeated(const WordKey& key, std::uint64_t nTimes) noexcept;
    // Counts every word of part as InsertRepeated of each, in part's order,
    // would (table_merge.cpp): the shards on up to nThreads threads at once,
    // this one among them, which alone calls pump(), every few hundred
    // words. A table that holds no word takes part's words over whole. False
    // when memory ran out: the words counted before stay counted. nWords:
    // the occurrences counted.
    bool AddTally(CShardedTally& part, unsigned nThreads, std::uint64_t& nWords,
                  const std::function<void()>& pump);
    // Places every word of the counting paths in the tree; m_pRoot may
    // change. The table's words and counts stay as they are. False, with
    // nothing changed, when memory for their nodes runs out; when only the
    // memory to sort is short, the words go in one by one.
    bool Settle() const noexcept;
    // How a report by frequency orders the words after it has put them in
    // order: stably by count, fewest first, or all that reversed.
    enum class CountOrder { none, fewestFirst, mostFirst };
    // Calls visit(pszWord, nLength, nCount) for every word of the table in
    // ascending or descending order, then by count as byCount says, without
    // building a node for the words of the counting paths. Throws
    // std::bad_alloc, having visited nothing, when the memory to order them
    // cannot be had.
    template <class Visit>
    void VisitInOrder(bool bDescending, CountOrder byCount, Visit&& visit) const;
    // The same; a search always starts at the root, which pStart must be.
    CNode* Insert(const char* pszWord, const CNode* pStart) noexcept;

    // Removes every word; the root stays, without a word. Never fails.
    void Clear() noexcept;

    // Calls visit(const CNode&) for every word of pNode's subtree, in
    // ascending or descending order. Iterative: no stack, whatever the depth.
    template <class Visit> static void WalkAscending(const CNode* pNode, Visit&& visit);
    template <class Visit> static void WalkDescending(const CNode* pNode, Visit&& visit);

    // The report writers: append one report line per word of pNode's subtree
    // to list, calling PumpMessages after each. The by-endings forms expect
    // words inserted with their bytes reversed and print them restored; the
    // percent forms divide by m_nTotal. std::bad_alloc from the list
    // propagates and leaves the lines written so far.
    void WriteAscending(CExStringList& list, const CNode* pNode) const;
    void WriteDescending(CExStringList& list, const CNode* pNode) const;
    void WriteByEndings(CExStringList& list, const CNode* pNode) const;
    void WriteAscendingPercent(CExStringList& list, const CNode* pNode) const;
    void WriteDescendingPercent(CExStringList& list, const CNode* pNode) const;
    void WriteByEndingsPercent(CExStringList& list, const CNode* pNode) const;
    // The walk behind them, to any sink of report lines: descending (else
    // ascending), the words restored from reversed (by endings), with
    // percentages.
    void WriteLines(IReportLineSink& sink, const CNode* pNode, bool bDescending, bool bReversed,
                    bool bPercent, CountOrder byCount = CountOrder::none) const;

    mutable CNode* m_pRoot; // never null; the tree's top, which balancing may change
    std::int64_t m_nCount;  // distinct words
    std::int64_t m_nTotal;  // insertions since the table was emptied; the divisor of percentages

  protected:
    // Frees every word and node below pNode and pNode's word. Emptying only
    // a part of a balanced tree would break it, so pNode must be the root.
    void FreeSubtree(CNode* pNode) noexcept;

  private:
    template <class Visit> static void Walk(const CNode* pNode, bool bDescending, Visit&& visit);
    void WriteLines(CExStringList& list, const CNode* pNode, bool bDescending, bool bReversed,
                    bool bPercent) const;
    // pLast, when given, is the last word in order, which the word sorts
    // after.
    CNode* InsertNew(const WordKey& key, CNode* pLast) noexcept;
    CNode* FindLinked(const WordKey& key) const noexcept;
    bool CountInTree(const WordKey& key, std::uint64_t nTimes) noexcept;
    bool TakeTally(CShardedTally& tally, std::uint64_t& nWords) noexcept;
    bool MakeNodes(const std::vector<std::uint32_t>& order,
                   std::vector<CNode*>& nodes) const noexcept;
    bool BuildBalanced(const std::vector<CNode*>& counted) const noexcept;
    void LinkOneByOne(CNode* pNode) const noexcept;
    template <class T, class CountOf>
    static void OrderForReport(std::vector<T>& order, bool bDescending, CountOrder byCount,
                               CountOf&& countOf);
    static bool SortsAfter(const WordKey& key, const CNode& node) noexcept;
    CNode* FindOrLink(const WordKey& key, bool& bLinked) noexcept;
    CNode* LinkChild(CNode* pParent, bool bGreater, CNode* pNew) const noexcept;
    void Rebalance(CNode* pNode) const noexcept;
    void Rotate(CNode* pNode, bool bToLesser) const noexcept;

    mutable CNodeArena m_nodes;
    mutable CTextArena m_texts;
    mutable CWordIndex m_index;             // dropped by Settle, rebuilt as words are met again
    mutable CNode* m_pLast = nullptr;       // the word that sorts last; null while empty
    mutable std::uint64_t m_nLastOrder = 0; // its first eight bytes as a big-endian number
    // The words of the counting paths that are not in the tree; no word is
    // in both.
    mutable CShardedTally m_counted;
    // Every word in order as the last Settle placed them, for the writers;
    // dropped when a new word comes.
    mutable std::vector<CNode*> m_inOrder;
};

// The sign of mbstricmp (node's word, key's word).
int CompareNodeWithKey(const CNode& node, const WordKey& key) noexcept;
// The sign of mbstricmp (a's word, b's word).
int CompareNodes(const CNode& a, const CNode& b) noexcept;

inline bool CStringTree::InsertKey(const WordKey& key) noexcept {
    // A count leaves the tree empty: its words are only in the tally.
    if (m_pRoot->m_pszWord) [[unlikely]]
        return InsertRepeated(key, 1);
    const CWordTally::Counted counted = m_counted.Count(key);
    m_nCount += counted == CWordTally::kNew;
    m_nTotal += counted != CWordTally::kNotCounted;
    return counted != CWordTally::kNotCounted;
}

inline bool CStringTree::SortsAfter(const WordKey& key, const CNode& node) noexcept {
    // Most words differ from the last one in their first eight bytes.
    const std::uint64_t k = __builtin_bswap64(key.nPrefix[0]);
    const std::uint64_t n = __builtin_bswap64(node.m_nPrefix[0]);
    if (k != n)
        return k > n;
    return CompareNodeWithKey(node, key) < 0;
}

inline bool CWordIndex::Matches(const CNode& node, const WordKey& key) noexcept {
    // The caller has compared the lengths: beyond 16 bytes only the texts tell.
    return node.m_nPrefix[0] == key.nPrefix[0] && node.m_nPrefix[1] == key.nPrefix[1] &&
           (key.nLength <= 16 ||
            FoldedEqual(node.m_pszWord + 16, key.pszText + 16, key.nLength - 16));
}

inline CNode* CWordIndex::Find(const WordKey& key) const noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        const Entry& e = m_pSlots[i];
        if (!e.pNode)
            return nullptr;
        if (e.nHash == key.nHash && e.nLength == key.nLength && Matches(*e.pNode, key))
            return e.pNode;
    }
}

template <class Visit> void CStringTree::Walk(const CNode* pNode, bool bDescending, Visit&& visit) {
    if (!pNode || !pNode->m_pszWord)
        return;
    const auto before = [bDescending](const CNode* n) {
        return bDescending ? n->m_pGreater : n->m_pLesser;
    };
    const auto after = [bDescending](const CNode* n) {
        return bDescending ? n->m_pLesser : n->m_pGreater;
    };
    const CNode* n = pNode;
    while (before(n))
        n = before(n);
    for (;;) {
        visit(*n);
        if (after(n)) {
            n = after(n);
            while (before(n))
                n = before(n);
            continue;
        }
        // Climb until arriving from a "before" side: that parent is next.
        for (;;) {
            if (n == pNode)
                return;
            const CNode* p = n->m_pParent;
            const bool bFromBefore = before(p) == n;
            n = p;
            if (bFromBefore)
                break;
        }
    }
}

// order holds the words ascending; it is turned into the report's order.
template <class T, class CountOf>
void CStringTree::OrderForReport(std::vector<T>& order, bool bDescending, CountOrder byCount,
                                 CountOf&& countOf) {
    if (bDescending)
        std::reverse(order.begin(), order.end());
    if (byCount == CountOrder::none)
        return;
    if (!StableSortByKey(order, countOf))
        throw std::bad_alloc();
    if (byCount == CountOrder::mostFirst)
        std::reverse(order.begin(), order.end());
}

template <class Visit>
void CStringTree::VisitInOrder(bool bDescending, CountOrder byCount, Visit&& visit) const {
    // The words and texts a few lines ahead are loaded while one is visited,
    // instead of one memory wait per word and per text.
    constexpr std::size_t kWordsAhead = 16, kTextsAhead = 8;
    if (!m_pRoot->m_pszWord && m_counted.Size() > 0) {
        std::vector<std::uint32_t> order;
        if (!m_counted.SortedOrder(order))
            throw std::bad_alloc();
        OrderForReport(order, bDescending, byCount,
                       [this](std::uint32_t w) { return m_counted.CountOf(w); });
        const std::size_t n = order.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i + kWordsAhead < n)
                m_counted.Prefetch(order[i + kWordsAhead], false);
            if (i + kTextsAhead < n)
                m_counted.Prefetch(order[i + kTextsAhead], true);
            const std::uint32_t w = order[i];
            visit(m_counted.TextOf(w), std::size_t{m_counted.LengthOf(w)}, m_counted.CountOf(w));
        }
        return;
    }
    if (!Settle())
        throw std::bad_alloc();
    std::vector<const CNode*> nodes;
    nodes.reserve(static_cast<std::size_t>(m_nCount));
    if (m_inOrder.size() == static_cast<std::size_t>(m_nCount))
        nodes.assign(m_inOrder.begin(), m_inOrder.end());
    else
        Walk(m_pRoot, false, [&](const CNode& node) { nodes.push_back(&node); });
    OrderForReport(nodes, bDescending, byCount,
                   [](const CNode* pNode) { return std::uint64_t{pNode->m_nCount}; });
    const std::size_t n = nodes.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kWordsAhead < n)
            __builtin_prefetch(nodes[i + kWordsAhead]);
        if (i + kTextsAhead < n)
            __builtin_prefetch(nodes[i + kTextsAhead]->m_pszWord);
        const CNode& node = *nodes[i];
        visit(static_cast<const char*>(node.m_pszWord), std::strlen(node.m_pszWord),
              std::uint64_t{node.m_nCount});
    }
}

template <class Visit> void CStringTree::WalkAscending(const CNode* pNode, Visit&& visit) {
    Walk(pNode, false, visit);
}

template <class Visit> void CStringTree::WalkDescending(const CNode* pNode, Visit&& visit) {
    Walk(pNode, true, visit);
}

#endif
