// The dictionary side of one line loop's tokenizer: turns each classic word
// that holds Japanese into the words the analyser finds in it, in the file's
// own encoding, and keeps them in padded buffers of its own until the line
// is done. Each word knows where its surface stands in the classic word, so
// that a concordance can point at it in the line.
#ifndef VORLAN_ENGINE_SEGMENT_SPLITTER_H
#define VORLAN_ENGINE_SEGMENT_SPLITTER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCp932Codec;
class CMecabModel;
class CMecabTagger;
class CSegmentCache;
struct MecabWord;

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
    // The classic word must stay where it is while its words are asked
    // where they stand.
    bool Split(const char* word);
    // The next word of the classic word last split, or null. Each is
    // NUL-terminated, may be changed in place, has at least kWordPadding
    // readable bytes after its terminator, and stays where it is until the
    // next StartLine.
    char* Take() {
        if (m_pNext == m_pEnd)
            return nullptr;
        char* word = m_pNext + sizeof(SurfacePlace);
        m_pNext = word + std::char_traits<char>::length(word) + 1;
        m_pTaken = word;
        return word;
    }
    // Where word, of n bytes, stands in its line: for the word Take handed
    // out last, its surface in the classic word last split (in base forms
    // the surface it was read from: 行っ for 行く); for any other word (a
    // classic word counted as it is), word itself.
    std::string_view SurfaceOf(const char* word, std::size_t n) const {
        if (word != m_pTaken)
            return {word, n};
        SurfacePlace place;
        std::memcpy(&place, word - sizeof place, sizeof place);
        return {m_pClassic + place.nOffset, place.nLength};
    }

  private:
    // Before each word, in the cache and in the chunks: its surface's offset
    // and length in the classic word, in the file's encoding. A classic word
    // is at most one line piece, so two bytes each suffice.
    struct SurfacePlace {
        std::uint16_t nOffset;
        std::uint16_t nLength;
    };
    static void AppendWord(std::string& words, std::string_view word, std::size_t offset,
                           std::size_t length);

    const std::string& WordsOf(std::string_view word);
    std::string Analyse(std::string_view word);
    bool AnalyseText(std::string_view text, std::string& words);
    bool InFileEncoding(std::string_view utf8, std::string_view& out);
    void Place(const std::string& words);

    const CMecabModel& m_model;
    CSegmentCache& m_cache;
    const bool m_bUtf8;
    const bool m_bBaseForms;
    // Made at the first word the cache does not hold.
    std::unique_ptr<CMecabTagger> m_pTagger;
    std::unique_ptr<CCp932Codec> m_pCodec;
    std::vector<MecabWord> m_pieces;
    std::string m_strUtf8, m_strPiece;
    const char* m_pClassic = nullptr; // the classic word last split
    const char* m_pTaken = nullptr;   // the word Take handed out last

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
