#include "engine/word_index.h"

#include "engine/string_tree.h"

#include <cstring>
#include <new>

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// Folds every byte 0x41-0x5A of x to 0x61-0x7A, eight bytes at a time. Bytes
// from 0x80 up keep their value even when their low seven bits look like a
// capital letter.
inline std::uint64_t FoldCapitals(std::uint64_t x) noexcept {
    const std::uint64_t low7 = x & (0x7F * kOnes);
    const std::uint64_t atLeastA = low7 + (0x80 - 0x41) * kOnes;
    const std::uint64_t pastZ = low7 + (0x80 - 0x5B) * kOnes;
    const std::uint64_t capitals = atLeastA & ~pastZ & ~x & (0x80 * kOnes);
    return x | (capitals >> 2);
}

inline std::uint64_t Load8(const char* p) noexcept {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
}

// The last n < 8 bytes of a word, without reading past them; fixed-size
// loads, since most words are shorter than eight bytes.
inline std::uint64_t LoadTail(const char* p, std::size_t n) noexcept {
    std::uint64_t x = 0;
    std::size_t nAt = 0;
    if (n & 4) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        x = v;
        nAt = 4;
    }
    if (n & 2) {
        std::uint16_t v;
        std::memcpy(&v, p + nAt, 2);
        x |= std::uint64_t{v} << (nAt * 8);
        nAt += 2;
    }
    if (n & 1)
        x |= std::uint64_t{static_cast<unsigned char>(p[nAt])} << (nAt * 8);
    return x;
}

inline std::uint64_t Mix(std::uint64_t h, std::uint64_t chunk) noexcept {
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
}

// Half full at most: short probe runs, and a miss usually ends at once.
constexpr std::size_t kMinCapacity = 64;
inline bool TooFull(std::size_t nWords, std::size_t nCapacity) noexcept {
    return nWords * 2 > nCapacity;
}

} // namespace

WordKey MakeWordKey(const char* pszWord) noexcept {
    const std::size_t n = std::strlen(pszWord);
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        h = Mix(h, FoldCapitals(Load8(pszWord + i)));
    if (i < n)
        h = Mix(h, FoldCapitals(LoadTail(pszWord + i, n - i)));
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return {pszWord, static_cast<std::uint32_t>(n), static_cast<std::uint32_t>(h)};
}

bool FoldedEqual(const char* a, const char* b, std::size_t n) noexcept {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        if (FoldCapitals(Load8(a + i)) != FoldCapitals(Load8(b + i)))
            return false;
    }
    return i == n || FoldCapitals(LoadTail(a + i, n - i)) == FoldCapitals(LoadTail(b + i, n - i));
}

CNode* CWordIndex::Find(const WordKey& key) const noexcept {
    if (!m_pEntries)
        return nullptr;
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        const Entry& e = m_pEntries[i];
        if (!e.pNode)
            return nullptr;
        if (e.nHash == key.nHash && e.nLength == key.nLength &&
            FoldedEqual(e.pNode->m_pszWord, key.pszText, key.nLength))
            return e.pNode;
    }
}

void CWordIndex::Reserve(std::size_t nWords) {
    const std::size_t nCapacity = m_pEntries ? m_nMask + 1 : 0;
    if (nCapacity && !TooFull(nWords, nCapacity))
        return;
    std::size_t nNew = nCapacity ? nCapacity : kMinCapacity;
    while (TooFull(nWords, nNew))
        nNew *= 2;
    std::unique_ptr<Entry[]> pOld(new Entry[nNew]()); // the only step that can fail
    pOld.swap(m_pEntries);
    m_nMask = nNew - 1;
    for (std::size_t i = 0; i < nCapacity; ++i) {
        if (pOld[i].pNode)
            Place(pOld[i]);
    }
}

void CWordIndex::Add(const WordKey& key, CNode* pNode) noexcept {
    Place({pNode, key.nHash, key.nLength});
}

void CWordIndex::Place(const Entry& entry) noexcept {
    std::size_t i = entry.nHash & m_nMask;
    while (m_pEntries[i].pNode)
        i = (i + 1) & m_nMask;
    m_pEntries[i] = entry;
}

void CWordIndex::Release() noexcept {
    m_pEntries.reset();
    m_nMask = 0;
}
