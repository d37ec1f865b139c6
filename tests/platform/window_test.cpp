#include "platform/window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/completion.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::uint32_t> seen;

platform::LResult Recorder(platform::Hwnd window, std::uint32_t message, platform::WParam wParam,
                           platform::LParam) {
    seen.push_back(message);
    if (message == platform::WM_CREATE) {
        platform::PostMessage(window, platform::WM_PAINT, 0, 0);
        platform::PostMessage(window, platform::WM_RBUTTONUP, 0, 0);
    } else if (message == platform::WM_RBUTTONUP) {
        platform::PostQuitMessage(7 + static_cast<int>(wParam));
    }
    return 0;
}

TEST(WindowTest, CreationRunsInsideTheCallAndTheLoopEndsAtQuit) {
    platform::ResetWindowSystem();
    seen.clear();
    ASSERT_TRUE(platform::RegisterWindowClass("MyWinClass", Recorder));
    EXPECT_FALSE(platform::RegisterWindowClass("MyWinClass", Recorder));
    const platform::Hwnd window = platform::CreateWindow("MyWinClass", "Window Skeleton");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{platform::WM_CREATE}));
    platform::PostMessage(window, platform::WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(platform::RunMessageLoop(), 7);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{platform::WM_CREATE, platform::WM_PAINT,
                                                platform::WM_RBUTTONUP, platform::WM_LBUTTONUP}));
    EXPECT_EQ(platform::CreateWindow("Unknown", "x"), 0u);
}

TEST(WindowTest, PostingToAForeignHandleSendsTheCompletion) {
    platform::ResetWindowSystem();
    auto receiver = platform::CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    platform::PostMessage(receiver->handle(), platform::WM_KEYUP, 46, 0);
    auto got = receiver->Receive(1s);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->message, 257u);
    EXPECT_EQ(got->wParam, 46u);
    EXPECT_FALSE(got->failed());
}

}  // namespace
