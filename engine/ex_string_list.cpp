#include "engine/ex_string_list.h"

#include "platform/event_pump.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

CExPlex* CExPlex::Create(CExPlex*& pHead, std::uint32_t nCount, std::size_t nElementSize) {
    if (nElementSize &&
        nCount > (std::numeric_limits<std::size_t>::max() - sizeof(CExPlex)) / nElementSize)
        throw std::bad_array_new_length();
    auto* pBlock = static_cast<CExPlex*>(::operator new(sizeof(CExPlex) + nCount * nElementSize));
    pBlock->m_pNextBlock = pHead;
    pBlock->m_nCapacity = nCount;
    pBlock->m_nReserved = 0;
    pHead = pBlock;
    return pBlock;
}

void CExPlex::FreeDataChain() noexcept {
    CExPlex* pBlock = this;
    while (pBlock) {
        CExPlex* pNext = pBlock->m_pNextBlock;
        ::operator delete(pBlock);
        pBlock = pNext;
    }
}

CExStringList::CExStringList(std::int32_t nNodesPerBlock)
    : m_nNodesPerBlock(std::max<std::int32_t>(nNodesPerBlock, 1)) {}

CExStringList::~CExStringList() {
    m_bSorting = false;
    RemoveAllLines();
}

CExStringList::CLineNode* CExStringList::TakeNode(CLineNode* pPrev, CLineNode* pNext) {
    if (!m_pFreeNodes) {
        CExPlex* pBlock = CExPlex::Create(m_pBlocks, static_cast<std::uint32_t>(m_nNodesPerBlock),
                                          sizeof(CLineNode));
        // Chained from the last element back, so the first one is taken first.
        auto* pNodes = static_cast<CLineNode*>(pBlock->data());
        for (std::uint32_t i = pBlock->m_nCapacity; i-- > 0;)
            m_pFreeNodes = new (pNodes + i) CLineNode{m_pFreeNodes, nullptr, {}};
    }
    CLineNode* pNode = m_pFreeNodes;
    m_pFreeNodes = pNode->m_pNextNode;
    pNode->m_pPrevNode = pPrev;
    pNode->m_pNextNode = pNext;
    pNode->m_strLine.clear();
    pNode->m_nWordCount = 0;
    pNode->m_nWordLength = 0;
    ++m_nLines;
    return pNode;
}

void CExStringList::ReleaseNode(CLineNode* pNode) noexcept {
    std::string().swap(pNode->m_strLine);
    pNode->m_pPrevNode = nullptr;
    pNode->m_pNextNode = m_pFreeNodes;
    m_pFreeNodes = pNode;
    --m_nLines;
}

const CExStringList::CLineNode* CExStringList::AppendLine(std::string text) {
    return LinkAtEnd(std::move(text));
}

CExStringList::CLineNode* CExStringList::LinkAtEnd(std::string text) {
    CLineNode* pNode = TakeNode(m_pTail, nullptr);
    pNode->m_strLine = std::move(text);
    if (m_pTail)
        m_pTail->m_pNextNode = pNode;
    else
        m_pHead = pNode;
    m_pTail = pNode;
    return pNode;
}

const CExStringList::CLineNode*
CExStringList::AppendWordLine(std::string text, std::uint64_t nCount, std::size_t nWordLength) {
    CLineNode* pNode = LinkAtEnd(std::move(text));
    pNode->m_nWordCount =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(nCount, CLineNode::kCountInLine));
    pNode->m_nWordLength = static_cast<std::uint32_t>(nWordLength);
    return pNode;
}

std::uint64_t CExStringList::CLineNode::CountInLine() const {
    std::uint64_t nCount = 0;
    std::size_t i = m_strLine.find_first_not_of(' ');
    for (; i < m_strLine.size() && m_strLine[i] >= '0' && m_strLine[i] <= '9'; ++i)
        nCount = nCount * 10 + static_cast<std::uint64_t>(m_strLine[i] - '0');
    return nCount;
}

const CExStringList::CLineNode* CExStringList::PrependLine(std::string text) {
    CLineNode* pNode = TakeNode(nullptr, m_pHead);
    pNode->m_strLine = std::move(text);
    if (m_pHead)
        m_pHead->m_pPrevNode = pNode;
    else
        m_pTail = pNode;
    m_pHead = pNode;
    return pNode;
}

void CExStringList::RemoveAllLines() noexcept {
    Unlink();
    if (m_bSorting) {
        m_bUnlinkedWhileSorting = true;
        return;
    }
    m_pFreeNodes = nullptr;
    DestroyBlocks();
}

// Every element of every block was constructed when its block was made,
// whether it is a line, a free node, or neither any more.
void CExStringList::DestroyBlocks() noexcept {
    for (CExPlex* pBlock = m_pBlocks; pBlock; pBlock = pBlock->m_pNextBlock) {
        auto* pNodes = static_cast<CLineNode*>(pBlock->data());
        for (std::uint32_t i = 0; i < pBlock->m_nCapacity; ++i)
            pNodes[i].~CLineNode();
    }
    if (m_pBlocks)
        m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
}

void CExStringList::Unlink() noexcept {
    m_pHead = nullptr;
    m_pTail = nullptr;
    m_nLines = 0;
}

