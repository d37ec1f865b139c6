// The composer's shared vocabulary: the fixed limits of its tables, a style cell, the style
// table of one track, the measure records of the chord data and the message log that every
// stage writes into (the driver copies it into "Error3.msg"). A fatal stop deep inside the
// composer is a worker::WorkerFatal thrown after its message was logged; only the driver catches
// it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/song_limits.h"
#include "formats/style_model.h"
#include "workers/common/worker_fatal.h"

namespace composer {

constexpr int kSlotCount = 5;
constexpr int kStyleTrackCount = formats::kMaxTracks;
constexpr int kDrumTrackIndex = kStyleTrackCount - 1;
constexpr int kDrumChannel = formats::kDrumChannel;
constexpr int kModeCount = formats::kMaxModes;
// GetInst31Mode answers 16 for the Pause section: a mode that holds no cells.
constexpr int kPauseMode = 16;
constexpr int kRowCount = formats::kMaxRowsPerMode;
constexpr int kColumnCount = formats::kCellColumns;
// The composer's measure table keeps one record fewer than the song loader and the chord maker
// accept, so a song of formats::kMaxMeasures measures passes them and is refused here.
constexpr int kMeasureTabSize = formats::kMaxMeasures - 1;
constexpr int kMaxStatRows = 260;
using formats::kTicksPerQuarter;
constexpr std::int32_t kVersionToken = 2426;
constexpr int kFailureDoneCode = 59;
constexpr int kArgumentCount = 18;
constexpr int kArgumentFieldLimit = 21;

// A style cell: the whole value (note, cell velocity and tick offset packed in decimal digits)
// and its extra field (the note length in steps).
struct StyleCell {
    std::int64_t whole = 0;
    std::int16_t extra = 0;
};

// The cells of one step of a style mode.
using StyleRow = std::array<StyleCell, kColumnCount>;

// The cells of one style track: kModeCount modes of up to kRowCount rows. Most rows of a style
// are empty, so only the rows given cells take room; every other row reads as the empty row.
class StyleCells {
  public:
    // mode in 0..kModeCount-1, row in 0..kRowCount-1.
    const StyleRow& Row(int mode, int row) const {
        return rows_[index_[static_cast<std::size_t>(mode)][static_cast<std::size_t>(row)]];
    }
    // The row to put cells into; an empty one the first time.
    StyleRow& RowToFill(int mode, int row) {
        std::uint16_t& at = index_[static_cast<std::size_t>(mode)][static_cast<std::size_t>(row)];
        if (at == 0) {
            at = static_cast<std::uint16_t>(rows_.size());
            rows_.emplace_back();
        }
        return rows_[at];
    }
    // Every row empty again.
    void Clear() {
        for (auto& mode : index_) mode.fill(0);
        rows_.resize(1);
    }

  private:
    static_assert(kModeCount * kRowCount < 65535);
    std::array<std::array<std::uint16_t, kRowCount>, kModeCount> index_{};
    std::vector<StyleRow> rows_ = std::vector<StyleRow>(1);  // [0]: the empty row
};

// Decimal fields of a positive cell value.
inline int CellNote(std::int64_t v) {
    return static_cast<int>(v % 1000);
}
inline int CellVelocity(std::int64_t v) {
    return static_cast<int>((v % 1000000) / 1000);
}
inline int CellOffset(std::int64_t v) {
    return static_cast<int>(v / 1000000);
}

// One chord data record as the composer keeps it.
struct MeasureRecord {
    int instCode = 0;
    std::string chord1 = ".....";
    char kept = '0';
    std::string chord2 = ".....";
    int drumCode = 0;
};

struct SectionEntry {
    int measure = 0;
    int slot = 0;
};

// Values 1, 2, 3, 4 and 6 of a "Temps2.aco" line.
struct MeasureStat {
    int mainNote1 = 0;
    int position1 = 0;
    int mainNote2 = 0;
    int position2 = 0;
    int velocity = 0;
};

// Everything the composer writes into its error file, in order.
class MessageLog {
  public:
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Append(std::string_view text) { text_.append(text); }
    const std::string& text() const { return text_; }
    void Clear() { text_.clear(); }

  private:
    std::string text_;
};

// The fatal stop, once its message is in the log.
[[noreturn]] inline void AbortCompose(int code) {
    throw worker::WorkerFatal({}, code);
}

}  // namespace composer
