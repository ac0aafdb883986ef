#include "cli/output_file.h"

#include "platform/atomic_file.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

std::string WhereAWriteLands(const std::string& path) {
    std::string target;
    if (ResolveWriteTarget(path, target))
        target = path;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(target, ec);
    return ec ? target : full.string();
}

} // namespace

std::error_code CheckOutputTarget(const std::string& path) {
    std::string target;
    std::error_code ec = ResolveWriteTarget(path, target);
    return ec ? ec : CheckReplaceable(target);
}

bool WritesOverProfile(const std::string& output, const std::string& profile) {
    struct stat out {};
    struct stat prof {};
    if (::stat(output.c_str(), &out) == 0 && ::stat(profile.c_str(), &prof) == 0)
        return out.st_dev == prof.st_dev && out.st_ino == prof.st_ino;
    return WhereAWriteLands(output) == WhereAWriteLands(profile);
}
