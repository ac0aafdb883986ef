// The file that --output names: checked before a count starts, so that a
// long count is not spent on a report that cannot be written.
#ifndef VORLAN_CLI_OUTPUT_FILE_H
#define VORLAN_CLI_OUTPUT_FILE_H

#include <string>

// The output is written with ReplaceFileAtomically (platform/atomic_file.h):
// a symbolic link is written through and kept, as a shell's redirection
// would, and a read-only file is refused.

// 0 when path can be written in place of whatever file is there, or the
// errno value of the reason it cannot: a missing folder, a directory by
// that name, a file or folder that refuses writing, a link that leads
// nowhere a file could be made.
int CheckOutputTarget(const std::string& path);

#endif
