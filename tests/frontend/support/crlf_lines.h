// The lines of a text whose every line ends with CR LF, as the style setting files are written;
// a text that does not end so fails the calling test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::testing {

inline std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

}  // namespace corvane::testing
