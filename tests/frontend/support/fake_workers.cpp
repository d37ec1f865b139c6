#include "tests/frontend/support/fake_workers.h"

#include <fstream>

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

int FakeWorkerProcessId(const fs::path& folder, const std::string& program) {
    std::ifstream file(folder / (program + ".fake.pid"));
    int pid = 0;
    file >> pid;
    return pid;
}

}  // namespace corvane::testing
