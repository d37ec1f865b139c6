// What the saving, project and file dialog tests share: a composed output in memory (the waltz
// as its plain part, its header saying three tracks, one coded track after it), the chord data
// and style settings a project keeps, and byte helpers.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "formats/output_coding.h"
#include "frontend/core/ui/file_commands.h"
#include "frontend/core/ui/frm_select_file.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/gui_harness.h"
#include "tests/frontend/support/program_files.h"
#include "tests/support/file_size_limit.h"

namespace corvane::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadString(const std::filesystem::path& path) {
    const Bytes bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

using testsupport::FileSizeLimit;

class FileCommandsTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }

    CoreGlobals& g() { return app().g; }
    FileCommands& files() { return main().fileCommands(); }
    FrmSelectFile& dialog() { return app().frmSelectFile(); }
    std::string InFolder(const std::string& name) const { return (folder() / name).string(); }

    // An output in memory as a Make leaves it, with the chord data of 24 measures beside it.
    void MakeOutput() {
        Bytes composed = WaltzInG(8);
        composed[11] = 3;
        const Bytes track = {'M',  'T',  'r',  'k',  0,    0,    0,    8,
                             0x17, 0xB2, 0x07, 0x64, 0x40, 0xFF, 0x2F, 0x00};
        formats::OutputTrackCoder(70).Append(track, composed);
        WriteFile(folder() / "ComposeOut.bin", composed);
        ASSERT_TRUE(g().Output.LoadComposeOutput(InFolder("ComposeOut.bin"), 70));
        g().OutputReady = true;
        g().MyVmCode = 53;
        main().PictSave->setEnabled(true);
        WriteChordData(35 * 24);
    }

    void WriteChordData(std::size_t size) {
        Bytes data(size);
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 13 + 1);
        WriteFile(folder() / "Data.aco", data);
    }

    const Bytes& Output() { return g().Output.OutputBuf(); }
};

}  // namespace corvane::testing
