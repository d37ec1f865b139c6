#include "platform/completion.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using platform::Completion;
using platform::CompletionReceiver;

TEST(CompletionTest, DatagramCarriesMessageCodeAndFlag) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    EXPECT_GE(receiver->handle(), platform::kMinReceiverHandle);
    EXPECT_LE(receiver->handle(), platform::kMaxReceiverHandle);
    ASSERT_TRUE(platform::SendCompletion(receiver->handle(), {257, 47, 0x20000000}));
    auto got = receiver->Receive(1s);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, (Completion{257, 47, 0x20000000}));
    EXPECT_TRUE(got->failed());
}

TEST(CompletionTest, PayloadIsTwelveLittleEndianBytesOnTheAbstractAddress) {
    // A raw receiver bound by hand sees exactly the documented layout.
    const platform::Hwnd handle = 1234567;
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "orvella.hwnd.1234567";
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address),
                   offsetof(sockaddr_un, sun_path) + 1 + name.size()),
              0);
    ASSERT_TRUE(platform::SendCompletion(handle, {0x101, 0x3B, 0}));
    std::uint8_t bytes[32];
    const ssize_t got = recv(fd, bytes, sizeof bytes, 0);
    close(fd);
    ASSERT_EQ(got, 12);
    const std::uint8_t expected[12] = {0x01, 0x01, 0, 0, 0x3B, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, expected, 12), 0);
}

TEST(CompletionTest, MalformedDatagramsAreDroppedAndAMissingReceiverIsNoError) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = platform::CompletionAddress(receiver->handle());
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const char shortPayload[5] = {1, 2, 3, 4, 5};
    sendto(fd, shortPayload, sizeof shortPayload, 0, reinterpret_cast<sockaddr*>(&address),
           offsetof(sockaddr_un, sun_path) + 1 + name.size());
    close(fd);
    EXPECT_FALSE(receiver->Receive(100ms));

    EXPECT_FALSE(platform::SendCompletion(receiver->handle() == 5 ? 6 : 5, {257, 1, 0}));
}

TEST(CompletionTest, HandlesOutsideTheReceiverRangeAreRefused) {
    EXPECT_FALSE(CompletionReceiver::OpenAt(0));
    EXPECT_FALSE(CompletionReceiver::OpenAt(platform::kMaxReceiverHandle + 1));
}

}  // namespace
