// The composer as a whole process in a temporary program folder: completion codes, the output
// song's structure, the section table and the scratch files, and every refusal of the entry,
// the song inputs and the style checks.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <set>

#include "compose_fixture.h"
#include "formats/style_keys.h"
#include "output_reader.h"
#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"
#include "workers/composer/track_coding.h"

namespace composertest {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;

struct Outcome {
    testsupport::WorkerRun run;
    std::optional<MidiSong> song;
};

Outcome RunFixture(const ComposeFixture& fixture, const TempProgramFolder& folder,
                   const std::function<void(const TempProgramFolder&)>& change = nullptr) {
    fixture.WriteTo(folder);
    if (change) change(folder);
    Outcome o;
    o.run = RunWorker("Compose", folder.path(), [&](platform::Hwnd h) { return fixture.Args(h); });
    if (o.run.completion && !o.run.completion->failed()) {
        o.song = ReadComposerOutput(folder.ReadBytes("ComposeOut.bin"),
                                    static_cast<int>(o.run.completion->wParam) + 1);
    }
    return o;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::map<int, int> NoteOnsByChannel(const MidiSong& song, std::map<int, int>* balance = nullptr) {
    std::map<int, int> ons;
    for (std::size_t t = 2; t < song.tracks.size(); ++t) {
        for (const MidiEvent& e : song.tracks[t].events) {
            const int type = e.status & 0xF0, ch = e.status & 0x0F;
            if (type == 0x90 && e.data[1] > 0) {
                ++ons[ch];
                if (balance) ++(*balance)[ch];
            }
            if (balance && (type == 0x80 || (type == 0x90 && e.data[1] == 0))) --(*balance)[ch];
        }
    }
    return ons;
}

TEST(ComposeRun, ComposesTwelveTrackSongInEveryTimeSignature) {
    struct Case {
        int numerator, power, version;
    };
    for (const Case c : {Case{4, 2, 12}, Case{3, 2, 12}, Case{2, 2, 12}, Case{6, 3, 12},
                         Case{4, 2, 8}, Case{3, 2, 8}, Case{6, 3, 8}, Case{2, 2, 8}}) {
        SCOPED_TRACE(testing::Message()
                     << c.numerator << "/" << (1 << c.power) << " v" << c.version);
        TempProgramFolder folder;
        ComposeFixture f;
        f.numerator = c.numerator;
        f.denominatorPower = c.power;
        f.version = c.version;
        if (c.version < 10)
            f.styleNames = {"Tsta08.sty", "Tstb08.sty", "Tstc08.sty", "Tstd08.sty", "Tste08.sty"};
        f.measures = TypicalMeasures(12);
        const Outcome o = RunFixture(f, folder);
        ASSERT_TRUE(o.run.completion.has_value()) << folder.ReadText("Error3.msg");
        EXPECT_FALSE(o.run.completion->failed()) << folder.ReadText("Error3.msg");
        EXPECT_GE(o.run.completion->wParam, 58u);
        EXPECT_LE(o.run.completion->wParam, 99u);
        EXPECT_EQ(o.run.exitCode, 0);
        EXPECT_EQ(folder.ReadText("sty.err"), "");
        ASSERT_TRUE(o.song.has_value());
        EXPECT_EQ(o.song->format, 1);
        EXPECT_EQ(o.song->trackCount, 12);
        EXPECT_EQ(o.song->division, 384);
        ASSERT_EQ(o.song->tracks.size(), 12u);
        std::map<int, int> balance;
        const auto ons = NoteOnsByChannel(*o.song, &balance);
        for (int ch : {1, 2, 3, 4, 5, 6, 7, 8, 9})
            EXPECT_GT(ons.count(ch) ? ons.at(ch) : 0, 0) << "channel " << ch;
        for (auto [ch, b] : balance) EXPECT_EQ(b, 0) << "channel " << ch;
    }
}

TEST(ComposeRun, OutputLayoutNamesHeadEventsAndSectionTable) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(8);
    f.measures[4].style = 3;
    const Outcome o = RunFixture(f, folder);
    ASSERT_TRUE(o.song.has_value()) << folder.ReadText("Error3.msg");
    const auto input = folder.ReadBytes("InPut.bin");
    const auto output = folder.ReadBytes("ComposeOut.bin");
    // Header, then the song input's two tracks byte for byte; the input is left as it was.
    EXPECT_EQ(std::vector<std::uint8_t>(output.begin() + 14, output.begin() + input.size()),
              std::vector<std::uint8_t>(input.begin() + 14, input.end()));
    const std::vector<std::string> names = {
        "Zq-Composer",     "Zq-Composer",     "Zq-Composer",     "Zq-Composer",    "Zq-Drums",
        "Zq-Echo-Part-01", "Zq-Echo-Part-02", "Zq-Echo-Part-03", "Zq-Echo-Part-04"};
    for (int t = 0; t < 9; ++t) EXPECT_EQ(o.song->tracks[2 + t].name, names[t]);
    EXPECT_EQ(o.song->tracks[11].name, "Zq-TstaTstbTstcTstdTste-V2428b");
    EXPECT_EQ(o.song->tracks[11].bytes.size(), 68u);

    // Head events of the first style track: key signature, then the controller set and the program.
    const auto& head = o.song->tracks[2].events;
    ASSERT_GE(head.size(), 16u);
    EXPECT_EQ(head[2].status, 0xFF);
    EXPECT_EQ(head[2].data[0], 0x59);
    const std::vector<std::pair<int, int>> controllers = {{7, 120}, {0, 0},   {10, 64}, {91, 40},
                                                          {93, 40}, {64, 0},  {72, 75}, {74, 60},
                                                          {125, 0}, {127, 0}, {67, 0}};
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        EXPECT_EQ(head[3 + i].status, 0xB1);
        EXPECT_EQ(head[3 + i].data[0], controllers[i].first);
        EXPECT_EQ(head[3 + i].data[1], controllers[i].second);
    }
    EXPECT_EQ(head[14].status, 0xC1);
    // The drum track has no key signature of the song and bank 127; echo tracks reverb 20.
    EXPECT_EQ(o.song->tracks[6].events[2].status, 0xB9);
    EXPECT_EQ(o.song->tracks[6].events[3].data[1], 127);
    EXPECT_EQ(o.song->tracks[7].events[7].data[0], 93);
    EXPECT_EQ(o.song->tracks[7].events[7].data[1], 20);

