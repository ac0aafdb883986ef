#include "engine/file_list.h"

#include "platform/dir_listing.h"
#include "platform/event_pump.h"

namespace {

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (!dir.empty() && dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

struct Frame {
    std::string path;
    std::vector<CDirEntry> entries;
    std::size_t next = 0;
};

// Pushes a frame for the directory at path unless it cannot be read.
void Enter(std::vector<Frame>& stack, std::string path) {
    Frame frame;
    frame.path = std::move(path);
    if (!ReadDirectoryEntries(frame.path, frame.entries))
        stack.push_back(std::move(frame));
}

void WalkDirectory(const std::string& root, std::vector<std::string>& files) {
    std::vector<Frame> stack;
    Enter(stack, root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        const CDirEntry& entry = top.entries[top.next++];
        PumpMessages();
        if (entry.name[0] == '.')
            continue;
        std::string path = JoinPath(top.path, entry.name);
        // top may move once a frame is pushed; it is not used after this.
        if (entry.kind == DirEntryKind::Directory)
            Enter(stack, std::move(path));
        else if (entry.kind == DirEntryKind::Other)
            files.push_back(std::move(path));
    }
}

bool IsMissing(const std::error_code& ec) {
    return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

} // namespace

void AddPathRecursive(const std::string& path, std::vector<std::string>& files) {
    switch (PathKind(path)) {
    case DirEntryKind::Directory:
        WalkDirectory(path, files);
        break;
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
    std::vector<std::string> names;
    std::error_code ec = ListPlainFiles(dir, pattern, names);
    if (ec && !IsMissing(ec)) {
        if (error)
            *error = ec;
        return false;
    }
    if (error)
        error->clear();
    for (const std::string& name : names)
        files.push_back(JoinPath(dir, name));
    if (!subdirs)
        return true;
    ListSubdirectories(dir, "*.*", names);
    for (const std::string& name : names)
        AddPathRecursive(JoinPath(dir, name), files);
    return true;
}
