#include "platform/window.h"

#include <deque>
#include <map>
#include <string>

#include "platform/completion.h"

namespace platform {
namespace {

struct QueuedMessage {
    Hwnd window;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};

struct WindowSystem {
    std::map<std::string, WndProc, std::less<>> classes;
    std::map<Hwnd, WndProc> windows;
    std::deque<QueuedMessage> queue;
    Hwnd nextWindow = kFirstOwnWindow;
};

WindowSystem& System() {
    static WindowSystem system;
    return system;
}

}  // namespace

bool RegisterWindowClass(std::string_view className, WndProc proc) {
    if (proc == nullptr || className.empty()) return false;
    return System().classes.emplace(std::string(className), proc).second;
}

Hwnd CreateWindow(std::string_view className, std::string_view /*title*/) {
    auto& system = System();
    auto found = system.classes.find(className);
    if (found == system.classes.end()) return 0;
    const Hwnd window = system.nextWindow++;
    system.windows[window] = found->second;
    found->second(window, WM_CREATE, 0, 0);
    return window;
}

bool PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
    auto& system = System();
    if (system.windows.contains(window)) {
        system.queue.push_back({window, message, wParam, lParam});
        return true;
    }
    SendCompletion(window, Completion{message, wParam, lParam});
    return true;
}

void PostQuitMessage(int exitCode) {
    System().queue.push_back({0, WM_QUIT, static_cast<WParam>(exitCode), 0});
}

int RunMessageLoop() {
    auto& system = System();
    while (!system.queue.empty()) {
        const QueuedMessage next = system.queue.front();
        system.queue.pop_front();
        if (next.message == WM_QUIT) return static_cast<int>(next.wParam);
        auto found = system.windows.find(next.window);
        if (found != system.windows.end()) {
            found->second(next.window, next.message, next.wParam, next.lParam);
        }
    }
    return 0;
}

LResult DefWindowProc(Hwnd /*window*/, std::uint32_t /*message*/, WParam /*wParam*/,
                      LParam /*lParam*/) {
    return 0;
}

void ResetWindowSystem() {
    System() = WindowSystem{};
}

}  // namespace platform
