#include "platform/completion.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "tests/support/program_folder.h"

namespace {

using namespace std::chrono_literals;
using platform::Completion;
using platform::CompletionReceiver;
using testsupport::TempProgramFolder;

// A datagram socket bound to nothing, sending to the socket file of `handle`.
ssize_t SendRaw(platform::Hwnd handle, const void* bytes, std::size_t size) {
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = platform::CompletionSocketPath(handle);
    std::memcpy(address.sun_path, path.data(), path.size());
    const ssize_t sent = sendto(fd, bytes, size, 0, reinterpret_cast<sockaddr*>(&address),
                                offsetof(sockaddr_un, sun_path) + path.size() + 1);
    close(fd);
    return sent;
}

// Points the completion folder somewhere else for one test and back again afterwards.
class RuntimeFolder {
  public:
    explicit RuntimeFolder(const std::filesystem::path& path) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old;
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~RuntimeFolder() {
        if (old_) {
            setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }

  private:
    std::optional<std::string> old_;
};

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

TEST(CompletionTest, PayloadIsTwelveLittleEndianBytesOnTheHandlesSocketFile) {
    // A raw receiver bound by hand sees exactly the documented layout. Its handle is one that
    // a receiver just had, so no other test is using it.
    const platform::Hwnd handle = CompletionReceiver::Open()->handle();
    const std::string path = platform::CompletionFolder() + "/hwnd." + std::to_string(handle);
    EXPECT_EQ(platform::CompletionSocketPath(handle), path);
    ASSERT_FALSE(std::filesystem::exists(path));
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address),
                   offsetof(sockaddr_un, sun_path) + path.size() + 1),
              0);
    ASSERT_TRUE(platform::SendCompletion(handle, {0x101, 0x3B, 0}));
    std::uint8_t bytes[32];
    const ssize_t got = recv(fd, bytes, sizeof bytes, 0);
    close(fd);
    unlink(path.c_str());
    ASSERT_EQ(got, 12);
    const std::uint8_t expected[12] = {0x01, 0x01, 0, 0, 0x3B, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, expected, 12), 0);
}

TEST(CompletionTest, MalformedDatagramsAreDroppedAndAMissingReceiverIsNoError) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    const char shortPayload[5] = {1, 2, 3, 4, 5};
    SendRaw(receiver->handle(), shortPayload, sizeof shortPayload);
    EXPECT_FALSE(receiver->Receive(100ms));

    EXPECT_FALSE(platform::SendCompletion(receiver->handle() == 5 ? 6 : 5, {257, 1, 0}));
}

TEST(CompletionTest, HandlesOutsideTheReceiverRangeAreRefused) {
    EXPECT_FALSE(CompletionReceiver::OpenAt(0));
    EXPECT_FALSE(CompletionReceiver::OpenAt(platform::kMaxReceiverHandle + 1));
}

TEST(CompletionTest, TheFolderIsTheRuntimeFolderElseOneInTmpPerUser) {
    TempProgramFolder existing;
    const std::string inTmp = "/tmp/orvella-" + std::to_string(geteuid());
    struct Case {
        std::string variable;
        std::string folder;
    };
    const Case cases[] = {
        {existing.path().string(), existing.path().string() + "/orvella"},
        {existing.path().string() + "/gone", inTmp},
        {"relative/path", inTmp},
        {"", inTmp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variable);
        RuntimeFolder runtime(c.variable);
        EXPECT_EQ(platform::CompletionFolder(), c.folder);
    }
}

