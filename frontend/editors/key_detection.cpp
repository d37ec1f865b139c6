#include "frontend/editors/key_detection.h"

#include "frontend/core/command_lines.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/key_list.h"
#include "frontend/editors/melody_import.h"

namespace corvane::editors {

std::int32_t HandleToken(std::uint32_t handle) {
    const std::uint32_t sum = handle + static_cast<std::uint32_t>(kKeyDetectorHandshake) +
                              static_cast<std::uint32_t>(kVersionStamp);
    return static_cast<std::int32_t>(sum);
}

std::string SorvikArgs(std::uint32_t handle, int keyChangeFlag) {
    return std::string(kKeyDetectorProgram) + " " + std::to_string(handle) + " " +
           std::to_string(kVersionStamp) + " " + std::to_string(HandleToken(handle)) + " " +
           std::to_string(keyChangeFlag);
}

std::optional<int> DetectedKeyCode(const std::optional<std::vector<std::uint8_t>>& file) {
    if (!file) return 0;
    const std::string_view text(reinterpret_cast<const char*>(file->data()), file->size());
    const long code = LeadingNumber(text.substr(0, text.find('\n')));
    if (code < 0 || code >= kKeyCodeCount) return std::nullopt;
    return static_cast<int>(code);
}

std::string TimeOutText(std::string_view program) {
    return "Time Out error. Command aborted.\nYou may have an incorrect version of " +
           std::string(program) + " installed.";
}

DialogCompletion RouteDialogCompletion(int keyCode, DialogRun pending, bool timedOut) {
    if (timedOut) return DialogCompletion::kLateAfterTimeOut;
    if (keyCode == kKeyDetectorDone && pending == DialogRun::kKeyDetection)
        return DialogCompletion::kKeyDetection;
    if (keyCode == kMelodyImporterDone && pending == DialogRun::kMelodyImport)
        return DialogCompletion::kMelodyImport;
    return DialogCompletion::kNotWaited;
}

}  // namespace corvane::editors
