// A stable sort of items by a 64-bit key, least significant byte first, for
// millions of words: the passes move small (key, item) pairs and never read
// the items, and a byte that is the same in every key costs no pass.
#ifndef VORLAN_ENGINE_RADIX_SORT_H
#define VORLAN_ENGINE_RADIX_SORT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

// Packed: millions of them are moved at each pass.
struct __attribute__((packed)) RadixItem {
    std::uint64_t nKey;
    std::uint32_t nItem;
};
static_assert(sizeof(RadixItem) == 12);

// Sorts a[0..n) by nKey, keeping the order of equal keys; scratch holds n
// more. Returns the one of a and scratch that holds the result.
RadixItem* RadixSort(RadixItem* a, RadixItem* scratch, std::size_t n) noexcept;

// Reorders order (fewer than 2^32 items) stably by keyOf(item), smallest
// first. False, with order as it was, when the memory to sort in is short.
template <class T, class KeyOf>
bool StableSortByKey(std::vector<T>& order, KeyOf&& keyOf) noexcept {
    const std::size_t n = order.size();
    std::unique_ptr<RadixItem[]> pItems(new (std::nothrow) RadixItem[2 * n]);
    std::vector<T> sorted;
    try {
        sorted.reserve(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!pItems)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        pItems[i] = {keyOf(order[i]), static_cast<std::uint32_t>(i)};
    const RadixItem* a = RadixSort(pItems.get(), pItems.get() + n, n);
    for (std::size_t i = 0; i < n; ++i)
        sorted.push_back(order[a[i].nItem]);
    order.swap(sorted);
    return true;
}

#endif
