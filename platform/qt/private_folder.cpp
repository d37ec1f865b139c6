#include "platform/qt/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform::qt {

std::optional<std::string> PrivateFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && runtime[0] == '/'
                                   ? std::string(runtime) + "/orvella"
                                   : "/tmp/orvella-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace platform::qt
