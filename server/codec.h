#pragma once

#include "server/methods.h"
#include "server/records.h"
#include "server/resulttable.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zenvo {

class JsonWriter;

// An error the server reported; what() is the server's message text (UTF-8).
class RemoteError : public std::runtime_error {
public:
    RemoteError(const std::string &className, const std::string &message)
        : std::runtime_error(message), m_class(className) {}
    const std::string &errorClass() const { return m_class; }

private:
    std::string m_class;
};

// A wire value that does not match what the method declares, or broken JSON.
class ProtocolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One decoded value. Integers of every width travel as qint64; streams as bytes.
using WireValue =
    std::variant<std::monostate, QString, qint64, double, bool, std::unique_ptr<ResultTable>,
                 QByteArray, QJsonArray, std::unique_ptr<TRecord>>;

struct Response {
    WireValue result;
    std::vector<WireValue> outs; // in declaration order of the out parameters
};

struct Request {
    const MethodDecl *method = nullptr;
    std::vector<WireValue> params; // one per declared parameter; outs are null
};

// Buffers handed to the decoders must have this many readable bytes after the payload.
std::size_t jsonPadding();

// Client side: {"result":...,"outs":[...]} or {"error":{...}} (throws RemoteError).
Response decodeResponse(const char *data, std::size_t len, const MethodDecl &m);
// Server side: {"method":"TServerMethods1.X","params":[...]}; throws ProtocolError with a
// message that names the fault.
Request decodeRequest(const char *data, std::size_t len);

void encodeValue(JsonWriter &w, const WireValue &v, WireType type, const char *recordClass);
void encodeTable(JsonWriter &w, const ResultTable &t);
std::string encodeResponse(const MethodDecl &m, const Response &r);
std::string encodeError(std::string_view errorClass, std::string_view message);

// A value of the declared kind with nothing in it (empty text, 0, an empty table...).
WireValue emptyValue(WireType type, const char *recordClass);

} // namespace zenvo
