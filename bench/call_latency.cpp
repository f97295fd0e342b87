// Median latency of a small call (ReverseString) through the proxy and a real zenvo-server,
// beside a raw socket client and responder doing the same framed exchange, in the same run.
#include "appserver/dispatch.h"
#include "appserver/listener.h"
#include "server/frameio.h"
#include "server/proxy.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace zenvo;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kRequest =
    R"({"method":"TServerMethods1.ReverseString","params":["Zenvora B2B"]})";
const std::string kAnswer = R"({"result":"B2B arovneZ","outs":[]})";

// The least a framed exchange costs: accept, read a frame, write a fixed answer, close.
class RawResponder {
public:
    RawResponder() {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::listen(m_fd, 128);
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] {
            std::vector<char> buf;
            for (;;) {
                net::Socket s(::accept(m_fd, nullptr, nullptr));
                if (!s.valid() || m_stop)
                    return;
                try {
                    const auto deadline = Clock::now() + std::chrono::seconds(5);
                    net::readFrame(s.fd(), buf, 0, deadline);
                    net::writeFrame(s.fd(), kAnswer, deadline);
                } catch (const net::NetError &) {
                }
            }
        });
    }
    ~RawResponder() {
        m_stop = true;
        ::shutdown(m_fd, SHUT_RDWR);
        ::close(m_fd);
        m_thread.join();
    }
    std::uint16_t port() const { return m_port; }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

double rawCall(std::uint16_t port, std::vector<char> &buf) {
    const auto t0 = Clock::now();
    net::Socket s = net::connectTcp("127.0.0.1", port, std::chrono::seconds(5));
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    net::writeFrame(s.fd(), kRequest, deadline);
    net::readFrame(s.fd(), buf, 64, deadline);
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

double proxyCall(ServerConnection &conn) {
    const auto t0 = Clock::now();
    if (!BaglantiAc(conn, 0))
        throw std::runtime_error("zenvo-server did not answer");
    TServerMethods1Client proxy(&conn);
    const QString r = proxy.ReverseString(QStringLiteral("Zenvora B2B"));
    conn.Close();
    if (r != QStringLiteral("B2B arovneZ"))
        throw std::runtime_error("wrong answer");
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::atoi(argv[1]) : 2000; // TIME_WAIT: keep it to thousands
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("bench.db"));
    { appserver::Db create(db, true); }
    appserver::Dispatcher dispatcher;
    appserver::addSessionMethods(dispatcher);
    appserver::ServerOptions opt;
    opt.dbPath = db;
    opt.port = 0;
    appserver::AppServer server(opt, dispatcher);
    server.start();
    RawResponder raw;

    ServerConnection conn;
    conn.SetHostName(QStringLiteral("127.0.0.1"));
    conn.SetPort(QString::number(server.port()));
    std::vector<char> buf;
    std::vector<double> ours, base;
    for (int i = 0; i < 50; ++i) // warm-up
        proxyCall(conn), rawCall(raw.port(), buf);
    for (int block = 0; block < calls / 100; ++block) { // interleaved blocks against noise
        for (int i = 0; i < 50; ++i)
            ours.push_back(proxyCall(conn));
        for (int i = 0; i < 50; ++i)
            base.push_back(rawCall(raw.port(), buf));
    }
    const double mo = median(ours), mb = median(base);
    std::printf("call_latency: %zu calls each, ReverseString\n", ours.size());
    std::printf("  proxy + zenvo-server median : %7.1f us\n", mo);
    std::printf("  raw socket exchange (base)  : %7.1f us\n", mb);
    std::printf("  ratio %.2fx the baseline (target <= 2.00)\n", mo / mb);
    server.stop();
    return 0;
}
