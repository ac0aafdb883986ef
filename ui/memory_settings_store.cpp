#include "ui/memory_settings_store.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr std::size_t kMaxString = 259;

} // namespace

// Section and key names match without regard to letter case.
std::string CMemorySettingsStore::Key(const char* section, const char* key) {
    std::string joined = std::string(section) + '\n' + key;
    for (char& c : joined)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return joined;
}

int CMemorySettingsStore::GetSettingInt(const char* section, const char* key, int def) const {
    auto it = m_values.find(Key(section, key));
    return it == m_values.end() ? def : int(std::strtol(it->second.c_str(), nullptr, 10));
}

std::string CMemorySettingsStore::GetSettingString(const char* section, const char* key,
                                                   const char* def) const {
    auto it = m_values.find(Key(section, key));
    std::string value = it != m_values.end() ? it->second : std::string(def ? def : "");
    return value.substr(0, kMaxString);
}

bool CMemorySettingsStore::WriteSettingInt(const char* section, const char* key, int value) {
    return WriteSettingString(section, key, std::to_string(value).c_str());
}

bool CMemorySettingsStore::WriteSettingString(const char* section, const char* key,
                                              const char* value) {
    m_values[Key(section, key)] = value ? value : "";
    ++m_nWrites;
    return true;
}

bool CMemorySettingsStore::Has(const char* section, const char* key) const {
    return m_values.contains(Key(section, key));
}
