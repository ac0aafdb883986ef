// Reaches a window's controls by their object names, as a user's script
// would, so the program's classes need no getters made for tests. A control
// that is missing or of another type ends the run at once with its type and
// name, rather than with a crash somewhere later.
#ifndef VORLAN_TESTS_UI_FIND_WIDGET_H
#define VORLAN_TESTS_UI_FIND_WIDGET_H

#include <QObject>
#include <QString>
#include <QtGlobal>

template <typename Widget> Widget* FindWidget(const QObject* parent, const QString& name) {
    Widget* widget = parent->findChild<Widget*>(name);
    if (!widget)
        qFatal("no %s named \"%s\" in %s", Widget::staticMetaObject.className(), qPrintable(name),
               parent->metaObject()->className());
    return widget;
}

template <typename Widget> Widget* FindWidget(const QObject& parent, const QString& name) {
    return FindWidget<Widget>(&parent, name);
}

#endif
