// A MIDI melody through the song loader and then the chord maker, in one program folder.
#include <gtest/gtest.h>

#include "tests/support/hex_text.h"
#include "tests/workers/chordmaker/tressil_test_support.h"

namespace chordmaker {
namespace {

TEST(ChainTest, MidiMelodyThroughAmbrelThenTressil) {
    testsupport::TempProgramFolder folder;
    const std::string text =
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt");
    ASSERT_FALSE(text.empty());
    folder.Write("InPut.bin", testsupport::BytesFromHexText(text));

    const auto loaded = testsupport::RunWorker("Ambrel", folder.path(), "/2 InPut.bin {hwnd} 2426");
    ASSERT_EQ(loaded.exitCode, 0) << folder.ReadText("Error1.msg");
    ASSERT_TRUE(loaded.completion.has_value());
    EXPECT_FALSE(loaded.completion->failed());

    folder.Write("KeysData.Aco", testing::KeyLine(1, 0));
    const auto result = testing::RunTressil(folder, "3 {hwnd} 2426 1");
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_EQ(result.errorText, "");
    ASSERT_EQ(result.records.size(), 16u);
    // The tune ends on C: the last measure holds the key chord and the ending code.
    EXPECT_EQ(result.records.back().substr(0, 12), "015:8:C....:");
    EXPECT_EQ(result.records.front().substr(22, 12), "1:C  Major  ");
    for (const auto& record : result.records) EXPECT_EQ(record[12], '2');
}

}  // namespace
}  // namespace chordmaker
