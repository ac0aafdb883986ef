// An array that grows by blocks of a fixed size: growing never moves an
// element, so it needs no second copy of millions of them, and an element's
// address stays valid. Indexing costs one more load than a vector's, of a
// block table small enough to stay in the cache.
#ifndef VORLAN_ENGINE_BLOCK_ARRAY_H
#define VORLAN_ENGINE_BLOCK_ARRAY_H

#include <cstddef>
#include <memory>
#include <vector>

template <class T, unsigned kBlockBits = 12> class CBlockArray {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

    std::size_t size() const noexcept { return m_nSize; }
    T& operator[](std::size_t i) noexcept {
        return m_blocks[i >> kBlockBits][i & (kBlockSize - 1)];
    }
    const T& operator[](std::size_t i) const noexcept {
        return m_blocks[i >> kBlockBits][i & (kBlockSize - 1)];
    }

    // Makes sure that the next push_back needs no memory; throws
    // std::bad_alloc, with nothing changed, when it cannot be had.
    void ReserveOne() {
        if (m_nSize < m_blocks.size() * kBlockSize)
            return;
        if (m_blocks.size() == m_blocks.capacity())
            m_blocks.reserve(2 * m_blocks.size() + 4);
        m_blocks.push_back(std::make_unique_for_overwrite<T[]>(kBlockSize));
    }
    void push_back(const T& value) noexcept { (*this)[m_nSize++] = value; }

    void clear() noexcept {
        std::vector<std::unique_ptr<T[]>>().swap(m_blocks);
        m_nSize = 0;
    }
    void swap(CBlockArray& other) noexcept {
        m_blocks.swap(other.m_blocks);
        std::swap(m_nSize, other.m_nSize);
    }

  private:
    std::vector<std::unique_ptr<T[]>> m_blocks;
    std::size_t m_nSize = 0;
};

#endif
