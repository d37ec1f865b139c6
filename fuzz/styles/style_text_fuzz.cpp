// Style descriptions from anywhere: the reader must refuse or accept without fault, and what
// it accepts must compile into a file that decodes back to the same style.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/style_file.h"
#include "formats/style_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto style = formats::ParseStyleText(text);
    if (!style.ok()) return 0;
    const auto file = formats::WriteStyleFile(*style.value);
    if (!file.ok()) return 0;
    const auto back = formats::ReadStyleFile(*file.value, style.value->code, style.value->version);
    if (!back.ok() || !(*back.value == *style.value)) std::abort();
    return 0;
}
