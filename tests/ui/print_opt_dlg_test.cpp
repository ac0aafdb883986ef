// The Print Options dialog: the layout fields show and store the numbers
// printing uses, bad numbers are refused with a message, and the page-number
// box is stored on OK only.
#include "screenshot.h"
#include "settings_recorder.h"
#include "ui/app_strings.h"
#include "ui/print_opt_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// The controls are named after the keys they show.
QLineEdit* Edit(const CPrintOptDlg& dialog, const char* key) {
    return dialog.findChild<QLineEdit*>(QLatin1String(key));
}

QCheckBox* PageNumBox(const CPrintOptDlg& dialog) {
    return dialog.findChild<QCheckBox*>(QStringLiteral("PageNum"));
}

QPushButton* Button(CPrintOptDlg& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

// Presses OK; a message box that comes up is answered and its caption and
// text returned as "caption|text".
QString PressOk(CPrintOptDlg& dialog) {
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    Button(dialog, QDialogButtonBox::Ok)->click();
    QCoreApplication::processEvents();
    return message;
}

QStringList FieldTexts(const CPrintOptDlg& dialog) {
    return {Edit(dialog, "MaxPage")->text(), Edit(dialog, "Line")->text(),
            Edit(dialog, "Column")->text()};
}

} // namespace

class PrintOptDlgTest : public QObject {
    Q_OBJECT
  private slots:
    void opening_data();
    void opening();
    void ok_untouchedStoresOnlyThePageNumberBox();
    void ok_pageNumberReopensUnchecked();
    void ok_changedFieldsAreStored_data();
    void ok_changedFieldsAreStored();
    void ok_refusesBadNumbers_data();
    void ok_refusesBadNumbers();
    void ok_untouchedOddStoredValueIsLeftAlone();
    void cancel_writesNothing();
    void layout_labelsUnitsAndButtons();
};

void PrintOptDlgTest::opening_data() {
    // MaxPage, Line, Column, PageNum, NumberPages; "" for absent
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("pageNum");
    QTest::newRow("first run") << QStringList{"", "", "", "", ""} << QStringList{"10", "50", "70"}
                               << true;
    QTest::newRow("stored values")
        << QStringList{"3", "66", "120", "1", "0"} << QStringList{"3", "66", "120"} << false;
    // Every earlier OK stored PageNum=0 from a box that opened unticked.
    QTest::newRow("an old profile's PageNum=0 does not untick it")
        << QStringList{"", "", "", "0", ""} << QStringList{"10", "50", "70"} << true;
    QTest::newRow("read the way printing reads them")
        << QStringList{" 4pages", "x", "-7", "0", "2"} << QStringList{"4", "0", "-7"} << true;
}

void PrintOptDlgTest::opening() {
    QFETCH(QStringList, stored);
    QFETCH(QStringList, fields);
    QFETCH(bool, pageNum);
    CRecordingSettings settings;
    const char* keys[] = {"MaxPage", "Line", "Column", "PageNum", "NumberPages"};
    for (int i = 0; i < 5; ++i) {
        if (!stored[i].isEmpty())
            settings.WriteSettingString("Print", keys[i], stored[i].toLatin1().constData());
    }
    settings.writes.clear();
    CPrintOptDlg dialog(settings);
    dialog.show();
    QCOMPARE(FieldTexts(dialog), fields);
    QCOMPARE(PageNumBox(dialog)->isChecked(), pageNum);
    QCOMPARE(settings.writes, QStringList());
}

void PrintOptDlgTest::ok_untouchedStoresOnlyThePageNumberBox() {
    CRecordingSettings settings;
    CPrintOptDlg dialog(settings);
    dialog.show();
    QCOMPARE(PressOk(dialog), QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings.writes, QStringList{"Print/PageNum=1"});
}

void PrintOptDlgTest::ok_pageNumberReopensUnchecked() {
    CRecordingSettings settings;
    {
        CPrintOptDlg dialog(settings);
        dialog.show();
        QTest::mouseClick(PageNumBox(dialog), Qt::LeftButton, {}, QPoint(5, 5));
        PressOk(dialog);
    }
    QCOMPARE(settings.writes, QStringList({"Print/PageNum=0", "Print/NumberPages=0"}));
    CPrintOptDlg again(settings);
    again.show();
    QVERIFY(!PageNumBox(again)->isChecked());
}

void PrintOptDlgTest::ok_changedFieldsAreStored_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("lines") << QStringList{"10", "60", "70"}
                           << QStringList{"Print/PageNum=1", "Print/Line=60"};
    QTest::newRow("all three, blanks and zeros trimmed")
        << QStringList{" 2 ", "007", "99999"}
        << QStringList{"Print/PageNum=1", "Print/MaxPage=2", "Print/Line=7", "Print/Column=99999"};
    QTest::newRow("typed back to what it was")
        << QStringList{"10", "50", "70"} << QStringList{"Print/PageNum=1"};
}

void PrintOptDlgTest::ok_changedFieldsAreStored() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, writes);
    CRecordingSettings settings;
    {
        CPrintOptDlg dialog(settings);
        dialog.show();
        QLineEdit* edits[] = {Edit(dialog, "MaxPage"), Edit(dialog, "Line"),
                              Edit(dialog, "Column")};
        for (int i = 0; i < 3; ++i) {
            edits[i]->selectAll();
            QTest::keyClicks(edits[i], typed[i]);
        }
        QCOMPARE(PressOk(dialog), QString());
    }
    QCOMPARE(settings.writes, writes);
    // The next opening shows what printing will now use.
    CPrintOptDlg again(settings);
    again.show();
    QStringList expected;
    for (const QString& text : typed)
        expected.append(QString::number(text.trimmed().toInt()));
    QCOMPARE(FieldTexts(again), expected);
}

