// The Japanese code page flag. Linux has no OEM code page: the character set
// of the process locale, as the environment names it, takes its place.
#include "ctype_tables.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tesmo {
namespace {

bool IsDoubleByteCodePage(long cp) {
    return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361;
}

// "ja_JP.eucJP@x" -> "EUCJP": the codeset, upper-cased, without '-' and '_'.
std::string NormalizedCodeset(const char* locale) {
    const char* dot = std::strchr(locale, '.');
    std::string out;
    if (!dot)
        return out;
    for (const char* p = dot + 1; *p && *p != '@'; ++p) {
        if (*p == '-' || *p == '_')
            continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    return out;
}

bool IsDoubleByteCodeset(const std::string& cs) {
    static const char* const kSets[] = {"SHIFTJIS", "SJIS",  "CP932",  "MSKANJI",  "WINDOWS31J",
                                        "EUCJP",    "GBK",   "CP936",  "BIG5",     "CP950",
                                        "EUCKR",    "CP949", "GB2312", "BIG5HKSCS"};
    for (const char* s : kSets)
        if (cs == s)
            return true;
    return false;
}

bool Set(const char* v) {
    return v && *v;
}

} // namespace

bool DecideJapaneseCodePage(const char* codepage_override, const char* lc_all, const char* lc_ctype,
                            const char* lang) {
    if (Set(codepage_override))
        return IsDoubleByteCodePage(std::strtol(codepage_override, nullptr, 10));
    const char* locale = Set(lc_all) ? lc_all : Set(lc_ctype) ? lc_ctype : Set(lang) ? lang : "";
    return IsDoubleByteCodeset(NormalizedCodeset(locale));
}

namespace {
// Decided during library load, before any export can be called.
const bool g_japanese = DecideJapaneseCodePage(std::getenv("TESMO_CODEPAGE"), std::getenv("LC_ALL"),
                                               std::getenv("LC_CTYPE"), std::getenv("LANG"));
} // namespace

bool JapaneseCodePage() {
    return g_japanese;
}

bool IsLegalDoubleByte(unsigned code) {
    if (!g_japanese)
        return code < 0x100;
    return IsLead(static_cast<unsigned char>(code >> 8)) &&
           IsTrail(static_cast<unsigned char>(code & 0xFF));
}

} // namespace tesmo
