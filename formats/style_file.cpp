#include "formats/style_file.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "formats/style_coding.h"
#include "formats/style_keys.h"

namespace formats {

namespace {

constexpr std::string_view kRecordTag = kStyleRecordTag;
constexpr std::string_view kEndOfBlock = kStyleEndOfBlock;
constexpr int kChannelLineValues = 11;
constexpr int kModeLineValues = 2;
constexpr double kLargestCellValue = 1e13;

std::string RecordLine(const Style& style, const Track& track, bool first) {
    const int values[kChannelLineValues] = {
        track.channel,     track.base,           track.chord.program,   track.chord.volume,
        track.chord.pan,   track.chord.effect,   track.pattern.program, track.pattern.volume,
        track.pattern.pan, track.pattern.effect, track.ModeCode()};
    std::string line(kRecordTag);
    for (int value : values) line += std::to_string(value) + ",";
    line += "\"" + (first ? style.header : track.name) + "\"";
    return line;
}

std::string CodedText(const Track& track) {
    std::string text;
    for (std::size_t m = 0; m < track.modes.size(); ++m) {
        const Mode& mode = track.modes[m];
        if (m > 0) {
            text += "\r\n";  // the empty line that ends the mode before
            text += std::to_string(mode.number) + "," + std::to_string(mode.slope) + ",\r\n";
        }
        for (const StepRow& row : mode.rows) {
            for (const Cell& cell : row) text += std::to_string(cell.StoredValue()) + ",";
            text += "\r\n";
        }
    }
    text += kEndOfBlock;
    text += "\r\n";
    return text;
}

// sscanf-like reading of "%d," or "%lf," repeated: the values converted before the first
// mismatch.
template <typename Number>
int ScanValues(std::string_view text, Number* values, int count) {
    std::string buffer(text);
    const char* p = buffer.c_str();
    int converted = 0;
    while (converted < count) {
        char* end = nullptr;
        Number value{};
        if constexpr (std::is_same_v<Number, double>) {
            value = std::strtod(p, &end);
        } else {
            const long wide = std::strtol(p, &end, 10);
            if (end != p && (wide < -32768 || wide > 32767)) return converted;
            value = static_cast<Number>(wide);
        }
        if (end == p) return converted;
        values[converted++] = value;
        p = end;
        if (*p != ',') return converted;
        ++p;
    }
    return converted;
}

// The thirteenth field of a record line as the front end's list input reads it.
std::string RecordText(std::string_view line) {
    std::size_t pos = 0;
    for (int field = 0; field < 12; ++field) {
        const std::size_t comma = line.find(',', pos);
        if (comma == std::string_view::npos) return {};
        pos = comma + 1;
    }
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == '"') {
        const std::size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos) return std::string(line.substr(pos + 1));
        return std::string(line.substr(pos + 1, close - pos - 1));
    }
    std::size_t end = line.find(',', pos);
    if (end == std::string_view::npos) end = line.size();
    std::string text(line.substr(pos, end - pos));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    return text;
}

