// Writing a file that must never be seen half-written (the profile, a saved
// report, vorlan-count's --output): whatever happens, a reader finds either
// the old content or the new, whole.
//
// What a write does with what stands at its path, the same for every writer:
// - A symbolic link is written through and kept: the file it names is
//   replaced, following a chain of up to 40 links (a longer chain or a loop
//   fails with ELOOP).
// - A dangling link gets the file it names created when that file's folder
//   exists; when the folder is missing the write fails with ENOENT and the
//   link stays as it is.
// - A directory is never replaced (EISDIR), nor a FIFO, a device or a socket
//   (EINVAL): a rename would put a plain file in place of the node.
// - A file that refuses writing, having no write permission bit or none for
//   this user, is never replaced (EACCES), not even by the superuser: the
//   rename would otherwise get past what a plain write could not.
// - The folder must exist (ENOENT), be a folder (ENOTDIR) and let this user
//   create files in it (EACCES).
// - A replaced file keeps its permission bits; a new one gets 0666 less the
//   umask, as open(2) would give it.
//
// The content goes to a temporary file beside the target, whose name starts
// with "." so that a crash leaves no visible debris; it is flushed to disk
// and renamed over the target, and the folder is flushed so that the rename
// itself survives a crash. On any failure, and when the writer throws, the
// temporary file is removed and the target is left as it was.
//
// Failures are std::error_code values holding the errno value; an empty code
// means success.
#ifndef VORLAN_PLATFORM_ATOMIC_FILE_H
#define VORLAN_PLATFORM_ATOMIC_FILE_H

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

// The file a write to path lands on: path itself, or the end of its chain of
// symbolic links (a relative link is taken from the folder that holds it).
std::error_code ResolveWriteTarget(const std::string& path, std::string& target);

// Whether whatever stands at target (links not followed further) may be
// replaced: a directory, a FIFO, a device or a file that refuses writing may
// not. Nothing there may.
std::error_code CheckFileReplaceable(const std::string& target);

// CheckFileReplaceable, and whether a file can be created in target's
// folder.
std::error_code CheckReplaceable(const std::string& target);

// Puts the new content into fd, an open temporary file, and returns the
// failure, if any.
using FileContentWriter = std::function<std::error_code(int fd)>;

// Replaces the file that a write to path lands on with what write puts in.
std::error_code ReplaceFileAtomically(const std::string& path, const FileContentWriter& write);
std::error_code ReplaceFileAtomically(const std::string& path, std::string_view content);

#endif
