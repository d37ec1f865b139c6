// What the library's checks need to know of each shipped style, read from its description in
// styles/: the header's time signature, the code and version that name the file, and per track
// the channel, base, key-relative flag, sustain and proposed play mode.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace librarytest {

struct TrackInfo {
    int channel = 0;
    int base = 0;
    int sustain = 0;
    int styleFlag1 = 0;
    int playMode = 0;
};

struct StyleInfo {
    std::string header;     // the text between the quotes of the "style" line
    std::string signature;  // "2/4", "3/4", "4/4" or "6/8", from the header
    std::string code;
    int version = -1;
    std::vector<TrackInfo> tracks;

    std::string FileName() const;  // code + two version digits + ".sty"
    // The play-mode codes the style panel proposes, as "vPara.dat" takes them ("000,010,...").
    std::string PlayModeCodes() const;
};

// How test names and failures show a style: its file name.
void PrintTo(const StyleInfo& style, std::ostream* os);

// Every "??????.txt" description of the folder, in name order.
std::vector<StyleInfo> ReadLibraryCatalog(const std::filesystem::path& folder);

}  // namespace librarytest