// The lines of a decoded block as the loader reads them: each up to its line end, but no
// longer than the loader's line buffer.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    const std::size_t limit = kMaxLineBytes;
    while (!text.empty()) {
        std::size_t length = text.find('\n');
        length = length == std::string_view::npos ? text.size() : length + 1;
        length = std::min(length, limit);
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

class BlockReader {
  public:
    BlockReader(const Style& style, std::string_view fileName)
        : style_(style), fileName_(fileName) {}

    // Parses one decoded block into `track`; the loader's message when it refuses.
    std::optional<std::string> Read(std::string_view text, Track& track) {
        const auto lines = SplitLines(text);
        std::size_t next = 0;
        const int lpm = LinesPerMeasure(style_.timeSignature, style_.version);
        for (int k = 0; k < kMaxModes; ++k) {
            Mode mode;
            mode.index = k;
            mode.number = k;
            mode.rows.resize(lpm);
            int count = 0;
            bool endOfBlock = next >= lines.size();
            while (next < lines.size()) {
                std::string_view line = lines[next++];
                if (line.substr(0, 3) == kEndOfBlock) {
                    endOfBlock = true;
                    break;
                }
                if (line.size() <= 2) break;
                line.remove_suffix(1);
                if (k == 0 && count == 0) {
                    if (auto error = ChannelLine(line, track)) return error;
                } else if (count == 0) {
                    int values[kModeLineValues] = {0, 0};
                    if (ScanValues(line, values, kModeLineValues) != kModeLineValues) {
                        return Message("Error reading Style data from %s, Channel %d");
                    }
                    if (values[0] < 0 || values[0] >= kMaxModes) {
                        return Message("Error in Style data %s, Channel %d, Mode " +
                                       std::to_string(k) + ", ModNo=" + std::to_string(values[0]));
                    }
                    mode.number = values[0];
                    mode.slope = values[1];
                } else {
                    if (count > kMaxRowsPerMode) {
                        return Message("Error: Out of pStTab[] buffer. Style data %s, Channel %d");
                    }
                    double values[kCellColumns] = {};
                    if (ScanValues(line, values, kCellColumns) < 1) {
                        return Message("Error reading Style data from %s, Channel %d");
                    }
                    for (int column = 0; column < kCellColumns; ++column) {
                        if (!std::isfinite(values[column]) ||
                            std::fabs(values[column]) >= kLargestCellValue) {
                            return Message("a cell value is out of range in %s, Channel %d");
                        }
                        if (count - 1 < lpm) {
                            mode.rows[count - 1][column] = Cell::FromStoredValue(values[column]);
                        }
                    }
                }
                ++count;
            }
            if (k == 0 && count == 0) {
                return Message("Error reading Style data from %s, Channel %d");
            }
            if (count != lpm + 1) {
                return Message("Error in Style Data (%s), Channel %d, Mode " + std::to_string(k) +
                               ", LinesTest = " + std::to_string(count - 1) +
                               ".\nThe Style cannot be used for " +
                               std::string(TimeSignatureName(style_.timeSignature)) + " song");
            }
            track.modes.push_back(std::move(mode));
            if (endOfBlock) return std::nullopt;
            if (next >= lines.size()) return std::nullopt;
        }
        return Message("more than 16 modes in %s, Channel %d");
    }

  private:
    std::optional<std::string> ChannelLine(std::string_view line, Track& track) {
        std::string_view values = line;
        if (values.substr(0, kRecordTag.size()) == kRecordTag) values.remove_prefix(5);
        int v[kChannelLineValues] = {};
        const int converted = ScanValues(values, v, kChannelLineValues);
        if (converted > 0) channel_ = v[0];
        if (converted != kChannelLineValues) {
            return Message("Error reading Style data from %s, Channel %d");
        }
        track.channel = v[0];
        channel_ = v[0];
        track.base = v[1];
        track.chord = {v[2], v[3], v[4], v[5]};
        track.pattern = {v[6], v[7], v[8], v[9]};
        const int code = v[10];
        if (code < 0 || code > 999) {
            return Message("mode code " + std::to_string(code) + " is out of range in %s");
        }
        const int hundreds = code / 100;
        if (hundreds > 3) {
            return Message("Error in style data %s, Channel %d: invalid pUseSust value (=" +
                           std::to_string(hundreds - 2) + ")");
        }
        track.sustain = hundreds >= 2 ? hundreds - 2 : hundreds;
        track.styleFlag1 = hundreds >= 2 ? 1 : 0;
        const int tens = code / 10 % 10;
        track.registerRule = tens < 5 ? tens : tens - 5;
        track.registerTight = tens < 5 ? 0 : 1;
        track.playMode = code % 10;
        return std::nullopt;
    }

    // Fills the loader's message pattern: the first %s is the file, the first %d the channel.
    std::string Message(std::string pattern) const {
        const std::size_t s = pattern.find("%s");
        if (s != std::string::npos) pattern.replace(s, 2, fileName_);
        const std::size_t d = pattern.find("%d");
        if (d != std::string::npos) pattern.replace(d, 2, std::to_string(channel_));
        return pattern;
    }

    const Style& style_;
    std::string fileName_;
    int channel_ = 0;
};

}  // namespace

std::vector<std::size_t> ScanTrackRecords(std::span<const std::uint8_t> bytes) {
    // The front end's search: a five-byte window, moved on to the next "M" it holds, and after
    // a record found the search resumes one record spacing further on.
    std::vector<std::size_t> records;
    std::size_t pos = 0;
    while (pos + kRecordTag.size() <= bytes.size()) {
        const std::string_view window(reinterpret_cast<const char*>(bytes.data()) + pos,
                                      kRecordTag.size());
        if (window == kRecordTag) {
            records.push_back(pos);
            pos += kRecordSpacing;
            continue;
        }
        const std::size_t m = window.find('M');
        pos += m == std::string_view::npos ? kRecordTag.size() : (m == 0 ? 1 : m);
    }
    return records;
}

