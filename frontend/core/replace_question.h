// The question every save of the program asks before it replaces a file that is there: the
// output save and the style setting save alike.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

std::string ReplaceQuestionText(std::string_view path);

}  // namespace corvane
