#pragma once

#include <stdexcept>
#include <string>

// A file could not be opened, read or written. Raised by the core's file code
// and caught at the edge of the handler that did the file work, which reports it.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string cause)
        : std::runtime_error(path + ": " + cause),
          m_path(std::move(path)),
          m_cause(std::move(cause)) {}

    const std::string& Path() const { return m_path; }
    const std::string& Cause() const { return m_cause; }

private:
    std::string m_path;
    std::string m_cause;
};
