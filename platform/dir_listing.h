// Directory listings for the file selection and the count's file list.
// Rules, chosen so that a listing does not depend on the file system:
//  - a name that begins with "." is hidden;
//  - a "plain file" is a regular file, or a symbolic link to one; anything
//    else that is not a directory (FIFO, socket, device) counts as a system
//    file, and a dangling link is no file at all;
//  - a symbolic link to a directory is never listed as a subdirectory, so a
//    walk built on these listings cannot loop;
//  - names come sorted: ASCII letters compared without case, ties in byte
//    order.
// Every function takes the directory with or without a trailing "/" and
// returns an empty error_code on success, else the reason the directory
// could not be read (entries that vanish while being listed are left out).
#ifndef VORLAN_PLATFORM_DIR_LISTING_H
#define VORLAN_PLATFORM_DIR_LISTING_H

#include "platform/fd.h"

#include <string>
#include <system_error>
#include <vector>

struct stat;

enum class DirEntryKind {
    Directory,       // a real directory, not a link to one
    LinkToDirectory, // a symbolic link whose target is a directory
    Other            // anything else, dangling links included
};

struct CDirEntry {
    std::string name;
    DirEntryKind kind;
};

// The plain files of dir whose names match pattern (see platform/wildcard.h);
// hidden files, system files and directories are left out.
std::error_code ListPlainFiles(const std::string& dir, const std::string& pattern,
                               std::vector<std::string>& names);

// The subdirectories of dir whose names match pattern; hidden ones, "." and
// ".." and links to directories are left out.
std::error_code ListSubdirectories(const std::string& dir, const std::string& pattern,
                                   std::vector<std::string>& names);

// Every entry of dir, "." and ".." included, with its kind.
std::error_code ReadDirectoryEntries(const std::string& dir, std::vector<CDirEntry>& entries);

// The walk of a tree by descriptors, so that its depth is limited by nothing
// but memory: each directory is opened relative to its parent's descriptor.
// name is one entry of the directory open at parentFd (AT_FDCWD: a path from
// the current directory); a symbolic link is refused (ELOOP), so that a walk
// never leaves the tree. An invalid CFd and ec set on failure.
CFd OpenDirectoryAt(int parentFd, const std::string& name, std::error_code& ec);
// Every entry of the directory open at dirFd, as ReadDirectoryEntries gives
// them; dirFd stays open and is read from its start.
std::error_code ReadDirectoryEntriesAt(int dirFd, std::vector<CDirEntry>& entries);

// open(2) and stat(2) (links followed) for a path of any length: a path the
// system refuses as too long is taken piece by piece, each piece opened
// relative to the directory the one before it opened. As the system calls:
// a descriptor or 0, else -1 with errno set.
int OpenLongPath(const char* path, int flags);
int StatLongPath(const char* path, struct stat& st);

// True when path names a directory itself; a symbolic link is not followed,
// so a link to a directory answers false.
bool IsDirectory(const std::string& path);

// What path names, told as for a directory entry; a path whose status cannot
// be read is Other.
DirEntryKind PathKind(const std::string& path);

// The listing order: ASCII letters without case, ties in byte order.
bool ListingOrder(const std::string& a, const std::string& b);

#endif
