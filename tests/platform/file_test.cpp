#include "platform/file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "tests/support/file_size_limit.h"
#include "tests/support/planted_files.h"
#include "tests/support/program_folder.h"

namespace {

using platform::File;
using platform::FileMode;
using testsupport::FileSizeLimit;
using testsupport::Planted;
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
    EXPECT_FALSE(
        platform::ReplaceFileAtomically((folder.path() / "missing" / "x").string(), fresh));
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

TEST(FileTest, AReadErrorIsToldFromTheEndOfTheFile) {
    TempProgramFolder folder;
    folder.Write("s.bin", std::string_view("0123456789"));
    std::uint8_t bytes[16];
    File in;
    ASSERT_TRUE(in.Open((folder.path() / "s.bin").string(), FileMode::kReadBinary));
    EXPECT_EQ(in.Read(bytes), 10u);
    EXPECT_EQ(in.Read(bytes), 0u);
    EXPECT_FALSE(in.ReadFailed());
    // A regular file of the kernel's whose every read at the start fails with an I/O error.
    File broken;
    ASSERT_TRUE(broken.Open("/proc/self/mem", FileMode::kReadBinary));
    EXPECT_EQ(broken.Read(bytes), 0u);
    EXPECT_TRUE(broken.ReadFailed());
    // Each open starts afresh.
    ASSERT_TRUE(broken.Open((folder.path() / "s.bin").string(), FileMode::kReadBinary));
    EXPECT_FALSE(broken.ReadFailed());
}

TEST(FileTest, OnlyRegularFilesAreRead) {
    for (const Planted planted : testsupport::EveryPlanted()) {
        if (testsupport::LeadsToAFile(planted)) continue;  // read through, see below
        SCOPED_TRACE(testsupport::Describe(planted));
        TempProgramFolder folder;
        const auto path = folder.path() / "InPut.bin";
        const int peer = testsupport::Plant(path, planted);
        File in;
        EXPECT_FALSE(in.Open(path.string(), FileMode::kReadBinary));
        std::vector<std::uint8_t> bytes = {1, 2, 3};
        EXPECT_FALSE(platform::ReadWholeFile(path.string(), bytes));
        EXPECT_TRUE(bytes.empty());
        if (peer >= 0) close(peer);
    }
}

// The buffer is sized from the file's length, but the length only guides the read: every byte
// up to the end arrives, also from a file that claims none (as the kernel's files do).
TEST(FileTest, AWholeFileIsReadToItsEndWhateverLengthItClaims) {
    TempProgramFolder folder;
    for (const std::size_t size : {0, 1, 4095, 65536, 65537, 300000}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> written(size);
        for (std::size_t i = 0; i < size; ++i) written[i] = static_cast<std::uint8_t>(i * 7 + 3);
        folder.Write("whole.bin", written);
        std::vector<std::uint8_t> bytes = {9};
        ASSERT_TRUE(platform::ReadWholeFile((folder.path() / "whole.bin").string(), bytes));
        EXPECT_EQ(bytes, written);
    }
    const std::string claimsNothing = "/proc/self/cmdline";
    ASSERT_EQ(std::filesystem::file_size(claimsNothing), 0u);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(claimsNothing, bytes));
    const std::string expected = testsupport::ReadTextFile(claimsNothing);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST(FileTest, ALinkToARegularFileIsReadThrough) {
    TempProgramFolder folder;
    folder.Write("song.mid", std::string_view("MThd"));
    std::filesystem::create_symlink(folder.path() / "song.mid", folder.path() / "InPut.bin");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile((folder.path() / "InPut.bin").string(), bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'M', 'T', 'h', 'd'}));
}

