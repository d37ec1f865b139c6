// The rules of the front end's own file dialog that need no window: what each of its four callers
// asks of it (caption, file pattern, purpose, whether the type options show), what a purpose and
// a pattern make of its buttons, and how a chosen path is put together. Paths join with "/" and
// never get a doubled separator; an extension is looked for only in the file-name part.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kSongPattern = "*.mid;*.kar";
inline constexpr std::string_view kProjectPattern = "*.qxs";
inline constexpr std::string_view kSaveMidiPattern = "*.mid";
inline constexpr std::string_view kUserStylePattern = "*.set";
inline constexpr std::string_view kChordFilePattern = "*.chd";

inline constexpr std::string_view kTagInput = "input";
inline constexpr std::string_view kTagOutput = "output";

// What a caller sets before it shows the dialog.
struct FileDialogSetup {
    std::string caption;
    std::string pattern;
    std::string tagOpt;
    bool typeOptionsVisible = false;  // OptMid, OptQXs and LblFileType
};

// Browse for the input song; `projectOption` is whether OptQXs is selected.
FileDialogSetup BrowseInputSetup(bool projectOption);
// Name the file the output is saved to.
FileDialogSetup SaveOutputSetup(bool projectOption);
// A user style file to load or delete.
FileDialogSetup UserStyleSetup();
// A user chord file for the chord list editor.
FileDialogSetup ChordFileSetup();

// The name the save dialog proposes: the output name's bare name with the type's extension, or
// the default name when the output name is empty.
std::string SaveDialogFileName(std::string_view outName, bool projectOption);

// What the dialog does for a TagOpt and a pattern.
enum class DialogPurpose {
    kOpenSong,            // "input": the input song or song project
    kOpenChordFile,       // "input": a user chord file
    kOpenUserStyle,       // "input": a user style file, to load or delete
    kSave,                // "output": the file the output is saved to
    kUnsupportedPattern,  // "input" or "output" with a pattern neither serves
    kUnsupportedTag,      // another TagOpt
};
DialogPurpose PurposeOf(std::string_view tagOpt, std::string_view pattern);

// How the dialog's controls look for a purpose it serves.
struct DialogFace {
    std::string okCaption;
    std::string nameLabel;  // LblFName
    bool deleteVisible = false;
    bool nameEditable = false;
};
DialogFace FaceOf(DialogPurpose purpose);

// The refusals of a TagOpt the dialog does not serve. Opening says "> not supported.",
// confirming ">not supported."; a pattern that does not fit says "<tag:pattern>not supported.".
std::string UnsupportedPatternText(std::string_view tagOpt, std::string_view pattern);
std::string UnsupportedTagText(std::string_view tagOpt, bool onOpening);

// The pattern the type options give: "*.qxs" for projects, else the songs a purpose lists.
std::string TypePattern(std::string_view tagOpt, bool projectOption);

// `folder` and `name` joined by one "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// True when the file-name part of `path` (after the last "/") ends in `extension` in any
// letter case.
bool HasExtension(std::string_view path, std::string_view extension);

// The path a confirmed save goes to: ".mid" or ".qxs" added for the pattern unless the name
// has it in any letter case. Nothing for a pattern the save does not serve.
std::optional<std::string> SavePathFor(std::string_view path, std::string_view pattern);

// The path a direct save goes to: the output name without outer blanks, ".mid" added unless it
// ends in ".mid" or ".qxs" in any letter case; empty when the name is blank.
std::string DirectSavePath(std::string_view outName);

bool IsProjectPath(std::string_view path);

}  // namespace corvane
