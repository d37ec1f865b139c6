#include "platform/qt/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/file.h"

namespace platform::qt {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchOne(std::string_view name, std::string_view pattern) {
    // Iterative wildcard match with one backtrack point for the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool IsRegularFile(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadAtMost(const std::string& path, std::size_t limit) {
    // Non-blocking, so a FIFO at the name cannot hang the reader; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(
        std::min<std::size_t>(limit, static_cast<std::size_t>(info.st_size)));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

std::optional<std::int64_t> FileLength(const std::string& path) {
    struct stat info;
    if (!IsRegularFile(path, info)) return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

bool CopyWholeFile(const std::string& from, const std::string& to) {
    const auto length = FileLength(from);
    if (!length) return false;
    const auto bytes = ReadAtMost(from, static_cast<std::size_t>(*length));
    return bytes && bytes->size() == static_cast<std::size_t>(*length) &&
           platform::ReplaceFileAtomically(to, *bytes, platform::Durability::kNotSynced);
}

std::string CurrentFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string();
}

bool IsReadOnly(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

bool DeleteFile(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) return false;
    if (IsReadOnly(path)) return false;
    return ::unlink(path.c_str()) == 0;
}

int DeleteMatching(const std::string& folder, std::string_view pattern) {
    int deleted = 0;
    for (const std::string& name : ListFolder(folder, pattern)) {
        if (DeleteFile(folder + "/" + name)) ++deleted;
    }
    return deleted;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = pattern.find(';', start);
        if (MatchOne(name,
                     pattern.substr(start, end == std::string_view::npos ? end : end - start))) {
            return true;
        }
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(Lower(a[i]));
        const auto y = static_cast<unsigned char>(Lower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int exact = a.compare(b);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

std::vector<std::string> ListFolder(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statError;
        if (MatchesPattern(name, pattern) && it->is_regular_file(statError)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    return names;
}

}  // namespace platform::qt
