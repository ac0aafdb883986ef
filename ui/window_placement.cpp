#include "ui/window_placement.h"

#include "settings/setting_keys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Smaller than this a stored window is taken for a mistake.
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;
// At least this much of a stored window must be on a screen to be reached.
constexpr int kMinVisible = 50;

QRect StoredRect(const CSettingsStore& settings) {
    using namespace setting_keys;
    return {GetInt(settings, kWindowLeft), GetInt(settings, kWindowTop),
            GetInt(settings, kWindowWidth), GetInt(settings, kWindowHeight)};
}

bool OnSomeScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = rect & screen->availableGeometry();
        if (shared.width() >= kMinVisible && shared.height() >= kMinVisible)
            return true;
    }
    return false;
}

} // namespace

QRect DefaultWindowRect(const QRect& available) {
    QRect rect(QPoint(), available.size() * 2 / 3);
    rect.moveCenter(available.center());
    return rect;
}

bool RestoreWindowPlacement(QWidget& window, const CSettingsStore& settings) {
    const QRect stored = StoredRect(settings);
    if (stored.width() >= kMinWidth && stored.height() >= kMinHeight && OnSomeScreen(stored)) {
        window.setGeometry(stored);
        return GetInt(settings, setting_keys::kWindowMaximized) != 0;
    }
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.setGeometry(DefaultWindowRect(screen->availableGeometry()));
    return false;
}

void SaveWindowPlacement(const QWidget& window, CSettingsStore& settings) {
    using namespace setting_keys;
    const QRect rect =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    WriteInt(settings, kWindowLeft, rect.left());
    WriteInt(settings, kWindowTop, rect.top());
    WriteInt(settings, kWindowWidth, rect.width());
    WriteInt(settings, kWindowHeight, rect.height());
    WriteInt(settings, kWindowMaximized, window.isMaximized() ? 1 : 0);
}
