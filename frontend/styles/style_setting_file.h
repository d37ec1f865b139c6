// A style setting file (a "User Style", ".set"): the style of each slot with its master volume,
// every part's program, volume and mode code, the Auto-Octave option and the two echo voices
// and settings, one comma-separated record a line, CR LF line ends. Its layout is told by its
// line count: 32 lines hold all five slots (written and read), 20 lines the first three slots
// (an older layout, read only). A song project's style block is unpacked into the same 32-line
// layout and read the same way. This unit writes, counts, parses and applies the values; the
// dialog around it opens the files, writes the window's labels and shows the messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/core/style_library.h"
#include "frontend/styles/slot_tables.h"

namespace corvane::styles {

constexpr int kSettingLines = 32;       // five slots
constexpr int kOlderSettingLines = 20;  // three slots
constexpr int kOlderSettingSlots = 3;
constexpr int kEchoCount = 2;
// A setting file is a few hundred bytes; the reader looks at no more than this.
constexpr std::size_t kMaxSettingFileBytes = 1u << 20;

// Mode codes as the files keep them: the play mode, or 10 for mode 0 with sustain.
constexpr int kSustainModeCode = 10;

struct SettingPart {
    int program = 0;
    int volume = 0;
    int modeCode = 0;
    friend bool operator==(const SettingPart&, const SettingPart&) = default;
};

// The values of one file as it holds them, before any range check. Slots past `slotCount` are
// not in the file.
struct StyleSetting {
    int slotCount = kSlotCount;
    std::array<std::string, kSlotCount> styleFile;  // as written, e.g. "Bl4412.sty"
    std::array<int, kSlotCount> sectVol{};
    std::array<std::array<SettingPart, kPartCount>, kSlotCount> parts{};  // [slot][part]
    int firstItemOfAutoOctaveLine = 1;  // always written as 1, never used
    int autoOctave = 0;
    std::array<int, kEchoCount> echoVoice{};    // 1..128, as the echo labels show them
    std::array<int, kEchoCount> echoSetting{};  // 0..9, the echo scroll bars' values
    friend bool operator==(const StyleSetting&, const StyleSetting&) = default;
};

// The current settings of the five slots; `styleFiles` is the library's file table.
StyleSetting CaptureStyleSetting(const SlotTables& tables,
                                 const std::vector<std::string>& styleFiles,
                                 const std::array<int, kEchoCount>& echoVoice,
                                 const std::array<int, kEchoCount>& echoSetting);

// The 32 lines of the current layout, each ended by CR LF.
std::string StyleSettingText(const StyleSetting& setting);

// Counts lines from the start up to the end of the file or the first empty line, whichever
// comes first. Lines end in LF or CR LF; a line holding only a CR is empty. Fed in pieces, so a
// file of any size can be counted without holding it.
class SettingLineCounter {
  public:
    void Feed(std::span<const std::uint8_t> bytes);
    // The count once every byte was fed (a last line without a line end counts).
    int Count() const;
    // True once an empty line was met: nothing fed later changes the count.
    bool Finished() const { return finished_; }

  private:
    int complete_ = 0;
    std::size_t pending_ = 0;  // bytes of the line being read
    bool pendingCr_ = false;   // its last byte was a CR
    bool finished_ = false;
};

int CountSettingLines(std::span<const std::uint8_t> bytes);

// Reads the records of a file whose count said it has `lines` (32 or 20) lines. Items are
// separated by commas; a text item may be quoted or not; a number is an optional sign and
// decimal digits that fit 16 bits; blanks around items are skipped and items past the
// layout's are ignored. Nothing when a line or an item is missing or a number is not one.
std::optional<StyleSetting> ParseStyleSetting(std::span<const std::uint8_t> bytes, int lines);

// How each slot's style of a file is found: the library file of that name without regard to
// letter case, else library style 0 (`found` false); `name` is that style's list entry and
// `listRow` its row in the style manager's list (-1 when it is not there).
struct SettingStyle {
    int libraryIndex = 0;
    bool found = false;
    std::string name;
    int listRow = -1;
};

std::array<SettingStyle, kSlotCount> LookUpSettingStyles(const StyleSetting& setting,
                                                         const StyleLibrary& library,
                                                         const std::vector<std::string>& listRows);

// Writes the section volumes and the part values of the file's slots into the tables; a value
// out of range keeps what the table holds. False when any value was out of range. A slot's
// master volume row of PartVol follows its section volume.
[[nodiscard]] bool ApplySettingValues(const StyleSetting& setting, SlotTables& tables);

bool EchoVoiceInRange(int voice);
bool EchoSettingInRange(int setting);

// The upper-cased file names of the styles the library lacks, each once, in slot order.
std::vector<std::string> MissingStyleFiles(const StyleSetting& setting,
                                           const std::array<SettingStyle, kSlotCount>& styles);

// The texts the user sees. The older layout's messages start with their own line.
std::string SettingOpenFailureText(std::string_view path, bool olderLayout);
std::string SettingLineCountText(std::string_view path, int lines);
std::string SettingReadFailureText(std::string_view title, bool olderLayout);
std::string SettingSummaryText(std::string_view title, const std::vector<std::string>& missing,
                               bool olderLayout);
// The status line after a read: "V418 Style Setting Load Ok." and the like.
std::string SettingStatusText(bool olderLayout, bool loaded);

// The title the main window shows after Make: at most 25 characters kept, a longer one is cut
// to "..." and its last 25 (characters, not bytes).
std::string ShortSettingTitle(std::string_view title);

// The path a save goes to: the typed text without outer blanks, with ".set" added unless it
// already ends so in any letter case; empty when nothing was typed.
std::string SettingSavePath(std::string_view typed);

// The save dialog's message for a read-only file (its replace question is every save's,
// replace_question.h).
std::string SettingReadOnlyText(std::string_view path);
// Also the style list export's.
std::string CannotCreateFileText(std::string_view path);

}  // namespace corvane::styles
