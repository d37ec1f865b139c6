// Style files from anywhere: the first byte picks the version the name would carry, the rest is
// the file. The decoder must refuse or accept without fault, and a style it accepts must come
// out of the description writer and the compiler unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/style_file.h"
#include "formats/style_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int version = data[0] % 100;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const auto style = formats::ReadStyleFile(bytes, "Fuzz", version);
    if (!style.ok()) return 0;
    const auto again = formats::ParseStyleText(formats::FormatStyleText(*style.value));
    if (!again.ok() || !(*again.value == *style.value)) std::abort();
    if (!formats::WriteStyleFile(*style.value).ok()) return 0;
    return 0;
}
