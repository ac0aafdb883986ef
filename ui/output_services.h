// The platform services through which the desktop program speaks to the
// user: message boxes, the save and print dialogs, the font and colour
// choosers, running a modal dialog, the beep, and where a saved file's name
// goes (the recent-file list). Every message the program shows goes through
// here. Each is a replaceable function, so tests can answer dialogs without
// a user; the defaults are the platform's non-native dialogs.
#ifndef VORLAN_UI_OUTPUT_SERVICES_H
#define VORLAN_UI_OUTPUT_SERVICES_H

#include "settings/font_setting.h"
#include "settings/setting_values.h"

#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

class CPrintSetup;
class QDialog;
class QPrinter;
class QWidget;

// What the font chooser answers on OK.
struct CChosenFont {
    LogFont font;
    ColorRef color;
};

struct COutputServices {
    // A modal box with text and one OK button, captioned with the application
    // title, no icon.
    std::function<void(QWidget* parent, const QString& text)> message;
    // A modal question with Yes, No and Cancel; returns the button chosen.
    std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text)> question;
    // The save dialog, starting on the suggested path (a name alone starts
    // in the current folder); returns the chosen path, or an empty string
    // when cancelled. It asks before replacing an existing file.
    std::function<QString(QWidget* parent, const QString& suggested)> saveFileName;
    // The open dialog; returns the chosen path of an existing file, or an
    // empty string when cancelled.
    std::function<QString(QWidget* parent)> openFileName;
    // The printer dialog with its page range preset from 1 to maxPage; false
    // when cancelled. On true, printer holds the choices.
    std::function<bool(QWidget* parent, QPrinter& printer, int maxPage)> printDialog;
    // The printer and preview choices every print and preview job starts
    // from (the application's); null gives each job a fresh printer of its
    // own and the preview its usual view.
    std::function<CPrintSetup*()> printSetup;
    // The font chooser, opening on initial in initialColor; nothing when
    // cancelled.
    std::function<std::optional<CChosenFont>(QWidget* parent, const LogFont& initial,
                                             ColorRef initialColor)>
        chooseFont;
    // The colour chooser, opening on initial; nothing when cancelled.
    std::function<std::optional<ColorRef>(QWidget* parent, ColorRef initial)> chooseColor;
    // Runs dialog modally and returns its result.
    std::function<int(QDialog& dialog)> execDialog;
    std::function<void()> beep;
    // Told the absolute path of every file a document was saved to.
    std::function<void(const QString& path)> fileSaved;
};

// The services in force; they start as the platform defaults (fileSaved
// does nothing and printSetup gives null until the application sets them).
COutputServices& OutputServices();
// The platform defaults.
COutputServices DefaultOutputServices();

// Puts services in force for the object's lifetime, then restores the old.
class CScopedOutputServices {
  public:
    explicit CScopedOutputServices(COutputServices services);
    ~CScopedOutputServices();
    CScopedOutputServices(const CScopedOutputServices&) = delete;
    CScopedOutputServices& operator=(const CScopedOutputServices&) = delete;

  private:
    COutputServices m_old;
};

#endif
