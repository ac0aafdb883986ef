#include "engine/file_list.h"

#include "platform/dir_listing.h"
#include "platform/event_pump.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// How many directories of a walk keep their descriptor while a subdirectory
// of theirs is walked; one beyond is opened again by its path when the walk
// comes back to it (a comb-shaped tree would hold one per level otherwise).
constexpr std::size_t kHeldDirectories = 64;

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (!dir.empty() && dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

// The entry that stands for a folder that could not be listed: its path
// with a "/", which the count fails to open like any unreadable entry, so
// that the user is told in the same way, in list order.
std::string FolderEntry(const std::string& path) {
    return !path.empty() && path.back() == '/' ? path : path + "/";
}

bool HasDirectoryFrom(const std::vector<CDirEntry>& entries, std::size_t from) {
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (entries[i].kind == DirEntryKind::Directory && entries[i].name[0] != '.')
            return true;
    }
    return false;
}

struct Frame {
    std::string path;
    CFd fd; // open while a subdirectory of its may still be entered
    std::vector<CDirEntry> entries;
    std::size_t next = 0;
};

// A depth-first walk that opens each directory relative to its parent's
// descriptor, so that no path needs to fit in one system call. Its stack
// lives on the heap: depth is limited by memory alone.
class CTreeWalk {
  public:
    explicit CTreeWalk(std::vector<std::string>& files) : m_files(files) {}
    // Walks the directory path open at fd; only its subdirectories when
    // subdirsOnly (its own files are listed by pattern).
    void Run(std::string path, CFd fd, bool subdirsOnly);

  private:
    void Enter(std::size_t parent, const std::string& name, std::string path);
    void Keep(Frame& frame, CFd fd);

    std::vector<std::string>& m_files;
    std::vector<Frame> m_stack;
    std::size_t m_nHeld = 0;
};

void CTreeWalk::Run(std::string path, CFd fd, bool subdirsOnly) {
    Frame root;
    root.path = std::move(path);
    if (ReadDirectoryEntriesAt(fd.Get(), root.entries)) {
        m_files.push_back(FolderEntry(root.path));
        return;
    }
    if (subdirsOnly)
        std::erase_if(root.entries,
                      [](const CDirEntry& e) { return e.kind != DirEntryKind::Directory; });
    Keep(root, std::move(fd));
    m_stack.push_back(std::move(root));
    while (!m_stack.empty()) {
        Frame& top = m_stack.back();
        if (top.next == top.entries.size()) {
            Keep(top, CFd());
            m_stack.pop_back();
            continue;
        }
        const CDirEntry& entry = top.entries[top.next++];
        PumpMessages();
        if (entry.name[0] == '.')
            continue;
        std::string entryPath = JoinPath(top.path, entry.name);
        if (entry.kind == DirEntryKind::Directory)
            Enter(m_stack.size() - 1, entry.name, std::move(entryPath));
        else if (entry.kind == DirEntryKind::Other)
            m_files.push_back(std::move(entryPath));
    }
}

void CTreeWalk::Enter(std::size_t parent, const std::string& name, std::string path) {
    Frame& up = m_stack[parent];
    if (up.fd.Get() < 0) // let go on the way down: found again by its path
        Keep(up, CFd(OpenLongPath(up.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    std::error_code ec;
    CFd fd = up.fd.Get() >= 0 ? OpenDirectoryAt(up.fd.Get(), name, ec) : CFd();
    Frame child;
    child.path = std::move(path);
    if (fd.Get() < 0 || ReadDirectoryEntriesAt(fd.Get(), child.entries)) {
        m_files.push_back(FolderEntry(child.path));
        return;
    }
    if (!HasDirectoryFrom(up.entries, up.next) || m_nHeld >= kHeldDirectories)
        Keep(up, CFd());
    if (HasDirectoryFrom(child.entries, 0))
        Keep(child, std::move(fd));
    m_stack.push_back(std::move(child)); // up is not used after this
}

// Sets the frame's descriptor, counting those held.
void CTreeWalk::Keep(Frame& frame, CFd fd) {
    m_nHeld -= frame.fd.Get() >= 0 ? 1 : 0;
    m_nHeld += fd.Get() >= 0 ? 1 : 0;
    frame.fd = std::move(fd);
}

bool IsMissing(const std::error_code& ec) {
    return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

// A name without wildcards' help: an existing entry of dir that is not a
// directory, taken by its exact name even when hidden.
bool NamesOneFile(const std::string& dir, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos)
        return false;
    struct stat st;
    return StatLongPath(JoinPath(dir, name).c_str(), st) == 0 && !S_ISDIR(st.st_mode);
}

// The directory a walk starts from, as the user named it (links followed).
CFd OpenRoot(const std::string& path) {
    return CFd(OpenLongPath(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

void AddPathRecursive(const std::string& path, std::vector<std::string>& files) {
    switch (PathKind(path)) {
    case DirEntryKind::Directory: {
        CFd fd = OpenRoot(path);
        if (fd.Get() < 0)
            files.push_back(FolderEntry(path));
        else
            CTreeWalk(files).Run(path, std::move(fd), false);
        break;
    }
    case DirEntryKind::LinkToDirectory:
        break;
    case DirEntryKind::Other:
        files.push_back(path);
        break;
    }
}

bool BuildFileList(const std::string& dir, const std::string& pattern, bool subdirs,
                   std::vector<std::string>& files, std::error_code* error) {
    files.clear();
    if (error)
        error->clear();
    std::vector<std::string> names;
    if (NamesOneFile(dir, pattern)) {
        names.push_back(pattern);
    } else if (std::error_code ec = ListPlainFiles(dir, pattern, names); ec && !IsMissing(ec)) {
        if (error)
            *error = ec;
        return false;
    }
    for (const std::string& name : names)
        files.push_back(JoinPath(dir, name));
    if (!subdirs)
        return true;
    if (CFd fd = OpenRoot(dir); fd.Get() >= 0)
        CTreeWalk(files).Run(dir, std::move(fd), true);
    return true;
}
