#include "platform/qt/single_instance.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/qt/private_folder.h"
#include "tests/support/program_folder.h"

namespace platform::qt {
namespace {

namespace fs = std::filesystem;

class SingleInstanceTest : public ::testing::Test {
  protected:
    SingleInstanceTest() {
        fs::create_directory(runtime.path() / "xdg");
        fs::permissions(runtime.path() / "xdg", fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", (runtime.path() / "xdg").c_str(), 1);
    }
    testsupport::TempProgramFolder runtime;
};

TEST_F(SingleInstanceTest, OneHolderPerProgramAndFolder) {
    auto first = std::make_unique<InstanceLock>("Corvane", "/opt/one");
    EXPECT_FALSE(first->anotherRunning());
    EXPECT_TRUE(InstanceLock("Corvane", "/opt/one").anotherRunning());
    EXPECT_TRUE(InstanceLock("Corvane", "/opt/one/").anotherRunning());  // the same folder
    EXPECT_FALSE(InstanceLock("Corvane", "/opt/two").anotherRunning());
    EXPECT_FALSE(InstanceLock("Vessane", "/opt/one").anotherRunning());
    first.reset();
    EXPECT_FALSE(InstanceLock("Corvane", "/opt/one").anotherRunning());
    EXPECT_EQ(fs::status(runtime.path() / "xdg" / "orvella").permissions() & fs::perms::all,
              fs::perms::owner_all);
}

TEST_F(SingleInstanceTest, PrivateFolderOpenToOthersIsRefused) {
    ASSERT_TRUE(PrivateFolder());
    fs::permissions(runtime.path() / "xdg" / "orvella",
                    fs::perms::owner_all | fs::perms::group_read, fs::perm_options::replace);
    EXPECT_FALSE(PrivateFolder());
    // Nobody can hold a lock there, so the program runs rather than refusing to start.
    EXPECT_FALSE(InstanceLock("Corvane", "/opt/one").anotherRunning());
}

}  // namespace
}  // namespace platform::qt
