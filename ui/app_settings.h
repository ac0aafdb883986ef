// The settings store of the running program, for the parts of the window
// that are made by the framework and so cannot be handed one (result views).
// The application installs its store for its lifetime; with none installed,
// as for a window made on its own, an empty in-memory store stands in.
#ifndef VORLAN_UI_APP_SETTINGS_H
#define VORLAN_UI_APP_SETTINGS_H

class CSettingsStore;

CSettingsStore& AppSettings();

// Installs settings as the program's store until destroyed; the previous
// one comes back then. settings must outlive this object.
class CScopedAppSettings {
  public:
    explicit CScopedAppSettings(CSettingsStore& settings);
    ~CScopedAppSettings();
    CScopedAppSettings(const CScopedAppSettings&) = delete;
    CScopedAppSettings& operator=(const CScopedAppSettings&) = delete;

  private:
    CSettingsStore* m_pPrevious;
};

#endif
