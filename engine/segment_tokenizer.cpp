#include "engine/segment_tokenizer.h"

#include <type_traits>

// A text starts a line; null goes on with it. The words of the classic word
// last split come first; a classic word whose words are all symbols gives
// none, and the next one is taken. Never returns an empty word.
char* CLineTokenizer::SplitWords(char* text, strword_state* classic) {
    static_assert(std::is_standard_layout_v<State>);
    State& state = *reinterpret_cast<State*>(classic);
    CWordSplitter& splitter = *state.pSplitter;
    if (text) {
        splitter.StartLine();
    } else if (char* word = splitter.Take()) {
        return word;
    }
    for (char* word = state.pfnClassic(text, classic);; word = state.pfnClassic(nullptr, classic)) {
        if (!word)
            return nullptr;
        if (word[0] == '\0')
            continue;
        if (!splitter.Split(word))
            return word;
        if (char* piece = splitter.Take())
            return piece;
    }
}
