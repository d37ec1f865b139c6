// Every worker against what can go wrong with its files: a folder, a FIFO, a link (symbolic or
// hard) or nothing at each input and output name, an output the disk cannot take, a disk that
// fills up at any point of a run, and a run killed at any change it makes followed by a new run.
// In every case the worker answers at once, tells the truth about its result (its own message for
// the case, with the file system's reason where that refused an output, the right completion, the
// exit code) and leaves its inputs, the files it replaces whole and other names' files unharmed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/planted_files.h"
#include "tests/support/program_folder.h"
#include "tests/workers/file_layer/small_disk.h"
#include "tests/workers/file_layer/worker_table.h"

namespace filelayer {
namespace {

using testsupport::Planted;
using testsupport::TempProgramFolder;
using testsupport::WorkerRun;

constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kFailureFlag = 0x20000000;
// Bounds on the loops over a run's writes and changes; a run of the suite makes far fewer.
constexpr int kMostWrites = 300;
constexpr int kMostChanges = 400;
// What the system calls a full disk.
const std::string kFullDisk = "No space left on device";

std::string Hex(const Bytes& bytes) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size() && i < 64; ++i) {
        std::snprintf(pair, sizeof pair, "%02X ", bytes[i]);
        text += pair;
    }
    return text + (bytes.size() > 64 ? "..." : "");
}

void ExpectNoTemporariesIn(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "left behind: " << entry.path().filename();
    }
}

class WorkerFiles : public ::testing::TestWithParam<std::string> {
  protected:
    const Worker& worker() const { return WorkerNamed(GetParam()); }

