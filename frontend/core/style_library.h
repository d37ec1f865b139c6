// The start-up's scan of the style library: every "??????.sty" file of the program folder, in
// name order, read up to its header record, becomes a row of the style tables, until 900
// styles are found. The scan never shows anything itself; it returns the messages the user
// must see, in order, and whether the last one ends the program.
#pragma once

#include <string>
#include <vector>

namespace corvane {

constexpr int kMaxStyles = 900;
constexpr const char* kStylePattern = "??????.sty";

enum class MessageIcon { kNone, kCritical, kInformation, kQuestion };

struct UserMessage {
    MessageIcon icon = MessageIcon::kNone;
    std::string text;
    friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

struct StyleLibrary {
    // Row i of both tables is one style, in listing order, counting only valid files.
    std::vector<std::string> StyleNames;  // " 4/4 Slow Ballad"
    std::vector<std::string> StyleFiles;  // "Bl4412.sty", as the listing spells it
    int StyleCount() const { return static_cast<int>(StyleNames.size()); }
};

struct StyleScan {
    StyleLibrary library;
    std::vector<UserMessage> messages;  // to show in this order
    bool fatal = false;                 // the last message ends the program
};

// `folder` is where the files are; `appFolderText` is how the folder is named in messages.
StyleScan ScanStyleLibrary(const std::string& folder, const std::string& appFolderText);

// The notice shown when more than 900 style files are found.
std::string StyleCapNotice(int fileCount);

}  // namespace corvane
