#include "frontend/styles/style_setting_file.h"

#include <algorithm>

#include "frontend/core/vb_text.h"

namespace corvane::styles {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kOlderLayoutPrefix = "V416Set Load Error:\n";
constexpr std::size_t kShortTitleLength = 25;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// The lines of the bytes as the line counter sees them: split at LF, one CR before it dropped.
std::vector<std::string_view> SplitLines(std::span<const std::uint8_t> bytes, int wanted) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < all.size() && static_cast<int>(lines.size()) < wanted) {
        std::size_t end = all.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

// The items of one record: comma-separated, a quoted text running to its closing quote (what
// follows it up to the next comma is dropped), an unquoted item to the next comma; blanks
// around items are not part of them.
std::vector<std::string_view> SplitItems(std::string_view line) {
    std::vector<std::string_view> items;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        std::string_view item;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                item = line.substr(pos + 1);
                pos = line.size();
            } else {
                item = line.substr(pos + 1, close - pos - 1);
                pos = line.find(',', close + 1);
                if (pos == std::string_view::npos) pos = line.size();
            }
        } else {
            std::size_t end = line.find(',', pos);
            if (end == std::string_view::npos) end = line.size();
            item = line.substr(pos, end - pos);
            while (!item.empty() && IsBlank(item.back())) item.remove_suffix(1);
            pos = end;
        }
        items.push_back(item);
        if (pos >= line.size()) break;
        ++pos;  // the comma
    }
    return items;
}

// A whole number that fits 16 bits: an optional sign, then decimal digits only.
std::optional<int> Number16(std::string_view item) {
    while (!item.empty() && IsBlank(item.front())) item.remove_prefix(1);
    while (!item.empty() && IsBlank(item.back())) item.remove_suffix(1);
    bool negative = false;
    if (!item.empty() && (item.front() == '-' || item.front() == '+')) {
        negative = item.front() == '-';
        item.remove_prefix(1);
    }
    if (item.empty()) return std::nullopt;
    long value = 0;
    for (char c : item) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

// Reads `count` numbers from items starting at `first`; false when one is missing or bad.
bool ReadNumbers(const std::vector<std::string_view>& items, std::size_t first,
                 std::initializer_list<int*> targets) {
    std::size_t i = first;
    for (int* target : targets) {
        if (i >= items.size()) return false;
        const auto value = Number16(items[i++]);
        if (!value) return false;
        *target = *value;
    }
    return true;
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// The code points of UTF-8 text, as start offsets.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    return starts;
}

}  // namespace

StyleSetting CaptureStyleSetting(const SlotTables& tables,
                                 const std::vector<std::string>& styleFiles,
                                 const std::array<int, kEchoCount>& echoVoice,
                                 const std::array<int, kEchoCount>& echoSetting) {
    StyleSetting setting;
    for (int s = 0; s < kSlotCount; ++s) {
        const int row = tables.SectStyleIdx[s];
        if (row >= 0 && row < static_cast<int>(styleFiles.size())) {
            setting.styleFile[s] = styleFiles[row];
        }
        setting.sectVol[s] = tables.SectVol[s];
        for (int p = 0; p < kPartCount; ++p) {
            setting.parts[s][p] = {tables.PartProgram(s, p), tables.PartVol(s, p),
                                   tables.FileModeCode(s, p)};
        }
    }
    setting.autoOctave = tables.AutoOctave;
    setting.echoVoice = echoVoice;
    setting.echoSetting = echoSetting;
    return setting;
}

std::string StyleSettingText(const StyleSetting& setting) {
    std::string text;
    for (int s = 0; s < kSlotCount; ++s) {
        text += "\"" + setting.styleFile[s] + "\"," + std::to_string(setting.sectVol[s]) + kCrLf;
    }
    for (int s = 0; s < kSlotCount; ++s) {
        for (const SettingPart& part : setting.parts[s]) {
            text += std::to_string(part.program) + "," + std::to_string(part.volume) + "," +
                    std::to_string(part.modeCode) + kCrLf;
        }
    }
    text += "1," + std::to_string(setting.autoOctave) + kCrLf;
    for (int i = 0; i < kEchoCount; ++i) {
        text += std::to_string(setting.echoVoice[i]) + "," +
                std::to_string(setting.echoSetting[i]) + (i == 0 ? "," : kCrLf);
    }
    return text;
}

