// The composer's shared vocabulary: the fixed limits of its tables, a style cell, the style
// table of one track, the measure records of the chord data and the message log that every
// stage writes into (the driver copies it into "Error3.msg"). A fatal stop deep inside the
// composer is a worker::WorkerFatal thrown after its message was logged; only the driver catches
// it.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
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

using ModeTable = std::array<std::array<StyleCell, kColumnCount>, kRowCount>;
using StyleTable = std::array<ModeTable, kModeCount>;

// A table of empty cells, taken zeroed from the system: a table is 192 KiB and mostly empty,
// and its pages then cost something only where a row is written or read.
struct StyleTableFree {
    void operator()(StyleTable* table) const { std::free(table); }
};
using StyleTablePtr = std::unique_ptr<StyleTable, StyleTableFree>;
static_assert(std::is_trivially_copyable_v<StyleTable> &&
              std::is_trivially_destructible_v<StyleTable>);
inline StyleTablePtr NewEmptyStyleTable() {
    // The cells are plain values, so zero bytes are empty cells (and calloc makes the table).
    auto* table = static_cast<StyleTable*>(std::calloc(1, sizeof(StyleTable)));
    if (table == nullptr) throw std::bad_alloc();
    return StyleTablePtr(table);
}

// Empties a table in place (it is too large for a temporary on the stack).
inline void ClearStyleTable(StyleTable& table) {
    for (ModeTable& mode : table) {
        for (auto& row : mode) row.fill(StyleCell{});
    }
}

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
