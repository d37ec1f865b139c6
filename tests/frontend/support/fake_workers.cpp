#include "tests/frontend/support/fake_workers.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace corvane::testing {

namespace fs = std::filesystem;

void InstallFakeWorker(const fs::path& folder, const std::string& program,
                       const std::string& settings) {
    const fs::path target = folder / program;
    if (!fs::is_symlink(target) || fs::read_symlink(target) != fs::path(CORVANE_FAKE_WORKER)) {
        fs::remove(target);
        fs::create_symlink(CORVANE_FAKE_WORKER, target);
    }
    std::ofstream(folder / (program + ".fake"), std::ios::trunc) << settings;
}

std::vector<std::string> FakeWorkerLog(const fs::path& folder, const std::string& program) {
    std::vector<std::string> lines;
    std::ifstream log(folder / (program + ".fake.log"));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

bool WaitLoggedUnread(const fs::path& folder, const std::string& program, std::size_t lines,
                      int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (FakeWorkerLog(folder, program).size() < lines) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

int FakeWorkerProcessId(const fs::path& folder, const std::string& program) {
    std::ifstream file(folder / (program + ".fake.pid"));
    int pid = 0;
    file >> pid;
    return pid;
}

}  // namespace corvane::testing
