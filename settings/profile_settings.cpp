#include "settings/profile_settings.h"

#include "settings/setting_values.h"

#include <optional>
#include <utility>

CProfileSettings::CProfileSettings(std::string path, bool createFolder)
    : m_profile(std::move(path)), m_bCreateFolder(createFolder) {}

CProfileSettings::CProfileSettings(const ProfileLocation& location)
    : CProfileSettings(location.path, location.createFolder) {}

int CProfileSettings::GetSettingInt(const char* section, const char* key, int def) const {
    std::optional<std::string> value = m_profile.ReadValue(section, key);
    return value ? IntSettingFromText(*value, def) : def;
}

std::string CProfileSettings::GetSettingString(const char* section, const char* key,
                                               const char* def) const {
    return m_profile.GetString(section, key, def);
}

bool CProfileSettings::WriteSettingInt(const char* section, const char* key, int value) {
    return PrepareFolder() && m_profile.WriteInt(section, key, value);
}

bool CProfileSettings::WriteSettingString(const char* section, const char* key, const char* value) {
    if (!value)
        return m_profile.DeleteKey(section, key);
    return PrepareFolder() && m_profile.WriteString(section, key, value);
}

bool CProfileSettings::PrepareFolder() const {
    return !m_bCreateFolder || CreateProfileFolder(m_profile.Path());
}
