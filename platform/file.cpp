#include "platform/file.h"

#include <unistd.h>

#include <cstdarg>
#include <filesystem>
#include <set>

namespace platform {
namespace {

std::set<File*>& OpenFiles() {
    static std::set<File*> files;
    return files;
}

}  // namespace

File::~File() { Close(); }

File::File(File&& other) noexcept : stream_(other.stream_), text_(other.text_), good_(other.good_) {
    if (stream_ != nullptr) {
        other.Unregister();
        other.stream_ = nullptr;
        Register();
    }
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        stream_ = other.stream_;
        text_ = other.text_;
        good_ = other.good_;
        if (stream_ != nullptr) {
            other.Unregister();
            other.stream_ = nullptr;
            Register();
        }
    }
    return *this;
}

void File::Register() { OpenFiles().insert(this); }
void File::Unregister() { OpenFiles().erase(this); }

bool File::Open(const std::string& path, FileMode mode) {
    Close();
    const char* how = "rb";
    switch (mode) {
        case FileMode::kReadBinary: how = "rb"; break;
        case FileMode::kWriteText:
        case FileMode::kWriteBinary: how = "wb"; break;
        case FileMode::kAppendText: how = "ab"; break;
    }
    stream_ = std::fopen(path.c_str(), how);
    if (stream_ == nullptr) return false;
    text_ = mode == FileMode::kWriteText || mode == FileMode::kAppendText;
    good_ = true;
    Register();
    return true;
}

bool File::Close() {
    if (stream_ == nullptr) return good_;
    Unregister();
    if (std::fclose(stream_) != 0) good_ = false;
    stream_ = nullptr;
    return good_;
}

bool File::Write(std::string_view text) {
    if (stream_ == nullptr) return good_ = false;
    if (!text_) {
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) {
            good_ = false;
        }
        return good_;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineEnd = text.find('\n', start);
        const std::size_t stop = lineEnd == std::string_view::npos ? text.size() : lineEnd;
        if (stop > start && std::fwrite(text.data() + start, 1, stop - start, stream_) != stop - start) {
            good_ = false;
        }
        if (lineEnd == std::string_view::npos) break;
        if (std::fwrite("\r\n", 1, 2, stream_) != 2) good_ = false;
        start = lineEnd + 1;
    }
    return good_;
}

bool File::Printf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return good_ = false;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    text.resize(static_cast<std::size_t>(length));
    return Write(text);
}

bool File::WriteBytes(std::span<const std::uint8_t> bytes) {
    if (stream_ == nullptr) return good_ = false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        good_ = false;
    }
    return good_;
}

std::size_t File::Read(std::span<std::uint8_t> bytes) {
    if (stream_ == nullptr || bytes.empty()) return 0;
    return std::fread(bytes.data(), 1, bytes.size(), stream_);
}

bool File::ReadLine(std::string& line) {
    line.clear();
    if (stream_ == nullptr) return false;
    int c = std::fgetc(stream_);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
        c = std::fgetc(stream_);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::int64_t File::Tell() const {
    if (stream_ == nullptr) return -1;
    return ftello(stream_);
}

bool File::Seek(std::int64_t offset) {
    if (stream_ == nullptr || offset < 0) return false;
    return fseeko(stream_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::int64_t File::Size() const {
    if (stream_ == nullptr) return -1;
    const off_t here = ftello(stream_);
    if (fseeko(stream_, 0, SEEK_END) != 0) return -1;
    const off_t size = ftello(stream_);
    fseeko(stream_, here, SEEK_SET);
    return size;
}

void CloseAllFiles() {
    // Closing unregisters, so work on a copy.
    const std::set<File*> files = OpenFiles();
    for (File* file : files) file->Close();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    File file;
    if (!file.Open(path, FileMode::kReadBinary)) return false;
    const std::int64_t size = file.Size();
    if (size < 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    return file.Read(bytes) == bytes.size();
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fflush(out) == 0 && ok;
    ok = fsync(fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

}  // namespace platform
