// Turns the DIRECTORY and PATTERN operands into the directory and file name
// of a count, checking that the directory can be listed.
#ifndef VORLAN_CLI_TARGET_H
#define VORLAN_CLI_TARGET_H

#include <optional>
#include <string>

struct CountTarget {
    std::string directory; // absolute, ending with "/"
    std::string pattern;   // file name or wildcard pattern
};

// DIRECTORY is made absolute; a DIRECTORY naming a regular file, with no
// PATTERN, stands for its folder and its name. Returns false with the
// system's reason when the directory does not exist or cannot be read.
bool ResolveCountTarget(const std::string& directory, const std::optional<std::string>& pattern,
                        CountTarget& target, std::string& reason);

#endif
