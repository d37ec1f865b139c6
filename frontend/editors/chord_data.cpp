#include "frontend/editors/chord_data.h"

#include "formats/chord_data.h"
#include "frontend/core/vb_text.h"

namespace corvane::editors {

const char* const kInvalidMeasureCountText = "Error: Invalid number of measures.";

std::vector<std::uint8_t> EncodeChordData(std::span<const std::uint8_t> plain, int key) {
    return formats::EncodeChordData(plain, static_cast<std::uint8_t>(key));
}

std::vector<std::uint8_t> DecodeChordData(std::span<const std::uint8_t> stored, int key) {
    return formats::DecodeChordData(stored, static_cast<std::uint8_t>(key));
}

std::string ChordCodeToText(std::string_view code, std::size_t n) {
    std::string text;
    std::size_t dots = 0;
    for (std::size_t i = 0; i < n && i < code.size(); ++i) {
        if (code[i] == '.') {
            ++dots;
        } else {
            text += code[i];
        }
    }
    return text + std::string(dots, ' ');
}

std::string ChordRecord::ChordListLine() const {
    return msNo + "  " + chord1 + "  " + chord2 + "  " + drum + "   " + inst + "   " + sty +
           comment;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// `index` counts the records read before this one.
ChordRecord SplitRecord(std::string_view r, std::size_t index) {
    ChordRecord record;
    // A measure field that is no three-digit number, or the last one, would not fit the list's
    // three columns; the record's place in the file numbers it then.
    const bool numbered =
        IsDigit(r[0]) && IsDigit(r[1]) && IsDigit(r[2]) && r.substr(0, 3) != "999";
    record.msNo =
        ZeroPad(numbered ? LeadingNumber(r.substr(0, 3)) + 1 : static_cast<long>(index) + 1, 3);
    record.drum = r[4];
    record.chord1 = ChordCodeToText(r.substr(6, 5), 5);
    record.keptDigit = r[12];
    record.chord2 = ChordCodeToText(r.substr(14, 5), 5);
    record.inst = r[20];
    record.sty = r[22] == '0' ? ' ' : r[22];
    record.comment = std::string(r.substr(24, 10));
    return record;
}

}  // namespace

ChordDataRead ReadChordData(std::span<const std::uint8_t> stored, int key) {
    const std::vector<std::uint8_t> plain = DecodeChordData(stored, key);
    ChordDataRead read;
    std::string record;
    std::string lastGood;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (static_cast<int>(read.records.size()) >= kMaxChordRecords) break;
        const char c = static_cast<char>(plain[i]);
        record += c;
        if (c != ';') continue;
        if (record.size() != kChordRecordLength) {
            read.error = "Error found: <" + record + ">, Len = " + std::to_string(record.size()) +
                         ", line No " + std::to_string(read.records.size()) + ", last <" +
                         lastGood + ">, ByteNo = " + std::to_string(i + 2);
            read.records.clear();
            return read;
        }
        read.records.push_back(SplitRecord(record, read.records.size()));
        lastGood = record;
        record.clear();
    }
    return read;
}

int CheckChordMeasureCount(int count, bool chordFromMaker, int& makerMsCount) {
    if (count < 1 || count > kMaxChordRecords) return 0;
    if (chordFromMaker) {
        makerMsCount = count;
    } else if (count != makerMsCount) {
        return 0;
    }
    return count;
}

}  // namespace corvane::editors
