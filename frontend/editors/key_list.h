// The key list "KeysData.Aco": one key change line per change point, exactly 15 characters,
// "012:02;G  Major" (measure from 1, key code, key name), each ended by CR LF. The key list
// dialog keeps two lists of the same points: the lines themselves and what the user reads
// ("012: G  Major").
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::editors {

constexpr std::size_t kKeyChangeLineLength = 15;
constexpr int kMaxKeyMeasure = 250;
constexpr int kKeyCodeCount = 28;

// The key signature text of each key code as the key fields show it beside the key: "0" for
// C major and A minor, "+1" ... "+7" for sharps, "-1" ... "-6" for flats. Entry 28 (no key)
// stays empty.
const std::array<std::string, 29>& KeySigTable();

// The measure a typed text asks for: its leading number when that lies in 1..250, else 1, so
// no key change can be added outside the song's first 250 measures.
int MsNoOf(std::string_view text);

struct KeyChange {
    int measure = 1;
    int code = 0;
};

// "012:02;G  Major": the name comes from the key name table, not from a file.
std::string KeyChangeLine(const KeyChange& change);
// "012: G  Major".
std::string KeyUserItem(const KeyChange& change);

struct KeysDataRead {
    std::vector<KeyChange> changes;  // the valid lines before the first invalid one
    bool badLine = false;            // reading stopped at an invalid line
};

// A line is valid when it is 15 characters long with ":" at 4 and ";" at 7, its measure in
// 0..250 and its key code in 0..27; CR LF or LF end the lines.
KeysDataRead ParseKeysData(std::string_view text);

// The file the dialog saves from its list of lines, in list order: the first line always, from
// measure 001; every later one only when its key differs from the last line written.
std::string KeysDataText(const std::vector<std::string>& lines);

}  // namespace corvane::editors
