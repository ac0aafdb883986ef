#include "settings/color_setting.h"

#include <string>

bool CColorSetting::Load(const CSettingsStore& store, const char* section, const char* key,
                         ColorRef& color, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::string def = std::to_string(MakeColorRef(red, green, blue));
    color = ColorFromText(store.GetSettingString(section, key, def.c_str()));
    return true;
}

bool CColorSetting::Save(CSettingsStore& store, const char* section, const char* key,
                         ColorRef color) {
    return store.WriteSettingInt(section, key, static_cast<int>(color));
}
