#include "ui/save_report.h"

#include "platform/document.h"
#include "platform/quote_name.h"
#include "ui/gui_count_notifier.h"
#include "ui/output_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <new>

namespace {

constexpr int kSuggestedChars = 8;
const QLatin1String kNameStops(" #%;/\\");

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
    const QString text =
        QStringLiteral("Save changes to %1?").arg(ShownName(EngineText(doc.GetTitle())));
    switch (OutputServices().question(parent, text)) {
    case QMessageBox::Yes:
        return DoFileSave(doc, parent);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
