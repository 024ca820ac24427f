#pragma once

#include <stdexcept>
#include <string>

namespace pelwick {

// Base of every failure the program raises; the message is what a user sees.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A file could not be written or read; the message names the file and the reason.
class EFileError : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace pelwick
