// The settings store over the INI profile file. Each call reads or replaces
// the file itself, so every read sees every earlier write, this process's or
// another's (two instances: last writer wins, per key).
#ifndef VORLAN_SETTINGS_PROFILE_SETTINGS_H
#define VORLAN_SETTINGS_PROFILE_SETTINGS_H

#include "platform/profile_file.h"
#include "settings/profile_location.h"
#include "settings/settings_store.h"

#include <string>

class CProfileSettings : public CSettingsStore {
  public:
    // createFolder: make the missing folders above path on the first write.
    explicit CProfileSettings(std::string path, bool createFolder = false);
    explicit CProfileSettings(const ProfileLocation& location);

    const std::string& Path() const { return m_profile.Path(); }

    // A value with no leading decimal digits (empty, "on") gives def; see
    // IntSettingFromText.
    int GetSettingInt(const char* section, const char* key, int def) const override;
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override;
    bool WriteSettingInt(const char* section, const char* key, int value) override;
    // A null value removes the key, so that the next read gives its default.
    bool WriteSettingString(const char* section, const char* key, const char* value) override;

  private:
    bool PrepareFolder() const;

    CProfileFile m_profile;
    bool m_bCreateFolder;
};

#endif
