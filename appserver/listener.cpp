#include "appserver/listener.h"

#include "server/frameio.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zenvo::appserver {

AppServer::AppServer(ServerOptions options, const Dispatcher &dispatcher)
    : m_opt(std::move(options)), m_dispatcher(dispatcher) {}

AppServer::~AppServer() {
    stop();
}

void AppServer::start() {
    // Fail early on a database that cannot be opened.
    { Db probe(m_opt.dbPath); }

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *res = nullptr;
    const std::string service = std::to_string(m_opt.port);
    if (const int rc = ::getaddrinfo(m_opt.listen.c_str(), service.c_str(), &hints, &res))
        throw std::runtime_error("cannot resolve " + m_opt.listen + ": " + ::gai_strerror(rc));
    std::string err = "no address";
    for (addrinfo *ai = res; ai && m_listenFd < 0; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0)
            continue;
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd, ai->ai_addr, ai->ai_addrlen) == 0 && ::listen(fd, 128) == 0) {
            m_listenFd = fd;
        } else {
            err = std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(res);
    if (m_listenFd < 0)
        throw std::runtime_error("cannot listen on " + m_opt.listen + ":" + service + ": " + err);
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&addr), &len);
    m_port = ntohs(addr.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6 &>(addr).sin6_port
                                              : reinterpret_cast<sockaddr_in &>(addr).sin_port);
    m_stopping = false;
    for (int i = 0; i < std::max(1, m_opt.workers); ++i)
        m_workers.emplace_back([this] { workerLoop(); });
    m_acceptThread = std::thread([this] { acceptLoop(); });
}

void AppServer::stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping && m_listenFd < 0 && m_workers.empty())
            return;
        m_stopping = true;
    }
    m_cv.notify_all();
    if (m_listenFd >= 0)
        ::shutdown(m_listenFd, SHUT_RDWR);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    for (auto &t : m_workers)
        t.join();
    m_workers.clear();
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
    }
    std::lock_guard lock(m_mutex);
    for (int fd : m_queue)
        ::close(fd);
    m_queue.clear();
}

void AppServer::wait() {
    if (m_acceptThread.joinable())
        m_acceptThread.join();
}

void AppServer::acceptLoop() {
    for (;;) {
        pollfd p{m_listenFd, POLLIN, 0};
        const int n = ::poll(&p, 1, 500);
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
        }
        if (n <= 0)
            continue;
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINVAL || errno == EBADF)
                return;
            continue;
        }
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(fd);
        }
        m_cv.notify_one();
    }
}

void AppServer::workerLoop() {
    std::unique_ptr<Db> db;
    try {
        db = std::make_unique<Db>(m_opt.dbPath);
    } catch (const std::exception &) {
        db.reset(); // answered per call below
    }
    std::vector<char> buf;
    for (;;) {
        int fd = -1;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            fd = m_queue.front();
            m_queue.pop_front();
        }
        net::Socket s(fd);
        serveConnection(s.fd(), db ? db->handle() : nullptr, buf);
        // Large answers should not pin memory in an idle worker.
        if (buf.capacity() > (std::size_t(16) << 20))
            std::vector<char>().swap(buf);
    }
}

void AppServer::serveConnection(int fd, sqlite3 *db, std::vector<char> &buf) {
    const auto deadline = net::Clock::now() + m_opt.requestTimeout;
    std::string answer;
    try {
        const std::size_t len = net::readFrame(fd, buf, jsonPadding(), deadline);
        answer = db ? m_dispatcher.serve(buf.data(), len, db)
                    : encodeError("EDatabaseError", "the database cannot be opened");
    } catch (const net::NetError &e) {
        // A frame of a bad length still gets an answer; a silent or vanished peer does not.
        if (std::string_view(e.what()).starts_with("frame length"))
            answer = encodeError("EProtocolError", e.what());
        else
            return;
    }
    try {
        net::writeFrame(fd, answer, net::Clock::now() + m_opt.requestTimeout);
    } catch (const net::NetError &) {
        // The client went away; nothing to do.
    }
}

} // namespace zenvo::appserver
