#include "ui/file_sel_dialog.h"

#include "platform/dir_listing.h"
#include "settings/setting_keys.h"
#include "ui/dialog_util.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const char* const kFileTypes[] = {"*.*", "*.doc", "*.man", "*.txt"};
const QLatin1String kParentEntry("[..]");

QString WithSeparator(QString dir) {
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// dir without its last level; the root stays the root.
QString ParentDir(const QString& dir) {
    qsizetype last = dir.lastIndexOf(QLatin1Char('/'));
    if (last <= 0)
        return dir;
    qsizetype before = dir.lastIndexOf(QLatin1Char('/'), last - 1);
    return before < 0 ? dir : dir.left(before + 1);
}

std::string Bytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

// The names of a listing; a directory that cannot be read lists nothing.
QStringList Names(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names)
        list.append(QFile::decodeName(name.c_str()));
    return list;
}

// The lists keep the listings' order (letters without regard to case); the
// types are given in that order too.
QListWidget* SortedList(QWidget* parent) {
    return new QListWidget(parent);
}

} // namespace

QList<CDriveRoot> DefaultDriveRoots() {
    return {{QLatin1Char('/'), QStringLiteral("/")},
            {QLatin1Char('~'), WithSeparator(QDir::homePath())}};
}

CFileSelDialog::CFileSelDialog(CSettingsStore& settings, QWidget* parent, QList<CDriveRoot> roots)
    : QDialog(parent), m_settings(settings), m_roots(std::move(roots)) {
    setWindowTitle(QStringLiteral("Select Files"));
    BuildControls();

    m_strDir = QFile::decodeName(GetString(m_settings, setting_keys::kDir).c_str());
    if (m_strDir.isEmpty())
        m_strDir = QDir::currentPath();
    m_strDir = WithSeparator(m_strDir);
    FillDriveList();
    FillDirList();
    m_strFile = QStringLiteral("*.*");
    FillFileList();
    for (const char* type : kFileTypes)
        m_pTypeList->addItem(QString::fromLatin1(type));
    ShowValues();
}

void CFileSelDialog::BuildControls() {
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        return l;
    };
    m_pFileEdit = new QLineEdit(this);
    m_pDirEdit = new QLineEdit(this);
    m_pDirEdit->setReadOnly(true);
    m_pFileList = SortedList(this);
    m_pDirList = SortedList(this);
    m_pDriveList = SortedList(this);
    m_pTypeList = SortedList(this);
    m_pNote = new QLabel(this);
    // Names by which a script or a test reaches the controls.
    m_pFileEdit->setObjectName(QStringLiteral("fileName"));
    m_pDirEdit->setObjectName(QStringLiteral("directory"));
    m_pFileList->setObjectName(QStringLiteral("fileList"));
    m_pDirList->setObjectName(QStringLiteral("dirList"));
    m_pDriveList->setObjectName(QStringLiteral("driveList"));
    m_pTypeList->setObjectName(QStringLiteral("typeList"));

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFileSelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label("Filename", m_pFileEdit), 0, 0);
    grid->addWidget(m_pFileEdit, 1, 0);
    grid->addWidget(label("Selected directory", m_pDirEdit), 0, 1);
    grid->addWidget(m_pDirEdit, 1, 1);
    grid->addWidget(label("List of Filenames", m_pFileList), 2, 0);
    grid->addWidget(m_pFileList, 3, 0);
    grid->addWidget(label("List of directory", m_pDirList), 2, 1);
    grid->addWidget(m_pDirList, 3, 1);
    grid->addWidget(label("File type", m_pTypeList), 4, 0);
    grid->addWidget(m_pTypeList, 5, 0);
    grid->addWidget(label("List of drives", m_pDriveList), 4, 1);
    grid->addWidget(m_pDriveList, 5, 1);
    grid->addWidget(buttons, 1, 2, 5, 1, Qt::AlignTop);
    grid->addWidget(m_pNote, 6, 0, 1, 3);
    grid->setRowStretch(3, 3);
    grid->setRowStretch(5, 1);

    connect(m_pDirList, &QListWidget::itemDoubleClicked, this, &CFileSelDialog::OnDirDoubleClicked);
    connect(m_pDriveList, &QListWidget::itemDoubleClicked, this,
            &CFileSelDialog::OnDriveDoubleClicked);
    connect(m_pFileList, &QListWidget::itemDoubleClicked, this,
            &CFileSelDialog::OnFileDoubleClicked);
    connect(m_pTypeList, &QListWidget::itemDoubleClicked, this,
            &CFileSelDialog::OnTypeDoubleClicked);
    connect(m_pFileEdit, &QLineEdit::textChanged, this, &CFileSelDialog::OnFileEditChanged);
}

void CFileSelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void CFileSelDialog::FillDriveList() {
    m_pDriveList->clear();
    for (const CDriveRoot& root : m_roots)
        m_pDriveList->addItem(QStringLiteral("[-%1-]").arg(root.letter));
}

void CFileSelDialog::FillDirList() {
    m_pDirList->clear();
    // The root has no parent to go to.
    if (ParentDir(m_strDir) != m_strDir && QDir(m_strDir).exists())
        m_pDirList->addItem(kParentEntry);
    std::vector<std::string> names;
    ListSubdirectories(Bytes(m_strDir), "*.*", names);
    for (const QString& dir : Names(names))
        m_pDirList->addItem(QLatin1Char('[') + dir + QLatin1Char(']'));
}

void CFileSelDialog::FillFileList() {
    m_pFileList->clear();
    std::vector<std::string> names;
    // An empty pattern would list the directory; there is nothing to count.
    if (!m_strFile.isEmpty())
        ListPlainFiles(Bytes(m_strDir), Bytes(m_strFile), names);
    m_pFileList->addItems(Names(names));
}

void CFileSelDialog::ShowValues() {
    m_bShowingValues = true;
    m_pDirEdit->setText(m_strDir);
    m_pFileEdit->setText(m_strFile);
    m_bShowingValues = false;
}

void CFileSelDialog::ReadEdits() {
    m_strDir = m_pDirEdit->text();
    m_strFile = m_pFileEdit->text();
}

// Names keep their letter case: on this file system case tells names apart.
void CFileSelDialog::OnDirDoubleClicked(QListWidgetItem* item) {
    const QString entry = item->text();
    if (entry == kParentEntry)
        m_strDir = ParentDir(m_strDir);
    else
        m_strDir += entry.mid(1, entry.size() - 2) + QLatin1Char('/');
    FillDirList();
    FillFileList();
    ShowValues();
}

// Picking the drive the directory is on keeps the directory; another drive
// goes to its root. The directory is on the root that holds it most closely.
void CFileSelDialog::OnDriveDoubleClicked(QListWidgetItem* item) {
    const QString entry = item->text();
    const QChar letter = entry.size() > 2 ? entry[2] : QChar();
    const CDriveRoot* current = nullptr;
    const CDriveRoot* picked = nullptr;
    for (const CDriveRoot& root : m_roots) {
        if (m_strDir.startsWith(root.path) && (!current || root.path.size() > current->path.size()))
            current = &root;
        if (root.letter == letter)
            picked = &root;
    }
    if (picked && picked != current)
        m_strDir = picked->path;
    FillDirList();
    FillFileList();
    ShowValues();
}

void CFileSelDialog::OnFileDoubleClicked(QListWidgetItem* item) {
    m_strFile = item->text();
    FillFileList();
    ShowValues();
}

void CFileSelDialog::OnTypeDoubleClicked(QListWidgetItem* item) {
    m_strFile = item->text();
    FillFileList();
    ShowValues();
}

void CFileSelDialog::OnFileEditChanged() {
    if (m_bShowingValues)
        return;
    ReadEdits();
    FillFileList();
}

// OK with nothing to count keeps the dialog open; only a confirmed choice
// is remembered.
void CFileSelDialog::accept() {
    ReadEdits();
    if (m_pFileList->count() == 0)
        return;
    WriteString(m_settings, setting_keys::kDir, QFile::encodeName(m_strDir).constData());
    QDialog::accept();
}
