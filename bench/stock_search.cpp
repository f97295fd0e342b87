// StokAraGetir on a 200,000-item demo catalogue, served by zenvo-server's dispatch (decode,
// search, pricing, encoding), beside the bare SQLite statement that finds the same rows.
#include "appserver/db.h"
#include "appserver/demodata.h"
#include "appserver/dispatch.h"
#include "appserver/schema.h"
#include "server/jsonwriter.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace zenvo;
using namespace zenvo::appserver;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string request(const QString &text) {
    TSonucBilgisi s;
    s.SetCARINO(1001);
    JsonWriter w;
    w.raw("{\"method\":\"TServerMethods1.StokAraGetir\",\"params\":[").string(text).raw(',');
    int id = 1;
    s.writeJson(w, id);
    w.raw("]}");
    return w.text();
}

// The least the database must do: find the items through the token index and read their rows.
int bareQuery(sqlite3 *db, const QString &text) {
    const QStringList words = searchWords(text);
    std::string sql = "SELECT * FROM items WHERE STOK_STOKNO IN (";
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i)
            sql += " INTERSECT ";
        sql += "SELECT STOK_STOKNO FROM search_tokens WHERE TOKEN >= ? AND TOKEN < ?";
    }
    sql += ") ORDER BY STOK_STOKNO LIMIT 5000";
    Stmt st(db, sql.c_str());
    for (qsizetype i = 0; i < words.size(); ++i)
        st.bind(int(2 * i + 1), words[i]).bind(int(2 * i + 2), tokenPrefixEnd(words[i]));
    int rows = 0;
    while (st.step()) {
        for (int c = 0; c < st.columnCount(); ++c)
            if (sqlite3_column_type(st.handle(), c) == SQLITE_TEXT)
                (void)st.text(c);
        ++rows;
    }
    return rows;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int items = argc > 1 ? std::atoi(argv[1]) : 200000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("catalogue.db"));
    {
        Db db(path, true);
        createSchema(db.handle());
        fillDemoData(db.handle(), {.items = items, .seed = 1});
    }
    Db db(path);
    const Dispatcher d = serverDispatcher();
    const QString queries[] = {QStringLiteral("G50-70"), QStringLiteral("46.521.001"),
                               QStringLiteral("FREN BALATASI"), QStringLiteral("DOBLO"),
                               QStringLiteral("TRIGER")};
    std::printf("stock_search: %d items, server-side median of 15 runs per query\n", items);
    std::printf("  %-16s %8s %12s %12s %7s\n", "query", "rows", "zenvo ms", "sqlite ms", "ratio");
    double worst = 0;
    for (const QString &q : queries) {
        const std::string req = request(q) + std::string(jsonPadding(), '\0');
        const std::size_t len = req.size() - jsonPadding();
        std::vector<double> ours, base;
        int rows = 0;
        for (int i = 0; i < 15; ++i) {
            auto t0 = Clock::now();
            const std::string answer = d.serve(req.data(), len, db.handle());
            ours.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            t0 = Clock::now();
            rows = bareQuery(db.handle(), q);
            base.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            if (answer.find("\"error\"") != std::string::npos) {
                std::printf("error: %s\n", answer.c_str());
                return 1;
            }
        }
        const double mo = median(ours), mb = median(base);
        worst = std::max(worst, mo / std::max(mb, 1e-3));
        std::printf("  %-16s %8d %12.2f %12.2f %6.2fx\n", qPrintable(q), rows, mo, mb, mo / mb);
    }
    std::printf("  worst ratio %.2fx the bare statement (target <= 2.00)\n", worst);
    return 0;
}
