// A colour of result windows as a profile entry: written as decimal text,
// read with base detection so that a hand-edited "0x..." value works.
#ifndef VORLAN_SETTINGS_COLOR_SETTING_H
#define VORLAN_SETTINGS_COLOR_SETTING_H

#include "settings/setting_values.h"
#include "settings/settings_store.h"

#include <cstdint>

class CColorSetting {
  public:
    // Reads section/key into color; red, green and blue make the default used
    // when the key is absent. Text that is not a number gives 0 (black).
    static bool Load(const CSettingsStore& store, const char* section, const char* key,
                     ColorRef& color, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // Writes color as a signed decimal integer; false when the write failed.
    static bool Save(CSettingsStore& store, const char* section, const char* key, ColorRef color);
};

#endif
