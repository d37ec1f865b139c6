// What the playback and shutdown tests share: the waltz loaded, proceeded and made through the
// real workers, then played by the fake players on the test's own clock (one sixteenth every
// 125 ms, so a 3/4 bar lasts 1.5 s), and the look of the LEDs.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "frontend/core/ui/playback.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/virtual_clock.h"
#include "tests/frontend/support/workflow_harness.h"

namespace corvane::testing {

constexpr int kSongBars = 8;
constexpr int kMsPerSixteenth = 125;
constexpr int kMsPerBar = 12 * kMsPerSixteenth;

class PlaybackTest : public WorkflowTest {
  protected:
    // The composed waltz in memory, nothing opened yet.
    void MakeOutput() {
        StartWithSong(kSongBars);
        // The first Proceed commits the section dialog's styles: the slots are set after it.
        LoadAndProceed();
        SetWaltzStyles();
        Click(main().PictMake);
        ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
        recorder.clear();
        sequencer.Clear();
    }
    // The output test started and the output ready to play.
    void OpenOutput() {
        MakeOutput();
        Click(main().PictTest);
        ASSERT_EQ(Caption(), "Ready To Play Output.") << recorder.lines().join(" / ").toStdString();
        sequencer.Clear();
    }
    Playback& playback() { return main().playback(); }
    std::vector<std::string> Log() const { return sequencer.Lines(); }
    std::string PlayFile() const { return (folder() / "Play.sti").string(); }
    // Moves the test's clock on, running every timer that falls due.
    void Advance(std::int64_t ms) { clock.Advance(ms); }

    static QString Lit(Colour colour) {
        return "background-color: " + platform::qt::ColourOf(colour).name();
    }
    static QString Grey() { return Lit(0x808080); }
    static QString Back(QWidget* control) { return control->styleSheet(); }

    platform::qt::VirtualClock clock;
};

}  // namespace corvane::testing
