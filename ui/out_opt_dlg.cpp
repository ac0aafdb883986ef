#include "ui/out_opt_dlg.h"

#include "settings/setting_keys.h"
#include "ui/dialog_util.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace {

// A control and the option it shows. The control shows the stored value as
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

// The five ways of ordering the list: exactly one of them is chosen.
constexpr int kSortIds[] = {COutOptDlg::IDC_FREQ, COutOptDlg::IDC_ZYX, COutOptDlg::IDC_LOWFREQ,
                            COutOptDlg::IDC_ABC, COutOptDlg::IDC_TAIL};

bool IsSortId(int id) {
    return std::find(std::begin(kSortIds), std::end(kSortIds), id) != std::end(kSortIds);
}

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

// The labels are the dialog's own, with a mnemonic letter each.
QAbstractButton* COutOptDlg::AddButton(int id, const char* label) {
    QAbstractButton* button = nullptr;
    if (IsSortId(id)) {
        button = new QRadioButton(QString::fromLatin1(label), this);
        m_pOrders->addButton(button, id);
    } else {
        button = new QCheckBox(QString::fromLatin1(label), this);
    }
    m_buttons[IndexOf(id)] = button;
    return button;
}

// Controls are made in the order they are laid out, top to bottom.
void COutOptDlg::BuildControls() {
    m_pOrders = new QButtonGroup(this);
    m_pOrders->setExclusive(true);
    auto* alphabetical = new QGroupBox(QStringLiteral("Alphabetical order"), this);
    auto* alphabeticalLayout = new QVBoxLayout(alphabetical);
    alphabeticalLayout->addWidget(AddButton(IDC_ABC, "&Ascending(abc...xyz)"));
    alphabeticalLayout->addWidget(AddButton(IDC_ZYX, "&Descending(zyx...cba)"));
    QAbstractButton* tail = AddButton(IDC_TAIL, "&Listing by the endings");

    auto* frequency = new QGroupBox(QStringLiteral("Frequency order"), this);
    auto* frequencyLayout = new QVBoxLayout(frequency);
    frequencyLayout->addWidget(AddButton(IDC_FREQ, "De&scending"));
    frequencyLayout->addWidget(AddButton(IDC_LOWFREQ, "Asce&nding"));

    auto* left = new QVBoxLayout;
    left->addWidget(alphabetical);
    left->addWidget(tail);
    left->addWidget(frequency);
    left->addWidget(AddButton(IDC_PERCENT, "Output &ratio(%), too!"));
    left->addWidget(AddButton(IDC_SUBDIR, "&Process files under subdirectories"));
    left->addWidget(AddButton(IDC_BINARY, "E&xclude binary files"));
    left->addWidget(AddButton(IDC_DEHTML, "&Ignore HTML Tags"));
    // In the order of each key's values; labels and boxes in two columns.
    auto* choices = new QGridLayout;
    AddChoiceRow(
        choices, m_encoding, "Text &encoding:", "encoding",
        {QStringLiteral("Shift-JIS/ANSI"), QStringLiteral("UTF-8"), QStringLiteral("Detect")});
    AddChoiceRow(choices, m_segment, "&Japanese words:", "segment",
                 {QStringLiteral("By character type"), QStringLiteral("By dictionary"),
                  QStringLiteral("Dictionary base forms")});
    choices->setColumnStretch(1, 1);
    left->addLayout(choices);
    m_pReportNote = new QLabel(this);
    m_pReportNote->setObjectName(QStringLiteral("reportNote"));
    m_pReportNote->setWordWrap(true);
    m_pReportNote->hide();
    left->addWidget(m_pReportNote);

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
    SetTabOrder();
}

void COutOptDlg::AddChoiceRow(QGridLayout* grid, Choice& choice, const char* label,
                              const char* name, const QStringList& items) {
    choice.box = new QComboBox(this);
    choice.box->setObjectName(QString::fromLatin1(name));
    choice.box->addItems(items);
    auto* text = new QLabel(QString::fromLatin1(label), this);
    text->setBuddy(choice.box);
    const int row = grid->rowCount();
    grid->addWidget(text, row, 0);
    grid->addWidget(choice.box, row, 1);
}

// Tab follows the layout: the orders and options top to bottom, the two
// choices, then OK and Cancel.
void COutOptDlg::SetTabOrder() {
    QWidget* previous = nullptr;
    auto next = [&previous](QWidget* widget) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (int id : {IDC_ABC, IDC_ZYX, IDC_TAIL, IDC_FREQ, IDC_LOWFREQ, IDC_PERCENT, IDC_SUBDIR,
                   IDC_BINARY, IDC_DEHTML})
        next(Control(id));
    next(m_encoding.box);
    next(m_segment.box);
    auto* buttons = findChild<QDialogButtonBox*>();
    next(buttons->button(QDialogButtonBox::Ok));
    next(buttons->button(QDialogButtonBox::Cancel));
}

QAbstractButton* COutOptDlg::Control(int id) const {
    int index = IndexOf(id);
    return index < 0 ? nullptr : m_buttons[index];
}

void COutOptDlg::SetReportNote(const QString& note) {
    m_pReportNote->setText(note);
    m_pReportNote->setVisible(!note.isEmpty());
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
// orderings exactly the one the next count will use is chosen, whatever the
// profile holds, so that OK without a change keeps the count's order.
void COutOptDlg::LoadSettings() {
    for (const DialogFlag& flag : kFlags)
        Flag(flag.id) = GetFlagValue(m_settings, flag.key);
    const int order = OrderOfNextCount();
    for (int id : kSortIds)
        Flag(id) = id == order ? 1 : 0;
    ShowChoice(m_encoding, setting_keys::kEncoding);
    ShowChoice(m_segment, setting_keys::kSegment);
}

// The count reads a value it does not know as the first choice, and so does
// the dialog.
void COutOptDlg::ShowChoice(Choice& choice, const IntKey& key) {
    const int value = GetInt(m_settings, key);
    choice.nShown = value > 0 && value < choice.box->count() ? value : 0;
    choice.box->setCurrentIndex(choice.nShown);
}

void COutOptDlg::WriteChoice(const Choice& choice, const IntKey& key) {
    if (choice.box->currentIndex() != choice.nShown)
        WriteInt(m_settings, key, choice.box->currentIndex());
}

// The orders' group keeps one button checked: checking the member that is
// 1 unchecks the others.
void COutOptDlg::UpdateData(bool save) {
    for (const DialogFlag& flag : kFlags) {
        QAbstractButton* button = Control(flag.id);
        if (save)
            Flag(flag.id) = button->isChecked() ? 1 : 0;
        else
            button->setChecked(Flag(flag.id) == 1);
    }
}

void COutOptDlg::showEvent(QShowEvent* event) {
    if (!m_bLoaded) {
        LoadSettings();
        UpdateData(false);
        m_bLoaded = true;
    }
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void COutOptDlg::accept() {
    UpdateData(true);
    for (const DialogFlag& flag : kFlags)
        WriteFlag(m_settings, flag.key, Flag(flag.id));
    WriteChoice(m_encoding, setting_keys::kEncoding);
    WriteChoice(m_segment, setting_keys::kSegment);
    QDialog::accept();
}
