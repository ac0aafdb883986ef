// The settings store: the four operations through which every part of the
// program reads and writes its persistent settings. Each read passes its own
// default; nothing is cached, so a write is seen by the next read anywhere.
// Section and key names match without regard to letter case.
#ifndef VORLAN_SETTINGS_SETTINGS_STORE_H
#define VORLAN_SETTINGS_SETTINGS_STORE_H

#include <string>

class CSettingsStore {
  public:
    virtual ~CSettingsStore() = default;

    // The stored decimal integer, or def when the key is absent. A stored
    // value without leading decimal digits (empty, "on") also gives def;
    // trailing text after the digits is ignored (IntSettingFromText).
    virtual int GetSettingInt(const char* section, const char* key, int def) const = 0;
    // The stored text cut to 259 bytes, or def when the key is absent (a null
    // def means the empty string). A key present with an empty value gives "".
    virtual std::string GetSettingString(const char* section, const char* key,
                                         const char* def) const = 0;
    // Write the value (integers as "%d"); false when the write failed, and the
    // stored value is then as it was. Callers ignore the result. A null string
    // value removes the key.
    virtual bool WriteSettingInt(const char* section, const char* key, int value) = 0;
    virtual bool WriteSettingString(const char* section, const char* key, const char* value) = 0;
};

#endif
