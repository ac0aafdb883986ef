// A settings store that keeps its values in memory for the life of the
// process: what the program runs on until the profile file store plugs in,
// and what the tests hand to the windows.
#ifndef VORLAN_UI_MEMORY_SETTINGS_STORE_H
#define VORLAN_UI_MEMORY_SETTINGS_STORE_H

#include "settings/settings_store.h"

#include <map>
#include <string>

class CMemorySettingsStore : public CSettingsStore {
  public:
    int GetSettingInt(const char* section, const char* key, int def) const override;
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override;
    bool WriteSettingInt(const char* section, const char* key, int value) override;
    bool WriteSettingString(const char* section, const char* key, const char* value) override;

    // Whether section/key has been written.
    bool Has(const char* section, const char* key) const;
    // How many writes have been made.
    int WriteCount() const { return m_nWrites; }

  private:
    static std::string Key(const char* section, const char* key);

    std::map<std::string, std::string> m_values;
    int m_nWrites = 0;
};

#endif
