#include "engine/segment_tokenizer.h"

char* CLineTokenizer::FirstSplit(char* text) {
    m_pSplitter->StartLine();
    char* word = Skip(m_pfn(text, &m_state));
    if (!word || !m_pSplitter->Split(word))
        return word;
    return NextSplit();
}

// The words of the classic word last split come first; a classic word whose
// words are all symbols gives none, and the next one is taken.
char* CLineTokenizer::NextSplit() {
    for (;;) {
        if (char* word = m_pSplitter->Take())
            return word;
        char* word = Skip(m_pfn(nullptr, &m_state));
        if (!word || !m_pSplitter->Split(word))
            return word;
    }
}
