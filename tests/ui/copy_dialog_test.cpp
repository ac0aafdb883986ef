// The copy dialog: the report it shows, what reaches the clipboard from
// "Whole" and "Partial", its messages, and its make-up.
#include "engine/ex_string_list.h"
#include "find_widget.h"
#include "screenshot.h"
#include "ui/copy_dialog.h"
#include "ui/copy_text_box.h"
#include "ui/dialog_util.h"
#include "ui/output_services.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

CCopyTextBox* Edit(const QDialog& dialog) {
    return FindWidget<CCopyTextBox>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_EDIT));
}

void Keys(QWidget* widget, std::initializer_list<int> keys, Qt::KeyboardModifiers modifiers = {}) {
    for (int key : keys)
        QTest::keyClick(widget, Qt::Key(key), modifiers);
}
QPushButton* Button(const QDialog& dialog, int id) {
    return FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(id));
}

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void Fill(CExStringList& report, int count) {
    for (int i = 1; i <= count; ++i)
        report.AppendLine(QString::number(i).rightJustified(13).toStdString() + "\r\n");
}

// Records the messages and beeps the dialog gives instead of showing them.
struct Answers {
    QStringList messages;
    int beeps = 0;
    int dialogsRun = 0;
    std::function<void(QDialog&)> whileOpen;

    COutputServices Services() {
        COutputServices services = DefaultOutputServices();
        services.message = [this](QWidget*, const QString& text) { messages.append(text); };
        services.beep = [this] { ++beeps; };
        services.execDialog = [this](QDialog& dialog) {
            ++dialogsRun;
            dialog.show();
            if (whileOpen)
                whileOpen(dialog);
            return dialog.result();
        };
        return services;
    }
};

const QString kReportOf3 = QStringLiteral("            1\r\n            2\r\n            3\r\n");

} // namespace

class CopyDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("before")); }

    void whole_copiesEverythingWithLineEnds();
    void enter_runsWholeDespiteASelection();
    void partial_copiesTheSelectedRowsWithLineEnds();
    void partial_copiesCharactersAcrossARowEnd();
    void partial_enabledOnlyWhileTextIsSelected();
    void cancel_leavesTheClipboard();
    void emptyReport_beepsAndShowsNoDialog();
    void makeUp_controlsTextsAndPlaces();
};

void CopyDialogTest::whole_copiesEverythingWithLineEnds() {
    CExStringList report;
    Fill(report, 3);
    Answers answers;
    answers.whileOpen = [](QDialog& dialog) { Button(dialog, CCopyDialog::IDC_WHOLE)->click(); };
    CScopedOutputServices scoped(answers.Services());
    RunCopyCommand(report, &Latin1, QFont(), nullptr);
    QCOMPARE(answers.dialogsRun, 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), kReportOf3);
    QCOMPARE(answers.messages, QStringList{QStringLiteral("Completed!(^_^)")});
}

void CopyDialogTest::enter_runsWholeDespiteASelection() {
    CCopyDialog dialog;
    dialog.m_strText = kReportOf3;
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    dialog.show();
    Edit(dialog)->setFocus();
    Keys(Edit(dialog), {Qt::Key_Right, Qt::Key_Right}, Qt::ShiftModifier);
    QTest::keyClick(Edit(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QGuiApplication::clipboard()->text(), kReportOf3);
}

void CopyDialogTest::partial_copiesTheSelectedRowsWithLineEnds() {
    CCopyDialog dialog;
    dialog.m_strText = kReportOf3;
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    dialog.show();
    Edit(dialog)->setFocus();
    Keys(Edit(dialog), {Qt::Key_Down});
    Keys(Edit(dialog), {Qt::Key_Down, Qt::Key_Down}, Qt::ShiftModifier);
    Button(dialog, CCopyDialog::IDC_PARTIAL)->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("            2\r\n            3\r\n"));
    QCOMPARE(answers.messages, QStringList{QStringLiteral("Completed!(^_^)")});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

// From the end of the first row back over its line end into the row above:
// the selection runs backwards and keeps the CR LF between.
void CopyDialogTest::partial_copiesCharactersAcrossARowEnd() {
    CCopyDialog dialog;
    dialog.m_strText = QStringLiteral("ab\tc\r\nxyz\r\n");
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    dialog.show();
    Edit(dialog)->setFocus();
    Keys(Edit(dialog), {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right});
    Keys(Edit(dialog), {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}, Qt::ShiftModifier);
    Button(dialog, CCopyDialog::IDC_PARTIAL)->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("c\r\nxy"));
}

