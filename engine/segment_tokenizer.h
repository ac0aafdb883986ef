// The tokenizer of a line loop: the classic words of strword (by character
// type), or with a word splitter the words a dictionary finds in those that
// hold Japanese (engine/segment.h makes both kinds).
#ifndef VORLAN_ENGINE_SEGMENT_TOKENIZER_H
#define VORLAN_ENGINE_SEGMENT_TOKENIZER_H

#include "engine/segment_splitter.h"

#include "tesmo.h"

#include <memory>

// A tokenizer with a continuation of its own, so that each line loop keeps
// its place whatever other loops or event handlers tokenize meanwhile. Every
// word it returns is NUL-terminated, may be changed in place and has at
// least kWordPadding readable bytes after its terminator; the words of a
// line stay where they are until the next First.
class CLineTokenizer {
  public:
    explicit CLineTokenizer(bool utf8) : m_pfn(utf8 ? strword_utf8_r : strword_r) {}
    CLineTokenizer(bool utf8, std::unique_ptr<CWordSplitter> splitter)
        : m_pfn(utf8 ? strword_utf8_r : strword_r), m_pSplitter(std::move(splitter)) {}

    // The first word of text (in a padded buffer) that is not empty, or null.
    char* First(char* text) {
        if (m_pSplitter) [[unlikely]]
            return FirstSplit(text);
        return Skip(m_pfn(text, &m_state));
    }
    // The next word that is not empty, or null at the end of the line.
    char* Next() {
        if (m_pSplitter) [[unlikely]]
            return NextSplit();
        return Skip(m_pfn(nullptr, &m_state));
    }

  private:
    char* Skip(char* word) {
        while (word && word[0] == '\0')
            [[unlikely]] word = m_pfn(nullptr, &m_state);
        return word;
    }
    char* FirstSplit(char* text);
    char* NextSplit();

    char* (*m_pfn)(char*, strword_state*);
    strword_state m_state{};
    std::unique_ptr<CWordSplitter> m_pSplitter;
};

#endif
