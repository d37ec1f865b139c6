// One running copy per program and program folder: an exclusive lock on
// "instance.<program>.<hash of the folder>.lock" in the per-user private folder. The kernel
// drops the lock when the process ends in any way, so nothing goes stale.
#pragma once

#include <string>

namespace platform::qt {

class InstanceLock {
  public:
    // Tries to become the one running copy of `program` in `folder`.
    InstanceLock(const std::string& program, const std::string& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another copy holds the lock. When the private folder cannot be used nobody can
    // hold a lock there, so this copy runs.
    bool anotherRunning() const { return anotherRunning_; }

    static std::string LockFileName(const std::string& program, const std::string& folder);

  private:
    int fd_ = -1;
    bool anotherRunning_ = false;
};

}  // namespace platform::qt
