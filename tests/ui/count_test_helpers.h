// Helpers shared by the tests that drive a count through the windows.
#ifndef VORLAN_TESTS_UI_COUNT_TEST_HELPERS_H
#define VORLAN_TESTS_UI_COUNT_TEST_HELPERS_H

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTest>
#include <QTimer>
#include <functional>

// A file of many lines, each with eight words of which one varies.
inline void WriteLargeFile(const QString& path, int lines) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray chunk;
    for (int i = 0; i < lines; ++i) {
        chunk += "alpha beta gamma delta epsilon zeta eta w" + QByteArray::number(i % 5000) + "\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

// Runs action once ready() holds, checking every two milliseconds from the
// event loop of whatever runs (modal windows run their own; a count lets
// timers through its pump). The watch ends with owner.
inline void WhenReady(QObject* owner, std::function<bool()> ready, std::function<void()> action) {
    auto* timer = new QTimer(owner);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            action();
        }
    });
    timer->start();
}

#endif