Result<std::vector<std::uint8_t>> WriteStyleFile(const Style& style) {
    using R = Result<std::vector<std::uint8_t>>;
    if (auto problem = CheckStyle(style)) return R::Fail(*problem);
    const std::uint8_t key = formats::StyleKeyForVersion(style.version);
    std::vector<std::uint8_t> file;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < style.tracks.size(); ++i) {
        const Track& track = style.tracks[i];
        std::string line = RecordLine(style, track, i == 0);
        const std::string text = CodedText(track);
        // Blanks after the record's last field reach the spacing the front end needs between
        // records; neither reader looks at them.
        const std::size_t block = line.size() + 2 + text.size();
        if (i + 1 < style.tracks.size() && block < kRecordSpacing) {
            line.append(kRecordSpacing - block, ' ');
        }
        line += "\r\n";
        if (line.size() > kMaxLineBytes) {
            return R::Fail({track.line, "the track's data is too short to keep the " +
                                            std::to_string(kRecordSpacing) +
                                            " bytes between records"});
        }
        starts.push_back(file.size());
        file.insert(file.end(), line.begin(), line.end());
        AppendCodedStyleText(text, key, file);
    }
    if (ScanTrackRecords(file) != starts) {
        int line = style.tracks.back().line;
        const auto found = ScanTrackRecords(file);
        for (std::size_t i = 0; i < found.size() && i < starts.size(); ++i) {
            if (found[i] != starts[i]) {
                line = style.tracks[i == 0 ? 0 : i - 1].line;
                break;
            }
        }
        return R::Fail({line,
                        "the coded data happens to spell a record tag \"Mtrk,\"; change "
                        "a cell or a value of this track"});
    }
    return R{std::move(file), {}};
}

Result<Style> ReadStyleFile(std::span<const std::uint8_t> bytes, std::string_view code,
                            int version) {
    Style style;
    style.code = std::string(code);
    style.version = version;
    const std::string fileName = style.FileName();
    const auto fail = [](std::string message) { return Result<Style>::Fail({0, message}); };
    if (bytes.size() <= kRecordTag.size() ||
        std::string_view(reinterpret_cast<const char*>(bytes.data()), kRecordTag.size()) !=
            kRecordTag) {
        return fail(fileName + " does not begin with \"Mtrk,\"");
    }
    const std::uint8_t key = formats::StyleKeyForVersion(version);
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    StyleBlock block;
    for (int j = 0; j < kMaxTracks && pos < bytes.size(); ++j) {
        const std::size_t start = pos;
        // The loader stops where no line end follows.
        if (!ReadStyleBlock(bytes, pos, key, block)) break;
        starts.push_back(start);
        const std::string record(
            block.text.begin(),
            block.text.begin() + static_cast<std::ptrdiff_t>(block.recordLength));
        const std::string text(block.text.begin(), block.text.end());
        const bool ended = block.complete;
        if (j == 0) {
            std::string_view recordView(record);
            recordView.remove_suffix(1);
            style.header = RecordText(recordView);
            const HeaderScan scan = ScanHeaderText(style.header);
            if (!scan.timeSignature)
                return fail("Style data error in " + fileName + ": " + scan.error);
            style.timeSignature = *scan.timeSignature;
        }
        Track track;
        BlockReader reader(style, fileName);
        if (!ended) {
            std::string_view values(record);
            if (values.substr(0, 5) == kRecordTag) values.remove_prefix(5);
            int channel = 0;
            ScanValues(values, &channel, 1);
            return fail("Error reading Style data from " + fileName + ", Channel " +
                        std::to_string(channel));
        }
        if (auto error = reader.Read(text, track)) return fail(*error);
        if (j > 0) {
            std::string_view recordView(record);
            recordView.remove_suffix(1);
            track.name = RecordText(recordView);
        }
        const bool last = track.channel == kDrumChannel;
        style.tracks.push_back(std::move(track));
        if (last) break;
    }
    if (ScanTrackRecords(bytes) != starts) {
        return fail("the front end would find the track records of " + fileName +
                    " at other places than the composer reads its blocks");
    }
    if (auto problem = CheckStyle(style)) return fail(problem->message);
    return Result<Style>{std::move(style), {}};
}

}  // namespace formats
