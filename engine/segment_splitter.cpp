#include "engine/segment_splitter.h"

#include "engine/segment_cache.h"
#include "engine/segment_codec.h"
#include "engine/segment_mecab.h"
#include "engine/word_index.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstring>

namespace {

// Room for the words of a long line at once in most cases.
constexpr std::size_t kChunkSize = 16 * 1024;

} // namespace

CWordSplitter::CWordSplitter(const CMecabModel& model, CSegmentCache& cache, bool utf8,
                             bool baseForms)
    : m_model(model), m_cache(cache), m_bUtf8(utf8), m_bBaseForms(baseForms) {}

CWordSplitter::~CWordSplitter() = default;

void CWordSplitter::StartLine() {
    m_nChunk = 0;
    m_nUsed = 0;
    m_pNext = m_pEnd = nullptr;
}

bool CWordSplitter::Split(const char* word) {
    const std::string_view bytes(word);
    if (!HoldsJapanese(bytes, m_bUtf8))
        return false;
    Place(WordsOf(bytes));
    return true;
}

const std::string& CWordSplitter::WordsOf(std::string_view word) {
    if (const std::string* words = m_cache.Find(word))
        return *words;
    return *m_cache.Store(word, Analyse(word));
}

// The words of a classic word, or the classic word itself when it does not
// convert or the analyser fails on it.
std::string CWordSplitter::Analyse(std::string_view word) {
    if (!m_pTagger)
        m_pTagger = std::make_unique<CMecabTagger>(m_model);
    std::string words;
    bool whole;
    if (m_bUtf8) {
        // MeCab would skip bytes that are not UTF-8 and count the rest.
        whole = !IsValidUtf8(word) || !AnalyseText(word, words);
    } else {
        if (!m_pCodec)
            m_pCodec = std::make_unique<CCp932Codec>();
        whole = !m_pCodec->ToUtf8(word, m_strUtf8) || !AnalyseText(m_strUtf8, words);
    }
    if (whole)
        words.assign(word.data(), word.size()).push_back('\0');
    return words;
}

// Appends each word the analyser finds in text (UTF-8), converted back to
// code page 932 for a Shift-JIS file, NUL-terminated. False when the
// analyser fails or a word does not convert back.
bool CWordSplitter::AnalyseText(std::string_view text, std::string& words) {
    if (!m_pTagger->Split(text, m_bBaseForms, m_pieces))
        return false;
    for (std::string_view piece : m_pieces) {
        if (!m_bUtf8) {
            if (!m_pCodec->FromUtf8(piece, m_strPiece))
                return false;
            piece = m_strPiece;
        }
        words.append(piece).push_back('\0');
    }
    return true;
}

void CWordSplitter::Place(const std::string& words) {
    const std::size_t need = words.size() + kWordPadding;
    if (m_nChunk < m_chunks.size() && m_chunks[m_nChunk].nSize - m_nUsed < need) {
        ++m_nChunk;
        m_nUsed = 0;
    }
    if (m_nChunk == m_chunks.size())
        m_chunks.emplace_back();
    Chunk& chunk = m_chunks[m_nChunk];
    if (chunk.nSize < need) { // new, or a chunk of an earlier line too small for these words
        const std::size_t size = std::max(kChunkSize, need);
        chunk.pBytes = std::make_unique<char[]>(size);
        chunk.nSize = size;
    }
    m_pNext = chunk.pBytes.get() + m_nUsed;
    std::memcpy(m_pNext, words.data(), words.size());
    m_nUsed += words.size();
    m_pEnd = m_pNext + words.size();
}
