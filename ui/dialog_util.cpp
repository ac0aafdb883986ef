#include "ui/dialog_util.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QSize DialogUnits(const QWidget* widget, int width, int height) {
    const QFontMetrics metrics = widget->fontMetrics();
    return {width * metrics.averageCharWidth() / 4, height * metrics.height() / 8};
}

void CentreOnScreen(QWidget* widget) {
    QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = widget->frameGeometry().size();
    widget->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}
