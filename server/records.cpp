#include "server/records.h"

#include "server/jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zenvo {

namespace {

[[noreturn]] void wrongType(const char *field, const char *expected) {
    throw std::runtime_error(std::string("field ") + field + " is not " + expected);
}

void beginObject(JsonWriter &w, const TRecord &rec, int &nextId) {
    w.raw('{').key("type").string(rec.qualifiedName()).raw(',').key("id").integer(nextId++);
}

struct FieldWriter {
    JsonWriter &w;
    int &nextId;
    bool first = true;
    void sep(const char *name) {
        if (!first)
            w.raw(',');
        first = false;
        w.key(name);
    }
    void operator()(const char *name, const QString &v) { sep(name), w.string(v); }
    void operator()(const char *name, int v) { sep(name), w.integer(v); }
    void operator()(const char *name, double v) { sep(name), w.number(v); }
    void operator()(const char *name, bool v) { sep(name), w.boolean(v); }
    template <class R> void operator()(const char *name, const std::vector<R> &v) {
        sep(name);
        w.raw('[');
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i)
                w.raw(',');
            v[i].writeJson(w, nextId);
        }
        w.raw(']');
    }
};

struct FieldReader {
    const QJsonObject &fields;
    void operator()(const char *name, QString &v) {
        const auto it = fields.constFind(QLatin1String(name));
        if (it == fields.constEnd())
            return;
        if (!it->isString())
            wrongType(name, "a string");
        v = it->toString();
    }
    void operator()(const char *name, int &v) {
        const auto it = fields.constFind(QLatin1String(name));
        if (it == fields.constEnd())
            return;
        const double d = it->toDouble();
        if (!it->isDouble() || d != std::floor(d) || d < std::numeric_limits<int>::min() ||
            d > std::numeric_limits<int>::max())
            wrongType(name, "a 32-bit integer");
        v = int(d);
    }
    void operator()(const char *name, double &v) {
        const auto it = fields.constFind(QLatin1String(name));
        if (it == fields.constEnd())
            return;
        if (!it->isDouble())
            wrongType(name, "a number");
        v = it->toDouble();
    }
    void operator()(const char *name, bool &v) {
        const auto it = fields.constFind(QLatin1String(name));
        if (it == fields.constEnd())
            return;
        if (!it->isBool())
            wrongType(name, "a boolean");
        v = it->toBool();
    }
    template <class R> void operator()(const char *name, std::vector<R> &v) {
        const auto it = fields.constFind(QLatin1String(name));
        if (it == fields.constEnd())
            return;
        if (!it->isArray())
            wrongType(name, "an array");
        std::vector<R> items;
        for (const QJsonValue &e : it->toArray()) {
            if (!e.isObject())
                wrongType(name, "an array of objects");
            R rec;
            rec.readJson(e.toObject());
            items.push_back(std::move(rec));
        }
        v = std::move(items);
    }
};

void checkType(const QJsonObject &obj, const TRecord &rec) {
    const auto it = obj.constFind(QLatin1String("type"));
    if (it == obj.constEnd())
        return;
    const QString type = it->toString();
    if (type != rec.qualifiedName() && type != QLatin1String(rec.className()))
        throw std::runtime_error("expected an object of class " +
                                 rec.qualifiedName().toStdString() + ", got " + type.toStdString());
}

template <class R> void writeRecord(const R &rec, JsonWriter &w, int &nextId) {
    beginObject(w, rec, nextId);
    w.raw(',').key("fields").raw('{');
    FieldWriter fw{w, nextId};
    rec.visitFields(fw);
    w.raw("}}");
}

template <class R> void readRecord(R &rec, const QJsonObject &obj) {
    checkType(obj, rec);
    const QJsonValue fields = obj.value(QLatin1String("fields"));
    if (fields.isUndefined())
        return;
    if (!fields.isObject())
        throw std::runtime_error("\"fields\" of " + rec.qualifiedName().toStdString() +
                                 " is not an object");
    const QJsonObject f = fields.toObject();
    FieldReader fr{f};
    rec.visitFields(fr);
}

} // namespace

QString TRecord::qualifiedName() const {
    return QLatin1String(unitName()) + QLatin1Char('.') + QLatin1String(className());
}

std::string marshal(const TRecord *rec) {
    JsonWriter w;
    if (!rec) {
        w.null();
    } else {
        int id = 1;
        rec->writeJson(w, id);
    }
    return std::move(w.buffer());
}

#define ZENVO_RECORD_IMPL(Class)                                                                   \
    void Class::writeJson(JsonWriter &w, int &nextId) const {                                      \
        writeRecord(*this, w, nextId);                                                             \
    }                                                                                              \
    void Class::readJson(const QJsonObject &obj) {                                                 \
        readRecord(*this, obj);                                                                    \
    }

ZENVO_RECORD_IMPL(TSonucBilgisi)
ZENVO_RECORD_IMPL(TMobilStok)
ZENVO_RECORD_IMPL(TMobilSepet)
ZENVO_RECORD_IMPL(TMobilCariBilgisi)
ZENVO_RECORD_IMPL(TAcilisEkran)
ZENVO_RECORD_IMPL(TSiparisDipAyrinti)
ZENVO_RECORD_IMPL(TTusSonuclari)
ZENVO_RECORD_IMPL(TAcilisEkranlariki)

