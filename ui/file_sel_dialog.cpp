#include "ui/file_sel_dialog.h"

#include "platform/dir_listing.h"
#include "settings/setting_keys.h"
#include "ui/dialog_util.h"
#include "ui/file_sel_paths.h"
#include "ui/output_services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const char* const kFileTypes[] = {"*.*", "*.doc", "*.man", "*.txt"};
const QLatin1String kParentEntry("[..]");

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

QString FolderNotFound(const QString& dir) {
    return QStringLiteral("Folder not found: %1").arg(ShownFolder(dir));
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
    m_pSubdirs->setChecked(IsOn(m_settings, setting_keys::kSubdir));
    ShowValues();
}

bool CFileSelDialog::IncludeSubfolders() const {
    return m_pSubdirs->isChecked();
}

void CFileSelDialog::BuildControls() {
    m_pFileEdit = new QLineEdit(this);
    m_pDirEdit = new QLineEdit(this);
    m_pFileList = SortedList(this);
    m_pDirList = SortedList(this);
    m_pDriveList = SortedList(this);
    m_pTypeList = SortedList(this);
    m_pSubdirs = new QCheckBox(QStringLiteral("Include &subfolders"), this);
    m_pNote = new QLabel(this);
    // Names by which a script or a test reaches the controls.
    m_pFileEdit->setObjectName(QStringLiteral("fileName"));
    m_pDirEdit->setObjectName(QStringLiteral("directory"));
    m_pFileList->setObjectName(QStringLiteral("fileList"));
    m_pDirList->setObjectName(QStringLiteral("dirList"));
    m_pDriveList->setObjectName(QStringLiteral("driveList"));
    m_pTypeList->setObjectName(QStringLiteral("typeList"));
    m_pSubdirs->setObjectName(QStringLiteral("includeSubfolders"));

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFileSelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    LayOutControls(buttons);
    ConnectControls();
}

void CFileSelDialog::LayOutControls(QWidget* buttons) {
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        return l;
    };
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
    grid->addWidget(m_pSubdirs, 6, 0, 1, 2);
    grid->addWidget(buttons, 1, 2, 5, 1, Qt::AlignTop);
    grid->addWidget(m_pNote, 7, 0, 1, 3);
    grid->setRowStretch(3, 3);
    grid->setRowStretch(5, 1);
}

// The lists act on activation: a double-click, or Enter on the highlighted
// entry. A pattern of the type list is taken as soon as it is selected.
void CFileSelDialog::ConnectControls() {
    connect(m_pDirList, &QListWidget::itemActivated, this, &CFileSelDialog::OnDirActivated);
    connect(m_pDriveList, &QListWidget::itemActivated, this, &CFileSelDialog::OnDriveActivated);
    connect(m_pFileList, &QListWidget::itemActivated, this, &CFileSelDialog::OnFileActivated);
    connect(m_pTypeList, &QListWidget::itemActivated, this, &CFileSelDialog::OnTypeChosen);
    connect(m_pTypeList, &QListWidget::itemSelectionChanged, this, &CFileSelDialog::OnTypeChosen);
    connect(m_pFileEdit, &QLineEdit::textChanged, this, &CFileSelDialog::OnFileEditChanged);
    connect(m_pDirEdit, &QLineEdit::returnPressed, this, &CFileSelDialog::GoToTypedFolder);
}

void CFileSelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    // The pattern shown is a suggestion: what the user types replaces it.
    m_pFileEdit->selectAll();
}

