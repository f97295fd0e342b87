#include "server/methods.h"

#include "server/pp.h"

#include <QStringList>

#include <array>

namespace zenvo {

namespace {

#define ZENVO_RESULT_None WireType::None, nullptr
#define ZENVO_RESULT_Text WireType::Text, nullptr
#define ZENVO_RESULT_Int WireType::Int, nullptr
#define ZENVO_RESULT_Bool WireType::Bool, nullptr
#define ZENVO_RESULT_Reader WireType::Reader, nullptr
#define ZENVO_RESULT_Packet WireType::Packet, nullptr
#define ZENVO_RESULT_Stream WireType::Stream, nullptr
#define ZENVO_RESULT_JsonArray WireType::JsonArray, nullptr
#define ZENVO_RESULT_TSonucBilgisi WireType::Record, "TSonucBilgisi"
#define ZENVO_RESULT_TSiparisDipAyrinti WireType::Record, "TSiparisDipAyrinti"
#define ZENVO_RESULT_TTusSonuclari WireType::Record, "TTusSonuclari"
#define ZENVO_RESULT_TMobilCariBilgisi WireType::Record, "TMobilCariBilgisi"
#define ZENVO_RESULT_TAcilisEkran WireType::Record, "TAcilisEkran"
#define ZENVO_RESULT_TAcilisEkranlar WireType::Record, "TAcilisEkranlar"
#define ZENVO_RESULT_TAcilisEkranlariki WireType::Record, "TAcilisEkranlariki"
#define ZENVO_RESULT_TMobilStok WireType::Record, "TMobilStok"
#define ZENVO_RESULT_TMobilStoklar WireType::Record, "TMobilStoklar"
#define ZENVO_RESULT_TMobilSepetler WireType::Record, "TMobilSepetler"

#define ZENVO_PARAM(dir, type, pname) ParamDecl{#pname, WireType::type, ParamDir::dir},

// One parameter array per method, each closed by an empty entry so none is zero-sized.
#define X(name, result, ...)                                                                       \
    constexpr ParamDecl kParams_##name[] = {ZENVO_FOR_EACH(ZENVO_PARAM, __VA_ARGS__) ParamDecl{}};
#include "server/methods.def"
#undef X

#define X(name, result, ...)                                                                       \
    MethodDecl{#name, ZENVO_RESULT_##result,                                                       \
               std::span<const ParamDecl>(kParams_##name, std::size(kParams_##name) - 1)},
const std::array<MethodDecl, kMethodCount> kMethods{{
#include "server/methods.def"
}};
#undef X

} // namespace

int MethodDecl::outCount() const {
    int n = 0;
    for (const ParamDecl &p : params)
        n += p.dir == ParamDir::Out;
    return n;
}

std::span<const MethodDecl> methodTable() {
    return kMethods;
}

const MethodDecl &methodDecl(MethodId id) {
    return kMethods[std::size_t(id)];
}

int methodIndex(std::string_view name) {
    for (std::size_t i = 0; i < kMethods.size(); ++i)
        if (name == kMethods[i].name)
            return int(i);
    return -1;
}

const MethodDecl *findMethod(std::string_view name) {
    const int i = methodIndex(name);
    return i < 0 ? nullptr : &kMethods[std::size_t(i)];
}

const char *wireTypeName(WireType t) {
    switch (t) {
    case WireType::None:
        return "none";
    case WireType::Text:
        return "text";
    case WireType::Int:
        return "integer";
    case WireType::Int64:
        return "int64";
    case WireType::Double:
        return "double";
    case WireType::Bool:
        return "boolean";
    case WireType::Session:
        return "TSonucBilgisi";
    case WireType::Object:
        return "object";
    case WireType::Callback:
        return "callback";
    case WireType::Reader:
        return "table reader";
    case WireType::Packet:
        return "data packet";
    case WireType::Stream:
        return "stream";
    case WireType::JsonArray:
        return "JSON array";
    case WireType::Record:
        return "record";
    }
    return "?";
}

QString methodSignature(const MethodDecl &m) {
    QStringList params;
    for (const ParamDecl &p : m.params)
        params << QStringLiteral("%1%2: %3")
                      .arg(p.dir == ParamDir::Out ? QStringLiteral("out ") : QString(),
                           QLatin1String(p.name), QLatin1String(wireTypeName(p.type)));
    const QString result =
        QLatin1String(m.result == WireType::Record ? m.resultClass : wireTypeName(m.result));
    return QStringLiteral("%1(%2) -> %3")
        .arg(QLatin1String(m.name), params.join(QStringLiteral(", ")), result);
}

} // namespace zenvo
