#include "platform/completion.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform {
namespace {

constexpr std::size_t kPayloadSize = 12;
constexpr std::chrono::milliseconds kSendRetryPause{5};

// Fills a socket address for `path`; false when the path does not fit.
bool MakeAddress(const std::string& path, sockaddr_un& address, socklen_t& length) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
}

void PutLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::uint8_t* in) {
    return std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 | std::uint32_t{in[2]} << 16 |
           std::uint32_t{in[3]} << 24;
}

// A socket file whose receiver is gone refuses a connection; a live one accepts it.
bool SocketIsStale(const sockaddr_un& address, socklen_t length) {
    const int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    const bool stale = connect(probe, reinterpret_cast<const sockaddr*>(&address), length) != 0 &&
                       errno == ECONNREFUSED;
    close(probe);
    return stale;
}

}  // namespace

std::string CompletionFolder() {
    // A session without a runtime folder (or with a variable left over from another one) uses
    // the folder in /tmp; sender and receiver, started from the same session, agree on it.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status;
    if (runtime != nullptr && runtime[0] == '/' && stat(runtime, &status) == 0 &&
        S_ISDIR(status.st_mode)) {
        return std::string(runtime) + "/orvella";
    }
    return "/tmp/orvella-" + std::to_string(geteuid());
}

bool CompletionFolderIsPrivate(bool create) {
    const std::string folder = CompletionFolder();
    if (create && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    // lstat: a link in place of the folder could lead anywhere, so it is not our folder.
    struct stat status;
    return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & 077) == 0;
}

std::string CompletionSocketPath(Hwnd handle) {
    return CompletionFolder() + "/hwnd." + std::to_string(handle);
}

bool SendCompletion(Hwnd target, const Completion& completion) {
    if (!CompletionFolderIsPrivate(false)) return false;
    sockaddr_un address;
    socklen_t length = 0;
    if (!MakeAddress(CompletionSocketPath(target), address, length)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    std::array<std::uint8_t, kPayloadSize> payload;
    PutLe32(payload.data(), completion.message);
    PutLe32(payload.data() + 4, completion.wParam);
    PutLe32(payload.data() + 8, completion.lParam);
    // A full queue empties as the receiver reads; wait a little for it rather than lose the one
    // message the caller is waiting for.
    const auto deadline = std::chrono::steady_clock::now() + kCompletionSendPatience;
    bool sent = false;
    for (;;) {
        const ssize_t result =
            sendto(fd, payload.data(), payload.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&address), length);
        if (result == static_cast<ssize_t>(payload.size())) {
            sent = true;
            break;
        }
        const bool queueFull = result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        if ((!queueFull && !(result < 0 && errno == EINTR)) ||
            std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(kSendRetryPause);
    }
    close(fd);
    return sent;
}

std::optional<CompletionReceiver> CompletionReceiver::OpenAt(Hwnd handle) {
    if (handle < kMinReceiverHandle || handle > kMaxReceiverHandle) return std::nullopt;
    if (!CompletionFolderIsPrivate(true)) return std::nullopt;
    const std::string path = CompletionSocketPath(handle);
    sockaddr_un address;
    socklen_t length = 0;
    if (!MakeAddress(path, address, length)) return std::nullopt;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
    bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    if (!bound && errno == EADDRINUSE && SocketIsStale(address, length) &&
        unlink(path.c_str()) == 0) {
        bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    }
    if (!bound) {
        close(fd);
        return std::nullopt;
    }
    return CompletionReceiver(fd, handle, path);
}

std::optional<CompletionReceiver> CompletionReceiver::Open() {
    std::random_device entropy;
    std::uniform_int_distribution<Hwnd> pick(kMinReceiverHandle, kMaxReceiverHandle);
    for (int attempt = 0; attempt < 32; ++attempt) {
        if (auto receiver = OpenAt(pick(entropy))) return receiver;
    }
    return std::nullopt;
}

void CompletionReceiver::Release() {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
    unlink(path_.c_str());
}

CompletionReceiver::CompletionReceiver(CompletionReceiver&& other) noexcept
    : fd_(other.fd_), handle_(other.handle_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

CompletionReceiver& CompletionReceiver::operator=(CompletionReceiver&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = other.fd_;
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

CompletionReceiver::~CompletionReceiver() {
    Release();
}

CompletionReceiver::Datagram CompletionReceiver::ReadOne(pid_t sender) {
    std::array<std::uint8_t, kPayloadSize + 1> buffer;
    alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(ucred))> control;
    iovec io{buffer.data(), buffer.size()};
    msghdr header{};
    header.msg_iov = &io;
    header.msg_iovlen = 1;
    header.msg_control = control.data();
    header.msg_controllen = control.size();
    const ssize_t got = recvmsg(fd_, &header, MSG_DONTWAIT);
    if (got < 0) return {errno == EINTR, std::nullopt};

    bool wanted = false;
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS) {
            ucred credentials;
            std::memcpy(&credentials, CMSG_DATA(c), sizeof credentials);
            wanted = credentials.uid == getuid() && (sender == 0 || credentials.pid == sender);
        }
    }
    Datagram datagram{true, std::nullopt};
    if (wanted && got == static_cast<ssize_t>(kPayloadSize) &&
        (header.msg_flags & MSG_TRUNC) == 0) {
        datagram.completion = Completion{GetLe32(buffer.data()), GetLe32(buffer.data() + 4),
                                         GetLe32(buffer.data() + 8)};
    }
    return datagram;
}

std::optional<Completion> CompletionReceiver::Receive(std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting{fd_, POLLIN, 0};
        const int ready =
            poll(&waiting, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
        if (ready <= 0) return std::nullopt;
        if (auto completion = ReadOne(0).completion) return completion;
        if (Clock::now() >= deadline) return std::nullopt;
    }
}

std::optional<Completion> CompletionReceiver::TakeQueued(pid_t sender) {
    std::optional<Completion> first;
    for (Datagram datagram = ReadOne(sender); datagram.read; datagram = ReadOne(sender)) {
        if (!first) first = datagram.completion;
    }
    return first;
}

}  // namespace platform
