#pragma once

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zenvo::net {

using Clock = std::chrono::steady_clock;

inline constexpr std::uint32_t kMaxFrame = 268435456;

class NetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A connected TCP socket, closed on destruction.
class Socket final {
public:
    Socket() = default;
    explicit Socket(int fd) : m_fd(fd) {}
    Socket(Socket &&o) noexcept : m_fd(o.release()) {}
    Socket &operator=(Socket &&o) noexcept;
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    ~Socket() { close(); }
    int fd() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void close();

private:
    int m_fd = -1;
};

// Connects to host:port (IPv4 or IPv6, names resolved); throws NetError.
Socket connectTcp(const std::string &host, std::uint16_t port, std::chrono::milliseconds timeout);

void writeFrame(int fd, std::string_view payload, Clock::time_point deadline);
// Reads one frame into buf (payload then `padding` zero bytes); returns the payload length.
// Throws NetError on a closed peer, a timeout, or a length of 0 or over kMaxFrame.
std::size_t readFrame(int fd, std::vector<char> &buf, std::size_t padding,
                      Clock::time_point deadline);

} // namespace zenvo::net
