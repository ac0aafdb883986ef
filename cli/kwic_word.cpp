#include "cli/kwic_word.h"

#include "engine/text_encoding.h"
#include "platform/utf8.h"

#include <algorithm>
#include <iconv.h>

bool Utf8ToCp932(const std::string& utf8, std::string& out) {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    // A character of up to four UTF-8 bytes never takes more than two.
    out.assign(utf8.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    const bool whole = iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - toLeft);
    return whole && inLeft == 0;
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