    // The prepared inputs, and earlier contents of the outputs a run replaces whole.
    void Prepare(const std::filesystem::path& folder) const {
        for (const auto& [name, bytes] : worker().prepared) WriteAt(folder / name, bytes);
        for (const OutputFile& output : worker().outputs) {
            if (output.replacedWhole) WriteAt(folder / output.name, PreviousContent(output.name));
        }
    }
    // A run in a prepared folder where `name` holds `planted` instead.
    WorkerRun RunWithPlanted(const std::filesystem::path& folder, const std::string& name,
                             Planted planted) const {
        Prepare(folder);
        std::filesystem::remove(folder / name);
        const int peer = testsupport::Plant(folder / name, planted);
        const WorkerRun run = RunIn(worker(), folder);
        if (peer >= 0) close(peer);
        return run;
    }
    static void WriteAt(const std::filesystem::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static std::optional<Bytes> BytesAt(const std::filesystem::path& path) {
        if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path))) {
            return std::nullopt;
        }
        const std::string text = testsupport::ReadTextFile(path);
        return Bytes(text.begin(), text.end());
    }

    void ExpectOutcome(const WorkerRun& run, Outcome outcome) const {
        ASSERT_FALSE(run.timedOut) << "the worker hung";
        switch (outcome) {
            case Outcome::kSuccess:
                EXPECT_EQ(run.exitCode, 0);
                ASSERT_TRUE(run.completion.has_value()) << "no completion";
                EXPECT_EQ(run.completion->message, kKeyUp);
                EXPECT_EQ(run.completion->lParam, 0u);
                break;
            case Outcome::kFailure:
                EXPECT_EQ(run.exitCode, 1);
                ASSERT_TRUE(run.completion.has_value()) << "no completion";
                EXPECT_EQ(*run.completion,
                          (platform::Completion{kKeyUp, worker().failureCode, kFailureFlag}));
                break;
            case Outcome::kSilentFailure:
                EXPECT_EQ(run.exitCode, 1);
                EXPECT_FALSE(run.completion.has_value());
                break;
        }
    }

    // `reason` is why the file system refused the file of the case, if it did.
    void ExpectResult(const WorkerRun& run, const Expectation& expected,
                      const std::filesystem::path& folder, const std::string& reason = "") const {
        ExpectOutcome(run, expected.outcome);
        if (expected.errorText) {
            EXPECT_EQ(testsupport::ReadTextFile(folder / worker().errorFile),
                      ExpectedErrorText(expected, reason));
        }
    }

    // The inputs a case did not touch are as they were; the outputs a run replaces whole are
    // either the earlier ones (failure) or the clean run's (success); no temporary is left.
    void ExpectNothingHarmed(const std::filesystem::path& folder, const WorkerRun& run,
                             const std::string& touched = "") const {
        for (const auto& [name, bytes] : worker().prepared) {
            if (name == touched) continue;
            EXPECT_EQ(BytesAt(folder / name), bytes) << "input " << name << " changed";
        }
        const bool succeeded = run.exitCode == 0 && run.completion && !run.completion->failed();
        const Files outputs = ReadOutputs(worker(), folder, run);
        for (const OutputFile& output : worker().outputs) {
            if (!output.replacedWhole || output.name == touched) continue;
            const auto found = outputs.find(output.name);
            ASSERT_NE(found, outputs.end()) << output.name << " is gone";
            if (succeeded) {
                EXPECT_EQ(found->second, CleanOutputs(worker()).at(output.name)) << output.name;
            } else {
                EXPECT_EQ(found->second, PreviousContent(output.name))
                    << output.name << " not kept";
            }
        }
        ExpectNoTemporariesIn(folder);
    }

    // A run that failed because an output could not be created or written leaves nothing a
    // later step could take for its result: the error file says what happened, the outputs
    // replaced whole are the earlier files, and every other output of the run is gone.
    void ExpectNoOutputLeftByAFailure(const std::filesystem::path& folder, const WorkerRun& run,
                                      const std::string& touched = "") const {
        if (run.exitCode == 0) return;
        for (const OutputFile& output : worker().outputs) {
            if (output.name == worker().errorFile || output.name == touched) continue;
            const auto left = BytesAt(folder / output.name);
            if (output.replacedWhole) {
                EXPECT_EQ(left, PreviousContent(output.name)) << output.name << " not kept";
            } else if (output.emptyAfterFailure) {
                EXPECT_EQ(left, Bytes()) << output.name << " is not made anew";
            } else {
                EXPECT_FALSE(left.has_value())
                    << output.name << " is left behind: " << Hex(left.value_or(Bytes()));
            }
        }
    }

    // A successful run's outputs are the clean run's; only optional ones may be missing, and
    // only when `allowMissing`.
    void ExpectCleanOutputs(const std::filesystem::path& folder, const WorkerRun& run,
                            bool allowMissing, const std::string& except = "") const {
        const Files outputs = ReadOutputs(worker(), folder, run);
        for (const OutputFile& output : worker().outputs) {
            // The error file is held to each case's expectation instead.
            if (output.name == except || output.name == worker().errorFile) continue;
            const auto found = outputs.find(output.name);
            if (found == outputs.end()) {
                EXPECT_TRUE(allowMissing && output.optional) << output.name << " is missing";
                continue;
            }
            const Bytes& clean = CleanOutputs(worker()).at(output.name);
            EXPECT_EQ(found->second, clean) << output.name << " differs: " << Hex(found->second)
                                            << " instead of " << Hex(clean);
        }
    }

    // A run that claims success has written every output whole; a failed one says so, and why:
    // its error file holds exactly the words of the output the full disk refused, written after
    // the removal made room for them. A disk without room for the run's first byte has none
    // after the removal either; its error file stays empty then, never a part of the words.
    void ExpectTruthfulResult(const std::filesystem::path& folder, const WorkerRun& run,
                              bool roomForWords) const {
        ASSERT_FALSE(run.timedOut) << "the worker hung";
        if (run.exitCode == 0) {
            ExpectOutcome(run, Outcome::kSuccess);
            ExpectCleanOutputs(folder, run, true);
        } else {
            ExpectOutcome(run, Outcome::kFailure);
            ExpectNoOutputLeftByAFailure(folder, run);
            const std::string words = testsupport::ReadTextFile(folder / worker().errorFile);
            const std::vector<std::string> texts = FullDiskErrorTexts(worker(), kFullDisk);
            if (roomForWords || !words.empty()) {
                EXPECT_NE(std::find(texts.begin(), texts.end(), words), texts.end())
                    << "the error file holds \"" << words << "\"";
            }
        }
        ExpectNothingHarmed(folder, run);
    }
};

TEST_P(WorkerFiles, AnInputThatIsNoRegularFileCountsAsMissing) {
    for (const InputFile& input : worker().inputs) {
        for (const Planted planted : testsupport::EveryPlanted()) {
            if (testsupport::LeadsToAFile(planted)) continue;  // a good input, read through
            SCOPED_TRACE(input.name + " is " + testsupport::Describe(planted));
            TempProgramFolder folder;
            const WorkerRun run = RunWithPlanted(folder.path(), input.name, planted);
            ExpectResult(run, input.whenUnreadable, folder.path());
            ExpectNothingHarmed(folder.path(), run, input.name);
        }
    }
}

