// The three operating-system services that DOS/Windows file-name parsing
// needs: the current drive, each drive's current directory, and the look-up
// of a path with its attributes. Internal: not exported. Tests replace the
// system's table with a fake one.
#ifndef TESMO_DRIVES_H
#define TESMO_DRIVES_H

#include <string>

namespace tesmo {

// File attributes with the values of the DOS attribute byte.
enum : unsigned {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
};

class DriveTable {
  public:
    virtual ~DriveTable() = default;

    // The current drive, 1 for A: to 26 for Z:.
    virtual int CurrentDrive() = 0;

    // The current directory of drive (1 to 26) as a DOS path with its drive
    // letter ("C:\TEXTS"; a trailing backslash is allowed), or false when the
    // drive has none.
    virtual bool CurrentDirectory(int drive, std::string& directory) = 0;

    // The attributes of the first entry that the DOS path names (its last
    // component may hold the wildcards * and ?), or false when there is none.
    // Relative paths are taken from the current directory of the current
    // drive.
    virtual bool Lookup(const std::string& path, unsigned& attributes) = 0;
};

// The table in use: the system's unless a test installed another.
DriveTable& Drives();

// Installs table (owned by the caller, which keeps it alive while it is
// installed); null restores the system's table.
void SetDrives(DriveTable* table);

// The system's table on Linux: C: is the root "/", the process's current
// directory (written with backslashes) is the current directory of C:, and
// the other drives have no current directory and hold no files. Names are
// matched case-sensitively, as the file system stores them.
DriveTable& SystemDrives();

} // namespace tesmo

#endif // TESMO_DRIVES_H
