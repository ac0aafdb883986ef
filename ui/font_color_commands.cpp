#include "ui/font_color_commands.h"

#include "settings/color_setting.h"
#include "settings/settings_store.h"
#include "ui/command_ids.h"
#include "ui/font_chooser_dlg.h"
#include "ui/out_opt_dlg.h"
#include "ui/print_opt_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QColorDialog>

namespace {

std::optional<CChosenFont> RunFontChooser(QWidget* parent, const LogFont& initial) {
    CFontChooserDlg dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return CChosenFont{dialog.ChosenFont(), dialog.ChosenColor()};
}

// No colour is preselected: the chooser opens on black.
std::optional<ColorRef> RunColorChooser(QWidget* parent) {
    QColor color = QColorDialog::getColor(Qt::black, parent, QStringLiteral("Color"),
                                          QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    return MakeColorRef(color.red(), color.green(), color.blue());
}

} // namespace

CChoosers CChoosers::Standard() {
    return {&RunFontChooser, &RunColorChooser};
}

CFontColorCommands::CFontColorCommands(CSettingsStore& settings, CFontColorView& view,
                                       CChoosers choosers)
    : m_settings(settings), m_view(view), m_choosers(std::move(choosers)) {}

bool CFontColorCommands::Handles(int id) {
    switch (id) {
    case ID_CHANGE_FONT:
    case ID_PRINT_OPTION:
    case ID_OUTPUT_OPTION:
    case ID_TEXT_COLOR:
    case ID_BACK_COLOR:
        return true;
    default:
        return false;
    }
}

void CFontColorCommands::DoCommand(int id) {
    switch (id) {
    case ID_CHANGE_FONT:
        OnChangeFont();
        break;
    case ID_PRINT_OPTION:
        OnPrintOption();
        break;
    case ID_OUTPUT_OPTION:
        OnOutputOption();
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
    // The record's own colour is not offered: the chooser starts on its own.
    LogFont logFont;
    ColorRef recordColor = 0;
    CFontSetting::Load(m_settings, "Font", "Disp", logFont, recordColor);
    std::optional<CChosenFont> chosen = m_choosers.chooseFont(m_view.DialogOwner(), logFont);
    if (!chosen)
        return;
    CFontSetting::Save(m_settings, "Font", "Disp", chosen->font, chosen->color);
    CColorSetting::Save(m_settings, "Color", "TxtColor", chosen->color);
    m_view.SetTextColor(chosen->color);
    m_view.SetViewFont(chosen->font);
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnTextColor() {
    if (std::optional<ColorRef> color = m_choosers.chooseColor(m_view.DialogOwner())) {
        m_view.SetTextColor(*color);
        CColorSetting::Save(m_settings, "Color", "TxtColor", *color);
    }
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnBackColor() {
    if (std::optional<ColorRef> color = m_choosers.chooseColor(m_view.DialogOwner())) {
        m_view.SetBackColor(*color);
        CColorSetting::Save(m_settings, "Color", "BkColor", *color);
    }
    m_view.UpdateAllViews();
}

void CFontColorCommands::OnPrintOption() {
    CPrintOptDlg dialog(m_settings, m_view.DialogOwner());
    dialog.exec();
}

void CFontColorCommands::OnOutputOption() {
    COutOptDlg dialog(m_settings, m_view.DialogOwner());
    dialog.exec();
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
