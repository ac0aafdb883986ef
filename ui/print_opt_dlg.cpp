#include "ui/print_opt_dlg.h"

#include "settings/setting_keys.h"
#include "ui/dialog_util.h"
#include "ui/output_services.h"
#include "ui/report_printer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const std::array<CPrintOptDlg::Field, 3> CPrintOptDlg::kFields = {{
    {&CPrintOptDlg::m_pMaxPage, &CPrintOptDlg::m_strMaxPage, &CPrintOptDlg::m_strOpenMaxPage,
     setting_keys::kPrintMaxPage, "Max page number", "page"},
    {&CPrintOptDlg::m_pLines, &CPrintOptDlg::m_strLines, &CPrintOptDlg::m_strOpenLines,
     setting_keys::kPrintLine, "Lines per Page", "lines"},
    {&CPrintOptDlg::m_pColumns, &CPrintOptDlg::m_strColumns, &CPrintOptDlg::m_strOpenColumns,
     setting_keys::kPrintColumn, "Columns per line", "columns"},
}};

QString CheckLayoutNumber(const QString& label, const QString& text) {
    const QString trimmed = text.trimmed();
    bool digitsOnly = !trimmed.isEmpty();
    for (QChar c : trimmed)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    // Too many digits fail to convert and count as too large.
    bool converted = false;
    const int value = digitsOnly ? trimmed.toInt(&converted) : 0;
    if (converted && value >= 1 && value <= kMaxLayoutNumber)
        return QString();
    return QStringLiteral("%1 must be a whole number from 1 to %2.")
        .arg(label)
        .arg(kMaxLayoutNumber);
}

CPrintOptDlg::CPrintOptDlg(CSettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Print Options"));
    BuildControls();
}

// Each field has its label above it and its unit to its right.
void CPrintOptDlg::BuildControls() {
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Field& field : kFields) {
        auto* edit = new QLineEdit(this);
        this->*field.edit = edit;
        edit->setObjectName(QString::fromLatin1(field.key.key));
        edit->setMaxLength(16);
        auto* label = new QLabel(QString::fromLatin1(field.label), this);
        label->setBuddy(edit);
        grid->addWidget(label, row++, 0, 1, 2);
        grid->addWidget(edit, row, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(field.unit), this), row++, 1);
    }
    grid->setColumnStretch(0, 1);
    m_pPageNum = new QCheckBox(QStringLiteral("Output page number"), this);
    m_pPageNum->setObjectName(QString::fromLatin1(setting_keys::kPageNum.key));
    grid->addWidget(m_pPageNum, row, 0, 1, 2);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrintOptDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addSpacing(DialogUnits(this, 8, 0).width());
    layout->addWidget(buttons, 0, Qt::AlignTop);
    setMinimumWidth(DialogUnits(this, 185, 0).width());
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
}

// A field shows the number printing would use now: the stored text read as
// a number, or the default when nothing is stored.
void CPrintOptDlg::LoadSettings() {
    // The box shows what printing will do; "PageNum" is stale in old profiles.
    m_bPageNum = GetInt(m_settings, setting_keys::kNumberPages) != 0 ? 1 : 0;
    m_bOpenPageNum = m_bPageNum;
    for (const Field& field : kFields) {
        const int value = ReadPrintNumber(m_settings, field.key);
        this->*field.text = QString::number(value);
        this->*field.opened = this->*field.text;
    }
}

void CPrintOptDlg::UpdateData(bool save) {
    if (save) {
        m_bPageNum = m_pPageNum->isChecked() ? 1 : 0;
        for (const Field& field : kFields)
            this->*field.text = (this->*field.edit)->text();
        return;
    }
    m_pPageNum->setChecked(m_bPageNum == 1);
    for (const Field& field : kFields)
        (this->*field.edit)->setText(this->*field.text);
}

bool CPrintOptDlg::ValidateFields() {
    for (const Field& field : kFields) {
        const QString& text = this->*field.text;
        if (text == this->*field.opened)
            continue;
        QString problem = CheckLayoutNumber(QString::fromLatin1(field.label), text);
        if (problem.isEmpty())
            continue;
        OutputServices().message(this, problem);
        QLineEdit* edit = this->*field.edit;
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void CPrintOptDlg::showEvent(QShowEvent* event) {
    if (!m_bLoaded) {
        LoadSettings();
        UpdateData(false);
        m_bLoaded = true;
    }
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void CPrintOptDlg::accept() {
    UpdateData(true);
    if (!ValidateFields())
        return;
    WriteFlag(m_settings, setting_keys::kPageNum, m_bPageNum);
    if (m_bPageNum != m_bOpenPageNum)
        WriteInt(m_settings, setting_keys::kNumberPages, m_bPageNum);
    for (const Field& field : kFields) {
        const QString& text = this->*field.text;
        if (text == this->*field.opened)
            continue;
        const QByteArray number = QByteArray::number(text.trimmed().toInt());
        WriteString(m_settings, field.key, number.constData());
    }
    QDialog::accept();
}
