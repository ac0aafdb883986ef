// The file that --output names: checked before a count starts, so that a
// long count is not spent on a report that cannot be written.
#ifndef VORLAN_CLI_OUTPUT_FILE_H
#define VORLAN_CLI_OUTPUT_FILE_H

#include <string>

// Writing to a symbolic link writes the file it names and keeps the link, as
// a shell's redirection would (a dangling link gets its file created). A
// chain of more than 40 links, or one into a missing folder, is left as it
// is: the write then replaces the link.
std::string ResolveOutputTarget(const std::string& path);

// 0 when path can be written in place of whatever file is there, or the
// errno value of the reason it cannot: a missing folder, a directory by
// that name, a file or folder that refuses writing.
int CheckOutputTarget(const std::string& path);

#endif
