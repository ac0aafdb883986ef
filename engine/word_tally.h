// Words counted by text, without order: a shard of the tally of one part of
// a count, or of the word table's own words until they are put in order.
// The words lie in an array of 32-byte entries, grown by blocks, in the
// order first met, each with its text as first met and its count; a hash
// table of 8-byte slots (the entry's number and its hash) finds them.
// Growing moves only slots, listing the words reads the array in order, and
// a word costs about 45 bytes besides its text. Its counting steps are the
// word table's, so that the same line loop serves both.
#ifndef VORLAN_ENGINE_WORD_TALLY_H
#define VORLAN_ENGINE_WORD_TALLY_H

#include "engine/block_array.h"
#include "engine/tree_arena.h"
#include "engine/word_index.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CWordTally {
  public:
    // Room from the start for the words that nBytes of text usually hold;
    // nMaxWords distinct words at most (a new word past them is not counted).
    explicit CWordTally(std::uint64_t nBytes = 0, std::uint32_t nMaxWords = UINT32_MAX - 1);
    CWordTally(const CWordTally&) = delete;
    CWordTally& operator=(const CWordTally&) = delete;

    // As the word table's: the key of a word of a padded buffer, and counting
    // it. InsertKey returns false, with nothing changed, when memory runs out.
    WordKey PrepareKey(const char* pszWord) const noexcept {
        const WordKey key = MakePaddedWordKey(pszWord);
        __builtin_prefetch(&m_pSlots[key.nHash & m_nMask]);
        return key;
    }
    // Starts loading the slot where InsertKey (key) looks first.
    void PrefetchSlot(const WordKey& key) const noexcept {
        __builtin_prefetch(&m_pSlots[key.nHash & m_nMask]);
    }
    // Starts loading the entry that InsertKey (key) most likely counts.
    void PrefetchNode(const WordKey& key) const noexcept {
        if (const std::uint32_t n = m_pSlots[key.nHash & m_nMask].nEntry)
            __builtin_prefetch(&m_entries[n - 1]);
    }
    // What counting a word gave: kNotCounted when memory ran out (nothing
    // changed), kCountedAgain for a word met before, kNew for a new word.
    enum Counted { kNotCounted = 0, kCountedAgain = 1, kNew = 2 };
    inline Counted Count(const WordKey& key) noexcept;
    bool InsertKey(const WordKey& key) noexcept { return Count(key) != kNotCounted; }
    // Counts the word of key nTimes (> 0) times at once.
    Counted CountTimes(const WordKey& key, std::uint64_t nTimes) noexcept;
    // Counts any NUL-terminated word nTimes (> 0) times at once; false, as
    // InsertKey, when memory runs out.
    bool InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
        return CountTimes(MakeWordKey(pszWord), nTimes) != kNotCounted;
    }
    // True when the word of key was counted.
    bool Knows(const WordKey& key) const noexcept { return Find(key) != nullptr; }

    // The words counted, numbered 0 to Size() - 1 in the order first met.
    std::size_t Size() const noexcept { return m_entries.size(); }
    const char* TextOf(std::size_t i) const noexcept { return m_entries[i].pszText; }
    std::uint32_t LengthOf(std::size_t i) const noexcept { return m_entries[i].nLength; }
    std::uint64_t CountOf(std::size_t i) const noexcept { return CountOf(m_entries[i]); }
    // Its first 16 bytes as its key has them (WordKey::nPrefix).
    const std::uint64_t* PrefixOf(std::size_t i) const noexcept { return m_entries[i].nPrefix; }
    // Starts loading word i and, with bText, its text.
    void Prefetch(std::size_t i, bool bText) const noexcept {
        __builtin_prefetch(&m_entries[i]);
        if (bText)
            __builtin_prefetch(m_entries[i].pszText);
    }
    // The sign of mbstricmp (word i of a, word j of b) (word_sort.cpp).
    static int Compare(const CWordTally& a, std::size_t i, const CWordTally& b,
                       std::size_t j) noexcept;
    // True when the words were met in mbstricmp order.
    bool InOrder() const noexcept;
    // How many words AddAll counts between two calls of its pump.
    static constexpr unsigned kWordsPerPump = 256;
    // Counts every word of other here, in other's order, as CountTimes
    // would, and calls pump() after every kWordsPerPump. False when memory ran
    // out: the words before stay counted. Adds the words new here to nNew,
    // and the occurrences counted to nWords.
    template <class Pump>
    bool AddAll(const CWordTally& other, std::uint64_t& nNew, std::uint64_t& nWords, Pump&& pump);

    // Forgets every word; keeps a few slots. Never fails.
    void Clear() noexcept;
    // Exchanges every word with other's.
    void Swap(CWordTally& other) noexcept;
    // Hands the texts of the words to arena, which keeps them after a Clear.
    void GiveTextsTo(CTextArena& arena) noexcept { arena.Adopt(m_texts); }

    // Calls visit(key, count) for every word, in the order first met: its key
    // as MakeWordKey gives it, and its count, 64-bit.
    template <class Visit> void ForEach(Visit&& visit) const {
        ForEach(visit, [](const WordKey&, bool) {});
    }
    // The same, calling ahead(key, false) 16 words before a word is visited
    // and ahead(key, true) 8 words before, so that whoever adds the words to
    // a large table can have its memory loaded in time.
    template <class Visit, class Ahead> void ForEach(Visit&& visit, Ahead&& ahead) const;

  private:
    struct Entry {
        std::uint64_t nPrefix[2]; // as the key's
        const char* pszText;
        std::uint32_t nCount; // the low 32 bits; m_carries holds the rest
        std::uint32_t nLength;
    };
    static_assert(sizeof(Entry) == 32);
    struct Slot {
        std::uint32_t nEntry; // the entry's number + 1; 0 while the slot is free
        std::uint32_t nHash;
    };

    static bool Matches(const Entry& entry, const WordKey& key) noexcept {
        return entry.nPrefix[0] == key.nPrefix[0] && entry.nPrefix[1] == key.nPrefix[1] &&
               entry.nLength == key.nLength &&
               (key.nLength <= 16 ||
                FoldedEqual(entry.pszText + 16, key.pszText + 16, key.nLength - 16));
    }
    Counted InsertNew(Slot& slot, const WordKey& key) noexcept;
    const Entry* Find(const WordKey& key) const noexcept;
    bool Grow() noexcept;
    Entry& EntryOf(const WordKey& key) noexcept;
    // Adds nHigh << 32 to the count of entry's word.
    bool Carry(const Entry& entry, std::uint64_t nHigh) noexcept;
    std::uint64_t CountOf(const Entry& entry) const noexcept;

    std::unique_ptr<Slot[]> m_pSlots;
    std::size_t m_nMask;
    std::uint32_t m_nMaxWords;
    CBlockArray<Entry> m_entries; // in the order first met
    CTextArena m_texts;
    // A slot's count stays 32-bit, so that slots stay small: the words that
    // passed 2^32 occurrences (few or none) keep the high part here, by text.
    std::unordered_map<const char*, std::uint64_t> m_carries;
};

