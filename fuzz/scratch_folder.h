// A private folder for fuzz targets whose inputs go through real files: made once under the
// temporary directory, removed again when the process ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

inline const std::string& ScratchFolder() {
    // Never destroyed: the clean-up at exit still needs the name.
    static const std::string* const folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvella-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return new std::string(pattern);
    }();
    static const bool cleanUpRegistered = std::atexit([] {
                                              std::error_code ignored;
                                              std::filesystem::remove_all(*folder, ignored);
                                          }) == 0;
    (void)cleanUpRegistered;
    return *folder;
}

inline std::string ScratchPath(const std::string& name) {
    return ScratchFolder() + "/" + name;
}

}  // namespace fuzzsupport
