// The words a count found in each distinct classic word, so that the
// analyser sees a classic word once per count however often it occurs:
// its cost grows with the vocabulary, not with the text. Shared by the
// threads of a count. A classic word is known by its bytes alone, so what is
// stored for it never depends on which thread met it first.
#ifndef VORLAN_ENGINE_SEGMENT_CACHE_H
#define VORLAN_ENGINE_SEGMENT_CACHE_H

#include <array>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

class CSegmentCache {
  public:
    // The words stored for a classic word (each NUL-terminated, back to
    // back; empty when it held none), or null when none are stored yet. A
    // result stays valid and unchanged for the life of the cache.
    const std::string* Find(std::string_view word) const;
    // Stores the words of a classic word, unless another thread stored them
    // first; returns what is stored.
    const std::string* Store(std::string_view word, std::string words);

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Map = std::unordered_map<std::string, std::string, Hash, std::equal_to<>>;
    // Threads that look up different words mostly take different locks.
    struct alignas(64) Shard {
        mutable std::mutex mutex;
        Map map;
    };
    static constexpr std::size_t kShards = 16;
    static std::size_t ShardOf(std::size_t hash) { return (hash >> 7) % kShards; }

    std::array<Shard, kShards> m_shards;
};

#endif
