// Saving over a file that is there, as every save of the program goes about it.
#pragma once

#include <string>

namespace corvane {

// Whether a save to `path` may go on: yes when no file is there. A read-only file is refused
// with `readOnlyText` in a critical box and nothing is asked; any other file is replaced only
// when the user answers Ok to the replace question, whose default button is `defaultButton`
// (0 Ok, 1 Cancel: each save keeps its own).
bool MayReplace(const std::string& path, const std::string& readOnlyText, int defaultButton);

}  // namespace corvane
