// The file layer under the workers' readers. The bytes go to disk through the layer the way
// the system writes its files (binary in pieces, text with CR LF line ends, appended, or
// replaced whole through a temporary file), come back through it (whole, line by line, and in
// pieces with seeks) and must be exactly what is on disk; then the reader of the worker that the
// first byte picks takes them as its input file.
//   byte 0, bits 0-2: the reader; bits 3-4: how the file is written; bits 5-7: the piece size
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frontend/core/output_decoding.h"
#include "fuzz/scratch_folder.h"
#include "platform/file.h"
#include "workers/chordmaker/song_input.h"
#include "workers/common/smf_reader.h"
#include "workers/composer/compose_args.h"
#include "workers/composer/song_inputs.h"
#include "workers/keydetect/keydetect_driver.h"
#include "workers/keydetect/note_list.h"
#include "workers/melody/melody_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

Bytes WithCrLf(std::span<const std::uint8_t> text) {
    Bytes out;
    for (const std::uint8_t c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// Writes `content` to `path` the chosen way; returns what must be on disk.
Bytes WriteThroughTheLayer(const std::string& path, std::span<const std::uint8_t> content, int how,
                           std::size_t piece) {
    if (how == 2) {
        Check(platform::ReplaceFileAtomically(path, content));
        return Bytes(content.begin(), content.end());
    }
    const bool text = how == 1 || how == 3;
    platform::File out;
    const std::size_t half = how == 3 ? content.size() / 2 : content.size();
    Check(out.Open(path, text ? platform::FileMode::kWriteText : platform::FileMode::kWriteBinary));
    for (std::size_t at = 0; at < half; at += piece) {
        const auto part = content.subspan(at, std::min(piece, half - at));
        if (text) {
            out.Write(std::string_view(reinterpret_cast<const char*>(part.data()), part.size()));
        } else {
            out.WriteBytes(part);
        }
    }
    Check(out.Close());
    if (how == 3) {
        Check(out.Open(path, platform::FileMode::kAppendText));
        const auto rest = content.subspan(half);
        out.Write(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
        Check(out.Close());
    }
    return text ? WithCrLf(content) : Bytes(content.begin(), content.end());
}

// Reads the file back every way the workers do and checks each against the disk's bytes.
void ReadBackEveryWay(const std::string& path, const Bytes& onDisk, std::size_t piece) {
    Bytes whole;
    Check(platform::ReadWholeFile(path, whole));
    Check(whole == onDisk);

    platform::File in;
    Check(in.Open(path, platform::FileMode::kReadBinary));
    Check(in.Size() == static_cast<std::int64_t>(onDisk.size()));
    std::size_t start = 0;
    for (std::string line; in.ReadLine(line);) {
        std::size_t end = start;
        while (end < onDisk.size() && onDisk[end] != '\n') ++end;
        std::string expected(onDisk.begin() + static_cast<std::ptrdiff_t>(start),
                             onDisk.begin() + static_cast<std::ptrdiff_t>(end));
        if (!expected.empty() && expected.back() == '\r') expected.pop_back();
        Check(line == expected);
        start = end + 1;
    }
    Check(start >= onDisk.size());

    // Pieces from the middle, then from a seek back to the start.
    const std::size_t middle = onDisk.size() / 2;
    Check(in.Seek(static_cast<std::int64_t>(middle)));
    Bytes pieces;
    std::vector<std::uint8_t> buffer(piece);
    for (std::size_t got; (got = in.Read(buffer)) > 0;) {
        pieces.insert(pieces.end(), buffer.begin(),
                      buffer.begin() + static_cast<std::ptrdiff_t>(got));
        Check(in.Tell() == static_cast<std::int64_t>(middle + pieces.size()));
    }
    Check(pieces == Bytes(onDisk.begin() + static_cast<std::ptrdiff_t>(middle), onDisk.end()));
}

void ReadAsInput(int reader, std::span<const std::uint8_t> bytes) {
    switch (reader) {
        case 0: {  // the song input, as the song loader and the key detector read it
            static const auto notes = std::make_unique<keydetect::NotOnList>();
            notes->Clear();
            const auto state = std::make_unique<worker::SongState>();
            state->quantMode = worker::QuantMode::kQuantised;
            keydetect::NoteCollector collector(*notes);
            (void)worker::ReadSong(bytes, *state, collector);
            break;
        }
        case 1: {  // the chord maker's measure files
            chordmaker::SongInput song;
            std::string log;
            if (chordmaker::ReadMeasureFiles(bytes, bytes, song, log)) {
                chordmaker::ReadNotesDat(bytes, song);
            }
            break;
        }
        case 2: {  // the composer's song input and chord data
            composer::SongHeader header;
            (void)composer::ReadSongHeader(bytes, header);
            std::vector<std::uint8_t> copy;
            (void)composer::CopyFirstTwoTracks(bytes, copy);
            composer::ChordData chords;
            (void)composer::ReadChordData(bytes, 49, chords);
            break;
        }
        case 3: {  // the composer's text inputs
            const auto text = composer::TextModeBytes(bytes);
            std::array<composer::SlotParams, composer::kSlotCount> slots;
            (void)composer::ParseVPara(text, slots);
            (void)composer::ReadBeatPattern(text);
            (void)composer::ReadSongPitchClasses(text, 2 * composer::kMeasureTabSize);
            (void)composer::ReadMeasureStats(text);
            break;
        }
        case 4:  // the melody importer's source
            (void)melody::ReadMelodySource(bytes, 1);
            break;
        default:  // the composer's output, as the front end and decodeout take it in
            (void)frontend::DecodeComposeOutput(bytes, 70);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int reader = data[0] & 7;
    const int how = (data[0] >> 3) & 3;
    const std::size_t piece = std::size_t{1} << ((data[0] >> 5) * 2);  // 1 to 16384 bytes
    const std::span<const std::uint8_t> content(data + 1, size - 1);
    const std::string path = fuzzsupport::ScratchPath("Input.dat");

    const Bytes onDisk = WriteThroughTheLayer(path, content, how, piece);
    ReadBackEveryWay(path, onDisk, piece);
    Bytes input;
    Check(platform::ReadWholeFile(path, input));
    ReadAsInput(reader, input);
    return 0;
}
