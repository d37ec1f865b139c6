// Starting the front end from the launcher: by its bare name in the current folder (the
// program folder), in a session of its own so that it outlives the launcher and the terminal
// the launcher may have been started from, and never waited for.
#pragma once

#include <string>

namespace vessane {

// False when `name` in the current folder could not be started (missing, not executable, a
// folder).
bool StartProgram(const std::string& name);

}  // namespace vessane
