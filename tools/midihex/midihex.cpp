// midihex IN.txt OUT.bin: turns readable fixture text (hex byte pairs, "quoted ASCII", '#'
// comments) into the bytes it describes. The build uses it for the demo melody; tests use the
// same parser directly.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/midihex/hex_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: midihex IN.txt OUT.bin\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "midihex: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const auto bytes = midihex::ParseHexText(text, &error);
    if (!bytes) {
        std::fprintf(stderr, "midihex: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::string temporary = std::string(argv[2]) + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<std::streamsize>(bytes->size()));
        if (!out.flush()) {
            std::fprintf(stderr, "midihex: cannot write %s\n", argv[2]);
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "midihex: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
