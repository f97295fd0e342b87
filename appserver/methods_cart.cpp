#include "appserver/accountdata.h"
#include "appserver/dispatch.h"
#include "appserver/tables.h"

#include <QLocale>

#include <cmath>

namespace zenvo::appserver {

namespace {

const std::vector<Col> &cartColumns() {
    static const std::vector<Col> cols = {
        {"SEC", FieldType::Integer},
        {"VERILISTARIHI", FieldType::DateTime},
        {"BARKOD", FieldType::String, 30},
        {"FINISHKOD", FieldType::String, 40},
        {"OEMNO", FieldType::String, 40},
        {"STOKADI", FieldType::String, 100},
        {"MIKTAR", FieldType::Double},
        {"BIRIMFIYAT", FieldType::Double},
        {"TUTAR", FieldType::Double},
        {"INDIRIMYAZI", FieldType::String, 30},
        {"NETBIRIMFIYAT", FieldType::Double},
        {"KDV", FieldType::Integer},
        {"VERGITUTARI", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"VEREN", FieldType::String, 40},
        {"DURUM", FieldType::Integer},
        {"SIPARISNO", FieldType::Integer},
        {"TARIH", FieldType::DateTime},
        {"KUR", FieldType::String, 5},
        {"SAAT", FieldType::String, 8},
        {"ACIKLAMA", FieldType::String, 200},
        {"OEM1", FieldType::String, 40},
        {"OEM2", FieldType::String, 40},
        {"OEM3", FieldType::String, 40},
        {"OEM4", FieldType::String, 40},
        {"DIGERADI", FieldType::String, 100},
        {"DPKOD", FieldType::String, 30},
        {"MARKA", FieldType::String, 40},
        {"MODEL", FieldType::String, 60},
        {"ANAGRUP", FieldType::String, 40},
        {"OZELKOD", FieldType::String, 30},
        {"PKOD", FieldType::String, 30},
        {"INDIRIMORANI1", FieldType::Double},
        {"INDIRIMORANI2", FieldType::Double},
        {"INDIRIMORANI3", FieldType::Double},
        {"INDIRIMORANI4", FieldType::Double},
        {"SIRANO", FieldType::Integer},
        {"CARINO", FieldType::Integer},
        {"AKTAR", FieldType::Integer},
        {"STOKNO", FieldType::Integer},
        {"INDIRIMTUTAR", FieldType::Double},
        {"KURTL", FieldType::Double},
        {"VERENIDNO", FieldType::Integer},
        {"TESLIMID", FieldType::Integer},
        {"KARGOID", FieldType::Integer},
        {"IDNO", FieldType::Integer},
        {"VERENSIRANO", FieldType::Integer},
        {"CARIKOD", FieldType::String, 30},
        {"CARIADI", FieldType::String, 100},
        {"STOK_STOKNO", FieldType::Integer},
        {"URETICIKODU", FieldType::String, 40},
        {"KALAN", FieldType::Double},
        {"K", FieldType::Integer},
    };
    return cols;
}

std::unique_ptr<ResultTable> cartTable(sqlite3 *db, int carino) {
    Stmt st(db, R"sql(
        SELECT c.SEC, c.TARIH, c.BARKOD, COALESCE(i.FINISHKOD, ''), COALESCE(i.OEMNO, ''),
               c.STOKADI, c.MIKTAR, c.BIRIMFIYAT, c.KDV, COALESCE(u.ADI, ''),
               COALESCE(i.DURUM, 0), c.SAAT, c.ACIKLAMA, COALESCE(i.OEM1, ''),
               COALESCE(i.OEM2, ''), COALESCE(i.OEM3, ''), COALESCE(i.OEM4, ''),
               COALESCE(i.DIGERADI, ''), COALESCE(i.DPKOD, ''), COALESCE(i.MARKA, ''),
               COALESCE(i.MODEL, ''), COALESCE(i.ANAGRUP, ''), COALESCE(i.OZELKOD, ''),
               COALESCE(i.PKOD, ''), c.INDIRIMORANI1, c.INDIRIMORANI2, c.INDIRIMORANI3,
               c.INDIRIMORANI4, c.SIRANO, c.CARINO, c.STOKNO, c.VERENIDNO,
               COALESCE(a.CARIKOD, ''), COALESCE(a.CARIADI, ''), COALESCE(i.URETICIKODU, ''),
               COALESCE(i.KALAN, 0), c.K
        FROM cart_lines c
        LEFT JOIN items i ON i.STOK_STOKNO = c.STOKNO
        LEFT JOIN users u ON u.SIRANO = c.VERENIDNO
        LEFT JOIN accounts a ON a.CARINO = c.CARINO
        WHERE c.CARINO = ?
        ORDER BY c.SIRANO)sql");
    st.bind(1, carino);
    auto t = emptyTable(cartColumns());
    while (st.step()) {
        const double qty = st.real(6), price = st.real(7), kdv = st.real(8);
        const double i1 = st.real(24), i2 = st.real(25), i3 = st.real(26), i4 = st.real(27);
        const double rates[4] = {i1, i2, i3, i4};
        const LineAmounts am = lineAmounts(qty, price, rates, kdv);
        int c = 0;
        t->appendInt(c++, st.integer(0));
        t->appendDouble(c++, st.real(1));
        for (int q : {2, 3, 4, 5})
            t->appendString(c++, st.text(q));
        t->appendDouble(c++, qty);
        t->appendDouble(c++, price);
        t->appendDouble(c++, am.gross);
        t->appendString(c++, discountText(i1, i2, i3, i4));
        t->appendDouble(c++, am.netUnit);
        t->appendInt(c++, qint64(kdv));
        t->appendDouble(c++, am.vat);
        t->appendDouble(c++, am.net);
        t->appendString(c++, st.text(9));  // VEREN
        t->appendInt(c++, st.integer(10)); // DURUM
        t->appendInt(c++, 0);              // SIPARISNO
        t->appendDouble(c++, st.real(1));  // TARIH
        t->appendString(c++, QStringLiteral("TL"));
        for (int q = 11; q <= 23; ++q)
            t->appendString(c++, st.text(q));
        for (int q = 24; q <= 27; ++q)
            t->appendDouble(c++, st.real(q));
        t->appendInt(c++, st.integer(28)); // SIRANO
        t->appendInt(c++, st.integer(29)); // CARINO
        t->appendInt(c++, 0);              // AKTAR
        t->appendInt(c++, st.integer(30)); // STOKNO
        t->appendDouble(c++, am.discount);
        t->appendDouble(c++, 1);           // KURTL
        t->appendInt(c++, st.integer(31)); // VERENIDNO
        t->appendInt(c++, 0);              // TESLIMID
        t->appendInt(c++, 0);              // KARGOID
        t->appendInt(c++, 0);              // IDNO
        t->appendInt(c++, st.integer(31)); // VERENSIRANO
        t->appendString(c++, st.text(32));
        t->appendString(c++, st.text(33));
        t->appendInt(c++, st.integer(30)); // STOK_STOKNO
        t->appendString(c++, st.text(34));
        t->appendDouble(c++, st.real(35));
        t->appendInt(c++, st.integer(36));
        t->commitRow();
    }
    return t;
}

bool validQuantity(double q) {
    return q >= 1 && q <= 10000;
}

std::unique_ptr<ResultTable> kindTable(sqlite3 *db, const char *table) {
    Stmt st(db, (std::string("SELECT ID, ADI FROM ") + table + " ORDER BY ID").c_str());
    return tableFromQuery(st, {{"ID", FieldType::Integer}, {"ADI", FieldType::String, 50}});
}

} // namespace

void addCartMethods(Dispatcher &d) {
    d.add(MethodId::SepetVer2,
          [](CallContext &c) { c.setResult(cartTable(c.db(), c.integer(0))); });
    d.add(MethodId::SepetEkle2, [](CallContext &c) {
        const int carino = c.integer(1), stokno = c.integer(2);
        const double qty = c.real(5);
        Stmt item(c.db(), "SELECT 1 FROM items WHERE STOK_STOKNO = ?");
        item.bind(1, stokno);
        if (carino <= 0 || !validQuantity(qty) || c.real(7) < 0 || !item.step()) {
            c.setResult(qint64(0));
            return;
        }
        Stmt st(c.db(), R"sql(
            INSERT INTO cart_lines (CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, KDV, BIRIMFIYAT,
                INDIRIMORANI1, VERENIDNO, K, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, SEC,
                TARIH, SAAT)
            VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?))sql");
        st.bind(1, carino).bind(2, stokno).bind(3, c.text(3)).bind(4, c.text(4)).bind(5, qty);
        st.bind(6, c.real(6)).bind(7, c.real(7)).bind(8, c.real(8)).bind(9, c.integer(9));
        st.bind(10, c.integer(10)).bind(11, c.real(11)).bind(12, c.real(12)).bind(13, c.real(13));
        st.bind(14, oleToday(c.db())).bind(15, timeOfDay());
        st.exec();
        c.setResult(qint64(1));
    });
    d.add(MethodId::SepetGuncelle2, [](CallContext &c) {
        const double qty = c.real(5);
        if (!validQuantity(qty) || c.real(7) < 0) {
            c.setResult(qint64(0));
            return;
        }
        Stmt st(c.db(), R"sql(
            UPDATE cart_lines SET MIKTAR = ?, KDV = ?, BIRIMFIYAT = ?, INDIRIMORANI1 = ?,
                VERENIDNO = ?, INDIRIMORANI2 = ?, INDIRIMORANI3 = ?, INDIRIMORANI4 = ?
            WHERE SIRANO = ? AND CARINO = ?)sql");
        st.bind(1, qty).bind(2, c.real(6)).bind(3, c.real(7)).bind(4, c.real(8));
        st.bind(5, c.integer(9)).bind(6, c.real(11)).bind(7, c.real(12)).bind(8, c.real(13));
        st.bind(9, c.integer(10)).bind(10, c.integer(1));
        st.exec();
        c.setResult(qint64(sqlite3_changes(c.db()) == 1 ? 1 : 0));
    });
    d.add(MethodId::SepetSatirSil, [](CallContext &c) {
        const TSonucBilgisi *s = c.session(0);
        Stmt st(c.db(), "DELETE FROM cart_lines WHERE SIRANO = ? AND CARINO = ?");
        st.bind(1, c.integer(1)).bind(2, s ? s->CARINO() : 0);
        st.exec();
        c.setResult(qint64(sqlite3_changes(c.db())));
    });
    d.add(MethodId::SepetHepsiniSil, [](CallContext &c) {
        const TSonucBilgisi *s = c.session(0);
        Stmt st(c.db(), "DELETE FROM cart_lines WHERE CARINO = ?");
        st.bind(1, s ? s->CARINO() : 0);
        st.exec();
        c.setResult(qint64(sqlite3_changes(c.db())));
    });
    d.add(MethodId::SepetSecimGuncelle, [](CallContext &c) {
        Stmt st(c.db(), "UPDATE cart_lines SET SEC = ? WHERE SIRANO = ?");
        st.bind(1, c.integer(1) == 1 ? 1 : 0).bind(2, c.integer(0));
        st.exec();
    });
    d.add(MethodId::TeslimVer,
          [](CallContext &c) { c.setResult(kindTable(c.db(), "delivery_kinds")); });
    d.add(MethodId::KargoVer,
          [](CallContext &c) { c.setResult(kindTable(c.db(), "cargo_kinds")); });
    d.add(MethodId::KargolarVer, [](CallContext &c) {
        Stmt st(c.db(), "SELECT SIRANO, ADI, UYARI, KARGOTURU FROM cargo_firms "
                        "WHERE KARGOTURU = ? ORDER BY SIRANO");
        st.bind(1, c.integer(0));
        c.setResult(tableFromQuery(st, {{"SIRANO", FieldType::Integer},
                                        {"ADI", FieldType::String, 60},
                                        {"UYARI", FieldType::String, 250},
                                        {"KARGOTURU", FieldType::Integer}}));
    });
    d.add(MethodId::SiparisKaydet, [](CallContext &c) {
        const int carino = c.integer(1);
        sqlite3 *db = c.db();
        // The chosen lines become one order; the order is saved whole or not at all.
        Transaction tx(db);
        Stmt count(db, "SELECT COUNT(*) FROM cart_lines WHERE CARINO = ? AND SEC = 1");
        count.bind(1, carino);
        count.step();
        Stmt kinds(db, "SELECT (SELECT COUNT(*) FROM delivery_kinds WHERE ID = ?1) + "
                       "(SELECT COUNT(*) FROM cargo_firms WHERE SIRANO = ?2 AND KARGOTURU = ?3)");
        kinds.bind(1, c.integer(2)).bind(2, c.integer(6)).bind(3, c.integer(3));
        kinds.step();
        if (carino <= 0 || count.integer(0) == 0 || kinds.integer(0) != 2) {
            c.setResult(false);
            return;
        }
        const double today = oleToday(db);
        const QString now = timeOfDay();
        Stmt order(db, R"sql(
            INSERT INTO orders (CARINO, TARIH, SAAT, TESLIMID, KARGOID, KARGOFIRMAID, ACIKLAMA,
                                VERENIDNO, DURUM)
            VALUES (?, ?, ?, ?, ?, ?, ?, ?, 2))sql");
        order.bind(1, carino).bind(2, today).bind(3, now).bind(4, c.integer(2));
        order.bind(5, c.integer(3)).bind(6, c.integer(6)).bind(7, c.text(4)).bind(8, c.integer(5));
        order.exec();
        const qint64 idno = sqlite3_last_insert_rowid(db);
        Stmt lines(db, R"sql(
            INSERT INTO order_lines (IDNO, SEPETSIRANO, STOKNO, BARKOD, STOKADI, MIKTAR,
                TESLIMEDILEN, KALAN, KDV, BIRIMFIYAT, ILKFIYAT, INDIRIMORANI1, INDIRIMORANI2,
                INDIRIMORANI3, INDIRIMORANI4, K, VERENIDNO, TARIH, SAAT)
            SELECT ?, SIRANO, STOKNO, BARKOD, STOKADI, MIKTAR, 0, MIKTAR, KDV, BIRIMFIYAT,
                   BIRIMFIYAT, INDIRIMORANI1, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, K,
                   VERENIDNO, ?, ?
            FROM cart_lines WHERE CARINO = ? AND SEC = 1 ORDER BY SIRANO)sql");
        lines.bind(1, idno).bind(2, today).bind(3, now).bind(4, carino);
        lines.exec();
        Stmt clear(db, "DELETE FROM cart_lines WHERE CARINO = ? AND SEC = 1");
        clear.bind(1, carino);
        clear.exec();
        tx.commit();
        c.setResult(true);
    });
    d.add(MethodId::CariVadeGunGecmismiBul, [](CallContext &c) {
        // Invoices whose due date has passed and that collections have not covered.
        sqlite3 *db = c.db();
        const double today = std::floor(oleToday(db));
        Stmt st(db, R"sql(
            SELECT COALESCE(SUM(BORC), 0) - COALESCE(SUM(ALACAK), 0),
                   COALESCE(SUM(CASE WHEN BORC > 0 AND VADETARIHI < ?2 THEN BORC END), 0),
                   MIN(CASE WHEN BORC > 0 AND VADETARIHI < ?2 THEN VADETARIHI END)
            FROM statement WHERE CARINO = ?1)sql");
        st.bind(1, c.integer(0)).bind(2, today);
        QString text;
        if (st.step()) {
            const double balance = st.real(0), overdueInvoices = st.real(1);
            Stmt paid(db, "SELECT COALESCE(SUM(ALACAK), 0) FROM statement WHERE CARINO = ?");
            paid.bind(1, c.integer(0));
            paid.step();
            const double overdue = std::min(balance, overdueInvoices - paid.real(0));
            if (overdue >= 0.01 && !st.isNull(2)) {
                const QLocale tr(QLocale::Turkish, QLocale::Turkey);
                const int days = int(today - st.real(2));
                text = QStringLiteral("Vadesi %1 gün geçmiş %2 TL bakiyeniz bulunmaktadır. "
                                      "Lütfen ödemenizi yapınız.")
                           .arg(days)
                           .arg(tr.toString(r2(overdue), 'f', 2));
            }
        }
        c.setResult(text);
    });
}

} // namespace zenvo::appserver
