// Decoding a 100,000 x 35 stock-like result: wire bytes to result table, beside simdjson
// walking every value of the same bytes, in the same run.
#include "server/codec.h"
#include "server/jsonwriter.h"
#include "server/methods.h"

#include <QCoreApplication>

#include <simdjson.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace zenvo;
namespace od = simdjson::ondemand;

namespace {

std::string stockLikeResponse(int rows) {
    ResultTable t;
    const char *texts[] = {"OEM1",      "OEM2",        "OEM3",        "BARKOD",  "ADI",    "OEM4",
                           "FINISHKOD", "URETICIKODU", "DIGERADI",    "DPKOD",   "OEMNO",  "BIRIM",
                           "MARKA",     "MODEL",       "INDIRIMYAZI", "ANAGRUP", "ALTGRUP"};
    const char *ints[] = {"DURUM", "STOK_STOKNO", "RESIM", "BARKOD_BARKODNO", "K", "Y"};
    const char *doubles[] = {"KDV",  "FIYAT", "LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT", "KDVDAHIL",
                             "IND1", "IND2",  "IND3",        "IND4",      "BAKIYE",   "SIPARIS"};
    for (const char *n : texts)
        t.addField({QString::fromLatin1(n), FieldType::String, 60});
    for (const char *n : ints)
        t.addField({QString::fromLatin1(n), FieldType::Integer, 0});
    for (const char *n : doubles)
        t.addField({QString::fromLatin1(n), FieldType::Double, 0});
    std::mt19937 rng(7);
    const QString names[] = {QStringLiteral("FREN BALATASI ÖN"), QStringLiteral("DEBRİYAJ SETİ"),
                             QStringLiteral("YAĞ FİLTRESİ"), QStringLiteral("AMORTİSÖR ARKA")};
    t.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        int c = 0;
        for (int i = 0; i < 17; ++i, ++c)
            t.appendString(c, i == 4 ? names[r % 4] + QString::number(r)
                                     : QStringLiteral("G%1-%2").arg(rng() % 1000).arg(i));
        for (int i = 0; i < 6; ++i, ++c)
            t.appendInt(c, i == 1 ? r : int(rng() % 6));
        for (int i = 0; i < 12; ++i, ++c)
            t.appendDouble(c, double(rng() % 100000) / 100.0);
        t.commitRow();
    }
    JsonWriter w;
    w.raw("{\"result\":");
    encodeTable(w, t);
    w.raw(",\"outs\":[]}");
    return std::move(w.buffer());
}

// Touches every value, as any consumer of the bytes must.
std::size_t simdjsonWalk(const char *data, std::size_t len) {
    static od::parser parser;
    od::document doc = parser.iterate(data, len, len + simdjson::SIMDJSON_PADDING);
    std::size_t n = 0;
    od::object table = doc["result"].get_object();
    for (auto col : table["columns"].get_array())
        n += col["name"].get_string().value().size();
    for (auto row : table["rows"].get_array()) {
        for (auto cell : row.get_array()) {
            od::value v = cell.value();
            switch (v.type().value()) {
            case od::json_type::string:
                n += v.get_string().value().size();
                break;
            case od::json_type::number:
                n += std::size_t(v.get_double().value() > 0);
                break;
            default:
                break;
            }
        }
    }
    return n;
}

template <class F> double bestSeconds(int rounds, F &&f) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    tuneAllocatorForLargeResults(); // as the client does at start
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::string json = stockLikeResponse(rows);
    const std::size_t len = json.size();
    json.append(jsonPadding(), '\0');
    const double mb = double(len) / 1e6;
    const MethodDecl &m = methodDecl(MethodId::StokAraGetir);
    int decodedRows = 0;
    std::size_t sink = 0;
    const int rounds = 7;
    const bool verbose = qEnvironmentVariableIsSet("ZENVO_BENCH_VERBOSE");
    double ours = 1e9, base = 1e9;
    for (int i = 0; i < rounds; ++i) { // interleaved against the machine's noise
        base = std::min(base, bestSeconds(1, [&] { sink += simdjsonWalk(json.data(), len); }));
        const double t = bestSeconds(1, [&] {
            Response r = decodeResponse(json.data(), len, m);
            decodedRows = std::get<std::unique_ptr<ResultTable>>(r.result)->rowCount();
        });
        if (verbose)
            std::printf("  round %d: %.1f ms\n", i, t * 1e3);
        ours = std::min(ours, t);
    }
    std::printf("table_decode: %d x 35 table, %.1f MB of JSON\n", decodedRows, mb);
    std::printf("  result table decode : %8.1f MB/s (%.1f ms)\n", mb / ours, ours * 1e3);
    std::printf("  simdjson walk (base): %8.1f MB/s (%.1f ms)\n", mb / base, base * 1e3);
    std::printf("  ratio %.2f of the baseline (target >= 0.50) [%zu]\n", base / ours, sink % 10);
    return decodedRows == rows ? 0 : 1;
}
