// The word table's index: finds the node of a word already counted without
// walking the tree. Two words are the same word when they are equal after
// the bytes A-Z are folded to a-z (and nothing else), which is exactly when
// mbstricmp calls them equal; the index hashes and compares them that way.
#ifndef VORLAN_ENGINE_WORD_INDEX_H
#define VORLAN_ENGINE_WORD_INDEX_H

#include <cstddef>
#include <cstdint>
#include <memory>

class CNode;

// A word with its length and its case-folded hash, computed once per word.
struct WordKey {
    const char* pszText;
    std::uint32_t nLength;
    std::uint32_t nHash;
};

WordKey MakeWordKey(const char* pszWord) noexcept;

// True when the n bytes at a and b are equal once A-Z are folded to a-z.
bool FoldedEqual(const char* a, const char* b, std::size_t n) noexcept;

// Open addressing with linear probing; each entry keeps the hash and length
// of its word, so growing never reads a word and most misses never compare
// one. The index does not own the nodes.
class CWordIndex {
  public:
    CWordIndex() = default;
    CWordIndex(const CWordIndex&) = delete;
    CWordIndex& operator=(const CWordIndex&) = delete;

    // The node holding the word of key, or null.
    CNode* Find(const WordKey& key) const noexcept;

    // Makes room for nWords entries. Throws std::bad_alloc and leaves the
    // index as it was when memory runs out.
    void Reserve(std::size_t nWords);

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

    void Place(const Entry& entry) noexcept;

    std::unique_ptr<Entry[]> m_pEntries;
    std::size_t m_nMask = 0; // capacity - 1; the capacity is a power of two
};

#endif
