#include "frontend/core/style_library.h"

#include "frontend/core/style_header.h"
#include "platform/qt/byte_file.h"

namespace corvane {
namespace {

// Enough for every header record a style writer produces; a longer first line is read whole.
constexpr std::size_t kHeadBytes = 512;

StyleHeaderScan ScanFile(const std::string& path) {
    auto head = platform::qt::ReadAtMost(path, kHeadBytes);
    if (!head) return {};
    if (head->size() == kHeadBytes && !HoldsFirstRecord(*head)) {
        const auto length = platform::qt::FileLength(path);
        if (!length) return {};
        head = platform::qt::ReadAtMost(path, static_cast<std::size_t>(*length));
        if (!head) return {};
    }
    return ScanStyleHeader(*head);
}

}  // namespace

std::string StyleCapNotice(int fileCount) {
    return "There are " + std::to_string(fileCount) + " style files in the program folder. Only " +
           std::to_string(kMaxStyles) + " styles are loaded; the other style files are ignored.";
}

StyleScan ScanStyleLibrary(const std::string& folder, const std::string& appFolderText) {
    StyleScan scan;
    const std::vector<std::string> files = platform::qt::ListFolder(folder, kStylePattern);
    if (files.empty()) {
        scan.messages.push_back(
            {MessageIcon::kCritical,
             "Style data files xxxxxx.sty not found in " + appFolderText + "/,. Cannot continue."});
        scan.fatal = true;
        return scan;
    }
    const int fileCount = static_cast<int>(files.size());
    if (fileCount > kMaxStyles) {
        scan.messages.push_back({MessageIcon::kInformation, StyleCapNotice(fileCount)});
    }
    const int cap = std::min(fileCount, kMaxStyles);

    StyleLibrary& library = scan.library;
    for (const std::string& name : files) {
        if (library.StyleCount() >= cap) break;
        // A blank in the name would split the composer's command line, so such a file is no
        // style the system can use.
        if (name.find(' ') != std::string::npos) continue;
        const auto length = platform::qt::FileLength(folder + "/" + name);
        if (!length || *length < static_cast<std::int64_t>(kMinStyleFileLength)) continue;
        const StyleHeaderScan header = ScanFile(folder + "/" + name);
        if (header.status == StyleHeaderStatus::kNotAStyle) continue;
        if (header.status != StyleHeaderStatus::kAccepted) {
            scan.messages.push_back(
                {MessageIcon::kCritical, StyleHeaderMessage(header.status, name)});
            scan.fatal = true;
            return scan;
        }
        library.StyleNames.push_back(header.entry);
        library.StyleFiles.push_back(name);
    }
    if (library.StyleCount() == 0) {
        scan.messages.push_back(
            {MessageIcon::kCritical, "Cannot find any Valid Style Data, program will stop."});
        scan.fatal = true;
    }
    return scan;
}

}  // namespace corvane
