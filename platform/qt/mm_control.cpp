#include "platform/qt/mm_control.h"

#include <algorithm>

#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"

namespace platform::qt {
namespace {

// Device numbers are never reused, so a number kept from a closed device names nothing.
int NextDeviceId() {
    static int last = 0;
    last = last == 0x7FFFFFFF ? 1 : last + 1;
    return last;
}

}  // namespace

MMControl::MMControl(QObject* parent) : QObject(parent) {
    connect(&updates_, &TimerControl::Timer, this, &MMControl::Tick);
}

MMControl::~MMControl() {
    Close();
}

void MMControl::Command(const QString& command) {
    error_ = kErrorNone;
    errorMessage_.clear();
    if (command == "Open") {
        Open();
    } else if (command == "Play") {
        Play();
    } else if (command == "Stop") {
        if (deviceId_ != 0) backend_->Stop();
    } else if (command == "Close") {
        Close();
    }
}

void MMControl::Fail(int error, const QString& message) {
    error_ = error;
    errorMessage_ = message;
}

void MMControl::Open() {
    Close();
    const std::string path = FileNameBytes(fileName_);
    const auto length = FileLength(path);
    if (!length) {
        Fail(kErrorFileNotFound,
             "The file <" + QString::fromStdString(path) + "> cannot be found.");
        return;
    }
    const auto bytes = *length <= kMaxSongBytes
                           ? ReadAtMost(path, static_cast<std::size_t>(*length))
                           : std::optional<std::vector<std::uint8_t>>{};
    const auto timing = bytes ? ScanSongTiming(*bytes) : std::nullopt;
    if (!timing) {
        Fail(kErrorInvalidFile, "The file <" + QString::fromStdString(path) +
                                    "> is not a MIDI song that can be played.");
        return;
    }
    if (!backend_) backend_ = MakeSequencerBackend(objectName().toStdString());
    std::string message;
    if (!backend_->Open(path, *bytes, *timing, message)) {
        Fail(kErrorNoSynthesizer, QString::fromStdString(message));
        return;
    }
    deviceId_ = NextDeviceId();
    length_ = TicksToSixteenths(timing->lengthTicks, timing->division);
    from_ = -1;
    RestartUpdates();
}

void MMControl::Play() {
    if (deviceId_ == 0) return;
    const std::int64_t start = from_ >= 0 ? from_ : Position();
    from_ = -1;
    std::string message;
    if (!backend_->Play(start, message)) Fail(kErrorNoSynthesizer, QString::fromStdString(message));
}

void MMControl::Close() {
    if (deviceId_ == 0) return;
    backend_->Close();
    deviceId_ = 0;
    length_ = 0;
    from_ = -1;
    RestartUpdates();
}

std::int64_t MMControl::Position() {
    if (deviceId_ == 0) return 0;
    return std::clamp<std::int64_t>(backend_->Position(), 0, length_);
}

int MMControl::Mode() {
    if (deviceId_ == 0) return kModeNotReady;
    return backend_->Running() && backend_->Position() < length_ ? kModePlaying : kModeStopped;
}

void MMControl::SetUpdateInterval(int ms) {
    updateInterval_ = std::max(ms, 0);
    RestartUpdates();
}

void MMControl::RestartUpdates() {
    updates_.SetInterval(updateInterval_);
    updates_.SetEnabled(deviceId_ != 0 && updateInterval_ > 0);
}

void MMControl::Tick() {
    if (deviceId_ == 0) return;
    std::string message;
    if (const int error = backend_->TakeError(message); error != kErrorNone)
        Fail(error, QString::fromStdString(message));
    emit StatusUpdate();
}

}  // namespace platform::qt
