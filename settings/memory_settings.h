// A settings store held in memory, with the profile's rules for names and
// values (names without case, strings cut to 259 bytes, the same integer
// reading). Nothing is persisted: for tests and for per-run values.
#ifndef VORLAN_SETTINGS_MEMORY_SETTINGS_H
#define VORLAN_SETTINGS_MEMORY_SETTINGS_H

#include "settings/settings_store.h"

#include <optional>
#include <string>
#include <vector>

class CMemorySettings : public CSettingsStore {
  public:
    // The whole stored text, or nothing when the key is absent.
    std::optional<std::string> Find(const char* section, const char* key) const;

    int GetSettingInt(const char* section, const char* key, int def) const override;
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override;
    bool WriteSettingInt(const char* section, const char* key, int value) override;
    // A null value removes the key.
    bool WriteSettingString(const char* section, const char* key, const char* value) override;

  private:
    struct Entry {
        std::string section, key, value;
    };
    const Entry* Lookup(const char* section, const char* key) const;

    std::vector<Entry> m_entries;
};

#endif
