// Readable text for binary fixtures: hex byte pairs ("4D 54 68 64" or "4d546864"), ASCII in double
// quotes ("MThd"), and comments from '#' to the end of the line. Every byte is written out, so a
// fixture can hold running status, wrong lengths or a file cut short exactly as meant. The
// midihex tool and the tests' fixtures read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace midihex {

// The bytes of `text`, or nullopt with `error` set (line number and reason) for malformed text.
std::optional<std::vector<std::uint8_t>> ParseHexText(std::string_view text, std::string* error);

}  // namespace midihex