void TMobilStok::Kopyala(const TMobilStok &source) {
    const QString pkod = FPKod;
    const QString dpkod = FDpKod;
    *this = source;
    FPKod = pkod;
    FDpKod = dpkod;
}

QByteArray TAcilisEkran::ResimBaytlari() const {
    const QByteArray hex = FResim.trimmed().toLatin1();
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return {};
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    return QByteArray::fromHex(hex);
}

template <class Item, const char *Name>
void TRecordList<Item, Name>::writeJson(JsonWriter &w, int &nextId) const {
    beginObject(w, *this, nextId);
    w.raw(',').key("items").raw('[');
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            w.raw(',');
        items[i]->writeJson(w, nextId);
    }
    w.raw("]}");
}

template <class Item, const char *Name>
void TRecordList<Item, Name>::readJson(const QJsonObject &obj) {
    checkType(obj, *this);
    const QJsonValue list = obj.value(QLatin1String("items"));
    if (list.isUndefined())
        return;
    if (!list.isArray())
        throw std::runtime_error("\"items\" of " + qualifiedName().toStdString() +
                                 " is not an array");
    std::vector<std::unique_ptr<Item>> read;
    for (const QJsonValue &e : list.toArray()) {
        if (!e.isObject())
            throw std::runtime_error("an element of " + qualifiedName().toStdString() +
                                     " is not an object");
        auto item = std::make_unique<Item>();
        item->readJson(e.toObject());
        read.push_back(std::move(item));
    }
    items = std::move(read);
}

template class TRecordList<TMobilStok, kTMobilStoklar>;
template class TRecordList<TMobilSepet, kTMobilSepetler>;
template class TRecordList<TAcilisEkran, kTAcilisEkranlar>;

std::unique_ptr<TRecord> createRecord(const char *className) {
    const std::string_view n(className);
    if (n == TSonucBilgisi::kClass)
        return std::make_unique<TSonucBilgisi>();
    if (n == TMobilStok::kClass)
        return std::make_unique<TMobilStok>();
    if (n == TMobilSepet::kClass)
        return std::make_unique<TMobilSepet>();
    if (n == TMobilCariBilgisi::kClass)
        return std::make_unique<TMobilCariBilgisi>();
    if (n == TAcilisEkran::kClass)
        return std::make_unique<TAcilisEkran>();
    if (n == TSiparisDipAyrinti::kClass)
        return std::make_unique<TSiparisDipAyrinti>();
    if (n == TTusSonuclari::kClass)
        return std::make_unique<TTusSonuclari>();
    if (n == TAcilisEkranlariki::kClass)
        return std::make_unique<TAcilisEkranlariki>();
    if (n == kTMobilStoklar)
        return std::make_unique<TMobilStoklar>();
    if (n == kTMobilSepetler)
        return std::make_unique<TMobilSepetler>();
    if (n == kTAcilisEkranlar)
        return std::make_unique<TAcilisEkranlar>();
    return nullptr;
}

template <class T> std::unique_ptr<T> unmarshal(std::string_view json) {
    if (QByteArrayView(json.data(), qsizetype(json.size())).trimmed() == "null")
        return nullptr;
    QJsonParseError err{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(json.data(), qsizetype(json.size())), &err);
    if (err.error != QJsonParseError::NoError)
        throw std::runtime_error("invalid object JSON: " + err.errorString().toStdString());
    if (doc.isNull() || (!doc.isObject() && !doc.isArray()))
        return nullptr;
    if (!doc.isObject())
        throw std::runtime_error(std::string("expected an object of class ") + T::kClass);
    auto rec = std::make_unique<T>();
    rec->readJson(doc.object());
    return rec;
}

template std::unique_ptr<TSonucBilgisi> unmarshal<TSonucBilgisi>(std::string_view);
template std::unique_ptr<TMobilStok> unmarshal<TMobilStok>(std::string_view);
template std::unique_ptr<TMobilCariBilgisi> unmarshal<TMobilCariBilgisi>(std::string_view);
template std::unique_ptr<TAcilisEkran> unmarshal<TAcilisEkran>(std::string_view);
template std::unique_ptr<TSiparisDipAyrinti> unmarshal<TSiparisDipAyrinti>(std::string_view);
template std::unique_ptr<TTusSonuclari> unmarshal<TTusSonuclari>(std::string_view);
template std::unique_ptr<TAcilisEkranlariki> unmarshal<TAcilisEkranlariki>(std::string_view);
template std::unique_ptr<TMobilStoklar> unmarshal<TMobilStoklar>(std::string_view);
template std::unique_ptr<TMobilSepetler> unmarshal<TMobilSepetler>(std::string_view);
template std::unique_ptr<TAcilisEkranlar> unmarshal<TAcilisEkranlar>(std::string_view);

} // namespace zenvo
