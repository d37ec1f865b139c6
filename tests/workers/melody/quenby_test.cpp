// End-to-end runs of the Quenby program in a temporary program folder.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/window.h"
#include "tests/support/program_folder.h"
#include "tests/workers/melody/melody_fixtures.h"
#include "workers/melody/melody_generator.h"

namespace melody {
namespace {

using melodytest::Bytes;
using melodytest::Concat;
using melodytest::FixtureBytes;
using melodytest::FixtureText;
using melodytest::MidiHeader;
using melodytest::MidiTrack;
using melodytest::QuenbyCommandLine;
using melodytest::SongTracks;
using melodytest::WithoutCarriageReturns;
using testsupport::WorkerRun;

constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kFailure = platform::kCompletionFailed;
const Bytes kPreviousSong = {'M', 'T', 'h', 'd', 'o', 'l', 'd'};

class QuenbyProgram : public ::testing::Test {
  protected:
    WorkerRun Run(const MelodyJob& job, int runMode = 0, std::int32_t sumError = 0) {
        return testsupport::RunWorker("Quenby", folder_.path(), [&](platform::Hwnd handle) {
            return QuenbyCommandLine(job, handle, runMode, sumError);
        });
    }
    WorkerRun RunRaw(std::string_view args) {
        return testsupport::RunWorker("Quenby", folder_.path(), args);
    }

    static void ExpectCompletion(const WorkerRun& run, std::uint32_t lParam) {
        ASSERT_TRUE(run.completion.has_value());
        EXPECT_EQ(run.completion->message, platform::WM_KEYUP);
        EXPECT_EQ(run.completion->wParam, 51u);
        EXPECT_EQ(run.completion->lParam, lParam);
    }

