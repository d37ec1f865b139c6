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
#include <cstring>
#include <map>
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

// Why a name that holds something other than a regular file cannot take an output, beside the
// system's error numbers: no error number says it in words a user can map to a FIFO or device.
constexpr int kNotRegularFile = -1;

std::set<File*>& OpenFiles() {
    static std::set<File*> files;
    return files;
}

// A file the run created or emptied, as it was when the run had it.
struct NotedOutput {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
};

struct RunOutputs {
    std::vector<NotedOutput> noted;  // in order
    bool faulted = false;
    // The first failure of each output's latest attempt to be created or written.
    std::map<std::string, int> failures;
    std::string kept;  // the run's error file
    // What the run wrote into the kept file since it emptied it, and whether a write or the
    // close of it failed, so that the words can go in again once there is room.
    std::string keptWords;
    bool keptCut = false;
};

RunOutputs& TheRunOutputs() {
    static RunOutputs outputs;
    return outputs;
}

bool SameFile(const struct stat& a, dev_t device, ino_t inode) {
    return a.st_dev == device && a.st_ino == inode;
}

void NoteRunOutput(const std::string& path, const struct stat& made) {
    std::vector<NotedOutput>& noted = TheRunOutputs().noted;
    const auto found = std::find_if(noted.begin(), noted.end(),
                                    [&](const NotedOutput& output) { return output.path == path; });
    if (found == noted.end()) {
        noted.push_back({path, made.st_dev, made.st_ino});
    } else {
        found->device = made.st_dev;
        found->inode = made.st_ino;
    }
}

// A noted output the run removed itself: whatever comes to its name later is not the run's, even
// should it get the same inode.
void ForgetRunOutput(const std::string& path) {
    std::vector<NotedOutput>& noted = TheRunOutputs().noted;
    std::erase_if(noted, [&](const NotedOutput& output) { return output.path == path; });
}

// An attempt to create or write `path` begins: an earlier failure of it is no longer its reason.
void BeginOutputAttempt(const std::string& path) {
    TheRunOutputs().failures.erase(path);
}

void NoteOutputFault(const std::string& path, int error) {
    RunOutputs& outputs = TheRunOutputs();
    outputs.faulted = true;
    outputs.failures.emplace(path, error);
}

// Whether `made` is the run's kept file, known by what it is on disk.
bool IsKeptFile(const struct stat& made) {
    const std::string& kept = TheRunOutputs().kept;
    struct stat status;
    return !kept.empty() && lstat(kept.c_str(), &status) == 0 &&
           SameFile(status, made.st_dev, made.st_ino);
}

// Removes `path`, which `status` describes; a file that held data gives its room back.
bool RemoveFile(const std::string& path, const struct stat& status) {
    faults::BeforeChange();
    if (unlink(path.c_str()) != 0) return false;
    if (status.st_size > 0) faults::RoomFreed();
    return true;
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

int RefusalOf(const struct stat& status) {
    return S_ISDIR(status.st_mode) ? EISDIR : kNotRegularFile;
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

// A file of our own in place of what stands at `path`, made where nothing else can be.
int CreateInstead(const std::string& path, int flags) {
    if (unlink(path.c_str()) != 0) return -1;
    return open(path.c_str(), flags | O_EXCL, 0666);
}

// Describes the file `fd` is open on in `made`; false, with `error` set, when there is none or
// it is no regular file.
bool DescribeOpenFile(int fd, struct stat& made, int& error) {
    if (fd < 0 || fstat(fd, &made) != 0) {
        error = errno;
        return false;
    }
    if (!S_ISREG(made.st_mode)) error = RefusalOf(made);
    return S_ISREG(made.st_mode);
}

// Opens an output: created when missing, emptied unless appending; `made` describes the file.
// A symbolic link at the name, and a regular file with other names too (a hard link), are
// replaced by a file of our own instead of being written through (the other names may be
// anyone's); anything else that is not a regular file is refused before it is changed. -1 with
// `error` set (an error number, or kNotRegularFile) when the output cannot be had.
int OpenForWriting(const std::string& path, bool append, struct stat& made, int& error) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        error = RefusalOf(status);
        return -1;
    }
    faults::BeforeChange();
    const int flags =
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (append ? O_APPEND : 0);
    int fd = open(path.c_str(), flags, 0666);
    if (fd < 0 && errno == ELOOP) fd = CreateInstead(path, flags);
    // The links are counted on the open file, which nothing can change before it is emptied.
    bool regular = DescribeOpenFile(fd, made, error);
    if (regular && made.st_nlink > 1) {
        close(fd);
        fd = CreateInstead(path, flags);
        regular = DescribeOpenFile(fd, made, error);
    }
    if (regular && !append && ftruncate(fd, 0) != 0) {
        error = errno;
        regular = false;
    }
    if (!regular && fd >= 0) close(fd);
    return regular ? fd : -1;
}

