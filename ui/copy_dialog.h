// The copy dialog: shows the report's text in a read-only box, from which the
// user copies the whole text ("Whole") or the selected part ("Partial") to the
// clipboard, or cancels.
#ifndef VORLAN_UI_COPY_DIALOG_H
#define VORLAN_UI_COPY_DIALOG_H

#include "engine/ex_string_list.h"
#include "ui/report_printer.h"

#include <QDialog>
#include <QString>

class CCopyTextBox;
class QFont;
class QPushButton;

// The report's text for the box and the clipboard: every line, decoded as
// the screen decodes it and followed by its CR LF.
QString CopyDialogText(const CExStringList& report, const ReportLineDecoder& decode);

class CCopyDialog : public QDialog {
    Q_OBJECT
  public:
    // Control ids of the dialog's template, kept as the controls' names.
    enum ControlId { IDC_WHOLE = 1, IDC_CANCEL = 2, IDC_PARTIAL = 109, IDC_EDIT = 110 };
    // The object name of the control with id.
    static QString ControlName(int id);

    explicit CCopyDialog(QWidget* parent = nullptr);

    // The box shows the text in font, as the result view shows the report.
    void SetTextFont(const QFont& font);

    // "Whole", also Enter: copies the whole text and closes.
    void OnWhole();
    // "Partial", enabled while text is selected: copies the selection and
    // closes.
    void OnPartial();

    QString m_strText;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* Button(int id) const;
    void InitDialog();
    void CopyAndClose(const QString& text);

    CCopyTextBox* m_edit;
};

// The Copy command: beep and a message for an empty report, otherwise the
// dialog filled from report and shown in font, run modally.
void RunCopyCommand(const CExStringList& report, const ReportLineDecoder& decode, const QFont& font,
                    QWidget* parent);

#endif
