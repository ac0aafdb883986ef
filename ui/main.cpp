// vorlan: the word-frequency counter's desktop program. It takes no
// arguments; whatever the command line holds is ignored.
#include "ui/memory_settings_store.h"
#include "ui/vorlan_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // The settings live in memory until the profile file store plugs in here.
    CMemorySettingsStore settings;
    CVorlanApp app(settings);
    if (!app.InitInstance())
        return 1;
    int result = qapp.exec();
    app.ExitInstance();
    return result;
}
