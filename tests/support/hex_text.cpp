#include "tests/support/hex_text.h"

#include <stdexcept>
#include <string>

namespace testsupport {

std::vector<std::uint8_t> BytesFromHexText(std::string_view text) {
    std::string error;
    auto bytes = ParseHexText(text, &error);
    if (!bytes) throw std::invalid_argument("bad fixture text: " + error);
    return *bytes;
}

}  // namespace testsupport
