#include "engine/segment_cache.h"

// Values are nodes of the map: other words stored later never move them.
const std::string* CSegmentCache::Find(std::string_view word) const {
    const std::size_t hash = Hash{}(word);
    const Shard& shard = m_shards[ShardOf(hash)];
    std::lock_guard lock(shard.mutex);
    const auto it = shard.map.find(word);
    return it == shard.map.end() ? nullptr : &it->second;
}

const std::string* CSegmentCache::Store(std::string_view word, std::string words) {
    Shard& shard = m_shards[ShardOf(Hash{}(word))];
    std::lock_guard lock(shard.mutex);
    const auto [it, stored] = shard.map.try_emplace(std::string(word), std::move(words));
    return &it->second;
}
