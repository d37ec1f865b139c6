// Ending the program from anywhere, as a fatal message does: the event loop is left with the
// exit code, and code that runs before the loop has started (the start-up) finds the request
// through ProgramEndCode and returns instead of entering it.
#pragma once

#include <optional>

namespace platform::qt {

void EndProgram(int exitCode);
// The code of the first EndProgram, if any.
std::optional<int> ProgramEndCode();
// Forgets an end request (a test that starts the program again in its process).
void ClearProgramEndForTests();

}  // namespace platform::qt