    const std::string cpara = folder.ReadText("cPara.dat");
    EXPECT_EQ(cpara.substr(cpara.find("\r\n")), "\r\n001:1\r\n005:3\r\n");
    EXPECT_EQ(cpara.substr(0, 49), "001 100 001 100 001 100 001 100 001 100 000 000; ");
    EXPECT_TRUE(folder.Exists("Temp.dat"));
    EXPECT_TRUE(folder.ReadText("Error3.msg").find("BsCnt0=") == 0);
}

TEST(ComposeRun, SongWithoutSectionChangesWritesOnlyTheProgramLine) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    for (auto& m : f.measures) m.style = 0;
    const Outcome o = RunFixture(f, folder);
    ASSERT_TRUE(o.song.has_value()) << folder.ReadText("Error3.msg");
    const std::string cpara = folder.ReadText("cPara.dat");
    EXPECT_EQ(cpara.find("\r\n"), cpara.size() - 2);
}

TEST(ComposeRun, RunStoppedInTheSecondPassLeavesThePartialOutput) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    f.styleTracks = FullStyle(48);
    f.styleTracks[1].partStyleValue = 200;  // the bass part's notes leave the MIDI range
    const Outcome o = RunFixture(f, folder);
    ASSERT_TRUE(o.run.completion.has_value());
    EXPECT_TRUE(o.run.completion->failed());
    EXPECT_EQ(folder.ReadText("Error3.msg")
                  .rfind("Ms=001, Ch=2, AsDrums=0, InstMode=1: Invalid On_Value <", 0),
              0u);
    const auto partial = folder.ReadBytes("ComposeOut.bin");
    const auto input = folder.ReadBytes("InPut.bin");
    ASSERT_GT(partial.size(), input.size());
    EXPECT_EQ(partial[11], 4);  // three tracks written, the name track to come
    EXPECT_EQ(folder.ReadText("Temp.dat").substr(0, 4), "MTrk");
    EXPECT_EQ(folder.ReadText("sty.err"), "");
}

// The tracks of an output left behind, counting the song's two: -1 unless the coded part
// decodes into whole tracks under one of the run codes the composer can pick.
int WholeTracksIn(const std::vector<std::uint8_t>& output) {
    for (int runCode = 59; runCode < 59 + 42; ++runCode) {
        if (const auto song = ReadComposerOutput(output, runCode)) {
            return static_cast<int>(song->tracks.size());
        }
    }
    return -1;
}

// The header's track count once a run has written `tracks` tracks: 2 for the song's, then one
// ahead of the tracks (the name track to come) until the name track is there.
int SettledCount(int tracks) {
    return tracks <= 2 ? 2 : tracks < 12 ? tracks + 1 : 12;
}

