#include "cli/output_file.h"

#include "platform/atomic_file.h"

int CheckOutputTarget(const std::string& path) {
    std::string target;
    std::error_code ec = ResolveWriteTarget(path, target);
    if (!ec)
        ec = CheckReplaceable(target);
    return ec.value();
}
