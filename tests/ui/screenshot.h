// Saves a picture of a window when VORLAN_SCREENSHOT_DIR names a directory,
// so that the look of the windows can be checked by eye.
#ifndef VORLAN_TESTS_UI_SCREENSHOT_H
#define VORLAN_TESTS_UI_SCREENSHOT_H

#include <QDir>
#include <QPixmap>
#include <QWidget>

inline void SaveScreenshot(QWidget* widget, const char* name) {
    const QString dir = qEnvironmentVariable("VORLAN_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    widget->grab().save(QDir(dir).filePath(QString::fromLatin1(name) + QLatin1String(".png")));
}

#endif
