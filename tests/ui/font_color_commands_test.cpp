// The font, colour and option commands of a result view, with the choosers
// answered by the tests through the output services, and the conversion between the stored font
// record and Qt's fonts.
#include "find_widget.h"
#include "screenshot.h"
#include "settings_recorder.h"
#include "ui/command_ids.h"
#include "ui/font_chooser_dlg.h"
#include "ui/font_color_commands.h"
#include "ui/font_convert.h"
#include "ui/option_dialog_commands.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/print_opt_dlg.h"
#include "ui/result_document.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <cstring>

namespace {

QFontDialog* FontDialog(const CFontChooserDlg& dialog) {
    return FindWidget<QFontDialog>(dialog, QStringLiteral("font"));
}
QComboBox* ColorBox(const CFontChooserDlg& dialog) {
    return FindWidget<QComboBox>(dialog, QStringLiteral("color"));
}

constexpr ColorRef kRed = 255;
constexpr ColorRef kBlue = 0xFF0000;

// A view that notes what the commands did to it.
class CFakeView : public CFontColorView {
  public:
    QWidget* DialogOwner() const override { return nullptr; }
    LogFont ViewFont() const override { return font; }
    ColorRef ViewTextColor() const override { return text; }
    ColorRef ViewBackColor() const override { return back; }
    void SetViewFont(const LogFont& logFont) override {
        font = logFont;
        calls.append(QStringLiteral("font"));
    }
    void SetTextColor(ColorRef color) override {
        calls.append(QStringLiteral("text %1").arg(color));
    }
    void SetBackColor(ColorRef color) override {
        calls.append(QStringLiteral("back %1").arg(color));
    }
    void UpdateAllViews() override { calls.append(QStringLiteral("update all")); }

    LogFont font;
    ColorRef text = 0x123456;
    ColorRef back = 0xABCDEF;
    QStringList calls;
};

// Choosers that answer as told and note what they were started from.
struct CScriptedChoosers {
    std::optional<CChosenFont> fontAnswer;
    std::optional<ColorRef> colorAnswer;
    std::optional<LogFont> fontStartedFrom;
    QList<ColorRef> colorsStartedFrom;

    COutputServices Services() {
        COutputServices services = OutputServices();
        services.chooseFont = [this](QWidget*, const LogFont& initial, ColorRef color) {
            fontStartedFrom = initial;
            colorsStartedFrom.append(color);
            return fontAnswer;
        };
        services.chooseColor = [this](QWidget*, ColorRef initial) {
            colorsStartedFrom.append(initial);
            return colorAnswer;
        };
        return services;
    }
};

LogFont BoldFace(const char* face, std::int32_t height) {
    LogFont font;
    font.lfHeight = height;
    font.lfWeight = 700;
    SetFaceName(font, face);
    return font;
}

// Runs answer on the modal window that the next step opens.
template <typename Dialog, typename Answer> void AnswerModal(Answer answer, bool& seen) {
    QTimer::singleShot(0, [answer, &seen] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog)
            answer(dialog);
        else if (QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
}

// Picks family in the font dialog's list of faces, as a click would.
void SelectFamily(QFontDialog* dialog, const QString& family) {
    for (QListView* list : dialog->findChildren<QListView*>()) {
        const QAbstractItemModel* model = list->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == family)
                return list->setCurrentIndex(model->index(row, 0));
        }
    }
    QFAIL(qPrintable(family));
}

// Picks colour in the chooser's list of colours.
void SelectColor(CFontChooserDlg& dialog, ColorRef color) {
    ColorBox(dialog)->setCurrentIndex(ColorBox(dialog)->findData(uint(color)));
}

bool SameFont(const LogFont& a, const LogFont& b) {
    return FormatFontRecord(a, 0) == FormatFontRecord(b, 0) && FaceNameOf(a) == FaceNameOf(b);
}

} // namespace

class FontColorCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void view_commandsAlwaysEnabled();
    void font_opensOnTheViewsFontAndColour();
    void font_okStoresRecordAndTextColour();
    void font_cancelChangesNothing();
    void colour_data();
    void colour();
    void views_colourReachesEveryViewFontStaysInOne();
    void qtChoosers_answerInTheRecordsTerms();
    void optionCommands_openTheirDialogs();
    void convert_backToRecord();
    void convert_pointSizesBecomePixels();
    void chooser_startsFromRecordWithBlack();
    void chooser_opensOnTheFontShownInItsColour();
    void chooser_anotherFaceKeepsTheStyle();
};

