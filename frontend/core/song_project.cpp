#include "frontend/core/song_project.h"

#include <algorithm>

namespace corvane {
namespace {

using styles::kEchoCount;
using styles::kPartCount;
using styles::kSlotCount;

constexpr std::uint8_t kBlank = ' ';

void Append(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Takes bytes from the front of a file and never past its end.
class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> file) : file_(file) {}

    std::optional<std::span<const std::uint8_t>> Take(std::size_t count) {
        if (count > file_.size() - at_) return std::nullopt;
        const auto piece = file_.subspan(at_, count);
        at_ += count;
        return piece;
    }

    std::optional<std::uint32_t> Length() {
        const auto bytes = Take(4);
        if (!bytes) return std::nullopt;
        return static_cast<std::uint32_t>((*bytes)[0]) << 24 |
               static_cast<std::uint32_t>((*bytes)[1]) << 16 |
               static_cast<std::uint32_t>((*bytes)[2]) << 8 | (*bytes)[3];
    }

    // A length of 1 or more followed by that many bytes.
    std::optional<std::vector<std::uint8_t>> Piece() {
        const auto length = Length();
        if (!length || *length == 0) return std::nullopt;
        const auto bytes = Take(*length);
        if (!bytes) return std::nullopt;
        return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
    }

  private:
    std::span<const std::uint8_t> file_;
    std::size_t at_ = 0;
};

}  // namespace

std::int16_t LongTo4Bytes(std::int32_t value, std::span<std::uint8_t, 4> target) {
    if (value < 0) return 1;
    const auto v = static_cast<std::uint32_t>(value);
    target[0] = static_cast<std::uint8_t>(v >> 24);
    target[1] = static_cast<std::uint8_t>(v >> 16 & 0xFF);
    target[2] = static_cast<std::uint8_t>(v >> 8 & 0xFF);
    target[3] = static_cast<std::uint8_t>(v & 0xFF);
    return 0;
}

StyleBlock StyleBlockOf(const styles::StyleSetting& setting) {
    StyleBlock block{};
    std::size_t at = 0;
    for (int s = 0; s < kSlotCount; ++s) {
        const std::string& name = setting.styleFile[s];
        for (std::size_t i = 0; i < kStyleNameBytes; ++i) {
            block[at++] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : kBlank;
        }
        block[at++] = Byte(setting.sectVol[s]);
    }
    for (int s = 0; s < kSlotCount; ++s) {
        for (const styles::SettingPart& part : setting.parts[s]) {
            block[at++] = Byte(part.program);
            block[at++] = Byte(part.volume);
            block[at++] = Byte(part.modeCode);
        }
    }
    block[at++] = 1;
    block[at++] = Byte(setting.autoOctave);
    for (int i = 0; i < kEchoCount; ++i) {
        block[at++] = Byte(setting.echoVoice[i]);
        block[at++] = Byte(setting.echoSetting[i]);
    }
    return block;
}

std::string StyleBlockText(std::span<const std::uint8_t, kStyleBlockBytes> block) {
    styles::StyleSetting setting;
    std::size_t at = 0;
    for (int s = 0; s < kSlotCount; ++s) {
        setting.styleFile[s].assign(reinterpret_cast<const char*>(block.data() + at),
                                    kStyleNameBytes);
        at += kStyleNameBytes;
        setting.sectVol[s] = block[at++];
    }
    for (int s = 0; s < kSlotCount; ++s) {
        for (styles::SettingPart& part : setting.parts[s]) {
            part.program = block[at++];
            part.volume = block[at++];
            part.modeCode = block[at++];
        }
    }
    setting.firstItemOfAutoOctaveLine = block[at++];
    setting.autoOctave = block[at++];
    for (int i = 0; i < kEchoCount; ++i) {
        setting.echoVoice[i] = block[at++];
        setting.echoSetting[i] = block[at++];
    }
    return styles::StyleSettingText(setting);
}

ProjectBytes SongProjectBytes(std::span<const std::uint8_t> output, std::int32_t headLength,
                              int myVmCode, std::span<const std::uint8_t> chordData,
                              const StyleBlock& block) {
    ProjectBytes project;
    std::array<std::uint8_t, 4> length{};
    if (LongTo4Bytes(headLength, length) != 0 ||
        static_cast<std::size_t>(headLength) > output.size()) {
        project.error = ProjectWriteError::kLength;
        return project;
    }
    if (chordData.empty() || chordData.size() >= kChordDataLimit) {
        project.error = ProjectWriteError::kChordData;
        return project;
    }
    std::vector<std::uint8_t>& bytes = project.bytes;
    bytes.reserve(kProjectMagic.size() + 4 + static_cast<std::size_t>(headLength) + 1 + 4 +
                  chordData.size() + kStyleBlockBytes);
    bytes.assign(kProjectMagic.begin(), kProjectMagic.end());
    Append(bytes, length);
    const std::size_t songAt = bytes.size();
    Append(bytes, output.first(static_cast<std::size_t>(headLength)));
    // The project's song is the song input: the conductor and the melody track only.
    if (kTrackCountLowByte < static_cast<std::size_t>(headLength)) {
        bytes[songAt + kTrackCountLowByte] = 2;
    }
    bytes.push_back(Byte(myVmCode));
    if (LongTo4Bytes(static_cast<std::int32_t>(chordData.size()), length) != 0) {
        project = {ProjectWriteError::kLength, {}};
        return project;
    }
    Append(bytes, length);
    Append(bytes, chordData);
    Append(bytes, block);
    return project;
}

UnpackedProject UnpackSongProject(std::span<const std::uint8_t> file) {
    UnpackedProject project;
    Cursor cursor(file);
    const auto magic = cursor.Take(kProjectMagic.size());
    if (!magic || !std::equal(magic->begin(), magic->end(), kProjectMagic.begin())) {
        project.error = ProjectReadError::kBadMagic;
        return project;
    }
    project.error = ProjectReadError::kInvalid;
    project.input = cursor.Piece();
    if (!project.input) return project;
    const auto key = cursor.Take(1);
    if (!key) return project;
    project.myVmCode = (*key)[0];
    project.chordData = cursor.Piece();
    if (!project.chordData) return project;
    const auto block = cursor.Take(kStyleBlockBytes);
    if (!block) return project;
    project.settingText = StyleBlockText(block->first<kStyleBlockBytes>());
    project.error = ProjectReadError::kNone;
    return project;
}

}  // namespace corvane