// The socket folder is made private, and one that is not is used by neither side.
TEST(CompletionTest, AFolderThatOthersCouldEnterIsRefused) {
    struct Case {
        const char* label;
        void (*prepare)(const std::filesystem::path& folder);
        bool usable;
    };
    const Case cases[] = {
        {"missing: made with mode 0700", [](const std::filesystem::path&) {}, true},
        {"ours with mode 0700", [](const std::filesystem::path& f) { mkdir(f.c_str(), 0700); },
         true},
        {"open to the group",
         [](const std::filesystem::path& f) {
             mkdir(f.c_str(), 0700);
             chmod(f.c_str(), 0750);
         },
         false},
        {"open to everybody",
         [](const std::filesystem::path& f) {
             mkdir(f.c_str(), 0700);
             chmod(f.c_str(), 01777);
         },
         false},
        {"a link to a private folder",
         [](const std::filesystem::path& f) {
             mkdir((f.string() + "-real").c_str(), 0700);
             symlink((f.string() + "-real").c_str(), f.c_str());
         },
         false},
        {"a file", [](const std::filesystem::path& f) { std::ofstream(f) << "x"; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempProgramFolder runtimeFolder;
        RuntimeFolder runtime(runtimeFolder.path());
        c.prepare(runtimeFolder.path() / "orvella");
        auto receiver = CompletionReceiver::Open();
        EXPECT_EQ(receiver.has_value(), c.usable);
        EXPECT_EQ(platform::CompletionFolderIsPrivate(false), c.usable);
        if (receiver) {
            struct stat status;
            ASSERT_EQ(lstat(platform::CompletionFolder().c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, 0700u);
            EXPECT_TRUE(platform::SendCompletion(receiver->handle(), {257, 46, 0}));
            EXPECT_TRUE(receiver->Receive(1s));
        }
    }
}

TEST(CompletionTest, AFolderOfAnotherOwnerIsRefused) {
    TempProgramFolder runtimeFolder;
    RuntimeFolder runtime(runtimeFolder.path());
    const auto folder = runtimeFolder.path() / "orvella";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    if (chown(folder.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "cannot give a folder to another user here (not root)";
    }
    EXPECT_FALSE(CompletionReceiver::Open());
    EXPECT_FALSE(platform::CompletionFolderIsPrivate(true));
}

TEST(CompletionTest, TheSocketFileGoesWithItsReceiverAndAStaleOneIsReplaced) {
    platform::Hwnd handle = 0;
    std::string path;
    {
        auto receiver = CompletionReceiver::Open();
        ASSERT_TRUE(receiver);
        handle = receiver->handle();
        path = platform::CompletionSocketPath(handle);
        EXPECT_TRUE(std::filesystem::is_socket(path));
        // A live receiver keeps its handle.
        EXPECT_FALSE(CompletionReceiver::OpenAt(handle));
        CompletionReceiver moved = std::move(*receiver);
        EXPECT_TRUE(std::filesystem::is_socket(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    // A socket file whose receiver died without closing.
    const int dead = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address),
                   offsetof(sockaddr_un, sun_path) + path.size() + 1),
              0);
    close(dead);
    ASSERT_TRUE(std::filesystem::exists(path));
    auto again = CompletionReceiver::OpenAt(handle);
    ASSERT_TRUE(again);
    ASSERT_TRUE(platform::SendCompletion(handle, {257, 47, 0}));
    EXPECT_TRUE(again->Receive(1s));
}

// What is queued is taken at once and only the sender asked for counts; the rest is dropped,
// so the queue has room again.
TEST(CompletionTest, TakingTheQueueKeepsOnlyTheSendersFirstCompletion) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    const std::uint8_t cut[5] = {0x01, 0x01, 0, 0, 47};
    ASSERT_EQ(SendRaw(receiver->handle(), cut, sizeof cut), 5);
    ASSERT_TRUE(platform::SendCompletion(receiver->handle(), {257, 47, 0}));
    ASSERT_TRUE(platform::SendCompletion(receiver->handle(), {257, 46, 0}));
    EXPECT_EQ(receiver->TakeQueued(getpid()), (Completion{257, 47, 0}));
    EXPECT_FALSE(receiver->Receive(0ms));

    ASSERT_TRUE(platform::SendCompletion(receiver->handle(), {257, 47, 0}));
    EXPECT_FALSE(receiver->TakeQueued(getpid() + 1));
    EXPECT_FALSE(receiver->Receive(0ms));
}

TEST(CompletionTest, TheSenderWaitsForRoomInAFullQueue) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    const std::uint8_t filler[12] = {0x01, 0x01, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    int queued = 0;
    while (queued < 1000 && SendRaw(receiver->handle(), filler, sizeof filler) == 12) ++queued;
    ASSERT_LT(queued, 1000) << "the queue never filled";

    std::thread reader([&] {
        std::this_thread::sleep_for(200ms);
        for (int i = 0; i < queued; ++i) receiver->Receive(1s);
    });
    const auto start = std::chrono::steady_clock::now();
    const bool sent = platform::SendCompletion(receiver->handle(), {257, 51, 0});
    reader.join();
    EXPECT_TRUE(sent);
    EXPECT_LT(std::chrono::steady_clock::now() - start, platform::kCompletionSendPatience);
    EXPECT_EQ(receiver->Receive(1s), (Completion{257, 51, 0}));

    // Nobody reading: the sender gives up after its patience instead of blocking the worker.
    while (SendRaw(receiver->handle(), filler, sizeof filler) == 12) {
    }
    const auto again = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::SendCompletion(receiver->handle(), {257, 51, 0}));
    const auto waited = std::chrono::steady_clock::now() - again;
    EXPECT_GE(waited, platform::kCompletionSendPatience - 50ms);
    EXPECT_LT(waited, platform::kCompletionSendPatience + 3s);
}

// Runs foreign_sender as the nobody user against `socket`; its report, or nothing when this
// machine cannot run a program as another user.
std::optional<std::string> RunAsAnotherUser(const std::string& socket, int count) {
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
    const std::string command = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups " +
                                std::string(ORVELLA_FOREIGN_SENDER) + " '" + socket + "' " +
                                std::to_string(count) + " 2>/dev/null";
    const std::string report = testsupport::CommandOutput(command);
    if (!report.starts_with("delivered=")) return std::nullopt;
    return report;
}

TEST(CompletionTest, AnotherUserCanNeitherDeliverNorCrowdOutACompletion) {
    auto receiver = CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    const auto report = RunAsAnotherUser(platform::CompletionSocketPath(receiver->handle()), 50);
    if (!report) {
        GTEST_SKIP() << "cannot run a program as another user here (needs root and setpriv)";
    }
    EXPECT_EQ(*report, "delivered=0 taken=0\n");
    // The worker's own completion still gets through, and it is the only one.
    ASSERT_TRUE(platform::SendCompletion(receiver->handle(), {257, 46, 0}));
    EXPECT_EQ(receiver->Receive(1s), (Completion{257, 46, 0}));
    EXPECT_FALSE(receiver->Receive(50ms));
}

}  // namespace
