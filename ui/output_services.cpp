#include "ui/output_services.h"

#include "ui/app_strings.h"
#include "ui/font_chooser_dlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

namespace {

void ShowMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

QMessageBox::StandardButton AskQuestion(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// "*" rather than "*.*": on this system a name needs no dot.
QString AskSaveFileName(QWidget* parent, const QString& suggested) {
    const QFileInfo info(suggested);
    QFileDialog dialog(parent, QStringLiteral("Save As"),
                       info.isAbsolute() ? info.absolutePath() : QString(),
                       QStringLiteral("All Files (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString AskOpenFileName(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Open"), QString(), QStringLiteral("All Files (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool AskPrinter(QWidget* parent, QPrinter& printer, int maxPage) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, maxPage);
    printer.setFromTo(1, maxPage);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<CChosenFont> RunFontChooser(QWidget* parent, const LogFont& initial,
                                          ColorRef initialColor) {
    CFontChooserDlg dialog(initial, initialColor, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return CChosenFont{dialog.ChosenFont(), dialog.ChosenColor()};
}

std::optional<ColorRef> RunColorChooser(QWidget* parent, ColorRef initial) {
    QColor color =
        QColorDialog::getColor(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), parent,
                               QStringLiteral("Color"), QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    return MakeColorRef(color.red(), color.green(), color.blue());
}

COutputServices& Current() {
    static COutputServices services = DefaultOutputServices();
    return services;
}

} // namespace

COutputServices DefaultOutputServices() {
    COutputServices services;
    services.message = &ShowMessageBox;
    services.question = &AskQuestion;
    services.saveFileName = &AskSaveFileName;
    services.openFileName = &AskOpenFileName;
    services.printDialog = &AskPrinter;
    services.printSetup = []() -> CPrintSetup* { return nullptr; };
    services.chooseFont = &RunFontChooser;
    services.chooseColor = &RunColorChooser;
    services.execDialog = [](QDialog& dialog) { return dialog.exec(); };
    services.beep = [] { QApplication::beep(); };
    services.fileSaved = [](const QString&) {};
    return services;
}

COutputServices& OutputServices() {
    return Current();
}

CScopedOutputServices::CScopedOutputServices(COutputServices services)
    : m_old(std::exchange(Current(), std::move(services))) {}

CScopedOutputServices::~CScopedOutputServices() {
    Current() = std::move(m_old);
}
