#include "ui/file_sel_paths.h"

#include "platform/dir_listing.h"

#include <QDir>
#include <QFile>
#include <string>
#include <vector>

QString WithSeparator(QString dir) {
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString ParentDir(const QString& dir) {
    qsizetype last = dir.lastIndexOf(QLatin1Char('/'));
    if (last <= 0)
        return dir;
    qsizetype before = dir.lastIndexOf(QLatin1Char('/'), last - 1);
    return before < 0 ? dir : dir.left(before + 1);
}

QString ShownFolder(const QString& dir) {
    return dir.size() > 1 && dir.endsWith(QLatin1Char('/')) ? dir.chopped(1) : dir;
}

QString TypedFolder(const QString& typed, const QString& current) {
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    else if (QDir::isRelativePath(path))
        path = current + path;
    return WithSeparator(QDir::cleanPath(path));
}

namespace {

// Pushes the folders of folder onto pending; true when it also holds a file.
bool ReadFolder(const std::string& folder, std::vector<std::string>& pending) {
    std::vector<CDirEntry> entries;
    if (ReadDirectoryEntries(folder, entries))
        return false;
    const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
    bool file = false;
    for (const CDirEntry& entry : entries) {
        if (entry.name.empty() || entry.name[0] == '.')
            continue;
        if (entry.kind == DirEntryKind::Directory)
            pending.push_back(prefix + entry.name);
        else if (entry.kind == DirEntryKind::Other)
            file = true;
    }
    return file;
}

} // namespace

// The walk keeps its own stack of folders still to look into, so a deep
// tree does not deepen the call stack. The files of dir itself are the
// pattern's business, not this walk's.
bool AnyFileBelowSubfolders(const QString& dir) {
    std::vector<std::string> pending;
    ReadFolder(QFile::encodeName(dir).toStdString(), pending);
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        if (ReadFolder(folder, pending))
            return true;
    }
    return false;
}
