// The words of a run that failed because an output could not be created or written: the
// worker's own message, then why the file system refused the output, so the user knows what to
// do about it (make room on the disk, move a folder out of the way).
#pragma once

#include <string>

namespace worker {

// `message` followed by " (reason)" when the file layer knows why `output` could not be
// created or written in this run; a line end that closes the message stays at its end.
// "Cannot create BtData.dat." becomes "Cannot create BtData.dat. (No space left on device)".
std::string WithFailureReason(std::string message, const std::string& output);

}  // namespace worker
