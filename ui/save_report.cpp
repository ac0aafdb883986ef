#include "ui/save_report.h"

#include "platform/document.h"
#include "ui/gui_count_notifier.h"
#include "ui/output_services.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSuggestedChars = 8;
const QLatin1String kNameStops(" #%;/\\");

QString PathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// A replacing rename would go through a file that refuses writing (no write
// permission at all, or none for this user): refuse it as writing would.
int CheckTargetWritable(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return 0;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if ((st.st_mode & 0222) == 0 || ::access(path.constData(), W_OK) != 0)
        return EACCES;
    return 0;
}

// Saving to a symbolic link replaces the file it names, not the link.
QString ResolvedTarget(const QString& path) {
    QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        return info.canonicalFilePath();
    return info.absoluteFilePath();
}

} // namespace

QString SuggestedFileName(const QString& title) {
    QString name = title.left(kSuggestedChars);
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (kNameStops.contains(name[i]))
            return name.left(i);
    }
    return name;
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
            .arg(path);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Destination disk drive is full.");
    case EIO:
        return QStringLiteral("An unexpected error occurred while writing %1.").arg(path);
    default:
        return QStringLiteral("Failed to save document.");
    }
}

bool SaveDocumentTo(CDocument& doc, const QString& path, QWidget* parent) {
    const QString target = ResolvedTarget(path);
    const QByteArray bytes = QFile::encodeName(target);
    int err = path.isEmpty() ? ENOENT : CheckTargetWritable(bytes);
    if (!err)
        err = doc.OnSaveDocument(bytes.toStdString());
    if (err) {
        OutputServices().message(parent, SaveErrorMessage(err, path));
        return false;
    }
    // The document is known by the name the user gave, link or not.
    if (target != QFileInfo(path).absoluteFilePath())
        doc.SetPathName(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    OutputServices().fileSaved(target);
    return true;
}

bool DoSaveAs(CDocument& doc, QWidget* parent) {
    const QString path =
        OutputServices().saveFileName(parent, SuggestedFileName(EngineText(doc.GetTitle())));
    if (path.isEmpty())
        return false;
    return SaveDocumentTo(doc, path, parent);
}

bool DoFileSave(CDocument& doc, QWidget* parent) {
    if (doc.GetPathName().empty())
        return DoSaveAs(doc, parent);
    return SaveDocumentTo(doc, PathText(doc.GetPathName()), parent);
}

bool SaveModified(CDocument& doc, QWidget* parent) {
    if (!doc.IsModified())
        return true;
    const QString text = QStringLiteral("Save changes to %1?").arg(EngineText(doc.GetTitle()));
    switch (OutputServices().question(parent, text)) {
    case QMessageBox::Yes:
        return DoFileSave(doc, parent);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
