// The three steps through the GUI on a 259-measure song (the waltz of the workflow tests): for
// Load In, Proceed (its key list answered by Save at once) and Make Output, the time from the
// click on the step button to its completion caption and to the end of the step's finishing
// work, next to the time the worker takes alone (from its start to its completion, with the
// same command line in the same folder). The difference is what the front end adds; beside it
// the front end's own work, which the load of the machine disturbs less: the command from the
// click until the worker runs, and the finishing from the completion caption to the step's end.
// Prints medians over repeated runs; the extra arguments bench.sh passes are ignored.
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "frontend/app/app.h"
#include "frontend/core/command_lines.h"
#include "frontend/core/ui/workflow.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/completion.h"
#include "platform/qt/msg_box.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"
#include "tests/support/program_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kMeasures = 259;
constexpr int kRuns = 21;
constexpr int kStepLimitMs = 20000;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A press and a release on the face, as the mouse gives them.
void Click(QWidget* face) {
    const QPointF at(face->width() / 2.0, face->height() / 2.0);
    const QPointF global = face->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(face, &press);
    QCoreApplication::sendEvent(face, &release);
}

struct StepTimes {
    std::vector<double> caption, finished, worker;
    // The front end's own work: the click until the worker runs, the completion caption until
    // the step is finished.
    std::vector<double> command, finishing;
};

