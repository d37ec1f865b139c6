#include "tests/frontend/support/workflow_harness.h"

#include <QTimer>
#include <algorithm>
#include <fstream>

#include "frontend/editors/ui/frm_keys.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {

void WorkflowTest::StartWithSong(int measures) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    std::filesystem::create_directories(folder() / "songs");
    songPath = (folder() / "songs" / "waltz.mid").string();
    WriteFile(songPath, WaltzInG(measures));
    main().TxtInName->setText(QString::fromStdString(songPath));
}

void WorkflowTest::Click(shell::SkinFace* face) {
    if (face->isEnabled()) emit face->MouseUp();
}

bool WorkflowTest::WaitCaption(const QString& caption, int timeoutMs) {
    return WaitUntil([&] { return Caption() == caption; }, timeoutMs);
}

void WorkflowTest::ProceedSaving(const std::vector<std::string>& lines) {
    editors::FrmKeys& keys = app().frmKeys();
    QTimer::singleShot(0, &keys, [&keys, lines] {
        for (const std::string& line : lines) {
            keys.LstKeyChPoints->AddItem(QString::fromStdString(line));
            keys.LstKeyUser->AddItem(
                QString::fromStdString(line.substr(0, 3) + ": " + line.substr(7)));
        }
        keys.CmdOk_Click();
    });
    Click(main().PictProc);
}

void WorkflowTest::ProceedCancelling() {
    editors::FrmKeys& keys = app().frmKeys();
    QTimer::singleShot(0, &keys, [&keys] { keys.CmdCancel_Click(); });
    Click(main().PictProc);
}

void WorkflowTest::SetSlotStyles(const std::vector<std::string>& files) {
    const auto& library = app().g.Styles;
    for (int slot = 0; slot < 5; ++slot) {
        const auto it =
            std::find(library.StyleFiles.begin(), library.StyleFiles.end(), files.at(slot));
        ASSERT_NE(it, library.StyleFiles.end()) << files[slot];
        const auto row = static_cast<std::size_t>(it - library.StyleFiles.begin());
        app().slotTables.SectStyleIdx[slot] = static_cast<int>(row);
        app().slotTables.SlotStyleNames[slot] = library.StyleNames[row];
    }
}

void WorkflowTest::LoadAndProceed() {
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    ProceedSaving({"001:02;G  Major"});
    ASSERT_TRUE(WaitCaption("<Proceed> command complete.")) << Caption().toStdString();
}

std::string WorkflowTest::ReadText(const char* name) const {
    std::ifstream in(folder() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace corvane::testing
