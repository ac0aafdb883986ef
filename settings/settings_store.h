// The settings store: the four operations through which every part of the
// program reads and writes its persistent settings. Each read passes its own
// default; nothing is cached, so a write is seen by the next read anywhere.
#ifndef VORLAN_SETTINGS_SETTINGS_STORE_H
#define VORLAN_SETTINGS_SETTINGS_STORE_H

#include <string>

class CSettingsStore {
  public:
    virtual ~CSettingsStore() = default;

    // The stored integer, or def when the key is absent.
    virtual int GetSettingInt(const char* section, const char* key, int def) const = 0;
    // The stored text cut to 259 bytes, or def when the key is absent (a null
    // def means the empty string). A key present with an empty value gives "".
    virtual std::string GetSettingString(const char* section, const char* key,
                                         const char* def) const = 0;
    // Write the value; false when the write failed. Callers ignore the result.
    virtual bool WriteSettingInt(const char* section, const char* key, int value) = 0;
    virtual bool WriteSettingString(const char* section, const char* key, const char* value) = 0;
};

#endif
