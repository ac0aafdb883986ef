// The tokenizer of a line loop: the classic words of strword (by character
// type), or with a word splitter the words a dictionary finds in those that
// hold Japanese (engine/segment.h makes both kinds).
#ifndef VORLAN_ENGINE_SEGMENT_TOKENIZER_H
#define VORLAN_ENGINE_SEGMENT_TOKENIZER_H

#include "engine/segment_splitter.h"

#include "tesmo.h"

#include <memory>
#include <string_view>

// A tokenizer with a continuation of its own, so that each line loop keeps
// its place whatever other loops or event handlers tokenize meanwhile. Every
// word it returns is NUL-terminated, may be changed in place and has at
// least kWordPadding readable bytes after its terminator; the words of a
// line stay where they are until the next First.
//
// Both kinds run through the same call per word: splitting stands in for
// strword behind the function pointer, so counting by character type pays
// nothing for it.
class CLineTokenizer {
  public:
    explicit CLineTokenizer(bool utf8) : m_pfn(Classic(utf8)) {}
    CLineTokenizer(bool utf8, std::unique_ptr<CWordSplitter> splitter)
        : m_pfn(SplitWords), m_state{{}, Classic(utf8), splitter.get()},
          m_pSplitter(std::move(splitter)) {}

    // The first word of text (in a padded buffer) that is not empty, or null.
    char* First(char* text) { return Skip(m_pfn(text, &m_state.classic)); }
    // The next word that is not empty, or null at the end of the line.
    char* Next() { return Skip(m_pfn(nullptr, &m_state.classic)); }

    // Whether words may differ from the bytes they were read from.
    bool Splits() const { return m_pSplitter != nullptr; }
    // Where the word First or Next returned last, of n bytes, was read
    // from in the text: the word itself by character type; by dictionary
    // its surface within the text (行っ for the base form 行く).
    std::string_view Surface(const char* word, std::size_t n) const {
        return m_pSplitter ? m_pSplitter->SurfaceOf(word, n) : std::string_view(word, n);
    }

  private:
    using Tokenize = char* (*)(char*, strword_state*);
    static Tokenize Classic(bool utf8) { return utf8 ? strword_utf8_r : strword_r; }

    char* Skip(char* word) {
        while (word && word[0] == '\0')
            [[unlikely]] word = m_pfn(nullptr, &m_state.classic);
        return word;
    }
    // strword's continuation comes first, so that SplitWords, given it, finds
    // the rest.
    struct State {
        strword_state classic{};
        Tokenize pfnClassic = nullptr;
        CWordSplitter* pSplitter = nullptr;
    };
    static char* SplitWords(char* text, strword_state* classic);

    Tokenize m_pfn;
    State m_state;
    std::unique_ptr<CWordSplitter> m_pSplitter;
};

#endif
