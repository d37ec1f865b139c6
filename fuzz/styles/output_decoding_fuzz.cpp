// Composer outputs from anywhere: the first two bytes are the run code, the rest the file.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/core/output_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto runCode = static_cast<std::int16_t>((data[0] << 8) | data[1]);
    const std::span<const std::uint8_t> output(data + 2, size - 2);
    const auto decoded = frontend::DecodeComposeOutput(output, runCode);
    if (decoded && (decoded->headLength > output.size() || decoded->song.size() != output.size())) {
        std::abort();
    }
    return 0;
}
