// Helpers shared by the tests of the result document, the scan and the count
// run: an in-memory settings store, a notifier that records what the user
// would see, a temporary folder of fixture files, and the report as text.
#ifndef VORLAN_TESTS_ENGINE_COUNT_FIXTURE_H
#define VORLAN_TESTS_ENGINE_COUNT_FIXTURE_H

#include "engine/count_notifier.h"
#include "engine/vorlan_doc.h"
#include "platform/document.h"
#include "settings/memory_settings.h"
#include "tests/platform/temp_tree.h"

#include <string>
#include <vector>

// The settings of a test: in memory, set key by key.
class CFixtureSettings : public CMemorySettings {
  public:
    void Set(const char* section, const char* key, int value) {
        WriteSettingInt(section, key, value);
    }
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

// A document with its settings and notifier, as a front end would set it up.
struct CountFixture {
    CFixtureSettings settings;
    CRecordingNotifier notifier;
    CVorlanDoc doc{settings, notifier};
};

std::string ReportText(const CVorlanDoc& doc);
std::vector<std::string> ReportLines(const CVorlanDoc& doc);
// "%10lu : %s\r\n" for the tests' expectations.
std::string WordLine(unsigned long count, const std::string& word);

#endif
