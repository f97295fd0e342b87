#include "appserver/dispatch.h"
#include "appserver/schema.h"
#include "appserver/tables.h"

namespace zenvo::appserver {

namespace {

constexpr int kSearchLimit = 5000;
constexpr int kListLimit = 5000;

enum class ListKind { Search, New, Campaign };

struct Discounts {
    double ind[4] = {0, 0, 0, 0};
};

Discounts accountDiscounts(sqlite3 *db, int carino) {
    Discounts d;
    Stmt st(db, "SELECT IND1, IND2, IND3, IND4 FROM accounts WHERE CARINO = ?");
    st.bind(1, carino);
    if (st.step())
        for (int i = 0; i < 4; ++i)
            d.ind[i] = st.real(i);
    return d;
}

const char *const kItemSelect = R"sql(
    SELECT DURUM, OEM1, OEM2, OEM3, BARKOD, ADI, OEM4, STOK_STOKNO, FINISHKOD, URETICIKODU,
           CASE WHEN RESIMNO > 0 THEN 1 ELSE 0 END, BARKOD_BARKODNO, DIGERADI, DPKOD, OEMNO,
           BIRIM, MARKA, MODEL, ANAGRUP, OZELKOD, KALAN, PKOD, KDV, ALINANSIPARIS,
           VERILENSIPARIS, LISTEFIYAT1, KAMPFIYAT, K, Y
    FROM items )sql";

std::vector<Col> itemColumns(ListKind kind) {
    std::vector<Col> cols = {
        {"DURUM", FieldType::Integer},
        {"OEM1", FieldType::String, 40},
        {"OEM2", FieldType::String, 40},
        {"OEM3", FieldType::String, 40},
        {"BARKOD", FieldType::String, 30},
        {"ADI", FieldType::String, 100},
        {"OEM4", FieldType::String, 40},
        {"STOK_STOKNO", FieldType::Integer},
        {"FINISHKOD", FieldType::String, 40},
        {"URETICIKODU", FieldType::String, 40},
        {"RESIM", FieldType::Integer},
        {"BARKOD_BARKODNO", FieldType::Integer},
        {"DIGERADI", FieldType::String, 100},
        {"DPKOD", FieldType::String, 30},
        {"OEMNO", FieldType::String, 40},
        {"BIRIM", FieldType::String, 10},
        {"MARKA", FieldType::String, 40},
        {"MODEL", FieldType::String, 60},
        {"ANAGRUP", FieldType::String, 40},
        {"OZELKOD", FieldType::String, 30},
        {"KALAN", FieldType::Double},
        {"PKOD", FieldType::String, 30},
        {"KDV", FieldType::Integer},
        {"ALINANSIPARIS", FieldType::Double},
        {"VERILENSIPARIS", FieldType::Double},
        {"LISTEFIYAT1", FieldType::Double},
        {"KAMPFIYAT", FieldType::Double},
        {"FIYAT", FieldType::Double},
        {"Y", FieldType::Integer},
        {"K", FieldType::Integer},
        {"INDIRIMYAZI", FieldType::String, 30},
        {"NETFIYAT", FieldType::Double},
        {"KDVDAHIL", FieldType::Double},
        {"IND1", FieldType::Double},
        {"IND2", FieldType::Double},
        {"IND3", FieldType::Double},
        {"IND4", FieldType::Double},
    };
    if (kind != ListKind::Search)
        cols.push_back({"INDIRIM", FieldType::Double});
    if (kind == ListKind::Campaign)
        cols.push_back({"ESKIFIYAT", FieldType::Double});
    return cols;
}

// Rows of the item query as the lists show them, priced for the account: a campaign item
// goes at its campaign price without the account's discounts.
std::unique_ptr<ResultTable> itemTable(Stmt &st, ListKind kind, const Discounts &acc) {
    auto t = emptyTable(itemColumns(kind));
    while (st.step()) {
        int c = 0;
        for (int q = 0; q < 27; ++q, ++c) {
            const FieldType ft = t->field(c).type;
            if (ft == FieldType::String) {
                const std::string_view u = st.utf8(q);
                t->appendStringUtf8(c, u.data(), u.size());
            } else if (ft == FieldType::Integer)
                t->appendInt(c, st.int64(q));
            else
                t->appendDouble(c, st.real(q));
        }
        const double list = st.real(25), camp = st.real(26), kdv = st.real(22);
        const int k = st.integer(27);
        const bool campaign = k > 0 && camp > 0;
        Discounts d = campaign ? Discounts{} : acc;
        const double price = campaign ? camp : list;
        const double net = netPrice(price, d.ind[0], d.ind[1], d.ind[2], d.ind[3]);
        t->appendDouble(c++, price);       // FIYAT
        t->appendInt(c++, st.integer(28)); // Y
        t->appendInt(c++, k);              // K
        t->appendString(c++, discountText(d.ind[0], d.ind[1], d.ind[2], d.ind[3]));
        t->appendDouble(c++, net);                       // NETFIYAT
        t->appendDouble(c++, r2(net * (1 + kdv / 100))); // KDVDAHIL
        for (double rate : d.ind)
            t->appendDouble(c++, rate);
        if (kind != ListKind::Search)
            t->appendDouble(c++, price > 0 ? r2((1 - net / price) * 100) : 0); // INDIRIM
        if (kind == ListKind::Campaign)
            t->appendDouble(c++, list); // ESKIFIYAT
        t->commitRow();
    }
    return t;
}

std::unique_ptr<ResultTable> searchItems(sqlite3 *db, const QString &text, int carino) {
    const std::vector<int> ids = searchStockNumbers(db, text, kSearchLimit);
    const Discounts acc = accountDiscounts(db, carino);
    if (ids.empty()) {
        Stmt none(db, (std::string(kItemSelect) + "WHERE 0").c_str());
        return itemTable(none, ListKind::Search, acc);
    }
    // The numbers are ours (integers), so they go into the statement text directly.
    std::string sql = std::string(kItemSelect) + "WHERE STOK_STOKNO IN (";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i)
            sql += ',';
        sql += std::to_string(ids[i]);
    }
    sql += ") ORDER BY STOK_STOKNO";
    Stmt st(db, sql.c_str());
    return itemTable(st, ListKind::Search, acc);
}

} // namespace

