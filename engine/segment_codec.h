// The text the analyser sees: which classic words hold Japanese, and the
// conversion of Shift-JIS words to UTF-8 and of their pieces back.
#ifndef VORLAN_ENGINE_SEGMENT_CODEC_H
#define VORLAN_ENGINE_SEGMENT_CODEC_H

#include <string>
#include <string_view>

// Whether a word goes to the analyser. In Shift-JIS text (and single-byte
// text read with it) that is a word with a byte of 0x80 or above; in UTF-8
// text a word with a kana or kanji character, so that words of other scripts
// (naïve, Größe) never reach a Japanese dictionary.
bool HoldsJapanese(std::string_view word, bool utf8);

// Converts between Microsoft's code page 932 and UTF-8 through the system's
// converter (iconv), strictly: a byte sequence that has no counterpart fails
// the conversion instead of being replaced, so that a word is never counted
// under bytes other than its own. One object per thread.
class CCp932Codec {
  public:
    CCp932Codec();
    ~CCp932Codec();
    CCp932Codec(const CCp932Codec&) = delete;
    CCp932Codec& operator=(const CCp932Codec&) = delete;

    // Whether the system converts in both directions.
    bool Available() const;
    // Replace out with the converted text; false when some of it does not
    // convert (out is then unspecified).
    bool ToUtf8(std::string_view cp932, std::string& out);
    bool FromUtf8(std::string_view utf8, std::string& out);

  private:
    void* m_pToUtf8;   // iconv_t
    void* m_pFromUtf8; // iconv_t
};

#endif
