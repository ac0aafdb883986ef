// Directory listings for the Select Files dialog, with the program's
// wildcard rules: "*" any run of characters, "?" any one character, letter
// case ignored, and a pattern ending in ".*" also matching names without an
// extension (so "*.*" matches every name). Nothing else is special: brackets
// match themselves.
#ifndef VORLAN_UI_DIR_LISTING_H
#define VORLAN_UI_DIR_LISTING_H

#include <QString>
#include <QStringList>

bool MatchesWildcard(const QString& name, const QString& pattern);

// The plain files of dir that match pattern: regular files, read-only ones
// included, hidden ones (names beginning with ".") and directories not.
// Empty when dir cannot be read or pattern is empty.
QStringList ListMatchingFiles(const QString& dir, const QString& pattern);

// The subdirectories of dir, hidden ones excluded, without "." and "..".
QStringList ListSubdirectories(const QString& dir);

#endif
