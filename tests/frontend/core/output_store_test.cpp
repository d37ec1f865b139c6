// The output in memory: loading ComposeOut.bin (whose decoding the output decoding library's
// own tests cover byte by byte) and writing the play file.
#include "frontend/core/output_store.h"

#include <gtest/gtest.h>

#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::BytesFromHexText;

// Header, two plain tracks and one coded byte (B8, which run code 70 decodes to 00).
const Bytes kOutput = BytesFromHexText(R"(
    "MThd" 00 00 00 06  00 01  00 03  01 80
    "MTrk" 00 00 00 04  00 FF 2F 00
    "MTrk" 00 00 00 08  00 90 3C 64  00 FF 2F 00
    B8)");

class OutputStoreTest : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return (folder.path() / name).string(); }
    testsupport::TempProgramFolder folder;
    OutputStore store;
};

TEST_F(OutputStoreTest, LoadsDecodesAndWritesThePlayFile) {
    folder.Write("ComposeOut.bin", kOutput);
    ASSERT_TRUE(store.LoadComposeOutput(Path("ComposeOut.bin"), 70));
    EXPECT_EQ(store.OutputLen(), static_cast<std::int32_t>(kOutput.size()));
    EXPECT_EQ(store.OutputHeadLen(), static_cast<std::int32_t>(kOutput.size() - 1));
    EXPECT_EQ(store.OutputBuf().back(), 0x00);
    EXPECT_FALSE(store.Loading());

    ASSERT_TRUE(store.WritePlayFile(Path("Play.sti")));
    EXPECT_EQ(folder.ReadBytes("Play.sti"), store.OutputBuf());
}

TEST_F(OutputStoreTest, NothingCodedIsStillAnOutput) {
    const Bytes plainOnly(kOutput.begin(), kOutput.end() - 1);
    folder.Write("ComposeOut.bin", plainOnly);
    ASSERT_TRUE(store.LoadComposeOutput(Path("ComposeOut.bin"), 70));
    EXPECT_EQ(store.OutputHeadLen(), store.OutputLen());
    EXPECT_EQ(store.OutputBuf(), plainOnly);
}

TEST_F(OutputStoreTest, FailedLoadKeepsTheSongHeldBefore) {
    folder.Write("ComposeOut.bin", kOutput);
    ASSERT_TRUE(store.LoadComposeOutput(Path("ComposeOut.bin"), 70));
    const Bytes before = store.OutputBuf();

    const Bytes oneTrack(kOutput.begin(), kOutput.begin() + 14 + 12);
    folder.Write("Truncated.bin", oneTrack);
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"a single end of track", Path("Truncated.bin")},
        {"a missing file", Path("Missing.bin")},
        {"a folder", folder.path().string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(store.LoadComposeOutput(c.path, 70));
        EXPECT_EQ(store.OutputBuf(), before);
        EXPECT_EQ(store.OutputHeadLen(), static_cast<std::int32_t>(kOutput.size() - 1));
        EXPECT_FALSE(store.Loading());
    }
}

TEST_F(OutputStoreTest, EmptyOrLargeSongsAsPlayFile) {
    EXPECT_FALSE(store.WritePlayFile(Path("Play.sti")));  // nothing loaded: an empty file
    EXPECT_TRUE(folder.Exists("Play.sti"));
    EXPECT_FALSE(store.WritePlayFile((folder.path() / "no" / "Play.sti").string()));

    Bytes large = kOutput;
    large.resize(64000, 0x5A);
    folder.Write("ComposeOut.bin", large);
    ASSERT_TRUE(store.LoadComposeOutput(Path("ComposeOut.bin"), 70));
    ASSERT_TRUE(store.WritePlayFile(Path("Play.sti")));
    EXPECT_EQ(folder.ReadBytes("Play.sti").size(), 64000u);
    EXPECT_EQ(folder.ReadBytes("Play.sti"), store.OutputBuf());
}

}  // namespace
}  // namespace corvane
