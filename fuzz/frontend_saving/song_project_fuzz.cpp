// The bytes of a song project -> the pieces it holds whole, or a refusal. Every piece read lies
// inside the file (no length is believed beyond its end), an accepted project holds all of them,
// and its style settings come out as the 32 CR LF lines the style setting reader counts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/core/song_project.h"
#include "frontend/styles/style_setting_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane;
    const std::span<const std::uint8_t> file(data, size);
    const UnpackedProject project = UnpackSongProject(file);

    std::size_t used = kProjectMagic.size();
    if (project.input) {
        Check(!project.input->empty());
        used += 4 + project.input->size();
        Check(used <= size);
        Check(std::equal(project.input->begin(), project.input->end(), file.begin() + 12));
    }
    if (project.myVmCode) {
        Check(project.input && *project.myVmCode >= 0 && *project.myVmCode <= 255);
        used += 1;
    }
    if (project.chordData) {
        Check(project.myVmCode && !project.chordData->empty());
        used += 4 + project.chordData->size();
        Check(used <= size);
    }
    if (project.settingText) {
        Check(project.chordData.has_value());
        used += kStyleBlockBytes;
        Check(used <= size);
        const std::span<const std::uint8_t> text(
            reinterpret_cast<const std::uint8_t*>(project.settingText->data()),
            project.settingText->size());
        // A style name holding a line break makes a file the reader refuses; any other is read
        // as the 32 lines.
        bool plainNames = true;
        const std::size_t block = used - kStyleBlockBytes;
        for (std::size_t slot = 0; slot < 5; ++slot) {
            for (std::size_t i = 0; i < kStyleNameBytes; ++i) {
                const std::uint8_t byte = file[block + slot * (kStyleNameBytes + 1) + i];
                if (byte == '\r' || byte == '\n') plainNames = false;
            }
        }
        if (plainNames) Check(styles::CountSettingLines(text) == styles::kSettingLines);
    }
    Check((project.error == ProjectReadError::kNone) == project.settingText.has_value());
    Check(project.error != ProjectReadError::kBadMagic || !project.input);
    return 0;
}
