// The output in memory: loading ComposeOut.bin (whose decoding the output decoding library's
// own tests cover byte by byte) and writing the play file.
#include "frontend/core/output_store.h"

#include <gtest/gtest.h>

#include "formats/output_coding.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::BytesFromHexText;

// Header, two plain tracks and an empty track coded with run code 70.
const Bytes kOutput = BytesFromHexText(R"(
    "MThd" 00 00 00 06  00 01  00 03  01 80
    "MTrk" 00 00 00 04  00 FF 2F 00
    "MTrk" 00 00 00 08  00 90 3C 64  00 FF 2F 00
    05 0B 28 20 B4 B3 B2 B5 B0 AE DD AD)");
constexpr std::size_t kCodedLength = 12;

// A coded track of `total` bytes, "MTrk" and length included (at least 12).
Bytes CodedTrack(std::size_t total, int runCode) {
    Bytes events;
    std::size_t left = total - 12;
    for (; left % 3 != 0; left -= 4) events.insert(events.end(), {0x00, 0xB0, 0x07, 0x64});
    for (; left > 0; left -= 3) events.insert(events.end(), {0x00, 0xC0, 0x05});
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes coded;
    formats::OutputTrackCoder(runCode).Append(testsupport::TrackChunk(events), coded);
    return coded;
}

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
    EXPECT_EQ(store.OutputHeadLen(), static_cast<std::int32_t>(kOutput.size() - kCodedLength));
    EXPECT_EQ(store.OutputBuf().back(), 0x00);
    EXPECT_FALSE(store.Loading());

    ASSERT_TRUE(store.WritePlayFile(Path("Play.sti")));
    EXPECT_EQ(folder.ReadBytes("Play.sti"), store.OutputBuf());
}

TEST_F(OutputStoreTest, NothingCodedIsStillAnOutput) {
    const Bytes plainOnly(kOutput.begin(), kOutput.end() - kCodedLength);
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
        std::int16_t runCode;
    } cases[] = {
        {"a single end of track", Path("Truncated.bin"), 70},
        {"a missing file", Path("Missing.bin"), 70},
        {"a folder", folder.path().string(), 70},
        {"another run's code", Path("ComposeOut.bin"), 71},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(store.LoadComposeOutput(c.path, c.runCode));
        EXPECT_EQ(store.OutputBuf(), before);
        EXPECT_EQ(store.OutputHeadLen(), static_cast<std::int32_t>(kOutput.size() - kCodedLength));
        EXPECT_FALSE(store.Loading());
    }
}

TEST_F(OutputStoreTest, EmptyOrLargeSongsAsPlayFile) {
    EXPECT_FALSE(store.WritePlayFile(Path("Play.sti")));  // nothing loaded: an empty file
    EXPECT_TRUE(folder.Exists("Play.sti"));
    EXPECT_FALSE(store.WritePlayFile((folder.path() / "no" / "Play.sti").string()));

    Bytes large(kOutput.begin(), kOutput.end() - kCodedLength);
    const Bytes track = CodedTrack(64000 - large.size(), 70);
    large.insert(large.end(), track.begin(), track.end());
    folder.Write("ComposeOut.bin", large);
    ASSERT_TRUE(store.LoadComposeOutput(Path("ComposeOut.bin"), 70));
    ASSERT_TRUE(store.WritePlayFile(Path("Play.sti")));
    EXPECT_EQ(folder.ReadBytes("Play.sti").size(), 64000u);
    EXPECT_EQ(folder.ReadBytes("Play.sti"), store.OutputBuf());
}

}  // namespace
}  // namespace corvane
