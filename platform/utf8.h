// Whether bytes are well-formed UTF-8, the one answer every layer uses: a
// face name, a file the count may read as UTF-8, a word exported as data, a
// message shown on screen.
//
// Well-formed means what the Unicode standard means: no stray continuation
// byte, no sequence cut off, no overlong form, no surrogate (U+D800 to
// U+DFFF) and nothing above U+10FFFF.
#ifndef VORLAN_PLATFORM_UTF8_H
#define VORLAN_PLATFORM_UTF8_H

#include <cstddef>
#include <string_view>

// Checks a stream given in pieces of any size; a sequence may straddle two
// pieces.
class CUtf8Validator {
  public:
    // False once the bytes so far are not well-formed UTF-8.
    bool Feed(const unsigned char* data, std::size_t size);
    // Well-formed, with no sequence left open at the end.
    bool Complete() const { return m_bValid && m_nPending == 0; }
    bool SawMultiByte() const { return m_bMultiByte; }

  private:
    bool m_bValid = true;
    bool m_bMultiByte = false;
    unsigned m_nPending = 0;     // continuation bytes still due
    unsigned char m_nLow = 0x80; // range of the next continuation byte
    unsigned char m_nHigh = 0xBF;
};

// Whether bytes, taken whole, are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

#endif