void addCatalogueMethods(Dispatcher &d) {
    d.add(MethodId::StokAraGetir, [](CallContext &c) {
        const TSonucBilgisi *s = c.session(1);
        c.setResult(searchItems(c.db(), c.text(0), s ? s->CARINO() : 0));
    });
    d.add(MethodId::YenilerVer2, [](CallContext &c) {
        Stmt st(c.db(), (std::string(kItemSelect) + "WHERE Y = 1 ORDER BY STOK_STOKNO LIMIT " +
                         std::to_string(kListLimit))
                            .c_str());
        c.setResult(itemTable(st, ListKind::New, accountDiscounts(c.db(), c.integer(0))));
    });
    d.add(MethodId::KampanyaliVer2, [](CallContext &c) {
        Stmt st(c.db(), (std::string(kItemSelect) +
                         "WHERE K > 0 AND KAMPFIYAT > 0 ORDER BY STOK_STOKNO LIMIT " +
                         std::to_string(kListLimit))
                            .c_str());
        c.setResult(itemTable(st, ListKind::Campaign, accountDiscounts(c.db(), c.integer(0))));
    });
    d.add(MethodId::ResimVer5, [](CallContext &c) {
        Stmt st(c.db(), "SELECT p.VERI FROM items i JOIN pictures p ON p.RESIMNO = i.RESIMNO "
                        "WHERE i.STOK_STOKNO = ?");
        st.bind(1, c.integer(0));
        const QByteArray jpeg = st.step() ? st.blob(0) : QByteArray();
        c.setResult(jpeg);
        c.setOut(1, qint64(jpeg.size()));
    });
}

} // namespace zenvo::appserver
