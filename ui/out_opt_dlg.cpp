#include "ui/out_opt_dlg.h"

#include "settings/setting_keys.h"
#include "ui/dialog_util.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace {

// A check box and the option it shows. The box shows the stored value as
// it is (checked at exactly 1), whatever makes the option count as on.
struct DialogFlag {
    int id;
    const FlagKey& key;
};

// In the order OK writes them.
constexpr DialogFlag kFlags[] = {
    {COutOptDlg::IDC_FREQ, setting_keys::kFreq},
    {COutOptDlg::IDC_PERCENT, setting_keys::kPercent},
    {COutOptDlg::IDC_LOWFREQ, setting_keys::kLowFreq},
    {COutOptDlg::IDC_ABC, setting_keys::kAbc},
    {COutOptDlg::IDC_ZYX, setting_keys::kZyx},
    {COutOptDlg::IDC_TAIL, setting_keys::kTail},
    {COutOptDlg::IDC_SUBDIR, setting_keys::kSubdir},
    {COutOptDlg::IDC_BINARY, setting_keys::kBinary},
    {COutOptDlg::IDC_DEHTML, setting_keys::kDeHtml},
};

// The five ways of ordering the list: at most one of them is chosen.
constexpr int kSortIds[] = {COutOptDlg::IDC_FREQ, COutOptDlg::IDC_ZYX, COutOptDlg::IDC_LOWFREQ,
                            COutOptDlg::IDC_ABC, COutOptDlg::IDC_TAIL};

int IndexOf(int id) {
    auto it = std::find_if(std::begin(kFlags), std::end(kFlags),
                           [id](const DialogFlag& flag) { return flag.id == id; });
    return it == std::end(kFlags) ? -1 : static_cast<int>(it - std::begin(kFlags));
}

} // namespace

COutOptDlg::COutOptDlg(CSettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Output Option"));
    BuildControls();
}

QCheckBox* COutOptDlg::AddBox(int id, const char* label) {
    auto* box = new QCheckBox(QString::fromLatin1(label), this);
    m_boxes[IndexOf(id)] = box;
    if (std::find(std::begin(kSortIds), std::end(kSortIds), id) != std::end(kSortIds))
        connect(box, &QCheckBox::clicked, this, [this, id] { OnSortBoxClicked(id); });
    return box;
}

void COutOptDlg::BuildControls() {
    auto* alphabetical = new QGroupBox(QStringLiteral("Alphabetical order"), this);
    auto* alphabeticalLayout = new QVBoxLayout(alphabetical);
    alphabeticalLayout->addWidget(AddBox(IDC_ABC, "Ascending(abc...xyz)"));
    alphabeticalLayout->addWidget(AddBox(IDC_ZYX, "Descending(zyx...cba)"));

    auto* frequency = new QGroupBox(QStringLiteral("Frequency order"), this);
    auto* frequencyLayout = new QVBoxLayout(frequency);
    frequencyLayout->addWidget(AddBox(IDC_FREQ, "Descending"));
    frequencyLayout->addWidget(AddBox(IDC_LOWFREQ, "Ascending"));

    auto* left = new QVBoxLayout;
    left->addWidget(alphabetical);
    left->addWidget(AddBox(IDC_TAIL, "Listing by the endings"));
    left->addWidget(frequency);
    left->addWidget(AddBox(IDC_PERCENT, "Output ratio(%), too!"));
    left->addWidget(AddBox(IDC_SUBDIR, "Process files under subdirectories"));
    left->addWidget(AddBox(IDC_BINARY, "Exclude binary files"));
    left->addWidget(AddBox(IDC_DEHTML, "Ignore HTML Tags"));
    left->addLayout(BuildEncodingRow());

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    // At least the dialog's 185 dialog units across; as tall as its contents.
    setMinimumWidth(DialogUnits(this, 185, 0).width());
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
}

