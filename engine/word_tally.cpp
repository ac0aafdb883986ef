#include "engine/word_tally.h"

#include <algorithm>
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
CWordTally::CWordTally(std::uint64_t nBytes, std::uint32_t nMaxWords)
    : m_pSlots(new Slot[FirstSlots(nBytes)]()), m_nMask(FirstSlots(nBytes) - 1),
      m_nMaxWords(std::min<std::uint32_t>(nMaxWords, UINT32_MAX - 1)) {}

CWordTally::Counted CWordTally::InsertNew(Slot& slot, const WordKey& key) noexcept {
    // At most 70 % full: short probe runs, and a vocabulary of millions
    // still fits slots of a power of two at about 60 %.
    if ((m_entries.size() + 1) * 10 > (m_nMask + 1) * 7) {
        if (!Grow())
            return kNotCounted;
        return Count(key); // its slot has moved
    }
    if (m_entries.size() >= m_nMaxWords)
        return kNotCounted; // entry numbers are 32 bits
    try {
        m_entries.ReserveOne();
        m_texts.Reserve(std::size_t{key.nLength} + 1);
    } catch (const std::bad_alloc&) {
        return kNotCounted;
    }
    const char* pszText = m_texts.Copy(key.pszText, key.nLength);
    m_entries.push_back({{key.nPrefix[0], key.nPrefix[1]}, pszText, 1, key.nLength});
    slot = {static_cast<std::uint32_t>(m_entries.size()), key.nHash};
    return kNew;
}

const CWordTally::Entry* CWordTally::Find(const WordKey& key) const noexcept {
    for (std::size_t i = key.nHash & m_nMask;; i = (i + 1) & m_nMask) {
        const Slot& slot = m_pSlots[i];
        if (!slot.nEntry)
            return nullptr;
        if (slot.nHash == key.nHash && Matches(m_entries[slot.nEntry - 1], key))
            return &m_entries[slot.nEntry - 1];
    }
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

CWordTally::Counted CWordTally::CountTimes(const WordKey& key, std::uint64_t nTimes) noexcept {
    const Counted counted = Count(key);
    if (counted == kNotCounted || nTimes == 1)
        return counted;
    Entry& entry = EntryOf(key);
    const std::uint64_t nMore = nTimes - 1;
    const std::uint64_t nLow = std::uint64_t{entry.nCount} + (nMore & 0xFFFFFFFFu);
    if (const std::uint64_t nHigh = (nMore >> 32) + (nLow >> 32); nHigh && !Carry(entry, nHigh))
        return kNotCounted;
    entry.nCount = static_cast<std::uint32_t>(nLow);
    return counted;
}

void CWordTally::Clear() noexcept {
    m_entries.clear();
    m_texts.Reset();
    m_carries.clear();
    const std::size_t nSlots = FirstSlots(0);
    if (m_nMask + 1 > nSlots) {
        if (Slot* pSlots = new (std::nothrow) Slot[nSlots]()) {
            m_pSlots.reset(pSlots);
            m_nMask = nSlots - 1;
            return;
        }
    }
    std::fill(m_pSlots.get(), m_pSlots.get() + m_nMask + 1, Slot{});
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

void CWordTally::Swap(CWordTally& other) noexcept {
    m_pSlots.swap(other.m_pSlots);
    std::swap(m_nMask, other.m_nMask);
    std::swap(m_nMaxWords, other.m_nMaxWords);
    m_entries.swap(other.m_entries);
    m_texts.Swap(other.m_texts);
    m_carries.swap(other.m_carries);
}