TEST_P(WorkerFiles, AnInputIsReadThroughALink) {
    for (const InputFile& input : worker().inputs) {
        SCOPED_TRACE(input.name);
        TempProgramFolder folder;
        Prepare(folder.path());
        const auto path = folder.path() / input.name;
        std::filesystem::rename(path, testsupport::PlantTarget(path));
        std::filesystem::create_symlink(testsupport::PlantTarget(path), path);
        const WorkerRun run = RunIn(worker(), folder.path());
        ExpectOutcome(run, Outcome::kSuccess);
        ExpectCleanOutputs(folder.path(), run, false);
    }
}

TEST_P(WorkerFiles, AnOutputNameHoldingAFolderOrAFifoCannotBeCreated) {
    for (const OutputFile& output : worker().outputs) {
        for (const Planted planted : {Planted::kFolder, Planted::kFifo, Planted::kFifoWithPeer}) {
            SCOPED_TRACE(output.name + " is " + testsupport::Describe(planted));
            TempProgramFolder folder;
            const WorkerRun run = RunWithPlanted(folder.path(), output.name, planted);
            ExpectResult(run, output.whenNotCreatable, folder.path(),
                         planted == Planted::kFolder ? "Is a directory" : "Not a regular file");
            // What stood there still stands.
            const auto status = std::filesystem::symlink_status(folder.path() / output.name);
            EXPECT_TRUE(planted == Planted::kFolder ? std::filesystem::is_directory(status)
                                                    : std::filesystem::is_fifo(status));
            ExpectNoOutputLeftByAFailure(folder.path(), run, output.name);
            ExpectNothingHarmed(folder.path(), run, output.name);
        }
    }
}

TEST_P(WorkerFiles, AnOutputNameHoldingALinkGetsAFileOfItsOwn) {
    for (const OutputFile& output : worker().outputs) {
        for (const Planted planted :
             {Planted::kLinkToFile, Planted::kHardLinkToFile, Planted::kDanglingLink,
              Planted::kLinkToFolder, Planted::kLinkToFifo}) {
            SCOPED_TRACE(output.name + " is " + testsupport::Describe(planted));
            TempProgramFolder folder;
            const auto path = folder.path() / output.name;
            const WorkerRun run = RunWithPlanted(folder.path(), output.name, planted);
            ExpectOutcome(run, Outcome::kSuccess);
            ExpectCleanOutputs(folder.path(), run, false);
            const auto target = testsupport::PlantTarget(path);
            if (testsupport::LeadsToAFile(planted)) {
                EXPECT_EQ(testsupport::ReadTextFile(target), "victim");
            }
            if (planted == Planted::kDanglingLink) {
                EXPECT_FALSE(std::filesystem::exists(target));
            }
            if (planted == Planted::kLinkToFolder) {
                EXPECT_TRUE(std::filesystem::is_empty(target));
            }
            ExpectNothingHarmed(folder.path(), run);
        }
    }
}

TEST_P(WorkerFiles, AnOutputTheDiskCannotTakeIsAnOutputThatCannotBeCreated) {
    for (const OutputFile& output : worker().outputs) {
        SCOPED_TRACE(output.name + " meets a full disk");
        TempProgramFolder folder;
        Prepare(folder.path());
        const WorkerRun run = RunIn(worker(), folder.path(), "full:" + output.name);
        ExpectResult(run, output.whenNotWritable, folder.path(), kFullDisk);
        if (output.name != worker().errorFile) {
            // No part of it passes for the whole file.
            const auto left = BytesAt(folder.path() / output.name);
            if (output.replacedWhole) {
                EXPECT_EQ(left, PreviousContent(output.name));
            } else if (left) {
                EXPECT_EQ(*left, CleanOutputs(worker()).at(output.name))
                    << output.name << " is cut short";
            }
        }
        if (run.exitCode == 0) ExpectCleanOutputs(folder.path(), run, true, output.name);
        ExpectNoOutputLeftByAFailure(folder.path(), run);
        ExpectNothingHarmed(folder.path(), run);
    }
}

