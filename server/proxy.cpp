#include "server/proxy.h"

#include "server/codec.h"
#include "server/jsonwriter.h"

#include <QBuffer>

namespace zenvo {

// One remote call: parameters are written in declaration order, outs and result read back.
class ProxyCall final {
public:
    ProxyCall(TServerMethods1Client &proxy, MethodId id) : m_proxy(proxy), m_decl(methodDecl(id)) {
        m_proxy.m_prepared[std::size_t(id)] = true;
        m_w.raw("{\"method\":")
            .string(std::string(kMethodPrefix) + m_decl.name)
            .raw(",\"params\":[");
    }

    void in(const QString &v) { sep().string(v); }
    void in(int v) { sep().integer(v); }
    void in(double v) { sep().number(v); }
    void in(bool v) { sep().boolean(v); }
    void in(RemoteCallback *) { sep().null(); }
    template <class R> void in(std::unique_ptr<R> rec) {
        sep();
        if (!rec) {
            m_w.null();
            return;
        }
        int id = 1;
        rec->writeJson(m_w, id);
        // The proxy owns what it sends: the argument ends here.
    }
    void skipOut() { sep().null(); }

    void exec() {
        m_w.raw("]}");
        const std::size_t len = m_proxy.FDBXConnection->Exchange(m_w.text(), m_proxy.m_buffer);
        m_response = decodeResponse(m_proxy.m_buffer.data(), len, m_decl);
    }

    void out(QString &v) { v = std::get<QString>(takeOut()); }
    void out(int &v) { v = int(std::get<qint64>(takeOut())); }
    void out(qint64 &v) { v = std::get<qint64>(takeOut()); }
    void out(double &v) { v = std::get<double>(takeOut()); }
    void out(bool &v) { v = std::get<bool>(takeOut()); }

    template <class T> T take();

private:
    JsonWriter &sep() {
        if (m_count++)
            m_w.raw(',');
        return m_w;
    }
    WireValue takeOut() { return std::move(m_response.outs.at(m_outIndex++)); }

    TServerMethods1Client &m_proxy;
    const MethodDecl &m_decl;
    JsonWriter m_w;
    Response m_response;
    int m_count = 0;
    std::size_t m_outIndex = 0;
};

template <> void ProxyCall::take<void>() {}
template <> QString ProxyCall::take<QString>() {
    return std::get<QString>(m_response.result);
}
template <> int ProxyCall::take<int>() {
    return int(std::get<qint64>(m_response.result));
}
template <> bool ProxyCall::take<bool>() {
    return std::get<bool>(m_response.result);
}
template <> QJsonArray ProxyCall::take<QJsonArray>() {
    if (std::holds_alternative<std::monostate>(m_response.result))
        return {};
    return std::get<QJsonArray>(m_response.result);
}
template <> std::unique_ptr<ResultTable> ProxyCall::take<std::unique_ptr<ResultTable>>() {
    if (std::holds_alternative<std::monostate>(m_response.result))
        return std::make_unique<ResultTable>();
    return std::move(std::get<std::unique_ptr<ResultTable>>(m_response.result));
}
template <> std::unique_ptr<QIODevice> ProxyCall::take<std::unique_ptr<QIODevice>>() {
    auto buf = std::make_unique<QBuffer>();
    if (auto *bytes = std::get_if<QByteArray>(&m_response.result))
        buf->setData(*bytes);
    buf->open(QIODevice::ReadOnly);
    return buf;
}

namespace {
template <class T> std::unique_ptr<T> takeRecord(WireValue &v) {
    auto *p = std::get_if<std::unique_ptr<TRecord>>(&v);
    if (!p || !*p)
        return nullptr;
    auto *typed = dynamic_cast<T *>(p->get());
    if (!typed)
        throw ProtocolError(std::string("expected a record of class ") + T::kClass);
    p->release();
    return std::unique_ptr<T>(typed);
}
} // namespace

#define ZENVO_RECORD_RESULT(T)                                                                     \
    template <> std::unique_ptr<T> ProxyCall::take<std::unique_ptr<T>>() {                         \
        return takeRecord<T>(m_response.result);                                                   \
    }
ZENVO_RECORD_RESULT(TSonucBilgisi)
ZENVO_RECORD_RESULT(TSiparisDipAyrinti)
ZENVO_RECORD_RESULT(TTusSonuclari)
ZENVO_RECORD_RESULT(TMobilCariBilgisi)
ZENVO_RECORD_RESULT(TAcilisEkran)
ZENVO_RECORD_RESULT(TAcilisEkranlar)
ZENVO_RECORD_RESULT(TAcilisEkranlariki)
ZENVO_RECORD_RESULT(TMobilStok)
ZENVO_RECORD_RESULT(TMobilStoklar)
ZENVO_RECORD_RESULT(TMobilSepetler)

TServerMethods1Client::TServerMethods1Client(ServerConnection *connection, bool instanceOwner)
    : FDBXConnection(connection), FInstanceOwner(instanceOwner) {
    if (!connection || !connection->Connected())
        throw std::logic_error("a proxy needs an open connection");
}

TServerMethods1Client::~TServerMethods1Client() = default;

int TServerMethods1Client::PreparedCommandCount() const {
    return int(std::count(m_prepared.begin(), m_prepared.end(), true));
}

#define ZENVO_SEND_In(type, pname) call.in(std::move(pname));
#define ZENVO_SEND_Out(type, pname) call.skipOut();
#define ZENVO_SEND(dir, type, pname) ZENVO_SEND_##dir(type, pname)
#define ZENVO_READ_In(type, pname)
#define ZENVO_READ_Out(type, pname) call.out(pname);
#define ZENVO_READ(dir, type, pname) ZENVO_READ_##dir(type, pname)

#define X(name, rkind, ...)                                                                        \
    ZENVO_RTYPE_##rkind TServerMethods1Client::name(ZENVO_PARAM_LIST(__VA_ARGS__)) {               \
        ProxyCall call(*this, MethodId::name);                                                     \
        ZENVO_FOR_EACH(ZENVO_SEND, __VA_ARGS__)                                                    \
        call.exec();                                                                               \
        ZENVO_FOR_EACH(ZENVO_READ, __VA_ARGS__)                                                    \
        return call.take<ZENVO_RTYPE_##rkind>();                                                   \
    }
#include "server/methods.def"
#undef X

bool AkisOku(QIODevice *stream, qint64 boy, QByteArray &out,
             const std::function<void()> &afterBlock) {
    out.clear();
    if (!stream || boy <= 0)
        return false;
    stream->seek(0);
    char block[1024];
    for (;;) {
        const qint64 n = stream->read(block, sizeof block);
        if (n > 0)
            out.append(block, n);
        if (afterBlock)
            afterBlock();
        if (n < qint64(sizeof block))
            break;
    }
    if (out.size() != boy) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace zenvo
