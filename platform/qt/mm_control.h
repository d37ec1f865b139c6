// A player control (the output and the input player of the main window). It is driven by
// commands ("Open", "Play", "Stop", "Close") and properties, in the position unit of the
// sixteenth note:
// - Open reads FileName, refuses a missing file (error 275) or one that is not a playable MIDI
//   song (296), and otherwise opens a device: DeviceID becomes non-zero and Length the song's
//   length; the song starts stopped at 0. Opening while open closes first.
// - Play starts at From when From was set since the last Play, else where the song stands.
// - Stop keeps the position; Close ends the device (DeviceID 0, Mode 524).
// - Mode is 526 while it plays, 525 when stopped or at the song's end, 524 with no device.
// - Error and ErrorMessage tell the last command's failure (each command clears them) or an
//   error that stopped the playing.
// - StatusUpdate is raised on the user-interface thread every UpdateInterval milliseconds while
//   a device is open and the interval is above 0 (on the test's clock when it has one).
// The sound comes from the installed backend (sequencer.h), FluidSynth unless a test put its
// fake in place.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/qt/sequencer.h"
#include "platform/qt/timer_control.h"

namespace platform::qt {

class MMControl : public QObject {
    Q_OBJECT
  public:
    explicit MMControl(QObject* parent = nullptr);
    ~MMControl() override;

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    // "Open", "Play", "Stop" or "Close"; any other command does nothing.
    void Command(const QString& command);

    int DeviceID() const { return deviceId_; }
    int Error() const { return error_; }
    const QString& ErrorMessage() const { return errorMessage_; }
    std::int64_t Length() const { return length_; }
    std::int64_t Position();
    int Mode();
    void SetFrom(std::int64_t sixteenth) { from_ = sixteenth; }
    int UpdateInterval() const { return updateInterval_; }
    void SetUpdateInterval(int ms);
    // False while the song plays on unheard (no audio device or no sound font), as the backend
    // tells it now.
    bool Audible() const { return deviceId_ == 0 || backend_->Audible(); }

    // Songs larger than this are not read.
    static constexpr std::int64_t kMaxSongBytes = 64 << 20;

  signals:
    void StatusUpdate();

  private:
    void Open();
    void Play();
    void Close();
    void Fail(int error, const QString& message);
    void RestartUpdates();
    void Tick();

    QString fileName_;
    std::unique_ptr<SequencerBackend> backend_;
    int deviceId_ = 0;
    int error_ = kErrorNone;
    QString errorMessage_;
    std::int64_t length_ = 0;
    std::int64_t from_ = -1;  // -1: none set since the last Play
    int updateInterval_ = 0;
    TimerControl updates_;
};

}  // namespace platform::qt