// Killed at any change to its files, a run leaves nothing, an output not yet begun, or whole
// tracks under the count they settle at or, when killed between a track and its count, under
// the count of the tracks before.
TEST(ComposeRun, ARunKilledAtAnyChangeLeavesWholeTracks) {
    constexpr int kMostChanges = 200;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    std::set<int> tracksSeen;
    std::size_t lastSize = 0;
    int at = 1;
    for (; at <= kMostChanges; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at));
        TempProgramFolder folder;
        f.WriteTo(folder);
        testsupport::RunOptions options;
        options.environment.emplace_back("ORVELLA_FILE_FAULT", "kill-at:" + std::to_string(at));
        const auto run = RunWorker(
            "Compose", folder.path(), [&](platform::Hwnd h) { return f.Args(h); }, options);
        ASSERT_FALSE(run.timedOut);
        if (run.signal != SIGKILL) break;
        const auto output = folder.ReadBytes("ComposeOut.bin");
        // The output only grows: no later change empties it to write it again.
        EXPECT_GE(output.size(), lastSize);
        lastSize = output.size();
        // Not begun, or the header before the song's tracks.
        if (output.empty() || output == composer::OutputHeader()) continue;
        const int tracks = WholeTracksIn(output);
        ASSERT_GE(tracks, 2) << "the output holds a cut track";
        EXPECT_TRUE(output[11] == SettledCount(tracks) || output[11] == SettledCount(tracks - 1))
            << "count " << int{output[11]} << " for " << tracks << " tracks";
        tracksSeen.insert(tracks);
        if (HasFailure()) break;
    }
    EXPECT_LE(at, kMostChanges);
    // Every stage of the output was met, from the song's tracks alone to the name track.
    EXPECT_EQ(tracksSeen, (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(ComposeRun, RefusalsReportFailureWithTheirMessage) {
    struct Case {
        const char* what;
        std::function<void(ComposeFixture&)> fixture;
        std::function<void(const TempProgramFolder&)> change;
        std::string message;
    };
    auto remove = [](const char* name) {
        return [name](const TempProgramFolder& d) { std::filesystem::remove(d.path() / name); };
    };
    auto song = [](int numerator, int power, int clocks, int division) {
        return [=](const TempProgramFolder& d) {
            testsupport::SimpleSong s;
            s.numerator = numerator;
            s.denominatorPower = power;
            s.notes.push_back({0, 384, 60, 90});
            auto bytes = testsupport::BuildSong(s);
            bytes[12] = static_cast<std::uint8_t>(division >> 8);
            bytes[13] = static_cast<std::uint8_t>(division);
            for (std::size_t i = 0; i + 6 < bytes.size(); ++i) {
                if (bytes[i] == 0xFF && bytes[i + 1] == 0x58)
                    bytes[i + 5] = static_cast<std::uint8_t>(clocks);
            }
            d.Write("InPut.bin", bytes);
        };
    };
    const Case cases[] = {
        {"no play options", nullptr, remove("vPara.dat"), "Cannot open vPara.dat for reading."},
        {"15 play options", nullptr,
         [](const TempProgramFolder& d) {
             d.Write("vPara.dat",
                     "080,000,000,000,000,000,000,000,000,000,000,000,000,000,000\r\n");
         },
         "Error: Invalid parameters in vPara.dat."},
        {"styles of two resolutions", [](ComposeFixture& f) { f.styleNames[3] = "Tstd09.sty"; },
         nullptr,
         "Sorry. The Selected Styles can not be used together.\nPlease try to select other "
         "style(s)."},
        {"no song", nullptr, remove("InPut.bin"), "Error: <InPut.bin> not found."},
        {"division 480", nullptr, song(4, 2, 96, 480),
         "Cannot work with the Division other than 384."},
        {"6/8 with 24 clocks", nullptr, song(6, 3, 24, 384), "Error: Unknown Time Signature."},
        {"one track", nullptr,
         [](const TempProgramFolder& d) {
             auto bytes = d.ReadBytes("InPut.bin");
             const std::size_t first = 14 + 8 + ((bytes[20] << 8) | bytes[21]);
             bytes.resize(first);
             d.Write("InPut.bin", bytes);
         },
         "Error: <InPut.bin> has fewer than two tracks."},
        {"no chord data", nullptr, remove("Data.aco"), "Error: Data.aco not found."},
        {"no notes", nullptr, remove("Notes.dat"), "Notes.dat not found."},
        {"no statistics", nullptr, remove("Temps2.aco"), "Error: Temps2.aco not found."},
        {"no key chord", [](ComposeFixture& f) { f.measures.back().chord1 = "....."; }, nullptr,
         "KhHa2ValGoc() Error: Invalid HaString <.....>"},
        {"missing style", nullptr, remove("Tstc12.sty"), "Error: <Tstc12.sty> not found."},
        {"scratch file not creatable", nullptr,
         [](const TempProgramFolder& d) {
             std::filesystem::create_directory(d.path() / "sty.err");
         },
         "LoadStys() Error: Cannot create file <sty.err> (Is a directory)"},
        {"4/4 style for a 3/4 song", nullptr, song(3, 2, 96, 384),
         "Error in Style Data 1 (Tsta12.sty), Channel 1, Mode 0, LinesTest = 48.\nThe Style cannot "
         "be used for 3/4 song"},
        {"slot 6", [](ComposeFixture& f) { f.measures[0].style = 6; }, nullptr,
         "Fatal error in call to Switch-Styles(): Invalid StyIdToSwTo 6"},
        {"slot 7 later", [](ComposeFixture& f) { f.measures[2].style = 7; }, nullptr,
         "Fatal error in call to SectStyleEnd(): Invalid StyIdToSwTo 7"},
        {"no time signature", nullptr,
         [](const TempProgramFolder& d) {
             auto bytes = d.ReadBytes("InPut.bin");
             for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
                 if (bytes[i] == 0xFF && bytes[i + 1] == 0x58) bytes[i + 1] = 0x7F;
             }
             d.Write("InPut.bin", bytes);
         },
         "Error GetTimeSig(fi)"},
        {"negative division", nullptr, song(4, 2, 96, 0xFF00),
         "Error: Invalid Division -256, Hb=255, Lb=0"},
        {"no track chunk", nullptr,
         [](const TempProgramFolder& d) {
             auto bytes = d.ReadBytes("InPut.bin");
             for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
                 if (bytes[i] == 'M' && bytes[i + 1] == 'T' && bytes[i + 2] == 'r')
                     bytes[i + 2] = 'x';
             }
             d.Write("InPut.bin", bytes);
         },
         "Error seek to FiPos1"},
        {"style cut before its end mark", nullptr,
         [](const TempProgramFolder& d) {
             auto bytes = d.ReadBytes("Tstb12.sty");
             bytes.resize(600);
             d.Write("Tstb12.sty", bytes);
         },
         "Error reading Style data from Tstb12.sty, Channel 1"},
        {"unbalanced style mode",
         [](ComposeFixture& f) {
             f.styleTracks = FullStyle(48);
             f.styleTracks[1].modes[3][23] = "0";
         },
         nullptr, "Error 1 in Style data Tsta12.sty, Channel 2, Mode 3, TestSum = 6"},
        {"style sustain digit 4",
         [](ComposeFixture& f) {
             f.styleTracks = FullStyle(48);
             f.styleTracks[2].value11 = 410;
         },
         nullptr, "Error in style data Tsta12.sty, Channel 3: invalid pUseSust value (=2)"},
        {"bad chord", [](ComposeFixture& f) { f.measures[1].chord1 = "H...."; }, nullptr,
         "KhNote2Val() Error: Ms=002,Beg=00,ChOnCode=90: invalid HaString <H....>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempProgramFolder folder;
        ComposeFixture f;
        f.measures = TypicalMeasures(4);
        if (c.fixture) c.fixture(f);
        const Outcome o = RunFixture(f, folder, c.change);
        ASSERT_TRUE(o.run.completion.has_value());
        EXPECT_EQ(o.run.completion->wParam, 59u);
        EXPECT_EQ(o.run.completion->lParam, 0x20000000u);
        EXPECT_EQ(o.run.exitCode, 1);
        EXPECT_EQ(folder.ReadText("Error3.msg"), WithCrLf(c.message));
        EXPECT_TRUE(folder.Exists("sty.err"));
        EXPECT_EQ(folder.ReadText("sty.err"), "");
    }
}

TEST(ComposeRun, WrongChordDataKeyIsRefused) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    f.WriteTo(folder);
    folder.Write("Data.aco", EncodeChordData(f.measures, 52));
    const auto run =
        RunWorker("Compose", folder.path(), [&](platform::Hwnd h) { return f.Args(h); });
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_TRUE(run.completion->failed());
    EXPECT_EQ(run.completion->wParam, 59u);
    EXPECT_EQ(folder.ReadText("Error3.msg").rfind("Error: Invalid", 0), 0u);
}

