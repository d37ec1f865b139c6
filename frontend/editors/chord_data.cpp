#include "frontend/editors/chord_data.h"

#include <algorithm>

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

namespace {

std::string PadTo(std::string_view text, std::size_t width) {
    std::string padded(text);
    if (padded.size() < width) padded.append(width - padded.size(), ' ');
    return padded;
}

// The one-character fields of a record: what the cell holds when it is one allowed character,
// else "0".
char SingleOf(std::string_view cell, std::string_view allowed) {
    const std::string_view value = TrimBlanks(cell);
    return value.size() == 1 && allowed.find(value[0]) != std::string_view::npos ? value[0] : '0';
}

constexpr std::string_view kDigits = "0123456789";

char StyleOf(std::string_view cell) {
    const std::string_view value = TrimBlanks(cell);
    return value.size() == 1 && value[0] != ';' ? value[0] : '0';
}

std::string CommentOf(std::string_view cell) {
    std::string comment = PadTo(cell.substr(0, 10), 10);
    std::replace(comment.begin(), comment.end(), ';', ' ');
    return comment;
}

std::string CodeOf(std::string_view cell) {
    return ChordTextToCode(PadTo(TrimBlanks(cell), 5));
}

// A chord cell's text in a list line: trimmed, in its five columns.
std::string ChordListText(std::string_view cell) {
    return PadTo(TrimBlanks(cell).substr(0, 5), 5);
}

}  // namespace

std::string FormatChordDataRecord(int index, const ChordGridRow& row, char keptDigit) {
    return ZeroPad(index, 3) + ":" + SingleOf(row.drum, kDigits) + ":" + CodeOf(row.chord1) + ":" +
           keptDigit + ":" + CodeOf(row.chord2) + ":" + SingleOf(row.inst, kDigits) + ":" +
           StyleOf(row.sty) + ":" + CommentOf(row.comment) + ";";
}

ChordDataWrite BuildChordData(const std::vector<ChordGridRow>& rows, const KeptDigits& kept) {
    ChordDataWrite write;
    for (std::size_t k = 0; k < rows.size() && k < kept.size(); ++k) {
        const ChordGridRow& row = rows[k];
        const std::string codes[2] = {CodeOf(row.chord1), CodeOf(row.chord2)};
        for (int c = 0; c < 2; ++c) {
            if (codes[c].size() != 5 || !HasReadableRoot(codes[c])) {
                write.error =
                    "Error Converting Chord" + std::to_string(c + 1) + " <" + codes[c] + ">";
                write.plain.clear();
                write.lines.clear();
                return write;
            }
        }
        const int index = static_cast<int>(k);
        const std::string record = FormatChordDataRecord(index, row, kept[k]);
        write.plain.insert(write.plain.end(), record.begin(), record.end());
        ChordRecord line;
        line.msNo = ZeroPad(index + 1, 3);
        // The line shows each chord as the user wrote it ("C7m" stays "C7m"), the rest as the
        // record holds it.
        line.chord1 = ChordListText(row.chord1);
        line.chord2 = ChordListText(row.chord2);
        line.drum = record[4];
        line.inst = record[20];
        line.sty = record[22] == '0' ? ' ' : record[22];
        line.comment = record.substr(24, 10);
        write.lines.push_back(line.ChordListLine());
    }
    return write;
}

void DeduplicateStyles(std::vector<std::string>& styles) {
    std::string last;
    for (std::string& style : styles) {
        const std::string_view value = TrimBlanks(style);
        if (value.empty()) continue;
        if (value == last) {
            style.clear();
        } else {
            last = std::string(value);
        }
    }
}

ChordFileCheck CheckChordFile(std::span<const std::uint8_t> stored, int makerMsCount) {
    ChordFileCheck check;
    const ChordDataRead read = ReadChordData(stored, kFixedChordKey);
    if (read.error) {
        check.error = read.error;
        return check;
    }
    const int count = static_cast<int>(read.records.size());
    if (CheckChordMeasureCount(count, false, makerMsCount) == 0) {
        check.error = kInvalidMeasureCountText;
        return check;
    }
    check.count = count;
    check.length = static_cast<std::size_t>(count) * kChordRecordLength;
    return check;
}

namespace {

bool NameHasDot(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.find('.') != std::string_view::npos;
}

}  // namespace

std::string ChordFileLoadPath(std::string_view path) {
    return NameHasDot(path) ? std::string(path) : std::string(path) + kChordFileExtension;
}

std::optional<std::string> ChordFileSavePath(std::string_view path) {
    if (!NameHasDot(path)) return std::string(path) + kChordFileExtension;
    const std::string_view tail = path.substr(path.size() >= 4 ? path.size() - 4 : 0);
    if (!EqualsNoCase(tail, kChordFileExtension)) return std::nullopt;
    return std::string(path);
}

std::string ChordListExportLine(const std::string& msNo, const ChordGridRow& row) {
    return msNo + "|" + PadTo(row.chord1, 5) + "|" + PadTo(row.chord2, 5) + "|" + row.drum + "|" +
           row.inst + "|" + row.sty + "|" + row.comment + "\r\n";
}

}  // namespace corvane::editors
