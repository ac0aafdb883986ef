// A settings store that puts per-run values in front of another store: reads
// of an overridden key give the override, every other read and every write go
// to the base store. An override is never written anywhere, and it keeps
// winning after a write to the same key (the write still reaches the base).
// The headless front end turns its command-line flags into overrides.
#ifndef VORLAN_SETTINGS_SETTINGS_OVERLAY_H
#define VORLAN_SETTINGS_SETTINGS_OVERLAY_H

#include "settings/memory_settings.h"
#include "settings/settings_store.h"

#include <string>

class CSettingsOverlay : public CSettingsStore {
  public:
    // base must outlive the overlay.
    explicit CSettingsOverlay(CSettingsStore& base) : m_base(base) {}

    void Override(const char* section, const char* key, int value);
    void Override(const char* section, const char* key, const char* value);

    int GetSettingInt(const char* section, const char* key, int def) const override;
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override;
    bool WriteSettingInt(const char* section, const char* key, int value) override;
    bool WriteSettingString(const char* section, const char* key, const char* value) override;

  private:
    CSettingsStore& m_base;
    CMemorySettings m_overrides;
};

#endif
