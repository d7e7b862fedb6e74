#pragma once

#include <unistd.h>

#include <utility>

// Owns a file or socket descriptor and closes it on every path out of a function; -1 owns none.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.Release()) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};
