#include "ui/dir_listing.h"

#include <QDir>

namespace {

// Iterative glob with backtracking to the last "*"; linear in practice.
bool Glob(QStringView name, QStringView pattern) {
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesWildcard(const QString& name, const QString& pattern) {
    if (Glob(name, pattern))
        return true;
    return pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')) &&
           Glob(name, QStringView(pattern).chopped(2));
}

QStringList ListMatchingFiles(const QString& dir, const QString& pattern) {
    QStringList files;
    if (pattern.isEmpty())
        return files;
    const QStringList entries = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString& entry : entries) {
        if (MatchesWildcard(entry, pattern))
            files.append(entry);
    }
    return files;
}

QStringList ListSubdirectories(const QString& dir) {
    return QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}
