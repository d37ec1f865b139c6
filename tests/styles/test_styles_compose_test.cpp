// The test styles in the composer: a song that passes through every section code and switches
// through all five style slots composes in each time signature, with the old (8-step) styles
// and with the five 12-step styles, in two sets of play modes, and every style track sounds.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "formats/chord_data.h"
#include "frontend/core/output_decoding.h"
#include "tests/library/library_fixture.h"
#include "tests/library/midi_events.h"
#include "tests/support/program_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kChordKey = 49;  // the chord maker's key '1'
constexpr int kMeasures = 24;
// Section codes measure by measure: every code 0 to 9 comes up, the song ends with Ending (8).
constexpr std::array<int, kMeasures> kSections = {4, 3, 0, 0, 5, 5, 1, 2, 0, 0, 7, 0,
                                                  6, 0, 5, 5, 9, 0, 0, 5, 1, 0, 0, 8};
// The style slot that starts at a measure (0: none).
constexpr std::array<int, kMeasures> kSlotStarts = {0, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0,
                                                    4, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0};
const char* const kChords[] = {"C....", "F....", "G..7.", "A.m..", "D.m..", "E..7."};

struct Signature {
    int numerator;
    int denominatorPower;
    const char* digits;  // of the style codes
};

Bytes ChordData() {
    std::string plain;
    char record[64];
    for (int m = 0; m < kMeasures; ++m) {
        const char* chord1 = m == kMeasures - 1 ? "C...." : kChords[m % 6];
        const char* chord2 = m % 2 == 0 ? "....." : kChords[(m + 1) % 6];
        std::snprintf(record, sizeof record, "%03d:%d:%s:%d:%s:%d:%d:%-10s;", m, kSections[m],
                      chord1, 2, chord2, kSections[m], kSlotStarts[m], "");
        plain += record;
    }
    return formats::EncodeChordData(Bytes(plain.begin(), plain.end()), kChordKey);
}

void WriteSong(const testsupport::TempProgramFolder& folder, const Signature& ts) {
    const int beats = ts.numerator == 6 ? 3 : ts.numerator;
    librarytest::WriteTwoNoteMelody(folder, ts.numerator, ts.denominatorPower, 384 * beats / 2,
                                    kMeasures);
    folder.Write("Data.aco", ChordData());
}

TEST(TestStylesInTheComposer, EveryStyleTrackSoundsInEveryTimeSignature) {
    const Signature signatures[] = {{2, 2, "24"}, {3, 2, "34"}, {4, 2, "44"}, {6, 3, "68"}};
    // Play modes of parts 1 to 5 per run: the styles' own proposals, then every part in
    // another mode (with the sustain digit on the chord part).
    const char* const playModes[] = {"000,000,002,003,001", "001,012,003,000,000"};
    for (const Signature& ts : signatures) {
        const std::string d = ts.digits;
        const std::vector<std::array<std::string, 5>> groups = {
            {"Md" + d + "12.sty", "Kd" + d + "25.sty", "Lt" + d + "30.sty", "Nw" + d + "31.sty",
             "Nx" + d + "35.sty"},
            {"Ob" + d + "05.sty", "Ob" + d + "05.sty", "Ob" + d + "05.sty", "Ob" + d + "05.sty",
             "Ob" + d + "05.sty"},
        };
        for (const auto& styles : groups) {
            for (const char* modes : playModes) {
                SCOPED_TRACE(styles[0] + " with play modes " + modes);
                testsupport::TempProgramFolder folder;
                WriteSong(folder, ts);
                std::string options;
                for (int slot = 0; slot < 5; ++slot) {
                    options += std::string("090,000,000,000,000,000,000,000,000,000,000,") + modes +
                               "\r\n";
                }
                folder.Write("vPara.dat", options);
                for (const std::string& name : styles) {
                    std::filesystem::copy_file(testsupport::StylePath(name), folder.path() / name,
                                               std::filesystem::copy_options::skip_existing);
                }
                std::string names;
                for (const std::string& name : styles) names += " " + name;
                const auto run =
                    testsupport::RunWorker("Compose", folder.path(), [&](platform::Hwnd hwnd) {
                        return "4 4 5 1" + names + " 49 89 " + std::to_string(kChordKey) + " " +
                               std::to_string(hwnd) + " 0 0 0 1 2426";
                    });
                ASSERT_TRUE(run.completion.has_value());
                ASSERT_FALSE(run.completion->failed()) << folder.ReadText("Error3.msg");
                EXPECT_EQ(run.exitCode, 0);
                EXPECT_EQ(folder.ReadText("sty.err"), "");

                const Bytes output = folder.ReadBytes("ComposeOut.bin");
                const auto decoded = frontend::DecodeComposeOutput(
                    output, static_cast<std::int16_t>(run.completion->wParam + 1));
                ASSERT_TRUE(decoded.has_value());
                const auto song = librarytest::ReadMidiSong(decoded->song);
                ASSERT_TRUE(song.has_value());
                ASSERT_EQ(song->trackCount, 12);
                std::map<int, int> noteOnsByTrack;
                std::map<int, int> balanceByChannel;  // note-ons minus note-offs
                for (const librarytest::ChannelEvent& e : song->events) {
                    if (e.IsNoteOn()) ++noteOnsByTrack[e.track];
                    if (e.IsNoteOn()) ++balanceByChannel[e.channel];
                    if (e.IsNoteOff()) --balanceByChannel[e.channel];
                }
                for (int track = 2; track <= 6; ++track) {
                    EXPECT_GT(noteOnsByTrack[track], 0) << "style track " << track - 1;
                }
                for (const auto& [channel, balance] : balanceByChannel) {
                    EXPECT_EQ(balance, 0) << "channel " << channel;
                }
                EXPECT_EQ(librarytest::NoteStreamFaults(*song, 2), "");
            }
        }
    }
}

}  // namespace
