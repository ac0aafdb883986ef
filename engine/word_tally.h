// The words of one part of a count, counted apart from the document's word
// table and then added to it: a table without order, which keeps its words
// in the order they were first met. Its counting steps are the word table's,
// so that the same line loop serves both.
#ifndef VORLAN_ENGINE_WORD_TALLY_H
#define VORLAN_ENGINE_WORD_TALLY_H

#include "engine/string_tree.h"
#include "engine/tree_arena.h"
#include "engine/word_index.h"

#include <cstdint>

class CWordTally {
  public:
    CWordTally() = default;
    CWordTally(const CWordTally&) = delete;
    CWordTally& operator=(const CWordTally&) = delete;

    // As CStringTree's: the key of a word of a padded buffer, and counting it.
    // InsertKey returns null, with nothing changed, when memory runs out.
    WordKey PrepareKey(const char* pszWord) const noexcept {
        const WordKey key = MakePaddedWordKey(pszWord);
        m_index.Prefetch(key);
        return key;
    }
    void PrefetchNode(const WordKey& key) const noexcept { m_index.PrefetchNode(key); }
    inline CNode* InsertKey(const WordKey& key) noexcept;

    // The words in the order they were first met, each with its text as
    // first met and its count; m_pGreater links one to the next.
    const CNode* First() const noexcept { return m_pFirst; }
    // Every count added up (wrapping at 32 bits, as the word table's total).
    std::uint32_t Total() const noexcept { return m_nTotal; }

  private:
    CNode* InsertNew(const WordKey& key) noexcept;

    CNodeArena m_nodes;
    CTextArena m_texts;
    CWordIndex m_index;
    CNode* m_pFirst = nullptr;
    CNode* m_pLast = nullptr;
    std::uint32_t m_nTotal = 0;
};

inline CNode* CWordTally::InsertKey(const WordKey& key) noexcept {
    ++m_nTotal;
    if (CNode* pFound = m_index.Find(key)) [[likely]] {
        ++pFound->m_nCount;
        return pFound;
    }
    return InsertNew(key);
}

#endif
