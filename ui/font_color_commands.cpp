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
    using setting_keys::kDispFontPrefix;
    using setting_keys::kFontSection;
    // The record's own colour is not offered: the chooser starts on its own.
    LogFont logFont;
    ColorRef recordColor = 0;
    CFontSetting::Load(m_settings, kFontSection, kDispFontPrefix, logFont, recordColor);
    std::optional<CChosenFont> chosen = OutputServices().chooseFont(m_view.DialogOwner(), logFont);
    if (!chosen)
        return;
    CFontSetting::Save(m_settings, kFontSection, kDispFontPrefix, chosen->font, chosen->color);
    SaveColor(m_settings, setting_keys::kTxtColor, chosen->color);
    m_view.SetTextColor(chosen->color);
    m_view.SetViewFont(chosen->font);
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnTextColor() {
    if (std::optional<ColorRef> color = OutputServices().chooseColor(m_view.DialogOwner())) {
        m_view.SetTextColor(*color);
        SaveColor(m_settings, setting_keys::kTxtColor, *color);
    }
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnBackColor() {
    if (std::optional<ColorRef> color = OutputServices().chooseColor(m_view.DialogOwner())) {
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
