// What front-end tests, fuzz replays and benchmarks put into a temporary program folder: the
// built programs, the shipped style library and the editor font, and style files made to
// order from a header text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

// The first line of a style file with the given header text, CR LF included.
std::string StyleHeaderLine(std::string_view headerText);

// A style file: the header line followed by the body of a shipped library style, so the file
// is a real style apart from its header.
std::vector<std::uint8_t> StyleFileBytes(std::string_view headerText);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// "Gn0001.sty" ... with headers "Gen: 4/4 Generated 0001" ...; returns the names written.
// `realBody` gives each the body of a library style (what a real library holds), else a
// few bytes after the header line, which is all the library scan reads.
std::vector<std::string> WriteGeneratedStyles(const std::filesystem::path& folder, int count,
                                              bool realBody = false);

// The file names of the shipped style library ("Bl4412.sty", ...), in name order.
std::vector<std::string> LibraryStyleFiles();

// Links the built programs into `folder` and copies the editor font and, when asked, the
// shipped library styles.
void PrepareProgramFolder(const std::filesystem::path& folder, bool withLibraryStyles = true);

}  // namespace corvane::testing
