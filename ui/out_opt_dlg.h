// The Output Option dialog: how the next count orders its word list, whether
// it adds each word's share in percent, which files it takes in, how it reads
// their text and how it finds Japanese words. The five orders are one choice
// of radio buttons; the other options are check boxes. The choices are read
// from the settings when the dialog opens; OK writes the nine flags, and
// each of the two combo boxes' keys only when the user changed it, so a
// profile without it stays without it. The encoding's choices, named
// "encoding", are the values of "Option"/"Encoding" in order; those of
// "segment" the values of "Option"/"Segment".
#ifndef VORLAN_UI_OUT_OPT_DLG_H
#define VORLAN_UI_OUT_OPT_DLG_H

#include <QDialog>
#include <array>

class CSettingsStore;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
struct IntKey;

class COutOptDlg : public QDialog {
    Q_OBJECT
  public:
    // The controls' ids.
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
        IDC_SEGMENT = 134,
    };

    // settings must outlive the dialog.
    explicit COutOptDlg(CSettingsStore& settings, QWidget* parent = nullptr);

    // The radio button or check box of control id, or null.
    QAbstractButton* Control(int id) const;
    // A line under the options (named "reportNote"), such as why the report
    // on screen keeps its order; empty hides it.
    void SetReportNote(const QString& note);

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // A combo box of choices for an integer key and what it showed at first.
    struct Choice {
        QComboBox* box = nullptr;
        int nShown = 0;
    };

    void BuildControls();
    QAbstractButton* AddButton(int id, const char* label);
    void AddChoiceRow(QGridLayout* grid, Choice& choice, const char* label, const char* name,
                      const QStringList& items);
    void SetTabOrder();
    // The control id of the ordering the next count will use.
    int OrderOfNextCount() const;
    void LoadSettings();
    void ShowChoice(Choice& choice, const IntKey& key);
    void WriteChoice(const Choice& choice, const IntKey& key);
    // true: buttons into members; false: members into buttons.
    void UpdateData(bool save);
    // The member flag of control id.
    int& Flag(int id);

    CSettingsStore& m_settings;
    bool m_bLoaded = false;
    std::array<QAbstractButton*, 9> m_buttons{};
    QButtonGroup* m_pOrders = nullptr;
    Choice m_encoding;
    Choice m_segment;
    QLabel* m_pReportNote = nullptr;

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
