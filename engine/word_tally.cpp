#include "engine/word_tally.h"

#include <new>

namespace {

// A text of a few megabytes holds some ten thousand different words; the
// first slots are enough for that many, up to that many, and then grow.
std::size_t FirstSlots(std::uint64_t nBytes) {
    std::size_t n = 256;
    while (n < 32768 && n * 64 < nBytes)
        n *= 2;
    return n;
}

} // namespace

// Throws std::bad_alloc when not even the first slots can be had.
CWordTally::CWordTally(std::uint64_t nBytes)
    : m_pSlots(new Slot[FirstSlots(nBytes)]()), m_nMask(FirstSlots(nBytes) - 1) {}

bool CWordTally::InsertNew(Slot& slot, const WordKey& key) noexcept {
    // Half full at most: short probe runs, and a miss usually ends at once.
    if ((m_order.size() + 1) * 2 > m_nMask + 1) {
        if (!Grow())
            return false;
        return InsertKey(key); // its slot has moved
    }
    try {
        if (m_order.size() == m_order.capacity())
            m_order.reserve(2 * m_order.size() + 64);
        m_texts.Reserve(std::size_t{key.nLength} + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    slot.nPrefix[0] = key.nPrefix[0];
    slot.nPrefix[1] = key.nPrefix[1];
    slot.pszText = m_texts.Copy(key.pszText, key.nLength);
    slot.nCount = 1;
    slot.nLength = key.nLength;
    m_order.push_back(static_cast<std::uint32_t>(&slot - m_pSlots.get()));
    return true;
}

// Doubles the slots; the hashes are computed again from the texts.
bool CWordTally::Grow() noexcept {
    const std::size_t nSlots = 2 * (m_nMask + 1);
    if (nSlots > (std::size_t{1} << 32))
        return false; // slot numbers are 32 bits
    std::unique_ptr<Slot[]> pSlots(new (std::nothrow) Slot[nSlots]());
    if (!pSlots)
        return false;
    const std::size_t nMask = nSlots - 1;
    for (std::uint32_t& i : m_order) {
        const Slot& old = m_pSlots[i];
        std::size_t j = MakeWordKey(old.pszText).nHash & nMask;
        while (pSlots[j].pszText)
            j = (j + 1) & nMask;
        pSlots[j] = old;
        i = static_cast<std::uint32_t>(j);
    }
    m_pSlots = std::move(pSlots);
    m_nMask = nMask;
    return true;
}

bool CWordTally::InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
    const WordKey key = MakeWordKey(pszWord);
    if (!InsertKey(key))
        return false;
    Slot& slot = SlotOf(key);
    const std::uint64_t nMore = nTimes - 1;
    const std::uint64_t nLow = std::uint64_t{slot.nCount} + (nMore & 0xFFFFFFFFu);
    if (const std::uint64_t nHigh = (nMore >> 32) + (nLow >> 32); nHigh && !Carry(slot, nHigh))
        return false;
    slot.nCount = static_cast<std::uint32_t>(nLow);
    return true;
}

CWordTally::Slot& CWordTally::SlotOf(const WordKey& key) noexcept {
    std::size_t i = key.nHash & m_nMask;
    while (!Matches(m_pSlots[i], key))
        i = (i + 1) & m_nMask;
    return m_pSlots[i];
}

bool CWordTally::Carry(const Slot& slot, std::uint64_t nHigh) noexcept {
    try {
        m_carries[slot.pszText] += nHigh;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::uint64_t CWordTally::CountOf(const Slot& slot) const noexcept {
    std::uint64_t nCount = slot.nCount;
    if (!m_carries.empty()) [[unlikely]] {
        if (const auto it = m_carries.find(slot.pszText); it != m_carries.end())
            nCount += it->second << 32;
    }
    return nCount;
}