// An output goes where its name is: a link there is replaced (whatever it points to stays as it
// was), a folder or a FIFO refuses the output and stays too.
TEST(FileTest, OutputsAreWrittenOnlyIntoRegularFilesOfTheirOwn) {
    struct Writer {
        const char* label;
        std::function<bool(const std::string&)> write;
    };
    const std::vector<std::uint8_t> bytes = {'n', 'e', 'w'};
    const Writer writers[] = {
        {"plain output",
         [](const std::string& path) {
             File out;
             return out.Open(path, FileMode::kWriteText) && out.Write("new") && out.Close();
         }},
        {"appended output",
         [](const std::string& path) {
             File out;
             return out.Open(path, FileMode::kAppendText) && out.Write("new") && out.Close();
         }},
        {"replaced file",
         [&](const std::string& path) { return platform::ReplaceFileAtomically(path, bytes); }},
    };
    for (const Writer& writer : writers) {
        for (const Planted planted : testsupport::EveryPlanted()) {
            SCOPED_TRACE(std::string(writer.label) + " over " + testsupport::Describe(planted));
            TempProgramFolder folder;
            const auto path = folder.path() / "Data.aco";
            const auto target = testsupport::PlantTarget(path);
            const int peer = testsupport::Plant(path, planted);
            const bool writable = testsupport::IsLink(planted) ||
                                  planted == Planted::kHardLinkToFile ||
                                  planted == Planted::kMissing;
            EXPECT_EQ(writer.write(path.string()), writable);
            const auto status = std::filesystem::symlink_status(path);
            EXPECT_EQ(std::filesystem::is_regular_file(status), writable);
            if (writable) {
                EXPECT_EQ(folder.ReadText("Data.aco"), "new");
            }
            // Nothing was made or changed where a link pointed.
            if (planted == Planted::kDanglingLink) {
                EXPECT_FALSE(std::filesystem::exists(target));
            }
            if (testsupport::LeadsToAFile(planted)) {
                EXPECT_EQ(testsupport::ReadTextFile(target), "victim");
            }
            if (planted == Planted::kLinkToFolder) {
                EXPECT_TRUE(std::filesystem::is_empty(target));
            }
            // No temporary file stays behind.
            for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
                EXPECT_TRUE(entry.path() == path || entry.path() == target) << entry.path();
            }
            if (peer >= 0) close(peer);
        }
    }
}

TEST(FileTest, ALinkedOutputNeverWritesIntoTheFileItPointsTo) {
    TempProgramFolder folder;
    folder.Write("precious.txt", std::string_view("keep me"));
    std::filesystem::create_symlink(folder.path() / "precious.txt", folder.path() / "Temps.aco");
    File out;
    ASSERT_TRUE(out.Open((folder.path() / "Temps.aco").string(), FileMode::kWriteText));
    out.Write("C;E\n");
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(folder.ReadText("precious.txt"), "keep me");
    EXPECT_EQ(folder.ReadText("Temps.aco"), "C;E\r\n");
    EXPECT_FALSE(std::filesystem::is_symlink(folder.path() / "Temps.aco"));

    std::filesystem::create_symlink(folder.path() / "precious.txt", folder.path() / "Data.aco");
    ASSERT_TRUE(platform::ReplaceFileAtomically((folder.path() / "Data.aco").string(),
                                                std::vector<std::uint8_t>{'x'}));
    EXPECT_EQ(folder.ReadText("precious.txt"), "keep me");
    EXPECT_EQ(folder.ReadText("Data.aco"), "x");
}

TEST(FileTest, CloseOrDiscardRemovesOnlyAnOutputThatCouldNotBeWritten) {
    TempProgramFolder folder;
    File good;
    ASSERT_TRUE(good.Open((folder.path() / "Notes.dat").string(), FileMode::kWriteText));
    good.Write("060;\n");
    EXPECT_TRUE(good.CloseOrDiscard());
    EXPECT_EQ(folder.ReadText("Notes.dat"), "060;\r\n");

    File unopened;
    EXPECT_FALSE(unopened.Write("x"));
    EXPECT_FALSE(unopened.CloseOrDiscard());
    EXPECT_TRUE(folder.Exists("Notes.dat"));
}

