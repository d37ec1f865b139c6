#include "platform/qt/fake_sequencer.h"

#include <algorithm>
#include <map>

#include "platform/qt/virtual_clock.h"

namespace platform::qt {
namespace {

constexpr int kMsPerSixteenth = 125;

}  // namespace

struct FakeSequencer::State {
    std::vector<std::string> lines;
    std::function<void(const std::string&)> onCommand;
    struct Failure {
        int error;
        std::string message;
    };
    std::map<std::string, Failure> failures;
    bool installed = true;
    bool silent = false;

    void Log(const std::string& line) {
        if (!installed) return;
        lines.push_back(line);
        // A copy: the callback may install another one.
        if (auto callback = onCommand) callback(line);
    }
};

namespace {

class FakeBackend : public SequencerBackend {
  public:
    FakeBackend(std::shared_ptr<FakeSequencer::State> state, std::string control)
        : state_(std::move(state)), control_(std::move(control)) {}

    bool Open(const std::string& fileName, std::span<const std::uint8_t>, const SongTiming& timing,
              std::string&) override {
        length_ = TicksToSixteenths(timing.lengthTicks, timing.division);
        running_ = false;
        at_ = 0;
        state_->Log(control_ + " Open " + fileName);
        return true;
    }

    bool Play(std::int64_t sixteenth, std::string&) override {
        state_->Log(control_ + " Play from " + std::to_string(sixteenth));
        at_ = sixteenth;
        startMs_ = NowMs();
        running_ = true;
        return true;
    }

    void Stop() override {
        at_ = Position();
        running_ = false;
        state_->Log(control_ + " Stop");
    }

    void Close() override {
        running_ = false;
        at_ = 0;
        state_->Log(control_ + " Close");
    }

    std::int64_t Position() override {
        if (!running_) return at_;
        const std::int64_t played = (NowMs() - startMs_) / kMsPerSixteenth;
        return std::min(at_ + played, std::max(length_, at_));
    }

    bool Running() override {
        if (running_ && Position() >= length_) {
            // The song is over: the position stays at its end.
            at_ = std::max(length_, at_);
            running_ = false;
        }
        return running_;
    }

    bool Audible() override { return !running_ || !state_->silent; }

    int TakeError(std::string& message) override {
        const auto failure = state_->failures.find(control_);
        if (failure == state_->failures.end() || !running_) return kErrorNone;
        const FakeSequencer::State::Failure taken = failure->second;
        state_->failures.erase(failure);
        at_ = Position();
        running_ = false;
        message = taken.message;
        return taken.error;
    }

  private:
    std::shared_ptr<FakeSequencer::State> state_;
    std::string control_;
    std::int64_t length_ = 0;
    std::int64_t at_ = 0;
    std::int64_t startMs_ = 0;
    bool running_ = false;
};

}  // namespace

FakeSequencer::FakeSequencer() : state_(std::make_shared<State>()) {
    std::shared_ptr<State> state = state_;
    SetSequencerBackendMaker([state](const std::string& control) {
        return std::make_unique<FakeBackend>(state, control);
    });
}

FakeSequencer::~FakeSequencer() {
    state_->installed = false;
    SetSequencerBackendMaker(nullptr);
}

std::vector<std::string> FakeSequencer::Lines() const {
    return state_->lines;
}

void FakeSequencer::Clear() {
    state_->lines.clear();
}

void FakeSequencer::OnCommand(std::function<void(const std::string&)> callback) {
    state_->onCommand = std::move(callback);
}

void FakeSequencer::FailWhilePlaying(const std::string& control, int error,
                                     const std::string& message) {
    state_->failures[control] = {error, message};
}

void FakeSequencer::PlaySilently(bool silent) {
    state_->silent = silent;
}

}  // namespace platform::qt