TEST(ComposeRun, CommandLinesThatPostNothingOrFailSilently) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    f.WriteTo(folder);
    struct Case {
        const char* what;
        std::function<std::string(platform::Hwnd)> args;
        bool posts;
    };
    const Case cases[] = {
        {"17 tokens",
         [&](platform::Hwnd h) {
             auto a = f.Args(h);
             return a.substr(0, a.rfind(' '));
         },
         false},
        {"19 tokens", [&](platform::Hwnd h) { return f.Args(h) + " 1"; }, false},
        {"two blanks",
         [&](platform::Hwnd h) {
             auto a = f.Args(h);
             return a.replace(a.find(' '), 1, "  ");
         },
         false},
        {"handle 0", [&](platform::Hwnd) { return f.Args(0); }, false},
        {"version 2425",
         [&](platform::Hwnd h) {
             auto a = f.Args(h);
             return a.replace(a.size() - 4, 4, "2425");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto run = RunWorker("Compose", folder.path(), c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.completion.has_value(), c.posts);
        if (run.completion) {
            EXPECT_EQ(run.completion->wParam, 59u);
            EXPECT_TRUE(run.completion->failed());
        }
        EXPECT_EQ(folder.ReadText("Error3.msg"), "");
    }
}

TEST(ComposeRun, PlayOptionsWithThreeLinesUseTheStylesOwnValues) {
    TempProgramFolder folder;
    ComposeFixture f;
    f.measures = TypicalMeasures(4);
    f.vPara =
        "080,000,000,000,000,000,000,000,000,000,000,000,002,003,001,001\r\n"
        "080,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000\r\n"
        "080,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000\r\n";
    const Outcome o = RunFixture(f, folder);
    ASSERT_TRUE(o.song.has_value()) << folder.ReadText("Error3.msg");
    const std::string cpara = folder.ReadText("cPara.dat");
    // Slot 4: every part in mode 0 takes the channel line's program 0 / 32 / 48 / 24 and volume
    // 100.
    EXPECT_EQ(cpara.substr(3 * 49, 49), "001 100 033 100 049 100 025 100 001 100 000 000; ");
}

}  // namespace
}  // namespace composertest

