// Words counted by text in a few tallies, each word in the one its hash
// chooses. A word is in the same shard of every sharded tally, so the words
// of one can be added to another by several threads at once, each adding
// shards of its own, and the shard of a tally can be taken over whole by
// another's. A word is numbered by its shard (the top bits) and its number
// there.
#ifndef VORLAN_ENGINE_SHARDED_TALLY_H
#define VORLAN_ENGINE_SHARDED_TALLY_H

#include "engine/word_tally.h"

#include <array>
#include <cstdint>
#include <vector>

class CShardedTally {
  public:
    static constexpr unsigned kShardBits = 2;
    static constexpr std::size_t kShards = std::size_t{1} << kShardBits;
    static constexpr unsigned kIndexBits = 32 - kShardBits;
    static constexpr std::uint32_t kIndexMask = (std::uint32_t{1} << kIndexBits) - 1;

    // Room from the start for the words that nBytes of text usually hold.
    explicit CShardedTally(std::uint64_t nBytes = 0);
    CShardedTally(const CShardedTally&) = delete;
    CShardedTally& operator=(const CShardedTally&) = delete;

    static std::size_t ShardOf(const WordKey& key) noexcept { return key.nHash >> kIndexBits; }
    CWordTally& Shard(std::size_t s) noexcept { return m_shards[s]; }
    const CWordTally& Shard(std::size_t s) const noexcept { return m_shards[s]; }

    // As CWordTally's, each in the word's shard.
    WordKey PrepareKey(const char* pszWord) const noexcept {
        const WordKey key = MakePaddedWordKey(pszWord);
        PrefetchSlot(key);
        return key;
    }
    void PrefetchSlot(const WordKey& key) const noexcept {
        m_shards[ShardOf(key)].PrefetchSlot(key);
    }
    void PrefetchNode(const WordKey& key) const noexcept {
        m_shards[ShardOf(key)].PrefetchNode(key);
    }
    CWordTally::Counted Count(const WordKey& key) noexcept {
        return m_shards[ShardOf(key)].Count(key);
    }
    bool InsertKey(const WordKey& key) noexcept { return Count(key) != CWordTally::kNotCounted; }
    CWordTally::Counted CountTimes(const WordKey& key, std::uint64_t nTimes) noexcept {
        return m_shards[ShardOf(key)].CountTimes(key, nTimes);
    }
    bool InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
        return CountTimes(MakeWordKey(pszWord), nTimes) != CWordTally::kNotCounted;
    }
    bool Knows(const WordKey& key) const noexcept { return m_shards[ShardOf(key)].Knows(key); }

    std::size_t Size() const noexcept;
    // Word w by its number.
    const char* TextOf(std::uint32_t w) const noexcept { return At(w).TextOf(w & kIndexMask); }
    std::uint32_t LengthOf(std::uint32_t w) const noexcept {
        return At(w).LengthOf(w & kIndexMask);
    }
    std::uint64_t CountOf(std::uint32_t w) const noexcept { return At(w).CountOf(w & kIndexMask); }
    const std::uint64_t* PrefixOf(std::uint32_t w) const noexcept {
        return At(w).PrefixOf(w & kIndexMask);
    }
    void Prefetch(std::uint32_t w, bool bText) const noexcept {
        At(w).Prefetch(w & kIndexMask, bText);
    }
    // The numbers of every word in mbstricmp order (word_sort.cpp). False,
    // with order empty, when the memory to sort in cannot be had.
    bool SortedOrder(std::vector<std::uint32_t>& order) const noexcept;

    // Calls visit(key, count) for every word, shard after shard, each in the
    // order first met, and ahead(key, bNear) as CWordTally::ForEach does.
    template <class Visit, class Ahead> void ForEach(Visit&& visit, Ahead&& ahead) const {
        for (const CWordTally& shard : m_shards)
            shard.ForEach(visit, ahead);
    }
    template <class Visit> void ForEach(Visit&& visit) const {
        ForEach(visit, [](const WordKey&, bool) {});
    }

    void Clear() noexcept;
    void GiveTextsTo(CTextArena& arena) noexcept;
    void Swap(CShardedTally& other) noexcept;

  private:
    const CWordTally& At(std::uint32_t w) const noexcept { return m_shards[w >> kIndexBits]; }
    int Compare(std::uint32_t a, std::uint32_t b) const noexcept {
        return CWordTally::Compare(At(a), a & kIndexMask, At(b), b & kIndexMask);
    }
    bool MergeInOrder(std::vector<std::uint32_t>& order) const noexcept;

    std::array<CWordTally, kShards> m_shards;
};

#endif
