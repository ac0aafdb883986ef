// The parts of a path as the program splits them: on "/" only, with no look
// at the file system.
#ifndef VORLAN_PLATFORM_PATH_H
#define VORLAN_PLATFORM_PATH_H

#include <string>
#include <string_view>

// The folder that holds path: "." for a bare name, "/" for a name in the
// root folder.
std::string FolderOf(std::string_view path);

// The last component of path: all of it when it has no "/", "" when it ends
// in one.
std::string_view FileNameOf(std::string_view path);

#endif