// The lists and the directory box have acted on Enter by the time it
// arrives here; only the file name box and the file list pass it on to OK.
void CFileSelDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QWidget* focus = focusWidget();
    if (enter && (focus == m_pDirEdit || focus == m_pDirList || focus == m_pDriveList ||
                  focus == m_pTypeList)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CFileSelDialog::FillDriveList() {
    m_pDriveList->clear();
    for (const CDriveRoot& root : m_roots)
        m_pDriveList->addItem(QStringLiteral("[-%1-]").arg(root.letter));
}

// highlight names the entry the keyboard starts on (the folder just left);
// otherwise it starts on the first.
void CFileSelDialog::FillDirList(const QString& highlight) {
    m_pDirList->clear();
    // The root has no parent to go to.
    if (ParentDir(m_strDir) != m_strDir && QDir(m_strDir).exists())
        m_pDirList->addItem(kParentEntry);
    std::vector<std::string> names;
    ListSubdirectories(Bytes(m_strDir), "*.*", names);
    for (const QString& dir : Names(names))
        m_pDirList->addItem(QLatin1Char('[') + dir + QLatin1Char(']'));
    const QList<QListWidgetItem*> found = m_pDirList->findItems(highlight, Qt::MatchExactly);
    if (!found.isEmpty())
        m_pDirList->setCurrentItem(found.constFirst());
    else if (m_pDirList->count() > 0)
        m_pDirList->setCurrentRow(0);
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
    SyncTypeSelection();
}

// After m_strDir changed: both lists again, and the values.
void CFileSelDialog::ShowFolder(const QString& highlight) {
    FillDirList(highlight);
    FillFileList();
    ShowValues();
}

// The type list shows the pattern in use selected, or none, so that picking
// a pattern again after typing another one is a new selection.
void CFileSelDialog::SyncTypeSelection() {
    const QSignalBlocker blocker(m_pTypeList);
    const QList<QListWidgetItem*> found = m_pTypeList->findItems(m_strFile, Qt::MatchExactly);
    if (found.isEmpty())
        m_pTypeList->clearSelection();
    else
        m_pTypeList->setCurrentItem(found.constFirst());
}

// Names keep their letter case: on this file system case tells names apart.
void CFileSelDialog::OnDirActivated(QListWidgetItem* item) {
    const QString entry = item->text();
    QString left;
    if (entry == kParentEntry) {
        left = QLatin1Char('[') + QDir(m_strDir).dirName() + QLatin1Char(']');
        m_strDir = ParentDir(m_strDir);
    } else {
        m_strDir += entry.mid(1, entry.size() - 2) + QLatin1Char('/');
    }
    ShowFolder(left);
}

// Picking the drive the directory is on keeps the directory; another drive
// goes to its root. The directory is on the root that holds it most closely.
// The file-system root holds every directory, so picking it always goes
// there: otherwise it could not be reached from most folders.
void CFileSelDialog::OnDriveActivated(QListWidgetItem* item) {
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
    if (picked && (picked != current || picked->path == QLatin1String("/")))
        m_strDir = picked->path;
    ShowFolder();
}

void CFileSelDialog::OnFileActivated(QListWidgetItem* item) {
    m_strFile = item->text();
    FillFileList();
    ShowValues();
}

void CFileSelDialog::OnTypeChosen() {
    const QList<QListWidgetItem*> selected = m_pTypeList->selectedItems();
    QListWidgetItem* item = selected.isEmpty() ? m_pTypeList->currentItem() : selected.first();
    if (!item || item->text() == m_strFile)
        return;
    m_strFile = item->text();
    FillFileList();
    ShowValues();
}

void CFileSelDialog::OnFileEditChanged() {
    if (m_bShowingValues)
        return;
    m_strFile = m_pFileEdit->text();
    FillFileList();
    SyncTypeSelection();
}

// The directory box: a folder that exists becomes the directory; any other
// path is named in a message and the dialog stays where it was, with the
// typed text left for mending. An empty box shows the directory again.
bool CFileSelDialog::GoToTypedFolder() {
    const QString typed = m_pDirEdit->text();
    if (typed.isEmpty()) {
        ShowValues();
        return true;
    }
    const QString folder = TypedFolder(typed, m_strDir);
    if (!QFileInfo(folder).isDir()) {
        OutputServices().message(this, FolderNotFound(folder));
        return false;
    }
    m_strDir = folder;
    ShowFolder();
    return true;
}

// Why OK has nothing to count, or empty when there is something. A file
// named exactly is counted even when the list leaves it out (a hidden one);
// with subfolders the count reads every file below them, whatever the pattern.
QString CFileSelDialog::NothingToCount() const {
    const QFileInfo named(m_strDir + m_strFile);
    if (m_pFileList->count() > 0 || (named.exists() && !named.isDir()))
        return {};
    if (m_strFile.isEmpty())
        return QStringLiteral("Type a file name or pattern.");
    if (!QFileInfo(m_strDir).isDir())
        return FolderNotFound(m_strDir);
    std::vector<std::string> names;
    if (std::error_code error = ListPlainFiles(Bytes(m_strDir), Bytes(m_strFile), names))
        return QStringLiteral("Cannot read %1: %2")
            .arg(ShownFolder(m_strDir), QString::fromStdString(error.message()));
    if (!m_pSubdirs->isChecked())
        return QStringLiteral("No file matches %1 in %2").arg(m_strFile, ShownFolder(m_strDir));
    if (AnyFileBelowSubfolders(m_strDir))
        return {};
    return QStringLiteral("No file matches %1 in %2, and its subfolders hold no files")
        .arg(m_strFile, ShownFolder(m_strDir));
}

// Only a confirmed choice is remembered, and the subfolder choice only when
// it changed, as the Output Option dialog would have stored it.
void CFileSelDialog::accept() {
    m_strFile = m_pFileEdit->text();
    if (m_pDirEdit->text() != m_strDir && !GoToTypedFolder())
        return;
    if (const QString reason = NothingToCount(); !reason.isEmpty()) {
        OutputServices().message(this, reason);
        return;
    }
    WriteString(m_settings, setting_keys::kDir, QFile::encodeName(m_strDir).constData());
    if (m_pSubdirs->isChecked() != IsOn(m_settings, setting_keys::kSubdir))
        WriteFlag(m_settings, setting_keys::kSubdir, m_pSubdirs->isChecked() ? 1 : 0);
    QDialog::accept();
}
