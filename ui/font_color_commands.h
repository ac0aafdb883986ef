// The result view's font, colour and option commands: Font, Text Color, Back
// Ground Color, Print Option and Output Option. The view plugs in through a
// small interface; the choosers can be replaced, so that tests answer them.
#ifndef VORLAN_UI_FONT_COLOR_COMMANDS_H
#define VORLAN_UI_FONT_COLOR_COMMANDS_H

#include "settings/font_setting.h"
#include "settings/setting_values.h"

#include <functional>
#include <optional>

class CSettingsStore;
class CVorlanScrollView;
class QWidget;

struct CChosenFont {
    LogFont font;
    ColorRef color;
};

// The font and colour choosers; each answers nothing when cancelled.
struct CChoosers {
    // Starts from initial.
    std::function<std::optional<CChosenFont>(QWidget* parent, const LogFont& initial)> chooseFont;
    // Starts with no colour chosen.
    std::function<std::optional<ColorRef>(QWidget* parent)> chooseColor;

    // Qt's own choosers in their non-native form.
    static CChoosers Standard();
};

// What the commands need of a result view.
class CFontColorView {
  public:
    virtual ~CFontColorView() = default;
    // The window the choosers and dialogs belong to.
    virtual QWidget* DialogOwner() const = 0;
    // Rebuilds the view's font from logFont and redraws with it.
    virtual void SetViewFont(const LogFont& logFont) = 0;
    virtual void SetTextColor(ColorRef color) = 0;
    virtual void SetBackColor(ColorRef color) = 0;
    // Every view of the document repaints.
    virtual void UpdateAllViews() = 0;
};

class CFontColorCommands {
  public:
    // settings and view must outlive the commands.
    CFontColorCommands(CSettingsStore& settings, CFontColorView& view,
                       CChoosers choosers = CChoosers::Standard());

    // True for the five commands this class carries out; they are always
    // enabled.
    static bool Handles(int id);
    void DoCommand(int id);

    void SetChoosers(CChoosers choosers) { m_choosers = std::move(choosers); }

    // Font: starts from the record kept under "Disp"; on OK stores the font
    // and colour there and the colour as the text colour, and gives the font
    // to this view only. Cancel changes nothing.
    void OnChangeFont();
    // On OK the colour is stored and shown at once here; other views take it
    // at their next repaint. All views repaint even after Cancel.
    void OnTextColor();
    void OnBackColor();
    // The option dialogs, modal; new options take effect at the next count
    // or print.
    void OnPrintOption();
    void OnOutputOption();

  private:
    CSettingsStore& m_settings;
    CFontColorView& m_view;
    CChoosers m_choosers;
};

// The commands of one result view: they read and write the settings of the
// view's document and refresh all views of that document.
class CViewFontColorCommands final : private CFontColorView {
  public:
    explicit CViewFontColorCommands(CVorlanScrollView& view);
    CFontColorCommands& Commands() { return m_commands; }

  private:
    QWidget* DialogOwner() const override;
    void SetViewFont(const LogFont& logFont) override;
    void SetTextColor(ColorRef color) override;
    void SetBackColor(ColorRef color) override;
    void UpdateAllViews() override;

    CVorlanScrollView& m_view;
    CFontColorCommands m_commands;
};

#endif