// Clicks `face` and pumps events until the step is over; false when it did not complete.
bool TimeStep(QWidget* face, const QString& completion, StepTimes& times) {
    corvane::FrmMain& main = corvane::App::Get().frmMain();
    Clock::time_point captionAt{};
    const auto connection =
        QObject::connect(main.LblInName, &platform::qt::CaptionLabel::Change, [&] {
            if (main.LblInName->Caption() == completion) captionAt = Clock::now();
        });
    const Clock::time_point start = Clock::now();
    Click(face);
    const Clock::time_point started = Clock::now();
    const corvane::CoreGlobals& g = corvane::App::Get().g;
    while (captionAt == Clock::time_point{} || g.CmdRunning != 0) {
        if (Ms(Clock::now() - start) > kStepLimitMs) break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const Clock::time_point end = Clock::now();
    QObject::disconnect(connection);
    if (captionAt == Clock::time_point{}) return false;
    times.caption.push_back(Ms(captionAt - start));
    times.finished.push_back(Ms(end - start));
    times.command.push_back(Ms(started - start));
    times.finishing.push_back(Ms(end - captionAt));
    return true;
}

// The worker alone: started the cheapest way there is, in the same folder, until its completion
// arrives (as the front end sees the end of a step); its exit is collected afterwards.
double TimeWorker(const fs::path& folder, const std::string& program,
                  const std::function<std::string(platform::Hwnd)>& args, int* code = nullptr) {
    auto receiver = platform::CompletionReceiver::Open();
    if (!receiver) std::exit(1);
    std::vector<std::string> words = {(folder / program).string()};
    const std::string line = args(receiver->handle());
    for (std::size_t start = 0;;) {
        const std::size_t blank = line.find(' ', start);
        words.push_back(line.substr(start, blank - start));
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    const auto completion =
        started ? receiver->Receive(std::chrono::milliseconds(kStepLimitMs)) : std::nullopt;
    const double ms = Ms(Clock::now() - start);
    posix_spawn_file_actions_destroy(&actions);
    if (started) waitpid(pid, nullptr, 0);
    if (!completion || completion->failed()) {
        std::fprintf(stderr, "%s alone failed\n", program.c_str());
        std::exit(1);
    }
    if (code != nullptr) *code = static_cast<int>(completion->wParam);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    testsupport::TempProgramFolder root;
    const fs::path folder = root.path() / "program";
    for (const char* sub : {"program", "config", "data", "runtime"})
        fs::create_directories(root.path() / sub);
    fs::permissions(root.path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    corvane::testing::PrepareProgramFolder(folder);
    const fs::path song = root.path() / "waltz.mid";
    corvane::testing::WriteFile(song, corvane::testing::WaltzInG(kMeasures));
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", (root.path() / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root.path() / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root.path() / "runtime").c_str(), 1);
    fs::current_path(folder);

    QApplication application(argc, argv);
    platform::qt::MsgBoxRecorder boxes;
    corvane::App app;
    if (app.Start() != corvane::StartupOutcome::kShown) {
        std::fputs("Corvane did not start\n", stderr);
        return 1;
    }
    corvane::FrmMain& main = app.frmMain();
    main.TxtInName->setText(QString::fromStdString(song.string()));
    const char* const slotStyles[] = {"Jw3430.sty", "Wz3431.sty", "Sw3412.sty", "Jw3430.sty",
                                      "Wz3431.sty"};
    // The first Proceed commits the style manager's slots, which hold the restored styles;
    // the waltz styles go in after it, as a user picks them before Make.
    const auto pickWaltzStyles = [&] {
        for (int slot = 0; slot < 5; ++slot) {
            const auto& files = app.g.Styles.StyleFiles;
            const auto row =
                std::find(files.begin(), files.end(), slotStyles[slot]) - files.begin();
            app.slotTables.SectStyleIdx[slot] = static_cast<int>(row);
            app.slotTables.SlotStyleNames[slot] =
                app.g.Styles.StyleNames.at(static_cast<std::size_t>(row));
        }
    };
    corvane::editors::FrmKeys& keys = app.frmKeys();

    StepTimes load, proceed, make;
    const auto throughTheGui = [&] {
        bool ok = TimeStep(main.PictLoad, "<Load In> command complete.", load);
        QTimer::singleShot(0, &keys, [&keys] {
            keys.LstKeyChPoints->AddItem("001:02;G  Major");
            keys.LstKeyUser->AddItem("001: G  Major");
            keys.CmdOk_Click();
        });
        ok = ok && TimeStep(main.PictProc, "<Proceed> command complete.", proceed);
        pickWaltzStyles();
        ok = ok && TimeStep(main.PictMake, "<Make> command complete.", make);
        if (!ok || app.g.ChordMsCount != kMeasures || !app.g.OutputReady) {
            std::fprintf(stderr, "a step did not complete: %s\n",
                         main.LblInName->Caption().toUtf8().constData());
            for (const QString& line : boxes.lines())
                std::fprintf(stderr, "  box: %s\n", line.toUtf8().constData());
            std::exit(1);
        }
    };
    // The same three runs without the front end, on the files the steps leave.
    const auto alone = [&] {
        load.worker.push_back(TimeWorker(folder, "Ambrel", [](platform::Hwnd h) {
            return "/2 InPut.bin " + std::to_string(h) + " 2426";
        }));
        int chordKey = 0;
        proceed.worker.push_back(TimeWorker(
            folder, "Tressil",
            [](platform::Hwnd h) { return "3 " + std::to_string(h) + " 2426 0"; }, &chordKey));
        corvane::ComposeInputs inputs;
        inputs.songTempo = 96;
        for (int slot = 0; slot < 5; ++slot) inputs.styleFiles[slot] = slotStyles[slot];
        inputs.echoSlider = {main.CanGatEcho[0]->Value(), main.CanGatEcho[1]->Value()};
        inputs.echoVoice = {50, 90};
        inputs.myVmCode = chordKey;
        make.worker.push_back(TimeWorker(folder, "Compose", [&](platform::Hwnd h) {
            inputs.handle = h;
            const std::string line = corvane::ComposeArgs(inputs);
            return line.substr(line.find(' ') + 1);
        }));
    };
    // Each goes first every other run, so that neither finds the files and programs warmer.
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 0) {
            throughTheGui();
            alone();
        } else {
            alone();
            throughTheGui();
        }
    }

    std::printf("Front end workflow on a %d-measure song, medians of %d runs (ms)\n", kMeasures,
                kRuns);
    std::printf("%-9s %15s %16s %13s %15s %10s %10s\n", "step", "click->caption", "click->finished",
                "worker alone", "GUI less worker", "command", "finishing");
    const std::pair<const char*, const StepTimes*> steps[] = {
        {"Load In", &load}, {"Proceed", &proceed}, {"Make", &make}};
    for (const auto& [name, times] : steps) {
        // The front end's share, run by run: the step through the GUI less the worker alone.
        std::vector<double> added;
        for (std::size_t i = 0; i < times->finished.size(); ++i)
            added.push_back(times->finished[i] - times->worker[i]);
        std::printf("%-9s %15.1f %16.1f %13.1f %15.1f %10.1f %10.1f\n", name,
                    Median(times->caption), Median(times->finished), Median(times->worker),
                    Median(added), Median(times->command), Median(times->finishing));
    }
    return 0;
}
