// stylec: compiles a style description into a .sty file and decodes a .sty file back into a
// description. Only this edge reads and writes files and prints.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/style_file.h"
#include "formats/style_text.h"
#include "platform/file.h"

namespace {

constexpr const char* kUsage =
    "usage: stylec compile <description> [-o <file.sty or folder>]\n"
    "       stylec decode <file.sty> [-o <description>]\n";

int Fail(const std::string& where, const formats::Problem& problem) {
    if (problem.line > 0) {
        std::fprintf(stderr, "%s:%d: %s\n", where.c_str(), problem.line, problem.message.c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", where.c_str(), problem.message.c_str());
    }
    return 1;
}

bool WriteOut(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // A run killed before its rename left a temporary file beside the target; ours to remove.
    platform::RemoveStaleTemporaries(path);
    if (platform::ReplaceFileAtomically(path, bytes)) return true;
    std::fprintf(stderr, "stylec: cannot write %s\n", path.c_str());
    return false;
}

int Compile(const std::string& input, const std::string& output) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(input, bytes)) {
        std::fprintf(stderr, "stylec: cannot read %s\n", input.c_str());
        return 1;
    }
    const auto style = formats::ParseStyleText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!style.ok()) return Fail(input, style.problem);
    const auto file = formats::WriteStyleFile(*style.value);
    if (!file.ok()) return Fail(input, file.problem);

    const std::string name = style.value->FileName();
    std::filesystem::path target =
        output.empty() ? std::filesystem::path(name) : std::filesystem::path(output);
    if (std::filesystem::is_directory(target)) target /= name;
    if (target.filename() != name) {
        return Fail(input, {0, "the file name carries the code and version: write it as " + name +
                                   ", not " + target.filename().string()});
    }
    return WriteOut(target.string(), *file.value) ? 0 : 1;
}

int Decode(const std::string& input, const std::string& output) {
    const std::string fileName = std::filesystem::path(input).filename().string();
    const auto version = formats::VersionFromFileName(fileName);
    if (!version) {
        return Fail(input, {0,
                            "a style file is named by four code characters, two version "
                            "digits and \".sty\""});
    }
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(input, bytes)) {
        std::fprintf(stderr, "stylec: cannot read %s\n", input.c_str());
        return 1;
    }
    const auto style = formats::ReadStyleFile(bytes, fileName.substr(0, 4), *version);
    if (!style.ok()) return Fail(input, style.problem);
    const std::string text = formats::FormatStyleText(*style.value);
    if (output.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    return WriteOut(output, std::vector<std::uint8_t>(text.begin(), text.end())) ? 0 : 1;
}

int Run(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "-o")) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::string output = argc == 5 ? argv[4] : "";
    if (command == "compile") return Compile(argv[2], output);
    if (command == "decode") return Decode(argv[2], output);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stylec: %s\n", e.what());
        return 1;
    }
}