// Writes every byte, as the fault plan allows; 0, or the error number of the first failure.
int WriteAll(int fd, std::string_view name, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        if (!faults::WriteAllowed(name)) return errno;
        const ssize_t written = write(fd, at, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
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
    kept_ = other.kept_;
    device_ = other.device_;
    inode_ = other.inode_;
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
    kept_ = false;
    if (!writing_) {
        fd_ = OpenForReading(path);
        if (fd_ < 0) return false;
    } else {
        const bool append = mode == FileMode::kAppendText;
        BeginOutputAttempt(path);
        struct stat made;
        int error = 0;
        fd_ = OpenForWriting(path, append, made, error);
        if (fd_ < 0) {
            NoteOutputFault(path, error);
            return false;
        }
        device_ = made.st_dev;
        inode_ = made.st_ino;
        // What an appended file held before is not this run's to remove, nor its words.
        RunOutputs& outputs = TheRunOutputs();
        if (IsKeptFile(made)) {
            kept_ = !append;
            outputs.keptWords.clear();
            outputs.keptCut = false;
        }
        if (!append) NoteRunOutput(path, made);
    }
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

void File::NoteWriteFault(int error) {
    good_ = false;
    NoteOutputFault(path_, error);
    if (kept_) TheRunOutputs().keptCut = true;
}

bool File::Flush() {
    if (!pending_.empty()) {
        if (kept_) TheRunOutputs().keptWords.append(pending_.data(), pending_.size());
        if (good_) {
            const int error = WriteAll(fd_, BaseName(path_), pending_.data(), pending_.size());
            if (error != 0) NoteWriteFault(error);
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
        if (!CloseDescriptor(fd_)) NoteWriteFault(errno);
    } else {
        close(fd_);
    }
    fd_ = -1;
    return good_;
}

bool File::CloseOrDiscard() {
    if (Close()) return true;
    if (writing_ && !path_.empty()) {
        // Only the file written here goes; one put at its name meanwhile is not ours.
        struct stat status;
        if (lstat(path_.c_str(), &status) == 0 && SameFile(status, device_, inode_) &&
            RemoveFile(path_, status)) {
            ForgetRunOutput(path_);
        }
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
    BeginOutputAttempt(path);
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        NoteOutputFault(path, RefusalOf(status));
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) {
        NoteOutputFault(path, errno);
        return false;
    }
    // A full disk is a full disk for the file being replaced.
    int error = WriteAll(fd, BaseName(path), bytes.data(), bytes.size());
    if (durability == Durability::kSynced && fsync(fd) != 0 && error == 0) error = errno;
    if (!CloseDescriptor(fd) && error == 0) error = errno;
    if (error == 0) {
        faults::BeforeChange();
        if (rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    }
    if (error != 0) {
        NoteOutputFault(path, error);
        if (lstat(temporary.c_str(), &status) == 0) RemoveFile(temporary, status);
    }
    return error == 0;
}

void BeginRunOutputs(std::string kept) {
    RunOutputs fresh;
    fresh.kept = std::move(kept);
    TheRunOutputs() = std::move(fresh);
}

bool RunOutputFaulted() {
    return TheRunOutputs().faulted;
}

std::string OutputFailureReason(const std::string& path) {
    const std::map<std::string, int>& failures = TheRunOutputs().failures;
    const auto found = failures.find(path);
    if (found == failures.end()) return {};
    if (found->second == kNotRegularFile) return "Not a regular file";
    return std::strerror(found->second);
}

int RemoveRunOutputs() {
    const RunOutputs& outputs = TheRunOutputs();
    // The kept file is known by what it is on disk: "./Error1.msg" or a full path names it as
    // well as "Error1.msg" does.
    struct stat kept;
    const bool keptExists = !outputs.kept.empty() && lstat(outputs.kept.c_str(), &kept) == 0;
    int removed = 0;
    for (const NotedOutput& output : outputs.noted) {
        // One the run discarded itself is gone already; whatever took its place is not ours.
        struct stat status;
        if (lstat(output.path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            !SameFile(status, output.device, output.inode)) {
            continue;
        }
        if (keptExists && SameFile(status, kept.st_dev, kept.st_ino)) continue;
        if (RemoveFile(output.path, status)) ++removed;
    }
    return removed;
}

bool RestoreKeptFile() {
    RunOutputs& outputs = TheRunOutputs();
    if (!outputs.keptCut) return true;
    const std::string words = std::move(outputs.keptWords);
    outputs.keptWords.clear();
    outputs.keptCut = false;
    struct stat made;
    int error = 0;
    const int fd = OpenForWriting(outputs.kept, false, made, error);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, BaseName(outputs.kept), words.data(), words.size()) == 0;
    // A part of the words could pass for all of them: then none stay.
    const bool whole = written || ftruncate(fd, 0) == 0;
    return CloseDescriptor(fd) && written && whole;
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
        if (RemoveFile(full, status)) ++removed;
    }
    return removed;
}

}  // namespace platform
