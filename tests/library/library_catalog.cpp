#include "tests/library/library_catalog.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace librarytest {

std::string StyleInfo::FileName() const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", version);
    return code + digits + ".sty";
}

void PrintTo(const StyleInfo& style, std::ostream* os) {
    *os << style.FileName();
}

std::string StyleInfo::PlayModeCodes() const {
    std::string codes;
    char code[8];
    for (const TrackInfo& track : tracks) {
        std::snprintf(code, sizeof code, "%03d", track.sustain * 10 + track.playMode);
        codes += (codes.empty() ? "" : ",") + std::string(code);
    }
    for (std::size_t i = tracks.size(); i < 5; ++i) codes += ",000";
    return codes;
}

namespace {

StyleInfo ReadDescription(const std::filesystem::path& file) {
    StyleInfo style;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        if (word == "style") {
            const auto open = line.find('"');
            const auto close = line.rfind('"');
            if (open != std::string::npos && close > open) {
                style.header = line.substr(open + 1, close - open - 1);
                const auto colon = style.header.find(':');
                if (colon != std::string::npos && style.header.size() > colon + 4) {
                    style.signature = style.header.substr(colon + 2, 3);
                }
            }
        } else if (word == "code") {
            words >> style.code;
        } else if (word == "version") {
            words >> style.version;
        } else if (word == "track") {
            style.tracks.emplace_back();
        } else if (!style.tracks.empty()) {
            TrackInfo& track = style.tracks.back();
            if (word == "channel") words >> track.channel;
            if (word == "base") words >> track.base;
            if (word == "sustain") words >> track.sustain;
            if (word == "styleflag1") words >> track.styleFlag1;
            if (word == "playmode") words >> track.playMode;
        }
    }
    return style;
}

}  // namespace

std::vector<StyleInfo> ReadLibraryCatalog(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        if (entry.path().extension() == ".txt" && name.size() == 10) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<StyleInfo> styles;
    for (const auto& file : files) styles.push_back(ReadDescription(file));
    return styles;
}

}  // namespace librarytest
