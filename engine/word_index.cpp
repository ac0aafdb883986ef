#include "engine/word_index.h"

#include "engine/string_tree.h"

#include <cstring>
#include <new>

namespace {

// Half full at most: short probe runs, and a miss usually ends at once.
constexpr std::size_t kMinCapacity = 64;
inline bool TooFull(std::size_t nWords, std::size_t nCapacity) noexcept {
    return nWords * 2 > nCapacity;
}

// The n < 8 bytes at p, zero above them, without reading past them.
inline std::uint64_t LoadPart(const char* p, std::size_t n) noexcept {
    std::uint64_t x = 0;
    std::memcpy(&x, p, n);
    return x;
}

} // namespace

namespace word_key {

std::uint64_t HashTail(const char* pszWord, std::size_t nLength, std::uint64_t h) noexcept {
    std::size_t i = 16;
    for (; i + 8 <= nLength; i += 8)
        h = HashChunk(h, FoldCapitals(Load8(pszWord + i)));
    if (i < nLength)
        h = HashChunk(h, FoldCapitals(LoadPart(pszWord + i, nLength - i)));
    return h;
}

std::uint64_t HashPaddedTail(const char* pszWord, std::size_t& nLength, std::uint64_t h) noexcept {
    for (std::size_t i = 16;; i += 8) {
        const std::uint64_t x = Load8(pszWord + i);
        if (const std::uint64_t z = LowestZeroByte(x)) {
            const std::size_t nLast = static_cast<std::size_t>(__builtin_ctzll(z) >> 3);
            if (nLast)
                h = HashChunk(h, FoldCapitals(BytesBelow(x, z)));
            nLength = i + nLast;
            return h;
        }
        h = HashChunk(h, FoldCapitals(x));
    }
}

} // namespace word_key

WordKey MakeWordKey(const char* pszWord) noexcept {
    using namespace word_key;
    const std::size_t n = std::strlen(pszWord);
    WordKey key;
    key.pszText = pszWord;
    key.nLength = static_cast<std::uint32_t>(n);
    char prefix[16] = {};
    std::memcpy(prefix, pszWord, n < 16 ? n : 16);
    const std::uint64_t k0 = FoldCapitals(Load8(prefix));
    const std::uint64_t k1 = FoldCapitals(Load8(prefix + 8));
    key.nPrefix[0] = k0;
    key.nPrefix[1] = k1;
    if (n < 16) {
        key.nHash = static_cast<std::uint32_t>(HashPrefix(k0, k1, n));
    } else {
        const std::uint64_t h = HashTail(pszWord, n, HashPrefix(k0, k1, 16));
        key.nHash = static_cast<std::uint32_t>(Mum(h ^ n, 0x1D8E4E27C47D124Full));
    }
    return key;
}

bool FoldedEqual(const char* a, const char* b, std::size_t n) noexcept {
    using namespace word_key;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        if (FoldCapitals(Load8(a + i)) != FoldCapitals(Load8(b + i)))
            return false;
    }
    return i == n || FoldCapitals(LoadPart(a + i, n - i)) == FoldCapitals(LoadPart(b + i, n - i));
}

void CWordIndex::ReserveOne() {
    const std::size_t nWords = m_nEntries + 1;
    const std::size_t nCapacity = m_pEntries ? m_nMask + 1 : 0;
    if (nCapacity && !TooFull(nWords, nCapacity))
        return;
    std::size_t nNew = nCapacity ? nCapacity : kMinCapacity;
    while (TooFull(nWords, nNew))
        nNew *= 2;
    std::unique_ptr<Entry[]> pOld(new Entry[nNew]()); // the only step that can fail
    pOld.swap(m_pEntries);
    m_pSlots = m_pEntries.get();
    m_nMask = nNew - 1;
    for (std::size_t i = 0; i < nCapacity; ++i) {
        if (pOld[i].pNode)
            Place(pOld[i]);
    }
}

void CWordIndex::Add(const WordKey& key, CNode* pNode) noexcept {
    Place({pNode, key.nHash, key.nLength});
    ++m_nEntries;
}

void CWordIndex::Place(const Entry& entry) noexcept {
    std::size_t i = entry.nHash & m_nMask;
    while (m_pEntries[i].pNode)
        i = (i + 1) & m_nMask;
    m_pEntries[i] = entry;
}

void CWordIndex::Release() noexcept {
    m_pEntries.reset();
    m_pSlots = kNoSlots;
    m_nMask = 0;
    m_nEntries = 0;
}
