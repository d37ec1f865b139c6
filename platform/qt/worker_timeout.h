// The time a worker gets before its command is reported as timed out: 10 seconds. Only tests
// shorten it; the user never can.
#pragma once

namespace platform::qt {

constexpr int kWorkerTimeoutMs = 10000;

int WorkerTimeoutMs();
void SetWorkerTimeoutForTests(int milliseconds);

}  // namespace platform::qt
