// A fault that ends a chord maker run from any depth of the engine, carrying the exact text the
// error file gets. The library's entry points catch it and hand the text back as a value; it
// never leaves the library.
#pragma once

#include <exception>
#include <string>

namespace chordmaker {

class ChordFailure : public std::exception {
  public:
    explicit ChordFailure(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};

// printf-style text for the error file.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace chordmaker
