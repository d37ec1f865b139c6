// The one harness of the front end's GUI tests. Each test runs in its own process (ctest runs
// the cases one by one) on Qt's offscreen platform, with
// - a temporary program folder holding the built programs and the shipped styles, which is
//   the current folder while the test runs,
// - XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR in a temporary folder, so the settings,
//   fonts, instance locks and completion sockets of the user are never touched,
// - the message-box recorder, so no box is ever shown (answers can be scripted),
// - the MIDI output recorder and the fake players, so no sound device is ever opened.
// StartCorvane() runs the program's start-up in this process; RunCorvane() starts the built
// program as a subprocess in the folder and collects its exit code and its message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>

#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/fake_sequencer.h"
#include "platform/qt/midi_out.h"
#include "platform/qt/msg_box.h"

namespace corvane::testing {

// Pumps events until `done` holds or `timeoutMs` passed; returns whether it holds.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

struct ProcessRun {
    int exitCode = -1;         // -1 when it did not end in time or crashed
    QStringList messageBoxes;  // "icon|title|text" lines
    QString output;            // standard output and error
};

class CorvaneTest : public ::testing::Test {
  protected:
    // `withLibraryStyles` false leaves the program folder without styles.
    explicit CorvaneTest(bool withLibraryStyles = true);
    ~CorvaneTest() override;

    const std::filesystem::path& folder() const { return folder_; }
    const std::filesystem::path& configHome() const { return configHome_; }

    // Runs the start-up in this process; app() and main() are valid afterwards (and after a
    // failed start-up too).
    StartupOutcome StartCorvane();
    // Ends the in-process program, as a new run of the program would find things.
    void EndCorvane();
    App& app() { return *app_; }
    FrmMain& main() { return app_->frmMain(); }

    // Runs the built program in `folder` (the test's program folder by default) with the
    // test's XDG folders, answering every box with its default; `quitWhenShown` ends it once
    // its main window is up.
    ProcessRun RunCorvane(bool quitWhenShown = true, int timeoutMs = 20000);
    // The same, started and left running; Finish waits for its end.
    std::unique_ptr<QProcess> LaunchCorvane(bool quitWhenShown);
    ProcessRun Finish(QProcess& process, int timeoutMs = 20000);
    // True while some copy of the program holds the instance lock of the test's folder.
    bool InstanceHeld() const;

    platform::qt::MsgBoxRecorder recorder;
    // Every MIDI output of the test's program goes here; no test touches a sound device.
    platform::qt::MidiOutRecorder midiOut;
    // The players of the test's program play on the test's clock and log their commands.
    platform::qt::FakeSequencer sequencer;

  private:
    std::filesystem::path root_;
    std::filesystem::path folder_;
    std::filesystem::path configHome_;
    std::unique_ptr<App> app_;
};

}  // namespace corvane::testing
