// The README's first steps in the window on a first run (nothing stored), as they are written:
// Browse the demo, Load, Proceed, where the new song's key list is empty until Auto Detect Keys
// fills it, Save, and Make with no style chosen. Make takes the library's first style for the
// demo and composes; what it sends the composer is exactly what tools/firstrun builds, the play
// options and the command line, so the headless chain and the library's level checks compose as
// the window does.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/editors/ui/frm_keys.h"
#include "platform/file.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tools/firstrun/first_run.h"

namespace corvane::testing {
namespace {

constexpr int kHandleToken = 13;

// The composer's line with its handle token, the only one that changes from run to run.
std::string HandleOf(const std::string& commandLine) {
    std::size_t start = 0;
    for (int token = 0; token < kHandleToken && start != std::string::npos; ++token) {
        start = commandLine.find(' ', start + 1);
    }
    if (start == std::string::npos) return {};
    const std::size_t end = commandLine.find(' ', start + 1);
    return commandLine.substr(start + 1, end == std::string::npos ? end : end - start - 1);
}

TEST_F(WorkflowTest, TheFirstMakeOfTheDemoWithNoStyleChosenIsWhatFirstRunMakes) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    main().TxtInName->setText(QString::fromStdString(DEMO_SONG));
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();

    // The Key Manager is modal: the user's clicks in it run inside its own event loop.
    editors::FrmKeys& keys = app().frmKeys();
    int emptyListRows = -1;
    QString emptySave;
    QTimer::singleShot(0, &keys, [&] {
        emptyListRows = keys.LstKeyUser->ListCount();
        keys.CmdOk_Click();
        emptySave = keys.LblKeyFindInfo->Caption();
        keys.CmdKeyDetect_Click();
        WaitUntil([&] { return keys.LblKeyFindInfo->Caption() == "Key detection completed."; },
                  20000);
        keys.CmdOk_Click();
    });
    Click(main().PictProc);
    EXPECT_EQ(emptyListRows, 0);
    EXPECT_EQ(emptySave, "There is nothing in the Key List.");
    ASSERT_TRUE(WaitCaption("<Proceed> command complete.")) << Caption().toStdString();
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:00;C  Major\r\n");

    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_TRUE(g().OutputReady);
    // Read now: after a Make the panel holds the programs and volumes the composer reported, and
    // the next Make writes them out.
    const std::string vPara = ReadText("vPara.dat");

    // Every slot holds the library's first style.
    const std::string first = g().Styles.StyleFiles.at(0);
    std::array<firstrun::SlotStyle, firstrun::kSlots> slotStyles;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile((folder() / first).string(), bytes));
    slotStyles.fill({first, bytes});
    for (int slot = 0; slot < firstrun::kSlots; ++slot) {
        EXPECT_EQ(app().slotTables.SectStyleIdx[slot], 0);
    }

    // The same Make once more, answered by a stand-in that logs its command line; the line holds
    // no part values.
    InstallFakeWorker(folder(), "Compose", "code=none");
    Click(main().PictMake);
    ASSERT_TRUE(WaitUntil([&] { return !FakeWorkerLog(folder(), "Compose").empty(); }, 20000));
    const std::string logged = FakeWorkerLog(folder(), "Compose").front();
    const std::string prefix = "start ";
    ASSERT_EQ(logged.rfind(prefix, 0), 0u) << logged;
    const std::string line = "Compose " + logged.substr(prefix.size());
    const std::string handle = HandleOf(line);
    ASSERT_FALSE(handle.empty()) << line;

    const auto request = firstrun::FirstRunMake(slotStyles, workflow().SongTempo, g().MyVmCode,
                                                static_cast<std::uint32_t>(std::stoul(handle)));
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(vPara, request->vPara);
    EXPECT_EQ(line, request->commandLine);
}

}  // namespace
}  // namespace corvane::testing
