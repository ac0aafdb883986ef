// Storage of the word table: nodes and word texts are carved from large
// blocks and freed all at once when the table is emptied, instead of one
// heap block per node and per word. Every operation that may allocate is a
// Reserve that either succeeds or throws std::bad_alloc with nothing changed;
// what follows it cannot fail.
#ifndef VORLAN_ENGINE_TREE_ARENA_H
#define VORLAN_ENGINE_TREE_ARENA_H

#include <cstddef>

class CNode;

class CNodeArena {
  public:
    // Allocates the first block, which the arena keeps until it is destroyed
    // so that an emptied table can always have its root back.
    CNodeArena();
    ~CNodeArena();
    CNodeArena(const CNodeArena&) = delete;
    CNodeArena& operator=(const CNodeArena&) = delete;

    // Makes sure that the next Take needs no memory.
    void Reserve();
    // A node with every member null or 0.
    CNode* Take() noexcept;
    // Frees every block but the first and starts over in it.
    void Reset() noexcept;

  private:
    struct Block;
    Block* m_pBlocks; // newest first; the last one is the first block
    std::size_t m_nUsed;
};

class CTextArena {
  public:
    CTextArena() = default;
    ~CTextArena();
    CTextArena(const CTextArena&) = delete;
    CTextArena& operator=(const CTextArena&) = delete;

    // Makes sure that the next Copy of up to nBytes - 1 bytes needs no memory.
    void Reserve(std::size_t nBytes);
    // Stores the n bytes at p and a NUL; returns the stored text.
    char* Copy(const char* p, std::size_t n) noexcept;
    void Reset() noexcept;
    // Takes over every text of other, which is left empty; the texts keep
    // their addresses.
    void Adopt(CTextArena& other) noexcept;
    void Swap(CTextArena& other) noexcept;

  private:
    struct Chunk;
    Chunk* m_pChunks = nullptr; // newest first
    char* m_pFree = nullptr;
    std::size_t m_nFree = 0;
};

#endif
