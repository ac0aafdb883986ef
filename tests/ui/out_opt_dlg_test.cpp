// The Output Option dialog: what it opens with, how the five orderings stay
// a single choice, the keyboard, and what OK and Cancel leave in the
// settings.
#include "find_widget.h"
#include "screenshot.h"
#include "settings_recorder.h"
#include "ui/out_opt_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <map>
#include <tuple>

namespace {

using Ids = QList<int>;
// Profile values as "Section/Key" and the number stored.
using Stored = std::map<QString, int>;

void Store(CSettingsStore& settings, const Stored& values) {
    for (const auto& [name, value] : values) {
        const std::string section = name.section(QLatin1Char('/'), 0, 0).toStdString();
        const std::string key = name.section(QLatin1Char('/'), 1).toStdString();
        settings.WriteSettingInt(section.c_str(), key.c_str(), value);
    }
}

Ids Checked(const COutOptDlg& dialog) {
    using F = COutOptDlg;
    Ids ids;
    for (int id : {F::IDC_FREQ, F::IDC_PERCENT, F::IDC_LOWFREQ, F::IDC_ABC, F::IDC_ZYX, F::IDC_TAIL,
                   F::IDC_SUBDIR, F::IDC_BINARY, F::IDC_DEHTML}) {
        if (dialog.Control(id)->isChecked())
            ids.append(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

Ids Sorted(Ids ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

void Click(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

QPushButton* Button(COutOptDlg& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

} // namespace

class OutOptDlgTest : public QObject {
    Q_OBJECT
  private slots:
    void opening_data();
    void opening();
    void sortClick_data();
    void sortClick();
    void ok_writesTheNineKeysInOrder();
    void ok_theChosenOrderStaysChosen();
    void keyboard_mnemonicsAndTabOrderFollowTheLayout();
    void segment_writtenOnlyWhenChanged();
    void cancel_writesNothing();
    void layout_labelsGroupsButtonsCentred();
};

void OutOptDlgTest::opening_data() {
    using F = COutOptDlg;
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<Ids>("checked");
    // The count reads no "abc" as descending.
    QTest::newRow("first run") << Stored{} << Ids{F::IDC_ZYX};
    QTest::newRow("one ordering") << Stored{{"Sort/LowFreq", 1}} << Ids{F::IDC_LOWFREQ};
    QTest::newRow("descending alphabetical") << Stored{{"Sort/zyx", 1}} << Ids{F::IDC_ZYX};
    QTest::newRow("frequency order wins over endings")
        << Stored{{"Sort/Freq", 1}, {"Sort/Tail", 1}} << Ids{F::IDC_FREQ};
    QTest::newRow("more to less wins over less to more")
        << Stored{{"Sort/Freq", 1}, {"Sort/LowFreq", 1}} << Ids{F::IDC_FREQ};
    QTest::newRow("endings win over ascending")
        << Stored{{"Sort/Tail", 1}, {"Sort/abc", 1}} << Ids{F::IDC_TAIL};
    QTest::newRow("a 2 is off") << Stored{{"Sort/Freq", 2}, {"Sort/abc", 2}} << Ids{F::IDC_ZYX};
    QTest::newRow("ascending and descending stored: ascending")
        << Stored{{"Sort/abc", 1}, {"Sort/zyx", 1}} << Ids{F::IDC_ABC};
    QTest::newRow("other flags kept, ordering repaired")
        << Stored{{"Sort/Percent", 1},
                  {"Option/Subdir", 1},
                  {"Option/Binary", 1},
                  {"Option/DeHTML", 1}}
        << Ids{F::IDC_PERCENT, F::IDC_ZYX, F::IDC_SUBDIR, F::IDC_BINARY, F::IDC_DEHTML};
    QTest::newRow("only exactly 1 shows checked")
        << Stored{{"Sort/Tail", 1}, {"Sort/Percent", 2}, {"Option/DeHTML", -1}} << Ids{F::IDC_TAIL};
}

void OutOptDlgTest::opening() {
    QFETCH(Stored, stored);
    QFETCH(Ids, checked);
    CRecordingSettings settings;
    Store(settings, stored);
    settings.writes.clear();
    COutOptDlg dialog(settings);
    dialog.show();
    QCOMPARE(Checked(dialog), Sorted(checked));
    // Opening repairs on screen only; a second showing keeps the boxes.
    Click(dialog.Control(COutOptDlg::IDC_PERCENT));
    dialog.hide();
    dialog.show();
    QCOMPARE(dialog.Control(COutOptDlg::IDC_PERCENT)->isChecked(),
             !checked.contains(COutOptDlg::IDC_PERCENT));
    QCOMPARE(settings.writes, QStringList());
}

void OutOptDlgTest::sortClick_data() {
    using F = COutOptDlg;
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<Ids>("checked");
    QTest::newRow("endings over frequency")
        << Stored{{"Sort/Freq", 1}} << int(F::IDC_TAIL) << Ids{F::IDC_TAIL};
    QTest::newRow("ascending frequency over alphabetical")
        << Stored{} << int(F::IDC_LOWFREQ) << Ids{F::IDC_LOWFREQ};
    QTest::newRow("descending alphabetical over endings")
        << Stored{{"Sort/Tail", 1}} << int(F::IDC_ZYX) << Ids{F::IDC_ZYX};
    QTest::newRow("clicking the chosen one keeps it")
        << Stored{} << int(F::IDC_ZYX) << Ids{F::IDC_ZYX};
    QTest::newRow("percent changes no other box")
        << Stored{} << int(F::IDC_PERCENT) << Ids{F::IDC_ZYX, F::IDC_PERCENT};
    QTest::newRow("options stay when the ordering changes")
        << Stored{{"Option/Subdir", 1}, {"Option/DeHTML", 1}, {"Sort/Percent", 1}}
        << int(F::IDC_FREQ) << Ids{F::IDC_FREQ, F::IDC_SUBDIR, F::IDC_DEHTML, F::IDC_PERCENT};
    QTest::newRow("binary toggles alone")
        << Stored{{"Option/Binary", 1}} << int(F::IDC_BINARY) << Ids{F::IDC_ZYX};
}

void OutOptDlgTest::sortClick() {
    QFETCH(Stored, stored);
    QFETCH(int, clicked);
    QFETCH(Ids, checked);
    CMemorySettings settings;
    Store(settings, stored);
    COutOptDlg dialog(settings);
    dialog.show();
    Click(dialog.Control(clicked));
    QCOMPARE(Checked(dialog), Sorted(checked));
}

void OutOptDlgTest::ok_writesTheNineKeysInOrder() {
    CRecordingSettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    Click(dialog.Control(COutOptDlg::IDC_TAIL));
    Click(dialog.Control(COutOptDlg::IDC_PERCENT));
    Click(dialog.Control(COutOptDlg::IDC_BINARY));
    Button(dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(
        settings.writes,
        QStringList({"Sort/Freq=0", "Sort/Percent=1", "Sort/LowFreq=0", "Sort/abc=0", "Sort/zyx=0",
                     "Sort/Tail=1", "Option/Subdir=0", "Option/Binary=1", "Option/DeHTML=0"}));
}

// The orders are radio buttons: one is always chosen, so OK always stores
// exactly one of the five.
void OutOptDlgTest::ok_theChosenOrderStaysChosen() {
    CRecordingSettings settings;
    settings.WriteSettingInt("Sort", "Freq", 1);
    {
        COutOptDlg dialog(settings);
        dialog.show();
        Click(dialog.Control(COutOptDlg::IDC_FREQ));
        QCOMPARE(Checked(dialog), Ids{COutOptDlg::IDC_FREQ});
        QTest::keyClick(dialog.Control(COutOptDlg::IDC_FREQ), Qt::Key_Space);
        QCOMPARE(Checked(dialog), Ids{COutOptDlg::IDC_FREQ});
        Button(dialog, QDialogButtonBox::Ok)->click();
    }
    QCOMPARE(settings.GetSettingInt("Sort", "Freq", -1), 1);
    for (const char* key : {"LowFreq", "abc", "zyx", "Tail"})
        QCOMPARE(settings.GetSettingInt("Sort", key, -1), 0);
}

// Every option has a mnemonic of its own, and the focus moves through the
// controls in the order they stand: the orders (one tab stop, arrows move
// among them), the options and choices, then OK and Cancel.
void OutOptDlgTest::keyboard_mnemonicsAndTabOrderFollowTheLayout() {
    CMemorySettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSet<QChar> letters;
    QList<QWidget*> chain;
    for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        const QString text = button ? button->text() : label ? label->text() : QString();
        if ((button && !qobject_cast<QPushButton*>(w)) || (label && label->buddy()))
            letters.insert(text.at(text.indexOf(QLatin1Char('&')) + 1).toLower());
        if (w->focusPolicy() != Qt::NoFocus)
            chain.append(w);
    }
    QCOMPARE(letters.size(), 11); // nine options, two choices
    QCOMPARE(chain.size(), 13);
    QCOMPARE(chain.last(), Button(dialog, QDialogButtonBox::Cancel));
    for (int i = 1; i < 11; ++i)
        QVERIFY(chain[i]->mapTo(&dialog, QPoint()).y() >
                chain[i - 1]->mapTo(&dialog, QPoint()).y());
    QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(dialog.Control(COutOptDlg::IDC_TAIL)->isChecked()); // as a click shows
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialog.Control(COutOptDlg::IDC_PERCENT));
}

// "Japanese words" is stored only when the user changes it, as "Encoding";
// a value the dialog does not know shows as the first choice.
void OutOptDlgTest::segment_writtenOnlyWhenChanged() {
    for (auto [stored, chosen, written] : {std::tuple{-1, -1, ""},
                                           {7, -1, ""},
                                           {-1, 1, "Option/Segment=1"},
                                           {2, 0, "Option/Segment=0"}}) {
        CRecordingSettings settings;
        if (stored >= 0)
            settings.WriteSettingInt("Option", "Segment", stored);
        COutOptDlg dialog(settings);
        dialog.show();
        auto* segment = FindWidget<QComboBox>(dialog, QStringLiteral("segment"));
        QCOMPARE(segment->currentIndex(), stored == 2 ? 2 : 0);
        segment->setCurrentIndex(chosen < 0 ? segment->currentIndex() : chosen);
        settings.writes.clear();
        Button(dialog, QDialogButtonBox::Ok)->click();
        QCOMPARE(settings.writes.size() == 10 ? settings.writes.last() : QString(),
                 QString::fromLatin1(written));
    }
}

void OutOptDlgTest::cancel_writesNothing() {
    CRecordingSettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    Click(dialog.Control(COutOptDlg::IDC_FREQ));
    Click(dialog.Control(COutOptDlg::IDC_SUBDIR));
    Button(dialog, QDialogButtonBox::Cancel)->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.writes, QStringList());
}

void OutOptDlgTest::layout_labelsGroupsButtonsCentred() {
    CMemorySettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    SaveScreenshot(&dialog, "output_option");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Output Option"));

    struct Expected {
        int id;
        const char* label;
        const char* group;
    };
    const Expected expected[] = {
        {COutOptDlg::IDC_ABC, "Ascending(abc...xyz)", "Alphabetical order"},
        {COutOptDlg::IDC_ZYX, "Descending(zyx...cba)", "Alphabetical order"},
        {COutOptDlg::IDC_TAIL, "Listing by the endings", nullptr},
        {COutOptDlg::IDC_FREQ, "Descending", "Frequency order"},
        {COutOptDlg::IDC_LOWFREQ, "Ascending", "Frequency order"},
        {COutOptDlg::IDC_PERCENT, "Output ratio(%), too!", nullptr},
        {COutOptDlg::IDC_SUBDIR, "Process files under subdirectories", nullptr},
        {COutOptDlg::IDC_BINARY, "Exclude binary files", nullptr},
        {COutOptDlg::IDC_DEHTML, "Ignore HTML Tags", nullptr},
    };
    // Top to bottom in this order, all in one column.
    int previousY = -1;
    const int left = dialog.Control(COutOptDlg::IDC_TAIL)->mapTo(&dialog, QPoint()).x();
    for (const Expected& box : expected) {
        QAbstractButton* check = dialog.Control(box.id);
        QCOMPARE(QString(check->text()).remove(QLatin1Char('&')), QString::fromLatin1(box.label));
        auto* group = qobject_cast<QGroupBox*>(check->parentWidget());
        QCOMPARE(group ? group->title() : QString(), QString::fromLatin1(box.group));
        QPoint at = check->mapTo(&dialog, QPoint());
        QVERIFY2(at.y() > previousY, box.label);
        QVERIFY2(at.x() >= left, box.label);
        previousY = at.y();
    }
    QPushButton* ok = Button(dialog, QDialogButtonBox::Ok);
    QPushButton* cancel = Button(dialog, QDialogButtonBox::Cancel);
    QVERIFY(ok->isDefault());
    QVERIFY(ok->y() < cancel->y());
    QVERIFY(ok->mapTo(&dialog, QPoint()).x() > left);

    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    QCOMPARE(frame.x(), screen.x() + (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.y(), screen.y() + (screen.height() - frame.height()) / 2);
}

QTEST_MAIN(OutOptDlgTest)
#include "out_opt_dlg_test.moc"
