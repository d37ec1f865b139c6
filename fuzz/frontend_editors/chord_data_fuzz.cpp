// A key byte and the bytes of a chord data file -> the chord list, or a refusal. A list holds at
// most 260 measures of 38-character lines; a refusal keeps nothing; the list saved again with the
// editor's key reads back line for line and gives a file of exactly 35 bytes a measure; a chord
// file check agrees with the reader.
#include <cstdint>
#include <cstdlib>
#include <span>

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
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (again.records[i].ChordListLine() != write.lines[i]) std::abort();
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
