// The words of one part of a count, counted apart from the document's word
// table and then added to it: a hash table in which a word already met is
// found and counted in a single slot of 32 bytes. Each word keeps its text as
// first met, and the words can be listed in that order (a sorted word list
// then goes into the word table in order, which it does fastest). Its counting steps are the word
// table's, so that the same line loop serves both.
#ifndef VORLAN_ENGINE_WORD_TALLY_H
#define VORLAN_ENGINE_WORD_TALLY_H

#include "engine/tree_arena.h"
#include "engine/word_index.h"

#include <cstdint>
#include <memory>
#include <vector>

class CWordTally {
  public:
    // Room from the start for the words that nBytes of text usually hold.
    explicit CWordTally(std::uint64_t nBytes = 0);
    CWordTally(const CWordTally&) = delete;
    CWordTally& operator=(const CWordTally&) = delete;

    // As the word table's: the key of a word of a padded buffer, and counting
    // it. InsertKey returns false, with nothing changed, when memory runs out.
    WordKey PrepareKey(const char* pszWord) const noexcept {
        const WordKey key = MakePaddedWordKey(pszWord);
        __builtin_prefetch(&m_pSlots[key.nHash & m_nMask]);
        return key;
    }
    void PrefetchNode(const WordKey&) const noexcept {}
    inline bool InsertKey(const WordKey& key) noexcept;

    // Calls visit(text, count) for every word, in the order first met.
    template <class Visit> void ForEach(Visit&& visit) const;

  private:
    struct Slot {
        std::uint64_t nPrefix[2]; // as the key's
        const char* pszText;      // null while the slot is free
        std::uint32_t nCount;
        std::uint32_t nLength;
    };
    static_assert(sizeof(Slot) == 32);

    static bool Matches(const Slot& slot, const WordKey& key) noexcept {
        return slot.nPrefix[0] == key.nPrefix[0] && slot.nPrefix[1] == key.nPrefix[1] &&
               slot.nLength == key.nLength &&
               (key.nLength <= 16 ||
                FoldedEqual(slot.pszText + 16, key.pszText + 16, key.nLength - 16));
    }
    bool InsertNew(Slot& slot, const WordKey& key) noexcept;
    bool Grow() noexcept;

    std::unique_ptr<Slot[]> m_pSlots;
    std::size_t m_nMask;
    std::vector<std::uint32_t> m_order; // the words' slots, in the order first met
    CTextArena m_texts;
};

inline bool CWordTally::InsertKey(const WordKey& key) noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        Slot& slot = m_pSlots[i];
        if (!slot.pszText) [[unlikely]]
            return InsertNew(slot, key);
        if (Matches(slot, key)) [[likely]] {
            ++slot.nCount;
            return true;
        }
    }
}

template <class Visit> void CWordTally::ForEach(Visit&& visit) const {
    for (const std::uint32_t i : m_order)
        visit(m_pSlots[i].pszText, m_pSlots[i].nCount);
}

#endif
