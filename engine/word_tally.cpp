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
    if ((m_entries.size() + 1) * 2 > m_nMask + 1) {
        if (!Grow())
            return false;
        return InsertKey(key); // its slot has moved
    }
    if (m_entries.size() >= UINT32_MAX - 1)
        return false; // entry numbers are 32 bits
    try {
        if (m_entries.size() == m_entries.capacity())
            m_entries.reserve(2 * m_entries.size() + 64);
        m_texts.Reserve(std::size_t{key.nLength} + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const char* pszText = m_texts.Copy(key.pszText, key.nLength);
    m_entries.push_back({{key.nPrefix[0], key.nPrefix[1]}, pszText, 1, key.nLength});
    slot = {static_cast<std::uint32_t>(m_entries.size()), key.nHash};
    return true;
}

// Doubles the slots; each keeps its hash, so no word is read.
bool CWordTally::Grow() noexcept {
    const std::size_t nSlots = 2 * (m_nMask + 1);
    std::unique_ptr<Slot[]> pSlots(new (std::nothrow) Slot[nSlots]());
    if (!pSlots)
        return false;
    const std::size_t nMask = nSlots - 1;
    for (std::size_t i = 0; i <= m_nMask; ++i) {
        const Slot& old = m_pSlots[i];
        if (!old.nEntry)
            continue;
        std::size_t j = old.nHash & nMask;
        while (pSlots[j].nEntry)
            j = (j + 1) & nMask;
        pSlots[j] = old;
    }
    m_pSlots = std::move(pSlots);
    m_nMask = nMask;
    return true;
}

bool CWordTally::InsertRepeated(const char* pszWord, std::uint64_t nTimes) noexcept {
    const WordKey key = MakeWordKey(pszWord);
    if (!InsertKey(key))
        return false;
    Entry& entry = EntryOf(key);
    const std::uint64_t nMore = nTimes - 1;
    const std::uint64_t nLow = std::uint64_t{entry.nCount} + (nMore & 0xFFFFFFFFu);
    if (const std::uint64_t nHigh = (nMore >> 32) + (nLow >> 32); nHigh && !Carry(entry, nHigh))
        return false;
    entry.nCount = static_cast<std::uint32_t>(nLow);
    return true;
}

CWordTally::Entry& CWordTally::EntryOf(const WordKey& key) noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        const Slot& slot = m_pSlots[i];
        if (slot.nHash == key.nHash && Matches(m_entries[slot.nEntry - 1], key))
            return m_entries[slot.nEntry - 1];
    }
}

bool CWordTally::Carry(const Entry& entry, std::uint64_t nHigh) noexcept {
    try {
        m_carries[entry.pszText] += nHigh;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::uint64_t CWordTally::CountOf(const Entry& entry) const noexcept {
    std::uint64_t nCount = entry.nCount;
    if (!m_carries.empty()) [[unlikely]] {
        if (const auto it = m_carries.find(entry.pszText); it != m_carries.end())
            nCount += it->second << 32;
    }
    return nCount;
}
