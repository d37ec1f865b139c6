// The stand-in for the desktop window system that the workers were designed around: a window
// class records a window procedure, creating a window delivers the creation message before the
// call returns, and a message loop takes posted messages in order until the quit message.
// Posting to any handle that is not one of this process's own windows sends the completion
// datagram (completion.h), which is how a worker reports back to its caller.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

using Hwnd = std::uint32_t;
using WParam = std::uint32_t;
using LParam = std::uint32_t;
using LResult = std::int32_t;
using WndProc = LResult (*)(Hwnd, std::uint32_t message, WParam, LParam);

constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;

// lParam bit 29 of a completion: the caller reads it as "the step failed".
constexpr LParam kCompletionFailed = 0x20000000;

// Handles of this process's own windows lie above every handle a receiver may pick, so a
// post can tell the two apart.
constexpr Hwnd kFirstOwnWindow = 0x80000001u;

[[nodiscard]] bool RegisterWindowClass(std::string_view className, WndProc proc);

// Creates an invisible window of a registered class and runs its procedure with WM_CREATE
// before returning. Returns 0 when the class is unknown.
[[nodiscard]] Hwnd CreateWindow(std::string_view className, std::string_view title);

// Queues the message for one of our own windows, or sends the completion datagram to a
// caller's handle. A missing receiver is not an error: the result is still true.
bool PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam);

void PostQuitMessage(int exitCode);

// Dispatches queued messages in order until the quit message and returns its exit code.
// Nothing outside posts to a worker, so an empty queue without a quit message ends with 0.
int RunMessageLoop();

LResult DefWindowProc(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam);

// Forgets every class, window and queued message; for tests that run a skeleton twice.
void ResetWindowSystem();

}  // namespace platform
