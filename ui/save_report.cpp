#include "ui/save_report.h"

#include "engine/vorlan_doc.h"
#include "platform/document.h"
#include "platform/quote_name.h"
#include "settings/setting_keys.h"
#include "ui/gui_count_notifier.h"
#include "ui/output_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <new>

namespace {

const QLatin1String kTextSuffix(".txt");

QString PathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// The file a save lands on, for the recent-file list: for a symbolic link
// the file it names.
QString SavedFile(const QString& path) {
    QFileInfo info(path);
    return info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// A name shown in a message box, its control characters escaped.
QString ShownName(const QString& name) {
    return QFile::decodeName(
        QByteArray::fromStdString(QuoteControlBytes(QFile::encodeName(name).toStdString())));
}

// A missing file or folder is a bad name only when the folder the name puts
// it in is missing too; in an existing folder it is the system refusing the
// file (a file system such as /proc that makes none).
int RefinedError(int err, const QString& absolute) {
    if ((err == ENOENT || err == ENOTDIR) && QFileInfo(absolute).dir().exists())
        return EACCES;
    return err;
}

// Writes doc to absolute; the errno value of the failure, or 0.
int WriteDocument(CDocument& doc, const QString& absolute) {
    try {
        return doc.OnSaveDocument(QFile::encodeName(absolute).toStdString()).value();
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

// The folder stored under key, when it still is one.
QString StoredFolder(const CSettingsStore& settings, const StringKey& key) {
    const QString folder = QFile::decodeName(QByteArray::fromStdString(GetString(settings, key)));
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

// Writes doc to path as SaveDocumentTo does and remembers the folder of a
// save that succeeded.
bool SaveAndRemember(CVorlanDoc& doc, const QString& path, QWidget* parent) {
    if (!SaveDocumentTo(doc, path, parent))
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    WriteString(doc.Settings(), setting_keys::kSaveDir, QFile::encodeName(folder).constData());
    return true;
}

} // namespace

QString SuggestedFileName(const QString& title) {
    QString name = title;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (!name.endsWith(kTextSuffix, Qt::CaseInsensitive))
        name += kTextSuffix;
    return name;
}

QString SuggestedSavePath(const QString& title, const CSettingsStore& settings) {
    QString folder = StoredFolder(settings, setting_keys::kSaveDir);
    if (folder.isEmpty())
        folder = StoredFolder(settings, setting_keys::kDir);
    const QString name = SuggestedFileName(title);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

QString SaveErrorMessage(int err, const QString& path) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return QStringLiteral("Invalid filename.");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Unable to write to %1, it is read-only or opened by someone else.")
            .arg(ShownName(path));
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Destination disk drive is full.");
    case EIO:
        return QStringLiteral("An unexpected error occurred while writing %1.")
            .arg(ShownName(path));
    default:
        return QStringLiteral("Failed to save document.");
    }
}

bool SaveDocumentTo(CDocument& doc, const QString& path, QWidget* parent) {
    // Links, devices, read-only files, directories and files of other owners
    // are dealt with by the one write that every file of the program goes
    // through.
    const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    const int err = path.isEmpty() ? ENOENT : RefinedError(WriteDocument(doc, absolute), absolute);
    if (err) {
        OutputServices().message(parent, SaveErrorMessage(err, path));
        return false;
    }
    OutputServices().fileSaved(SavedFile(absolute));
    return true;
}

bool DoSaveAs(CVorlanDoc& doc, QWidget* parent) {
    const QString path = OutputServices().saveFileName(
        parent, SuggestedSavePath(EngineText(doc.GetTitle()), doc.Settings()));
    if (path.isEmpty())
        return false;
    return SaveAndRemember(doc, path, parent);
}

bool DoFileSave(CVorlanDoc& doc, QWidget* parent) {
    if (doc.GetPathName().empty())
        return DoSaveAs(doc, parent);
    return SaveAndRemember(doc, PathText(doc.GetPathName()), parent);
}

bool SaveModified(CVorlanDoc& doc, QWidget* parent, const QString& name) {
    if (!doc.IsModified())
        return true;
    const QString text = QStringLiteral("Save changes to %1?")
                             .arg(ShownName(name.isEmpty() ? EngineText(doc.GetTitle()) : name));
    switch (OutputServices().question(parent, text)) {
    case QMessageBox::Yes:
        return DoFileSave(doc, parent);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
