#include "platform/qt/worker_timeout.h"

namespace platform::qt {
namespace {
int g_timeoutMs = kWorkerTimeoutMs;
}

int WorkerTimeoutMs() {
    return g_timeoutMs;
}
void SetWorkerTimeoutForTests(int milliseconds) {
    g_timeoutMs = milliseconds > 0 ? milliseconds : kWorkerTimeoutMs;
}

}  // namespace platform::qt
