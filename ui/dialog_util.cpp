#include "ui/dialog_util.h"

#include <algorithm>

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

void PlaceOver(QWidget* widget, const QWidget* over) {
    const QRect frame = over->window()->frameGeometry();
    QScreen* screen = over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : frame;
    const QSize size = widget->size().boundedTo(frame.size() * 9 / 10).boundedTo(area.size());
    widget->resize(size);
    QRect placed(QPoint(), size);
    placed.moveCenter(frame.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - size.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - size.height()));
    widget->move(placed.topLeft());
}
