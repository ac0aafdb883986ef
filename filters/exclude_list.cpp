#include "filters/exclude_list.h"

#include "platform/ascii_case.h"
#include "settings/settings_store.h"

#include <cstring>

namespace {

struct Category {
    const char* switchKey;
    const char* listKey;
    const char* defaultList;
};

constexpr const char* kSection = "Exclude";

constexpr Category kCategories[] = {
    {"Exec", "ExecExt", ".EXE|.COM|.DLL|.SYS|.DRV|.VBX|.OCX|"},
    {"Pict", "PictExt", ".BMP|.GIF|.JPG|.PCX|.TIF|.PCD|.ICO|"},
    {"Data", "DataExt", ".AVI|.MOV|.WAV|.HLP|"},
    {"Arc", "ArcExt", ".LZH|.ZIP|.ARJ|.ARC|.SIT|.CPT|"},
    {"User", "UserExt", ""},
};

// entry == "." + ext, ASCII letters compared without case.
bool MatchesKey(const std::string& entry, const char* ext, std::size_t extLen) {
    return !entry.empty() && entry[0] == '.' &&
           AsciiEqualNoCase(std::string_view(entry).substr(1), std::string_view(ext, extLen));
}

} // namespace

CExcludeList::CExcludeList(const CSettingsStore& store) {
    m_listExt.reserve(32);
    for (const Category& c : kCategories) {
        if (store.GetSettingInt(kSection, c.switchKey, 1) != 1)
            continue;
        std::string list = store.GetSettingString(kSection, c.listKey, c.defaultList);
        if (list.size() > kMaxListBytes)
            list.resize(kMaxListBytes);
        AppendItems(list);
    }
}

// Items are separated by "|"; empty items (leading, trailing or repeated
// bars) are dropped, every other item is kept exactly, spaces included.
void CExcludeList::AppendItems(const std::string& list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t bar = list.find('|', start);
        if (bar == std::string::npos)
            bar = list.size();
        if (bar > start)
            m_listExt.emplace_back(list, start, bar - start);
        start = bar + 1;
    }
}

// "/" and "." never occur as the second byte of a Shift-JIS character (those
// are 0x40 and above), so plain byte searches find the name and extension
// in double-byte paths as well.
bool CExcludeList::IsExcluded(const char* path) const {
    const char* name = std::strrchr(path, '/');
    name = name ? name + 1 : path;
    const char* ext = "";
    if (name[0] != '.') {
        if (const char* dot = std::strrchr(name, '.'))
            ext = dot + 1;
    }
    std::size_t extLen = std::strlen(ext);
    for (const std::string& entry : m_listExt) {
        if (MatchesKey(entry, ext, extLen))
            return true;
    }
    return false;
}
