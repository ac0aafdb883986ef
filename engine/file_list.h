// The list of files a count reads: the files of the chosen directory that
// match the file pattern, then, when asked, every file below the directory's
// subdirectories, depth first. Shared by both front ends.
#ifndef VORLAN_ENGINE_FILE_LIST_H
#define VORLAN_ENGINE_FILE_LIST_H

#include <string>
#include <system_error>
#include <vector>

// Fills files (emptied first) with the paths to count:
//  1. dir + pattern alone when pattern is the exact name of an entry of dir
//     that exists and is not a directory (hidden or not: it was named);
//     else dir + name for each plain file of dir matching pattern (hidden
//     files, system files and directories left out), in listing order;
//  2. with subdirs, for each subdirectory of dir in listing order (hidden
//     ones and links to directories left out), every file below it as
//     AddPathRecursive adds them.
// Paths may be longer than the system takes in one call; the count's reader
// opens them piece by piece.
// dir is the chosen directory, ending with "/". A directory that does not
// exist gives an empty list. Returns false, with the reason in *error when
// error is given, when dir exists but cannot be listed (no permission, too
// many open files, ...); files is then empty.
bool BuildFileList(const std::string& dir, const std::string& pattern, bool subdirs,
                   std::vector<std::string>& files, std::error_code* error = nullptr);

// Appends path to files when it is not a directory. When it is one, appends
// everything below it: each entry, in listing order and with PumpMessages
// called once per entry read, is skipped when its name begins with ".",
// entered when it is a directory, skipped when it is a link to a directory,
// and otherwise appended as path + "/" + name. Each directory is opened
// relative to its parent's descriptor, so depth is limited by memory alone.
// A directory that cannot be opened or listed is appended as its path with
// a "/": the count then fails to open that entry, and tells the user so, as
// for a file that cannot be opened.
void AddPathRecursive(const std::string& path, std::vector<std::string>& files);

#endif
