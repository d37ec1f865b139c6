#include "frontend/core/style_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/frontend/support/program_files.h"
#include "tests/support/program_folder.h"

namespace corvane {
namespace {

using testing::StyleFileBytes;
using testing::WriteFile;

class StyleLibraryTest : public ::testing::Test {
  protected:
    std::string Folder() const { return folder.path().string(); }
    void Style(const std::string& name, const std::string& header) {
        WriteFile(folder.path() / name, StyleFileBytes(header));
    }
    testsupport::TempProgramFolder folder;
};

TEST_F(StyleLibraryTest, NoStyleFileEndsWithTheFolderInTheMessage) {
    WriteFile(folder.path() / "readme.txt", "not a style");
    const StyleScan scan = ScanStyleLibrary(Folder(), "/opt/orvella");
    EXPECT_TRUE(scan.fatal);
    ASSERT_EQ(scan.messages.size(), 1u);
    EXPECT_EQ(
        scan.messages[0],
        (UserMessage{MessageIcon::kCritical,
                     "Style data files xxxxxx.sty not found in /opt/orvella/,. Cannot continue."}));
}

TEST_F(StyleLibraryTest, OnlySkippedFilesEndWithNoValidStyle) {
    WriteFile(folder.path() / "Aa0001.sty", "Mtrk,");
    WriteFile(folder.path() / "Aa0002.sty", "Not a style at all");
    std::filesystem::create_directory(folder.path() / "Aa0003.sty");
    const StyleScan scan = ScanStyleLibrary(Folder(), Folder());
    EXPECT_TRUE(scan.fatal);
    ASSERT_EQ(scan.messages.size(), 1u);
    EXPECT_EQ(scan.messages[0].text, "Cannot find any Valid Style Data, program will stop.");
}

TEST_F(StyleLibraryTest, ListsMatchingFilesInNameOrderWithoutRegardToCase) {
    Style("b00001.sty", "B: 4/4 Bee");
    Style("A00002.STY", "A: 3/4 Ay");
    Style("a00003.sty", "C: 2/4 Sea");
    Style("ab cd1.sty", "Blank: 4/4 Blank in the name");
    Style("Ab00001.sty", "Seven: 4/4 Seven characters");
    Style("Ab0001.stx", "Ext: 4/4 Other extension");
    const StyleScan scan = ScanStyleLibrary(Folder(), Folder());
    EXPECT_FALSE(scan.fatal);
    EXPECT_TRUE(scan.messages.empty());
    EXPECT_EQ(scan.library.StyleFiles,
              (std::vector<std::string>{"A00002.STY", "a00003.sty", "b00001.sty"}));
    EXPECT_EQ(scan.library.StyleNames,
              (std::vector<std::string>{" 3/4 Ay", " 2/4 Sea", " 4/4 Bee"}));
}

TEST_F(StyleLibraryTest, BadHeaderStopsAfterTheStylesBeforeIt) {
    Style("Aa0001.sty", "Good: 4/4 Good");
    Style("Aa0002.sty", "Bad: 4/4x Bad");
    Style("Aa0003.sty", "Never: 4/4 Never read");
    const StyleScan scan = ScanStyleLibrary(Folder(), Folder());
    EXPECT_TRUE(scan.fatal);
    ASSERT_EQ(scan.messages.size(), 1u);
    EXPECT_EQ(scan.messages[0],
              (UserMessage{MessageIcon::kCritical,
                           "Style data error in Aa0002.sty: Invalid timesignature."}));
}

TEST_F(StyleLibraryTest, CapsAtNineHundredStylesWithANotice) {
    // 905 matching files of which 10 are not styles: all 895 styles load, and the notice still
    // tells that there were more than 900 files.
    const auto names = testing::WriteGeneratedStyles(folder.path(), 895);
    for (int i = 0; i < 5; ++i)
        WriteFile(folder.path() / ("Zs000" + std::to_string(i) + ".sty"), "Mtrk,");
    for (int i = 0; i < 5; ++i)
        WriteFile(folder.path() / ("Zt000" + std::to_string(i) + ".sty"), "Xtrk,1,2,3");
    StyleScan scan = ScanStyleLibrary(Folder(), Folder());
    EXPECT_FALSE(scan.fatal);
    ASSERT_EQ(scan.messages.size(), 1u);
    EXPECT_EQ(scan.messages[0], (UserMessage{MessageIcon::kInformation, StyleCapNotice(905)}));
    EXPECT_EQ(scan.library.StyleCount(), 895);

    // With 1000 valid files the first 900 in listing order load.
    testing::WriteGeneratedStyles(folder.path(), 1000);
    for (int i = 0; i < 5; ++i) {
        std::filesystem::remove(folder.path() / ("Zs000" + std::to_string(i) + ".sty"));
        std::filesystem::remove(folder.path() / ("Zt000" + std::to_string(i) + ".sty"));
    }
    scan = ScanStyleLibrary(Folder(), Folder());
    EXPECT_EQ(scan.library.StyleCount(), kMaxStyles);
    EXPECT_EQ(scan.library.StyleFiles.front(), "Gn0001.sty");
    EXPECT_EQ(scan.library.StyleFiles.back(), "Gn0900.sty");
    EXPECT_EQ(scan.messages[0].text, StyleCapNotice(1000));
}

TEST_F(StyleLibraryTest, LongFirstLineIsReadWhole) {
    // Numbers padded far beyond the first read still leave the header text to be found.
    std::string line = "Mtrk,1";
    for (int i = 0; i < 10; ++i) line += "," + std::string(100, '0') + "7";
    line += ",\"Wide: 4/4 Wide numbers\"\r\nbody";
    WriteFile(folder.path() / "Wd4400.sty", line);
    const StyleScan scan = ScanStyleLibrary(Folder(), Folder());
    ASSERT_FALSE(scan.fatal);
    EXPECT_EQ(scan.library.StyleNames, (std::vector<std::string>{" 4/4 Wide numbers"}));
}

}  // namespace
}  // namespace corvane
