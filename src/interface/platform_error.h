#pragma once

#include <stdexcept>
#include <string>

namespace quillmere {

// Errors that end the current command and reach the general error handler,
// which shows what() as it stands. Readers and writers raise them; the load
// frame still finishes its work before one leaves a reader.
class PlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be opened; nothing was changed.
class FileOpenError : public PlatformError {
 public:
  using PlatformError::PlatformError;
};

// A read needed more bytes than the file holds, or found a value out of range.
class ReadError : public PlatformError {
 public:
  using PlatformError::PlatformError;
};

// A save could not be completed; the previous file was left as it was.
class WriteError : public PlatformError {
 public:
  using PlatformError::PlatformError;
};

}  // namespace quillmere
