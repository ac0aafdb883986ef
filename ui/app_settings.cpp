#include "ui/app_settings.h"

#include "settings/memory_settings.h"

namespace {

CSettingsStore* g_pInstalled = nullptr;

} // namespace

CSettingsStore& AppSettings() {
    if (g_pInstalled)
        return *g_pInstalled;
    static CMemorySettings standIn;
    return standIn;
}

CScopedAppSettings::CScopedAppSettings(CSettingsStore& settings) : m_pPrevious(g_pInstalled) {
    g_pInstalled = &settings;
}

CScopedAppSettings::~CScopedAppSettings() {
    g_pInstalled = m_pPrevious;
}
