#include "ui/font_chooser_dlg.h"

#include "ui/font_convert.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

const CNamedColor kChooserColors[16] = {
    {"Black", MakeColorRef(0, 0, 0)},        {"Maroon", MakeColorRef(128, 0, 0)},
    {"Green", MakeColorRef(0, 128, 0)},      {"Olive", MakeColorRef(128, 128, 0)},
    {"Navy", MakeColorRef(0, 0, 128)},       {"Purple", MakeColorRef(128, 0, 128)},
    {"Teal", MakeColorRef(0, 128, 128)},     {"Gray", MakeColorRef(128, 128, 128)},
    {"Silver", MakeColorRef(192, 192, 192)}, {"Red", MakeColorRef(255, 0, 0)},
    {"Lime", MakeColorRef(0, 255, 0)},       {"Yellow", MakeColorRef(255, 255, 0)},
    {"Blue", MakeColorRef(0, 0, 255)},       {"Fuchsia", MakeColorRef(255, 0, 255)},
    {"Aqua", MakeColorRef(0, 255, 255)},     {"White", MakeColorRef(255, 255, 255)},
};

namespace {

QPixmap Swatch(ColorRef color) {
    QPixmap swatch(16, 12);
    swatch.fill(QColor(RedOf(color), GreenOf(color), BlueOf(color)));
    return swatch;
}

// The dialog lists sizes in points; the record counts pixels on screen.
QFont InDialogUnits(const LogFont& logFont) {
    QFont font = FontFromLogFont(logFont);
    if (font.pixelSize() > 0)
        font.setPointSize(
            std::max(1, static_cast<int>(std::lround(font.pixelSize() * 72.0 / ScreenDpi()))));
    return font;
}

} // namespace

CFontChooserDlg::CFontChooserDlg(const LogFont& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial) {
    setWindowTitle(QStringLiteral("Font"));

    // The font dialog lives inside this one, without buttons of its own.
    m_pFontDialog = new QFontDialog(this);
    m_pFontDialog->setObjectName(QStringLiteral("font"));
    m_pFontDialog->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    m_pFontDialog->setWindowFlags(Qt::Widget);
    m_pFontDialog->setSizeGripEnabled(false);
    if (m_pFontDialog->layout())
        m_pFontDialog->layout()->setContentsMargins(0, 0, 0, 0);
    m_pFontDialog->setCurrentFont(InDialogUnits(initial));

    m_pColor = new QComboBox(this);
    m_pColor->setObjectName(QStringLiteral("color"));
    for (const CNamedColor& named : kChooserColors)
        m_pColor->addItem(Swatch(named.color), QString::fromLatin1(named.name),
                          static_cast<uint>(named.color));
    auto* colorLabel = new QLabel(QStringLiteral("&Color:"), this);
    colorLabel->setBuddy(m_pColor);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_pColor);
    colorRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pFontDialog, 1);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

LogFont CFontChooserDlg::ChosenFont() const {
    return LogFontFromFont(m_pFontDialog->currentFont(), m_initial, ScreenDpi());
}

ColorRef CFontChooserDlg::ChosenColor() const {
    return static_cast<ColorRef>(m_pColor->currentData().toUInt());
}
