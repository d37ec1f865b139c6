// firstrun FOLDER TEMPO CHORD-KEY STYLE1 ... STYLE5: what the window's Make Output sends the
// composer on a first run (see first_run.h), for a chain run without the window. Reads the five
// style files from FOLDER, writes FOLDER/vPara.dat as Make writes it, and prints the composer's
// 18 tokens on one line, "{hwnd}" standing for the caller's window handle (runworker fills it in).
#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "tools/firstrun/first_run.h"

namespace {

constexpr int kHandleToken = 13;

bool ReadNumber(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The composer's tokens after its name, the caller's handle written as "{hwnd}".
std::string TokensForRunworker(const std::string& commandLine) {
    std::string tokens;
    std::size_t start = commandLine.find(' ');
    for (int index = 1; start != std::string::npos; ++index) {
        const std::size_t next = commandLine.find(' ', start + 1);
        const std::string token = commandLine.substr(
            start + 1, next == std::string::npos ? std::string::npos : next - start - 1);
        tokens += (tokens.empty() ? "" : " ") + (index == kHandleToken ? "{hwnd}" : token);
        start = next;
    }
    return tokens;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 + firstrun::kSlots) {
        std::fputs("usage: firstrun FOLDER TEMPO CHORD-KEY STYLE1 STYLE2 STYLE3 STYLE4 STYLE5\n",
                   stderr);
        return 2;
    }
    const std::string folder = argv[1];
    int tempo = 0, chordKey = 0;
    if (!ReadNumber(argv[2], tempo) || !ReadNumber(argv[3], chordKey)) {
        std::fputs("firstrun: the tempo and the chord key must be numbers\n", stderr);
        return 2;
    }
    std::array<firstrun::SlotStyle, firstrun::kSlots> slots;
    for (int s = 0; s < firstrun::kSlots; ++s) {
        slots[s].file = argv[4 + s];
        if (!platform::ReadWholeFile(folder + "/" + slots[s].file, slots[s].bytes)) {
            std::fprintf(stderr, "firstrun: cannot read %s/%s\n", folder.c_str(),
                         slots[s].file.c_str());
            return 1;
        }
    }
    const auto request = firstrun::FirstRunMake(slots, tempo, chordKey, 0);
    if (!request) {
        std::fputs("firstrun: a style's track records cannot be read\n", stderr);
        return 1;
    }
    const std::string path = folder + "/vPara.dat";
    if (!platform::ReplaceFileAtomically(
            path, std::vector<std::uint8_t>(request->vPara.begin(), request->vPara.end()))) {
        std::fprintf(stderr, "firstrun: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", TokensForRunworker(request->commandLine).c_str());
    return 0;
}