// Disabled with nothing selected, rather than answering with a message.
void CopyDialogTest::partial_enabledOnlyWhileTextIsSelected() {
    CCopyDialog dialog;
    dialog.m_strText = kReportOf3;
    dialog.show();
    QPushButton* partial = Button(dialog, CCopyDialog::IDC_PARTIAL);
    QVERIFY(!partial->isEnabled());
    Edit(dialog)->setFocus();
    Keys(Edit(dialog), {Qt::Key_End}, Qt::ShiftModifier);
    QVERIFY(partial->isEnabled());
    Keys(Edit(dialog), {Qt::Key_Left});
    QVERIFY(!partial->isEnabled());
}

void CopyDialogTest::cancel_leavesTheClipboard() {
    for (int way = 0; way < 2; ++way) {
        CCopyDialog dialog;
        dialog.m_strText = kReportOf3;
        dialog.show();
        if (way == 0)
            Button(dialog, CCopyDialog::IDC_CANCEL)->click();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }
}

void CopyDialogTest::emptyReport_beepsAndShowsNoDialog() {
    CExStringList report;
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    RunCopyCommand(report, &Latin1, QFont(), nullptr);
    QCOMPARE(answers.dialogsRun, 0);
    QCOMPARE(answers.beeps, 1);
    QCOMPARE(answers.messages, QStringList{QStringLiteral("No data...(^_^;)")});
}

void CopyDialogTest::makeUp_controlsTextsAndPlaces() {
    CCopyDialog dialog;
    dialog.m_strText = kReportOf3;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    SaveScreenshot(&dialog, "copy_dialog");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy to the Clipboard!"));
    QCOMPARE(dialog.size(), DialogUnits(&dialog, 295, 233));

    struct Expected {
        int id;
        const char* text;
        int x, y;
    };
    const Expected buttons[] = {
        {1, "Whole", 5, 215}, {2, "Cancel", 240, 215}, {109, "Partial", 65, 215}};
    for (const Expected& e : buttons) {
        QPushButton* button = Button(dialog, e.id);
        QVERIFY(button);
        QCOMPARE(button->text(), QString::fromLatin1(e.text));
        QSize at = DialogUnits(&dialog, e.x, e.y);
        QCOMPARE(button->pos(), QPoint(at.width(), at.height()));
        QCOMPARE(button->size(), DialogUnits(&dialog, 50, 14));
    }
    QVERIFY(Button(dialog, 1)->isDefault());
    QVERIFY(Button(dialog, 1)->hasFocus());
    // Tab order is template order: Whole, Cancel, Partial, the text box.
    QCOMPARE(Button(dialog, 1)->nextInFocusChain(), Button(dialog, 2));
    QCOMPARE(Button(dialog, 2)->nextInFocusChain(), Button(dialog, 109));

    CCopyTextBox* edit = Edit(dialog);
    QCOMPARE(edit->size(), DialogUnits(&dialog, 285, 205));
    QCOMPARE(edit->RowCount(), 4); // three lines and the row after the last line end
    QCOMPARE(edit->RowText(1).toString(), QStringLiteral("            2"));
    QVERIFY(!edit->verticalScrollBar()->isVisible()); // three rows fit

    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    QCOMPARE(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

QTEST_MAIN(CopyDialogTest)
#include "copy_dialog_test.moc"
