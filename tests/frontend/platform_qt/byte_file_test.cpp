#include "platform/qt/byte_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file.h"
#include "tests/support/program_folder.h"

namespace platform::qt {
namespace {

namespace fs = std::filesystem;
using platform::ReplaceFileAtomically;
// How the front end writes its exchange files.
constexpr auto kNotSynced = platform::Durability::kNotSynced;

TEST(ByteFileTest, PatternsIgnoreLetterCase) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"Ab1234.sty", "??????.sty", true},
        {"AB1234.STY", "??????.sty", true},
        {"Ab12345.sty", "??????.sty", false},
        {"Ab123.sty", "??????.sty", false},
        {"song.MID", "*.mid;*.kar", true},
        {"song.kar", "*.mid;*.kar", true},
        {"song.midi", "*.mid;*.kar", false},
        {"KeysData.Aco", "*.aco", true},
        {"a.b.c", "*.c", true},
        {"", "*", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches);
    }
}

TEST(ByteFileTest, ListingIsSortedAndHoldsOnlyRegularFiles) {
    testsupport::TempProgramFolder folder;
    for (const char* name : {"b.sty", "A.sty", "a.sty", "C.STY", "x.txt"}) folder.Write(name, "x");
    fs::create_directory(folder.path() / "d.sty");
    EXPECT_EQ(ListFolder(folder.path().string(), "*.sty"),
              (std::vector<std::string>{"A.sty", "a.sty", "b.sty", "C.STY"}));
    EXPECT_TRUE(ListFolder((folder.path() / "missing").string(), "*").empty());
}

TEST(ByteFileTest, ReadsLengthsAndRefusesWhatIsNoFile) {
    testsupport::TempProgramFolder folder;
    folder.Write("data.bin", "0123456789");
    const std::string data = (folder.path() / "data.bin").string();
    EXPECT_EQ(FileLength(data), 10);
    EXPECT_EQ(ReadAtMost(data, 4), (std::vector<std::uint8_t>{'0', '1', '2', '3'}));
    EXPECT_EQ(ReadAtMost(data, 100)->size(), 10u);

    fs::create_directory(folder.path() / "folder");
    ASSERT_EQ(::mkfifo((folder.path() / "fifo").c_str(), 0600), 0);
    for (const char* name : {"folder", "fifo", "missing"}) {
        SCOPED_TRACE(name);
        const std::string path = (folder.path() / name).string();
        EXPECT_FALSE(FileLength(path));
        EXPECT_FALSE(ReadAtMost(path, 10));
    }
    EXPECT_FALSE(ReplaceFileAtomically((folder.path() / "fifo").string(),
                                       std::vector<std::uint8_t>{1}, kNotSynced));
    EXPECT_FALSE(ReplaceFileAtomically((folder.path() / "no/such/folder").string(),
                                       std::vector<std::uint8_t>{1}, kNotSynced));
}

TEST(ByteFileTest, AWholeWriteReplacesALinkAtTheNameAndLeavesItsTarget) {
    testsupport::TempProgramFolder folder;
    folder.Write("victim.txt", "untouched");
    folder.Write("song.mid", "song");
    const std::vector<std::uint8_t> bytes = {'n', 'e', 'w'};
    for (const char* name : {"Play.sti", "InPut.bin"}) {
        SCOPED_TRACE(name);
        const fs::path link = folder.path() / name;
        fs::create_symlink(folder.path() / "victim.txt", link);
        if (std::string(name) == "Play.sti") {
            ASSERT_TRUE(ReplaceFileAtomically(link.string(), bytes, kNotSynced));
            EXPECT_EQ(folder.ReadText(name), "new");
        } else {
            ASSERT_TRUE(CopyWholeFile((folder.path() / "song.mid").string(), link.string()));
            EXPECT_EQ(folder.ReadText(name), "song");
        }
        EXPECT_FALSE(fs::is_symlink(link));
        EXPECT_EQ(folder.ReadText("victim.txt"), "untouched");
    }
    // A dangling link is replaced too; nothing is created where it pointed.
    fs::create_symlink(folder.path() / "elsewhere.dat", folder.path() / "vPara.dat");
    ASSERT_TRUE(ReplaceFileAtomically((folder.path() / "vPara.dat").string(), bytes, kNotSynced));
    EXPECT_FALSE(fs::exists(folder.path() / "elsewhere.dat"));
    EXPECT_EQ(folder.ReadText("vPara.dat"), "new");
}

TEST(ByteFileTest, DeletionsSpareReadOnlyFiles) {
    testsupport::TempProgramFolder folder;
    for (const char* name : {"Play.sti", "KeysData.Aco", "Data.aco", "keep.sty", "locked.dat"}) {
        folder.Write(name, "x");
    }
    fs::permissions(folder.path() / "locked.dat", fs::perms::owner_read, fs::perm_options::replace);
    EXPECT_TRUE(IsReadOnly((folder.path() / "locked.dat").string()));
    EXPECT_EQ(DeleteMatching(folder.path().string(), "*.aco;*.sti;*.dat"), 3);
    EXPECT_TRUE(folder.Exists("keep.sty"));
    EXPECT_TRUE(folder.Exists("locked.dat"));
    EXPECT_FALSE(DeleteFile((folder.path() / "locked.dat").string()));

    ASSERT_TRUE(CopyWholeFile((folder.path() / "keep.sty").string(),
                              (folder.path() / "copy.sty").string()));
    EXPECT_EQ(folder.ReadText("copy.sty"), "x");
    EXPECT_FALSE(
        CopyWholeFile((folder.path() / "gone").string(), (folder.path() / "copy2").string()));
}

}  // namespace
}  // namespace platform::qt
