// Puts counted words in mbstricmp order in one go: a radix sort on the first
// eight folded bytes of each word, which decide almost every pair, and the
// exact comparison for the words that share them. Words counted in
// ascending order, a sorted word list, are found to be so and cost no sort.
#include "engine/radix_sort.h"
#include "engine/sharded_tally.h"

#include "tesmo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace {

inline std::uint64_t BigEndian(std::uint64_t x) noexcept {
    return __builtin_bswap64(x);
}

} // namespace

RadixItem* RadixSort(RadixItem* a, RadixItem* scratch, std::size_t n) noexcept {
    std::size_t counts[8][256] = {};
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t k = a[i].nKey;
        for (int b = 0; b < 8; ++b)
            ++counts[b][(k >> (8 * b)) & 0xFF];
    }
    for (int b = 0; b < 8 && n > 0; ++b) {
        std::size_t* c = counts[b];
        if (c[(a[0].nKey >> (8 * b)) & 0xFF] == n)
            continue;
        std::size_t next = 0;
        for (int d = 0; d < 256; ++d)
            next += std::exchange(c[d], next);
        for (std::size_t i = 0; i < n; ++i)
            scratch[c[(a[i].nKey >> (8 * b)) & 0xFF]++] = a[i];
        std::swap(a, scratch);
    }
    return a;
}

// The folded prefixes decide almost always; only words that share their
// first 16 bytes compare their texts, and a word shorter than that ends
// inside its prefix, so equal prefixes then mean equal words.
int CWordTally::Compare(const CWordTally& ta, std::size_t i, const CWordTally& tb,
                        std::size_t j) noexcept {
    const Entry& a = ta.m_entries[i];
    const Entry& b = tb.m_entries[j];
    for (int k = 0; k < 2; ++k) {
        if (a.nPrefix[k] != b.nPrefix[k])
            return BigEndian(a.nPrefix[k]) < BigEndian(b.nPrefix[k]) ? -1 : 1;
    }
    if (a.nLength < 16 || b.nLength < 16)
        return 0;
    return mbstricmp(a.pszText + 16, b.pszText + 16);
}

bool CWordTally::InOrder() const noexcept {
    for (std::size_t i = 1; i < m_entries.size(); ++i) {
        if (Compare(*this, i - 1, *this, i) >= 0)
            return false;
    }
    return true;
}

bool CShardedTally::SortedOrder(std::vector<std::uint32_t>& order) const noexcept {
    order.clear();
    const std::size_t n = Size();
    try {
        order.reserve(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (MergeInOrder(order))
        return true;
    std::unique_ptr<RadixItem[]> pKeys(new (std::nothrow) RadixItem[2 * n]);
    if (!pKeys) {
        std::vector<std::uint32_t>().swap(order);
        return false;
    }
    RadixItem* a = pKeys.get();
    std::size_t k = 0;
    for (std::size_t s = 0; s < kShards; ++s) {
        const CWordTally& shard = m_shards[s];
        for (std::size_t i = 0; i < shard.Size(); ++i)
            a[k++] = {BigEndian(shard.PrefixOf(i)[0]),
                      static_cast<std::uint32_t>(s << kIndexBits | i)};
    }
    a = RadixSort(a, a + n, n);
    // Words that share their first eight folded bytes are ordered by the rest.
    for (k = 0; k < n;) {
        std::size_t j = k + 1;
        while (j < n && a[j].nKey == a[k].nKey)
            ++j;
        if (j - k > 1)
            std::sort(a + k, a + j, [this](const RadixItem& x, const RadixItem& y) {
                return Compare(x.nItem, y.nItem) < 0;
            });
        k = j;
    }
    for (k = 0; k < n; ++k)
        order.push_back(a[k].nItem);
    return true;
}

// Words counted in ascending order, a sorted word list, are in order in
// every shard: merging the shards then orders them without a sort. False,
// with order empty, when some shard is not in order.
bool CShardedTally::MergeInOrder(std::vector<std::uint32_t>& order) const noexcept {
    for (const CWordTally& shard : m_shards) {
        if (!shard.InOrder())
            return false;
    }
    std::array<std::size_t, kShards> next{};
    for (;;) {
        std::size_t best = kShards;
        for (std::size_t s = 0; s < kShards; ++s) {
            if (next[s] == m_shards[s].Size())
                continue;
            if (best == kShards ||
                CWordTally::Compare(m_shards[s], next[s], m_shards[best], next[best]) < 0)
                best = s;
        }
        if (best == kShards)
            return true;
        order.push_back(static_cast<std::uint32_t>(best << kIndexBits | next[best]++));
    }
}
