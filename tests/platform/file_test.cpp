#include "platform/file.h"

#include <gtest/gtest.h>

#include "tests/support/program_folder.h"

namespace {

using platform::File;
using platform::FileMode;
using testsupport::TempProgramFolder;

TEST(FileTest, TextWritingEndsEveryLineWithCrLfAndBinaryKeepsBytes) {
    TempProgramFolder folder;
    File text;
    ASSERT_TRUE(text.Open((folder.path() / "t.txt").string(), FileMode::kWriteText));
    text.Printf("%03d;%s\n", 7, "x");
    text.Write("a\n\nb");
    ASSERT_TRUE(text.Close());
    EXPECT_EQ(folder.ReadText("t.txt"), "007;x\r\na\r\n\r\nb");

    File binary;
    ASSERT_TRUE(binary.Open((folder.path() / "b.bin").string(), FileMode::kWriteBinary));
    binary.Write("a\nb\r\n");
    ASSERT_TRUE(binary.Close());
    EXPECT_EQ(folder.ReadText("b.bin"), "a\nb\r\n");
}

TEST(FileTest, ReadLineAcceptsCrLfAndLfAndALastLineWithoutEnd) {
    TempProgramFolder folder;
    folder.Write("in.txt", std::string_view("one\r\ntwo\n\r\nlast"));
    File in;
    ASSERT_TRUE(in.Open((folder.path() / "in.txt").string(), FileMode::kReadBinary));
    std::vector<std::string> lines;
    for (std::string line; in.ReadLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "last"}));
}

TEST(FileTest, CloseAllFilesFlushesWhatWasWritten) {
    TempProgramFolder folder;
    File a;
    File b;
    ASSERT_TRUE(a.Open((folder.path() / "a.msg").string(), FileMode::kWriteText));
    ASSERT_TRUE(b.Open((folder.path() / "b.msg").string(), FileMode::kWriteBinary));
    a.Write("message");
    b.Write("bytes");
    platform::CloseAllFiles();
    EXPECT_FALSE(a.IsOpen());
    EXPECT_FALSE(b.IsOpen());
    EXPECT_EQ(folder.ReadText("a.msg"), "message");
    EXPECT_EQ(folder.ReadText("b.msg"), "bytes");
}

TEST(FileTest, MovedFileStaysInTheRegistry) {
    TempProgramFolder folder;
    File original;
    ASSERT_TRUE(original.Open((folder.path() / "m.txt").string(), FileMode::kWriteText));
    File moved = std::move(original);
    moved.Write("kept\n");
    platform::CloseAllFiles();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(folder.ReadText("m.txt"), "kept\r\n");
}

TEST(FileTest, ReplaceFileAtomicallyLeavesTheOldFileWhenItCannotWrite) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", std::string_view("old"));
    const std::vector<std::uint8_t> fresh = {'n', 'e', 'w'};
    ASSERT_TRUE(platform::ReplaceFileAtomically((folder.path() / "InPut.bin").string(), fresh));
    EXPECT_EQ(folder.ReadText("InPut.bin"), "new");
    EXPECT_FALSE(platform::ReplaceFileAtomically((folder.path() / "missing" / "x").string(), fresh));
}

TEST(FileTest, SizeAndSeek) {
    TempProgramFolder folder;
    folder.Write("s.bin", std::string_view("0123456789"));
    File in;
    ASSERT_TRUE(in.Open((folder.path() / "s.bin").string(), FileMode::kReadBinary));
    EXPECT_EQ(in.Size(), 10);
    ASSERT_TRUE(in.Seek(7));
    std::uint8_t bytes[8];
    EXPECT_EQ(in.Read(bytes), 3u);
    EXPECT_EQ(bytes[0], '7');
    EXPECT_EQ(in.Tell(), 10);
}

}  // namespace
