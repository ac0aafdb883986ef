#include "settings/settings_overlay.h"

void CSettingsOverlay::Override(const char* section, const char* key, int value) {
    m_overrides.WriteSettingInt(section, key, value);
}

void CSettingsOverlay::Override(const char* section, const char* key, const char* value) {
    m_overrides.WriteSettingString(section, key, value ? value : "");
}

int CSettingsOverlay::GetSettingInt(const char* section, const char* key, int def) const {
    if (m_overrides.Find(section, key))
        return m_overrides.GetSettingInt(section, key, def);
    return m_base.GetSettingInt(section, key, def);
}

std::string CSettingsOverlay::GetSettingString(const char* section, const char* key,
                                               const char* def) const {
    if (m_overrides.Find(section, key))
        return m_overrides.GetSettingString(section, key, def);
    return m_base.GetSettingString(section, key, def);
}

bool CSettingsOverlay::WriteSettingInt(const char* section, const char* key, int value) {
    return m_base.WriteSettingInt(section, key, value);
}

bool CSettingsOverlay::WriteSettingString(const char* section, const char* key, const char* value) {
    return m_base.WriteSettingString(section, key, value);
}