    testsupport::TempProgramFolder folder_;
};

MelodyJob Format0FixtureJob() {
    MelodyJob job;
    job.keySf = 1;
    job.tonicNote = 67;
    job.tempoBpm = 100;
    job.introMeasures = 1;
    job.endingMeasures = 1;
    job.velPercent = 70;
    return job;
}

TEST_F(QuenbyProgram, ImportsAFormat1TrackAsTheSongInput) {
    folder_.Write("InpMel.bin", FixtureBytes("format1_division384.mid.txt"));
    MelodyJob job;
    job.noteOffZero = 1;
    const WorkerRun run = Run(job);
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    EXPECT_EQ(folder_.ReadText("Error4.msg"), "");
    EXPECT_EQ(folder_.ReadBytes("InPut.bin"), FixtureBytes("format1_division384.expected.txt"));
    // The scratch files are text files with CR LF line ends.
    const std::string events = folder_.ReadText("Events.dat");
    EXPECT_NE(events.find("\r\n"), std::string::npos);
    EXPECT_EQ(WithoutCarriageReturns(events), FixtureText("format1_division384.events.txt"));
    EXPECT_EQ(folder_.ReadText("Tempos.dat"), "000000:120,\r\n001536:100,\r\n");
    EXPECT_TRUE(
        folder_.ReadText("KqList.dat").starts_with("Header Data Length: 6\r\nFile Type: 1\r\n"));
}

TEST_F(QuenbyProgram, ImportsAChannelOfAFormat0FileAtAnotherDivision) {
    folder_.Write("InpMel.bin", FixtureBytes("format0_division480.mid.txt"));
    folder_.Write("InPut.bin", kPreviousSong);
    const WorkerRun run = Run(Format0FixtureJob());
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    EXPECT_EQ(folder_.ReadText("Error4.msg"), "");
    EXPECT_EQ(folder_.ReadBytes("InPut.bin"), FixtureBytes("format0_division480.expected.txt"));
}

TEST_F(QuenbyProgram, ImportsOneTrackOfManyAndAnyRunModeButOneImports) {
    std::vector<Bytes> parts = {MidiHeader(1, 8, 96), MidiTrack({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1,
                                                                 0x20, 0x00, 0xFF, 0x2F, 0x00})};
    for (std::uint8_t track = 1; track <= 7; ++track) {
        const std::uint8_t key = static_cast<std::uint8_t>(0x30 + track);
        parts.push_back(MidiTrack({0x00, static_cast<std::uint8_t>(0x90 + track), key, 0x64, 0x60,
                                   key, 0x00, 0x00, 0xFF, 0x2F, 0x00}));
    }
    Bytes source;
    for (const Bytes& part : parts) source.insert(source.end(), part.begin(), part.end());
    folder_.Write("InpMel.bin", source);
    for (int runMode : {0, 2, -1}) {
        SCOPED_TRACE(runMode);
        MelodyJob job;
        job.trackNo = 5;
        const WorkerRun run = Run(job, runMode);
        EXPECT_EQ(run.exitCode, 0) << folder_.ReadText("Error4.msg");
        const auto tracks = SongTracks(folder_.ReadBytes("InPut.bin"));
        ASSERT_EQ(tracks.size(), 3u);
        ASSERT_GE(tracks[1].size(), 7u);
        EXPECT_EQ(tracks[1][5].bytes, (Bytes{0x90, 0x35, 0x64}));
        EXPECT_EQ(tracks[1][6].tick, 384);
        EXPECT_EQ(tracks[1][6].bytes, (Bytes{0x80, 0x35, 0x00}));
    }
}

TEST_F(QuenbyProgram, KeepsTheCountNotesOfASuccessfulImport) {
    folder_.Write("InpMel.bin",
                  Concat({MidiHeader(1, 2, 384), MidiTrack({0x00, 0xFF, 0x2F, 0x00}),
                          MidiTrack({0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00})}));
    const WorkerRun run = Run(MelodyJob{});
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    EXPECT_EQ(folder_.ReadText("Error4.msg"),
              "Error testing value: TSumOn=1, TSumOf=0.Error testing value: TSumOn=1, TSumOf=0.");
}

// A source with a melody and then megabytes of garbage: the error file says so in a few notes,
// and however many notes there are it stays below its limit, with a last line saying it was cut.
TEST_F(QuenbyProgram, AGarbageSourceCannotGrowTheErrorFile) {
    const Bytes melody = Concat({MidiHeader(1, 2, 384), MidiTrack({0x00, 0xFF, 0x2F, 0x00}),
                                 MidiTrack({0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00})});
    const std::string note = "Error testing value: TSumOn=1, TSumOf=0.";

    Bytes garbage = melody;
    garbage.resize(melody.size() + 2'000'000, 0x55);
    folder_.Write("InpMel.bin", garbage);
    WorkerRun run = Run(MelodyJob{});
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    // After the melody chunk, once for the garbage, and at the end of the file.
    EXPECT_EQ(folder_.ReadText("Error4.msg"), note + note + note);

    Bytes chunks = melody;
    const Bytes chunkAndGarbage = Concat({MidiTrack({}), {'x'}});
    for (int i = 0; i < 20000; ++i) {
        chunks.insert(chunks.end(), chunkAndGarbage.begin(), chunkAndGarbage.end());
    }
    folder_.Write("InpMel.bin", chunks);
    run = Run(MelodyJob{});
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    const std::string errors = folder_.ReadText("Error4.msg");
    EXPECT_LE(errors.size(), 64u * 1024u);
    EXPECT_GT(errors.size(), 60u * 1024u);
    EXPECT_TRUE(errors.starts_with(note + note)) << errors.substr(0, 200);
    EXPECT_TRUE(
        errors.ends_with("\r\n(The rest of the messages was cut: Error4.msg keeps 64 KB.)\r\n"));
}

TEST_F(QuenbyProgram, AFailedImportLeavesThePreviousSongInput) {
    Bytes truncated = FixtureBytes("format1_division384.mid.txt");
    truncated.resize(truncated.size() - 7);
    const Bytes emptyMelody =
        Concat({MidiHeader(1, 2, 384),
                MidiTrack({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00}),
                MidiTrack({0x00, 0xFF, 0x03, 0x00, 0x00, 0xFF, 0x2F, 0x00})});
    const Bytes lateConductorEvent = Concat(
        {MidiHeader(1, 2, 384), MidiTrack({0x87, 0x00, 0xB0, 0x07, 0x64, 0x00, 0xFF, 0x2F, 0x00}),
         MidiTrack({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00})});
    struct Case {
        const char* name;
        std::optional<Bytes> source;
        std::int32_t sumError;
        std::string error;
    };
    const Case cases[] = {
        {"melody track without notes", emptyMelody, 0,
         "No note found on the selected Track/Channel."},
        {"truncated file", truncated, 0, "Error Common GetDtTime."},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F'}, 0, "Invalid file's description"},
        {"no source file", std::nullopt, 0, "InpMel.bin not found."},
        {"wrong sum token", FixtureBytes("format1_division384.mid.txt"), 7, ""},
        {"conductor event after the melody's start", lateConductorEvent, 0,
         "The DtTime value must be >= 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempProgramFolder folder;
        folder.Write("InPut.bin", kPreviousSong);
        if (c.source) folder.Write("InpMel.bin", *c.source);
        const WorkerRun run = testsupport::RunWorker(
            "Quenby", folder.path(),
            [&](platform::Hwnd h) { return QuenbyCommandLine(MelodyJob{}, h, 0, c.sumError); });
        EXPECT_EQ(run.exitCode, 1);
        ExpectCompletion(run, kFailure);
        EXPECT_EQ(folder.ReadText("Error4.msg"), c.error);
        EXPECT_EQ(folder.ReadBytes("InPut.bin"), kPreviousSong);
    }
}

TEST_F(QuenbyProgram, CommandLineFailures) {
    folder_.Write("InpMel.bin", FixtureBytes("format1_division384.mid.txt"));
    folder_.Write("InPut.bin", kPreviousSong);
    struct Case {
        const char* name;
        std::string args;
        bool completion;
    };
    const Case cases[] = {
        {"12 tokens", "1 4 0 60 120 1 1 0 0 100 0 {hwnd}", false},
        {"14 tokens", "1 4 0 60 120 1 1 0 0 100 0 {hwnd} 0 0", false},
        {"double blank", "1 4 0 60 120 1 1 0 0 100 0  {hwnd} 0", false},
        {"trailing blank", "1 4 0 60 120 1 1 0 0 100 0 {hwnd} 0 ", false},
        {"no arguments", "", false},
        {"track 0", "0 4 0 60 120 1 1 0 0 100 0 {hwnd} 0", true},
        {"track 17", "17 4 0 60 120 1 1 0 0 100 0 {hwnd} 0", true},
        {"beats 5", "1 5 0 60 120 1 1 0 0 100 0 {hwnd} 0", true},
        {"handle 0", "1 4 0 60 120 1 1 0 0 100 287 0 0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder_.Write("Error4.msg", std::string_view("stale"));
        const WorkerRun run = RunRaw(c.args);
        EXPECT_EQ(run.exitCode, 1);
        if (c.completion) {
            ExpectCompletion(run, kFailure);
        } else {
            EXPECT_FALSE(run.completion.has_value());
        }
        EXPECT_EQ(folder_.ReadText("Error4.msg"), "");
        EXPECT_EQ(folder_.ReadBytes("InPut.bin"), kPreviousSong);
    }
}

TEST_F(QuenbyProgram, ACommandLineOf500CharactersIsNoCommandLine) {
    folder_.Write("InpMel.bin", FixtureBytes("format1_division384.mid.txt"));
    for (std::size_t length : {499u, 500u}) {
        SCOPED_TRACE(length);
        // Leading zeros in the run mode token stretch the line without changing its value.
        const WorkerRun run =
            testsupport::RunWorker("Quenby", folder_.path(), [&](platform::Hwnd h) {
                std::string line = QuenbyCommandLine(MelodyJob{}, h, 0);
                line.insert(line.size() - 1, length - line.size(), '0');
                return line;
            });
        EXPECT_EQ(run.exitCode, length < 500 ? 0 : 1);
        EXPECT_EQ(run.completion.has_value(), length < 500);
    }
}

TEST_F(QuenbyProgram, GeneratesTheSeededMelodyWithItsOwnLeadInAndTail) {
    MelodyJob given;
    given.beatsCode = 3;
    given.keySf = -2;
    given.tonicNote = 67;
    given.tempoBpm = 140;
    given.timeFactor = 2;
    given.introMeasures = 16;  // counts only for the sum
    given.endingMeasures = 9;
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const WorkerRun run = Run(given, 1);
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_EQ(run.exitCode, 0);
    ExpectCompletion(run, kSuccess);
    EXPECT_EQ(folder_.ReadText("Error4.msg"), "");
    EXPECT_EQ(folder_.ReadText("Events.dat"), "");
    EXPECT_TRUE(folder_.Exists("KqList.dat"));
    EXPECT_TRUE(folder_.Exists("Tempos.dat"));

    MelodyJob used = given;
    used.introMeasures = 4;
    used.endingMeasures = 6;
    used.timeFactor = 1;
    const Bytes song = folder_.ReadBytes("InPut.bin");
    bool matched = false;
    for (std::uint32_t seed = before; seed <= after && !matched; ++seed) {
        matched = GenerateMelody(used, 0, seed).song == song;
    }
    EXPECT_TRUE(matched) << "the song is the generator's for the second it ran in";

    folder_.Write("InPut.bin", kPreviousSong);
    const WorkerRun wrongSum = Run(given, 1, -3);
    EXPECT_EQ(wrongSum.exitCode, 1);
    ExpectCompletion(wrongSum, kFailure);
    EXPECT_EQ(folder_.ReadBytes("InPut.bin"), kPreviousSong);
}

}  // namespace
}  // namespace melody

namespace melody {
namespace {

// The song loader is the next reader of every song input the importer writes.
testsupport::WorkerRun LoadSongInput(const std::filesystem::path& folder) {
    return testsupport::RunWorker("Ambrel", folder, "/1 InPut.bin {hwnd} 2426");
}

void ExpectLoaded(const testsupport::WorkerRun& run, const testsupport::TempProgramFolder& folder) {
    EXPECT_EQ(run.exitCode, 0) << folder.ReadText("Error1.msg");
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_EQ(run.completion->wParam, 47u);
    EXPECT_EQ(run.completion->lParam, 0u);
}

TEST(SongLoaderAcceptance, LoadsImportedFixtures) {
    struct Case {
        const char* source;
        MelodyJob job;
        const char* header;  // first line of Notes.aco
    };
    MelodyJob format1;
    format1.noteOffZero = 1;
    MelodyJob format0;
    format0.keySf = 1;
    format0.tonicNote = 67;
    format0.tempoBpm = 100;
    format0.introMeasures = 1;
    format0.endingMeasures = 1;
    format0.velPercent = 70;
    const Case cases[] = {
        {"format1_division384.mid.txt", format1, "0,+,C,2,120,4/4\r\n"},
        {"format0_division480.mid.txt", format0, "1,+,G,4,100,4/4\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        testsupport::TempProgramFolder folder;
        folder.Write("InpMel.bin", FixtureBytes(c.source));
        const WorkerRun import = testsupport::RunWorker(
            "Quenby", folder.path(),
            [&](platform::Hwnd h) { return QuenbyCommandLine(c.job, h, 0); });
        ASSERT_EQ(import.exitCode, 0) << folder.ReadText("Error4.msg");
        ExpectLoaded(LoadSongInput(folder.path()), folder);
        const std::string notes = folder.ReadText("Notes.aco");
        EXPECT_EQ(notes.substr(0, notes.find('\n') + 1), c.header);
    }
}

TEST(SongLoaderAcceptance, LoadsGeneratedMelodiesInEveryMeter) {
    struct Case {
        int beats;
        int keySf;
        int tonic;
    };
    const Case cases[] = {{2, 0, 60}, {3, 0, 69}, {4, 2, 62}, {6, -3, 60}, {4, 7, 61}, {3, -6, 63}};
    std::uint32_t seed = 20261210;
    for (const Case& c : cases) {
        for (int run = 0; run < 3; ++run, seed += 7919) {
            SCOPED_TRACE(std::to_string(c.beats) + " " + std::to_string(c.tonic) + " seed " +
                         std::to_string(seed));
            MelodyJob job;
            job.beatsCode = static_cast<std::int16_t>(c.beats);
            job.keySf = static_cast<std::int16_t>(c.keySf);
            job.tonicNote = static_cast<std::int16_t>(c.tonic);
            job.introMeasures = 4;
            job.endingMeasures = 6;
            const SongOutcome outcome = GenerateMelody(job, 0, seed);
            ASSERT_TRUE(outcome.ok);
            testsupport::TempProgramFolder folder;
            folder.Write("InPut.bin", outcome.song);
            ExpectLoaded(LoadSongInput(folder.path()), folder);
        }
    }
}

TEST(SongLoaderAcceptance, LoadsWhatTheProgramGenerates) {
    testsupport::TempProgramFolder folder;
    MelodyJob job;
    job.beatsCode = 6;
    job.keySf = -1;
    job.tonicNote = 62;
    const WorkerRun generate = testsupport::RunWorker(
        "Quenby", folder.path(), [&](platform::Hwnd h) { return QuenbyCommandLine(job, h, 1); });
    ASSERT_EQ(generate.exitCode, 0);
    ExpectLoaded(LoadSongInput(folder.path()), folder);
    EXPECT_TRUE(folder.ReadText("Notes.aco").starts_with("1,-,D,"));
}

}  // namespace
}  // namespace melody
