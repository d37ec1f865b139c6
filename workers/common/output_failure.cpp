#include "workers/common/output_failure.h"

#include "platform/file.h"

namespace worker {

std::string WithFailureReason(std::string message, const std::string& output) {
    const std::string reason = platform::OutputFailureReason(output);
    if (reason.empty()) return message;
    std::size_t end = message.size();
    while (end > 0 && (message[end - 1] == '\n' || message[end - 1] == '\r')) --end;
    message.insert(end, " (" + reason + ")");
    return message;
}

}  // namespace worker
