// Adding the tally of one part of a count to the word table. A word is in
// the same shard of both, so each shard of the part goes into the table's
// on a thread of its own, and no thread adds every distinct word of a part.
#include "engine/string_tree.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

namespace {

// Below this many words a part is added on this thread alone: starting a
// thread would cost more.
constexpr std::size_t kWordsWorthThreads = 1 << 14;

} // namespace

bool CStringTree::AddTally(CShardedTally& part, unsigned nThreads, std::uint64_t& nWords,
                           const std::function<void()>& pump) {
    nWords = 0;
    if (TakeTally(part, nWords))
        return true;
    if (m_pRoot->m_pszWord) { // the tree's words are counted in their nodes
        bool bCounted = true;
        unsigned untilPump = CWordTally::kWordsPerPump;
        part.ForEach([&](const WordKey& key, std::uint64_t nCount) {
            bCounted = bCounted && InsertRepeated(key, nCount);
            nWords += bCounted ? nCount : 0;
            if (--untilPump == 0) {
                untilPump = CWordTally::kWordsPerPump;
                pump();
            }
        });
        return bCounted;
    }
    constexpr std::size_t kShards = CShardedTally::kShards;
    std::array<std::uint64_t, kShards> nNew{}, nAdded{};
    std::array<bool, kShards> bAdded{};
    // Each thread takes the next shard nobody has taken, so that the work is
    // shared however many threads could be started.
    std::atomic<std::size_t> nextShard{0};
    const auto addShards = [&](const auto& pumpHere) {
        for (std::size_t s; (s = nextShard.fetch_add(1)) < kShards;)
            bAdded[s] = m_counted.Shard(s).AddAll(part.Shard(s), nNew[s], nAdded[s], pumpHere);
    };
    std::array<std::thread, kShards - 1> helpers;
    const std::size_t nHelpers =
        part.Size() < kWordsWorthThreads ? 0 : std::clamp<std::size_t>(nThreads, 1, kShards) - 1;
    for (std::size_t t = 0; t < nHelpers; ++t) {
        try {
            helpers[t] = std::thread([&addShards] { addShards([] {}); });
        } catch (...) { // no thread to be had: this one adds the rest
            break;
        }
    }
    addShards(pump);
    for (std::thread& helper : helpers) {
        if (helper.joinable())
            helper.join();
    }
    bool bAll = true;
    for (std::size_t s = 0; s < kShards; ++s) {
        m_nCount += static_cast<std::int64_t>(nNew[s]);
        m_nTotal += static_cast<std::int64_t>(nAdded[s]);
        nWords += nAdded[s];
        bAll = bAll && bAdded[s];
    }
    return bAll;
}
