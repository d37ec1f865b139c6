// The first record of a style file as the start-up's library scan reads it. A style file
// begins with "Mtrk," and its first line is a record of 13 comma-separated fields (a field in
// double quotes may hold commas): the tag, eleven numbers the scan ignores, and the header
// text, whose first 40 characters hold a label, a ":" and then the time signature and the
// style's name. The scan turns that into the style's list entry (" 4/4 Slow Ballad") or into
// one of the refusals that stop the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

constexpr std::size_t kStyleHeaderTextLength = 40;
// Files this short cannot be styles and are skipped without a word.
constexpr std::size_t kMinStyleFileLength = 6;

enum class StyleHeaderStatus {
    kAccepted,          // `entry` holds the list entry
    kNotAStyle,         // 5 bytes or less, or not beginning with "Mtrk,": skipped silently
    kNoColon,           // no ":" in positions 1 to 39 of the header text
    kEmptyHeader,       // nothing but blanks after the ":"
    kBadTimeSignature,  // the text after the ":" does not start with 2/4, 3/4, 4/4 or 6/8
};

struct StyleHeaderScan {
    StyleHeaderStatus status = StyleHeaderStatus::kNotAStyle;
    std::string entry;  // " " + the trimmed text after the ":"
};

// `bytes` is the file from its start, at least through the end of its first line (or the
// whole file). A record that ends before its 13th field has an empty header text.
StyleHeaderScan ScanStyleHeader(std::span<const std::uint8_t> bytes);

// True when `bytes` holds the whole first record (a line end was found), so that a reader
// that fetched only the head of a file knows whether it must fetch more.
bool HoldsFirstRecord(std::span<const std::uint8_t> bytes);

// The message of a refusal that stops the program; empty for kAccepted and kNotAStyle.
std::string StyleHeaderMessage(StyleHeaderStatus status, std::string_view fileName);

}  // namespace corvane
