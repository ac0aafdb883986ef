#include "ui/font_chooser_dlg.h"

#include "ui/font_convert.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
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

// The font the record shows as, as the dialog lists it: by the face the
// system matched (a family such as "monospace" names none of the list), its
// size in points where the record counts pixels on screen.
QFont InDialogUnits(const LogFont& logFont) {
    QFont font = FontFromLogFont(logFont);
    font.setFamily(QFontInfo(font).family());
    if (font.pixelSize() > 0)
        font.setPointSize(
            std::max(1, static_cast<int>(std::lround(font.pixelSize() * 72.0 / ScreenDpi()))));
    return font;
}

// The style of family nearest to weight and slant: the same slant first,
// then the nearest weight; empty when the family lists no styles.
QString NearestStyle(const QString& family, int weight, bool slanted) {
    QString best;
    int bestScore = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont font = QFontDatabase::font(family, style, 12);
        const int score = std::abs(font.weight() - weight) +
                          ((font.style() != QFont::StyleNormal) != slanted ? 10000 : 0);
        if (best.isEmpty() || score < bestScore) {
            best = style;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

CFontChooserDlg::CFontChooserDlg(const LogFont& initial, ColorRef initialColor, QWidget* parent)
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
    connect(m_pFontDialog, &QFontDialog::currentFontChanged, this, &CFontChooserDlg::OnFontChanged);
    SetFontKeepingStyle(InDialogUnits(initial));

    BuildColorBox(initialColor);
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

void CFontChooserDlg::BuildColorBox(ColorRef initialColor) {
    m_pColor = new QComboBox(this);
    m_pColor->setObjectName(QStringLiteral("color"));
    for (const CNamedColor& named : kChooserColors)
        m_pColor->addItem(Swatch(named.color), QString::fromLatin1(named.name),
                          static_cast<uint>(named.color));
    int index = m_pColor->findData(static_cast<uint>(initialColor));
    if (index < 0) {
        m_pColor->addItem(Swatch(initialColor), QStringLiteral("Custom"),
                          static_cast<uint>(initialColor));
        index = m_pColor->count() - 1;
    }
    m_pColor->setCurrentIndex(index);
}

// The font dialog keeps a style only when the new face has one of the same
// name; otherwise it takes the face's first. Naming the nearest style keeps
// the weight and slant.
void CFontChooserDlg::SetFontKeepingStyle(const QFont& font) {
    m_strFamily = font.family();
    m_nWeight = font.weight();
    m_bSlanted = font.style() != QFont::StyleNormal;
    QFont styled = font;
    const QString style = NearestStyle(font.family(), m_nWeight, m_bSlanted);
    if (!style.isEmpty())
        styled.setStyleName(style);
    m_bSettingFont = true;
    m_pFontDialog->setCurrentFont(styled);
    m_bSettingFont = false;
}

void CFontChooserDlg::OnFontChanged(const QFont& font) {
    if (m_bSettingFont)
        return;
    if (font.family() == m_strFamily) {
        m_nWeight = font.weight();
        m_bSlanted = font.style() != QFont::StyleNormal;
        return;
    }
    QFont kept = font;
    kept.setWeight(QFont::Weight(m_nWeight));
    kept.setStyle(m_bSlanted ? QFont::StyleItalic : QFont::StyleNormal);
    kept.setStyleName(QString());
    SetFontKeepingStyle(kept);
}

LogFont CFontChooserDlg::ChosenFont() const {
    return LogFontFromFont(m_pFontDialog->currentFont(), m_initial, ScreenDpi());
}

ColorRef CFontChooserDlg::ChosenColor() const {
    return static_cast<ColorRef>(m_pColor->currentData().toUInt());
}
