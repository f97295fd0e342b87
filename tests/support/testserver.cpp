#include "tests/support/testserver.h"

namespace zenvo::testing {

TestServer::TestServer(appserver::Dispatcher dispatcher,
                       const std::function<void(sqlite3 *)> &prepare,
                       std::chrono::milliseconds requestTimeout)
    : m_dispatcher(std::move(dispatcher)) {
    {
        appserver::Db db(dbPath(), true);
        if (prepare)
            prepare(db.handle());
    }
    appserver::ServerOptions opt;
    opt.dbPath = dbPath();
    opt.port = 0;
    opt.workers = 4;
    opt.requestTimeout = requestTimeout;
    m_server = std::make_unique<appserver::AppServer>(opt, m_dispatcher);
    m_server->start();
}

TestServer::~TestServer() {
    m_server->stop();
}

std::unique_ptr<ServerConnection> TestServer::connection() const {
    auto c = std::make_unique<ServerConnection>();
    c->SetHostName(QStringLiteral("127.0.0.1"));
    c->SetPort(QString::number(port()));
    return c;
}

} // namespace zenvo::testing