// What a run wrote is noted so that a failure of its disk can take it all back: outputs it
// created or emptied, not files it only read, appended to or replaced whole, and a new run
// starts with a clean record.
TEST(FileTest, ARunsOutputsAreNotedWithAnyFaultOfTheirs) {
    TempProgramFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    folder.Write("input.txt", std::string_view("in"));
    folder.Write("log.txt", std::string_view("log"));
    std::filesystem::create_directory(folder.path() / "Folder.aco");

    platform::BeginRunOutputs(at("error.msg"));
    File input, output, log;
    ASSERT_TRUE(input.Open(at("input.txt"), FileMode::kReadBinary));
    ASSERT_TRUE(output.Open(at("output.dat"), FileMode::kWriteBinary));
    ASSERT_TRUE(log.Open(at("log.txt"), FileMode::kAppendText));
    ASSERT_TRUE(platform::ReplaceFileAtomically(at("Data.aco"), std::vector<std::uint8_t>{1, 2}));
    platform::CloseAllFiles();
    EXPECT_FALSE(platform::RunOutputFaulted());

    // A folder where a file must go is a fault like a full disk.
    EXPECT_FALSE(platform::ReplaceFileAtomically(at("Folder.aco"), std::vector<std::uint8_t>{1}));
    EXPECT_TRUE(platform::RunOutputFaulted());
    EXPECT_EQ(platform::RemoveRunOutputs(), 1);
    EXPECT_FALSE(folder.Exists("output.dat"));
    for (const char* kept : {"input.txt", "log.txt", "Data.aco", "Folder.aco"}) {
        EXPECT_TRUE(folder.Exists(kept)) << kept;
    }

    File error;
    EXPECT_FALSE(error.Open(at("Folder.aco"), FileMode::kWriteText));
    platform::BeginRunOutputs(at("error.msg"));
    EXPECT_FALSE(platform::RunOutputFaulted());
    ASSERT_TRUE(error.Open(at("error.msg"), FileMode::kWriteText));
    error.Close();
    EXPECT_EQ(platform::RemoveRunOutputs(), 0);
    EXPECT_TRUE(folder.Exists("error.msg"));
}

// The error file says why a run failed: the removal after a fault keeps it however its name is
// spelled where the run began or where the file was written.
TEST(FileTest, TheKeptFileIsKeptWhateverTheSpellingOfItsName) {
    TempProgramFolder folder;
    const std::string plain = (folder.path() / "Error3.msg").string();
    const std::string dotted = (folder.path() / "." / "Error3.msg").string();
    const std::string doubled = folder.path().string() + "//Error3.msg";
    const std::pair<std::string, std::string> spellings[] = {
        {plain, dotted}, {dotted, plain}, {doubled, plain}};
    for (const auto& [kept, written] : spellings) {
        SCOPED_TRACE(kept + " kept, " + written + " written");
        platform::BeginRunOutputs(kept);
        File error, output, lost;
        ASSERT_TRUE(error.Open(written, FileMode::kWriteText));
        error.Write("Cannot create Temps2.aco");
        ASSERT_TRUE(output.Open((folder.path() / "Temps.aco").string(), FileMode::kWriteText));
        EXPECT_FALSE(
            lost.Open((folder.path() / "missing" / "Temps2.aco").string(), FileMode::kWriteText));
        platform::CloseAllFiles();
        ASSERT_TRUE(platform::RunOutputFaulted());
        EXPECT_EQ(platform::RemoveRunOutputs(), 1);
        EXPECT_FALSE(folder.Exists("Temps.aco"));
        EXPECT_EQ(folder.ReadText("Error3.msg"), "Cannot create Temps2.aco");
    }
}