void SettingLineCounter::Feed(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (finished_) return;
        if (byte == '\n') {
            const std::size_t length = pending_ - (pendingCr_ ? 1 : 0);
            if (length == 0) {
                finished_ = true;
                return;
            }
            ++complete_;
            pending_ = 0;
            pendingCr_ = false;
        } else {
            ++pending_;
            pendingCr_ = byte == '\r';
        }
    }
}

int SettingLineCounter::Count() const {
    if (finished_) return complete_;
    const std::size_t length = pending_ - (pendingCr_ ? 1 : 0);
    return complete_ + (length > 0 ? 1 : 0);
}

int CountSettingLines(std::span<const std::uint8_t> bytes) {
    SettingLineCounter counter;
    counter.Feed(bytes);
    return counter.Count();
}

std::optional<StyleSetting> ParseStyleSetting(std::span<const std::uint8_t> bytes, int lines) {
    StyleSetting setting;
    if (lines == kSettingLines) {
        setting.slotCount = kSlotCount;
    } else if (lines == kOlderSettingLines) {
        setting.slotCount = kOlderSettingSlots;
    } else {
        return std::nullopt;
    }
    const std::vector<std::string_view> records = SplitLines(bytes, lines);
    if (static_cast<int>(records.size()) < lines) return std::nullopt;
    const int slots = setting.slotCount;
    int line = 0;
    for (int s = 0; s < slots; ++s) {
        const auto items = SplitItems(records[line++]);
        if (items.size() < 2) return std::nullopt;
        setting.styleFile[s] = std::string(items[0]);
        if (!ReadNumbers(items, 1, {&setting.sectVol[s]})) return std::nullopt;
    }
    for (int s = 0; s < slots; ++s) {
        for (SettingPart& part : setting.parts[s]) {
            if (!ReadNumbers(SplitItems(records[line++]), 0,
                             {&part.program, &part.volume, &part.modeCode})) {
                return std::nullopt;
            }
        }
    }
    if (!ReadNumbers(SplitItems(records[line++]), 0,
                     {&setting.firstItemOfAutoOctaveLine, &setting.autoOctave})) {
        return std::nullopt;
    }
    if (!ReadNumbers(SplitItems(records[line++]), 0,
                     {&setting.echoVoice[0], &setting.echoSetting[0], &setting.echoVoice[1],
                      &setting.echoSetting[1]})) {
        return std::nullopt;
    }
    return setting;
}

std::array<SettingStyle, kSlotCount> LookUpSettingStyles(const StyleSetting& setting,
                                                         const StyleLibrary& library,
                                                         const std::vector<std::string>& listRows) {
    std::array<SettingStyle, kSlotCount> styles;
    const int count = std::min(library.StyleCount(), static_cast<int>(library.StyleFiles.size()));
    for (int k = 0; k < setting.slotCount; ++k) {
        SettingStyle& style = styles[k];
        for (int i = 0; i < count; ++i) {
            if (EqualsNoCase(library.StyleFiles[i], setting.styleFile[k])) {
                style.libraryIndex = i;
                style.found = true;
                break;
            }
        }
        if (count > 0) style.name = library.StyleNames[style.libraryIndex];
    }
    // Each row listing a slot's name becomes its row; the walk ends once every slot has one.
    int listed = 0;
    for (int row = 0; row < static_cast<int>(listRows.size()) && listed < setting.slotCount;
         ++row) {
        for (int k = 0; k < setting.slotCount; ++k) {
            if (!styles[k].name.empty() && styles[k].name == listRows[row]) {
                if (styles[k].listRow < 0) ++listed;
                styles[k].listRow = row;
            }
        }
    }
    return styles;
}

