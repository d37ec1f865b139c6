// The completion datagram between a worker and its caller. A worker posts WM_KEYUP to the
// caller's handle; on Linux that post becomes a 12-byte datagram (message, wParam, lParam as
// little-endian 32-bit values) on the abstract unix socket "orvella.hwnd.<handle>". The
// receiver side is what the front end's hidden buttons and the test tools listen with.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "platform/window.h"

namespace platform {

struct Completion {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    bool failed() const { return (lParam & kCompletionFailed) != 0; }
    friend bool operator==(const Completion&, const Completion&) = default;
};

// Receivers pick handles in this range so that sums of handles in command lines stay in 32 bits.
constexpr Hwnd kMinReceiverHandle = 1;
constexpr Hwnd kMaxReceiverHandle = 2116010269;

// The abstract socket name (without its leading NUL byte) for a handle.
std::string CompletionAddress(Hwnd handle);

// Sends one completion without blocking for long. False when nobody listens, which a worker
// ignores: its exit code still tells the result.
bool SendCompletion(Hwnd target, const Completion& completion);

class CompletionReceiver {
public:
    // Binds a fresh handle from the receiver range; tries a few random handles before it gives up.
    static std::optional<CompletionReceiver> Open();
    static std::optional<CompletionReceiver> OpenAt(Hwnd handle);

    CompletionReceiver(CompletionReceiver&& other) noexcept;
    CompletionReceiver& operator=(CompletionReceiver&& other) noexcept;
    CompletionReceiver(const CompletionReceiver&) = delete;
    CompletionReceiver& operator=(const CompletionReceiver&) = delete;
    ~CompletionReceiver();

    Hwnd handle() const { return handle_; }
    // For event loops that watch the socket themselves.
    int fd() const { return fd_; }

    // Waits up to `timeout` for one well-formed datagram from our own user id. Datagrams of
    // another size or from another user are dropped without ending the wait.
    std::optional<Completion> Receive(std::chrono::milliseconds timeout);

private:
    CompletionReceiver(int fd, Hwnd handle) : fd_(fd), handle_(handle) {}
    int fd_ = -1;
    Hwnd handle_ = 0;
};

}  // namespace platform
