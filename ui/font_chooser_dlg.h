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

// Choosing another face keeps the weight and slant in use: the face's style
// nearest to them is chosen, not the first the face lists (which may be an
// oblique one). A style chosen by the user is the one kept from then on.
class CFontChooserDlg : public QDialog {
    Q_OBJECT
  public:
    // Starts on the font initial shows as and on initialColor; a colour that
    // is none of the sixteen is offered as one more, "Custom".
    explicit CFontChooserDlg(const LogFont& initial, ColorRef initialColor = 0,
                             QWidget* parent = nullptr);

    // The chosen font as a record: initial with the chosen face, size and
    // effects.
    LogFont ChosenFont() const;
    ColorRef ChosenColor() const;

  private:
    void BuildColorBox(ColorRef initialColor);
    void SetFontKeepingStyle(const QFont& font);
    void OnFontChanged(const QFont& font);

    LogFont m_initial;
    QFontDialog* m_pFontDialog;
    QComboBox* m_pColor;
    // The face shown and the weight and slant to keep when it changes.
    QString m_strFamily;
    int m_nWeight = 400;
    bool m_bSlanted = false;
    bool m_bSettingFont = false;
};

// The sixteen colours the chooser offers, black first.
struct CNamedColor {
    const char* name;
    ColorRef color;
};
extern const CNamedColor kChooserColors[16];

#endif
