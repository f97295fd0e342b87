#include "server/frameio.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zenvo::net {

namespace {

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 1 << 30));
}

void waitFor(int fd, short events, Clock::time_point deadline, const char *what) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int ms = msLeft(deadline);
        if (ms == 0)
            throw NetError(std::string("timed out while ") + what);
        const int n = ::poll(&p, 1, ms);
        if (n > 0)
            return;
        if (n < 0 && errno != EINTR)
            throw NetError(std::string("poll failed while ") + what + ": " + std::strerror(errno));
    }
}

void readExact(int fd, char *dst, std::size_t n, Clock::time_point deadline) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::recv(fd, dst + got, n - got, MSG_DONTWAIT);
        if (r > 0) {
            got += std::size_t(r);
            continue;
        }
        if (r == 0)
            throw NetError("connection closed before the frame was complete");
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw NetError(std::string("receive failed: ") + std::strerror(errno));
        waitFor(fd, POLLIN, deadline, "receiving");
    }
}

} // namespace

Socket &Socket::operator=(Socket &&o) noexcept {
    if (this != &o) {
        close();
        m_fd = o.release();
    }
    return *this;
}

void Socket::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

Socket connectTcp(const std::string &host, std::uint16_t port, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *res = nullptr;
    const std::string service = std::to_string(port);
    const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &res);
    if (rc != 0)
        throw NetError("cannot resolve " + host + ": " + ::gai_strerror(rc));
    std::string lastError = "no address";
    for (addrinfo *ai = res; ai; ai = ai->ai_next) {
        Socket s(::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol));
        if (!s.valid()) {
            lastError = std::strerror(errno);
            continue;
        }
        const int flags = ::fcntl(s.fd(), F_GETFL, 0);
        ::fcntl(s.fd(), F_SETFL, flags | O_NONBLOCK);
        int r = ::connect(s.fd(), ai->ai_addr, ai->ai_addrlen);
        if (r < 0 && errno == EINPROGRESS) {
            pollfd p{s.fd(), POLLOUT, 0};
            const int ms = msLeft(deadline);
            const int n = ms > 0 ? ::poll(&p, 1, ms) : 0;
            if (n <= 0) {
                lastError = "connect timed out";
                continue;
            }
            int err = 0;
            socklen_t len = sizeof err;
            ::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &err, &len);
            r = err ? -1 : 0;
            errno = err;
        }
        if (r < 0) {
            lastError = std::strerror(errno);
            continue;
        }
        const int one = 1;
        ::setsockopt(s.fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ::freeaddrinfo(res);
        return s;
    }
    ::freeaddrinfo(res);
    throw NetError("cannot connect to " + host + ":" + service + ": " + lastError);
}

void writeFrame(int fd, std::string_view payload, Clock::time_point deadline) {
    if (payload.empty() || payload.size() > kMaxFrame)
        throw NetError("frame length out of range");
    const std::uint32_t len = htonl(std::uint32_t(payload.size()));
    char head[4];
    std::memcpy(head, &len, 4);
    iovec iov[2] = {{head, 4}, {const_cast<char *>(payload.data()), payload.size()}};
    std::size_t total = 4 + payload.size(), sent = 0;
    while (sent < total) {
        msghdr msg{};
        iovec cur[2];
        int n = 0;
        std::size_t skip = sent;
        for (const iovec &v : iov) {
            if (skip >= v.iov_len) {
                skip -= v.iov_len;
                continue;
            }
            cur[n++] = {static_cast<char *>(v.iov_base) + skip, v.iov_len - skip};
            skip = 0;
        }
        msg.msg_iov = cur;
        msg.msg_iovlen = std::size_t(n);
        const ssize_t w = ::sendmsg(fd, &msg, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (w > 0) {
            sent += std::size_t(w);
            continue;
        }
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitFor(fd, POLLOUT, deadline, "sending");
            continue;
        }
        throw NetError(std::string("send failed: ") + std::strerror(errno));
    }
}

std::size_t readFrame(int fd, std::vector<char> &buf, std::size_t padding,
                      Clock::time_point deadline) {
    char head[4];
    readExact(fd, head, 4, deadline);
    std::uint32_t len = 0;
    std::memcpy(&len, head, 4);
    len = ntohl(len);
    if (len == 0 || len > kMaxFrame)
        throw NetError("frame length " + std::to_string(len) + " is out of range");
    // Grow with the data that actually arrives, so a claimed length alone costs no memory.
    std::size_t got = 0;
    while (got < len) {
        const std::size_t chunk = std::min<std::size_t>(len - got, std::size_t(1) << 20);
        if (buf.size() < got + chunk + padding)
            buf.resize(got + chunk + padding);
        readExact(fd, buf.data() + got, chunk, deadline);
        got += chunk;
    }
    std::memset(buf.data() + len, 0, padding);
    return len;
}

} // namespace zenvo::net
