// The application object: starts the program, keeps the settings store and
// the recent-file list, opens result documents, carries out the
// application's commands (New, Open, recent files, Printer setting, Exit,
// About) and ends the program.
#ifndef VORLAN_UI_VORLAN_APP_H
#define VORLAN_UI_VORLAN_APP_H

#include "platform/event_pump.h"
#include "ui/command_target.h"
#include "ui/print_setup.h"
#include "ui/recent_file_list.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

class CChildFrame;
class CMainFrame;
class CResultDocument;
class CSettingsStore;

class CVorlanApp : public QObject, public CCommandTarget {
    Q_OBJECT
  public:
    // settings must outlive the application object.
    explicit CVorlanApp(CSettingsStore& settings, QObject* parent = nullptr);
    ~CVorlanApp() override;

    // Start-up: dialog colours, recent files, the main window, one empty
    // result window. False when the main window cannot be made.
    bool InitInstance();
    // Shut-down: writes the recent-file list and the preview page count.
    void ExitInstance();

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CSettingsStore& Settings() const { return m_settings; }
    const CRecentFileList& RecentFiles() const { return m_recent; }

    // New: a new, empty result document titled Vorlan1, Vorlan2, ...
    CChildFrame* OnFileNew();
    // Opens path in a new result window showing the file's lines, titled
    // with its name, and puts it on the recent-file list. Null, after telling
    // the user why, when the file cannot be read or is too large.
    CChildFrame* OpenDocumentFile(const QString& path);

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

    // The event pump's hook while the application runs (context: the app).
    static void PumpEvents(void* context);
    // Least time between two polls of the event queue.
    static constexpr std::chrono::milliseconds kPumpInterval{1};

  private:
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnFilePrintSetup();
    void OnAppAbout();
    void AddToRecentFileList(const QString& path);
    // The next title of the series Vorlan1, Vorlan2, ...
    QString NextUntitledTitle();
    std::shared_ptr<CResultDocument> NewDocument(const QString& title);

    CSettingsStore& m_settings;
    CRecentFileList m_recent;
    int m_nUntitledCount = 0;
    // The printer of "Printer setting", on which every print and preview job
    // runs, and the preview's pages side by side.
    CPrintSetup m_printSetup;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::optional<CScopedPumpHook> m_pumpHook;
    std::chrono::steady_clock::time_point m_lastPoll{};
};

#endif
