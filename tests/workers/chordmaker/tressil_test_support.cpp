#include "tests/workers/chordmaker/tressil_test_support.h"

#include "formats/chord_data.h"

namespace chordmaker::testing {

namespace {

std::string WithoutCarriageReturns(std::string text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

}  // namespace

void WriteSong(const testsupport::TempProgramFolder& folder, const SongFiles& files,
               const std::string& keysData) {
    folder.Write("Notes.aco", files.notesAco);
    folder.Write("Temps2.aco", files.temps2);
    folder.Write("Notes.dat", files.notesDat);
    folder.Write("KeysData.Aco", keysData);
}

std::vector<std::string> DecodeRecords(const std::vector<std::uint8_t>& stored, std::uint8_t key) {
    const std::vector<std::uint8_t> plain = formats::DecodeChordData(stored, key);
    std::vector<std::string> records;
    for (std::size_t at = 0; at < plain.size(); at += formats::kChordDataRecordSize) {
        const std::size_t end = std::min(plain.size(), at + formats::kChordDataRecordSize);
        records.emplace_back(plain.begin() + static_cast<std::ptrdiff_t>(at),
                             plain.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return records;
}

TressilResult RunTressil(const testsupport::TempProgramFolder& folder, const std::string& args) {
    TressilResult result;
    const testsupport::WorkerRun run = testsupport::RunWorker("Tressil", folder.path(), args);
    result.exitCode = run.exitCode;
    result.completion = run.completion;
    result.errorText = WithoutCarriageReturns(folder.ReadText("Error2.msg"));
    result.pathScores = folder.ReadText("Error1.msg");
    result.dataWritten = folder.Exists("Data.aco");
    if (result.dataWritten && run.completion && !run.completion->failed()) {
        result.records = DecodeRecords(folder.ReadBytes("Data.aco"),
                                       static_cast<std::uint8_t>(run.completion->wParam));
    }
    return result;
}

}  // namespace chordmaker::testing
