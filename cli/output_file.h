// The file that --output names: checked before a count starts, so that a
// long count is not spent on a report that cannot be written, then written
// with ReplaceFileAtomically (platform/atomic_file.h), which says what
// becomes of a link, a device, a FIFO, a descriptor of ours or a file with
// other owners or links.
#ifndef VORLAN_CLI_OUTPUT_FILE_H
#define VORLAN_CLI_OUTPUT_FILE_H

#include <string>
#include <system_error>

// Empty when path can be written, or the reason it cannot: a missing
// folder, a directory by that name, a file or folder that refuses writing, a
// link that leads nowhere a file could be made. Nothing is opened: a FIFO's
// reader would see the end of its data.
std::error_code CheckOutputTarget(const std::string& path);

// Whether a write to output would land on the profile at profile (links
// followed on both sides; one that does not exist yet by its name).
bool WritesOverProfile(const std::string& output, const std::string& profile);

#endif
