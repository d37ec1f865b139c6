// write_fixture_song OUT.mid [MEASURES]: writes the workflow tests' waltz in G major (24
// measures unless told), for the screenshot scenario and anyone trying the workflow by hand.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/frontend/support/fixture_song.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: write_fixture_song OUT.mid [MEASURES]\n", stderr);
        return 2;
    }
    const int measures = argc > 2 ? std::atoi(argv[2]) : 24;
    if (measures < 1 || measures > 260) {
        std::fputs("write_fixture_song: 1 to 260 measures\n", stderr);
        return 2;
    }
    const auto bytes = corvane::testing::WaltzInG(measures);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
