// The test styles the build compiles beside the ready program folder: each one decodes to what
// its description says, and together they give every generator, play mode, style version and
// section mode something to play in every time signature.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "formats/style_file.h"
#include "formats/style_text.h"
#include "tests/support/program_folder.h"

namespace formats {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::filesystem::path> Sources() {
    std::vector<std::filesystem::path> sources;
    for (const auto& entry :
         std::filesystem::directory_iterator(testsupport::SourceDir() / "tests" / "styles")) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 10 && entry.path().extension() == ".txt")
            sources.push_back(entry.path());
    }
    return sources;
}

TEST(TestStyles, EachCompiledStyleDecodesToItsDescription) {
    const auto sources = Sources();
    ASSERT_FALSE(sources.empty());
    for (const auto& source : sources) {
        SCOPED_TRACE(source.filename().string());
        const auto described = ParseStyleText(ReadFile(source));
        ASSERT_TRUE(described.ok()) << described.problem.Text();
        // Users see every style of the program folder, so the test styles are compiled elsewhere.
        const std::string fileName = described.value->FileName();
        EXPECT_FALSE(std::filesystem::exists(testsupport::BinDir() / fileName));
        const std::string file = ReadFile(testsupport::StylePath(fileName));
        const std::vector<std::uint8_t> bytes(file.begin(), file.end());
        const auto decoded = ReadStyleFile(bytes, described.value->code, described.value->version);
        ASSERT_TRUE(decoded.ok()) << decoded.problem.Text();
        EXPECT_EQ(*decoded.value, *described.value);
    }
}

TEST(TestStyles, CoverEveryGeneratorModeAndVersionInEachTimeSignature) {
    for (TimeSignature ts :
         {TimeSignature::k2_4, TimeSignature::k3_4, TimeSignature::k4_4, TimeSignature::k6_8}) {
        SCOPED_TRACE(std::string(TimeSignatureName(ts)));
        std::set<int> stepsPerQuarter;
        bool old = false, middle = false, late = false, fresh = false;
        bool keyRelative = false, keyRelativeLate = false, oneNote = false, sustain = false;
        std::set<int> playModes;
        for (const auto& source : Sources()) {
            const auto result = ParseStyleText(ReadFile(source));
            ASSERT_TRUE(result.ok()) << result.problem.Text();
            const Style& style = *result.value;
            if (style.timeSignature != ts) continue;
            stepsPerQuarter.insert(StepsPerQuarter(style.version));
            old = old || style.version < 10;
            middle = middle || (style.version >= 10 && style.version < 30);
            late = late || style.version == 30;
            fresh = fresh || style.version >= kFirstNewVersion;
            ASSERT_EQ(style.tracks.size(), 5u);
            EXPECT_EQ(style.tracks.back().channel, kDrumChannel);
            for (const Track& track : style.tracks) {
                if (track.channel != kDrumChannel) playModes.insert(track.playMode);
                keyRelative = keyRelative || track.styleFlag1 != 0;
                keyRelativeLate = keyRelativeLate || (track.styleFlag1 != 0 && style.version >= 30);
                oneNote = oneNote || (track.base == -36 && style.version >= 30);
                sustain = sustain || track.sustain != 0;
                // Every section mode: 10 modes by section code before version 31, 16 after;
                // only the pause mode of old styles stays silent.
                const int modes = style.version >= kFirstNewVersion ? 16 : 10;
                ASSERT_EQ(static_cast<int>(track.modes.size()), modes) << track.name;
                for (const Mode& mode : track.modes) {
                    const bool pause = modes == 10 && mode.index == 9;
                    EXPECT_EQ(mode.HasCells(), !pause) << track.name << " mode " << mode.index;
                }
            }
        }
        EXPECT_EQ(stepsPerQuarter, (std::set<int>{8, 12}));
        EXPECT_TRUE(old && middle && late && fresh);
        EXPECT_TRUE(keyRelative && keyRelativeLate && oneNote && sustain);
        EXPECT_EQ(playModes, (std::set<int>{0, 1, 2, 3}));
    }
}

}  // namespace
}  // namespace formats
