// Helpers shared by the tests of the result document, the scan and the count
// run: an in-memory settings store, a notifier that records what the user
// would see, a temporary folder of fixture files, and the report as text.
#ifndef VORLAN_TESTS_ENGINE_COUNT_FIXTURE_H
#define VORLAN_TESTS_ENGINE_COUNT_FIXTURE_H

#include "engine/count_notifier.h"
#include "engine/vorlan_doc.h"
#include "platform/document.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CMemorySettings : public CSettingsStore {
public:
    int GetSettingInt(const char* section, const char* key, int def) const override {
        auto it = m_values.find({section, key});
        return it == m_values.end() ? def : std::stoi(it->second);
    }
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override {
        auto it = m_values.find({section, key});
        return it != m_values.end() ? it->second : def ? def : "";
    }
    bool WriteSettingInt(const char* section, const char* key, int value) override {
        m_values[{section, key}] = std::to_string(value);
        return true;
    }
    bool WriteSettingString(const char* section, const char* key, const char* value) override {
        m_values[{section, key}] = value;
        return true;
    }
    void Set(const char* section, const char* key, int value) {
        WriteSettingInt(section, key, value);
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

class CRecordingNotifier : public ICountNotifier {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }
    std::vector<std::string> messages;
    int beeps = 0;
};

// Records every title a document takes, in order.
class CTitleRecorder : public IDocumentObserver {
public:
    void OnDocumentUpdate(CDocument&) override { ++updates; }
    void OnDocumentTitleChanged(CDocument& doc) override { titles.push_back(doc.GetTitle()); }
    std::vector<std::string> titles;
    int updates = 0;
};

// A fresh folder under the test temp dir, removed with everything in it.
class CTempTree {
public:
    CTempTree();
    ~CTempTree();
    CTempTree(const CTempTree&) = delete;
    CTempTree& operator=(const CTempTree&) = delete;

    // Writes bytes to the file at relative path rel (folders made as needed)
    // and returns its full path.
    std::string Write(const std::string& rel, const std::string& bytes);
    std::string Path(const std::string& rel) const { return (m_root / rel).string(); }
    // The root with a trailing "/".
    std::string Dir() const { return m_root.string() + "/"; }

private:
    std::filesystem::path m_root;
};

// A document with its settings and notifier, as a front end would set it up.
struct CountFixture {
    CMemorySettings settings;
    CRecordingNotifier notifier;
    CVorlanDoc doc{settings, notifier};
};

std::string ReportText(const CVorlanDoc& doc);
std::vector<std::string> ReportLines(const CVorlanDoc& doc);
// "%10lu : %s\r\n" for the tests' expectations.
std::string WordLine(unsigned long count, const std::string& word);

#endif
