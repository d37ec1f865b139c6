#include "tests/workers/file_layer/small_disk.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace filelayer {
namespace {

// Enough for the largest worker's inputs (five styles) and outputs.
constexpr const char* kMountOptions = "size=4m,mode=0755";

// Once per process: a mount namespace of our own whose mounts do not spread back.
bool PrivateMountNamespace(std::string& why) {
    static int result = -1;
    static std::string reason;
    if (result < 0) {
        result = unshare(CLONE_NEWNS) == 0 &&
                 mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!result) reason = std::strerror(errno);
    }
    why = reason;
    return result == 1;
}

}  // namespace

SmallDisk::SmallDisk(const std::filesystem::path& folder) : folder_(folder) {
    if (!PrivateMountNamespace(why_)) {
        why_ = "no mount namespace of its own (" + why_ + ")";
        return;
    }
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, kMountOptions) == 0;
    if (!mounted_) why_ = std::string("cannot mount a tmpfs (") + std::strerror(errno) + ")";
}

SmallDisk::~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

bool SmallDisk::LeaveFreePages(std::int64_t pages) {
    const std::string filler = (folder_ / kFillerName).string();
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::int64_t page = sysconf(_SC_PAGESIZE);
    std::int64_t size = 0;
    // Large blocks first, then single pages, until the disk takes no more.
    for (const std::int64_t block : {page * 64, page}) {
        const std::vector<char> zeros(static_cast<std::size_t>(block), 0);
        for (;;) {
            const ssize_t written = write(fd, zeros.data(), zeros.size());
            if (written <= 0) break;
            size += written;
        }
    }
    // Truncating to whole pages gives pages back to the disk.
    size -= size % page;
    const bool ok = size >= pages * page && ftruncate(fd, size - pages * page) == 0;
    close(fd);
    return ok;
}

}  // namespace filelayer
