#include "ui/about_dlg.h"

#include "ui/dialog_util.h"

#include "tesmo.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <cstdlib>

namespace {

int LinkedExType() {
    return CwExType();
}
char* LinkedLanguage(char* buffer) {
    return GetLanguage(buffer);
}
int LinkedVersion() {
    return GetExDllVersion();
}

// Generous for a language name; the library writes the empty string.
constexpr std::size_t kLanguageBuffer = 256;

} // namespace

CLibraryIdentity CLibraryIdentity::Linked() {
    return {&LinkedExType, &LinkedLanguage, &LinkedVersion};
}

QString FormatDllVersion(int version) {
    // At least three digits, then a point before the last two.
    long long magnitude = std::llabs(static_cast<long long>(version));
    QString digits = QString::number(magnitude).rightJustified(3, QLatin1Char('0'));
    digits.insert(digits.size() - 2, QLatin1Char('.'));
    if (version < 0)
        digits.prepend(QLatin1Char('-'));
    return QStringLiteral("Version of DLL: %1").arg(digits);
}

QString FormatLanguage(const CLibraryIdentity& library) {
    switch (library.cwExType()) {
    case 0:
        return QStringLiteral("Language: English");
    case 1:
        return QStringLiteral("Language: Japanese");
    default: {
        std::array<char, kLanguageBuffer> buffer{};
        library.getLanguage(buffer.data());
        buffer.back() = '\0';
        return QStringLiteral("Language: %1").arg(QString::fromLocal8Bit(buffer.data()));
    }
    }
}

CAboutDlg::CAboutDlg(QWidget* parent, const CLibraryIdentity& library)
    : QDialog(parent), m_library(library) {
    setWindowTitle(QStringLiteral("VORLAN for Linux"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/vorlan/vorlan.png")).pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Vorlan ver.1.06a"), this);
    name->setAlignment(Qt::AlignCenter);
    auto* head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(name, 1);
    head->addSpacing(32);

    auto* description = new QLabel(
        QStringLiteral("This program counts the frequency of each word in text file(s)."), this);
    description->setWordWrap(true);

    auto* group = new QGroupBox(QStringLiteral("About libtesmo"), this);
    m_pVersion = new QLabel(group);
    m_pLanguage = new QLabel(group);
    m_pVersion->setObjectName(QStringLiteral("version"));
    m_pLanguage->setObjectName(QStringLiteral("language"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_pVersion);
    groupLayout->addWidget(m_pLanguage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->setCenterButtons(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(description);
    layout->addWidget(group);
    layout->addWidget(buttons);
    // As wide as the box's 217 dialog units; as tall as its contents.
    description->setMinimumWidth(DialogUnits(this, 217, 0).width() -
                                 layout->contentsMargins().left() -
                                 layout->contentsMargins().right());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The library is asked afresh at every opening.
void CAboutDlg::showEvent(QShowEvent* event) {
    m_pLanguage->setText(FormatLanguage(m_library));
    m_pVersion->setText(FormatDllVersion(m_library.getExDllVersion()));
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
