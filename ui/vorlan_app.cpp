#include "ui/vorlan_app.h"

#include "platform/quote_name.h"
#include "settings/setting_keys.h"
#include "ui/about_dlg.h"
#include "ui/app_strings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/print_setup.h"
#include "ui/result_document.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPointer>
#include <cerrno>
#include <system_error>

namespace {

// Light grey with black text for every dialog and message box. Disabled
// controls keep the style's grey text, so that they look disabled.
void SetDialogColours() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
    }
    QApplication::setPalette(palette, "QDialog");
}

// The framework's message, then which file and why.
QString OpenErrorMessage(int err, const QString& path) {
    const QString reason = err == EFBIG
                               ? QStringLiteral("the file is larger than 1 GiB")
                               : QString::fromLocal8Bit(std::generic_category().message(err));
    const QString shown = QFile::decodeName(
        QByteArray::fromStdString(QuoteControlBytes(QFile::encodeName(path).toStdString())));
    return QStringLiteral("Failed to open document.\n%1: %2").arg(shown, reason);
}

} // namespace

CVorlanApp::CVorlanApp(CSettingsStore& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {}

CVorlanApp::~CVorlanApp() = default;

bool CVorlanApp::InitInstance() {
    SetDialogColours();
    m_recent.Read(m_settings);
    m_printSetup.SetPreviewPages(GetInt(m_settings, setting_keys::kPreviewPages));
    m_pumpHook.emplace(&CVorlanApp::PumpEvents, this);
    // A saved report's file joins the recent files, while this object lives.
    OutputServices().fileSaved = [self = QPointer<CVorlanApp>(this)](const QString& path) {
        if (self)
            self->AddToRecentFileList(path);
    };
    // Every print and preview job runs on the printer "Printer setting"
    // prepared, and the preview keeps the user's pages side by side.
    OutputServices().printSetup = [self = QPointer<CVorlanApp>(this)]() -> CPrintSetup* {
        return self ? &self->m_printSetup : nullptr;
    };

    m_pMainFrame = std::make_unique<CMainFrame>(this);
    m_pMainFrame->SetRecentFiles(m_recent.DisplayNames());
    m_pMainFrame->show();
    return OnFileNew() != nullptr;
}

void CVorlanApp::ExitInstance() {
    m_recent.Write(m_settings);
    if (m_printSetup.PreviewPages() != 0)
        WriteInt(m_settings, setting_keys::kPreviewPages, m_printSetup.PreviewPages());
    m_pumpHook.reset();
}

QString CVorlanApp::NextUntitledTitle() {
    return QString::fromLatin1(kDocName) + QString::number(++m_nUntitledCount);
}

// A count makes a new report, titled as a new window would be.
std::shared_ptr<CResultDocument> CVorlanApp::NewDocument(const QString& title) {
    auto doc = std::make_shared<CResultDocument>(m_settings, title);
    doc->SetNewTitleSource([self = QPointer<CVorlanApp>(this)] {
        return self ? self->NextUntitledTitle() : QString::fromLatin1(kDocName);
    });
    return doc;
}

CChildFrame* CVorlanApp::OnFileNew() {
    return m_pMainFrame->OpenWindow(NewDocument(NextUntitledTitle()));
}

CChildFrame* CVorlanApp::OpenDocumentFile(const QString& path) {
    QFileInfo info(path);
    std::shared_ptr<CResultDocument> doc = NewDocument(info.fileName());
    if (const int err = doc->OpenFile(info.absoluteFilePath())) {
        OutputServices().message(m_pMainFrame.get(), OpenErrorMessage(err, path));
        return nullptr;
    }
    AddToRecentFileList(info.absoluteFilePath());
    return m_pMainFrame->OpenWindow(std::move(doc));
}

void CVorlanApp::AddToRecentFileList(const QString& path) {
    m_recent.Add(path);
    m_pMainFrame->SetRecentFiles(m_recent.DisplayNames());
}

// Long work on the user-interface thread calls this once per unit of work
// (a line counted, a report line written): far more often than anyone can
// see. The event queue is polled at most once a millisecond, which keeps
// repaints, menus and "Quit counting..." prompt while the count keeps nearly
// all of its speed; a call in between costs one clock reading.
void CVorlanApp::PumpEvents(void* context) {
    auto* app = static_cast<CVorlanApp*>(context);
    const auto now = std::chrono::steady_clock::now();
    if (now - app->m_lastPoll < kPumpInterval)
        return;
    app->m_lastPoll = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // A close waits: keep its counts stopping (each forgets the request
    // when it opens its next file).
    if (app->m_pMainFrame)
        app->m_pMainFrame->StopCountsForExit();
    app->m_lastPoll = std::chrono::steady_clock::now();
}

bool CVorlanApp::QueryCommand(int id, CommandState& state) const {
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
        state.enabled = true;
        return true;
    default:
        break;
    }
    int index = id - ID_FILE_MRU_FILE1;
    if (index < 0 || index >= CRecentFileList::kSize)
        return false;
    state.enabled = index < m_recent.Files().size();
    return true;
}

void CVorlanApp::DoCommand(int id) {
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return;
    case ID_FILE_OPEN:
        OnFileOpen();
        return;
    case ID_FILE_PRINT_SETUP:
        OnFilePrintSetup();
        return;
    case ID_APP_EXIT:
        m_pMainFrame->close();
        return;
    case ID_APP_ABOUT:
        OnAppAbout();
        return;
    default:
        OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        return;
    }
}

void CVorlanApp::OnFileOpen() {
    const QString path = OutputServices().openFileName(m_pMainFrame.get());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

// A recent file that can no longer be read leaves the list.
void CVorlanApp::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_recent.Files().size())
        return;
    if (!OpenDocumentFile(m_recent.Files()[index])) {
        m_recent.Remove(index);
        m_pMainFrame->SetRecentFiles(m_recent.DisplayNames());
    }
}

void CVorlanApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(&m_printSetup.Printer(), m_pMainFrame.get());
    OutputServices().execDialog(dialog);
}

void CVorlanApp::OnAppAbout() {
    CAboutDlg dialog(m_pMainFrame.get());
    OutputServices().execDialog(dialog);
}
