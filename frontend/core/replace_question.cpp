#include "frontend/core/replace_question.h"

namespace corvane {

std::string ReplaceQuestionText(std::string_view path) {
    return "The file:\n " + std::string(path) +
           "\nalready exit. Click <Ok> to overwrite, or <Cancel> to abort:";
}

}  // namespace corvane
