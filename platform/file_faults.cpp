#include "platform/file_faults.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <string>

namespace platform::faults {
namespace {

enum class Kind { kNone, kFullName, kFullFrom, kKillAt };

struct Plan {
    Kind kind = Kind::kNone;
    std::string name;
    long long at = 0;
    long long changes = 0;
    long long writes = 0;
    bool roomFreed = false;
};

long long ParseCount(std::string_view text) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value > 0 ? value : 0;
}

Plan ReadPlan() {
    Plan plan;
    const char* variable = std::getenv("ORVELLA_FILE_FAULT");
    if (variable == nullptr) return plan;
    const std::string_view text = variable;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return plan;
    const std::string_view what = text.substr(0, colon);
    const std::string_view value = text.substr(colon + 1);
    if (what == "full" && !value.empty()) {
        plan.kind = Kind::kFullName;
        plan.name = value;
    } else if (what == "full-from" && ParseCount(value) > 0) {
        plan.kind = Kind::kFullFrom;
        plan.at = ParseCount(value);
    } else if (what == "kill-at" && ParseCount(value) > 0) {
        plan.kind = Kind::kKillAt;
        plan.at = ParseCount(value);
    }
    return plan;
}

Plan& ThePlan() {
    static Plan plan = ReadPlan();
    return plan;
}

}  // namespace

void BeforeChange() {
    Plan& plan = ThePlan();
    if (plan.kind != Kind::kKillAt) return;
    if (++plan.changes == plan.at) {
        // As abrupt as a power cut: nothing buffered in the process reaches the disk.
        std::raise(SIGKILL);
    }
}

bool WriteAllowed(std::string_view name) {
    BeforeChange();
    Plan& plan = ThePlan();
    bool allowed = true;
    if (plan.kind == Kind::kFullName) allowed = name != plan.name;
    if (plan.kind == Kind::kFullFrom) allowed = ++plan.writes < plan.at || plan.roomFreed;
    if (!allowed) errno = ENOSPC;
    return allowed;
}

void RoomFreed() {
    ThePlan().roomFreed = true;
}

}  // namespace platform::faults