// The removal after a fault takes back only the files the run made: one put at a noted
// output's name since (here by a rename, as another program's replace would do it) is not the
// run's and stays.
TEST(FileTest, TheRemovalLeavesAFileThatTookAnOutputsName) {
    TempProgramFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    platform::BeginRunOutputs(at("Error1.msg"));
    File replaced, ours, lost;
    ASSERT_TRUE(replaced.Open(at("Temps.aco"), FileMode::kWriteText));
    replaced.Write("C;E\n");
    ASSERT_TRUE(ours.Open(at("Notes.dat"), FileMode::kWriteText));
    ours.Write("060;\n");
    platform::CloseAllFiles();
    folder.Write("other.aco", std::string_view("someone else's"));
    std::filesystem::rename(folder.path() / "other.aco", folder.path() / "Temps.aco");
    EXPECT_FALSE(lost.Open(at("missing/Temps2.aco"), FileMode::kWriteText));
    ASSERT_TRUE(platform::RunOutputFaulted());
    EXPECT_EQ(platform::RemoveRunOutputs(), 1);
    EXPECT_FALSE(folder.Exists("Notes.dat"));
    EXPECT_EQ(folder.ReadText("Temps.aco"), "someone else's");
}

// An output cut short is discarded only while it is the file at its name, and its failure is
// told in words; only the latest attempt of an output counts.
TEST(FileTest, AnOutputThatFailsSaysWhyAndIsDiscardedOnlyWhereItStands) {
    TempProgramFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    platform::BeginRunOutputs(at("Error1.msg"));
    File cut;
    ASSERT_TRUE(cut.Open(at("BtData.dat"), FileMode::kWriteText));
    cut.Write(std::string(64, '1'));
    folder.Write("other.dat", std::string_view("someone else's"));
    std::filesystem::rename(folder.path() / "other.dat", folder.path() / "BtData.dat");
    {
        const FileSizeLimit limit(16);
        EXPECT_FALSE(cut.CloseOrDiscard());
    }
    EXPECT_EQ(folder.ReadText("BtData.dat"), "someone else's");
    EXPECT_EQ(platform::OutputFailureReason(at("BtData.dat")), "File too large");

    std::filesystem::create_directory(folder.path() / "Folder.aco");
    mkfifo(at("Fifo.aco").c_str(), 0600);
    const std::pair<const char*, const char*> refusals[] = {
        {"Folder.aco", "Is a directory"},
        {"Fifo.aco", "Not a regular file"},
        {"missing/Notes.aco", "No such file or directory"},
        {"Notes.aco", ""}};
    for (const auto& [name, reason] : refusals) {
        SCOPED_TRACE(name);
        const bool writable = *reason == '\0';
        File output;
        EXPECT_EQ(output.Open(at(name), FileMode::kWriteText), writable);
        EXPECT_EQ(platform::OutputFailureReason(at(name)), reason);
        output.Close();
        EXPECT_EQ(platform::ReplaceFileAtomically(at(name), std::vector<std::uint8_t>{1}),
                  writable);
        EXPECT_EQ(platform::OutputFailureReason(at(name)), reason);
    }
    std::filesystem::remove(folder.path() / "Folder.aco");
    File again;
    ASSERT_TRUE(again.Open(at("Folder.aco"), FileMode::kWriteText));
    EXPECT_EQ(platform::OutputFailureReason(at("Folder.aco")), "");
}

