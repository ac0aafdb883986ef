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
// - A name that leads to one of this process's own descriptors (/dev/stdout,
//   /dev/fd/N, /proc/self/fd/N) is written to that descriptor as it is, at
//   its position and with its flags: a redirection that appends keeps
//   appending.
// - A directory is never replaced (EISDIR). Anything else that is not a
//   regular file (a FIFO, a device, a socket) is opened once for writing,
//   without being created or truncated, and written as it is: a rename would
//   put a plain file in place of the node.
// - A file that refuses writing, having no write permission bit or none for
//   this user, is never replaced (EACCES), not even by the superuser: the
//   rename would otherwise get past what a plain write could not.
// - The folder must exist (ENOENT), be a folder (ENOTDIR) and let this user
//   create files in it (EACCES).
// - A replaced file keeps its owner, group and permission bits, less the
//   set-user-id and set-group-id bits; a new one gets 0666 less the umask, as
//   open(2) would give it.
// - A file whose owner or group cannot be given to a new file, or that has
//   other hard links, is not replaced but overwritten in place, and only once
//   the whole content is ready in the temporary file: its links and owner
//   stay, and nothing is truncated before the new content exists. A failure
//   of that last copy is reported; the old content is lost then.
//
// The content goes to a temporary file beside the target, whose name starts
// with "." so that a crash leaves no visible debris; it is flushed to disk
// and renamed over the target, and the folder is flushed so that the rename
// itself survives a crash. On any failure, when the writer throws, and when
// SIGINT, SIGTERM or SIGHUP ends the process meanwhile, the temporary file is
// removed and the target is left as it was.
//
// Failures are std::error_code values holding the errno value; an empty code
// means success.
#ifndef VORLAN_PLATFORM_ATOMIC_FILE_H
#define VORLAN_PLATFORM_ATOMIC_FILE_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// The file a write to path lands on: path itself, or the end of its chain of
// symbolic links (a relative link is taken from the folder that holds it).
// The chain stops at an entry of this process's descriptor folder.
std::error_code ResolveWriteTarget(const std::string& path, std::string& target);

// The descriptor number when path is an entry of this process's own
// descriptor folder (/proc/self/fd/N, or /dev/fd/N through its link).
std::optional<int> OwnDescriptorOf(const std::string& path);

// Whether whatever stands at target (links not followed further) may be
// replaced: a directory, a FIFO, a device or a file that refuses writing may
// not. Nothing there may.
std::error_code CheckFileReplaceable(const std::string& target);

// Whether a write to target (a ResolveWriteTarget result) can succeed as
// far as can be told without opening anything: a descriptor or a node that
// is written in place must allow writing; a file to be replaced or made
// must pass CheckFileReplaceable, in a folder where files can be created.
std::error_code CheckReplaceable(const std::string& target);

// Puts the new content into fd, an open file, and returns the failure, if
// any. fd may be a temporary file, a device, a FIFO or a descriptor the
// process already had; it is not the writer's to close.
using FileContentWriter = std::function<std::error_code(int fd)>;

// Writes what write puts in to the file that a write to path lands on, by the
// rules above.
std::error_code ReplaceFileAtomically(const std::string& path, const FileContentWriter& write);
std::error_code ReplaceFileAtomically(const std::string& path, std::string_view content);

#endif
