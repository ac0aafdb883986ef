// The WORD of --kwic and --collocates as the concordance compares it.
#ifndef VORLAN_CLI_KWIC_WORD_H
#define VORLAN_CLI_KWIC_WORD_H

#include "engine/concordance.h"

#include <string>

// WORD is taken as bytes. When it is UTF-8 with characters beyond ASCII, the
// files read as Shift-JIS (encoding bytes or detect, TextEncoding) compare it
// converted through code page 932; files read as UTF-8 compare it as given.
// A WORD without a form there is compared as its own bytes. Returns the
// reason WORD cannot be looked for (empty when it can): it is empty, or it is
// not one word for the tokenizer of every reading the count may use.
std::string PrepareKwicWord(const std::string& word, int encoding, ConcordanceWord& out);

// UTF-8 converted to code page 932; false when some character has no form
// there (or the system has no converter).
bool Utf8ToCp932(const std::string& utf8, std::string& out);

#endif
