#pragma once

#include "appserver/db.h"
#include "server/codec.h"
#include "server/methods.h"

#include <array>
#include <functional>

namespace zenvo::appserver {

// One call being served: the decoded parameters, the database of this worker, the answer.
class CallContext final {
public:
    CallContext(const MethodDecl &method, std::vector<WireValue> &params, sqlite3 *db)
        : m_method(method), m_params(params), m_db(db) {}

    const MethodDecl &method() const { return m_method; }
    sqlite3 *db() const { return m_db; }

    QString text(int i) const;
    int integer(int i) const;
    double real(int i) const;
    bool boolean(int i) const;
    // The session record sent at position i; nullptr when null was sent.
    const TSonucBilgisi *session(int i) const;

    void setResult(WireValue v) { m_response.result = std::move(v); }
    // Sets the out parameter declared at position i.
    void setOut(int i, WireValue v);
    Response &response() { return m_response; }

private:
    const MethodDecl &m_method;
    std::vector<WireValue> &m_params;
    sqlite3 *m_db;
    Response m_response;
};

using Handler = std::function<void(CallContext &)>;

// Method implementations by method; methods without one answer an empty value of their kind.
class Dispatcher final {
public:
    Dispatcher();
    void add(MethodId id, Handler h) { m_handlers[std::size_t(id)] = std::move(h); }
    bool implemented(MethodId id) const { return bool(m_handlers[std::size_t(id)]); }
    // Decodes a request, runs it and encodes the answer; never throws.
    std::string serve(const char *data, std::size_t len, sqlite3 *db) const;

private:
    std::array<Handler, kMethodCount> m_handlers;
};

// Registration of each group of methods.
void addSessionMethods(Dispatcher &d);
void addCatalogueMethods(Dispatcher &d);
void addCartMethods(Dispatcher &d);
void addAccountMethods(Dispatcher &d);
void addPromoMethods(Dispatcher &d);
void addSalesRepMethods(Dispatcher &d);
// Every method group: the dispatcher of zenvo-server.
Dispatcher serverDispatcher();

} // namespace zenvo::appserver
