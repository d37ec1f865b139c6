#include "workers/composer/style_loader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "formats/style_coding.h"
#include "formats/style_model.h"
#include "workers/composer/style_row_scan.h"

namespace composer {

namespace {

constexpr std::size_t kStyleLineChars = formats::kMaxLineBytes;
constexpr int kMaxLinesPerMode = 100;
constexpr std::string_view kTrackTag = formats::kStyleRecordTag;
// Cell values beyond this magnitude cannot be held as a whole value with its octave code.
constexpr double kLargestCellValue = 9.0e17;
// The base note and the velocity slopes enter note and velocity sums; far beyond any MIDI
// value they only make those sums overflow, so they are kept within this bound (such a style
// still fails on its first note, with the note check's message).
constexpr int kStyleValueBound = 10000;

// A row of empty cells, as most rows of a style are: read, it gives nothing but zeros, so it is
// recognised by its text instead (whatever follows the last comma the reading ignores too).
constexpr std::string_view kEmptyRow = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,";
static_assert(kEmptyRow.size() == 2 * kColumnCount);
// The same row as the style files hold it, a whole line; taken at once where a row may come.
constexpr std::string_view kEmptyRowLine = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\n";
static_assert(kEmptyRowLine.starts_with(kEmptyRow) && kEmptyRowLine.size() <= kStyleLineChars);

int Bounded(int value) {
    return std::clamp(value, -kStyleValueBound, kStyleValueBound);
}

}  // namespace

int RoundStyleValue(double f) {
    const double a = std::fabs(f);
    int k = 0;
    if (a <= 0.05 || a > 0.95)
        k = 0;
    else if (a <= 0.15)
        k = 1;
    else if (a <= 0.25)
        k = 2;
    else if (a <= 0.35)
        k = 3;
    else if (a <= 0.45)
        k = 4;
    else if (a <= 0.55)
        k = 5;
    else if (a <= 0.65)
        k = 6;
    else if (a <= 0.75)
        k = 7;
    else if (a <= 0.85)
        k = 8;
    else
        k = 9;
    return f < 0 ? -12 * k : 12 * k;
}

std::int64_t SplitStyleValue(double v, std::int64_t& testValue, std::int16_t& extra) {
    extra = 0;
    testValue = 0;
    if (v == 0.0) return 0;
    std::int64_t b = static_cast<std::int64_t>(v);  // toward zero
    const double f = v - static_cast<double>(b);
    const int e = RoundStyleValue(v < 0 ? -std::fabs(f) : std::fabs(f));
    if (b >= 1000000) {
        extra = static_cast<std::int16_t>(b % 100);
        b /= 100;
    }
    const std::int64_t whole = b + e;
    testValue = whole % 1000;
    return whole;
}

void LoadStyleBytes(std::span<const std::uint8_t> file, const StyleLoadContext& c, MessageLog& log,
                    StyleSlot& out) {
    const char* name = c.fileName.c_str();
    std::array<int, kStyleTrackCount> localChannel{1, 2, 3, 4, kDrumChannel};
    std::array<int, kStyleTrackCount> localTens{};
    std::array<int, kStyleTrackCount> localTensFlag{};
    out.channel = localChannel;
    out.loaded = true;
    std::size_t pos = 0;
    formats::StyleBlock block;

    for (int j = 0; j < kStyleTrackCount && pos < file.size(); ++j) {
        // Cells are kept only where the run will read them.
        auto block_table = c.keepCells ? std::make_unique<StyleCells>() : nullptr;
        StyleRow unkept;
        std::array<int, kModeCount> velHs{};
        if (!formats::ReadStyleBlock(file, pos, c.settings.styleKey, block)) break;
        if (!block.complete) {
            // A block cut short before its end mark cannot be trusted.
            int channel = localChannel[j];
            std::string first(block.text.begin(), block.text.end());
            std::string_view body(first);
            if (body.substr(0, kTrackTag.size()) == kTrackTag) body.remove_prefix(kTrackTag.size());
            const std::string scan(body);
            ScanIntRow(scan.c_str(), std::span(&channel, 1));
            log.Printf("Error reading Style data from %s, Channel %d", name, channel);
            AbortCompose(1);
        }

        // Parse the block text line by line (binary reading: only the LF is removed).
        std::span<const std::uint8_t> text(block.text);
        TextLines lines(text);
        std::string_view line;
        std::string row;  // a row to scan, ended as the scanners need
        int channel = localChannel[j];
        int trackIndex = j;
        int values[11] = {};
        bool haveChannelLine = false;
        bool endOfBlock = false;
        for (int k = 0; k < kModeCount && !endOfBlock; ++k) {
            int count = 0;
            std::int64_t testSum = 0;
            bool scanFailed = false;
            while (count < kMaxLinesPerMode) {
                if (count >= 1 && count <= kRowCount && lines.NextIs(kEmptyRowLine)) {
                    ++count;
                    continue;
                }
                if (!lines.Next(kStyleLineChars, line)) {
                    endOfBlock = true;
                    break;
                }
                if (line.compare(0, 3, "Eoi") == 0) {
                    endOfBlock = true;
                    break;
                }
                if (line.size() <= 2) break;
                line.remove_suffix(1);
                if (count == 0 && k == 0) {
                    std::string_view body(line);
                    if (body.substr(0, kTrackTag.size()) == kTrackTag)
                        body.remove_prefix(kTrackTag.size());
                    const std::string scan(body);
                    const int read = ScanIntRow(scan.c_str(), values);
                    if (read != 11) {
                        // The message names the channel the line gives, when it gives one.
                        if (read >= 1) channel = values[0];
                        scanFailed = true;
                        break;
                    }
                    haveChannelLine = true;
                    channel = values[0];
                    trackIndex = channel == kDrumChannel ? kDrumTrackIndex : j;
                    localChannel[trackIndex] = channel;
                    const int h = values[10] / 100 % 10;
                    const int d = values[10] / 10 % 10;
                    int pUseSust = h;
                    int flag1 = 0;
                    if (h >= 2) {
                        pUseSust = h - 2;
                        flag1 = 1;
                    }
                    if (pUseSust > 1) {
                        log.Printf(
                            "Error in style data %s, Channel %d: invalid pUseSust value (=%d)",
                            name, channel, pUseSust);
                        AbortCompose(1);
                    }
                    localTens[trackIndex] = d < 5 ? d : d - 5;
                    localTensFlag[trackIndex] = d < 5 ? 0 : 1;
                    StyleTrack& track = out.tracks[trackIndex];
                    const bool mode0 = c.params.channelMode[trackIndex] == 0;
                    const int* v = mode0 ? &values[2] : &values[6];
                    track.program = c.params.partProgram[trackIndex] >= 1
                                        ? c.params.partProgram[trackIndex] - 1
                                        : v[0];
                    track.volume =
                        c.params.partVol[trackIndex] >= 1 ? c.params.partVol[trackIndex] : v[1];
                    track.pan = v[2];
                    track.effect = v[3];
                    track.pUseSust = pUseSust;
                    track.styleFlag1 = flag1;
                    track.partModeTens = c.params.partModeTens[trackIndex];
                    track.partStyleValue = Bounded(values[1]);
                } else if (count == 0) {
                    int modeLine[2] = {};
                    row.assign(line);
                    if (ScanIntRow(row.c_str(), modeLine) == 2) {
                        const int modNo = modeLine[0];
                        const int vel = modeLine[1];
                        if (modNo < 0 || modNo > 15) {
                            log.Printf(
                                "Error in Style data %s, Channel %d, Mode %d, ModNo=%d, VelHs=%d",
                                name, channel, k, modNo, vel);
                            AbortCompose(1);
                        }
                        velHs[c.settings.flagNew ? k : modNo] = Bounded(vel);
                    }
                } else {
                    if (count > kRowCount) {
                        log.Printf(
                            "Error: Out of pStTab[] buffer. Style data %s, Channel %d, Mode %d, "
                            "LinesTest = %d",
                            name, channel, k, count);
                        AbortCompose(1);
                    }
                    // Its cells stay empty, as every row starts, and add nothing.
                    if (line.compare(0, kEmptyRow.size(), kEmptyRow) != 0) {
                        double v[kColumnCount] = {};
                        row.assign(line);
                        const int n = ScanDoubleRow(row.c_str(), v);
                        bool usable = n >= 1;
                        for (double value : v) {
                            if (!std::isfinite(value) || std::fabs(value) > kLargestCellValue)
                                usable = false;
                        }
                        if (!usable) {
                            scanFailed = true;
                            break;
                        }
                        StyleRow& cells =
                            block_table ? block_table->RowToFill(k, count - 1) : unkept;
                        for (int col = 0; col < kColumnCount; ++col) {
                            std::int64_t test = 0;
                            StyleCell& cell = cells[static_cast<std::size_t>(col)];
                            cell.whole = SplitStyleValue(v[col], test, cell.extra);
                            testSum += test;
                        }
                    }
                }
                ++count;
            }
            if (scanFailed) {
                log.Printf("Error reading Style data from %s, Channel %d", name, channel);
                AbortCompose(1);
            }
            if (!c.settings.flagLate && testSum != 0) {
                log.Printf("Error 1 in Style data %s, Channel %d, Mode %d, TestSum = %ld", name,
                           channel, k, static_cast<long>(testSum));
                AbortCompose(1);
            }
            if (count != c.linesPerMeasure + 1) {
                log.Printf(
                    "Error in Style Data %d (%s), Channel %d, Mode %d, LinesTest = %d.\n"
                    "The Style cannot be used for %s song",
                    c.slot, name, channel, k, count - 1, c.timeSigName.c_str());
                AbortCompose(1);
            }
        }
        if (!haveChannelLine) {
            log.Printf("Error reading Style data from %s, Channel %d", name, channel);
            AbortCompose(1);
        }
        if (!c.settings.flagNew) velHs[0] = velHs[8];
        StyleTrack& track = out.tracks[trackIndex];
        track.velHs = velHs;
        track.cells = std::move(block_table);
        for (int t = 0; t < kStyleTrackCount; ++t) {
            out.channelMode[t] = c.params.channelMode[t];
            out.channel[t] = localChannel[t];
            out.partTensValue[t] = localTens[t];
            out.partTensFlag[t] = localTensFlag[t];
        }
        if (trackIndex == kDrumTrackIndex) break;
    }
}

}  // namespace composer