void PrintOptDlgTest::ok_refusesBadNumbers_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::newRow("zero lines") << 1 << "0"
                                << "Lines per Page";
    QTest::newRow("negative page") << 0 << "-5"
                                   << "Max page number";
    QTest::newRow("words") << 2 << "wide"
                           << "Columns per line";
    QTest::newRow("emptied") << 1 << ""
                             << "Lines per Page";
    QTest::newRow("plus sign") << 1 << "+8"
                               << "Lines per Page";
    QTest::newRow("overflows int") << 0 << "99999999999999999999"
                                   << "Max page number";
    QTest::newRow("trailing text") << 2 << "80c"
                                   << "Columns per line";
    QTest::newRow("too large") << 0 << "100000"
                               << "Max page number";
}

void PrintOptDlgTest::ok_refusesBadNumbers() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, label);
    CRecordingSettings settings;
    CPrintOptDlg dialog(settings);
    dialog.show();
    QLineEdit* edits[] = {Edit(dialog, "MaxPage"), Edit(dialog, "Line"), Edit(dialog, "Column")};
    QTest::mouseClick(PageNumBox(dialog), Qt::LeftButton, {}, QPoint(5, 5));
    edits[field]->setText(text);
    QCOMPARE(PressOk(dialog), QString::fromLatin1(kAppTitle) + QLatin1Char('|') + label +
                                  QStringLiteral(" must be a whole number from 1 to 99999."));
    // The dialog stays open on the field, and nothing is stored yet.
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.writes, QStringList());
    QCOMPARE(dialog.focusWidget(), edits[field]);
    // Once fixed, OK goes through.
    edits[field]->setText(QStringLiteral("12"));
    QCOMPARE(PressOk(dialog), QString());
    QCOMPARE(settings.writes.size(), 3);
    QCOMPARE(settings.writes[0], QStringLiteral("Print/PageNum=0"));
}

void PrintOptDlgTest::ok_untouchedOddStoredValueIsLeftAlone() {
    CRecordingSettings settings;
    settings.WriteSettingString("Print", "Line", "0");
    settings.writes.clear();
    CPrintOptDlg dialog(settings);
    dialog.show();
    QCOMPARE(PressOk(dialog), QString());
    QCOMPARE(settings.writes, QStringList{"Print/PageNum=1"});
    QCOMPARE(settings.GetSettingString("Print", "Line", ""), std::string("0"));
}

void PrintOptDlgTest::cancel_writesNothing() {
    CRecordingSettings settings;
    CPrintOptDlg dialog(settings);
    dialog.show();
    QTest::mouseClick(PageNumBox(dialog), Qt::LeftButton, {}, QPoint(5, 5));
    Edit(dialog, "Line")->setText(QStringLiteral("40"));
    Button(dialog, QDialogButtonBox::Cancel)->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.writes, QStringList());
}

void PrintOptDlgTest::layout_labelsUnitsAndButtons() {
    CMemorySettings settings;
    CPrintOptDlg dialog(settings);
    dialog.show();
    SaveScreenshot(&dialog, "print_options");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Options"));
    QCOMPARE(PageNumBox(dialog)->text(), QStringLiteral("Output page number"));

    struct Expected {
        QLineEdit* edit;
        const char* label;
        const char* unit;
    };
    const Expected expected[] = {{Edit(dialog, "MaxPage"), "Max page number", "page"},
                                 {Edit(dialog, "Line"), "Lines per Page", "lines"},
                                 {Edit(dialog, "Column"), "Columns per line", "columns"}};
    auto labelWith = [&dialog](const char* text) {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() == QLatin1String(text))
                return label;
        }
        return static_cast<QLabel*>(nullptr);
    };
    int previousBottom = 0;
    for (const Expected& row : expected) {
        QLabel* label = labelWith(row.label);
        QLabel* unit = labelWith(row.unit);
        QVERIFY2(label && unit, row.label);
        QCOMPARE(label->buddy(), row.edit);
        const QRect edit = row.edit->geometry();
        QVERIFY2(label->geometry().bottom() <= edit.top(), row.label);
        QVERIFY2(label->geometry().top() >= previousBottom, row.label);
        QVERIFY2(unit->geometry().left() >= edit.right(), row.unit);
        QVERIFY2(unit->geometry().center().y() >= edit.top() &&
                     unit->geometry().center().y() <= edit.bottom(),
                 row.unit);
        QCOMPARE(edit.left(), expected[0].edit->geometry().left());
        previousBottom = edit.bottom();
    }
    QVERIFY(PageNumBox(dialog)->geometry().top() >= previousBottom);
    QPushButton* ok = Button(dialog, QDialogButtonBox::Ok);
    QVERIFY(ok->isDefault());
    QVERIFY(ok->mapTo(&dialog, QPoint()).y() <
            Button(dialog, QDialogButtonBox::Cancel)->mapTo(&dialog, QPoint()).y());
    QVERIFY(ok->mapTo(&dialog, QPoint()).x() > labelWith("columns")->geometry().right());

    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    QCOMPARE(frame.x(), screen.x() + (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.y(), screen.y() + (screen.height() - frame.height()) / 2);
}

QTEST_MAIN(PrintOptDlgTest)
#include "print_opt_dlg_test.moc"