// The disk fills up after each write in turn; the injected failures need no privileges.
TEST_P(WorkerFiles, WritesFailingFromAnyPointOnNeverPassForSuccess) {
    int from = 1;
    for (; from <= kMostWrites; ++from) {
        SCOPED_TRACE("the disk is full from write " + std::to_string(from) + " on");
        TempProgramFolder folder;
        Prepare(folder.path());
        const WorkerRun run = RunIn(worker(), folder.path(), "full-from:" + std::to_string(from));
        ExpectTruthfulResult(folder.path(), run, from > 1);
        if (HasFailure()) break;
        if (run.exitCode == 0 &&
            ReadOutputs(worker(), folder.path(), run) == CleanOutputs(worker())) {
            break;  // the run no longer reached the full disk
        }
    }
    EXPECT_LE(from, kMostWrites);
}

// The same on a real full disk, where the machine lets the test mount one.
TEST_P(WorkerFiles, ADiskThatFillsUpNeverPassesForSuccess) {
    int pages = 0;
    for (; pages < 64; ++pages) {
        SCOPED_TRACE(std::to_string(pages) + " pages free");
        TempProgramFolder folder;
        SmallDisk disk(folder.path());
        if (!disk.mounted()) {
            GTEST_SKIP() << "no small disk here: " << disk.why()
                         << "; the injected write failures stand in for it";
        }
        Prepare(folder.path());
        ASSERT_TRUE(disk.LeaveFreePages(pages));
        const WorkerRun run = RunIn(worker(), folder.path());
        ExpectTruthfulResult(folder.path(), run, pages > 0);
        if (HasFailure() || run.exitCode == 0) break;
    }
    EXPECT_LT(pages, 64) << "the run never had room enough";
}

TEST_P(WorkerFiles, ARunKilledAtAnyChangeIsMendedByTheNextRun) {
    int at = 1;
    for (; at <= kMostChanges; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at));
        TempProgramFolder folder;
        Prepare(folder.path());
        const WorkerRun killed = RunIn(worker(), folder.path(), "kill-at:" + std::to_string(at));
        ASSERT_FALSE(killed.timedOut);
        if (killed.signal != SIGKILL) {
            ExpectOutcome(killed, Outcome::kSuccess);  // the run made fewer changes
            break;
        }
        EXPECT_FALSE(killed.completion.has_value());
        // Whatever a run replaces whole is the old file or the new one, never a part of either.
        for (const OutputFile& output : worker().outputs) {
            if (!output.replacedWhole) continue;
            const auto left = BytesAt(folder.path() / output.name);
            ASSERT_TRUE(left.has_value()) << output.name << " is gone";
            EXPECT_TRUE(*left == PreviousContent(output.name) ||
                        *left == CleanOutputs(worker()).at(output.name))
                << output.name << " holds " << Hex(*left);
        }
        const WorkerRun rerun = RunIn(worker(), folder.path());
        ExpectOutcome(rerun, Outcome::kSuccess);
        ExpectCleanOutputs(folder.path(), rerun, false);
        ExpectNoTemporariesIn(folder.path());
        if (HasFailure()) break;
    }
    EXPECT_LE(at, kMostChanges);
}

// The composer copies the song's first two tracks into its output byte for byte; a song input
// whose tracks run past its end (or stop short of it) would give an output nobody can decode.
TEST(ComposerSongInput, ASongInputCutShortIsRefused) {
    const Worker& composer = WorkerNamed("Compose");
    const Bytes& song = composer.prepared.at("InPut.bin");
    const std::size_t conductor = 14 + 8 +
                                  (std::size_t{song[18]} << 24 | std::size_t{song[19]} << 16 |
                                   std::size_t{song[20]} << 8 | song[21]);
    for (const std::size_t cut : {song.size() - 1, song.size() - 40, conductor + 9}) {
        SCOPED_TRACE("cut to " + std::to_string(cut) + " of " + std::to_string(song.size()) +
                     " bytes");
        TempProgramFolder folder;
        for (const auto& [name, bytes] : composer.prepared) folder.Write(name, bytes);
        folder.Write("InPut.bin",
                     Bytes(song.begin(), song.begin() + static_cast<std::ptrdiff_t>(cut)));
        const WorkerRun run = RunIn(composer, folder.path());
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.completion, (platform::Completion{kKeyUp, 59, kFailureFlag}));
        EXPECT_EQ(folder.ReadText("Error3.msg"), "Error: <InPut.bin> has a broken track chunk.");
    }
}

