#include "workers/chordmaker/chord_sheet.h"

#include "formats/chord_data.h"
#include "formats/exchange_files.h"
#include "workers/chordmaker/error_text.h"
#include "workers/chordmaker/text_scan.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

constexpr const char* kKeysDataName = formats::files::kKeysData;
constexpr int kStyleSlots = 5;
constexpr int kCommentWidth = 10;
constexpr int kCodeIntro1 = 4;

int KeptDigitOf(KeyCode key) {
    const int cdKet = formats::KeyRecTable[key].tonicPitchClass + 1;
    return cdKet + 1;
}

// The chord as a record holds it: an alteration other than '+', '-', 'o' becomes '.', and
// anything that is then not 5 characters is no chord.
HaStr RecordChord(const HaStr& chord) {
    HaStr text = chord.substr(0, 5);
    if (text.size() == 5 && text[4] != '+' && text[4] != '-' && text[4] != 'o') text[4] = '.';
    if (text.size() != 5) return HaStr(kNoChord);
    return text;
}

}  // namespace

KeyRunResult RunKey(const SongInput& song, KeyCode key, const RunParameters& params,
                    const EngineOptions& options) {
    KeyRunState state(song, key, params, options);
    FindChords(state);
    KeyRunResult result;
    result.pathScoreDump = state.pathScoreDump;
    result.drum = state.drum;
    result.chords = state.chord;
    result.inst.reserve(static_cast<std::size_t>(state.measures));
    for (int m = 0; m < state.measures; ++m) result.inst.push_back(state.code[2 * m]);
    return result;
}

bool MakeChordSheet(const SongInput& song, std::span<const std::uint8_t> keysData,
                    const RunParameters& params, ChordSheet& sheet, std::string& log,
                    const EngineOptions& options) {
    const int n = song.MeasureCount();
    sheet = ChordSheet{};
    sheet.measures.resize(static_cast<std::size_t>(n));
    // Runs are independent of each other, so a key met again reuses its result.
    std::map<KeyCode, KeyRunResult> runs;
    bool accepted = false;

    LineReader lines(keysData);
    std::string line;
    while (lines.GetLine(line)) {
        FieldScanner scan(line);
        std::int32_t measure = 0;
        std::int32_t key = 0;
        std::string name;
        int fields = 0;
        if (scan.Int(3, measure)) {
            ++fields;
            if (scan.Literal(':') && scan.Int(2, key)) {
                ++fields;
                if (scan.Literal(';') && scan.Word(10, name)) ++fields;
            }
        }
        if (fields < 3) {
            log += Format("GetLine Error: nKq != 3 in KeyData <%s>", kKeysDataName);
            return false;
        }
        if (key < 0 || key >= kKeyCount) {
            log += Format("Invalid KeyCode (%d) in KeyData <%s>", key, kKeysDataName);
            return false;
        }
        if (measure < 1) {
            log += Format("Invalid measure number (%d) in KeyData <%s>", measure, kKeysDataName);
            return false;
        }
        // The first key line holds from the song's start, however short the song.
        if (n == 0 || (accepted && measure >= n)) break;
        if (!accepted) measure = 1;
        accepted = true;

        const int from = measure - 1;
        sheet.measures[from].keyName = std::string(formats::KeyNameTable[key]);
        auto run = runs.find(key);
        if (run == runs.end()) {
            try {
                run = runs.emplace(key, RunKey(song, key, params, options)).first;
            } catch (const worker::WorkerFatal& failure) {
                log += failure.message();
                return false;
            }
        }
        const KeyRunResult& result = run->second;
        sheet.pathScoreDump = result.pathScoreDump;
        for (int m = from; m < n; ++m) {
            MeasureRecord& record = sheet.measures[m];
            record.inst = result.inst[m];
            record.drum = result.drum[m];
            record.chord1 = result.chords[2 * m];
            record.chord2 = result.chords[2 * m + 1];
            record.keptDigit = KeptDigitOf(key);
        }
    }
    if (!accepted) {
        log += Format("Error: No key data in <%s>.", kKeysDataName);
        return false;
    }
    MarkPhraseStarts(sheet, params.phraseLen);
    BlankRepeatedChords(sheet);
    MarkBeforeCode4(sheet);
    return true;
}

void MarkPhraseStarts(ChordSheet& sheet, std::int64_t phraseLen) {
    auto& measures = sheet.measures;
    const int n = static_cast<int>(measures.size());
    if (n == 0) return;
    measures[0].sty = 1;
    int lastMarked = 0;
    int style = 1;
    for (int m = 1; m + 1 < n; ++m) {
        if (m - lastMarked <= phraseLen) continue;
        const int before = measures[m - 1].drum;
        const int here = measures[m].drum;
        const bool breakThenStop = before == 7 && here == 6;
        const bool breakThenVariation =
            before == 2 && here == 1 && measures[m].chord1 == measures[m].chord2;
        if (!breakThenStop && !breakThenVariation) continue;
        style = style == kStyleSlots ? 1 : style + 1;
        measures[m].sty = style;
        lastMarked = m;
    }
}

void BlankRepeatedChords(ChordSheet& sheet) {
    auto& measures = sheet.measures;
    const int n = static_cast<int>(measures.size());
    if (n == 0) return;
    auto chordOf = [&](int half) -> HaStr& {
        MeasureRecord& record = measures[half / 2];
        return half % 2 == 0 ? record.chord1 : record.chord2;
    };
    HaStr kept = chordOf(0);
    for (int half = 1; half <= 2 * n - 3; ++half) {
        HaStr& chord = chordOf(half);
        if (chord == kept) {
            chord = kNoChord;
        } else {
            kept = chord;
        }
    }
    measures[n - 1].chord2 = kNoChord;
}

void MarkBeforeCode4(ChordSheet& sheet) {
    auto& measures = sheet.measures;
    const int n = static_cast<int>(measures.size());
    for (int m = 0; m + 2 < n; ++m) {
        const int drum = measures[m].drum;
        if ((drum == 0 || drum == 5) && measures[m + 1].drum == kCodeIntro1) measures[m].drum = 1;
    }
}

std::string FormatChordDataRecord(int measure, const MeasureRecord& record) {
    std::string comment = record.keyName.substr(0, kCommentWidth);
    comment.resize(kCommentWidth, ' ');
    return Format("%03d:%d:", measure, record.drum) + RecordChord(record.chord1) +
           Format(":%d:", record.keptDigit % 10) + RecordChord(record.chord2) +
           Format(":%d:%d:", record.inst, record.sty < 1 ? 0 : record.sty) + comment + ";";
}

bool FormatChordData(const ChordSheet& sheet, std::string& plain) {
    plain.clear();
    for (std::size_t m = 0; m < sheet.measures.size(); ++m) {
        const std::string record = FormatChordDataRecord(static_cast<int>(m), sheet.measures[m]);
        if (record.size() != formats::kChordDataRecordSize) return false;
        plain += record;
    }
    return true;
}

}  // namespace chordmaker