bool ApplySettingValues(const StyleSetting& setting, SlotTables& tables) {
    bool good = true;
    for (int s = 0; s < setting.slotCount; ++s) {
        const int volume = setting.sectVol[s];
        if (InRange(volume, 20, 100)) {
            tables.SectVol[s] = volume;
            tables.PartVol(s, kMasterVolumePart) = static_cast<std::int16_t>(volume);
        } else {
            good = false;
        }
    }
    for (int s = 0; s < setting.slotCount; ++s) {
        for (int p = 0; p < kPartCount; ++p) {
            const SettingPart& part = setting.parts[s][p];
            if (InRange(part.program, 0, 128)) {
                tables.PartProgram(s, p) = static_cast<std::int16_t>(part.program);
            } else {
                good = false;
            }
            if (InRange(part.volume, 0, 127)) {
                tables.PartVol(s, p) = static_cast<std::int16_t>(part.volume);
            } else {
                good = false;
            }
            if (InRange(part.modeCode, 0, 3)) {
                tables.PartMode(s, p) = static_cast<std::int16_t>(part.modeCode);
                tables.PartSustain(s, p) = 0;
            } else if (part.modeCode == kSustainModeCode) {
                tables.PartMode(s, p) = 0;
                tables.PartSustain(s, p) = 1;
            } else {
                good = false;
            }
        }
    }
    return good;
}

bool EchoVoiceInRange(int voice) {
    return InRange(voice, 1, 128);
}

bool EchoSettingInRange(int setting) {
    return InRange(setting, 0, 9);
}

std::vector<std::string> MissingStyleFiles(const StyleSetting& setting,
                                           const std::array<SettingStyle, kSlotCount>& styles) {
    std::vector<std::string> missing;
    for (int k = 0; k < setting.slotCount; ++k) {
        if (styles[k].found) continue;
        const std::string name = Upper(setting.styleFile[k]);
        if (!name.empty() && std::find(missing.begin(), missing.end(), name) == missing.end()) {
            missing.push_back(name);
        }
    }
    return missing;
}

std::string SettingOpenFailureText(std::string_view path, bool olderLayout) {
    return std::string(olderLayout ? kOlderLayoutPrefix : "") + "Cannot open file <" +
           std::string(path) + "> for reading.";
}

std::string SettingLineCountText(std::string_view path, int lines) {
    return "The data in <" + std::string(path) + "> is invalid: Bad LineCnt (" +
           std::to_string(lines) + ")";
}

std::string SettingReadFailureText(std::string_view title, bool olderLayout) {
    if (olderLayout) {
        return std::string(kOlderLayoutPrefix) + "Data in " + std::string(title) +
               " is invalid. The data not loaded.";
    }
    return "Data in <" + std::string(title) + "> is invalid. The data not loaded.";
}

std::string SettingSummaryText(std::string_view title, const std::vector<std::string>& missing,
                               bool olderLayout) {
    std::string text = olderLayout ? kOlderLayoutPrefix : "";
    text += "Some data in " + std::string(title) + " are bad or no longer valid.\n";
    text += "Default values has been used instead. You may need to Re-Set the Style Settings.\n";
    if (!missing.empty()) {
        text += "The style data file ";
        for (const std::string& name : missing) text += name + " ";
        text += " not loaded or not available.";
    }
    return text;
}

std::string SettingStatusText(bool olderLayout, bool loaded) {
    return std::string(olderLayout ? "V416" : "V418") + " Style Setting " +
           (loaded ? "Load Ok." : "Load Error.");
}

std::string ShortSettingTitle(std::string_view title) {
    const std::vector<std::size_t> starts = CharacterStarts(title);
    if (starts.size() <= kShortTitleLength) return std::string(title);
    return "..." + std::string(title.substr(starts[starts.size() - kShortTitleLength]));
}

std::string SettingSavePath(std::string_view typed) {
    const std::string path(TrimBlanks(typed));
    if (path.empty()) return path;
    const bool hasExtension =
        path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".set");
    return hasExtension ? path : path + ".set";
}

std::string SettingReadOnlyText(std::string_view path) {
    return "The file:\n " + std::string(path) +
           "\nalready exit and is read only, cannot overwrite.";
}

std::string CannotCreateFileText(std::string_view path) {
    return "Cannot creat file <" + std::string(path) + ">.";
}

}  // namespace corvane::styles
