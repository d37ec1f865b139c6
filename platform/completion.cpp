#include "platform/completion.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t kPayloadSize = 12;

// Builds the abstract-namespace address: a NUL byte, then exactly the name's characters.
socklen_t MakeAddress(Hwnd handle, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string name = CompletionAddress(handle);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

void PutLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::uint8_t* in) {
    return std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 | std::uint32_t{in[2]} << 16 |
           std::uint32_t{in[3]} << 24;
}

}  // namespace

std::string CompletionAddress(Hwnd handle) { return "orvella.hwnd." + std::to_string(handle); }

bool SendCompletion(Hwnd target, const Completion& completion) {
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    sockaddr_un address;
    const socklen_t length = MakeAddress(target, address);
    std::array<std::uint8_t, kPayloadSize> payload;
    PutLe32(payload.data(), completion.message);
    PutLe32(payload.data() + 4, completion.wParam);
    PutLe32(payload.data() + 8, completion.lParam);
    const ssize_t sent = sendto(fd, payload.data(), payload.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&address), length);
    close(fd);
    return sent == static_cast<ssize_t>(payload.size());
}

std::optional<CompletionReceiver> CompletionReceiver::OpenAt(Hwnd handle) {
    if (handle < kMinReceiverHandle || handle > kMaxReceiverHandle) return std::nullopt;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
    sockaddr_un address;
    const socklen_t length = MakeAddress(handle, address);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        close(fd);
        return std::nullopt;
    }
    return CompletionReceiver(fd, handle);
}

std::optional<CompletionReceiver> CompletionReceiver::Open() {
    std::random_device entropy;
    std::uniform_int_distribution<Hwnd> pick(kMinReceiverHandle, kMaxReceiverHandle);
    for (int attempt = 0; attempt < 32; ++attempt) {
        if (auto receiver = OpenAt(pick(entropy))) return receiver;
    }
    return std::nullopt;
}

CompletionReceiver::CompletionReceiver(CompletionReceiver&& other) noexcept
    : fd_(other.fd_), handle_(other.handle_) {
    other.fd_ = -1;
}

CompletionReceiver& CompletionReceiver::operator=(CompletionReceiver&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = other.fd_;
        handle_ = other.handle_;
        other.fd_ = -1;
    }
    return *this;
}

CompletionReceiver::~CompletionReceiver() {
    if (fd_ >= 0) close(fd_);
}

std::optional<Completion> CompletionReceiver::Receive(std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
        if (ready <= 0) return std::nullopt;

        std::array<std::uint8_t, kPayloadSize + 1> buffer;
        alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(ucred))> control;
        iovec io{buffer.data(), buffer.size()};
        msghdr header{};
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = control.data();
        header.msg_controllen = control.size();
        const ssize_t got = recvmsg(fd_, &header, MSG_DONTWAIT);
        if (got < 0) continue;

        bool ownUser = false;
        for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS) {
                ucred credentials;
                std::memcpy(&credentials, CMSG_DATA(c), sizeof credentials);
                ownUser = credentials.uid == getuid();
            }
        }
        if (ownUser && got == static_cast<ssize_t>(kPayloadSize) &&
            (header.msg_flags & MSG_TRUNC) == 0) {
            return Completion{GetLe32(buffer.data()), GetLe32(buffer.data() + 4),
                              GetLe32(buffer.data() + 8)};
        }
        if (Clock::now() >= deadline) return std::nullopt;
    }
}

}  // namespace platform
