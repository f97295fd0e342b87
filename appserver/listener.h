#pragma once

#include "appserver/dispatch.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zenvo::appserver {

struct ServerOptions {
    QString dbPath;
    std::string listen = "127.0.0.1";
    std::uint16_t port = 9090; // 0 picks a free port
    int workers = 8;
    std::chrono::milliseconds requestTimeout{30000}; // a request not complete by then is dropped
};

// Accepts connections and serves one request on each, on a pool of worker threads that each
// hold their own database connection.
class AppServer final {
public:
    AppServer(ServerOptions options, const Dispatcher &dispatcher);
    ~AppServer();
    AppServer(const AppServer &) = delete;
    AppServer &operator=(const AppServer &) = delete;

    void start(); // binds and listens; throws std::runtime_error
    std::uint16_t port() const { return m_port; }
    void stop();
    void wait(); // until stopped

private:
    void acceptLoop();
    void workerLoop();
    void serveConnection(int fd, sqlite3 *db, std::vector<char> &buf);

    ServerOptions m_opt;
    const Dispatcher &m_dispatcher;
    int m_listenFd = -1;
    std::uint16_t m_port = 0;
    std::thread m_acceptThread;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<int> m_queue;
    bool m_stopping = false;
};

} // namespace zenvo::appserver
