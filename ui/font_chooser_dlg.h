// The font chooser of the Font command: Qt's own font dialog, in its
// non-native form so it looks and behaves the same everywhere, with a text
// colour choice beside the effects, as the record keeps a colour with the
// font.
#ifndef VORLAN_UI_FONT_CHOOSER_DLG_H
#define VORLAN_UI_FONT_CHOOSER_DLG_H

#include "settings/font_setting.h"
#include "settings/setting_values.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

class CFontChooserDlg : public QDialog {
    Q_OBJECT
  public:
    // Starts from initial; the colour starts as black, the chooser's own
    // default, whatever colour the caller's record holds.
    explicit CFontChooserDlg(const LogFont& initial, QWidget* parent = nullptr);

    // The chosen font as a record: initial with the chosen face, size and
    // effects.
    LogFont ChosenFont() const;
    ColorRef ChosenColor() const;

  private:
    LogFont m_initial;
    QFontDialog* m_pFontDialog;
    QComboBox* m_pColor;
};

// The sixteen colours the chooser offers, black first.
struct CNamedColor {
    const char* name;
    ColorRef color;
};
extern const CNamedColor kChooserColors[16];

#endif
