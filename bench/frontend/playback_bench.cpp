// Playback of the demo song with the program's own player backend (FluidSynth, heard through the
// machine's audio device when there is one, silently otherwise):
// - the time the Play command takes and the time from Play to the first status update, as the
//   output player starts (100 ms updates), median of repeated starts;
// - the CPU load of rendering: the processor time FluidSynth needs to render 10 s of the song,
//   as a share of those 10 s (offline, so it does not depend on an audio device), median of
//   repeated renders;
// - the CPU load of the whole process over 10 s of real-time playback (with the audio device's
//   rendering thread when there is a device; without one only the player's own timer runs).
// Prints medians; an optional first argument names another MIDI file to play (a composed
// output, say). The extra arguments bench.sh passes are ignored.
#include <time.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/qt/fluid_sequencer.h"
#include "platform/qt/mm_control.h"
#include "platform/sound_font.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStarts = 21;
constexpr int kRenders = 5;
constexpr double kSeconds = 10.0;
constexpr double kSampleRate = 44100.0;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Pumps events for `ms` of real time.
void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string song = argc > 1 && argv[1][0] != '-' ? argv[1] : ORVELLA_DEMO_SONG;
    if (!platform::FindGeneralMidiSoundFont()) {
        std::printf("no General MIDI sound font installed: nothing to measure\n");
        return 0;
    }
    std::printf("song: %s\n", song.c_str());

    platform::qt::MMControl player;
    player.setObjectName("MMControl1");
    player.SetFileName(QString::fromStdString(song));
    player.Command("Open");
    if (player.DeviceID() == 0) {
        std::printf("the song does not open: %s\n", player.ErrorMessage().toStdString().c_str());
        return 1;
    }

    // Play as the output player starts it: updates off, from the start, then every 100 ms.
    std::vector<double> command, firstUpdate;
    for (int run = 0; run < kStarts; ++run) {
        Clock::time_point updatedAt{};
        QEventLoop loop;
        const auto connection =
            QObject::connect(&player, &platform::qt::MMControl::StatusUpdate, [&] {
                if (updatedAt == Clock::time_point{}) updatedAt = Clock::now();
                loop.quit();
            });
        const Clock::time_point start = Clock::now();
        player.SetUpdateInterval(0);
        player.SetFrom(0);
        player.Command("Play");
        const Clock::time_point played = Clock::now();
        player.SetUpdateInterval(100);
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        player.Command("Stop");
        player.SetUpdateInterval(0);
        if (updatedAt == Clock::time_point{}) {
            std::printf("no status update within 2 s\n");
            return 1;
        }
        command.push_back(Ms(played - start));
        firstUpdate.push_back(Ms(updatedAt - start));
    }
    std::printf("Play command: median %.2f ms\n", Median(command));
    std::printf("Play to the first status update (100 ms interval): median %.1f ms\n",
                Median(firstUpdate));

    std::ifstream in(song, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    std::vector<double> load;
    for (int run = 0; run < kRenders; ++run) {
        std::vector<float> left, right;
        const double before = CpuSeconds();
        if (!platform::qt::RenderSongOffline(bytes, kSeconds, kSampleRate, left, right)) {
            std::printf("the song does not render\n");
            return 1;
        }
        load.push_back((CpuSeconds() - before) / kSeconds * 100.0);
    }
    std::printf("CPU load of rendering 10 s at %.0f Hz (one core): median %.2f %%\n", kSampleRate,
                Median(load));

    const double before = CpuSeconds();
    const Clock::time_point start = Clock::now();
    player.SetFrom(0);
    player.Command("Play");
    player.SetUpdateInterval(100);
    Pump(static_cast<int>(kSeconds * 1000));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf(
        "CPU load of the process over %.1f s of real-time playback: %.2f %% (position %lld "
        "of %lld sixteenths)\n",
        wall, (CpuSeconds() - before) / wall * 100.0, static_cast<long long>(player.Position()),
        static_cast<long long>(player.Length()));
    player.Command("Close");
    return 0;
}