void CExStringList::LinkAtTail(CLineNode* pNode) noexcept {
    pNode->m_pPrevNode = m_pTail;
    pNode->m_pNextNode = nullptr;
    if (m_pTail)
        m_pTail->m_pNextNode = pNode;
    else
        m_pHead = pNode;
    m_pTail = pNode;
    ++m_nLines;
}

namespace {

// Bucket 0 takes a non-digit (a space of the right-aligned count field, or a
// position past the end of the line); buckets 1 to 10 the digits 0 to 9.
constexpr int kBuckets = 11;

// How far the count field of line reaches past nWidth bytes: its leading
// spaces and then digits, when the digits run on past nWidth.
std::size_t FieldOverrun(const std::string& line, std::size_t nWidth) noexcept {
    const auto isDigit = [&](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
    if (line.size() <= nWidth || !isDigit(nWidth))
        return 0;
    std::size_t nEnd = nWidth + 1;
    while (nEnd < line.size() && isDigit(nEnd))
        ++nEnd;
    for (std::size_t i = 0; i < nWidth; ++i) {
        if (line[i] != ' ' && !isDigit(i))
            return 0; // the digits at nWidth are not the line's leading number
    }
    return nEnd - nWidth;
}

// The bucket of line at nPos of a field that ends nWidth bytes in; a line
// with a longer count field is aligned at its field's end instead, and a
// position before its first byte is blank.
inline std::uint8_t BucketOf(const std::string& line, std::ptrdiff_t nPos,
                             std::size_t nWidth) noexcept {
    nPos += static_cast<std::ptrdiff_t>(FieldOverrun(line, nWidth));
    if (nPos < 0 || static_cast<std::size_t>(nPos) >= line.size())
        return 0;
    const unsigned char c = static_cast<unsigned char>(line[static_cast<std::size_t>(nPos)]);
    return c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0' + 1) : 0;
}

class CSortingScope {
  public:
    explicit CSortingScope(bool& bFlag) : m_bFlag(bFlag) { m_bFlag = true; }
    ~CSortingScope() { m_bFlag = false; }
    CSortingScope(const CSortingScope&) = delete;
    CSortingScope& operator=(const CSortingScope&) = delete;

  private:
    bool& m_bFlag;
};

} // namespace

// The buckets are ranges of one array of node pointers: a pass moves
// pointers, never texts, and rebuilds the list by relinking its own nodes.
void CExStringList::SortByCount(int nWidth, SortDirection direction) {
    if (nWidth < 1 || m_bSorting)
        return;
    std::vector<CLineNode*> order;
    order.reserve(static_cast<std::size_t>(std::max<std::int32_t>(m_nLines, 0)));
    for (CLineNode* pNode = m_pHead; pNode; pNode = pNode->m_pNextNode)
        order.push_back(pNode);
    std::vector<CLineNode*> distributed(order.size());
    std::vector<std::uint8_t> bucketOf(order.size());
    const auto width = static_cast<std::size_t>(nWidth);
    std::size_t nWidest = 0; // the longest overrun of a count field past nWidth
    for (const CLineNode* pNode : order)
        nWidest = std::max(nWidest, FieldOverrun(pNode->m_strLine, width));
    const CSortingScope sorting(m_bSorting);
    m_bUnlinkedWhileSorting = false;

    for (std::ptrdiff_t nPos = nWidth - 1; nPos >= -static_cast<std::ptrdiff_t>(nWidest); --nPos) {
        std::size_t counts[kBuckets] = {};
        for (std::size_t i = 0; i < order.size(); ++i) {
            PumpMessages();
            bucketOf[i] = BucketOf(order[i]->m_strLine, nPos, width);
            ++counts[bucketOf[i]];
        }
        // No digit here means none further left either, for right-aligned
        // numbers: the order is final.
        if (counts[0] == order.size())
            break;
        std::size_t next[kBuckets];
        for (std::size_t b = 0, nStart = 0; b < kBuckets; nStart += counts[b++])
            next[b] = nStart;
        for (std::size_t i = 0; i < order.size(); ++i)
            distributed[next[bucketOf[i]]++] = order[i];
        order.swap(distributed);

        Unlink();
        m_bUnlinkedWhileSorting = false;
        for (std::size_t b = 0, i = 0; b < kBuckets; ++b) {
            PumpMessages();
            for (const std::size_t nEnd = i + counts[b]; i < nEnd; ++i)
                LinkAtTail(order[i]);
        }
    }

    if (direction == MoreToLess) {
        for (std::size_t i = order.size(); i-- > 0;)
            PumpMessages(); // the list stays whole while the reversed order is taken
        std::reverse(order.begin(), order.end());
        Unlink();
        m_bUnlinkedWhileSorting = false;
        for (CLineNode* pNode : order) {
            PumpMessages();
            LinkAtTail(pNode);
        }
    }
    if (m_bUnlinkedWhileSorting)
        Relink(order);
}

void CExStringList::Relink(const std::vector<CLineNode*>& nodes) noexcept {
    Unlink();
    for (CLineNode* pNode : nodes)
        LinkAtTail(pNode);
}