void FontColorCommandsTest::view_commandsAlwaysEnabled() {
    CMemorySettings settings;
    CVorlanScrollView view(std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan1")));
    for (int id :
         {ID_CHANGE_FONT, ID_PRINT_OPTION, ID_OUTPUT_OPTION, ID_TEXT_COLOR, ID_BACK_COLOR}) {
        CommandState state;
        state.enabled = false;
        QVERIFY(view.QueryCommand(id, state));
        QVERIFY(state.enabled);
    }
}

// The view's own font and text colour, not a stored record.
void FontColorCommandsTest::font_opensOnTheViewsFontAndColour() {
    CMemorySettings settings;
    settings.WriteSettingString("Font", "DispFont", "-20 0 0 0 700 1 0 0 0 0 0 0 34 255 0 0");
    CFakeView view;
    view.font = BoldFace("Shown Face", -15);
    CScriptedChoosers choosers;
    CScopedOutputServices scoped(choosers.Services());
    CFontColorCommands commands(settings, view);
    commands.OnChangeFont();
    QVERIFY(choosers.fontStartedFrom);
    QVERIFY(SameFont(*choosers.fontStartedFrom, view.font));
    QCOMPARE(choosers.colorsStartedFrom, QList<ColorRef>{view.text});
}

void FontColorCommandsTest::font_okStoresRecordAndTextColour() {
    CRecordingSettings settings;
    CFakeView view;
    CScriptedChoosers choosers;
    choosers.fontAnswer = CChosenFont{BoldFace("Courier", -16), kRed};
    CScopedOutputServices scoped(choosers.Services());
    CFontColorCommands commands(settings, view);
    commands.DoCommand(ID_CHANGE_FONT);

    const char* record = "-16 0 0 0 700 0 0 0 128 1 2 1 1 255 0 0";
    QCOMPARE(settings.writes, QStringList({QStringLiteral("Font/DispFont=%1").arg(record),
                                           "Font/DispFontFace=Courier",
                                           QStringLiteral("Font/DisplayFont=%1").arg(record),
                                           "Font/DisplayFontFace=Courier", "Color/TxtColor=255"}));
    QCOMPARE(view.calls, QStringList({"text 255", "font", "update all"}));
    QVERIFY(SameFont(view.font, BoldFace("Courier", -16)));
}

void FontColorCommandsTest::font_cancelChangesNothing() {
    CRecordingSettings settings;
    CFakeView view;
    CScriptedChoosers choosers;
    CScopedOutputServices scoped(choosers.Services());
    CFontColorCommands commands(settings, view);
    commands.DoCommand(ID_CHANGE_FONT);
    QVERIFY(choosers.fontStartedFrom);
    QCOMPARE(settings.writes, QStringList());
    QCOMPARE(view.calls, QStringList());
}

void FontColorCommandsTest::colour_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<std::optional<ColorRef>>("answer");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("text colour") << int(ID_TEXT_COLOR) << std::optional<ColorRef>(kRed)
                                 << QStringList{"Color/TxtColor=255"}
                                 << QStringList{"text 255", "update all"};
    QTest::newRow("background colour")
        << int(ID_BACK_COLOR) << std::optional<ColorRef>(kBlue)
        << QStringList{"Color/BkColor=16711680"} << QStringList{"back 16711680", "update all"};
    QTest::newRow("text colour cancelled still refreshes")
        << int(ID_TEXT_COLOR) << std::optional<ColorRef>() << QStringList{}
        << QStringList{"update all"};
    QTest::newRow("background cancelled still refreshes")
        << int(ID_BACK_COLOR) << std::optional<ColorRef>() << QStringList{}
        << QStringList{"update all"};
}

void FontColorCommandsTest::colour() {
    QFETCH(int, command);
    QFETCH(std::optional<ColorRef>, answer);
    QFETCH(QStringList, writes);
    QFETCH(QStringList, calls);
    CRecordingSettings settings;
    CFakeView view;
    CScriptedChoosers choosers;
    choosers.colorAnswer = answer;
    CScopedOutputServices scoped(choosers.Services());
    CFontColorCommands commands(settings, view);
    commands.DoCommand(command);
    QCOMPARE(choosers.colorsStartedFrom,
             QList<ColorRef>{command == ID_TEXT_COLOR ? view.text : view.back});
    QCOMPARE(settings.writes, writes);
    QCOMPARE(view.calls, calls);
}

