// The Output Option dialog: how the next count orders its word list, whether
// it adds each word's share in percent, which files it takes in, and how it
// reads their text. The nine check boxes are read from the settings when the
// dialog opens and all written back on OK; the text encoding is written only
// when the user changed it, so a profile without it stays without it. The
// report on screen is not touched. The encoding's choices, named "encoding",
// are the values of "Option"/"Encoding" in order.
#ifndef VORLAN_UI_OUT_OPT_DLG_H
#define VORLAN_UI_OUT_OPT_DLG_H

#include <QDialog>
#include <array>

class CSettingsStore;
class QCheckBox;
class QComboBox;
class QHBoxLayout;

class COutOptDlg : public QDialog {
    Q_OBJECT
  public:
    // The check boxes' control ids.
    enum : int {
        IDC_FREQ = 108,
        IDC_PERCENT = 113,
        IDC_LOWFREQ = 121,
        IDC_ABC = 122,
        IDC_ZYX = 123,
        IDC_TAIL = 125,
        IDC_SUBDIR = 127,
        IDC_BINARY = 128,
        IDC_DEHTML = 132,
        IDC_ENCODING = 133,
    };

    // settings must outlive the dialog.
    explicit COutOptDlg(CSettingsStore& settings, QWidget* parent = nullptr);

    // The check box of control id, or null.
    QCheckBox* CheckBox(int id) const;

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    QHBoxLayout* BuildEncodingRow();
    QCheckBox* AddBox(int id, const char* label);
    // The control id of the ordering the next count will use.
    int OrderOfNextCount() const;
    void LoadSettings();
    // true: check boxes into members; false: members into check boxes.
    void UpdateData(bool save);
    void OnSortBoxClicked(int id);
    // The member flag of check box id.
    int& Flag(int id);

    CSettingsStore& m_settings;
    bool m_bLoaded = false;
    std::array<QCheckBox*, 9> m_boxes{};
    QComboBox* m_pEncoding = nullptr;
    int m_nEncoding = 0; // as loaded: 0 bytes, 1 UTF-8, 2 detect

    int m_bFreq = 0;
    int m_bPercent = 0;
    int m_bZyx = 0;
    int m_bLowFreq = 0;
    int m_bAbc = 0;
    int m_bTail = 0;
    int m_bBinary = 0;
    int m_bSubdir = 0;
    int m_bDeHTML = 0;
};

#endif
