#include "settings/memory_settings.h"

#include "platform/profile_file.h"
#include "settings/setting_values.h"

#include <algorithm>

const CMemorySettings::Entry* CMemorySettings::Lookup(const char* section, const char* key) const {
    if (!section || !key)
        return nullptr;
    for (const Entry& e : m_entries)
        if (ProfileNamesEqual(e.section, section) && ProfileNamesEqual(e.key, key))
            return &e;
    return nullptr;
}

std::optional<std::string> CMemorySettings::Find(const char* section, const char* key) const {
    const Entry* e = Lookup(section, key);
    return e ? std::optional<std::string>(e->value) : std::nullopt;
}

int CMemorySettings::GetSettingInt(const char* section, const char* key, int def) const {
    const Entry* e = Lookup(section, key);
    return e ? IntSettingFromText(e->value, def) : def;
}

std::string CMemorySettings::GetSettingString(const char* section, const char* key,
                                              const char* def) const {
    const Entry* e = Lookup(section, key);
    if (!e)
        return def ? def : "";
    return e->value.substr(0, kMaxProfileString);
}

bool CMemorySettings::WriteSettingInt(const char* section, const char* key, int value) {
    return WriteSettingString(section, key, std::to_string(value).c_str());
}

bool CMemorySettings::WriteSettingString(const char* section, const char* key, const char* value) {
    if (!section || !key)
        return false;
    if (const Entry* e = Lookup(section, key)) {
        auto at = m_entries.begin() + (e - m_entries.data());
        if (value)
            at->value = value;
        else
            m_entries.erase(at);
        return true;
    }
    if (value)
        m_entries.push_back({section, key, value});
    return true;
}
