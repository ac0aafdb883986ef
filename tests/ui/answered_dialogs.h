// Files and dialogs for tests that drive the program's windows: every message,
// question and file dialog answered without a user, and the Select Files
// dialog filled in as soon as it opens.
#ifndef VORLAN_TESTS_UI_ANSWERED_DIALOGS_H
#define VORLAN_TESTS_UI_ANSWERED_DIALOGS_H

#include "count_test_helpers.h"
#include "find_widget.h"
#include "ui/file_sel_dialog.h"
#include "ui/output_services.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <deque>

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Answers the next Select Files dialog with dir and pattern.
inline void AnswerFileDialog(QObject* owner, const QString& dir, const QString& pattern) {
    WhenReady(
        owner,
        [] { return qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget()) != nullptr; },
        [dir, pattern] {
            auto* dialog = qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget());
            FindWidget<QLineEdit>(dialog, QStringLiteral("directory"))->setText(dir);
            FindWidget<QLineEdit>(dialog, QStringLiteral("fileName"))->setText(pattern);
            dialog->accept();
        });
}

// The message boxes, questions and file dialogs, answered without a user:
// questions from the queue while it lasts, then with answer; the file
// dialogs with openPath and savePath (empty: cancelled).
struct Answers {
    QStringList messages;
    QStringList questions;
    std::deque<QMessageBox::StandardButton> queued;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QString openPath;
    QString savePath;
    int saveDialogs = 0;
    QStringList saved;

    COutputServices Services() {
        COutputServices services = DefaultOutputServices();
        services.message = [this](QWidget*, const QString& text) { messages.append(text); };
        services.question = [this](QWidget*, const QString& text) {
            questions.append(text);
            if (queued.empty())
                return answer;
            const QMessageBox::StandardButton next = queued.front();
            queued.pop_front();
            return next;
        };
        services.openFileName = [this](QWidget*) { return openPath; };
        services.saveFileName = [this](QWidget*, const QString&) {
            ++saveDialogs;
            return savePath;
        };
        services.beep = [] {};
        const auto fileSaved = OutputServices().fileSaved;
        services.fileSaved = [this, fileSaved](const QString& path) {
            saved.append(path);
            fileSaved(path);
        };
        return services;
    }
};

#endif
