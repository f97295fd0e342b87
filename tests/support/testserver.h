#pragma once

#include "appserver/dispatch.h"
#include "appserver/listener.h"
#include "server/connection.h"

#include <QTemporaryDir>

#include <memory>

namespace zenvo::testing {

// A zenvo-server served in-process on an ephemeral loopback port with a fresh SQLite file.
// `prepare` runs on the new database before the server starts (schema, fixture rows).
class TestServer final {
public:
    explicit TestServer(appserver::Dispatcher dispatcher,
                        const std::function<void(sqlite3 *)> &prepare = {},
                        std::chrono::milliseconds requestTimeout = std::chrono::seconds(30));
    ~TestServer();
    std::uint16_t port() const { return m_server->port(); }
    QString dbPath() const { return m_dir.filePath(QStringLiteral("test.db")); }
    // A closed client connection aimed at this server.
    std::unique_ptr<ServerConnection> connection() const;

private:
    QTemporaryDir m_dir;
    appserver::Dispatcher m_dispatcher;
    std::unique_ptr<appserver::AppServer> m_server;
};

} // namespace zenvo::testing
