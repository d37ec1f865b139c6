// The composed song in memory. After a successful Make the composer's ComposeOut.bin is read
// once, whole, and its coded tracks are decoded with the run code the composer reported; the
// play file and the saved files are written from here. A load that fails leaves the song held
// before untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

class OutputStore {
  public:
    // True when the output is loaded and decoded. False, with nothing changed, when a load is
    // already running, when the file is missing or unreadable, or when it holds no two plain
    // tracks to start from.
    bool LoadComposeOutput(const std::string& path, std::int16_t runCode);

    // Writes the song to `path` as a work file (replaced through a temporary file, not synced);
    // true when the file then exists with a length other than 0.
    bool WritePlayFile(const std::string& path) const;

    bool Loading() const { return loading_; }

    const std::vector<std::uint8_t>& OutputBuf() const { return buffer_; }
    std::int32_t OutputLen() const { return static_cast<std::int32_t>(buffer_.size()); }
    // The bytes of the header chunk and the two plain tracks (what a song project keeps).
    std::int32_t OutputHeadLen() const { return headLength_; }

  private:
    std::vector<std::uint8_t> buffer_;
    std::int32_t headLength_ = 0;
    bool loading_ = false;
};

}  // namespace corvane