QHBoxLayout* COutOptDlg::BuildEncodingRow() {
    m_pEncoding = new QComboBox(this);
    m_pEncoding->setObjectName(QStringLiteral("encoding"));
    // In the order of the key's values.
    m_pEncoding->addItems(
        {QStringLiteral("Shift-JIS/ANSI"), QStringLiteral("UTF-8"), QStringLiteral("Detect")});
    auto* label = new QLabel(QStringLiteral("Text &encoding:"), this);
    label->setBuddy(m_pEncoding);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_pEncoding, 1);
    return row;
}

QCheckBox* COutOptDlg::CheckBox(int id) const {
    int index = IndexOf(id);
    return index < 0 ? nullptr : m_boxes[index];
}

int& COutOptDlg::Flag(int id) {
    switch (id) {
    case IDC_FREQ:
        return m_bFreq;
    case IDC_PERCENT:
        return m_bPercent;
    case IDC_ZYX:
        return m_bZyx;
    case IDC_LOWFREQ:
        return m_bLowFreq;
    case IDC_ABC:
        return m_bAbc;
    case IDC_TAIL:
        return m_bTail;
    case IDC_BINARY:
        return m_bBinary;
    case IDC_SUBDIR:
        return m_bSubdir;
    default: // IDC_DEHTML
        return m_bDeHTML;
    }
}

// The ordering the next count will use, as the count reads the profile:
// frequency order (more to less first) replaces the alphabetical one, by
// endings overrides the direction, and anything but "abc" at 1 is
// descending. "zyx" is never read by the count.
int COutOptDlg::OrderOfNextCount() const {
    using namespace setting_keys;
    if (IsOn(m_settings, kFreq))
        return IDC_FREQ;
    if (IsOn(m_settings, kLowFreq))
        return IDC_LOWFREQ;
    if (IsOn(m_settings, kTail))
        return IDC_TAIL;
    return IsOn(m_settings, kAbc) ? IDC_ABC : IDC_ZYX;
}

// The stored choices are read once, when the dialog first shows. Of the five
// orderings exactly the one the next count will use is checked, whatever the
// profile holds, so that OK without a change keeps the count's order.
void COutOptDlg::LoadSettings() {
    for (const DialogFlag& flag : kFlags)
        Flag(flag.id) = GetFlagValue(m_settings, flag.key);
    const int order = OrderOfNextCount();
    for (int id : kSortIds)
        Flag(id) = id == order ? 1 : 0;
    // The count reads any other value as bytes, and so does the dialog.
    const int encoding = GetInt(m_settings, setting_keys::kEncoding);
    m_nEncoding = encoding == 1 || encoding == 2 ? encoding : 0;
}

void COutOptDlg::UpdateData(bool save) {
    for (const DialogFlag& flag : kFlags) {
        QCheckBox* box = CheckBox(flag.id);
        if (save)
            Flag(flag.id) = box->isChecked() ? 1 : 0;
        else
            box->setChecked(Flag(flag.id) == 1);
    }
}

// The box has toggled already. Checking one ordering clears the others;
// unchecking the checked one leaves none chosen, which is allowed.
void COutOptDlg::OnSortBoxClicked(int id) {
    UpdateData(true);
    if (Flag(id) == 1) {
        for (int other : kSortIds) {
            if (other != id)
                Flag(other) = 0;
        }
    }
    UpdateData(false);
}

void COutOptDlg::showEvent(QShowEvent* event) {
    if (!m_bLoaded) {
        LoadSettings();
        UpdateData(false);
        m_pEncoding->setCurrentIndex(m_nEncoding);
        m_bLoaded = true;
    }
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void COutOptDlg::accept() {
    UpdateData(true);
    for (const DialogFlag& flag : kFlags)
        WriteFlag(m_settings, flag.key, Flag(flag.id));
    if (m_pEncoding->currentIndex() != m_nEncoding)
        WriteInt(m_settings, setting_keys::kEncoding, m_pEncoding->currentIndex());
    QDialog::accept();
}
