// The result view's font and colour commands: Font, Text Color and Back
// Ground Color. The view plugs in through a small interface; the choosers are
// the output services', so that tests answer them.
#ifndef VORLAN_UI_FONT_COLOR_COMMANDS_H
#define VORLAN_UI_FONT_COLOR_COMMANDS_H

#include "settings/font_setting.h"
#include "settings/setting_values.h"

class CSettingsStore;
class CVorlanScrollView;
class QWidget;

// What the commands need of a result view.
class CFontColorView {
  public:
    virtual ~CFontColorView() = default;
    // The window the choosers belong to.
    virtual QWidget* DialogOwner() const = 0;
    // What the view shows: the choosers open on it.
    virtual LogFont ViewFont() const = 0;
    virtual ColorRef ViewTextColor() const = 0;
    virtual ColorRef ViewBackColor() const = 0;
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
    CFontColorCommands(CSettingsStore& settings, CFontColorView& view);

    // True for the three commands this class carries out; they are always
    // enabled.
    static bool Handles(int id);
    void DoCommand(int id);

    // Font: opens on the view's font and text colour; on OK stores the font
    // and colour under "Disp" and under "Display", the font of new windows,
    // and the colour as the text colour, and gives the font to this view
    // (other open views keep theirs). Cancel changes nothing.
    void OnChangeFont();
    // Open on the view's colour. On OK the colour is stored and shown at
    // once here; other views take it at their next repaint. All views repaint
    // even after Cancel.
    void OnTextColor();
    void OnBackColor();

  private:
    CSettingsStore& m_settings;
    CFontColorView& m_view;
};

// The commands of one result view: they read and write the settings of the
// view's document and refresh all views of that document.
class CViewFontColorCommands final : private CFontColorView {
  public:
    explicit CViewFontColorCommands(CVorlanScrollView& view);
    CFontColorCommands& Commands() { return m_commands; }

  private:
    QWidget* DialogOwner() const override;
    LogFont ViewFont() const override;
    ColorRef ViewTextColor() const override;
    ColorRef ViewBackColor() const override;
    void SetViewFont(const LogFont& logFont) override;
    void SetTextColor(ColorRef color) override;
    void SetBackColor(ColorRef color) override;
    void UpdateAllViews() override;

    CVorlanScrollView& m_view;
    CFontColorCommands m_commands;
};

#endif
