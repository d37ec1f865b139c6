#include "launcher/font_install.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <pwd.h>
#include <unistd.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/file.h"

namespace vessane {
namespace {

namespace fs = std::filesystem;

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string DataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') return dataHome;
    return HomeFolder() + "/.local/share";
}

bool RegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Puts `from` at `to` unless `to` already holds the same bytes.
bool CopyUnlessEqual(const std::string& from, const std::string& to) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(from, bytes)) return false;
    std::vector<std::uint8_t> present;
    if (RegularFile(to) && platform::ReadWholeFile(to, present) && present == bytes) return true;
    return platform::ReplaceFileAtomically(to, bytes);
}

}  // namespace

int CountFontFaces(const std::string& path) {
    // FreeType would also open a folder or a FIFO by name; only a regular file is a font file.
    if (!RegularFile(path)) return 0;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return 0;
    FT_Face face = nullptr;
    int faces = 0;
    // Face index -1 only counts the faces; it loads none of them.
    if (FT_New_Face(library, path.c_str(), -1, &face) == 0) {
        faces = static_cast<int>(face->num_faces);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return faces;
}

std::string UserFontFolder() {
    return DataHome() + "/fonts/Orvella";
}

int InstallFontForUser(const std::string& fontPath) {
    const int faces = CountFontFaces(fontPath);
    if (faces < 1) return 0;
    const std::string folder = UserFontFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return 0;
    const std::string name = fs::path(fontPath).filename().string();
    if (!CopyUnlessEqual(fontPath, folder + "/" + name)) return 0;
    // The licence travels with the font; a font without one beside it still installs.
    const std::string licence = fontPath + ".LICENSE";
    if (RegularFile(licence)) CopyUnlessEqual(licence, folder + "/" + name + ".LICENSE");
    return faces;
}

bool AnnounceFontChange() {
    FcConfig* config = FcInitLoadConfig();
    if (config == nullptr) return false;
    // The user's font folder and the one holding our copy: both caches are written again, so
    // a program started right after the launcher finds the font without a scan of its own.
    bool rescanned = true;
    const std::string folder = UserFontFolder();
    for (const std::string& dir : {fs::path(folder).parent_path().string(), folder}) {
        std::error_code error;
        if (!fs::is_directory(dir, error)) continue;
        // Forced: the folder is scanned afresh and its cache written, also when none existed.
        FcCache* cache =
            FcDirCacheRead(reinterpret_cast<const FcChar8*>(dir.c_str()), FcTrue, config);
        if (cache == nullptr) {
            rescanned = false;
            continue;
        }
        FcDirCacheUnload(cache);
    }
    FcConfigDestroy(config);
    return rescanned;
}

}  // namespace vessane
