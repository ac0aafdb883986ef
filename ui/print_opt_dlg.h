// The Print Options dialog: the page layout printing uses (largest page
// number, rows per page, wrap width) and whether pages carry a page number.
// The fields and the check box open with the values printing would use now
// and are stored only on OK, each only when the user changed it, so that
// defaults never land in the settings ahead of time; "PageNum" is written on
// every OK as it always was, though printing goes by "NumberPages". Each
// control is named after its key ("MaxPage", "Line", "Column", "PageNum").
#ifndef VORLAN_UI_PRINT_OPT_DLG_H
#define VORLAN_UI_PRINT_OPT_DLG_H

#include <QDialog>
#include <QString>
#include <array>

class CSettingsStore;
struct StringKey;
class QCheckBox;
class QLineEdit;

// What a layout field holds: a whole number from 1 to kMaxLayoutNumber,
// digits only, surrounding blanks allowed. Empty when text is one, otherwise
// the message that tells the user what is wrong with the field labelled
// label.
inline constexpr int kMaxLayoutNumber = 99999;
QString CheckLayoutNumber(const QString& label, const QString& text);

class CPrintOptDlg : public QDialog {
    Q_OBJECT
  public:
    enum : int {
        IDC_PAGENUM = 107,
        IDC_LINES = 129,
        IDC_COLUMNS = 130,
        IDC_MAXPAGE = 131,
    };

    // settings must outlive the dialog.
    explicit CPrintOptDlg(CSettingsStore& settings, QWidget* parent = nullptr);

  public slots:
    // Refuses, with a message naming the field, a changed field that does not
    // hold a whole number from 1 up; the dialog then stays open.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // One layout field: its control, its text now and at opening, and the
    // printing setting behind it with the default printing reads it with.
    struct Field {
        QLineEdit* CPrintOptDlg::*edit;
        QString CPrintOptDlg::*text;
        QString CPrintOptDlg::*opened;
        const StringKey& key;
        const char* label;
        const char* unit;
    };
    // Top to bottom as the dialog shows them.
    static const std::array<Field, 3> kFields;

    void BuildControls();
    void LoadSettings();
    // true: controls into members; false: members into controls.
    void UpdateData(bool save);
    bool ValidateFields();

    CSettingsStore& m_settings;
    bool m_bLoaded = false;

    QLineEdit* m_pMaxPage = nullptr;
    QLineEdit* m_pLines = nullptr;
    QLineEdit* m_pColumns = nullptr;
    QCheckBox* m_pPageNum = nullptr;

    int m_bPageNum = 0;
    int m_bOpenPageNum = 0;
    QString m_strColumns;
    QString m_strLines;
    QString m_strMaxPage;
    // The texts the fields opened with: a field still holding its text is
    // neither checked nor written.
    QString m_strOpenColumns;
    QString m_strOpenLines;
    QString m_strOpenMaxPage;
};

#endif
