#include "platform/qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "platform/qt/private_folder.h"

namespace platform::qt {
namespace {

// FNV-1a: stable across builds and machines, unlike std::hash.
std::uint64_t StableHash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::string InstanceLock::LockFileName(const std::string& program, const std::string& folder) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, error);
    if (error) canonical = folder;
    // "/opt/orvella/" and "/opt/orvella" are one folder.
    canonical = canonical.lexically_normal();
    if (!canonical.has_filename() && canonical.has_parent_path())
        canonical = canonical.parent_path();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(StableHash(canonical.string())));
    return "instance." + program + "." + hex + ".lock";
}

InstanceLock::InstanceLock(const std::string& program, const std::string& folder) {
    const auto privateFolder = PrivateFolder();
    if (!privateFolder) return;
    const std::string path = *privateFolder + "/" + LockFileName(program, folder);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        anotherRunning_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform::qt
