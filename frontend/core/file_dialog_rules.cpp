#include "frontend/core/file_dialog_rules.h"

#include "frontend/core/name_without_path.h"
#include "frontend/core/vb_text.h"

namespace corvane {
namespace {

std::string Text(std::string_view text) {
    return std::string(text);
}

}  // namespace

FileDialogSetup BrowseInputSetup(bool projectOption) {
    return {"Select an input *.mid, *.kar, *.qxs", TypePattern(kTagInput, projectOption),
            Text(kTagInput), true};
}

FileDialogSetup SaveOutputSetup(bool projectOption) {
    return {"Save output as *.mid, *.qxs", TypePattern(kTagOutput, projectOption), Text(kTagOutput),
            true};
}

FileDialogSetup UserStyleSetup() {
    return {"Select an User Style *.set to load or delete:", Text(kUserStylePattern),
            Text(kTagInput), false};
}

FileDialogSetup ChordFileSetup() {
    return {"Select an user Chord File *.chd", Text(kChordFilePattern), Text(kTagInput), false};
}

std::string SaveDialogFileName(std::string_view outName, bool projectOption) {
    const std::string_view name = TrimBlanks(outName);
    if (name.empty()) return projectOption ? "Orvella_Data.qxs" : "Accompanied_Song.mid";
    return GetNameWithoutPath(name) + (projectOption ? ".qxs" : ".mid");
}

DialogPurpose PurposeOf(std::string_view tagOpt, std::string_view pattern) {
    if (tagOpt == kTagInput) {
        if (pattern == kSongPattern || pattern == kProjectPattern) return DialogPurpose::kOpenSong;
        if (pattern == kChordFilePattern) return DialogPurpose::kOpenChordFile;
        if (pattern == kUserStylePattern) return DialogPurpose::kOpenUserStyle;
        return DialogPurpose::kUnsupportedPattern;
    }
    if (tagOpt == kTagOutput) {
        if (pattern == kSaveMidiPattern || pattern == kProjectPattern) return DialogPurpose::kSave;
        return DialogPurpose::kUnsupportedPattern;
    }
    return DialogPurpose::kUnsupportedTag;
}

DialogFace FaceOf(DialogPurpose purpose) {
    switch (purpose) {
        case DialogPurpose::kOpenUserStyle:
            return {"Load", "Selected file:", true, false};
        case DialogPurpose::kSave:
            return {"Save", "Type in a file name to save:", false, true};
        default:
            return {"Ok", "Selected file:", false, false};
    }
}

std::string UnsupportedPatternText(std::string_view tagOpt, std::string_view pattern) {
    return "The TagOpt <" + Text(tagOpt) + ":" + Text(pattern) + ">not supported.";
}

std::string UnsupportedTagText(std::string_view tagOpt, bool onOpening) {
    return "The TagOpt <" + Text(tagOpt) + (onOpening ? "> not supported." : ">not supported.");
}

std::string TypePattern(std::string_view tagOpt, bool projectOption) {
    if (projectOption) return Text(kProjectPattern);
    return Text(tagOpt == kTagInput ? kSongPattern : kSaveMidiPattern);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    return path + Text(name);
}

bool HasExtension(std::string_view path, std::string_view extension) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.size() >= extension.size() &&
           EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

std::optional<std::string> SavePathFor(std::string_view path, std::string_view pattern) {
    std::string_view extension;
    if (pattern == kSaveMidiPattern) {
        extension = ".mid";
    } else if (pattern == kProjectPattern) {
        extension = ".qxs";
    } else {
        return std::nullopt;
    }
    std::string full(path);
    if (!HasExtension(full, extension)) full += extension;
    return full;
}

std::string DirectSavePath(std::string_view outName) {
    std::string path(TrimBlanks(outName));
    if (path.empty()) return path;
    if (!HasExtension(path, ".mid") && !IsProjectPath(path)) path += ".mid";
    return path;
}

bool IsProjectPath(std::string_view path) {
    return HasExtension(path, ".qxs");
}

}  // namespace corvane
