// Byte-level file calls of the front end, without Qt: read the head of a file, lengths, copies,
// deletions and the folder listings that match a name pattern. Patterns
// ("??????.sty", "*.mid;*.kar") match without regard to letter case, as users of the system
// expect; listings come sorted by name so every machine sees the same order. "Read-only" is
// the owner-write bit, tested explicitly because the super-user ignores mode bits.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::qt {

// The first `limit` bytes (fewer when the file is shorter). nullopt when the path is not a
// regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> ReadAtMost(const std::string& path, std::size_t limit);

// The length of a regular file; nullopt for a missing file, a folder or anything else.
std::optional<std::int64_t> FileLength(const std::string& path);

// Copies the whole regular file `from` to `to` as the program's work copy (the input copies
// "InPut.bin" and "InpMel.bin"): replaced through a temporary file and a rename, not synced
// (platform::ReplaceFileAtomically). False when `from` could not be read whole or `to` not
// written.
[[nodiscard]] bool CopyWholeFile(const std::string& from, const std::string& to);

// The current folder by its name's bytes (Qt's text of it may stand for another folder); empty
// when it cannot be told.
std::string CurrentFolder();

// True when the owner-write bit of an existing file is clear.
bool IsReadOnly(const std::string& path);

// Deletes a regular file unless it is read-only; false when it was not deleted.
bool DeleteFile(const std::string& path);

// Deletes the regular files of `folder` (not below it) whose names match `pattern`, except
// read-only ones; returns how many went.
int DeleteMatching(const std::string& folder, std::string_view pattern);

// "?" matches one character and "*" any run; alternatives are separated by ";". Letter case
// is ignored.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Names ordered without letter case first, then with it as the tie-break. Negative, zero or
// positive like strcmp.
int CompareNames(std::string_view a, std::string_view b);

// Names of the regular files in `folder` that match `pattern`, in CompareNames order.
std::vector<std::string> ListFolder(const std::string& folder, std::string_view pattern);

}  // namespace platform::qt