namespace composertest {
namespace {

// The test styles compiled at build time, five to a song, in each time signature.
TEST(ComposeRun, ComposesWithTheBuiltTestStylesInEveryTimeSignature) {
    struct Case {
        int numerator, power;
        const char* sig;
    };
    for (const Case c : {Case{2, 2, "24"}, Case{3, 2, "34"}, Case{4, 2, "44"}, Case{6, 3, "68"}}) {
        for (bool coarse : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << c.sig << (coarse ? " version 05" : " versions 12 to 35"));
            TempProgramFolder folder;
            ComposeFixture f;
            f.numerator = c.numerator;
            f.denominatorPower = c.power;
            f.writeStyles = false;
            f.measures = TypicalMeasures(20);
            f.measures[5].style = 2;
            f.measures[9].style = 3;
            f.measures[13].style = 4;
            f.measures[16].style = 5;
            f.measures[11].drum = f.measures[11].inst = 9;
            f.measures[12].drum = f.measures[12].inst = 6;
            const std::string s = c.sig;
            f.styleNames =
                coarse ? std::array<std::string, 5>{"Ob" + s + "05.sty", "Ob" + s + "05.sty",
                                                    "Ob" + s + "05.sty", "Ob" + s + "05.sty",
                                                    "Ob" + s + "05.sty"}
                       : std::array<std::string, 5>{"Md" + s + "12.sty", "Kd" + s + "25.sty",
                                                    "Lt" + s + "30.sty", "Nw" + s + "31.sty",
                                                    "Nx" + s + "35.sty"};
            const Outcome o = RunFixture(f, folder, [&](const TempProgramFolder& d) {
                for (const std::string& name : f.styleNames)
                    d.Write(name, d.ReadBytes(testsupport::StylePath(name).string()));
            });
            ASSERT_TRUE(o.run.completion.has_value());
            ASSERT_FALSE(o.run.completion->failed()) << folder.ReadText("Error3.msg");
            EXPECT_EQ(folder.ReadText("sty.err"), "");
            ASSERT_TRUE(o.song.has_value());
            std::map<int, int> balance;
            const auto ons = NoteOnsByChannel(*o.song, &balance);
            for (int ch : {5, 6, 7, 8, 9})
                EXPECT_GT(ons.count(ch) ? ons.at(ch) : 0, 0) << "channel " << ch;
            EXPECT_GE(ons.size(), 7u);
            for (auto [ch, b] : balance) EXPECT_EQ(b, 0) << "channel " << ch;
        }
    }
}

}  // namespace
}  // namespace composertest
