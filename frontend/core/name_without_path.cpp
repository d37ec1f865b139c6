#include "frontend/core/name_without_path.h"

namespace corvane {

std::string GetNameWithoutPath(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\:");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    if (name.size() > 4) name.remove_suffix(4);
    return std::string(name);
}

}  // namespace corvane
