#include "frontend/core/song_header.h"

#include <charconv>

#include "frontend/core/name_tables.h"
#include "frontend/core/vb_text.h"

namespace corvane {

const char* const kKeyNotUnderstoodText =
    "Cannot understand the Key of the Music. Please try to:\n"
    "- Verify Key-Signature and Last Note in the song,\n"
    "- Transpose your song into another Key.\n"
    "- Start the Melody Importer to convert your song.";

namespace {

constexpr int kKeyCount = 28;

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// A whole number in the range of the front end's 16-bit integers, blanks around it allowed.
std::optional<int> WholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

SongHeader ParseSongHeader(std::string_view firstLine) {
    const std::string_view line = WithoutLineEnd(firstLine);
    SongHeader header;
    const std::size_t last = line.rfind(',');
    if (last == std::string_view::npos) return header;
    header.timeSig = std::string(line.substr(last + 1));
    if (last == 0) return header;
    const std::size_t tempoStart = line.rfind(',', last - 1);
    if (tempoStart == std::string_view::npos) return header;
    header.tempoText = std::string(line.substr(tempoStart + 1, last - tempoStart - 1));
    header.tempo = WholeNumber(header.tempoText).value_or(kDefaultSongTempo);
    if (tempoStart == 0) return header;
    const std::size_t countStart = line.rfind(',', tempoStart - 1);
    if (countStart == std::string_view::npos) return header;
    const std::string_view head = line.substr(0, countStart);
    for (int code = 0; code < kKeyCount; ++code) {
        if (head == KeyAccidentalTable()[code]) {
            header.keyCode = code;
            break;
        }
    }
    return header;
}

std::string MusicTypeCaption(const SongHeader& header) {
    return KeyNameTable()[header.keyCode.value_or(0)] + ", Tempo=" + header.tempoText + ", " +
           header.timeSig;
}

}  // namespace corvane