inline CWordTally::Counted CWordTally::Count(const WordKey& key) noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        Slot& slot = m_pSlots[i];
        if (!slot.nEntry) [[unlikely]]
            return InsertNew(slot, key);
        if (slot.nHash != key.nHash)
            continue;
        Entry& entry = m_entries[slot.nEntry - 1];
        if (Matches(entry, key)) [[likely]] {
            if (++entry.nCount == 0) [[unlikely]] {
                if (Carry(entry, 1))
                    return kCountedAgain;
                --entry.nCount; // as it was: the word is not counted
                return kNotCounted;
            }
            return kCountedAgain;
        }
    }
}

template <class Visit, class Ahead> void CWordTally::ForEach(Visit&& visit, Ahead&& ahead) const {
    constexpr std::size_t kFar = 16, kNear = 8;
    const std::size_t n = m_entries.size();
    const auto keyOf = [&](std::size_t i) {
        const Entry& e = m_entries[i];
        return StoredWordKey(e.pszText, e.nPrefix[0], e.nPrefix[1], e.nLength);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kFar < n)
            ahead(keyOf(i + kFar), false);
        if (i + kNear < n)
            ahead(keyOf(i + kNear), true);
        visit(keyOf(i), CountOf(m_entries[i]));
    }
}

template <class Pump>
bool CWordTally::AddAll(const CWordTally& other, std::uint64_t& nNew, std::uint64_t& nWords,
                        Pump&& pump) {
    unsigned untilPump = kWordsPerPump;
    bool bCounted = true;
    // A large vocabulary misses the cache at every word: the slots and
    // entries are asked for well ahead.
    other.ForEach(
        [&](const WordKey& key, std::uint64_t nCount) {
            if (!bCounted)
                return;
            const Counted counted = CountTimes(key, nCount);
            bCounted = counted != kNotCounted;
            nNew += counted == kNew;
            nWords += bCounted ? nCount : 0;
            if (--untilPump == 0) {
                untilPump = kWordsPerPump;
                pump();
            }
        },
        [this](const WordKey& key, bool bNear) {
            if (bNear)
                PrefetchNode(key);
            else
                PrefetchSlot(key);
        });
    return bCounted;
}

#endif
