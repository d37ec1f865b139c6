// A real full disk for the workers: a small tmpfs mounted over a test's program folder in a
// mount namespace of the test process's own (so nothing outside sees it, and it goes when the
// process ends), filled up to a chosen number of free pages. Mounting needs privileges a test
// machine may not grant; the suite then relies on the file layer's injected write failures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace filelayer {

class SmallDisk {
  public:
    // Mounts the disk over `folder`; check mounted() (and why() when it is not).
    explicit SmallDisk(const std::filesystem::path& folder);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

    // Fills the disk with a filler file so that exactly `pages` pages stay free.
    bool LeaveFreePages(std::int64_t pages);

    static constexpr const char* kFillerName = "filler.space";

  private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace filelayer
