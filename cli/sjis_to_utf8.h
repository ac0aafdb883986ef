// The bytes of counted words as text for data formats that must be UTF-8.
// Words are counted as the bytes of their files: UTF-8, Shift-JIS or
// anything else; what is not UTF-8 (platform/utf8.h tells) is taken as
// Shift-JIS and converted here.
#ifndef VORLAN_CLI_SJIS_TO_UTF8_H
#define VORLAN_CLI_SJIS_TO_UTF8_H

#include <string>
#include <string_view>

// Converts Shift-JIS (Microsoft's code page 932) to UTF-8. A byte that does
// not begin a convertible character becomes U+FFFD and conversion goes on
// with the next byte.
class CSjisToUtf8 {
  public:
    CSjisToUtf8();
    ~CSjisToUtf8();
    CSjisToUtf8(const CSjisToUtf8&) = delete;
    CSjisToUtf8& operator=(const CSjisToUtf8&) = delete;

    // Appends the converted bytes to out. Returns false when anything was
    // replaced (or when the system has no converter, in which case every
    // byte above 0x7F is replaced).
    bool Convert(std::string_view bytes, std::string& out);

  private:
    void* m_cd; // iconv_t
};

#endif
