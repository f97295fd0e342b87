#pragma once

#include <QString>

#include <cstdint>
#include <span>
#include <string_view>

namespace zenvo {

// Declared kinds of parameters and results.
enum class WireType : std::uint8_t {
    None,
    Text,
    Int,
    Int64,
    Double,
    Bool,
    Session,  // the session record TSonucBilgisi
    Object,   // any marshalled object (a record of its own class)
    Callback, // carried as null
    Reader,   // table reader
    Packet,   // data packet
    Stream,
    JsonArray,
    Record, // a record result; its class is named in MethodDecl::resultClass
};

enum class ParamDir : std::uint8_t { In, Out };

struct ParamDecl {
    const char *name = nullptr;
    WireType type = WireType::None;
    ParamDir dir = ParamDir::In;
};

struct MethodDecl {
    const char *name;
    WireType result;
    const char *resultClass; // record class for WireType::Record, else nullptr
    std::span<const ParamDecl> params;
    int outCount() const;
};

enum class MethodId : int {
#define X(name, ...) name,
#include "server/methods.def"
#undef X
    Count
};

inline constexpr int kMethodCount = int(MethodId::Count);

std::span<const MethodDecl> methodTable();
const MethodDecl &methodDecl(MethodId id);
const MethodDecl *findMethod(std::string_view name); // nullptr when unknown
int methodIndex(std::string_view name);              // -1 when unknown
const char *wireTypeName(WireType t);
// "Name(param: type, out param: type, ...) -> result"
QString methodSignature(const MethodDecl &m);

inline constexpr std::string_view kMethodPrefix = "TServerMethods1.";

} // namespace zenvo
