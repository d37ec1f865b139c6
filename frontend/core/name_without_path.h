// The bare name the front end shows for a file path: what follows the last folder separator,
// without its last four characters (the extension with its dot) when it is longer than four.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Separators are "/", "\" and ":" (a drive letter), so paths of either platform give their
// file name. There is no test for a dot: the last four characters go whatever they are.
std::string GetNameWithoutPath(std::string_view path);

}  // namespace corvane
