// The report: an ordered list of text lines whose nodes come from blocks of
// nodes (CExPlex) rather than one heap block each, and its ordering by the
// count at the start of each line.
#ifndef VORLAN_ENGINE_EX_STRING_LIST_H
#define VORLAN_ENGINE_EX_STRING_LIST_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One block of list nodes: this header, then m_nCapacity elements.
struct CExPlex {
    CExPlex* m_pNextBlock;     // the block allocated before this one
    std::uint32_t m_nCapacity; // elements in the block
    std::uint32_t m_nReserved; // always 0

    void* data() noexcept { return this + 1; }

    // Allocates a block of nCount elements of nElementSize bytes and puts it
    // in front of the chain that pHead starts (pHead then names it). Throws
    // std::bad_alloc when memory runs out; the chain is then unchanged.
    static CExPlex* Create(CExPlex*& pHead, std::uint32_t nCount, std::size_t nElementSize);
    // Frees this block and every block after it.
    void FreeDataChain() noexcept;
};
static_assert(sizeof(CExPlex) % alignof(std::max_align_t) == 0);

class CExStringList {
  public:
    // One line of the report. A word line also keeps its word and count as
    // data, so that no reader has to take its text apart again.
    struct CLineNode {
        CLineNode* m_pNextNode; // next line; the next free node while in the free chain
        CLineNode* m_pPrevNode; // previous line
        std::string m_strLine;
        // A word line's count, or kCountInLine for one of 2^32 - 1 or more,
        // whose true count only its text holds: the node stays small, which a
        // report of millions of lines feels. Read it with WordCount().
        std::uint32_t m_nWordCount = 0;
        std::uint32_t m_nWordLength = 0; // its word's bytes, just before CR LF; 0: no word line

        static constexpr std::uint32_t kCountInLine = UINT32_MAX;
        bool IsWordLine() const { return m_nWordLength != 0; }
        std::uint64_t WordCount() const {
            return m_nWordCount != kCountInLine ? m_nWordCount : CountInLine();
        }
        // The number the line starts with, after its leading spaces.
        std::uint64_t CountInLine() const;
        std::string_view Word() const {
            return std::string_view(m_strLine).substr(m_strLine.size() - 2 - m_nWordLength,
                                                      m_nWordLength);
        }
    };

    enum SortDirection { LessToMore, MoreToLess };

    explicit CExStringList(std::int32_t nNodesPerBlock = 10);
    virtual ~CExStringList();
    CExStringList(const CExStringList&) = delete;
    CExStringList& operator=(const CExStringList&) = delete;

    // Add text after the last line or before the first. Throw std::bad_alloc
    // when memory runs out; the list is then unchanged.
    const CLineNode* AppendLine(std::string text);
    const CLineNode* PrependLine(std::string text);
    // Appends a word line: text starts with the count field, ends with the
    // nWordLength bytes of the word (not empty) and CR LF; the word is
    // counted nCount times.
    const CLineNode* AppendWordLine(std::string text, std::uint64_t nCount,
                                    std::size_t nWordLength);

    // Empties the list and frees its blocks.
    void RemoveAllLines() noexcept;

    // Reorders the lines by the number in their first nWidth bytes: a stable
    // least-significant-digit radix ordering with one bucket for non-digits
    // (below every digit) and ten for the digits. A line whose leading run of
    // spaces and digits is longer than nWidth (a count of more digits) takes
    // that whole run as its field, aligned at its right end with the others,
    // so that it sorts by its value too. MoreToLess reverses the
    // result, so lines with equal keys then stand in reverse order. Calls
    // PumpMessages once per line distributed or reversed and once per bucket
    // gathered. Throws std::bad_alloc before changing anything when its
    // working memory cannot be had.
    void SortByCount(int nWidth, SortDirection direction);

    // Readers walk from m_pHead along m_pNextNode; event handlers may do so
    // while the list is being sorted, and see a complete or partly rebuilt
    // list whose m_nLines matches its nodes.
    CLineNode* m_pHead = nullptr;
    CLineNode* m_pTail = nullptr;
    std::int32_t m_nLines = 0;

  protected:
    // The node supply of every insertion: a free node linked to nothing yet,
    // whose links are set to the arguments; counted in m_nLines.
    CLineNode* TakeNode(CLineNode* pPrev, CLineNode* pNext);
    // Returns a node taken out of the list to the free chain.
    void ReleaseNode(CLineNode* pNode) noexcept;

    // The block chain, newest first; every node of the list lives in one.
    CExPlex* m_pBlocks = nullptr;

  private:
    CLineNode* LinkAtEnd(std::string text);
    void DestroyBlocks() noexcept;
    void Unlink() noexcept;
    void LinkAtTail(CLineNode* pNode) noexcept;
    void Relink(const std::vector<CLineNode*>& nodes) noexcept;

    CLineNode* m_pFreeNodes = nullptr;
    std::int32_t m_nNodesPerBlock;
    // While a sort runs it holds every node of the list; a RemoveAllLines
    // from an event handler then only unlinks them, and the sort ends with
    // every line it was given.
    bool m_bSorting = false;
    bool m_bUnlinkedWhileSorting = false;
};

#endif
