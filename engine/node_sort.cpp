#include "engine/node_sort.h"

#include "engine/string_tree.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

namespace {

// The sort key and its node side by side, so that the passes never read a
// node.
struct Keyed {
    std::uint64_t nKey; // the first eight folded bytes, big-endian
    CNode* pNode;
};

// Least significant byte first; a byte that is the same in every key (the
// first letter of a word list, the zero past short words) costs no pass.
// Returns the one of a and scratch that holds the sorted keys.
Keyed* RadixSort(Keyed* a, Keyed* scratch, std::size_t n) {
    std::size_t counts[8][256] = {};
    for (std::size_t i = 0; i < n; ++i) {
        for (int b = 0; b < 8; ++b)
            ++counts[b][(a[i].nKey >> (8 * b)) & 0xFF];
    }
    for (int b = 0; b < 8; ++b) {
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

// Words that share their first eight folded bytes are ordered by the rest.
void OrderTies(Keyed* a, std::size_t n) {
    for (std::size_t i = 0; i < n;) {
        std::size_t j = i + 1;
        while (j < n && a[j].nKey == a[i].nKey)
            ++j;
        if (j - i > 1)
            std::sort(a + i, a + j, [](const Keyed& x, const Keyed& y) {
                return CompareNodes(*x.pNode, *y.pNode) < 0;
            });
        i = j;
    }
}

} // namespace

bool SortNodes(std::vector<CNode*>& nodes) noexcept {
    const std::size_t n = nodes.size();
    if (n < 2)
        return true;
    std::unique_ptr<Keyed[]> pKeys(new (std::nothrow) Keyed[2 * n]);
    if (!pKeys)
        return false;
    Keyed* a = pKeys.get();
    for (std::size_t i = 0; i < n; ++i)
        a[i] = {__builtin_bswap64(nodes[i]->m_nPrefix[0]), nodes[i]};
    a = RadixSort(a, a + n, n);
    OrderTies(a, n);
    for (std::size_t i = 0; i < n; ++i)
        nodes[i] = a[i].pNode;
    return true;
}
