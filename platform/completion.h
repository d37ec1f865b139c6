// The completion datagram between a worker and its caller. A worker posts WM_KEYUP to the
// caller's handle; on Linux that post becomes a 12-byte datagram (message, wParam, lParam as
// little-endian 32-bit values) on the unix socket "hwnd.<handle>" in the user's own completion
// folder. The receiver side is what the front end's hidden buttons and the test tools listen
// with.
//
// The folder is private (mode 0700, ours): another local user can neither send a completion
// nor fill a receiver's queue so that the worker's own completion is lost. A folder that exists
// with another owner or wider permissions is refused rather than used.
#pragma once

#include <sys/types.h>

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

// How long a worker keeps trying while the receiver's queue is full.
constexpr std::chrono::milliseconds kCompletionSendPatience{1000};

// "$XDG_RUNTIME_DIR/orvella" when that variable names an existing folder by its absolute path,
// else "/tmp/orvella-<uid>".
std::string CompletionFolder();

// True when the completion folder exists as a folder of our own that nobody else may enter.
// With `create`, a missing folder is made first (mode 0700).
bool CompletionFolderIsPrivate(bool create);

// The socket file of a handle: "<folder>/hwnd.<handle>".
std::string CompletionSocketPath(Hwnd handle);

// Sends one completion; while the receiver's queue is full it retries for up to
// kCompletionSendPatience. False when nobody listens, which a worker ignores: its exit code
// still tells the result.
bool SendCompletion(Hwnd target, const Completion& completion);

class CompletionReceiver {
  public:
    // Binds a fresh handle from the receiver range; tries a few random handles before it gives up.
    static std::optional<CompletionReceiver> Open();
    // Binds the given handle. A socket file left there by a receiver that is gone is replaced;
    // one that still has a receiver is not.
    static std::optional<CompletionReceiver> OpenAt(Hwnd handle);

    CompletionReceiver(CompletionReceiver&& other) noexcept;
    CompletionReceiver& operator=(CompletionReceiver&& other) noexcept;
    CompletionReceiver(const CompletionReceiver&) = delete;
    CompletionReceiver& operator=(const CompletionReceiver&) = delete;
    // Closes the socket and removes its file.
    ~CompletionReceiver();

    Hwnd handle() const { return handle_; }
    // For event loops that watch the socket themselves.
    int fd() const { return fd_; }

    // Waits up to `timeout` for one well-formed datagram from our own user id. Datagrams of
    // another size or from another user are dropped without ending the wait.
    std::optional<Completion> Receive(std::chrono::milliseconds timeout);

    // Takes every datagram queued now, without waiting, so that a backlog cannot fill the queue;
    // returns the first well-formed one that the process `sender` sent, and drops the others.
    std::optional<Completion> TakeQueued(pid_t sender);

  private:
    struct Datagram {
        bool read = false;  // one was taken off the queue (or the read was interrupted)
        std::optional<Completion> completion;
    };
    // Reads one datagram; it is a completion when well-formed and sent by our own user (and by
    // the process `sender`, unless that is 0).
    Datagram ReadOne(pid_t sender);

    CompletionReceiver(int fd, Hwnd handle, std::string path)
        : fd_(fd), handle_(handle), path_(std::move(path)) {}
    void Release();

    int fd_ = -1;
    Hwnd handle_ = 0;
    std::string path_;
};

}  // namespace platform