void FontColorCommandsTest::views_colourReachesEveryViewFontStaysInOne() {
    CMemorySettings settings;
    auto doc = std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan1"));
    CVorlanScrollView first(doc);
    CVorlanScrollView second(doc);
    CVorlanScrollView other(std::make_shared<CResultDocument>(settings, QStringLiteral("Vorlan2")));
    QCOMPARE(second.BackColor(), ColorRef(0xFFFFFF));
    QCOMPARE(second.TextColor(), ColorRef(0));

    CScriptedChoosers choosers;
    choosers.colorAnswer = kBlue;
    CScopedOutputServices scoped(choosers.Services());
    first.DoCommand(ID_BACK_COLOR);
    // At once in the issuing view; the others at their next repaint.
    QCOMPARE(first.BackColor(), kBlue);
    second.grab();
    other.grab();
    QCOMPARE(second.BackColor(), kBlue);
    QCOMPARE(other.BackColor(), kBlue);
    QCOMPARE(second.viewport()->grab().toImage().pixelColor(2, 2), QColor(0, 0, 255));

    const QFont secondFont = second.DisplayFont();
    choosers.fontAnswer = CChosenFont{BoldFace("DejaVu Sans Mono", -21), kRed};
    first.DoCommand(ID_CHANGE_FONT);
    QCOMPARE(first.DisplayFont().pixelSize(), 21);
    QCOMPARE(first.DisplayFont().weight(), QFont::Bold);
    QCOMPARE(first.GetLogFont().lfHeight, -21);
    QCOMPARE(second.DisplayFont(), secondFont);
    second.grab();
    QCOMPARE(second.TextColor(), kRed);
    // New windows take the font chosen, and their Font command opens on it.
    QCOMPARE(settings.Find("Font", "DisplayFontFace").value_or(""),
             std::string("DejaVu Sans Mono"));
    CVorlanScrollView later(doc);
    later.show();
    QCOMPARE(later.GetLogFont().lfHeight, -21);
    QCOMPARE(later.DisplayFont().weight(), QFont::Bold);
    CScriptedChoosers laterChoosers;
    CScopedOutputServices laterScoped(laterChoosers.Services());
    later.DoCommand(ID_CHANGE_FONT);
    QVERIFY(laterChoosers.fontStartedFrom);
    QVERIFY(SameFont(*laterChoosers.fontStartedFrom, BoldFace("DejaVu Sans Mono", -21)));
}

void FontColorCommandsTest::qtChoosers_answerInTheRecordsTerms() {
    const COutputServices choosers = DefaultOutputServices();
    bool seen = false;
    // Red, green and blue land in the colour value's low, middle and high byte.
    AnswerModal<QColorDialog>(
        [](QColorDialog* dialog) {
            QVERIFY(dialog->testOption(QColorDialog::DontUseNativeDialog));
            QCOMPARE(dialog->currentColor(), QColor(0x56, 0x34, 0x12));
            dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
            dialog->accept();
        },
        seen);
    QCOMPARE(choosers.chooseColor(nullptr, 0x123456), std::optional<ColorRef>(0x563412));
    QVERIFY(seen);
    AnswerModal<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); }, seen);
    QCOMPARE(choosers.chooseColor(nullptr, 0), std::optional<ColorRef>());
    QVERIFY(seen);

    AnswerModal<CFontChooserDlg>(
        [](CFontChooserDlg* dialog) {
            SelectColor(*dialog, kRed);
            dialog->accept();
        },
        seen);
    std::optional<CChosenFont> chosen =
        choosers.chooseFont(nullptr, BoldFace("DejaVu Sans Mono", -16), 0);
    QVERIFY(seen);
    QVERIFY(chosen);
    QCOMPARE(chosen->color, kRed);
    QCOMPARE(FaceNameOf(chosen->font), std::string_view("DejaVu Sans Mono"));
    AnswerModal<CFontChooserDlg>([](CFontChooserDlg* dialog) { dialog->reject(); }, seen);
    QVERIFY(!choosers.chooseFont(nullptr, LogFont(), 0));
}

void FontColorCommandsTest::optionCommands_openTheirDialogs() {
    CRecordingSettings settings;
    COptionDialogCommands commands(settings);
    bool seen = false;
    AnswerModal<COutOptDlg>([](COutOptDlg* dialog) { dialog->accept(); }, seen);
    commands.DoCommand(ID_OUTPUT_OPTION, nullptr);
    QVERIFY(seen);
    QCOMPARE(settings.writes.size(), 9);
    AnswerModal<CPrintOptDlg>([](CPrintOptDlg* dialog) { dialog->reject(); }, seen);
    commands.DoCommand(ID_PRINT_OPTION, nullptr);
    QVERIFY(seen);
    QCOMPARE(settings.writes.size(), 9);
}

