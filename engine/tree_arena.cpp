#include "engine/tree_arena.h"

#include "engine/string_tree.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Nodes are never destroyed one by one: freeing a block is their end.
static_assert(std::is_trivially_destructible_v<CNode>);

// The nodes start at the first cache-line boundary after the header, so
// that each node is one line of its own.
struct CNodeArena::Block {
    Block* pNext;
    std::size_t nCapacity;
    CNode* Nodes() noexcept {
        const auto after = reinterpret_cast<std::uintptr_t>(this + 1);
        const std::uintptr_t align = alignof(CNode);
        return reinterpret_cast<CNode*>((after + align - 1) & ~(align - 1));
    }
};

namespace {

// Small first block (an empty table costs little), then each block twice the
// last up to a ceiling, so a large count makes few allocations.
constexpr std::size_t kFirstNodes = 16;
constexpr std::size_t kMaxNodes = 16384;

template <class Header> Header* AllocateWithPayload(std::size_t nPayload) {
    return static_cast<Header*>(::operator new(sizeof(Header) + nPayload));
}

// Room for n nodes and the alignment of the first.
std::size_t NodePayload(std::size_t n) {
    return n * sizeof(CNode) + alignof(CNode) - 1;
}

} // namespace

CNodeArena::CNodeArena() : m_pBlocks(AllocateWithPayload<Block>(NodePayload(kFirstNodes))) {
    m_pBlocks->pNext = nullptr;
    m_pBlocks->nCapacity = kFirstNodes;
    m_nUsed = 0;
}

CNodeArena::~CNodeArena() {
    Reset();
    ::operator delete(m_pBlocks);
}

void CNodeArena::Reserve() {
    if (m_nUsed < m_pBlocks->nCapacity)
        return;
    const std::size_t nCapacity = std::min(m_pBlocks->nCapacity * 2, kMaxNodes);
    Block* pBlock = AllocateWithPayload<Block>(NodePayload(nCapacity));
    pBlock->pNext = m_pBlocks;
    pBlock->nCapacity = nCapacity;
    m_pBlocks = pBlock;
    m_nUsed = 0;
}

CNode* CNodeArena::Take() noexcept {
    return new (m_pBlocks->Nodes() + m_nUsed++) CNode();
}

void CNodeArena::Reset() noexcept {
    while (m_pBlocks->pNext) {
        Block* pNext = m_pBlocks->pNext;
        ::operator delete(m_pBlocks);
        m_pBlocks = pNext;
    }
    m_nUsed = 0;
}

struct CTextArena::Chunk {
    Chunk* pNext;
    char* Bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
};

namespace {
// A word longer than a chunk gets a chunk of its own size; words come from
// lines of a few thousand bytes, so the tail left unused in a chunk is small.
constexpr std::size_t kChunkBytes = 64 * 1024;
} // namespace

CTextArena::~CTextArena() {
    Reset();
}

void CTextArena::Reserve(std::size_t nBytes) {
    if (nBytes <= m_nFree)
        return;
    const std::size_t nSize = std::max(nBytes, kChunkBytes);
    Chunk* pChunk = AllocateWithPayload<Chunk>(nSize);
    pChunk->pNext = m_pChunks;
    m_pChunks = pChunk;
    m_pFree = pChunk->Bytes();
    m_nFree = nSize;
}

char* CTextArena::Copy(const char* p, std::size_t n) noexcept {
    char* pText = m_pFree;
    std::memcpy(pText, p, n);
    pText[n] = '\0';
    m_pFree += n + 1;
    m_nFree -= n + 1;
    return pText;
}

void CTextArena::Reset() noexcept {
    while (m_pChunks) {
        Chunk* pNext = m_pChunks->pNext;
        ::operator delete(m_pChunks);
        m_pChunks = pNext;
    }
    m_pFree = nullptr;
    m_nFree = 0;
}

void CTextArena::Adopt(CTextArena& other) noexcept {
    if (!other.m_pChunks)
        return;
    // Its chunks go behind this arena's newest, which keeps its free bytes.
    Chunk* pLast = other.m_pChunks;
    while (pLast->pNext)
        pLast = pLast->pNext;
    if (m_pChunks) {
        pLast->pNext = m_pChunks->pNext;
        m_pChunks->pNext = other.m_pChunks;
    } else {
        m_pChunks = other.m_pChunks;
        m_pFree = other.m_pFree;
        m_nFree = other.m_nFree;
    }
    other.m_pChunks = nullptr;
    other.m_pFree = nullptr;
    other.m_nFree = 0;
}

void CTextArena::Swap(CTextArena& other) noexcept {
    std::swap(m_pChunks, other.m_pChunks);
    std::swap(m_pFree, other.m_pFree);
    std::swap(m_nFree, other.m_nFree);
}
