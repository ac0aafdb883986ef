// UTF-8 reports in the desktop program: how the window draws their lines,
// the Output Option dialog's text encoding, and Copy of a UTF-8 report.
#include "find_widget.h"
#include "settings_recorder.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/main_frame.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList kNineKeysDefault = {"Sort/Freq=0",     "Sort/Percent=0",  "Sort/LowFreq=0",
                                      "Sort/abc=0",      "Sort/zyx=1",      "Sort/Tail=0",
                                      "Option/Subdir=0", "Option/Binary=0", "Option/DeHTML=0"};

QComboBox* EncodingBox(const COutOptDlg& dialog) {
    return dialog.findChild<QComboBox*>(QStringLiteral("encoding"));
}

void Ok(COutOptDlg& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class Utf8TextTest : public QObject {
    Q_OBJECT
  private slots:
    void dialog_opensWithTheStoredEncoding_data();
    void dialog_opensWithTheStoredEncoding();
    void dialog_writesEncodingOnlyWhenChanged_data();
    void dialog_writesEncodingOnlyWhenChanged();
    void dialog_cancelAfterChangeWritesNothing();
    void dialog_sortClickKeepsTheChosenEncoding();
    void copy_decodesByTheReportsEncoding();
    void view_drawsEachLineInItsOwnEncoding();
};

void Utf8TextTest::dialog_opensWithTheStoredEncoding_data() {
    QTest::addColumn<int>("stored"); // -1: absent
    QTest::addColumn<int>("shown");
    QTest::newRow("absent") << -1 << 0;
    QTest::newRow("bytes") << 0 << 0;
    QTest::newRow("utf-8") << 1 << 1;
    QTest::newRow("detect") << 2 << 2;
    QTest::newRow("unknown value reads as bytes") << 7 << 0;
}

void Utf8TextTest::dialog_opensWithTheStoredEncoding() {
    QFETCH(int, stored);
    QFETCH(int, shown);
    CRecordingSettings settings;
    if (stored >= 0)
        settings.WriteSettingInt("Option", "Encoding", stored);
    COutOptDlg dialog(settings);
    dialog.show();
    QComboBox* box = EncodingBox(dialog);
    QCOMPARE(box->currentIndex(), shown);
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->itemText(0), QStringLiteral("Shift-JIS/ANSI"));
    QCOMPARE(box->itemText(1), QStringLiteral("UTF-8"));
    QCOMPARE(box->itemText(2), QStringLiteral("Detect"));
}

void Utf8TextTest::dialog_writesEncodingOnlyWhenChanged_data() {
    QTest::addColumn<int>("stored"); // -1: absent
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("absent, untouched") << -1 << 0 << QStringList();
    QTest::newRow("absent, detect chosen") << -1 << 2 << QStringList{"Option/Encoding=2"};
    QTest::newRow("utf-8 kept") << 1 << 1 << QStringList();
    QTest::newRow("utf-8 back to bytes") << 1 << 0 << QStringList{"Option/Encoding=0"};
    // An unknown stored value is left as it is unless the user picks one.
    QTest::newRow("unknown value untouched") << 7 << 0 << QStringList();
}

void Utf8TextTest::dialog_writesEncodingOnlyWhenChanged() {
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(QStringList, extra);
    CRecordingSettings settings;
    if (stored >= 0)
        settings.WriteSettingInt("Option", "Encoding", stored);
    settings.writes.clear();
    COutOptDlg dialog(settings);
    dialog.show();
    EncodingBox(dialog)->setCurrentIndex(chosen);
    Ok(dialog);
    QCOMPARE(settings.writes, kNineKeysDefault + extra);
    QCOMPARE(settings.GetSettingInt("Option", "Encoding", -1), extra.isEmpty() ? stored : chosen);
}

void Utf8TextTest::dialog_cancelAfterChangeWritesNothing() {
    CRecordingSettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    EncodingBox(dialog)->setCurrentIndex(1);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(settings.writes, QStringList());
}

void Utf8TextTest::dialog_sortClickKeepsTheChosenEncoding() {
    CRecordingSettings settings;
    COutOptDlg dialog(settings);
    dialog.show();
    EncodingBox(dialog)->setCurrentIndex(2);
    QAbstractButton* tail = dialog.Control(COutOptDlg::IDC_TAIL);
    QTest::mouseClick(tail, Qt::LeftButton, {}, QPoint(tail->height() / 2, tail->height() / 2));
    QCOMPARE(EncodingBox(dialog)->currentIndex(), 2);
    Ok(dialog);
    QCOMPARE(settings.writes.last(), QStringLiteral("Option/Encoding=2"));
}

void Utf8TextTest::copy_decodesByTheReportsEncoding() {
    CMemorySettings settings;
    CVorlanApp app(settings);
    QVERIFY(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    CResultDocument* doc = frame->ActiveChild()->GetDocument();
    doc->Doc().m_listResult.AppendLine("         2 : \xE6\x97\xA5\xE6\x9C\xAC\r\n");
    doc->Doc().m_bUtf8Report = true;
    doc->UpdateAllViews();
    frame->UpdateCommandUI();

    COutputServices services = OutputServices();
    services.message = [](QWidget*, const QString&) {};
    services.execDialog = [](QDialog& dialog) {
        dialog.show();
        FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_WHOLE))->click();
        return dialog.result();
    };
    CScopedOutputServices scoped(services);
    frame->RouteCommand(ID_EDIT_COPY);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral(u"         2 : \u65e5\u672c\r\n"));
    doc->Doc().SetModifiedFlag(false);
}

// The same characters as Shift-JIS bytes and as UTF-8 bytes look the same,
// side by side in one report (a count that detects each file's encoding),
// whatever the report's UTF-8 flag says.
void Utf8TextTest::view_drawsEachLineInItsOwnEncoding() {
    CMemorySettings settings;
    auto doc = std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan1"));
    CVorlanScrollView view(doc);
    view.resize(300, 100);
    view.show();
    const auto paint = [&](std::initializer_list<const char*> words, bool utf8) {
        doc->Doc().m_listResult.RemoveAllLines();
        for (const char* word : words)
            doc->Doc().m_listResult.AppendLine(std::string("         2 : ") + word + "\r\n");
        doc->Doc().m_bUtf8Report = utf8;
        doc->UpdateAllViews();
        return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const char* sjis = "\x93\xfa\x96\x7b";
    const char* utf8 = "\xE6\x97\xA5\xE6\x9C\xAC";
    const QImage expected = paint({sjis, sjis}, false);
    QCOMPARE(paint({sjis, utf8}, true), expected);
    QCOMPARE(paint({utf8, sjis}, false), expected);
}

QTEST_MAIN(Utf8TextTest)
#include "utf8_text_test.moc"
