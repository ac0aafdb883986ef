#include "ui/copy_dialog.h"

#include "ui/copy_text_box.h"
#include "ui/dialog_util.h"
#include "ui/output_services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>

namespace {

const QLatin1String kLineEnd("\r\n");

struct ControlPlace {
    int id;
    const char* text;
    int x, y, width, height;
};

// In dialog units, in tab order.
constexpr ControlPlace kButtons[] = {
    {CCopyDialog::IDC_WHOLE, "Whole", 5, 215, 50, 14},
    {CCopyDialog::IDC_CANCEL, "Cancel", 240, 215, 50, 14},
    {CCopyDialog::IDC_PARTIAL, "Partial", 65, 215, 50, 14},
};
constexpr ControlPlace kEdit = {CCopyDialog::IDC_EDIT, nullptr, 5, 5, 285, 205};
constexpr int kDialogWidth = 295;
constexpr int kDialogHeight = 233;

QRect PlaceOf(const QWidget* dialog, const ControlPlace& place) {
    const QSize at = DialogUnits(dialog, place.x, place.y);
    return QRect(QPoint(at.width(), at.height()), DialogUnits(dialog, place.width, place.height));
}

} // namespace

QString CopyDialogText(const CExStringList& report, const ReportLineDecoder& decode) {
    QString text;
    for (const CExStringList::CLineNode* node = report.m_pHead; node; node = node->m_pNextNode) {
        std::string_view line(node->m_strLine);
        const bool crlf = line.ends_with("\r\n");
        text += decode(crlf ? line.substr(0, line.size() - 2) : line);
        if (crlf)
            text += kLineEnd;
    }
    return text;
}

CCopyDialog::CCopyDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Copy to the Clipboard!"));
    setModal(true);

    QWidget* previous = nullptr;
    for (const ControlPlace& place : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(place.text), this);
        button->setObjectName(ControlName(place.id));
        button->setGeometry(PlaceOf(this, place));
        button->setAutoDefault(false);
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
    m_edit = new CCopyTextBox(this);
    m_edit->setObjectName(ControlName(kEdit.id));
    m_edit->setGeometry(PlaceOf(this, kEdit));
    setTabOrder(previous, m_edit);

    Button(IDC_WHOLE)->setDefault(true);
    connect(Button(IDC_WHOLE), &QPushButton::clicked, this, &CCopyDialog::OnWhole);
    connect(Button(IDC_CANCEL), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(IDC_PARTIAL), &QPushButton::clicked, this, &CCopyDialog::OnPartial);
    // Nothing to copy until something is selected.
    Button(IDC_PARTIAL)->setEnabled(false);
    connect(m_edit, &CCopyTextBox::selectionChanged, Button(IDC_PARTIAL), &QWidget::setEnabled);
    setFixedSize(DialogUnits(this, kDialogWidth, kDialogHeight));
}

QString CCopyDialog::ControlName(int id) {
    return QStringLiteral("control%1").arg(id);
}

QPushButton* CCopyDialog::Button(int id) const {
    return findChild<QPushButton*>(ControlName(id));
}

void CCopyDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    InitDialog();
}

void CCopyDialog::SetTextFont(const QFont& font) {
    m_edit->setFont(font);
}

void CCopyDialog::InitDialog() {
    m_edit->SetText(m_strText);
    CentreOnScreen(this);
    Button(IDC_WHOLE)->setFocus();
}

void CCopyDialog::OnWhole() {
    m_edit->SelectAll();
    m_edit->EnsureCaretVisible();
    CopyAndClose(m_strText);
}

// The button is disabled without a selection; a forced click copies nothing.
void CCopyDialog::OnPartial() {
    if (m_edit->HasSelection())
        CopyAndClose(m_edit->SelectedText());
}

void CCopyDialog::CopyAndClose(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    OutputServices().message(this, QStringLiteral("Completed!(^_^)"));
    accept();
}

void RunCopyCommand(const CExStringList& report, const ReportLineDecoder& decode, const QFont& font,
                    QWidget* parent) {
    if (report.m_nLines == 0 || !report.m_pHead) {
        OutputServices().beep();
        OutputServices().message(parent, QStringLiteral("No data...(^_^;)"));
        return;
    }
    CCopyDialog dialog(parent);
    dialog.SetTextFont(font);
    dialog.m_strText = CopyDialogText(report, decode);
    OutputServices().execDialog(dialog);
}
