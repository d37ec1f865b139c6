// Putting the stand-in worker (fake_worker.cpp) into a test's program folder in place of a real
// worker, and reading what it logged.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::testing {

// Replaces `program` ("Compose") in `folder` by the fake and writes its settings (see
// fake_worker.cpp); calling it again only rewrites the settings.
void InstallFakeWorker(const std::filesystem::path& folder, const std::string& program,
                       const std::string& settings);

// The lines the fake installed as `program` logged so far ("start ...", "done ...").
std::vector<std::string> FakeWorkerLog(const std::filesystem::path& folder,
                                       const std::string& program);

// Waits up to `timeoutMs` until the fake installed as `program` has logged `lines` lines, without
// letting any event of the test run meanwhile: a completion the fake sent is then queued, still
// unread, at the caller's handle, as one that is on its way when the caller's time-out comes.
bool WaitLoggedUnread(const std::filesystem::path& folder, const std::string& program,
                      std::size_t lines, int timeoutMs = 10000);

// The process id of the fake's last start, 0 before it started.
int FakeWorkerProcessId(const std::filesystem::path& folder, const std::string& program);

}  // namespace corvane::testing
