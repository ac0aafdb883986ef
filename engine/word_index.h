// The word table's index: finds the node of a word already counted without
// walking the tree. Two words are the same word when they are equal after
// the bytes A-Z are folded to a-z (and nothing else), which is exactly when
// mbstricmp calls them equal; the index hashes and compares them that way.
//
// A word's key holds its first 16 bytes folded (zero past its end), its
// length and its hash, all computed in one pass over the word eight bytes at
// a time. Each node keeps the prefix of its word in the same form, so the
// common hit compares two 64-bit values in the line of the node it counts.
#ifndef VORLAN_ENGINE_WORD_INDEX_H
#define VORLAN_ENGINE_WORD_INDEX_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

class CNode;

// The bytes a padded word may have after its terminator that the key
// computation may read (and ignore).
constexpr std::size_t kWordPadding = 16;

struct WordKey {
    const char* pszText;
    std::uint64_t nPrefix[2]; // bytes 0-15 folded, little-endian, zero past the end
    std::uint32_t nLength;
    std::uint32_t nHash;
};

namespace word_key {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Folds every byte 0x41-0x5A of x to 0x61-0x7A. Bytes from 0x80 up keep
// their value even when their low seven bits look like a capital letter.
inline std::uint64_t FoldCapitals(std::uint64_t x) noexcept {
    const std::uint64_t low7 = x & (0x7F * kOnes);
    const std::uint64_t atLeastA = low7 + (0x80 - 0x41) * kOnes;
    const std::uint64_t pastZ = low7 + (0x80 - 0x5B) * kOnes;
    const std::uint64_t capitals = atLeastA & ~pastZ & ~x & kHighs;
    return x | (capitals >> 2);
}

inline std::uint64_t Load8(const char* p) noexcept {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
}

// Bit 7 of the lowest zero byte of x is set, and no lower bit; higher bits
// are not to be trusted. Zero when x holds no zero byte.
inline std::uint64_t LowestZeroByte(std::uint64_t x) noexcept {
    return (x - kOnes) & ~x & kHighs;
}

// The bytes of x below the byte marked by LowestZeroByte (z != 0).
inline std::uint64_t BytesBelow(std::uint64_t x, std::uint64_t z) noexcept {
    return x & (((z & (~z + 1)) >> 7) - 1);
}

inline std::uint64_t Mum(std::uint64_t a, std::uint64_t b) noexcept {
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(r) ^ static_cast<std::uint64_t>(r >> 64);
}

inline std::uint64_t HashPrefix(std::uint64_t k0, std::uint64_t k1, std::uint64_t n) noexcept {
    return Mum(k0 ^ 0xA0761D6478BD642Full, k1 ^ 0xE7037ED1A0B428DBull ^ (n << 32));
}

inline std::uint64_t HashChunk(std::uint64_t h, std::uint64_t chunk) noexcept {
    return Mum(h ^ chunk ^ 0x8EBC6AF09C88C6E3ull, 0x589965CC75374CC3ull);
}

// Bytes 16 and on of a word of nLength > 16 bytes whose hash so far is h.
// Safe: reads only the word's own bytes.
std::uint64_t HashTail(const char* pszWord, std::size_t nLength, std::uint64_t h) noexcept;
// The same for a padded word, which also finds the end: sets nLength.
std::uint64_t HashPaddedTail(const char* pszWord, std::size_t& nLength, std::uint64_t h) noexcept;

} // namespace word_key

// The key of any NUL-terminated word; reads no byte past its terminator.
WordKey MakeWordKey(const char* pszWord) noexcept;

