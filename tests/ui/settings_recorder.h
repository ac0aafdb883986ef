// An in-memory settings store that keeps a log of the writes reaching it, as
// "Section/Key=value" in the order they came.
#ifndef VORLAN_TESTS_UI_SETTINGS_RECORDER_H
#define VORLAN_TESTS_UI_SETTINGS_RECORDER_H

#include "settings/memory_settings.h"

#include <QString>
#include <QStringList>

class CRecordingSettings : public CMemorySettings {
  public:
    bool WriteSettingInt(const char* section, const char* key, int value) override {
        // Stored as the text the integer write would store, bypassing the
        // string write's log entry.
        const QByteArray text = QByteArray::number(value);
        Log(section, key, QString::fromLatin1(text));
        return CMemorySettings::WriteSettingString(section, key, text.constData());
    }
    bool WriteSettingString(const char* section, const char* key, const char* value) override {
        Log(section, key, QString::fromUtf8(value ? value : "(removed)"));
        return CMemorySettings::WriteSettingString(section, key, value);
    }
    QStringList writes;

  private:
    void Log(const char* section, const char* key, const QString& value) {
        writes.append(QStringLiteral("%1/%2=%3").arg(section, key, value));
    }
};

#endif