// The words written into the kept file that a full disk cut short go in again whole once there
// is room; while there is none, the file is left empty rather than holding a part of them.
TEST(FileTest, TheKeptFilesWordsGoInWholeOnceThereIsRoom) {
    TempProgramFolder folder;
    const std::string kept = (folder.path() / "Error1.msg").string();
    for (const bool room : {false, true}) {
        SCOPED_TRACE(room ? "room made" : "still no room");
        platform::BeginRunOutputs(kept);
        File error;
        ASSERT_TRUE(error.Open(kept, FileMode::kWriteText));
        error.Write("Cannot create BtData.dat.\n");
        error.Write("(No space left on device)");
        std::optional<FileSizeLimit> full(std::in_place, 16);
        EXPECT_FALSE(error.Close());
        EXPECT_EQ(folder.ReadText("Error1.msg"), "Cannot create Bt");
        if (room) full.reset();
        EXPECT_EQ(platform::RestoreKeptFile(), room);
        full.reset();
        EXPECT_EQ(folder.ReadText("Error1.msg"),
                  room ? "Cannot create BtData.dat.\r\n(No space left on device)" : "");
    }
    // Words that reached the file whole are left as they are.
    platform::BeginRunOutputs(kept);
    File error;
    ASSERT_TRUE(error.Open(kept, FileMode::kWriteText));
    error.Write("whole");
    ASSERT_TRUE(error.Close());
    folder.Write("Error1.msg", std::string_view("changed since"));
    EXPECT_TRUE(platform::RestoreKeptFile());
    EXPECT_EQ(folder.ReadText("Error1.msg"), "changed since");
}

TEST(FileTest, TemporaryNamesKeepTheDestinationsExtension) {
    struct Case {
        const char* name;
        const char* destination;
        bool temporary;
    };
    const Case cases[] = {
        {"Data.tmp-k3Jf9Q.aco", "Data.aco", true},
        {"InPut.tmp-000000.bin", "/some/folder/InPut.bin", true},
        {"song.tmp-abcdef", "song", true},
        {"Data.tmp-k3Jf9Q.bin", "Data.aco", false},   // another extension
        {"Data.tmp-k3Jf9.aco", "Data.aco", false},    // too short
        {"Data.tmp-k3Jf9Q7.aco", "Data.aco", false},  // too long
        {"Data.tmp-k3J.9Q.aco", "Data.aco", false},   // not a random part
        {"Notes.tmp-k3Jf9Q.aco", "Data.aco", false},  // another stem
        {"Data.aco.tmp1234", "Data.aco", false},
        {"Data.aco", "Data.aco", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::IsTemporaryNameOf(c.name, c.destination), c.temporary);
    }
}

TEST(FileTest, StaleTemporariesOfADestinationAreRemovedAndNothingElse) {
    TempProgramFolder folder;
    for (const char* name : {"Data.tmp-AAAAAA.aco", "Data.tmp-zz99zz.aco", "Data.tmp-AAAAAA.bin",
                             "Notes.tmp-AAAAAA.aco", "Data.aco"}) {
        folder.Write(name, std::string_view("x"));
    }
    std::filesystem::create_directory(folder.path() / "Data.tmp-BBBBBB.aco");
    EXPECT_EQ(platform::RemoveStaleTemporaries((folder.path() / "Data.aco").string()), 2);
    EXPECT_FALSE(folder.Exists("Data.tmp-AAAAAA.aco"));
    EXPECT_FALSE(folder.Exists("Data.tmp-zz99zz.aco"));
    for (const char* kept :
         {"Data.tmp-AAAAAA.bin", "Notes.tmp-AAAAAA.aco", "Data.aco", "Data.tmp-BBBBBB.aco"}) {
        EXPECT_TRUE(folder.Exists(kept)) << kept;
    }
}

TEST(FileTest, LongTextIsWrittenAndReadBackWhole) {
    // More than the buffers hold, with a CR LF split across a buffer's end.
    TempProgramFolder folder;
    std::string text;
    for (int i = 0; i < 30000; ++i) text += std::to_string(i) + ";\n";
    File out;
    ASSERT_TRUE(out.Open((folder.path() / "long.txt").string(), FileMode::kWriteText));
    out.Write(text);
    ASSERT_TRUE(out.Close());
    File in;
    ASSERT_TRUE(in.Open((folder.path() / "long.txt").string(), FileMode::kReadBinary));
    EXPECT_EQ(in.Size(), static_cast<std::int64_t>(text.size() + 30000));
    std::string back;
    for (std::string line; in.ReadLine(line);) back += line + "\n";
    EXPECT_EQ(back, text);
}

}  // namespace
