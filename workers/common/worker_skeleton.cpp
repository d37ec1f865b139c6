#include "workers/common/worker_skeleton.h"

#include <array>
#include <cstring>

#include "platform/file.h"
#include "workers/common/worker_fatal.h"

namespace worker {

platform::Hwnd CallerWindow = 0;

namespace {

constexpr int kMaxFieldLimit = 32;

// The line is stored as the platform hands it over, and the splitter cuts it in place.
std::array<char, kCommandLineLimit> storedLine{};
std::array<const char*, kMaxFieldLimit + 2> fields{};
int fieldCount = 0;

const WorkerConfig* config = nullptr;
std::uint32_t successCode = 0;
bool jobStarted = false;

const WorkerConfig& Config() {
    static const WorkerConfig none{};
    return config != nullptr ? *config : none;
}

}  // namespace

std::string JoinCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

void StoreCommandLine(std::string_view line) {
    storedLine.fill('\0');
    fieldCount = 0;
    if (line.size() < kCommandLineLimit) std::memcpy(storedLine.data(), line.data(), line.size());
}

const char* StoredCommandLine() {
    return storedLine.data();
}
char* StoredCommandLineBuffer() {
    return storedLine.data();
}

int SplitCommandLine(int fieldLimit) {
    if (fieldLimit < 1) fieldLimit = 1;
    if (fieldLimit > kMaxFieldLimit) fieldLimit = kMaxFieldLimit;
    char* line = storedLine.data();
    if (line[0] == '\0' || line[0] == ' ') return 0;

    int count = 1;
    fields[1] = line;
    for (char* c = line; *c != '\0'; ++c) {
        if (*c != ' ') continue;
        *c = '\0';
        ++count;
        if (count > fieldLimit) break;
        fields[count] = c + 1;
    }
    fieldCount = count > fieldLimit ? fieldLimit : count;
    return count + 1;
}

const char* Field(int n) {
    if (n < 1 || n > fieldCount) return "";
    return fields[n];
}

void SetSuccessDoneCode(std::uint32_t code) {
    successCode = code;
}

namespace {

// Goes to CallerWindow (when non-zero): success or failure code and flag.
void PostDoneMessage(bool failed) {
    if (CallerWindow == 0) return;
    platform::PostMessage(CallerWindow, platform::WM_KEYUP,
                          failed ? Config().failureDoneCode : successCode,
                          failed ? platform::kCompletionFailed : 0);
}

int RunJob() {
    if (Config().job == nullptr) return 1;
    try {
        return Config().job();
    } catch (const WorkerFatal& fatal) {
        // Its text, if any, belonged in the error file that only the driver holds. A fatal end
        // is never a success, whatever code it names.
        return fatal.exitCode() != 0 ? fatal.exitCode() : 1;
    }
}

}  // namespace

platform::LResult WorkerWndProc(platform::Hwnd window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam) {
    switch (message) {
        case platform::WM_CREATE: {
            if (jobStarted) return 0;
            jobStarted = true;
            platform::BeginRunOutputs(Config().errorFile);
            const int result = RunJob();
            // The caller reads the result files as soon as the completion arrives.
            platform::CloseAllFiles();
            // A disk that could not take an output leaves the others of the run no better: the
            // caller must find none of them rather than a part of one. The words that say so may
            // have met the full disk too; they go in again into the room the removal made.
            if (result != 0 && platform::RunOutputFaulted()) {
                platform::RemoveRunOutputs();
                platform::RestoreKeptFile();
            }
            if (Config().beforeCompletion != nullptr) Config().beforeCompletion(result != 0);
            PostDoneMessage(result != 0);
            platform::PostQuitMessage(result);
            return 0;
        }
        case platform::WM_PAINT:
        case platform::WM_LBUTTONUP:
            return 0;
        case platform::WM_DESTROY:
            platform::PostQuitMessage(0);
            return 0;
        case platform::WM_RBUTTONUP:
            if (Config().quitOnRightButton) platform::PostQuitMessage(0);
            return 0;
        default:
            return platform::DefWindowProc(window, message, wParam, lParam);
    }
}

int RunWorker(std::string_view commandLine, const WorkerConfig& workerConfig) {
    config = &workerConfig;
    successCode = workerConfig.successDoneCode;
    jobStarted = false;
    CallerWindow = 0;
    StoreCommandLine(commandLine);
    if (!platform::RegisterWindowClass("MyWinClass", WorkerWndProc)) return 0;
    if (platform::CreateWindow("MyWinClass", "Window Skeleton") == 0) return 0;
    return platform::RunMessageLoop();
}

}  // namespace worker
