#pragma once

#include "server/connection.h"
#include "server/methods.h"
#include "server/pp.h"
#include "server/records.h"
#include "server/resulttable.h"

#include <QIODevice>
#include <QJsonArray>
#include <QString>

#include <array>
#include <memory>

namespace zenvo {

// Callback parameters are not carried by this transport; always pass nullptr.
struct RemoteCallback;

#define ZENVO_In_Text const QString &
#define ZENVO_In_Int int
#define ZENVO_In_Double double
#define ZENVO_In_Bool bool
#define ZENVO_In_Session std::unique_ptr<TSonucBilgisi>
#define ZENVO_In_Object std::unique_ptr<TRecord>
#define ZENVO_In_Callback RemoteCallback *
#define ZENVO_Out_Text QString &
#define ZENVO_Out_Int int &
#define ZENVO_Out_Int64 qint64 &
#define ZENVO_Out_Double double &
#define ZENVO_Out_Bool bool &

#define ZENVO_RTYPE_None void
#define ZENVO_RTYPE_Text QString
#define ZENVO_RTYPE_Int int
#define ZENVO_RTYPE_Bool bool
#define ZENVO_RTYPE_Reader std::unique_ptr<ResultTable>
#define ZENVO_RTYPE_Packet std::unique_ptr<ResultTable>
#define ZENVO_RTYPE_Stream std::unique_ptr<QIODevice>
#define ZENVO_RTYPE_JsonArray QJsonArray
#define ZENVO_RTYPE_TSonucBilgisi std::unique_ptr<TSonucBilgisi>
#define ZENVO_RTYPE_TSiparisDipAyrinti std::unique_ptr<TSiparisDipAyrinti>
#define ZENVO_RTYPE_TTusSonuclari std::unique_ptr<TTusSonuclari>
#define ZENVO_RTYPE_TMobilCariBilgisi std::unique_ptr<TMobilCariBilgisi>
#define ZENVO_RTYPE_TAcilisEkran std::unique_ptr<TAcilisEkran>
#define ZENVO_RTYPE_TAcilisEkranlar std::unique_ptr<TAcilisEkranlar>
#define ZENVO_RTYPE_TAcilisEkranlariki std::unique_ptr<TAcilisEkranlariki>
#define ZENVO_RTYPE_TMobilStok std::unique_ptr<TMobilStok>
#define ZENVO_RTYPE_TMobilStoklar std::unique_ptr<TMobilStoklar>
#define ZENVO_RTYPE_TMobilSepetler std::unique_ptr<TMobilSepetler>

#define ZENVO_PARAM_DECL(dir, type, pname) , ZENVO_##dir##_##type pname
#define ZENVO_PARAM_LIST(...) ZENVO_DROP_FIRST(ZENVO_FOR_EACH(ZENVO_PARAM_DECL, __VA_ARGS__))

// The proxy of the application server: one operation per remote method. Object arguments are
// consumed (pass a copy); results are owned by the caller. Not thread-safe: one proxy, one
// thread. Every error of the server or the transport is thrown (RemoteError, ProtocolError,
// net::NetError).
class TServerMethods1Client final {
public:
    // Throws std::logic_error when the connection is null or not open.
    explicit TServerMethods1Client(ServerConnection *connection, bool instanceOwner = true);
    ~TServerMethods1Client();
    TServerMethods1Client(const TServerMethods1Client &) = delete;
    TServerMethods1Client &operator=(const TServerMethods1Client &) = delete;

#define X(name, result, ...) ZENVO_RTYPE_##result name(ZENVO_PARAM_LIST(__VA_ARGS__));
#include "server/methods.def"
#undef X

    // How many commands this proxy has prepared (each method once, on first use).
    int PreparedCommandCount() const;

private:
    friend class ProxyCall;
    ServerConnection *FDBXConnection;
    bool FInstanceOwner;
    std::array<bool, kMethodCount> m_prepared{};
    std::vector<char> m_buffer;
};

// Stream rule: a reported size of 0 reads nothing; otherwise read 1024-byte blocks until a
// short read, and keep the bytes only when their count equals the reported size.
// `afterBlock` runs after every block (the banner downloads let the UI breathe there).
bool AkisOku(QIODevice *stream, qint64 boy, QByteArray &out,
             const std::function<void()> &afterBlock = {});

} // namespace zenvo
