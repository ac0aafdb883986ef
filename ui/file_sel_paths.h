// Folder paths as the Select Files dialog handles them: always ending with
// "/", moved up a level, typed by the user, and searched for anything a count
// of the subfolders would read.
#ifndef VORLAN_UI_FILE_SEL_PATHS_H
#define VORLAN_UI_FILE_SEL_PATHS_H

#include <QString>

// dir with a "/" at its end.
QString WithSeparator(QString dir);

// dir (ending with "/") without its last level; the root stays the root.
QString ParentDir(const QString& dir);

// dir as a message names it: without the "/" at its end, but for the root.
QString ShownFolder(const QString& dir);

// The folder a typed path names, cleaned and ending with "/": "~" and "~/..."
// start at the home folder, a relative path at current. Whether the folder
// exists is not asked.
QString TypedFolder(const QString& typed, const QString& current);

// Whether a count of dir's subfolders would read anything: a file below a
// subfolder of dir, found by the rules the count's walk follows (names
// beginning with "." and links to folders skipped, folders that cannot be
// read passed over). Stops at the first such file.
bool AnyFileBelowSubfolders(const QString& dir);

#endif
