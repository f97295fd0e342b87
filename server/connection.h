#pragma once

#include "server/frameio.h"

#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zenvo {

// The client's connection to the application server. Opening it connects a TCP socket; each
// remote call then sends one request frame and reads one response frame on a socket of its
// own (the first call uses the socket that Open made). Used by one thread at a time.
class ServerConnection final {
public:
    ServerConnection();
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    // A new, independent, closed connection with the same parameters.
    std::unique_ptr<ServerConnection> Clone() const;

    QMap<QString, QString> &Params() { return m_params; }
    const QMap<QString, QString> &Params() const { return m_params; }
    QString HostName() const { return m_params.value(QStringLiteral("HostName")); }
    void SetHostName(const QString &host) { m_params[QStringLiteral("HostName")] = host; }
    QString Port() const { return m_params.value(QStringLiteral("Port")); }
    void SetPort(const QString &port) { m_params[QStringLiteral("Port")] = port; }

    void Open(); // throws net::NetError
    void Close();
    bool Connected() const { return m_open; }
    int OpenAttempts() const { return m_openAttempts; }

    // One request/response exchange; returns the payload length inside `buffer`, which keeps
    // the decoder's padding after it. Throws net::NetError.
    std::size_t Exchange(std::string_view request, std::vector<char> &buffer);

private:
    QMap<QString, QString> m_params;
    net::Socket m_socket;
    bool m_open = false;
    int m_openAttempts = 0;
};

// Closes a connection on every way out of a call.
class BaglantiKapatici final {
public:
    explicit BaglantiKapatici(ServerConnection &c) : m_c(c) {}
    ~BaglantiKapatici() { m_c.Close(); }
    BaglantiKapatici(const BaglantiKapatici &) = delete;
    BaglantiKapatici &operator=(const BaglantiKapatici &) = delete;

private:
    ServerConnection &m_c;
};

inline constexpr const char *kBaglantiMesaji = "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!";

// Opens `conn` with retries: closes it first, tries at most 11 times with a 500 ms wait after
// every failure; with mesaj == 1 shows the connection message when it stays closed.
bool BaglantiAc(ServerConnection &conn, int mesaj);

// The program installs how the connection message is shown (the server layer has no widgets).
void SetBaglantiMesajGosterici(std::function<void(const QString &)> show);
// Tests replace the 500 ms wait.
void SetBaglantiBekleyici(std::function<void(int ms)> wait);

} // namespace zenvo
