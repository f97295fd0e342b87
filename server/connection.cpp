#include "server/connection.h"

#include "server/codec.h"

#include <QThread>

#include <mutex>

namespace zenvo {

namespace {

using namespace std::chrono_literals;
constexpr auto kConnectTimeout = 5000ms;
constexpr auto kCallTimeout = 120s;

struct Hooks {
    std::mutex mutex;
    std::function<void(const QString &)> show;
    std::function<void(int)> wait;
};

Hooks &hooks() {
    static Hooks h;
    return h;
}

} // namespace

ServerConnection::ServerConnection() {
    m_params = {
        {QStringLiteral("ConnectionName"), QStringLiteral("DataSnapCONNECTION")},
        {QStringLiteral("DriverName"), QStringLiteral("DataSnap")},
        {QStringLiteral("CommunicationProtocol"), QStringLiteral("tcp/ip")},
        {QStringLiteral("HostName"), QString()},
        {QStringLiteral("Port"), QStringLiteral("9090")},
        {QStringLiteral("DatasnapContext"), QStringLiteral("datasnap/")},
        {QStringLiteral("Filters"), QStringLiteral("{}")},
        {QStringLiteral("DSProxyPort"), QStringLiteral("8090")},
        {QStringLiteral("LoginPrompt"), QStringLiteral("False")},
    };
}

std::unique_ptr<ServerConnection> ServerConnection::Clone() const {
    auto c = std::make_unique<ServerConnection>();
    c->m_params = m_params;
    return c;
}

void ServerConnection::Open() {
    Close();
    ++m_openAttempts;
    bool ok = false;
    const uint port = Port().toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        throw net::NetError("invalid port \"" + Port().toStdString() + "\"");
    m_socket = net::connectTcp(HostName().toStdString(), std::uint16_t(port), kConnectTimeout);
    m_open = true;
}

void ServerConnection::Close() {
    m_socket.close();
    m_open = false;
}

std::size_t ServerConnection::Exchange(std::string_view request, std::vector<char> &buffer) {
    if (!m_open)
        throw net::NetError("the connection is not open");
    // The server closes after each response: later calls connect again.
    net::Socket s = m_socket.valid()
                        ? std::move(m_socket)
                        : net::connectTcp(HostName().toStdString(), std::uint16_t(Port().toUInt()),
                                          kConnectTimeout);
    const auto deadline = net::Clock::now() + kCallTimeout;
    net::writeFrame(s.fd(), request, deadline);
    return net::readFrame(s.fd(), buffer, jsonPadding(), deadline);
}

bool BaglantiAc(ServerConnection &conn, int mesaj) {
    conn.Close();
    int failures = 0;
    do {
        try {
            conn.Open();
            return true;
        } catch (const std::exception &) {
            conn.Close();
            std::function<void(int)> wait;
            {
                std::lock_guard lock(hooks().mutex);
                wait = hooks().wait;
            }
            if (wait)
                wait(500);
            else
                QThread::msleep(500);
            ++failures;
        }
    } while (!conn.Connected() && failures < 11);
    if (!conn.Connected() && mesaj == 1) {
        std::function<void(const QString &)> show;
        {
            std::lock_guard lock(hooks().mutex);
            show = hooks().show;
        }
        if (show)
            show(QString::fromUtf8(kBaglantiMesaji));
    }
    return conn.Connected();
}

void SetBaglantiMesajGosterici(std::function<void(const QString &)> show) {
    std::lock_guard lock(hooks().mutex);
    hooks().show = std::move(show);
}

void SetBaglantiBekleyici(std::function<void(int)> wait) {
    std::lock_guard lock(hooks().mutex);
    hooks().wait = std::move(wait);
}

} // namespace zenvo
