// Starting a worker: the command line is split at single blanks (no quoting, so empty tokens
// stay), the first token names a program in the program folder, and the program starts there
// with no window and is never waited for; its completion message tells the end, and its exit is
// collected in the background. The process id is kept so a worker that timed out can be ended.
// The command line is bytes, as the files it names are: each token reaches the worker as it
// stands, a style file named in another encoding as much as any other.
#pragma once

#include <QtGlobal>
#include <string>
#include <string_view>
#include <vector>

namespace platform::qt {

// The tokens of a command line as the workers see them.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// False when the program could not be started. `processId` (when given) receives its id.
// `programFolder` is the folder's name as bytes. The program runs in `workingFolder` when one is
// given (a worker trying files that must not meet the program folder's), else in the program
// folder.
bool StartHidden(std::string_view commandLine, const std::string& programFolder,
                 qint64* processId = nullptr, const std::string& workingFolder = {});

// Ends a worker started by StartHidden; false when it had already gone.
bool EndWorker(qint64 processId);

}  // namespace platform::qt
