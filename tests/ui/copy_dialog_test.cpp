// The copy dialog: how much of a report it shows, what reaches the
// clipboard from "Wole" and "Partial", its messages, and its make-up.
#include "engine/ex_string_list.h"
#include "find_widget.h"
#include "screenshot.h"
#include "ui/copy_dialog.h"
#include "ui/dialog_util.h"
#include "ui/output_services.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {

QPlainTextEdit* Edit(const QDialog& dialog) {
    return FindWidget<QPlainTextEdit>(dialog, CCopyDialog::ControlName(CCopyDialog::IDC_EDIT));
}
QPushButton* Button(const QDialog& dialog, int id) {
    return FindWidget<QPushButton>(dialog, CCopyDialog::ControlName(id));
}

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void Fill(CExStringList& report, int count, int width = 13) {
    for (int i = 1; i <= count; ++i)
        report.AppendLine(QString::number(i).rightJustified(width).toStdString() + "\r\n");
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

    void text_stopsAtTheFirstLineReachingTheLimit_data();
    void text_stopsAtTheFirstLineReachingTheLimit();
    void whole_copiesEverythingWithLineEnds();
    void enter_runsWholeDespiteASelection();
    void partial_copiesTheSelectedRowsWithLineEnds();
    void partial_withoutSelection_staysOpen();
    void cancel_leavesTheClipboard();
    void emptyReport_beepsAndShowsNoDialog();
    void makeUp_controlsTextsAndPlaces();
};

void CopyDialogTest::text_stopsAtTheFirstLineReachingTheLimit_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("shown");

    // 2181 lines of 15 bytes are 2 bytes short of 32717; the next passes it.
    QTest::newRow("3000 lines of 15 bytes") << 3000 << 13 << 2182;
    QTest::newRow("short report shown whole") << 10 << 13 << 10;
    // 32717 = 7 * 4673 + 6: 4674 lines of 7 bytes reach it exactly.
    QTest::newRow("exactly at the limit stops") << 5000 << 5 << 4674;
}

void CopyDialogTest::text_stopsAtTheFirstLineReachingTheLimit() {
    QFETCH(int, lines);
    QFETCH(int, width);
    QFETCH(int, shown);
    CExStringList report;
    Fill(report, lines, width);
    const QString text = CopyDialogText(report, &Latin1);
    QCOMPARE(int(text.count(QStringLiteral("\r\n"))), shown);
    QCOMPARE(int(text.size()), shown * (width + 2));
    QVERIFY(text.endsWith(QString::number(shown) + QStringLiteral("\r\n")));
}

void CopyDialogTest::whole_copiesEverythingWithLineEnds() {
    CExStringList report;
    Fill(report, 3);
    Answers answers;
    answers.whileOpen = [](QDialog& dialog) { Button(dialog, CCopyDialog::IDC_WHOLE)->click(); };
    CScopedOutputServices scoped(answers.Services());
    RunCopyCommand(report, &Latin1, nullptr);
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
    QTextCursor cursor(Edit(dialog)->document());
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 5);
    Edit(dialog)->setTextCursor(cursor);
    Edit(dialog)->setFocus();
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
    QTextCursor cursor(Edit(dialog)->document());
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
    Edit(dialog)->setTextCursor(cursor);
    Button(dialog, CCopyDialog::IDC_PARTIAL)->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("            2\r\n            3\r\n"));
    QCOMPARE(answers.messages, QStringList{QStringLiteral("Completed!(^_^)")});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void CopyDialogTest::partial_withoutSelection_staysOpen() {
    CCopyDialog dialog;
    dialog.m_strText = kReportOf3;
    Answers answers;
    CScopedOutputServices scoped(answers.Services());
    dialog.show();
    Button(dialog, CCopyDialog::IDC_PARTIAL)->click();
    QCOMPARE(answers.beeps, 1);
    QCOMPARE(answers.messages,
             QStringList{QStringLiteral("How do I copy EMPTY text to the clipboard??? ;-{")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
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
    RunCopyCommand(report, &Latin1, nullptr);
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
        {1, "Wole", 5, 215}, {2, "Cancel", 240, 215}, {109, "Partial", 65, 215}};
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
    // Tab order is template order: Wole, Cancel, Partial, the text box.
    QCOMPARE(Button(dialog, 1)->nextInFocusChain(), Button(dialog, 2));
    QCOMPARE(Button(dialog, 2)->nextInFocusChain(), Button(dialog, 109));

    QPlainTextEdit* edit = Edit(dialog);
    QCOMPARE(edit->size(), DialogUnits(&dialog, 285, 205));
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(edit->blockCount(), 4); // three lines and the row after the last line end
    QCOMPARE(edit->document()->findBlockByNumber(1).text(), QStringLiteral("            2"));

    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    QCOMPARE(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

QTEST_MAIN(CopyDialogTest)
#include "copy_dialog_test.moc"
