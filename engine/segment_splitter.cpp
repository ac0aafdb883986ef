#include "engine/segment_splitter.h"

#include "engine/scan.h"
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

static_assert(kScanLineBufferSize <= 0xFFFF, "a surface's place must fit two bytes");

} // namespace

CWordSplitter::CWordSplitter(const CMecabModel& model, CSegmentCache& cache, bool utf8,
                             bool baseForms)
    : m_model(model), m_cache(cache), m_bUtf8(utf8), m_bBaseForms(baseForms) {}

CWordSplitter::~CWordSplitter() = default;

void CWordSplitter::StartLine() {
    m_nChunk = 0;
    m_nUsed = 0;
    m_pNext = m_pEnd = nullptr;
    m_pClassic = m_pTaken = nullptr;
}

bool CWordSplitter::Split(const char* word) {
    const std::string_view bytes(word);
    if (!HoldsJapanese(bytes, m_bUtf8))
        return false;
    m_pClassic = word;
    Place(WordsOf(bytes));
    return true;
}

void CWordSplitter::AppendWord(std::string& words, std::string_view word, std::size_t offset,
                               std::size_t length) {
    const SurfacePlace place{static_cast<std::uint16_t>(offset),
                             static_cast<std::uint16_t>(length)};
    words.append(reinterpret_cast<const char*>(&place), sizeof place);
    words.append(word).push_back('\0');
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
    if (whole) {
        words.clear();
        AppendWord(words, word, 0, word.size());
    }
    return words;
}

// Appends each word the analyser finds in text (UTF-8), converted back to
// code page 932 for a Shift-JIS file, with the place of its surface. The
// surface's offset is the length in the file's encoding of all text before
// it, symbols and spaces the analyser passed over included. False when the
// analyser fails or a word does not convert back.
bool CWordSplitter::AnalyseText(std::string_view text, std::string& words) {
    if (!m_pTagger->Split(text, m_bBaseForms, m_pieces))
        return false;
    words.reserve(text.size() + m_pieces.size() * (sizeof(SurfacePlace) + 1));
    std::size_t nRead = 0;   // bytes of text before the end of the last surface
    std::size_t nOffset = 0; // the same in the file's encoding
    for (const MecabWord& piece : m_pieces) {
        const std::size_t start = static_cast<std::size_t>(piece.surface.data() - text.data());
        std::string_view gap, surface, form;
        if (start < nRead || start + piece.surface.size() > text.size() ||
            !InFileEncoding(text.substr(nRead, start - nRead), gap))
            return false;
        nOffset += gap.size();
        // Each conversion replaces the one before: a length is taken first.
        if (!InFileEncoding(piece.surface, surface))
            return false;
        const std::size_t length = surface.size();
        form = surface;
        if (piece.form.data() != piece.surface.data() && !InFileEncoding(piece.form, form))
            return false;
        AppendWord(words, form, nOffset, length);
        nOffset += length;
        nRead = start + piece.surface.size();
    }
    return true;
}

// UTF-8 text in the file's encoding: itself, or converted into m_strPiece
// (valid until the next conversion). False when it does not convert back.
bool CWordSplitter::InFileEncoding(std::string_view utf8, std::string_view& out) {
    out = utf8;
    if (m_bUtf8 || utf8.empty())
        return true;
    if (!m_pCodec->FromUtf8(utf8, m_strPiece))
        return false;
    out = m_strPiece;
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
