#include "ui/font_color_commands.h"

#include "settings/color_setting.h"
#include "settings/setting_keys.h"
#include "ui/command_ids.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

namespace {

void SaveColor(CSettingsStore& settings, const char* key, ColorRef color) {
    CColorSetting::Save(settings, setting_keys::kColorSection, key, color);
}

} // namespace

CFontColorCommands::CFontColorCommands(CSettingsStore& settings, CFontColorView& view)
    : m_settings(settings), m_view(view) {}

bool CFontColorCommands::Handles(int id) {
    return id == ID_CHANGE_FONT || id == ID_TEXT_COLOR || id == ID_BACK_COLOR;
}

void CFontColorCommands::DoCommand(int id) {
    switch (id) {
    case ID_CHANGE_FONT:
        OnChangeFont();
        break;
    case ID_TEXT_COLOR:
        OnTextColor();
        break;
    case ID_BACK_COLOR:
        OnBackColor();
        break;
    default:
        break;
    }
}

void CFontColorCommands::OnChangeFont() {
    using setting_keys::kFontSection;
    std::optional<CChosenFont> chosen = OutputServices().chooseFont(
        m_view.DialogOwner(), m_view.ViewFont(), m_view.ViewTextColor());
    if (!chosen)
        return;
    for (const char* prefix : {setting_keys::kDispFontPrefix, setting_keys::kDisplayFontPrefix})
        CFontSetting::Save(m_settings, kFontSection, prefix, chosen->font, chosen->color);
    SaveColor(m_settings, setting_keys::kTxtColor, chosen->color);
    m_view.SetTextColor(chosen->color);
    m_view.SetViewFont(chosen->font);
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnTextColor() {
    const ColorRef current = m_view.ViewTextColor();
    if (std::optional<ColorRef> color =
            OutputServices().chooseColor(m_view.DialogOwner(), current)) {
        m_view.SetTextColor(*color);
        SaveColor(m_settings, setting_keys::kTxtColor, *color);
    }
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnBackColor() {
    const ColorRef current = m_view.ViewBackColor();
    if (std::optional<ColorRef> color =
            OutputServices().chooseColor(m_view.DialogOwner(), current)) {
        m_view.SetBackColor(*color);
        SaveColor(m_settings, setting_keys::kBkColor, *color);
    }
    m_view.UpdateAllViews();
}

CViewFontColorCommands::CViewFontColorCommands(CVorlanScrollView& view)
    : m_view(view), m_commands(view.GetDocument()->Settings(), *this) {}

QWidget* CViewFontColorCommands::DialogOwner() const {
    return m_view.window();
}

LogFont CViewFontColorCommands::ViewFont() const {
    return m_view.GetLogFont();
}

ColorRef CViewFontColorCommands::ViewTextColor() const {
    return m_view.TextColor();
}

ColorRef CViewFontColorCommands::ViewBackColor() const {
    return m_view.BackColor();
}

void CViewFontColorCommands::SetViewFont(const LogFont& logFont) {
    m_view.SetLogFont(logFont);
}

void CViewFontColorCommands::SetTextColor(ColorRef color) {
    m_view.SetTextColor(color);
    m_view.viewport()->update();
}

void CViewFontColorCommands::SetBackColor(ColorRef color) {
    m_view.SetBackColor(color);
    m_view.viewport()->update();
}

void CViewFontColorCommands::UpdateAllViews() {
    m_view.GetDocument()->UpdateAllViews();
}
