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
#include <unordered_map>
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
    // Counts any NUL-terminated word nTimes (> 0) times at once; false, as
    // InsertKey, when memory runs out.
    bool InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept;

    // Calls visit(text, count) for every word, in the order first met; the
    // count is 64-bit.
    template <class Visit> void ForEach(Visit&& visit) const;

  private:
    struct Slot {
        std::uint64_t nPrefix[2]; // as the key's
        const char* pszText;      // null while the slot is free
        std::uint32_t nCount;     // the low 32 bits; m_carries holds the rest
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
    Slot& SlotOf(const WordKey& key) noexcept;
    // Adds nHigh << 32 to the count of slot's word.
    bool Carry(const Slot& slot, std::uint64_t nHigh) noexcept;
    std::uint64_t CountOf(const Slot& slot) const noexcept;

    std::unique_ptr<Slot[]> m_pSlots;
    std::size_t m_nMask;
    std::vector<std::uint32_t> m_order; // the words' slots, in the order first met
    CTextArena m_texts;
    // A slot's count stays 32-bit, so that slots stay small: the words that
    // passed 2^32 occurrences (few or none) keep the high part here, by text.
    std::unordered_map<const char*, std::uint64_t> m_carries;
};

inline bool CWordTally::InsertKey(const WordKey& key) noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        Slot& slot = m_pSlots[i];
        if (!slot.pszText) [[unlikely]]
            return InsertNew(slot, key);
        if (Matches(slot, key)) [[likely]] {
            if (++slot.nCount == 0) [[unlikely]] {
                if (Carry(slot, 1))
                    return true;
                --slot.nCount; // as it was: the word is not counted
                return false;
            }
            return true;
        }
    }
}

template <class Visit> void CWordTally::ForEach(Visit&& visit) const {
    for (const std::uint32_t i : m_order)
        visit(m_pSlots[i].pszText, CountOf(m_pSlots[i]));
}

#endif
