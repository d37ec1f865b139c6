// A key byte and the bytes of a chord data file -> the chord list, or a refusal. A list holds at
// most 260 measures of 38-character lines; a refusal keeps nothing; the list saved again with the
// editor's key gives a file of exactly 35 bytes a measure that reads back line for line, but for
// the chords, which the saved lines keep as their cells hold them; a chord file check agrees with
// the reader.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/core/vb_text.h"
#include "frontend/editors/chord_data.h"

using namespace corvane::editors;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int key = data[0];
    const std::span<const std::uint8_t> stored(data + 1, size - 1);
    const ChordDataRead read = ReadChordData(stored, key);
    if (read.records.size() > static_cast<std::size_t>(kMaxChordRecords)) std::abort();
    if (read.error && !read.records.empty()) std::abort();

    KeptDigits kept{};
    std::vector<ChordGridRow> rows;
    for (std::size_t i = 0; i < read.records.size(); ++i) {
        const ChordRecord& r = read.records[i];
        if (r.ChordListLine().size() != 38) std::abort();
        kept[i] = r.keptDigit;
        rows.push_back({r.chord1, r.chord2, std::string(1, r.drum), std::string(1, r.inst),
                        std::string(1, r.sty), r.comment});
    }
    const ChordDataWrite write = BuildChordData(rows, kept);
    if (write.error) {
        if (!write.plain.empty()) std::abort();
        return 0;
    }
    if (write.plain.size() != kChordRecordLength * rows.size()) std::abort();
    const std::vector<std::uint8_t> saved = EncodeChordData(write.plain, kFixedChordKey);
    const ChordDataRead again = ReadChordData(saved, kFixedChordKey);
    if (again.error || again.records.size() != rows.size()) std::abort();
    // Where a list line keeps each chord: characters 6-10 and 13-17; everything around them
    // reads back as written.
    constexpr std::size_t kChordWidth = 5, kChord1At = 5, kChord2At = 12;
    constexpr std::size_t kBetweenChords = kChord1At + kChordWidth;
    constexpr std::size_t kAfterChords = kChord2At + kChordWidth;
    const auto keptAsCell = [](const std::string& line, std::size_t at, const std::string& cell) {
        const std::string shown(corvane::TrimBlanks(line.substr(at, kChordWidth)));
        return shown == std::string(corvane::TrimBlanks(cell)).substr(0, kChordWidth);
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string back = again.records[i].ChordListLine();
        const std::string& line = write.lines[i];
        if (line.size() != back.size()) std::abort();
        if (line.substr(0, kChord1At) != back.substr(0, kChord1At)) std::abort();
        if (line.substr(kBetweenChords, kChord2At - kBetweenChords) !=
            back.substr(kBetweenChords, kChord2At - kBetweenChords)) {
            std::abort();
        }
        if (line.substr(kAfterChords) != back.substr(kAfterChords)) std::abort();
        if (!keptAsCell(line, kChord1At, rows[i].chord1)) std::abort();
        if (!keptAsCell(line, kChord2At, rows[i].chord2)) std::abort();
        if (again.records[i].keptDigit != kept[i]) std::abort();
    }

    const int count = static_cast<int>(read.records.size());
    const ChordFileCheck check = CheckChordFile(stored, count);
    if (key == kFixedChordKey) {
        if (static_cast<bool>(check.error) != (read.error || count == 0)) std::abort();
        if (!check.error && check.length != kChordRecordLength * read.records.size()) std::abort();
    }
    if (check.length > stored.size()) std::abort();
    return 0;
}
