// The copy dialog: shows the report's text in a read-only box, from which the
// user copies the whole text ("Wole") or the selected part ("Partial") to the
// clipboard, or cancels.
#ifndef VORLAN_UI_COPY_DIALOG_H
#define VORLAN_UI_COPY_DIALOG_H

#include "engine/ex_string_list.h"
#include "ui/report_printer.h"

#include <QDialog>
#include <QString>
#include <cstddef>

class QPlainTextEdit;
class QPushButton;

// The box stops after the first line that brings its text to this many
// bytes or more.
inline constexpr std::size_t kCopyTextLimit = 32717;

// The report's text for the box: whole lines, each decoded as the screen
// decodes it and followed by its CR LF, up to the byte limit.
QString CopyDialogText(const CExStringList& report, const ReportLineDecoder& decode);

class CCopyDialog : public QDialog {
    Q_OBJECT
  public:
    // Control ids of the dialog's template, kept as the controls' names.
    enum ControlId { IDC_WHOLE = 1, IDC_CANCEL = 2, IDC_PARTIAL = 109, IDC_EDIT = 110 };
    // The object name of the control with id.
    static QString ControlName(int id);

    explicit CCopyDialog(QWidget* parent = nullptr);

    // "Wole", also Enter: copies the whole text and closes.
    void OnWhole();
    // "Partial": copies the selection and closes; with nothing selected,
    // says so and stays open.
    void OnPartial();

    QString m_strText;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* Button(int id) const;
    void InitDialog();
    void CopyAndClose(const QString& text);

    QPlainTextEdit* m_edit;
};

// The Copy command: beep and a message for an empty report, otherwise the
// dialog filled from report, run modally.
void RunCopyCommand(const CExStringList& report, const ReportLineDecoder& decode, QWidget* parent);

#endif
