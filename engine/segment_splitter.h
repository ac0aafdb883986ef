// The dictionary side of one line loop's tokenizer: turns each classic word
// that holds Japanese into the words the analyser finds in it, in the file's
// own encoding, and keeps them in padded buffers of its own until the line
// is done.
#ifndef VORLAN_ENGINE_SEGMENT_SPLITTER_H
#define VORLAN_ENGINE_SEGMENT_SPLITTER_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCp932Codec;
class CMecabModel;
class CMecabTagger;
class CSegmentCache;

class CWordSplitter {
  public:
    // model and cache must outlive the splitter; the cache is that of the
    // encoding the line loop reads (the same bytes split differently in
    // Shift-JIS and in UTF-8).
    CWordSplitter(const CMecabModel& model, CSegmentCache& cache, bool utf8, bool baseForms);
    ~CWordSplitter();
    CWordSplitter(const CWordSplitter&) = delete;
    CWordSplitter& operator=(const CWordSplitter&) = delete;

    // A new line begins: the words handed out for the last one are done with.
    void StartLine();
    // False when the classic word holds no Japanese and counts as it is.
    // Otherwise its words (there may be none) are what Take hands out next.
    bool Split(const char* word);
    // The next word of the classic word last split, or null. Each is
    // NUL-terminated, may be changed in place, has at least kWordPadding
    // readable bytes after its terminator, and stays where it is until the
    // next StartLine.
    char* Take() {
        if (m_pNext == m_pEnd)
            return nullptr;
        char* word = m_pNext;
        m_pNext += std::char_traits<char>::length(word) + 1;
        return word;
    }

  private:
    const std::string& WordsOf(std::string_view word);
    std::string Analyse(std::string_view word);
    bool AnalyseText(std::string_view text, std::string& words);
    void Place(const std::string& words);

    const CMecabModel& m_model;
    CSegmentCache& m_cache;
    const bool m_bUtf8;
    const bool m_bBaseForms;
    // Made at the first word the cache does not hold.
    std::unique_ptr<CMecabTagger> m_pTagger;
    std::unique_ptr<CCp932Codec> m_pCodec;
    std::vector<std::string_view> m_pieces;
    std::string m_strUtf8, m_strPiece;

    // The words of the current line, in chunks that live as long as the
    // splitter and are reused line after line.
    struct Chunk {
        std::unique_ptr<char[]> pBytes;
        std::size_t nSize = 0;
    };
    std::vector<Chunk> m_chunks;
    std::size_t m_nChunk = 0; // the chunk being filled
    std::size_t m_nUsed = 0;  // its bytes taken
    char* m_pNext = nullptr;  // the next word to hand out
    char* m_pEnd = nullptr;   // past the words of the classic word last split
};

#endif
