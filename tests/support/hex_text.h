// Binary fixtures written as readable text (tools/midihex/hex_text.h), for tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/midihex/hex_text.h"

namespace testsupport {

using midihex::ParseHexText;

// The bytes of a fixture text; a malformed fixture is a broken test: it throws with the reason.
std::vector<std::uint8_t> BytesFromHexText(std::string_view text);

}  // namespace testsupport
