// The fixed-pitch font of the chord grid, the key list and the chord builder: DejaVu Sans Mono
// Bold, which the build copies into the program folder as "DIRIzu.fon". One constant names the
// family everywhere.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace platform::qt {

constexpr const char* kEditorFontFamily = "DejaVu Sans Mono";
constexpr const char* kEditorFontFile = "DIRIzu.fon";

QFont EditorFont();

// Adds the program folder's copy of the font to this process, so the editors have it even
// when it was never installed for the user; false when the file is missing or unusable.
bool AddEditorFont(const std::string& programFolder);

// True when a widget given the editor font really gets that family.
bool EditorFontPresent();

}  // namespace platform::qt
