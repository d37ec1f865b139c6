#include "platform/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <random>
#include <set>
#include <utility>

#include "platform/file_faults.h"

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
// The largest buffer a file's claimed length gets before any of it is read.
constexpr std::size_t kLargestFirstGuess = 64 * 1024 * 1024;
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;
constexpr std::string_view kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::set<File*>& OpenFiles() {
    static std::set<File*> files;
    return files;
}

struct RunOutputs {
    std::vector<std::string> paths;  // created or emptied for writing, in order
    bool faulted = false;
    std::string kept;  // the run's error file
};

RunOutputs& TheRunOutputs() {
    static RunOutputs outputs;
    return outputs;
}

void NoteRunOutput(const std::string& path) {
    std::vector<std::string>& paths = TheRunOutputs().paths;
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
}

void NoteOutputFault() {
    TheRunOutputs().faulted = true;
}

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "Data.aco" -> {"Data", ".aco"}; a name without an extension (or a leading dot only) keeps it
// all as its stem.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

bool IsRegular(int fd) {
    struct stat status;
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Opens an existing regular file for reading. O_NONBLOCK keeps a FIFO from holding the open
// until a writer comes; the check after the open then refuses it like a folder or a device.
int OpenForReading(const std::string& path) {
    // Opening some devices already does something, so they are refused before the open too.
    struct stat status;
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (!IsRegular(fd)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Opens an output: created when missing, emptied unless appending. A symbolic link at the name
// is replaced by a file of our own instead of being written through (it may point anywhere);
// anything else that is not a regular file is refused before it is changed.
int OpenForWriting(const std::string& path, bool append) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    faults::BeforeChange();
    const int flags =
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (append ? O_APPEND : 0);
    int fd = open(path.c_str(), flags, 0666);
    if (fd < 0 && errno == ELOOP) {
        if (unlink(path.c_str()) != 0) return -1;
        fd = open(path.c_str(), flags | O_EXCL, 0666);
    }
    if (fd < 0) return -1;
    if (!IsRegular(fd) || (!append && ftruncate(fd, 0) != 0)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Writes every byte, as the fault plan allows; false on the first failure.
bool WriteAll(int fd, std::string_view name, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        if (!faults::WriteAllowed(name)) return false;
        const ssize_t written = write(fd, at, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CloseDescriptor(int fd) {
    faults::BeforeChange();
    return close(fd) == 0;
}

std::string RandomName(std::size_t length) {
    std::string name(length, 'x');
    std::uint8_t noise[16];
    if (getrandom(noise, length, 0) != static_cast<ssize_t>(length)) {
        std::random_device entropy;
        for (std::size_t i = 0; i < length; ++i) noise[i] = static_cast<std::uint8_t>(entropy());
    }
    for (std::size_t i = 0; i < length; ++i)
        name[i] = kNameCharacters[noise[i] % kNameCharacters.size()];
    return name;
}

// Creates a temporary file beside `path` that did not exist before: never an existing file,
// never through a link planted at the name.
int CreateTemporary(const std::string& path, std::string& temporary) {
    const auto [stem, extension] = SplitExtension(BaseName(path));
    const std::string folder = path.rfind('/') == std::string::npos ? "" : FolderOf(path) + "/";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + std::string(stem) + std::string(kTemporaryMark) +
                    RandomName(kTemporaryRandomLength) + std::string(extension);
        faults::BeforeChange();
        const int fd =
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

File::~File() {
    Close();
}

void File::MoveFrom(File& other) {
    fd_ = other.fd_;
    text_ = other.text_;
    writing_ = other.writing_;
    good_ = other.good_;
    readFailed_ = other.readFailed_;
    path_ = std::move(other.path_);
    pending_ = std::move(other.pending_);
    read_ = std::move(other.read_);
    readAt_ = other.readAt_;
    if (fd_ >= 0) {
        other.Unregister();
        other.fd_ = -1;
        Register();
    }
}

File::File(File&& other) noexcept {
    MoveFrom(other);
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        MoveFrom(other);
    }
    return *this;
}

void File::Register() {
    OpenFiles().insert(this);
}
void File::Unregister() {
    OpenFiles().erase(this);
}

bool File::Open(const std::string& path, FileMode mode) {
    Close();
    path_.clear();
    writing_ = mode != FileMode::kReadBinary;
    const bool append = mode == FileMode::kAppendText;
    fd_ = writing_ ? OpenForWriting(path, append) : OpenForReading(path);
    if (fd_ < 0) {
        if (writing_) NoteOutputFault();
        return false;
    }
    // What an appended file held before is not this run's to remove.
    if (writing_ && !append) NoteRunOutput(path);
    text_ = mode == FileMode::kWriteText || mode == FileMode::kAppendText;
    good_ = true;
    readFailed_ = false;
    path_ = path;
    pending_.clear();
    read_.clear();
    readAt_ = 0;
    Register();
    return true;
}

bool File::Flush() {
    if (!pending_.empty()) {
        if (good_ && !WriteAll(fd_, BaseName(path_), pending_.data(), pending_.size())) {
            good_ = false;
            NoteOutputFault();
        }
        pending_.clear();
    }
    return good_;
}

bool File::Close() {
    if (fd_ < 0) return good_;
    Unregister();
    if (writing_) {
        Flush();
        if (!CloseDescriptor(fd_)) {
            good_ = false;
            NoteOutputFault();
        }
    } else {
        close(fd_);
    }
    fd_ = -1;
    return good_;
}

bool File::CloseOrDiscard() {
    if (Close()) return true;
    if (writing_ && !path_.empty()) {
        faults::BeforeChange();
        unlink(path_.c_str());
        path_.clear();
    }
    return false;
}

bool File::Write(std::string_view text) {
    if (fd_ < 0 || !writing_) return good_ = false;
    if (!text_) {
        pending_.insert(pending_.end(), text.begin(), text.end());
    } else {
        for (const char c : text) {
            if (c == '\n') pending_.push_back('\r');
            pending_.push_back(c);
        }
    }
    if (pending_.size() >= kBufferSize) Flush();
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
    if (fd_ < 0 || !writing_) return good_ = false;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    if (pending_.size() >= kBufferSize) Flush();
    return good_;
}

bool File::FillReadBuffer() {
    read_.resize(kBufferSize);
    readAt_ = 0;
    for (;;) {
        const ssize_t got = read(fd_, read_.data(), read_.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readFailed_ = true;
        read_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return got > 0;
    }
}

std::size_t File::Read(std::span<std::uint8_t> bytes) {
    if (fd_ < 0 || writing_) return 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (readAt_ == read_.size() && !FillReadBuffer()) break;
        const std::size_t take = std::min(bytes.size() - done, read_.size() - readAt_);
        std::copy_n(read_.begin() + static_cast<std::ptrdiff_t>(readAt_), take,
                    bytes.begin() + static_cast<std::ptrdiff_t>(done));
        readAt_ += take;
        done += take;
    }
    return done;
}

bool File::ReadLine(std::string& line) {
    line.clear();
    if (fd_ < 0 || writing_) return false;
    bool any = false;
    for (;;) {
        if (readAt_ == read_.size() && !FillReadBuffer()) break;
        any = true;
        const auto begin = read_.begin() + static_cast<std::ptrdiff_t>(readAt_);
        const auto end = std::find(begin, read_.end(), '\n');
        line.append(begin, end);
        readAt_ = static_cast<std::size_t>(end - read_.begin());
        if (end != read_.end()) {
            ++readAt_;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

std::int64_t File::Tell() const {
    if (fd_ < 0) return -1;
    const off_t here = lseek(fd_, 0, SEEK_CUR);
    if (here < 0) return -1;
    return here + static_cast<std::int64_t>(pending_.size()) -
           static_cast<std::int64_t>(read_.size() - readAt_);
}

bool File::Seek(std::int64_t offset) {
    if (fd_ < 0 || offset < 0) return false;
    if (writing_ && !Flush()) return false;
    read_.clear();
    readAt_ = 0;
    return lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == offset;
}

std::int64_t File::Size() const {
    if (fd_ < 0) return -1;
    struct stat status;
    if (fstat(fd_, &status) != 0) return -1;
    return static_cast<std::int64_t>(status.st_size) + static_cast<std::int64_t>(pending_.size());
}

void CloseAllFiles() {
    // Closing unregisters, so work on a copy.
    const std::set<File*> files = OpenFiles();
    for (File* file : files) file->Close();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const int fd = OpenForReading(path);
    if (fd < 0) return false;
    // The length the file has now sizes the buffer, with one byte more so that the read that
    // finds the end needs no second buffer. The length is only a first guess: the file may grow
    // or shrink while it is read, so the read goes on to the end of the file, growing the
    // buffer as bytes come, and a length beyond kLargestFirstGuess is not believed at first.
    struct stat status;
    const std::size_t length = fstat(fd, &status) == 0 && status.st_size > 0
                                   ? static_cast<std::size_t>(status.st_size)
                                   : 0;
    bytes.resize(std::min(length, kLargestFirstGuess) + 1);
    std::size_t used = 0;
    bool ok = true;
    for (;;) {
        if (used == bytes.size()) bytes.resize(used + std::max(kBufferSize, used / 2));
        const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    close(fd);
    bytes.resize(ok ? used : 0);
    return ok;
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           Durability durability) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        NoteOutputFault();
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) {
        NoteOutputFault();
        return false;
    }
    // A full disk is a full disk for the file being replaced.
    bool ok = WriteAll(fd, BaseName(path), bytes.data(), bytes.size());
    if (durability == Durability::kSynced) ok = fsync(fd) == 0 && ok;
    ok = CloseDescriptor(fd) && ok;
    if (ok) {
        faults::BeforeChange();
        ok = rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        NoteOutputFault();
        faults::BeforeChange();
        unlink(temporary.c_str());
    }
    return ok;
}

void BeginRunOutputs(std::string kept) {
    RunOutputs fresh;
    fresh.kept = std::move(kept);
    TheRunOutputs() = std::move(fresh);
}

bool RunOutputFaulted() {
    return TheRunOutputs().faulted;
}

int RemoveRunOutputs() {
    const RunOutputs& outputs = TheRunOutputs();
    // The kept file is known by what it is on disk: "./Error1.msg" or a full path names it as
    // well as "Error1.msg" does.
    struct stat kept;
    const bool keptExists = !outputs.kept.empty() && lstat(outputs.kept.c_str(), &kept) == 0;
    int removed = 0;
    for (const std::string& path : outputs.paths) {
        // One the run discarded itself is gone already; whatever took its place is not ours.
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
        if (keptExists && status.st_dev == kept.st_dev && status.st_ino == kept.st_ino) continue;
        faults::BeforeChange();
        if (unlink(path.c_str()) == 0) ++removed;
    }
    return removed;
}

bool IsTemporaryNameOf(std::string_view name, std::string_view destination) {
    const auto [stem, extension] = SplitExtension(BaseName(destination));
    const std::size_t fixed = stem.size() + kTemporaryMark.size();
    if (name.size() != fixed + kTemporaryRandomLength + extension.size()) return false;
    if (name.substr(0, stem.size()) != stem ||
        name.substr(stem.size(), kTemporaryMark.size()) != kTemporaryMark ||
        name.substr(fixed + kTemporaryRandomLength) != extension) {
        return false;
    }
    const std::string_view random = name.substr(fixed, kTemporaryRandomLength);
    return random.find_first_not_of(kNameCharacters) == std::string_view::npos;
}

int RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(listing)) {
        if (IsTemporaryNameOf(entry->d_name, path)) stale.emplace_back(entry->d_name);
    }
    closedir(listing);
    int removed = 0;
    for (const std::string& name : stale) {
        const std::string full = folder + "/" + name;
        struct stat status;
        if (lstat(full.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) continue;
        faults::BeforeChange();
        if (unlink(full.c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace platform
