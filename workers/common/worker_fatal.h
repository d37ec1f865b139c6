// The one way a worker's run ends from any depth: a WorkerFatal thrown with the text its error
// file still has to get (empty when the text is written already) and the process exit code.
// The driver that owns the error file writes the text; the skeleton catches whatever reaches it,
// posts the failure completion and ends with the exit code. Unwinding instead of leaving the
// process on the spot lets every open file close the way it does on any other failure.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace worker {

class WorkerFatal : public std::exception {
  public:
    explicit WorkerFatal(std::string message = {}, int exitCode = 1)
        : message_(std::move(message)), exitCode_(exitCode) {}

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const { return message_; }
    int exitCode() const { return exitCode_; }

  private:
    std::string message_;
    int exitCode_;
};

}  // namespace worker