void FontColorCommandsTest::convert_backToRecord() {
    LogFont base;
    ColorRef color = 0;
    QVERIFY(ParseFontRecord("-17 3 900 900 700 1 1 0 128 3 2 5 49 0 0 0", base, color));
    SetFaceName(base, "DejaVu Sans Mono");
    const LogFont back = LogFontFromFont(FontFromLogFont(base), base, 96);
    // Qt keeps no width, angles, character set, precisions or quality: they
    // come through from the record unchanged.
    QCOMPARE(QString::fromStdString(FormatFontRecord(back, 0)),
             QStringLiteral("-17 3 900 900 700 1 1 0 128 3 2 5 49 0 0 0"));
    QCOMPARE(FaceNameOf(back), std::string_view("DejaVu Sans Mono"));

    // A positive height is a cell height; it comes back as the smaller
    // character height, stored negative.
    LogFont cell = base;
    cell.lfHeight = 30;
    const LogFont fromCell = LogFontFromFont(FontFromLogFont(cell), cell, 96);
    QVERIFY(fromCell.lfHeight < 0 && fromCell.lfHeight > -30);

    // A proportional face gives variable pitch, with its family.
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setPixelSize(12);
    sans.setStyleHint(QFont::SansSerif);
    QCOMPARE(int(LogFontFromFont(sans, LogFont(), 96).lfPitchAndFamily), 0x22);
}

void FontColorCommandsTest::convert_pointSizesBecomePixels() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(10);
    QCOMPARE(LogFontFromFont(font, LogFont(), 96).lfHeight, -13);
    QCOMPARE(LogFontFromFont(font, LogFont(), 144).lfHeight, -20);
    // A face name longer than the record holds is cut to 31 bytes.
    font.setFamily(QString(40, QLatin1Char('F')));
    QCOMPARE(FaceNameOf(LogFontFromFont(font, LogFont(), 96)).size(), std::size_t(31));
}

void FontColorCommandsTest::chooser_startsFromRecordWithBlack() {
    LogFont start = BoldFace("DejaVu Sans Mono", -16);
    start.lfCharSet = 0;
    CFontChooserDlg dialog(start);
    dialog.show();
    SaveScreenshot(&dialog, "font_chooser");
    QCOMPARE(FontDialog(dialog)->currentFont().family(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(FontDialog(dialog)->currentFont().weight(), QFont::Bold);
    QCOMPARE(dialog.ChosenColor(), ColorRef(0));
    QCOMPARE(ColorBox(dialog)->currentText(), QStringLiteral("Black"));
    QCOMPARE(ColorBox(dialog)->count(), 16);
    QVERIFY(FontDialog(dialog)->testOption(QFontDialog::DontUseNativeDialog));

    SelectColor(dialog, kRed);
    QCOMPARE(ColorBox(dialog)->currentText(), QStringLiteral("Red"));
    QCOMPARE(dialog.ChosenColor(), kRed);
    const LogFont chosen = dialog.ChosenFont();
    QCOMPARE(FaceNameOf(chosen), std::string_view("DejaVu Sans Mono"));
    QCOMPARE(chosen.lfWeight, 700);
    QCOMPARE(int(chosen.lfCharSet), 0);
    // 16 pixels show as 12 points at 96 dpi and come back unchanged.
    QCOMPARE(chosen.lfHeight, static_cast<std::int32_t>(-std::lround(12 * ScreenDpi() / 72)));
}

// The face a missing or generic family shows as, and the text colour, even
// one the chooser does not list.
void FontColorCommandsTest::chooser_opensOnTheFontShownInItsColour() {
    LogFont shown; // "FixedSys", which the system does not have: "monospace"
    shown.lfCharSet = 0;
    for (ColorRef color : {kRed, ColorRef(0x123456)}) {
        CFontChooserDlg dialog(shown, color);
        QCOMPARE(FontDialog(dialog)->currentFont().family(),
                 QFontInfo(FontFromLogFont(shown)).family());
        QCOMPARE(dialog.ChosenColor(), color);
        QCOMPARE(ColorBox(dialog)->currentText(),
                 color == kRed ? QStringLiteral("Red") : QStringLiteral("Custom"));
    }
}

// DejaVu Sans Mono lists an oblique style first: picking the face must not
// slant the report, and a bold font stays bold.
void FontColorCommandsTest::chooser_anotherFaceKeepsTheStyle() {
    for (std::int32_t weight : {400, 700}) {
        LogFont start;
        start.lfWeight = weight;
        SetFaceName(start, "Noto Sans Mono");
        CFontChooserDlg dialog(start);
        QCOMPARE(int(dialog.ChosenFont().lfItalic), 0);
        SelectFamily(FontDialog(dialog), QStringLiteral("DejaVu Sans Mono"));
        const LogFont chosen = dialog.ChosenFont();
        QCOMPARE(FaceNameOf(chosen), std::string_view("DejaVu Sans Mono"));
        QCOMPARE(int(chosen.lfItalic), 0);
        QCOMPARE(chosen.lfWeight, weight);
    }
}

QTEST_MAIN(FontColorCommandsTest)
#include "font_color_commands_test.moc"
