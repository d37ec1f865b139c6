// The launcher's screen font on Linux. Installing a font "until logoff" becomes a per-user copy
// in ${XDG_DATA_HOME:-~/.local/share}/fonts/Orvella/, where fontconfig finds it for every
// program of the user; it stays there, and an equal copy is left alone. The count of faces
// that FreeType finds in the file stands for the number of fonts the installation added, and
// a rescan of the user's font folders stands for telling every window that the font list
// changed.
#pragma once

#include <string>

namespace vessane {

// The faces FreeType finds in the file; 0 when it is missing, unreadable or no font.
int CountFontFaces(const std::string& path);

// ${XDG_DATA_HOME}/fonts/Orvella, else ~/.local/share/fonts/Orvella (a relative
// XDG_DATA_HOME counts as unset, as the base directory rules say).
std::string UserFontFolder();

// Copies the font file (and the licence file beside it, "<name>.LICENSE", when there is one)
// into UserFontFolder(), through a temporary file and a rename, unless an equal copy is
// already there. Returns the number of faces installed: the faces of the file, or 0 when it
// holds none or the copy failed.
int InstallFontForUser(const std::string& fontPath);

// Rescans the user's font folders so that programs started from now on see the change; false
// when fontconfig could not be used.
bool AnnounceFontChange();

}  // namespace vessane
