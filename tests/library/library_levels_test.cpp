// The library's default mix: every style, alone in all five slots, composed on the fixture song
// with the main job's settings and rendered with the General MIDI sound font. The melody must
// stay on top: the accompaniment as a whole at most a little louder than the melody, and no
// single accompaniment part louder than it.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/library/library_catalog.h"
#include "tests/library/library_fixture.h"
#include "tests/library/render_levels.h"
#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

class LibraryLevels : public testing::TestWithParam<Signature> {};

TEST_P(LibraryLevels, MelodyStaysOnTopOfEveryStyle) {
    const Signature& ts = GetParam();
    testsupport::TempProgramFolder folder;
    std::vector<std::string> songs;
    for (const StyleInfo& style : ReadLibraryCatalog(testsupport::SourceDir() / "styles")) {
        if (style.signature != ts.name) continue;
        SCOPED_TRACE(style.FileName());
        const std::array<const StyleInfo*, 5> slots = {&style, &style, &style, &style, &style};
        const RunResult run = ComposeFixture(ts, slots, MainJobSettings());
        ASSERT_TRUE(run.composed) << run.error;
        const std::string name = style.code + ".mid";
        folder.Write(name, run.decoded);
        songs.push_back((folder.path() / name).string());
    }
    ASSERT_FALSE(songs.empty());
    const auto levels = RenderLevels(songs);
    ASSERT_EQ(levels.size(), songs.size()) << "partlevels could not render the songs";
    for (std::size_t i = 0; i < songs.size(); ++i) {
        SCOPED_TRACE(songs[i]);
        ExpectMelodyOnTop(levels[i]);
    }
}

// The levels above hold for the main job only while it composes with the same settings.
TEST(LibraryLevels, MainJobComposesWithTheCheckedSettings) {
    std::ifstream script(testsupport::SourceDir() / "scripts" / "run.sh");
    std::optional<int> sectVol;
    std::optional<std::string> echoTokens;
    std::string line;
    while (std::getline(script, line)) {
        const std::string volume = "sectionVolume=", echo = "echoLevels=\"";
        if (line.rfind(volume, 0) == 0) sectVol = std::stoi(line.substr(volume.size()));
        if (line.rfind(echo, 0) == 0) {
            echoTokens = line.substr(echo.size(), line.find('"', echo.size()) - echo.size());
        }
    }
    ASSERT_TRUE(sectVol && echoTokens) << "run.sh names no sectionVolume or echoLevels";
    EXPECT_EQ(*sectVol, MainJobSettings().sectVol);
    EXPECT_EQ(*echoTokens, MainJobSettings().echoTokens);
}

INSTANTIATE_TEST_SUITE_P(EachTimeSignature, LibraryLevels, testing::ValuesIn(kSignatures),
                         [](const testing::TestParamInfo<Signature>& info) {
                             return std::string(1, info.param.name[0]) + "_" +
                                    std::string(1, info.param.name[2]);
                         });

}  // namespace
}  // namespace librarytest
