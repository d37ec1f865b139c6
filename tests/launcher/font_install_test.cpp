// The launcher's font steps: counting the faces of a font file, the per-user font folder, and
// the copy that stands for installing the font.
#include "launcher/font_install.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/launcher/font_fixtures.h"
#include "tests/support/program_folder.h"

namespace vessane::testing {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object (nullopt unsets it).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class FontInstallTest : public ::testing::Test {
  protected:
    testsupport::TempProgramFolder temp;
    const fs::path home = temp.path() / "home";
    const fs::path dataHome = temp.path() / "data";
    ScopedEnv homeEnv{"HOME", home.string()};
    ScopedEnv dataEnv{"XDG_DATA_HOME", dataHome.string()};
    const fs::path installed = dataHome / "fonts/Orvella/DIRIzu.fon";

    fs::path ProgramFont() {
        const fs::path font = temp.path() / "program/DIRIzu.fon";
        fs::create_directories(font.parent_path());
        if (!fs::exists(font)) fs::copy_file(EditorFontFile(), font);
        return font;
    }
};

TEST_F(FontInstallTest, CountsTheFacesOfAFontFileAndNoneOfAnythingElse) {
    const std::vector<std::uint8_t> font = ReadBytes(EditorFontFile());
    WriteBytes(temp.path() / "two.fon", TwoFaceCollection(font));
    WriteBytes(temp.path() / "empty.fon", {});
    temp.Write("text.fon", "Cannot install fonts\r\n");
    // A font file cut short keeps its header but loses the tables.
    WriteBytes(temp.path() / "cut.fon", {font.begin(), font.begin() + 200});
    fs::create_directory(temp.path() / "folder.fon");
    const struct {
        fs::path path;
        int faces;
    } cases[] = {
        {EditorFontFile(), 1},
        {temp.path() / "two.fon", 2},
        {temp.path() / "missing.fon", 0},
        {temp.path() / "empty.fon", 0},
        {temp.path() / "text.fon", 0},
        {temp.path() / "cut.fon", 0},
        {temp.path() / "folder.fon", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.filename().string());
        EXPECT_EQ(CountFontFaces(c.path.string()), c.faces);
    }
}

TEST_F(FontInstallTest, TheUserFontFolderFollowsTheDataHomeWhenItIsAbsolute) {
    const struct {
        std::optional<std::string> dataHome;
        std::string folder;
    } cases[] = {
        {"/srv/data", "/srv/data/fonts/Orvella"},
        {std::nullopt, "/home/ann/.local/share/fonts/Orvella"},
        {"", "/home/ann/.local/share/fonts/Orvella"},
        {"relative/data", "/home/ann/.local/share/fonts/Orvella"},
    };
    const ScopedEnv ann("HOME", "/home/ann");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataHome.value_or("(unset)"));
        const ScopedEnv env("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(UserFontFolder(), c.folder);
    }
}

TEST_F(FontInstallTest, InstallsACopyWithItsLicenceAndLeavesAnEqualCopyAlone) {
    const fs::path font = ProgramFont();
    temp.Write("program/DIRIzu.fon.LICENSE", "Fonts are (c) their makers\n");

    EXPECT_EQ(InstallFontForUser(font.string()), 1);
    EXPECT_EQ(ReadBytes(installed), ReadBytes(font));
    EXPECT_EQ(ReadBytes(installed.string() + ".LICENSE"), ReadBytes(font.string() + ".LICENSE"));

    // An equal copy is not written again: its time stays where the test put it.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(installed, old);
    EXPECT_EQ(InstallFontForUser(font.string()), 1);
    EXPECT_EQ(fs::last_write_time(installed), old);

    // Another font under the name is replaced whole, and no temporary file stays behind.
    WriteBytes(installed, TwoFaceCollection(ReadBytes(font)));
    EXPECT_EQ(InstallFontForUser(font.string()), 1);
    EXPECT_EQ(ReadBytes(installed), ReadBytes(font));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(installed.parent_path()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(FontInstallTest, ReportsTheFacesOfACollectionAndNothingForAFileThatIsNoFont) {
    const fs::path program = temp.path() / "program";
    fs::create_directories(program);
    WriteBytes(program / "DIRIzu.fon", TwoFaceCollection(ReadBytes(EditorFontFile())));
    EXPECT_EQ(InstallFontForUser((program / "DIRIzu.fon").string()), 2);

    fs::remove(installed);
    temp.Write("program/DIRIzu.fon", "not a font");
    EXPECT_EQ(InstallFontForUser((program / "DIRIzu.fon").string()), 0);
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_EQ(InstallFontForUser((program / "Missing.fon").string()), 0);
}

TEST_F(FontInstallTest, AFolderThatCannotBeMadeInstallsNothing) {
    // A file where the user's font folder should be.
    fs::create_directories(dataHome);
    temp.Write("data/fonts", "in the way");
    EXPECT_EQ(InstallFontForUser(ProgramFont().string()), 0);
    EXPECT_EQ(temp.ReadText("data/fonts"), "in the way");
}

}  // namespace
}  // namespace vessane::testing
