#include "appserver/dispatch.h"

namespace zenvo::appserver {

namespace {

const WireValue &param(const std::vector<WireValue> &params, int i) {
    if (i < 0 || std::size_t(i) >= params.size())
        throw std::logic_error("no parameter at position " + std::to_string(i));
    return params[std::size_t(i)];
}

} // namespace

QString CallContext::text(int i) const {
    const auto *v = std::get_if<QString>(&param(m_params, i));
    return v ? *v : QString();
}

int CallContext::integer(int i) const {
    const auto *v = std::get_if<qint64>(&param(m_params, i));
    return v ? int(*v) : 0;
}

double CallContext::real(int i) const {
    const WireValue &p = param(m_params, i);
    if (const auto *d = std::get_if<double>(&p))
        return *d;
    if (const auto *n = std::get_if<qint64>(&p))
        return double(*n);
    return 0;
}

bool CallContext::boolean(int i) const {
    const auto *v = std::get_if<bool>(&param(m_params, i));
    return v && *v;
}

const TSonucBilgisi *CallContext::session(int i) const {
    const auto *v = std::get_if<std::unique_ptr<TRecord>>(&param(m_params, i));
    return v ? dynamic_cast<const TSonucBilgisi *>(v->get()) : nullptr;
}

void CallContext::setOut(int i, WireValue v) {
    int outIndex = 0;
    for (int p = 0; p < int(m_method.params.size()); ++p) {
        if (m_method.params[std::size_t(p)].dir != ParamDir::Out)
            continue;
        if (p == i) {
            if (m_response.outs.size() <= std::size_t(outIndex))
                m_response.outs.resize(std::size_t(outIndex) + 1);
            m_response.outs[std::size_t(outIndex)] = std::move(v);
            return;
        }
        ++outIndex;
    }
    throw std::logic_error("parameter " + std::to_string(i) + " of " + m_method.name +
                           " is not an out parameter");
}

Dispatcher::Dispatcher() = default;

Dispatcher serverDispatcher() {
    Dispatcher d;
    addSessionMethods(d);
    addCatalogueMethods(d);
    addCartMethods(d);
    addAccountMethods(d);
    addPromoMethods(d);
    addSalesRepMethods(d);
    return d;
}

std::string Dispatcher::serve(const char *data, std::size_t len, sqlite3 *db) const {
    Request req;
    try {
        req = decodeRequest(data, len);
    } catch (const std::exception &e) {
        return encodeError("EProtocolError", e.what());
    }
    const MethodDecl &m = *req.method;
    try {
        CallContext ctx(m, req.params, db);
        const Handler &h = m_handlers[std::size_t(&m - methodTable().data())];
        if (h) {
            h(ctx);
        } else {
            ctx.setResult(emptyValue(m.result, m.resultClass));
        }
        // Outs nobody set answer an empty value of their kind.
        int outIndex = 0;
        for (const ParamDecl &p : m.params) {
            if (p.dir != ParamDir::Out)
                continue;
            auto &outs = ctx.response().outs;
            if (outs.size() <= std::size_t(outIndex))
                outs.resize(std::size_t(outIndex) + 1);
            if (std::holds_alternative<std::monostate>(outs[std::size_t(outIndex)]))
                outs[std::size_t(outIndex)] = emptyValue(p.type, nullptr);
            ++outIndex;
        }
        return encodeResponse(m, ctx.response());
    } catch (const DbError &e) {
        return encodeError("EDatabaseError", e.what());
    } catch (const std::exception &e) {
        return encodeError("Exception", e.what());
    }
}

} // namespace zenvo::appserver
