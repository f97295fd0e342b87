// Previous orders, order lines and outstanding balances, the account statement with its
// invoices, collections and card receipts.
#include "appserver/accountdata.h"
#include "appserver/dispatch.h"
#include "appserver/pdf.h"
#include "appserver/tables.h"

#include <cmath>

namespace zenvo::appserver {

namespace {

// ---------------------------------------------------------------------------------------------
// Orders

std::unique_ptr<ResultTable> orderTable(const std::vector<OrderSummary> &orders) {
    auto t = emptyTable({
        {"CARINO", FieldType::Integer},
        {"IDNO", FieldType::Integer},
        {"TARIH", FieldType::DateTime},
        {"KUR", FieldType::String, 5},
        {"KURTL", FieldType::Double},
        {"VERENIDNO", FieldType::Integer},
        {"KARGO", FieldType::String, 50},
        {"TESLIM", FieldType::String, 50},
        {"VEREN", FieldType::String, 50},
        {"CARIKOD", FieldType::String, 25},
        {"CARIADI", FieldType::String, 100},
        {"VERGI", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"TUTAR", FieldType::Double},
        {"DURUM", FieldType::String, 100},
        {"KARGOADI", FieldType::String, 50},
        {"VERENINNOTU", FieldType::String, 500},
        {"ALANNOTU", FieldType::String, 500},
    });
    for (const OrderSummary &o : orders) {
        int c = 0;
        t->appendInt(c++, o.carino);
        t->appendInt(c++, o.idno);
        t->appendDouble(c++, o.tarih);
        t->appendString(c++, o.kur);
        t->appendDouble(c++, o.kurtl);
        t->appendInt(c++, o.verenidno);
        t->appendString(c++, o.kargo);
        t->appendString(c++, o.teslim);
        t->appendString(c++, o.veren);
        t->appendString(c++, o.carikod);
        t->appendString(c++, o.cariadi);
        t->appendDouble(c++, o.vergi);
        t->appendDouble(c++, o.net);
        t->appendDouble(c++, o.tutar);
        t->appendString(c++, o.durum);
        t->appendString(c++, o.kargoadi);
        t->appendString(c++, o.verenNotu);
        t->appendString(c++, o.alanNotu);
        t->commitRow();
    }
    return t;
}

// Order lines as the order detail, balances and all orders windows show them. Amounts are those
// of the ordered quantity; KALAN is what is still to be delivered.
const std::vector<Col> &orderLineColumns() {
    static const std::vector<Col> cols = {
        {"VERILISTARIHI", FieldType::DateTime},
        {"SIRANO", FieldType::Integer},
        {"SIPARISNO", FieldType::Integer},
        {"CARINO", FieldType::Integer},
        {"TARIH", FieldType::DateTime},
        {"AKTAR", FieldType::Integer},
        {"STOKNO", FieldType::Integer},
        {"BARKOD", FieldType::String, 30},
        {"FINISHKOD", FieldType::String, 40},
        {"OEMNO", FieldType::String, 40},
        {"STOKADI", FieldType::String, 100},
        {"MIKTAR", FieldType::Double},
        {"BIRIMFIYAT", FieldType::Double},
        {"ILKFIYAT", FieldType::Double},
        {"TUTAR", FieldType::Double},
        {"INDIRIMYAZI", FieldType::String, 30},
        {"INDIRIMORANI1", FieldType::Double},
        {"INDIRIMORANI2", FieldType::Double},
        {"INDIRIMORANI3", FieldType::Double},
        {"INDIRIMORANI4", FieldType::Double},
        {"INDIRIMTUTAR", FieldType::Double},
        {"NETBIRIMFIYAT", FieldType::Double},
        {"KDV", FieldType::Integer},
        {"VERGITUTARI", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"KUR", FieldType::String, 5},
        {"KURTL", FieldType::Double},
        {"VERENIDNO", FieldType::Integer},
        {"TESLIMID", FieldType::Integer},
        {"KARGOID", FieldType::Integer},
        {"IDNO", FieldType::Integer},
        {"VERENSIRANO", FieldType::Integer},
        {"SAAT", FieldType::String, 8},
        {"ACIKLAMA", FieldType::String, 100},
        {"VEREN", FieldType::String, 40},
        {"CARIKOD", FieldType::String, 30},
        {"CARIADI", FieldType::String, 100},
        {"OEM1", FieldType::String, 40},
        {"OEM2", FieldType::String, 40},
        {"OEM3", FieldType::String, 40},
        {"OEM4", FieldType::String, 40},
        {"STOK_STOKNO", FieldType::Integer},
        {"URETICIKODU", FieldType::String, 40},
        {"DIGERADI", FieldType::String, 100},
        {"DPKOD", FieldType::String, 30},
        {"PKOD", FieldType::String, 30},
        {"MARKA", FieldType::String, 40},
        {"MODEL", FieldType::String, 60},
        {"ANAGRUP", FieldType::String, 40},
        {"OZELKOD", FieldType::String, 30},
        {"TESLIM", FieldType::String, 50},
        {"KARGO", FieldType::String, 50},
        {"TESLIMEDILEN", FieldType::Double},
        {"KALAN", FieldType::Double},
        {"STOKHAR_NO", FieldType::Integer},
        {"ELDEKI", FieldType::Double},
        {"DURUM", FieldType::Integer},
        {"ALINANSIPARIS", FieldType::Double},
        {"VERILENSIPARIS", FieldType::Double},
    };
    return cols;
}

// `where` is a condition on order_lines l and orders o with ?1 and ?2 bound to a and b.
std::unique_ptr<ResultTable> orderLineTable(sqlite3 *db, const char *where, const char *order,
                                            int a, int b) {
    Stmt st(db, (std::string(R"sql(
        SELECT o.TARIH, l.SEPETSIRANO, l.IDNO, o.CARINO, l.TARIH, l.STOKNO, l.BARKOD,
               COALESCE(i.FINISHKOD, ''), COALESCE(i.OEMNO, ''), l.STOKADI, l.MIKTAR,
               l.BIRIMFIYAT, l.ILKFIYAT, l.INDIRIMORANI1, l.INDIRIMORANI2, l.INDIRIMORANI3,
               l.INDIRIMORANI4, l.KDV, o.KUR, o.KURTL, o.VERENIDNO, o.TESLIMID, o.KARGOID,
               l.SAAT, COALESCE(u.ADI, ''), COALESCE(a.CARIKOD, ''), COALESCE(a.CARIADI, ''),
               COALESCE(i.OEM1, ''), COALESCE(i.OEM2, ''), COALESCE(i.OEM3, ''),
               COALESCE(i.OEM4, ''), COALESCE(i.URETICIKODU, ''), COALESCE(i.DIGERADI, ''),
               COALESCE(i.DPKOD, ''), COALESCE(i.PKOD, ''), COALESCE(i.MARKA, ''),
               COALESCE(i.MODEL, ''), COALESCE(i.ANAGRUP, ''), COALESCE(i.OZELKOD, ''),
               COALESCE(dk.ADI, ''), COALESCE(ck.ADI, ''), l.TESLIMEDILEN, l.KALAN, l.STOKHAR_NO,
               COALESCE(i.KALAN, 0), COALESCE(i.DURUM, 0), COALESCE(i.ALINANSIPARIS, 0),
               COALESCE(i.VERILENSIPARIS, 0)
        FROM order_lines l
        JOIN orders o ON o.IDNO = l.IDNO
        LEFT JOIN items i ON i.STOK_STOKNO = l.STOKNO
        LEFT JOIN users u ON u.SIRANO = o.VERENIDNO
        LEFT JOIN accounts a ON a.CARINO = o.CARINO
        LEFT JOIN delivery_kinds dk ON dk.ID = o.TESLIMID
        LEFT JOIN cargo_kinds ck ON ck.ID = o.KARGOID
        WHERE )sql") +
                 where + " ORDER BY " + order)
                    .c_str());
    st.bind(1, a).bind(2, b);
    auto t = emptyTable(orderLineColumns());
    while (st.step()) {
        const double qty = st.real(10), price = st.real(11), kdv = st.real(17);
        const double rates[4] = {st.real(13), st.real(14), st.real(15), st.real(16)};
        const LineAmounts am = lineAmounts(qty, price, rates, kdv);
        int c = 0;
        auto text = [&](int q) { t->appendString(c++, st.text(q)); };
        t->appendDouble(c++, st.real(0));  // VERILISTARIHI
        t->appendInt(c++, st.integer(1));  // SIRANO
        t->appendInt(c++, st.integer(2));  // SIPARISNO
        t->appendInt(c++, st.integer(3));  // CARINO
        t->appendDouble(c++, st.real(4));  // TARIH
        t->appendInt(c++, 0);              // AKTAR
        t->appendInt(c++, st.integer(5));  // STOKNO
        text(6);                           // BARKOD
        text(7);                           // FINISHKOD
        text(8);                           // OEMNO
        text(9);                           // STOKADI
        t->appendDouble(c++, qty);         // MIKTAR
        t->appendDouble(c++, price);       // BIRIMFIYAT
        t->appendDouble(c++, st.real(12)); // ILKFIYAT
        t->appendDouble(c++, am.gross);    // TUTAR
        t->appendString(c++, discountText(rates[0], rates[1], rates[2], rates[3]));
        for (double r : rates)
            t->appendDouble(c++, r);
        t->appendDouble(c++, am.discount); // INDIRIMTUTAR
        t->appendDouble(c++, am.netUnit);  // NETBIRIMFIYAT
        t->appendInt(c++, qint64(kdv));    // KDV
        t->appendDouble(c++, am.vat);      // VERGITUTARI
        t->appendDouble(c++, am.net);      // NETTUTAR
        text(18);                          // KUR
        t->appendDouble(c++, st.real(19)); // KURTL
        t->appendInt(c++, st.integer(20)); // VERENIDNO
        t->appendInt(c++, st.integer(21)); // TESLIMID
        t->appendInt(c++, st.integer(22)); // KARGOID
        t->appendInt(c++, st.integer(2));  // IDNO
        t->appendInt(c++, st.integer(20)); // VERENSIRANO
        text(23);                          // SAAT
        text(9);                           // ACIKLAMA: the line's description
        for (int q = 24; q <= 30; ++q)     // VEREN, CARIKOD, CARIADI, OEM1 ... OEM4
            text(q);
        t->appendInt(c++, st.integer(5)); // STOK_STOKNO
        for (int q = 31; q <= 40; ++q)    // URETICIKODU ... KARGO
            text(q);
        t->appendDouble(c++, st.real(41)); // TESLIMEDILEN
        t->appendDouble(c++, st.real(42)); // KALAN
        t->appendInt(c++, st.integer(43)); // STOKHAR_NO
        t->appendDouble(c++, st.real(44)); // ELDEKI
        t->appendInt(c++, st.integer(45)); // DURUM
        t->appendDouble(c++, st.real(46)); // ALINANSIPARIS
        t->appendDouble(c++, st.real(47)); // VERILENSIPARIS
        t->commitRow();
    }
    return t;
}

std::unique_ptr<TSiparisDipAyrinti> orderFooter(sqlite3 *db, int carino, int idno) {
    auto rec = std::make_unique<TSiparisDipAyrinti>();
    // The client asks with account 0; a non-zero account must own the order.
    Stmt st(db, R"sql(
        SELECT COALESCE(st.ADI, ''), COALESCE(dk.ADI, ''), COALESCE(ck.ADI, ''),
               COALESCE(cf.ADI, ''), COALESCE(u.ADI, ''), o.ACIKLAMA, o.ALANNOTU, o.SATICINOTU
        FROM orders o
        LEFT JOIN order_statuses st ON st.DURUM = o.DURUM
        LEFT JOIN delivery_kinds dk ON dk.ID = o.TESLIMID
        LEFT JOIN cargo_kinds ck ON ck.ID = o.KARGOID
        LEFT JOIN cargo_firms cf ON cf.SIRANO = o.KARGOFIRMAID
        LEFT JOIN users u ON u.SIRANO = o.VERENIDNO
        WHERE o.IDNO = ?1 AND (?2 = 0 OR o.CARINO = ?2))sql");
    st.bind(1, idno).bind(2, carino);
    if (st.step()) {
        rec->SetDurumu(st.text(0));
        rec->SetTeslimCinsi(st.text(1));
        rec->SetKargoCinsi(st.text(2));
        rec->SetKargo(st.text(3));
        rec->SetVeren(st.text(4));
        rec->SetSizinMesaj(st.text(5));
        rec->SetBizimMesaj(st.text(6));
        rec->SetSaticiNotu(st.text(7));
    }
    return rec;
}

// ---------------------------------------------------------------------------------------------
// Balance changes

enum class BalanceChange { Delete, Quantity, Price };

// Parameters: session, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod[, fiyat, ind].
// The line is named by its order line number; a non-zero stock or cart line number must match
// it. Only the outstanding quantity (and for Price the price and discount) changes; Adet and
// Bakiye of a price change carry the ordered quantity and are not a new balance. 1 when the
// line changed or already had the asked values, 0 when the change was refused.
qint64 changeBalance(CallContext &c, BalanceChange kind) {
    sqlite3 *db = c.db();
    const TSonucBilgisi *s = c.session(0);
    const Viewer v = viewerOf(db, s);
    if (!s || !v.valid)
        return 0;
    const int stokno = c.integer(1), cartLine = c.integer(2), lineNo = c.integer(3);
    Transaction tx(db);
    Stmt line(db, R"sql(
        SELECT l.STOKNO, l.SEPETSIRANO, l.MIKTAR, l.TESLIMEDILEN, l.KALAN, o.CARINO
        FROM order_lines l JOIN orders o ON o.IDNO = l.IDNO
        WHERE l.STOKHAR_NO = ?)sql");
    line.bind(1, lineNo);
    if (!line.step())
        return 0;
    const int carino = line.integer(5);
    const double kalan = line.real(4);
    const double open = line.real(2) - line.real(3);
    if ((stokno != 0 && stokno != line.integer(0)) ||
        (cartLine != 0 && cartLine != line.integer(1)) || carino != s->CARINO() ||
        !mayActFor(db, v, carino) || kalan <= 0)
        return 0;

    double newKalan = kalan;
    switch (kind) {
    case BalanceChange::Delete:
        newKalan = 0;
        break;
    case BalanceChange::Quantity: {
        // A balance can be lowered, or raised back up to what is still undelivered.
        const double wanted = c.real(5);
        if (!std::isfinite(wanted) || wanted < 0 || wanted > open + 1e-9)
            return 0;
        newKalan = wanted;
        break;
    }
    case BalanceChange::Price: {
        const double price = c.real(7), rate = c.real(8);
        // Prices are the business of representatives with price authority.
        if (v.type != 2 || !std::isfinite(price) || price < 0 || price > 1e9 ||
            !std::isfinite(rate) || rate < 0 || rate > 100)
            return 0;
        // The one rate the dialog shows replaces every discount, so the net price is the one
        // the user saw before sending.
        Stmt up(db, "UPDATE order_lines SET BIRIMFIYAT = ?, INDIRIMORANI1 = ?, "
                    "INDIRIMORANI2 = 0, INDIRIMORANI3 = 0, INDIRIMORANI4 = 0 "
                    "WHERE STOKHAR_NO = ?");
        up.bind(1, r2(price)).bind(2, rate).bind(3, lineNo);
        up.exec();
        break;
    }
    }
    if (newKalan != kalan) {
        Stmt up(db, "UPDATE order_lines SET KALAN = ? WHERE STOKHAR_NO = ?");
        up.bind(1, newKalan).bind(2, lineNo);
        up.exec();
        // The item's open customer orders follow the balance.
        Stmt item(db, "UPDATE items SET ALINANSIPARIS = MAX(0, ALINANSIPARIS - ?) "
                      "WHERE STOK_STOKNO = ?");
        item.bind(1, kalan - newKalan).bind(2, line.integer(0));
        item.exec();
    }
    tx.commit();
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Statement and documents

std::unique_ptr<ResultTable> statementTable(sqlite3 *db, int carino) {
    Stmt st(db, "SELECT CARINO, TARIH, TURADI, EVRAK, BORC, ALACAK, KUR, IDNO, ACIKLAMA "
                "FROM statement WHERE CARINO = ? ORDER BY TARIH, IDNO");
    st.bind(1, carino);
    auto t = emptyTable({
        {"CARINO", FieldType::Integer},
        {"TARIH", FieldType::DateTime},
        {"TURADI", FieldType::String, 50},
        {"EVRAK", FieldType::String, 30},
        {"BORC", FieldType::Double},
        {"ALACAK", FieldType::Double},
        {"KUR", FieldType::String, 5},
        {"BAKIYE", FieldType::Double},
        {"D", FieldType::String, 1},
        {"IDNO", FieldType::Integer},
        {"ACIKLAMA", FieldType::String, 200},
    });
    double balance = 0;
    while (st.step()) {
        const double debit = st.real(4), credit = st.real(5);
        balance = r2(balance + debit - credit);
        int c = 0;
        t->appendInt(c++, st.integer(0));
        t->appendDouble(c++, st.real(1));
        t->appendString(c++, st.text(2));
        t->appendString(c++, st.text(3));
        t->appendDouble(c++, debit);
        t->appendDouble(c++, credit);
        t->appendString(c++, st.text(6));
        t->appendDouble(c++, balance);
        t->appendString(c++, balanceSide(balance));
        t->appendInt(c++, st.integer(7));
        t->appendString(c++, st.text(8));
        t->commitRow();
    }
    return t;
}

std::unique_ptr<ResultTable> invoiceLines(sqlite3 *db, int carino, int idno) {
    Stmt st(db, R"sql(
        SELECT COALESCE(i.OEMNO, ''), v.STOKADI, COALESCE(i.FINISHKOD, ''), COALESCE(i.MARKA, ''),
               COALESCE(i.MODEL, ''), COALESCE(i.ANAGRUP, ''), COALESCE(i.OZELKOD, ''),
               COALESCE(i.BIRIM, 'ADET'), COALESCE(i.BARKOD, ''), s.TARIH, s.TURADI, s.EVRAK,
               v.MIKTAR, v.BIRIMFIYAT, v.VERGI, v.TUTAR, v.IRSALIYEEVRAKNO, v.IRSALIYETARIHI,
               v.INDIRIM1, v.INDIRIM2, v.KDV, v.ACIKLAMA, v.TOPLAMINDIRIM, v.NETBIRIMFIYAT,
               v.NETTUTAR, s.VADEGUN, v.SIPARISEVRAKNO, v.SIPARISTARIHI, s.ALACAK > 0,
               COALESCE(a.CARIKOD, ''), s.CARINO, COALESCE(r.SATICIADI, ''),
               COALESCE(i.URETICIKODU, ''), COALESCE(i.DPKOD, ''), COALESCE(i.DIGERADI, ''),
               COALESCE(i.PKOD, ''), v.IDNO
        FROM invoice_lines v
        JOIN statement s ON s.IDNO = v.IDNO
        LEFT JOIN items i ON i.STOK_STOKNO = v.STOKNO
        LEFT JOIN accounts a ON a.CARINO = s.CARINO
        LEFT JOIN sales_reps r ON r.SATICINO = s.SATICINO
        WHERE v.IDNO = ? AND s.CARINO = ?
        ORDER BY v.SIRA)sql");
    st.bind(1, idno).bind(2, carino);
    std::vector<Col> cols = {
        {"OEMNO", FieldType::String, 40},
        {"STOKADI", FieldType::String, 100},
        {"FINISHKOD", FieldType::String, 40},
        {"MARKA", FieldType::String, 40},
        {"MODEL", FieldType::String, 60},
        {"ANAGRUP", FieldType::String, 40},
        {"OZELKOD", FieldType::String, 30},
        {"BIRIM", FieldType::String, 10},
        {"BARKOD", FieldType::String, 30},
        {"STOKHAR_HAREKETTARIHI", FieldType::DateTime},
        {"STOKHAR_HAREKETTIPI2", FieldType::String, 50},
        {"EVRAKNO", FieldType::String, 30},
        {"STOKHAR_MIKTAR", FieldType::Double},
        {"STOKHAR_TLBIRIMFIYATI", FieldType::Double},
        {"STOKHAR_TLVERGI", FieldType::Double},
        {"STOKHAR_TLTUTAR", FieldType::Double},
        {"IRSALIYEEVRAKNO", FieldType::String, 30},
        {"STOKHAR_IRSTARIHI", FieldType::DateTime},
        {"STOKHAR_INDIRIM1", FieldType::Double},
        {"STOKHAR_INDIRIM2", FieldType::Double},
        {"KDV", FieldType::Integer},
        {"SATIRACIKLMASI", FieldType::String, 200},
        {"STOKHAR_TOPLAMINDIRIM", FieldType::Double},
        {"STOKHAR_TOPLAMMASRAF", FieldType::Double},
        {"STOKHAR_SAAT", FieldType::String, 8},
        {"STOKHAR_NETTLBIRIMFIYATI", FieldType::Double},
        {"STOKHAR_NETTLTUTAR", FieldType::Double},
        {"STOKHAR_VADE", FieldType::Integer},
        {"SIPARISEVRAKNO", FieldType::String, 30},
        {"SIPARISTARIHI", FieldType::DateTime},
        {"IRSALIYETIP2", FieldType::String, 50},
    };
    for (const char *name :
         {"STOKHAR_INDIRIM3", "STOKHAR_INDIRIM4", "STOKHAR_INDIRIM5", "STOKHAR_INDIRIM6",
          "STOKHAR_INDIRIM7", "STOKHAR_INDIRIM8", "STOKHAR_DOVIZBIRIMFIYATI", "STOKHAR_DOVIZVERGI",
          "STOKHAR_DOVIZTUTAR"})
        cols.push_back({name, FieldType::Double});
    for (const char *name : {"STOKHAR_PARTI", "STOKHAR_BEDEN", "STOKHAR_RENK"})
        cols.push_back({name, FieldType::String, 20});
    for (const char *name : {"STOKHAR_MASRAF1", "STOKHAR_MASRAF2", "STOKHAR_DOVIZTOPLAMINDIRIM",
                             "STOKHAR_DOVIZTOPLAMMASRAF", "STOKHAR_NETDOVIZBIRIMFIYATI",
                             "STOKHAR_NETDOVIZTUTAR", "STOKHAR_KURTL"})
        cols.push_back({name, FieldType::Double});
    const std::vector<Col> tail = {
        {"SIPARISTIPI", FieldType::Integer},    {"IRSALIYETIPINO", FieldType::Integer},
        {"STOKCARIKOD", FieldType::String, 30}, {"SUBE_NO", FieldType::Integer},
        {"STOKHAR_CARINO", FieldType::Integer}, {"KUR_KURSIMGE", FieldType::String, 5},
        {"SATICIADI", FieldType::String, 50},   {"URETICIKODU", FieldType::String, 40},
        {"DPKOD", FieldType::String, 30},       {"ENADI", FieldType::String, 100},
        {"PKOD", FieldType::String, 30},        {"BELGENO", FieldType::String, 30},
        {"IDNO", FieldType::Integer},
    };
    cols.insert(cols.end(), tail.begin(), tail.end());
    auto t = emptyTable(cols);
    while (st.step()) {
        const bool isReturn = st.integer(28) != 0;
        int c = 0;
        auto text = [&](int q) { t->appendString(c++, st.text(q)); };
        auto real = [&](int q) { t->appendDouble(c++, st.real(q)); };
        for (int q = 0; q <= 8; ++q) // OEMNO ... BARKOD
            text(q);
        real(9);  // STOKHAR_HAREKETTARIHI
        text(10); // STOKHAR_HAREKETTIPI2
        text(11); // EVRAKNO
        for (int q = 12; q <= 15; ++q)
            real(q); // MIKTAR, TLBIRIMFIYATI, TLVERGI, TLTUTAR
        text(16);    // IRSALIYEEVRAKNO
        real(17);    // STOKHAR_IRSTARIHI
        real(18);    // STOKHAR_INDIRIM1
        real(19);    // STOKHAR_INDIRIM2
        t->appendInt(c++, qint64(st.real(20)));
        text(21);                 // SATIRACIKLMASI
        real(22);                 // STOKHAR_TOPLAMINDIRIM
        t->appendDouble(c++, 0);  // STOKHAR_TOPLAMMASRAF
        t->appendString(c++, {}); // STOKHAR_SAAT
        real(23);                 // STOKHAR_NETTLBIRIMFIYATI
        real(24);                 // STOKHAR_NETTLTUTAR
        t->appendInt(c++, st.integer(25));
        text(26); // SIPARISEVRAKNO
        real(27); // SIPARISTARIHI
        t->appendString(c++, isReturn ? QStringLiteral("İade İrsaliyesi")
                                      : QStringLiteral("Satış İrsaliyesi"));
        for (int k = 0; k < 9; ++k) // discounts 3 to 8, foreign currency amounts
            t->appendDouble(c++, 0);
        for (int k = 0; k < 3; ++k)
            t->appendString(c++, {});
        for (int k = 0; k < 6; ++k) // costs, foreign currency discounts and nets
            t->appendDouble(c++, 0);
        t->appendDouble(c++, 1);             // STOKHAR_KURTL
        t->appendInt(c++, isReturn ? 2 : 1); // SIPARISTIPI
        t->appendInt(c++, isReturn ? 2 : 1); // IRSALIYETIPINO
        text(29);                            // STOKCARIKOD
        t->appendInt(c++, 0);                // SUBE_NO
        t->appendInt(c++, st.integer(30));   // STOKHAR_CARINO
        t->appendString(c++, QStringLiteral("TL"));
        for (int q = 31; q <= 35; ++q) // SATICIADI, URETICIKODU, DPKOD, ENADI, PKOD
            text(q);
        text(11); // BELGENO
        t->appendInt(c++, st.integer(36));
        t->commitRow();
    }
    return t;
}

std::unique_ptr<ResultTable> collectionRows(sqlite3 *db, int idno) {
    Stmt st(db, "SELECT TARIH, TURU, CINS, EVRAKNO, VADE, TUTAR, KUR, KURTL, ACIKLAMA, "
                "DOVIZTUTAR, REF, SAAT FROM collections WHERE IDNO = ? ORDER BY ID");
    st.bind(1, idno);
    // The window shows these names as its headers, so they are Turkish words (not Latin-1).
    const std::vector<FieldDef> fields = {
        {QStringLiteral("Tarih"), FieldType::DateTime},
        {QStringLiteral("Türü"), FieldType::String, 30},
        {QStringLiteral("Cins"), FieldType::String, 30},
        {QStringLiteral("EvrakNo"), FieldType::String, 30},
        {QStringLiteral("Vade"), FieldType::DateTime},
        {QStringLiteral("Tutar"), FieldType::Double},
        {QStringLiteral("Kur"), FieldType::String, 5},
        {QStringLiteral("KurTL"), FieldType::Double},
        {QStringLiteral("Açıklama"), FieldType::String, 200},
        {QStringLiteral("Döviz Tutar"), FieldType::Double},
        {QStringLiteral("Ref"), FieldType::String, 30},
        {QStringLiteral("Saat"), FieldType::String, 8},
    };
    auto t = std::make_unique<ResultTable>();
    for (const FieldDef &f : fields)
        t->addField(f);
    while (st.step()) {
        for (int c = 0; c < int(fields.size()); ++c) {
            if (fields[std::size_t(c)].type == FieldType::String)
                t->appendString(c, st.text(c));
            else
                t->appendDouble(c, st.real(c));
        }
        t->commitRow();
    }
    return t;
}

QByteArray cardReceipt(sqlite3 *db, int sirano) {
    Stmt st(db, R"sql(
        SELECT p.SIRANO, p.TARIH, p.TUTAR, p.KARTNO, p.ONAYKODU, s.EVRAK, s.ACIKLAMA,
               a.CARIKOD, a.CARIADI, a.VERGIDAIRESI, a.VERGINO
        FROM virtual_pos p
        JOIN statement s ON s.IDNO = p.IDNO
        LEFT JOIN accounts a ON a.CARINO = s.CARINO
        WHERE p.SIRANO = ?)sql");
    st.bind(1, sirano);
    if (!st.step())
        return {};
    PdfDocument doc(settingText(db, "firma"), QStringLiteral("SANAL POS ÖDEME MAKBUZU"));
    doc.fields({
        {QStringLiteral("Makbuz No"), QString::number(st.integer(0))},
        {QStringLiteral("İşlem Tarihi"), pdfDateTime(st.real(1))},
        {QStringLiteral("Evrak No"), st.text(5)},
    });
    doc.heading(QStringLiteral("Ödeyen"));
    doc.fields({
        {QStringLiteral("Cari Kod"), st.text(7)},
        {QStringLiteral("Cari Adı"), st.text(8)},
        {QStringLiteral("Vergi Dairesi / No"), st.text(9) + QStringLiteral(" / ") + st.text(10)},
    });
    doc.heading(QStringLiteral("Ödeme"));
    doc.fields({
        {QStringLiteral("Tutar"), pdfMoney(st.real(2)) + QStringLiteral(" TL")},
        {QStringLiteral("Kart No"), st.text(3)},
        {QStringLiteral("Onay Kodu"), st.text(4)},
        {QStringLiteral("Açıklama"), st.text(6)},
    });
    doc.paragraph(QStringLiteral("Bu makbuz, kredi kartı ile yapılan tahsilatın elektronik "
                                 "kaydıdır. Tutar cari hesabınıza alacak olarak işlenmiştir."));
    return doc.render();
}

} // namespace

void addAccountMethods(Dispatcher &d) {
    d.add(MethodId::OncekiSiparisler, [](CallContext &c) {
        c.setResult(orderTable(orderSummaries(c.db(), "o.CARINO = ?1", c.integer(0))));
    });
    d.add(MethodId::SiparisAyrintisi2, [](CallContext &c) {
        c.setResult(orderLineTable(c.db(), "o.CARINO = ?1 AND o.IDNO = ?2", "l.STOKHAR_NO",
                                   c.integer(0), c.integer(1)));
    });
    d.add(MethodId::SiparisAytintisiDip, [](CallContext &c) {
        c.setResult(std::unique_ptr<TRecord>(orderFooter(c.db(), c.integer(0), c.integer(1))));
    });
    d.add(MethodId::TumSiparislerVer, [](CallContext &c) {
        c.setResult(orderLineTable(c.db(), "o.CARINO = ?1 AND (?2 = 0 OR l.STOKNO = ?2)",
                                   "o.TARIH DESC, o.IDNO DESC, l.STOKHAR_NO", c.integer(0),
                                   c.integer(1)));
    });
    d.add(MethodId::BakiyelerVer2, [](CallContext &c) {
        c.setResult(orderLineTable(c.db(), "o.CARINO = ?1 AND l.KALAN > 0",
                                   "o.TARIH, o.IDNO, l.STOKHAR_NO", c.integer(0), 0));
    });
    d.add(MethodId::BakiyeDuzenle,
          [](CallContext &c) { c.setResult(changeBalance(c, BalanceChange::Delete)); });
    d.add(MethodId::BakiyeDegistir,
          [](CallContext &c) { c.setResult(changeBalance(c, BalanceChange::Quantity)); });
    d.add(MethodId::BakiyeFiyatDegistir,
          [](CallContext &c) { c.setResult(changeBalance(c, BalanceChange::Price)); });

    d.add(MethodId::CariEkstreVer,
          [](CallContext &c) { c.setResult(statementTable(c.db(), c.integer(0))); });
    d.add(MethodId::FaturaGetir,
          [](CallContext &c) { c.setResult(invoiceLines(c.db(), c.integer(0), c.integer(1))); });
    d.add(MethodId::FaturaAltGetir, [](CallContext &c) {
        Stmt st(c.db(), "SELECT TOPLAM, TOPLAMINDIRIM, MATRAH, KDVTUTAR, KDVDAHIL "
                        "FROM invoice_totals WHERE IDNO = ?");
        st.bind(1, c.integer(0));
        c.setResult(tableFromQuery(st, {{"TOPLAM", FieldType::Double},
                                        {"TOPLAMINDIRIM", FieldType::Double},
                                        {"MATRAH", FieldType::Double},
                                        {"KDVTUTAR", FieldType::Double},
                                        {"KDVDAHIL", FieldType::Double}}));
    });
    d.add(MethodId::Tahsilat,
          [](CallContext &c) { c.setResult(collectionRows(c.db(), c.integer(0))); });
    d.add(MethodId::SanalposSiranoVer, [](CallContext &c) {
        Stmt st(c.db(), "SELECT SIRANO FROM virtual_pos WHERE IDNO = ?");
        st.bind(1, c.integer(0));
        c.setResult(qint64(st.step() ? st.integer(0) : 0));
    });
    d.add(MethodId::SAnalPosPdfVer, [](CallContext &c) {
        const QByteArray pdf = cardReceipt(c.db(), c.integer(0));
        c.setResult(pdf);
        c.setOut(1, qint64(pdf.size()));
    });
}

} // namespace zenvo::appserver