// The same key for a word of a buffer that has at least kWordPadding
// readable bytes after the word's terminator: no length computation and no
// byte-wise tail.
inline WordKey MakePaddedWordKey(const char* pszWord) noexcept {
    using namespace word_key;
    WordKey key;
    key.pszText = pszWord;
    const std::uint64_t x0 = Load8(pszWord);
    if (const std::uint64_t z0 = LowestZeroByte(x0)) [[likely]] { // up to 7 bytes
        const std::uint64_t n = static_cast<std::uint64_t>(__builtin_ctzll(z0) >> 3);
        const std::uint64_t k0 = FoldCapitals(BytesBelow(x0, z0));
        key.nPrefix[0] = k0;
        key.nPrefix[1] = 0;
        key.nLength = static_cast<std::uint32_t>(n);
        key.nHash = static_cast<std::uint32_t>(HashPrefix(k0, 0, n));
        return key;
    }
    const std::uint64_t k0 = FoldCapitals(x0);
    key.nPrefix[0] = k0;
    const std::uint64_t x1 = Load8(pszWord + 8);
    if (const std::uint64_t z1 = LowestZeroByte(x1)) { // 8 to 15 bytes
        const std::uint64_t n = 8 + static_cast<std::uint64_t>(__builtin_ctzll(z1) >> 3);
        const std::uint64_t k1 = FoldCapitals(BytesBelow(x1, z1));
        key.nPrefix[1] = k1;
        key.nLength = static_cast<std::uint32_t>(n);
        key.nHash = static_cast<std::uint32_t>(HashPrefix(k0, k1, n));
        return key;
    }
    // 16 bytes or more: the length goes into the hash at the end instead.
    const std::uint64_t k1 = FoldCapitals(x1);
    key.nPrefix[1] = k1;
    std::size_t n = 16;
    const std::uint64_t h = HashPaddedTail(pszWord, n, HashPrefix(k0, k1, 16));
    key.nLength = static_cast<std::uint32_t>(n);
    key.nHash = static_cast<std::uint32_t>(Mum(h ^ n, 0x1D8E4E27C47D124Full));
    return key;
}

// The key of a stored word whose folded prefix and length are known: the
// same as MakeWordKey's, but only a word of 16 bytes or more is read again.
inline WordKey StoredWordKey(const char* pszWord, std::uint64_t k0, std::uint64_t k1,
                             std::uint32_t nLength) noexcept {
    if (nLength >= 16)
        return MakeWordKey(pszWord);
    return {pszWord,
            {k0, k1},
            nLength,
            static_cast<std::uint32_t>(word_key::HashPrefix(k0, k1, nLength))};
}

// True when the n bytes at a and b are equal once A-Z are folded to a-z.
bool FoldedEqual(const char* a, const char* b, std::size_t n) noexcept;

// Open addressing with linear probing; each entry keeps the hash and length
// of its word, so growing never reads a node and most misses compare none.
// The index does not own the nodes, and need not hold every word of the
// table: a word it misses is looked up in the tree.
class CWordIndex {
  public:
    CWordIndex() = default;
    CWordIndex(const CWordIndex&) = delete;
    CWordIndex& operator=(const CWordIndex&) = delete;

    // The node holding the word of key, or null.
    inline CNode* Find(const WordKey& key) const noexcept;

    // Makes room for one more entry. Throws std::bad_alloc and leaves the
    // index as it was when memory runs out.
    void ReserveOne();

    // Adds a word that Find does not know; Reserve must have made room.
    void Add(const WordKey& key, CNode* pNode) noexcept;

    // Forgets every entry and frees the table.
    void Release() noexcept;

  private:
    struct Entry {
        CNode* pNode;
        std::uint32_t nHash;
        std::uint32_t nLength;
    };

    static bool Matches(const CNode& node, const WordKey& key) noexcept;
    void Place(const Entry& entry) noexcept;

    static constexpr Entry kNoSlots[1] = {};
    std::unique_ptr<Entry[]> m_pEntries;
    // The table the lookups read: m_pEntries, or a single empty slot while
    // there is none, so that they need no test for it.
    const Entry* m_pSlots = kNoSlots;
    std::size_t m_nMask = 0; // capacity - 1; the capacity is a power of two
    std::size_t m_nEntries = 0;
};

#endif
