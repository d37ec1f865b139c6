// Files as the workers use them. A file opened for text writing turns every "\n" into CR LF on
// disk, as the stored formats have it; ReadLine accepts CR LF and LF alike. Every open File is
// listed in one process-wide registry so that a worker's fatal exit can close and flush them
// all, keeping the message it wrote just before.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class FileMode {
    kReadBinary,   // reading as stored
    kWriteText,    // create or truncate; "\n" becomes CR LF
    kWriteBinary,  // create or truncate; bytes as given
    kAppendText,   // append; "\n" becomes CR LF
};

class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    [[nodiscard]] bool Open(const std::string& path, FileMode mode);
    // Flushes and closes; false when a buffered write could not be completed.
    bool Close();
    bool IsOpen() const { return stream_ != nullptr; }
    // False once any write or the close failed.
    bool good() const { return good_; }

    // printf-style writing; in text mode each "\n" is written as CR LF.
    bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool Write(std::string_view text);
    bool WriteBytes(std::span<const std::uint8_t> bytes);

    // Reads up to bytes.size() bytes; returns how many were read.
    std::size_t Read(std::span<std::uint8_t> bytes);
    // Reads one line without its line end (LF, then a CR before it). False at end of file.
    bool ReadLine(std::string& line);

    std::int64_t Tell() const;
    bool Seek(std::int64_t offset);
    std::int64_t Size() const;

private:
    void Register();
    void Unregister();

    std::FILE* stream_ = nullptr;
    bool text_ = false;
    bool good_ = true;
};

// Closes every open File (the fatal exit's "close all files").
void CloseAllFiles();

// Reads a whole file; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` to a temporary name in the same folder and renames it over `path` only when
// every byte is on disk, so a failure never leaves a half-written file under the real name.
[[nodiscard]] bool ReplaceFileAtomically(const std::string& path,
                                         std::span<const std::uint8_t> bytes);

}  // namespace platform
