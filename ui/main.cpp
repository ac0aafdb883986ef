// vorlan: the word-frequency counter's desktop program. It takes no
// arguments; whatever the command line holds is ignored.
#include "platform/large_pages.h"
#include "settings/profile_location.h"
#include "settings/profile_settings.h"
#include "ui/vorlan_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    RestartWithLargePageHeap(argv);
    QApplication qapp(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(VORLAN_APP_ID));
    CProfileSettings settings(FindProfileLocation());
    CVorlanApp app(settings);
    if (!app.InitInstance())
        return 1;
    int result = qapp.exec();
    app.ExitInstance();
    return result;
}
