#include "tests/library/library_fixture.h"

#include <cstdio>
#include <filesystem>
#include <iterator>

#include "formats/chord_data.h"
#include "frontend/core/output_decoding.h"
#include "platform/file.h"
#include "tests/support/song_builder.h"
#include "tools/firstrun/first_run.h"

namespace librarytest {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kChordKey = 49;
// The fixture song's tempo, as its song header would give it.
constexpr int kFixtureTempo = 120;

// First and second chord per measure, cycling; they cover major, minor, sevenths, major
// sevenths, a suspended seventh and a sixth.
const char* const kChords[] = {"C.M..", "A.m..", "F.M7.", "G..7.", "D.m7.",
                               "G.s7.", "E..7.", "A.m..", "F..6.", "G..7."};

Bytes ChordData() {
    std::string plain;
    char record[64];
    for (int m = 0; m < kMeasures; ++m) {
        std::snprintf(record, sizeof record, "%03d:%d:%s:%d:%s:%d:%d:%-10s;", m, kSections[m],
                      Chord(m, 0).c_str(), 2, Chord(m, 1).c_str(), kSections[m], kSlotStarts[m],
                      "");
        plain += record;
    }
    return formats::EncodeChordData(Bytes(plain.begin(), plain.end()), kChordKey);
}

void WriteFixtureSong(const testsupport::TempProgramFolder& folder, const Signature& ts) {
    WriteTwoNoteMelody(folder, ts.numerator, ts.denominatorPower, ts.halfTicks, kMeasures);
    folder.Write("Data.aco", ChordData());
}

}  // namespace

void WriteTwoNoteMelody(const testsupport::TempProgramFolder& folder, int numerator,
                        int denominatorPower, std::int64_t secondTick, int measures) {
    testsupport::SimpleSong song;
    song.numerator = numerator;
    song.denominatorPower = denominatorPower;
    const std::int64_t measureTicks =
        std::int64_t{kTicksPerQuarter} * (numerator == 6 ? 3 : numerator);
    static const int kScale[] = {60, 62, 64, 65, 67, 69, 71};
    std::string notes, stats, beats;
    char line[96];
    for (int m = 0; m < measures; ++m) {
        const int first = kScale[m % 7];
        const int second = kScale[(m + 2) % 7];
        song.notes.push_back({m * measureTicks, m * measureTicks + kTicksPerQuarter, first, 90});
        song.notes.push_back(
            {m * measureTicks + secondTick, (m + 1) * measureTicks - 10, second, 80});
        std::snprintf(line, sizeof line, "%03d;\r\n%03d;\r\n", first, second);
        notes += line;
        std::snprintf(line, sizeof line, "%03d;%02d;%03d;%02d;%03d;%03d\r\n", first, 0, second, 0,
                      2, 90);
        stats += line;
    }
    for (int i = 0; i < 48; ++i) beats += i % 6 == 0 ? "1\r\n" : "0\r\n";
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    folder.Write("Notes.dat", notes);
    folder.Write("Temps2.aco", stats);
    folder.Write("BtData.dat", beats);
}

std::string Chord(int measure, int half) {
    if (measure == kMeasures - 1) return "C.M..";
    return kChords[(2 * measure + half) % std::size(kChords)];
}

RunResult ComposeFixture(const Signature& ts, const std::array<const StyleInfo*, 5>& slots,
                         const ComposeSettings& settings) {
    testsupport::TempProgramFolder folder;
    WriteFixtureSong(folder, ts);
    std::string options;
    char volume[8];
    std::snprintf(volume, sizeof volume, "%03d", settings.sectVol);
    for (const StyleInfo* style : slots) {
        options += std::string(volume) + ",000,000,000,000,000,000,000,000,000,000," +
                   style->PlayModeCodes() + "\r\n";
        std::filesystem::copy_file(testsupport::StylePath(style->FileName()),
                                   folder.path() / style->FileName(),
                                   std::filesystem::copy_options::skip_existing);
    }
    folder.Write("vPara.dat", options);
    std::string names;
    for (const StyleInfo* style : slots) names += " " + style->FileName();
    return RunComposer(folder, [&](platform::Hwnd hwnd) {
        return "Compose 4 " + settings.echoTokens + " 1" + names + " 49 89 " +
               std::to_string(kChordKey) + " " + std::to_string(hwnd) + " 1 0 0 1 2426";
    });
}

RunResult ComposeFixtureAsTheWindow(const Signature& ts, const std::string& styleFile,
                                    const std::array<int, 5>& partVolumes) {
    testsupport::TempProgramFolder folder;
    WriteFixtureSong(folder, ts);
    std::array<firstrun::SlotStyle, firstrun::kSlots> slots;
    Bytes bytes;
    if (!platform::ReadWholeFile((testsupport::BinDir() / styleFile).string(), bytes)) {
        RunResult missing;
        missing.error = styleFile + " is not in the program folder";
        return missing;
    }
    for (firstrun::SlotStyle& slot : slots) slot = {styleFile, bytes};
    folder.Write(styleFile, bytes);
    std::optional<firstrun::MakeRequest> request;
    RunResult result = RunComposer(folder, [&](platform::Hwnd hwnd) {
        request = firstrun::FirstRunMake(slots, kFixtureTempo, kChordKey, hwnd, partVolumes);
        if (!request) return std::string();
        folder.Write("vPara.dat", request->vPara);
        return request->commandLine;
    });
    if (!request) result.error = styleFile + ": its track records cannot be read";
    return result;
}

RunResult RunComposer(const testsupport::TempProgramFolder& folder,
                      const std::function<std::string(platform::Hwnd)>& makeLine) {
    const std::string program = "Compose ";
    const auto run = testsupport::RunWorker("Compose", folder.path(), [&](platform::Hwnd hwnd) {
        const std::string line = makeLine(hwnd);
        return line.rfind(program, 0) == 0 ? line.substr(program.size()) : line;
    });
    RunResult result;
    if (!run.completion || run.completion->failed() || run.exitCode != 0) {
        result.error = folder.ReadText("Error3.msg");
        return result;
    }
    const auto decoded = frontend::DecodeComposeOutput(
        folder.ReadBytes("ComposeOut.bin"), static_cast<std::int16_t>(run.completion->wParam + 1));
    if (!decoded) {
        result.error = "the output does not decode";
        return result;
    }
    auto song = ReadMidiSong(decoded->song);
    if (!song) {
        result.error = "the decoded output is no well-formed MIDI file";
        return result;
    }
    result.composed = true;
    result.decoded = decoded->song;
    result.song = std::move(*song);
    return result;
}

}  // namespace librarytest
