#include "platform/qt/private_folder.h"

#include "platform/completion.h"

namespace platform::qt {

std::optional<std::string> PrivateFolder() {
    // One folder for the lock and the completions: what the workers send to is what is checked.
    if (!platform::CompletionFolderIsPrivate(/*create=*/true)) return std::nullopt;
    return platform::CompletionFolder();
}

}  // namespace platform::qt
