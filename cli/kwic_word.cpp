#include "cli/kwic_word.h"

#include "engine/segment_codec.h"
#include "engine/text_encoding.h"
#include "platform/utf8.h"

#include <algorithm>

bool Utf8ToCp932(const std::string& utf8, std::string& out) {
    CCp932Codec codec;
    return codec.FromUtf8(utf8, out);
}

std::string PrepareKwicWord(const std::string& word, int encoding, ConcordanceWord& out) {
    if (word.empty())
        return "empty word";
    out = {word, word};
    const bool readsUtf8 = encoding == kEncodingUtf8 || encoding == kEncodingDetect;
    const bool readsBytes = encoding != kEncodingUtf8;
    const bool beyondAscii = std::any_of(
        word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
    // A word with no form in code page 932 can still be found as its own
    // bytes: UTF-8 text read as bytes.
    if (readsBytes && beyondAscii && IsValidUtf8(word) && !Utf8ToCp932(word, out.bytes))
        out.bytes = word;
    if ((readsBytes && !IsSingleWord(out.bytes, false)) ||
        (readsUtf8 && !IsSingleWord(out.utf8, true)))
        return "is not a single word: the count would split it or drop its delimiters";
    return {};
}
