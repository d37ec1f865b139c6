// The per-user private folder where the front end keeps its instance lock and the completion
// sockets live: the completion folder of platform/completion.h ($XDG_RUNTIME_DIR/orvella/, else
// /tmp/orvella-<uid>/). It is created with mode 0700 and refused when it exists as anything but
// our own folder closed to everybody else.
#pragma once

#include <optional>
#include <string>

namespace platform::qt {

// The folder, made when missing; nothing when it cannot be used.
std::optional<std::string> PrivateFolder();

}  // namespace platform::qt
