#include "frontend/core/worker_control.h"

namespace corvane {

const char* const kUnexpectedErrorText = "There is an unexpected error returned.";

CompletionRoute RouteCompletion(int keyCode, int cmdRunning, bool cmdTimedOut) {
    if (cmdTimedOut) return CompletionRoute::kTimedOutWorker;
    CompletionRoute route = CompletionRoute::kForeign;
    if (keyCode == 47) {
        route = CompletionRoute::kLoadIn;
    } else if (keyCode >= 49 && keyCode <= 57) {
        route = CompletionRoute::kProceed;
    } else if (keyCode >= 58 && keyCode <= 99) {
        route = CompletionRoute::kMake;
    }
    if (route != CompletionRoute::kForeign && cmdRunning == kNoCommand)
        return CompletionRoute::kNobodyWaits;
    return route;
}

WorkerErrorBox WorkerErrorMessage(const std::optional<std::vector<std::uint8_t>>& head,
                                  WorkerErrorMode mode, bool melodyWorkerBusy) {
    if (!head || head->empty()) return {1, kUnexpectedErrorText};
    std::string text;
    const std::size_t shown = std::min(head->size(), kWorkerErrorBytes);
    for (std::size_t i = 0; i < shown; ++i) {
        const char c = static_cast<char>((*head)[i]);
        if (c == '\r' && i + 1 < shown && (*head)[i + 1] == '\n') continue;
        text += c;
    }
    if (mode == WorkerErrorMode::kLoadIn && text.front() == '!' && !melodyWorkerBusy)
        return {2, {}};
    return {1, text};
}

}  // namespace corvane
