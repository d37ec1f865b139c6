#include "tests/frontend/support/program_files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tests/support/program_folder.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrograms[] = {"Ambrel", "Sorvik", "Tressil", "Compose", "Quenby", "Corvane"};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string StyleHeaderLine(std::string_view headerText) {
    return "Mtrk,1,0,33,104,64,8,33,104,64,8,10,\"" + std::string(headerText) + "\"\r\n";
}

std::vector<std::uint8_t> StyleFileBytes(std::string_view headerText) {
    static const std::string body = [] {
        const std::string library = ReadAll(testsupport::BinDir() / LibraryStyleFiles().front());
        const std::size_t lineEnd = library.find("\r\n");
        return lineEnd == std::string::npos ? std::string() : library.substr(lineEnd + 2);
    }();
    const std::string text = StyleHeaderLine(headerText) + body;
    return {text.begin(), text.end()};
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> WriteGeneratedStyles(const fs::path& folder, int count, bool realBody) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        char name[32];
        char header[64];
        std::snprintf(name, sizeof name, "Gn%04d.sty", i);
        std::snprintf(header, sizeof header, "Gen: 4/4 Generated %04d", i);
        if (realBody) {
            WriteFile(folder / name, StyleFileBytes(header));
        } else {
            WriteFile(folder / name, StyleHeaderLine(header) + "Eoi\r\n");
        }
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> LibraryStyleFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(testsupport::SourceDir() / "styles")) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 10 && name.ends_with(".txt"))
            names.push_back(name.substr(0, 6) + ".sty");
    }
    std::sort(names.begin(), names.end());
    return names;
}

void PrepareProgramFolder(const fs::path& folder, bool withLibraryStyles) {
    const fs::path bin = testsupport::BinDir();
    for (const char* program : kPrograms) fs::create_symlink(bin / program, folder / program);
    for (const char* file : {"DIRIzu.fon", "DIRIzu.fon.LICENSE"}) {
        if (fs::exists(bin / file)) fs::copy_file(bin / file, folder / file);
    }
    if (fs::is_directory(bin / "Vessane.chm"))
        fs::copy(bin / "Vessane.chm", folder / "Vessane.chm", fs::copy_options::recursive);
    if (!withLibraryStyles) return;
    for (const std::string& style : LibraryStyleFiles()) fs::copy_file(bin / style, folder / style);
}

}  // namespace corvane::testing