// The decoding tool against its files, as the workers above: it reads only a regular file, and
// writes the song through a temporary file, so a full disk or a kill never leaves a part of it.
class DecodeoutFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const Worker& composer = WorkerNamed("Compose");
        TempProgramFolder folder;
        for (const auto& [name, bytes] : composer.prepared) folder.Write(name, bytes);
        const WorkerRun run = RunIn(composer, folder.path());
        ASSERT_EQ(run.exitCode, 0);
        output_ = new Bytes(folder.ReadBytes("ComposeOut.bin"));
        runCode_ = std::to_string(run.completion->wParam + 1);
        song_ = new Bytes(CleanOutputs(composer).at("ComposeOut.bin"));
    }
    static void TearDownTestSuite() {
        delete output_;
        delete song_;
    }

    void SetUp() override {
        folder_.Write("ComposeOut.bin", *output_);
        folder_.Write("song.mid", std::string_view("the previous song"));
    }
    WorkerRun Decode(const std::string& fault = "") const {
        return testsupport::RunWorker(DECODEOUT_PROGRAM, folder_.path(),
                                      "ComposeOut.bin " + runCode_ + " song.mid",
                                      SuiteRunOptions(fault));
    }
    bool SongIsPrevious() const { return folder_.ReadText("song.mid") == "the previous song"; }
    bool SongIsDecoded() const { return folder_.ReadBytes("song.mid") == *song_; }

    static Bytes* output_;
    static Bytes* song_;
    static std::string runCode_;
    TempProgramFolder folder_;
};

Bytes* DecodeoutFiles::output_ = nullptr;
Bytes* DecodeoutFiles::song_ = nullptr;
std::string DecodeoutFiles::runCode_;

TEST_F(DecodeoutFiles, AnInputThatIsNoRegularFileIsNotRead) {
    for (const Planted planted : testsupport::EveryPlanted()) {
        if (testsupport::LeadsToAFile(planted)) continue;
        SCOPED_TRACE("ComposeOut.bin is " + testsupport::Describe(planted));
        std::filesystem::remove(folder_.path() / "ComposeOut.bin");
        std::filesystem::remove_all(testsupport::PlantTarget(folder_.path() / "ComposeOut.bin"));
        const int peer = testsupport::Plant(folder_.path() / "ComposeOut.bin", planted);
        const WorkerRun run = Decode();
        if (peer >= 0) close(peer);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(SongIsPrevious());
    }
}

TEST_F(DecodeoutFiles, TheSongGoesOnlyIntoAFileOfItsOwn) {
    for (const Planted planted : testsupport::EveryPlanted()) {
        SCOPED_TRACE("song.mid is " + testsupport::Describe(planted));
        const auto path = folder_.path() / "song.mid";
        std::filesystem::remove(path);
        std::filesystem::remove_all(testsupport::PlantTarget(path));
        const int peer = testsupport::Plant(path, planted);
        const WorkerRun run = Decode();
        if (peer >= 0) close(peer);
        EXPECT_FALSE(run.timedOut);
        const bool writable = testsupport::IsLink(planted) || planted == Planted::kHardLinkToFile ||
                              planted == Planted::kMissing;
        EXPECT_EQ(run.exitCode, writable ? 0 : 1);
        if (writable) {
            EXPECT_TRUE(SongIsDecoded());
        }
        if (testsupport::LeadsToAFile(planted)) {
            EXPECT_EQ(testsupport::ReadTextFile(testsupport::PlantTarget(path)), "victim");
        }
        ExpectNoTemporariesIn(folder_.path());
    }
}

TEST_F(DecodeoutFiles, AFullDiskLeavesThePreviousSong) {
    const WorkerRun run = Decode("full:song.mid");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(SongIsPrevious());
    ExpectNoTemporariesIn(folder_.path());
}

TEST_F(DecodeoutFiles, AKillAtAnyChangeLeavesTheOldSongOrTheNewOne) {
    int at = 1;
    for (; at <= kMostChanges; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at));
        SetUp();
        const WorkerRun killed = Decode("kill-at:" + std::to_string(at));
        if (killed.signal != SIGKILL) {
            EXPECT_EQ(killed.exitCode, 0);
            break;
        }
        EXPECT_TRUE(SongIsPrevious() || SongIsDecoded());
        const WorkerRun rerun = Decode();
        EXPECT_EQ(rerun.exitCode, 0);
        EXPECT_TRUE(SongIsDecoded());
        ExpectNoTemporariesIn(folder_.path());
    }
    EXPECT_LE(at, kMostChanges);
}

INSTANTIATE_TEST_SUITE_P(Workers, WorkerFiles, ::testing::ValuesIn(WorkerNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace filelayer
