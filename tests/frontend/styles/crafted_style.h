// Style files made to order for the track record tests: record lines with chosen fields, each
// padded to the spacing the record scan needs, so a test shows exactly where each record stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::styles::testing {

struct Fields {
    int channel = 1;
    int noteBase = 0;
    int pan = 64;
    int sustainA = 8;  // field 7
    int sustainB = 8;  // field 11
    int modeCode = 10;
    std::string text = "\"Track\"";
};

// "Mtrk,<channel>,<base>,33,104,<pan>,<A>,33,104,64,<B>,<mode>,<text>" and CR LF.
inline std::string RecordLine(const Fields& f) {
    return "Mtrk," + std::to_string(f.channel) + "," + std::to_string(f.noteBase) + ",33,104," +
           std::to_string(f.pan) + "," + std::to_string(f.sustainA) + ",33,104,64," +
           std::to_string(f.sustainB) + "," + std::to_string(f.modeCode) + "," + f.text + "\r\n";
}

// `text` followed by bytes without an "M" up to `length` bytes.
inline std::string PadTo(std::string text, std::size_t length) {
    if (text.size() < length) text.append(length - text.size(), '.');
    return text;
}

// Records 768 bytes apart: the layout a style file has.
inline std::string StyleOf(const std::vector<Fields>& records) {
    std::string file;
    for (const Fields& f : records) file += PadTo(RecordLine(f), 768);
    return file;
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace corvane::styles::testing
