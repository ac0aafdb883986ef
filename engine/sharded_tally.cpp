#include "engine/sharded_tally.h"

// A shard holds the words its number can name.
CShardedTally::CShardedTally(std::uint64_t nBytes)
    : m_shards{CWordTally(nBytes / kShards, kIndexMask), CWordTally(nBytes / kShards, kIndexMask),
               CWordTally(nBytes / kShards, kIndexMask), CWordTally(nBytes / kShards, kIndexMask)} {
    static_assert(kShards == 4, "one initializer per shard");
}

std::size_t CShardedTally::Size() const noexcept {
    std::size_t n = 0;
    for (const CWordTally& shard : m_shards)
        n += shard.Size();
    return n;
}

void CShardedTally::Clear() noexcept {
    for (CWordTally& shard : m_shards)
        shard.Clear();
}

void CShardedTally::GiveTextsTo(CTextArena& arena) noexcept {
    for (CWordTally& shard : m_shards)
        shard.GiveTextsTo(arena);
}

void CShardedTally::Swap(CShardedTally& other) noexcept {
    for (std::size_t s = 0; s < kShards; ++s)
        m_shards[s].Swap(other.m_shards[s]);
}
