// The .sty file: per track a plain record line ("Mtrk," and thirteen fields, read by the front
// end and, from its second field on, as the channel line by the composer) followed by the coded
// rows of the track's modes up to "Eoi". The writer lays a checked model out so that both
// readers find every record; the reader decodes a file the way the composer's loader does and
// cross-checks it with the front end's record scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/style_model.h"

namespace formats {

// The style file of a model that CheckStyle accepted. Fails only when the layout cannot keep
// the front end's record spacing or the coding happens to spell a record tag.
[[nodiscard]] Result<std::vector<std::uint8_t>> WriteStyleFile(const Style& style);

// Decodes a style file whose name carries `code` and `version` (the version picks the coding
// key and the steps per quarter note). Refuses what the composer's loader or the front end's
// readers would refuse.
[[nodiscard]] Result<Style> ReadStyleFile(std::span<const std::uint8_t> bytes,
                                          std::string_view code, int version);

// The byte offsets at which the front end's record scan finds the "Mtrk," records.
std::vector<std::size_t> ScanTrackRecords(std::span<const std::uint8_t> bytes);

}  // namespace formats
