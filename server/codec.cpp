#include "server/codec.h"

#include "server/jsonwriter.h"

#include <QJsonDocument>

#include <simdjson.h>

#include <limits>

namespace zenvo {

namespace od = simdjson::ondemand;

namespace {

[[noreturn]] void fail(const std::string &what) {
    throw ProtocolError(what);
}

QString toQString(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QByteArray fromBase64(std::string_view s, const char *what) {
    auto res = QByteArray::fromBase64Encoding(QByteArray(s.data(), qsizetype(s.size())),
                                              QByteArray::AbortOnBase64DecodingErrors);
    if (!res)
        fail(std::string(what) + " is not valid base64");
    return *res;
}

qint64 getInt(od::value &v, const char *what, bool int32) {
    int64_t i = 0;
    if (v.get_int64().get(i))
        fail(std::string(what) + ": expected an integer");
    if (int32 && (i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max()))
        fail(std::string(what) + ": integer out of the 32-bit range");
    return i;
}

double getDouble(od::value &v, const char *what) {
    double d = 0;
    if (v.get_double().get(d))
        fail(std::string(what) + ": expected a number");
    return d;
}

std::string_view getString(od::value &v, const char *what) {
    std::string_view s;
    if (v.get_string().get(s))
        fail(std::string(what) + ": expected a string");
    return s;
}

bool getBool(od::value &v, const char *what) {
    bool b = false;
    if (v.get_bool().get(b))
        fail(std::string(what) + ": expected a boolean");
    return b;
}

od::json_type typeOf(od::value &v, const char *what) {
    od::json_type t;
    if (v.type().get(t))
        fail(std::string(what) + ": malformed JSON value");
    return t;
}

enum class CellKind : std::uint8_t { Int, Double, Bool, String, Blob };

CellKind cellKind(FieldType t) {
    switch (t) {
    case FieldType::Integer:
    case FieldType::Int64:
        return CellKind::Int;
    case FieldType::Boolean:
        return CellKind::Bool;
    case FieldType::String:
        return CellKind::String;
    case FieldType::Blob:
        return CellKind::Blob;
    default:
        return CellKind::Double;
    }
}

void decodeColumns(od::value &v, ResultTable &t) {
    od::array cols;
    if (v.get_array().get(cols))
        fail("table columns: expected an array");
    for (auto elem : cols) {
        od::object col;
        if (elem.get_object().get(col))
            fail("table column: expected an object");
        FieldDef def;
        bool haveName = false, haveType = false;
        for (auto f : col) {
            std::string_view key;
            if (f.unescaped_key().get(key))
                fail("table column: malformed key");
            od::value fv = f.value();
            if (key == "name") {
                def.name = toQString(getString(fv, "column name"));
                haveName = true;
            } else if (key == "type") {
                const std::string_view tn = getString(fv, "column type");
                const auto ft = fieldTypeFromName(tn);
                if (!ft)
                    fail("unknown column type \"" + std::string(tn) + "\"");
                def.type = *ft;
                haveType = true;
            } else if (key == "size") {
                const qint64 size = getInt(fv, "column size", true);
                if (size < 0)
                    fail("column size is negative");
                def.size = int(size);
            }
        }
        if (!haveName || !haveType)
            fail("table column without name or type");
        t.addField(std::move(def));
    }
}

void decodeRows(od::value &v, ResultTable &t, std::size_t textHint) {
    od::array rows;
    if (v.get_array().get(rows))
        fail("table rows: expected an array");
    const int ncols = t.columnCount();
    std::vector<CellKind> kinds;
    kinds.reserve(std::size_t(ncols));
    for (int c = 0; c < ncols; ++c)
        kinds.push_back(cellKind(t.field(c).type));
    // Text never takes more UTF-16 units than its JSON took bytes; untouched room costs nothing.
    t.reserveText(textHint);
    const char *firstRow = nullptr;
    int r = 0;
    for (auto rowElem : rows) {
        // The first row's size gives the row count to reserve, without a second pass.
        if (r < 2) {
            const char *at = nullptr;
            if (!rowElem.current_location().get(at)) {
                if (r == 0)
                    firstRow = at;
                else if (at > firstRow)
                    t.reserve(int(std::min<std::size_t>(textHint / std::size_t(at - firstRow) + 16,
                                                        1u << 28)));
            }
        }
        od::array row;
        if (rowElem.get_array().get(row))
            fail("table row " + std::to_string(r) + ": expected an array");
        int c = 0;
        for (auto cellElem : row) {
            if (c >= ncols)
                fail("table row " + std::to_string(r) + " has more values than the " +
                     std::to_string(ncols) + " columns");
            od::value cell;
            if (cellElem.get(cell))
                fail("table row " + std::to_string(r) + ": malformed value");
            // Try the column's kind first; a failed getter leaves the value for the next try.
            bool ok = true;
            switch (kinds[std::size_t(c)]) {
            case CellKind::Int: {
                int64_t i = 0;
                if ((ok = !cell.get_int64().get(i)))
                    t.appendIntFast(c, i);
                break;
            }
            case CellKind::Double: {
                double d = 0;
                if ((ok = !cell.get_double().get(d)))
                    t.appendDoubleFast(c, d);
                break;
            }
            case CellKind::Bool: {
                bool b = false;
                if ((ok = !cell.get_bool().get(b)))
                    t.appendIntFast(c, b);
                break;
            }
            case CellKind::String: {
                od::raw_json_string raw;
                if ((ok = !cell.get_raw_json_string().get(raw)))
                    t.appendJsonString(c, reinterpret_cast<const char *>(raw.raw()));
                break;
            }
            case CellKind::Blob: {
                std::string_view sv;
                if ((ok = !cell.get_string().get(sv)))
                    t.appendBlob(c, fromBase64(sv, "blob cell"));
                break;
            }
            }
            if (!ok) {
                bool isNull = false;
                if (cell.is_null().get(isNull) || !isNull)
                    fail("table cell " + std::to_string(r) + "," + std::to_string(c) +
                         ": expected " + fieldTypeName(t.field(c).type));
                t.appendNull(c);
            }
            ++c;
        }
        if (c != ncols)
            fail("table row " + std::to_string(r) + " has " + std::to_string(c) + " values for " +
                 std::to_string(ncols) + " columns");
        t.commitCountedRow();
        ++r;
    }
}

std::unique_ptr<ResultTable> decodeTable(od::value &v, std::size_t textHint) {
    od::object obj;
    if (v.get_object().get(obj))
        fail("table: expected an object");
    auto t = std::make_unique<ResultTable>();
    bool haveCols = false;
    for (auto f : obj) {
        std::string_view key;
        if (f.unescaped_key().get(key))
            fail("table: malformed key");
        od::value fv = f.value();
        if (key == "columns") {
            decodeColumns(fv, *t);
            haveCols = true;
        } else if (key == "rows") {
            if (!haveCols)
                fail("table: rows before columns");
            decodeRows(fv, *t, textHint);
        }
    }
    if (!haveCols)
        fail("table without columns");
    return t;
}

std::unique_ptr<TRecord> decodeRecord(od::value &v, const char *cls, const char *what) {
    std::string_view raw;
    od::object o;
    if (v.get_object().get(o) || o.raw_json().get(raw))
        fail(std::string(what) + ": expected an object");
    auto rec = createRecord(cls ? cls : "TSonucBilgisi");
    if (!rec)
        fail(std::string(what) + ": unknown class");
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(raw.data(), qsizetype(raw.size())));
    if (!doc.isObject())
        fail(std::string(what) + ": expected an object");
    try {
        rec->readJson(doc.object());
    } catch (const std::runtime_error &e) {
        fail(std::string(what) + ": " + e.what());
    }
    return rec;
}

thread_local std::size_t t_documentSize = 0;

WireValue decodeValue(od::value &v, WireType type, const char *cls, const char *what) {
    const od::json_type jt = typeOf(v, what);
    const bool nullable =
        type == WireType::Session || type == WireType::Object || type == WireType::Record ||
        type == WireType::Callback || type == WireType::None || type == WireType::Reader ||
        type == WireType::Packet || type == WireType::Stream || type == WireType::JsonArray;
    if (jt == od::json_type::null) {
        if (!nullable)
            fail(std::string(what) + ": null where " + wireTypeName(type) + " is expected");
        return {};
    }
    switch (type) {
    case WireType::Text:
        return toQString(getString(v, what));
    case WireType::Int:
        return getInt(v, what, true);
    case WireType::Int64:
        return getInt(v, what, false);
    case WireType::Double:
        return getDouble(v, what);
    case WireType::Bool:
        return getBool(v, what);
    case WireType::Session:
        return decodeRecord(v, "TSonucBilgisi", what);
    case WireType::Record:
        return decodeRecord(v, cls, what);
    case WireType::Object: {
        std::string_view raw;
        od::object o;
        if (v.get_object().get(o) || o.raw_json().get(raw))
            fail(std::string(what) + ": expected an object");
        return {};
    }
    case WireType::Callback:
    case WireType::None:
        fail(std::string(what) + ": expected null");
    case WireType::Reader:
    case WireType::Packet:
        return decodeTable(v, t_documentSize);
    case WireType::Stream:
        return fromBase64(getString(v, what), what);
    case WireType::JsonArray: {
        std::string_view raw;
        od::array a;
        if (v.get_array().get(a) || a.raw_json().get(raw))
            fail(std::string(what) + ": expected a JSON array");
        return QJsonDocument::fromJson(QByteArray(raw.data(), qsizetype(raw.size()))).array();
    }
    }
    fail(std::string(what) + ": unsupported type");
}

thread_local od::parser t_parser;

bool hasTrailing(od::document &doc) {
    const char *loc = nullptr;
    return !doc.current_location().get(loc);
}

od::document iterate(const char *data, std::size_t len) {
    t_documentSize = len;
    od::document doc;
    if (auto err = t_parser.iterate(data, len, len + simdjson::SIMDJSON_PADDING).get(doc))
        fail(std::string("invalid JSON: ") + simdjson::error_message(err));
    return doc;
}

} // namespace

std::size_t jsonPadding() {
    return simdjson::SIMDJSON_PADDING;
}

Response decodeResponse(const char *data, std::size_t len, const MethodDecl &m) {
    try {
        od::document doc = iterate(data, len);
        od::object obj;
        if (doc.get_object().get(obj))
            fail("invalid JSON: the response is not a JSON object");
        Response r;
        bool haveResult = false, haveOuts = false;
        const int nouts = m.outCount();
        for (auto f : obj) {
            std::string_view key;
            if (f.unescaped_key().get(key))
                fail("response: malformed key");
            od::value v = f.value();
            if (key == "error") {
                od::object eo;
                if (v.get_object().get(eo))
                    fail("error: expected an object");
                std::string cls, msg;
                for (auto ef : eo) {
                    std::string_view ek;
                    if (ef.unescaped_key().get(ek))
                        fail("error: malformed key");
                    od::value ev = ef.value();
                    if (ek == "class")
                        cls = std::string(getString(ev, "error class"));
                    else if (ek == "message")
                        msg = std::string(getString(ev, "error message"));
                }
                throw RemoteError(cls, msg);
            }
            if (key == "result") {
                std::string what = std::string("result of ") + m.name;
                if (m.result == WireType::None) {
                    if (typeOf(v, what.c_str()) != od::json_type::null)
                        fail(what + ": expected null");
                } else {
                    r.result = decodeValue(v, m.result, m.resultClass, what.c_str());
                }
                haveResult = true;
            } else if (key == "outs") {
                od::array outs;
                if (v.get_array().get(outs))
                    fail("outs: expected an array");
                std::vector<const ParamDecl *> outDecls;
                for (const ParamDecl &p : m.params)
                    if (p.dir == ParamDir::Out)
                        outDecls.push_back(&p);
                int i = 0;
                for (auto oe : outs) {
                    if (i >= nouts)
                        fail(std::string("more outs than ") + m.name + " declares");
                    const ParamDecl *decl = outDecls[std::size_t(i)];
                    od::value ov;
                    if (oe.get(ov))
                        fail("outs: malformed value");
                    const std::string what = std::string("out parameter ") + decl->name;
                    r.outs.push_back(decodeValue(ov, decl->type, nullptr, what.c_str()));
                    ++i;
                }
                if (i != nouts)
                    fail(std::string(m.name) + " declares " + std::to_string(nouts) +
                         " outs, the response carries " + std::to_string(i));
                haveOuts = true;
            }
        }
        if (hasTrailing(doc))
            fail("trailing content after the response");
        if (!haveResult)
            fail("response without result");
        if (!haveOuts && nouts > 0)
            fail("response without outs");
        return r;
    } catch (const simdjson::simdjson_error &e) {
        fail(std::string("invalid JSON: ") + e.what());
    }
}

Request decodeRequest(const char *data, std::size_t len) {
    try {
        od::document doc = iterate(data, len);
        od::object obj;
        if (doc.get_object().get(obj))
            fail("invalid JSON: the request is not a JSON object");
        Request req;
        bool haveParams = false;
        for (auto f : obj) {
            std::string_view key;
            if (f.unescaped_key().get(key))
                fail("request: malformed key");
            od::value v = f.value();
            if (key == "method") {
                std::string_view name = getString(v, "method");
                if (!name.starts_with(kMethodPrefix))
                    fail("unknown method \"" + std::string(name) + "\"");
                req.method = findMethod(name.substr(kMethodPrefix.size()));
                if (!req.method)
                    fail("unknown method \"" + std::string(name) + "\"");
            } else if (key == "params") {
                if (!req.method)
                    fail("\"params\" before \"method\"");
                od::array arr;
                if (v.get_array().get(arr))
                    fail("params: expected an array");
                const auto &decl = req.method->params;
                std::size_t i = 0;
                for (auto pe : arr) {
                    if (i >= decl.size())
                        fail(std::string(req.method->name) + " takes " +
                             std::to_string(decl.size()) + " parameters, more were sent");
                    od::value pv;
                    if (pe.get(pv))
                        fail("params: malformed value");
                    const ParamDecl &p = decl[i];
                    const std::string what = "parameter " + std::to_string(i) + " (" + p.name +
                                             ") of " + req.method->name;
                    if (p.dir == ParamDir::Out) {
                        if (typeOf(pv, what.c_str()) != od::json_type::null)
                            fail(what + ": an out parameter is sent as null");
                        req.params.emplace_back();
                    } else {
                        req.params.push_back(decodeValue(pv, p.type, nullptr, what.c_str()));
                    }
                    ++i;
                }
                if (i != decl.size())
                    fail(std::string(req.method->name) + " takes " + std::to_string(decl.size()) +
                         " parameters, " + std::to_string(i) + " were sent");
                haveParams = true;
            }
        }
        if (hasTrailing(doc))
            fail("trailing content after the request");
        if (!req.method)
            fail("request without method");
        if (!haveParams)
            fail("request without params");
        return req;
    } catch (const simdjson::simdjson_error &e) {
        fail(std::string("invalid JSON: ") + e.what());
    }
}

void encodeTable(JsonWriter &w, const ResultTable &t) {
    w.raw("{\"columns\":[");
    const int ncols = t.columnCount();
    for (int c = 0; c < ncols; ++c) {
        const FieldDef &f = t.field(c);
        if (c)
            w.raw(',');
        w.raw('{').key("name").string(f.name).raw(',').key("type").string(
            std::string_view(fieldTypeName(f.type)));
        if (f.type == FieldType::String)
            w.raw(',').key("size").integer(f.size);
        w.raw('}');
    }
    w.raw("],\"rows\":[");
    for (int r = 0; r < t.rowCount(); ++r) {
        w.raw(r ? ",[" : "[");
        for (int c = 0; c < ncols; ++c) {
            if (c)
                w.raw(',');
            if (t.isNull(r, c)) {
                w.null();
                continue;
            }
            const FieldType ft = t.field(c).type;
            if (ft == FieldType::Boolean)
                w.boolean(t.intValue(r, c) != 0);
            else if (isIntegerStored(ft))
                w.integer(t.intValue(r, c));
            else if (isDoubleStored(ft))
                w.number(t.doubleValue(r, c));
            else if (ft == FieldType::String)
                w.string(t.stringView(r, c));
            else
                w.base64(t.blobValue(r, c));
        }
        w.raw(']');
    }
    w.raw("]}");
}

void encodeValue(JsonWriter &w, const WireValue &v, WireType type, const char *recordClass) {
    if (std::holds_alternative<std::monostate>(v)) {
        w.null();
        return;
    }
    auto wrong = [&]() {
        throw std::logic_error(std::string("value does not match the declared ") +
                               wireTypeName(type));
    };
    switch (type) {
    case WireType::Text:
        if (!std::holds_alternative<QString>(v))
            wrong();
        w.string(std::get<QString>(v));
        return;
    case WireType::Int:
    case WireType::Int64:
        if (!std::holds_alternative<qint64>(v))
            wrong();
        w.integer(std::get<qint64>(v));
        return;
    case WireType::Double:
        if (std::holds_alternative<qint64>(v))
            w.number(double(std::get<qint64>(v)));
        else if (std::holds_alternative<double>(v))
            w.number(std::get<double>(v));
        else
            wrong();
        return;
    case WireType::Bool:
        if (!std::holds_alternative<bool>(v))
            wrong();
        w.boolean(std::get<bool>(v));
        return;
    case WireType::Session:
    case WireType::Object:
    case WireType::Record: {
        if (!std::holds_alternative<std::unique_ptr<TRecord>>(v))
            wrong();
        const auto &rec = std::get<std::unique_ptr<TRecord>>(v);
        if (!rec) {
            w.null();
            return;
        }
        if (recordClass && std::string_view(rec->className()) != recordClass)
            wrong();
        int id = 1;
        rec->writeJson(w, id);
        return;
    }
    case WireType::Reader:
    case WireType::Packet: {
        if (!std::holds_alternative<std::unique_ptr<ResultTable>>(v))
            wrong();
        const auto &t = std::get<std::unique_ptr<ResultTable>>(v);
        if (t)
            encodeTable(w, *t);
        else
            w.null();
        return;
    }
    case WireType::Stream:
        if (!std::holds_alternative<QByteArray>(v))
            wrong();
        w.base64(std::get<QByteArray>(v));
        return;
    case WireType::JsonArray: {
        if (!std::holds_alternative<QJsonArray>(v))
            wrong();
        const QByteArray a = QJsonDocument(std::get<QJsonArray>(v)).toJson(QJsonDocument::Compact);
        w.raw(std::string_view(a.constData(), std::size_t(a.size())));
        return;
    }
    case WireType::Callback:
    case WireType::None:
        w.null();
        return;
    }
}

std::string encodeResponse(const MethodDecl &m, const Response &r) {
    JsonWriter w;
    w.raw("{\"result\":");
    encodeValue(w, r.result, m.result, m.resultClass);
    w.raw(",\"outs\":[");
    std::size_t i = 0;
    for (const ParamDecl &p : m.params) {
        if (p.dir != ParamDir::Out)
            continue;
        if (i)
            w.raw(',');
        if (i < r.outs.size())
            encodeValue(w, r.outs[i], p.type, nullptr);
        else
            encodeValue(w, emptyValue(p.type, nullptr), p.type, nullptr);
        ++i;
    }
    w.raw("]}");
    return std::move(w.buffer());
}

std::string encodeError(std::string_view errorClass, std::string_view message) {
    JsonWriter w;
    w.raw("{\"error\":{").key("class").string(errorClass).raw(',').key("message").string(message);
    w.raw("}}");
    return std::move(w.buffer());
}

WireValue emptyValue(WireType type, const char *recordClass) {
    switch (type) {
    case WireType::Text:
        return QString();
    case WireType::Int:
    case WireType::Int64:
        return qint64(0);
    case WireType::Double:
        return 0.0;
    case WireType::Bool:
        return false;
    case WireType::Reader:
    case WireType::Packet:
        return std::make_unique<ResultTable>();
    case WireType::Stream:
        return QByteArray();
    case WireType::JsonArray:
        return QJsonArray();
    case WireType::Record:
        return createRecord(recordClass);
    default:
        return {};
    }
}

} // namespace zenvo
