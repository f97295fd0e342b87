// Customer selection for sales representatives, order status counters and the reports.
#include "appserver/accountdata.h"
#include "appserver/dispatch.h"
#include "appserver/pdf.h"
#include "appserver/schema.h"
#include "appserver/tables.h"
#include "server/oledate.h"

#include <cmath>
#include <map>

namespace zenvo::appserver {

namespace {

// Order status codes as the status buttons send them.
constexpr int kCartStatus = 1;
constexpr int kFirstOrderStatus = 2; // received
constexpr int kLastOrderStatus = 7;  // shipped

// Both account lists fill the same client table: one column set for both.
const std::vector<Col> &accountColumns() {
    static const std::vector<Col> cols = [] {
        std::vector<Col> c = {
            {"CARINO", FieldType::Integer},      {"CARIKOD", FieldType::String, 30},
            {"CARIADI", FieldType::String, 100}, {"SATICISI", FieldType::String, 50},
            {"TLBAKIYE", FieldType::Double},     {"DURUM", FieldType::String, 1},
        };
        for (const char *name : {"OZELKOD", "KOD1", "KOD2", "KOD3", "KOD4", "KOD5", "TEL1", "TEL2",
                                 "ILCE", "IL", "GSM"})
            c.push_back({name, FieldType::String, 50});
        c.push_back({"SEPET", FieldType::Integer});
        c.push_back({"YETKILI", FieldType::String, 50});
        c.push_back({"INDIRIM", FieldType::Double});
        for (const char *name : {"VADE", "VADEKONTROLGUN", "VADEKONTROLAY"})
            c.push_back({name, FieldType::Integer});
        for (const char *name : {"VERGIDAIRESI", "VERGINO", "ADRES1", "ADRES2", "ANAGRUP",
                                 "ALTGRUP", "FAX1", "FAX2", "EMAIL"})
            c.push_back({name, FieldType::String, 100});
        for (const char *name :
             {"ALINDI", "ONAYLANDI", "GORULDU", "HAZIRLANDI", "PARCALIHAZIRLANDI", "SEVKEDILDI"})
            c.push_back({name, FieldType::Integer});
        return c;
    }();
    return cols;
}

// Active accounts the viewer may see that also meet `filter` (a condition on accounts a).
// `words` are bound as ?1, ?2, ... for LIKE patterns of the filter.
std::unique_ptr<ResultTable> accountTable(sqlite3 *db, const Viewer &v, const std::string &filter,
                                          const QStringList &words = {}) {
    auto count = [](int status) {
        return "(SELECT COUNT(*) FROM orders o WHERE o.CARINO = a.CARINO AND o.DURUM = " +
               std::to_string(status) + ")";
    };
    const std::string sql =
        R"sql(
        SELECT a.CARINO, a.CARIKOD, a.CARIADI, COALESCE(r.SATICIADI, ''),
               (SELECT COALESCE(SUM(s.BORC), 0) - COALESCE(SUM(s.ALACAK), 0) FROM statement s
                WHERE s.CARINO = a.CARINO),
               a.OZELKOD, a.KOD1, a.KOD2, a.KOD3, a.KOD4, a.KOD5, a.TEL1, a.TEL2, a.ILCE, a.IL,
               a.GSM, (SELECT COUNT(*) FROM cart_lines c WHERE c.CARINO = a.CARINO), a.YETKILI,
               a.IND1, a.IND2, a.IND3, a.IND4, a.VADE, a.VADEKONTROLGUN, a.VADEKONTROLAY,
               a.VERGIDAIRESI, a.VERGINO, a.ADRES1, a.ADRES2, a.ANAGRUP, a.ALTGRUP, a.FAX1,
               a.FAX2, a.EMAIL, )sql" +
        count(2) + ", " + count(3) + ", " + count(4) + ", " + count(6) + ", " + count(5) + ", " +
        count(7) + R"sql(
        FROM accounts a LEFT JOIN sales_reps r ON r.SATICINO = a.SATICINO
        WHERE a.AKTIF = 1 AND )sql" +
        visibleAccounts(v) + " AND " + filter + " ORDER BY a.CARIKOD";
    Stmt st(db, sql.c_str());
    for (int i = 0; i < words.size(); ++i)
        st.bind(i + 1, QStringLiteral("%") + words[i] + QStringLiteral("%"));
    auto t = emptyTable(accountColumns());
    while (st.step()) {
        const double balance = r2(st.real(4));
        const double rates[4] = {st.real(18), st.real(19), st.real(20), st.real(21)};
        int c = 0;
        t->appendInt(c++, st.integer(0));
        for (int q = 1; q <= 3; ++q)
            t->appendString(c++, st.text(q));
        t->appendDouble(c++, std::fabs(balance));
        t->appendString(c++, balanceSide(balance));
        for (int q = 5; q <= 15; ++q) // OZELKOD ... GSM
            t->appendString(c++, st.text(q));
        t->appendInt(c++, st.integer(16)); // SEPET
        t->appendString(c++, st.text(17)); // YETKILI
        // The combined rate of the account's successive discounts.
        t->appendDouble(c++, r2(100 - netPrice(100, rates[0], rates[1], rates[2], rates[3])));
        for (int q = 22; q <= 24; ++q)
            t->appendInt(c++, st.integer(q));
        for (int q = 25; q <= 33; ++q) // VERGIDAIRESI ... EMAIL
            t->appendString(c++, st.text(q));
        for (int q = 34; q <= 39; ++q) // order counts by status
            t->appendInt(c++, st.integer(q));
        t->commitRow();
    }
    return t;
}

std::unique_ptr<ResultTable> searchAccounts(sqlite3 *db, const Viewer &v, const QString &text) {
    QStringList words = foldSearchText(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words = words.mid(0, 10);
    std::string filter = "1";
    for (int i = 0; i < words.size(); ++i)
        filter += " AND a.ARAMA LIKE ?" + std::to_string(i + 1);
    return accountTable(db, v, filter, words);
}

std::unique_ptr<ResultTable> accountsByStatus(sqlite3 *db, const Viewer &v, int status) {
    std::string filter = "0";
    if (status == kCartStatus)
        filter = "EXISTS (SELECT 1 FROM cart_lines c WHERE c.CARINO = a.CARINO)";
    else if (status >= kFirstOrderStatus && status <= kLastOrderStatus)
        filter = "EXISTS (SELECT 1 FROM orders o WHERE o.CARINO = a.CARINO AND o.DURUM = " +
                 std::to_string(status) + ")";
    return accountTable(db, v, filter);
}

std::unique_ptr<TTusSonuclari> statusCounters(sqlite3 *db, const Viewer &v) {
    auto rec = std::make_unique<TTusSonuclari>();
    Stmt st(db, ("SELECT o.DURUM, COUNT(*) FROM orders o JOIN accounts a ON a.CARINO = o.CARINO "
                 "WHERE a.AKTIF = 1 AND " +
                 visibleAccounts(v) + " GROUP BY o.DURUM")
                    .c_str());
    while (st.step()) {
        const int n = st.integer(1);
        switch (st.integer(0)) {
        case 2:
            rec->SetAlindi(n);
            break;
        case 3:
            rec->SetOnaylandi(n);
            break;
        case 4:
            rec->SetGoruldu(n);
            break;
        case 5:
            rec->SetParcaliHazirlandi(n);
            break;
        case 6:
            rec->SetHazirlandi(n);
            break;
        case 7:
            rec->SetSevkEdildi(n);
            break;
        default:
            break;
        }
    }
    return rec;
}

// Whole-day range [from, to) of two client dates in either order; false for unusable dates.
bool dayRange(double a, double b, double &from, double &to) {
    double d1 = 0, d2 = 0;
    if (!wholeDay(a, d1) || !wholeDay(b, d2))
        return false;
    from = std::min(d1, d2);
    to = std::max(d1, d2) + 1;
    return true;
}

std::unique_ptr<ResultTable> receivedOrders(sqlite3 *db, const Viewer &v, double t1, double t2) {
    auto t = emptyTable({
        {"SATICIADI", FieldType::String, 50},
        {"IDNO", FieldType::Double},
        {"CARINO", FieldType::Integer},
        {"TARIH", FieldType::Date},
        {"KUR", FieldType::String, 5},
        {"KURTL", FieldType::Double},
        {"VERENIDNO", FieldType::Integer},
        {"KARGO", FieldType::String, 50},
        {"TESLIM", FieldType::String, 50},
        {"VEREN", FieldType::String, 50},
        {"CARIKOD", FieldType::String, 25},
        {"CARIADI", FieldType::String, 100},
        {"DURUM", FieldType::String, 100},
        {"KARGOADI", FieldType::String, 50},
        {"VERGI", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"TUTAR", FieldType::Double},
    });
    double from = 0, to = 0;
    if (!v.valid || !dayRange(t1, t2, from, to))
        return t;
    const auto orders =
        orderSummaries(db, visibleAccounts(v) + " AND o.TARIH >= ?1 AND o.TARIH < ?2", from, to);
    for (const OrderSummary &o : orders) {
        int c = 0;
        t->appendString(c++, o.saticiadi);
        t->appendDouble(c++, o.idno);
        t->appendInt(c++, o.carino);
        t->appendDouble(c++, std::floor(o.tarih));
        t->appendString(c++, o.kur);
        t->appendDouble(c++, o.kurtl);
        t->appendInt(c++, o.verenidno);
        for (const QString *s :
             {&o.kargo, &o.teslim, &o.veren, &o.carikod, &o.cariadi, &o.durum, &o.kargoadi})
            t->appendString(c++, *s);
        t->appendDouble(c++, o.vergi);
        t->appendDouble(c++, o.net);
        t->appendDouble(c++, o.tutar);
        t->commitRow();
    }
    return t;
}

// Items invoiced between the dates, returns deducted, most sold first.
std::unique_ptr<ResultTable> soldItems(sqlite3 *db, const Viewer &v, double t1, double t2) {
    auto t = emptyTable({
        {"BARKOD", FieldType::String, 50},
        {"KOD", FieldType::String, 50},
        {"ADI", FieldType::String, 100},
        {"DEPARTMAN", FieldType::String, 50},
        {"MIKTAR", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"TLVERGI", FieldType::Double},
        {"TUTAR", FieldType::Double},
    });
    double from = 0, to = 0;
    if (!v.valid || !dayRange(t1, t2, from, to))
        return t;
    Stmt st(db, (R"sql(
        SELECT COALESCE(i.BARKOD, ''), COALESCE(i.KOD, ''), COALESCE(i.ADI, MAX(v.STOKADI)),
               COALESCE(i.DEPARTMAN, ''),
               SUM(CASE WHEN s.ALACAK > 0 THEN -v.MIKTAR ELSE v.MIKTAR END) AS qty,
               SUM(CASE WHEN s.ALACAK > 0 THEN -v.NETTUTAR ELSE v.NETTUTAR END) AS net,
               SUM(CASE WHEN s.ALACAK > 0 THEN -v.VERGI ELSE v.VERGI END)
        FROM invoice_lines v
        JOIN statement s ON s.IDNO = v.IDNO
        JOIN accounts a ON a.CARINO = s.CARINO
        LEFT JOIN items i ON i.STOK_STOKNO = v.STOKNO
        WHERE s.TARIH >= ?1 AND s.TARIH < ?2 AND )sql" +
                 visibleAccounts(v) + " GROUP BY v.STOKNO ORDER BY qty DESC, net DESC")
                    .c_str());
    st.bind(1, from).bind(2, to);
    while (st.step()) {
        int c = 0;
        for (int q = 0; q <= 3; ++q)
            t->appendString(c++, st.text(q));
        const double net = r2(st.real(5)), vat = r2(st.real(6));
        t->appendDouble(c++, st.real(4));
        t->appendDouble(c++, net);
        t->appendDouble(c++, vat);
        t->appendDouble(c++, r2(net + vat));
        t->commitRow();
    }
    return t;
}

// ---------------------------------------------------------------------------------------------
// PDF reports

QString money(double v) {
    return pdfMoney(v);
}

QString sided(double balance) {
    return pdfMoney(std::fabs(balance)) + QLatin1Char(' ') + balanceSide(balance).trimmed();
}

struct AccountInfo {
    QString code, name, contact, address, phone, tax, rep;
    int term = 0;
};

bool accountInfo(sqlite3 *db, int carino, AccountInfo &info) {
    Stmt st(db, R"sql(
        SELECT a.CARIKOD, a.CARIADI, a.YETKILI, a.ADRES1, a.ADRES2, a.ILCE, a.IL, a.TEL1,
               a.VERGIDAIRESI, a.VERGINO, COALESCE(r.SATICIADI, ''), a.VADE
        FROM accounts a LEFT JOIN sales_reps r ON r.SATICINO = a.SATICINO
        WHERE a.CARINO = ?)sql");
    st.bind(1, carino);
    if (!st.step())
        return false;
    info.code = st.text(0);
    info.name = st.text(1);
    info.contact = st.text(2);
    QStringList address{st.text(3), st.text(4), st.text(5) + QStringLiteral(" / ") + st.text(6)};
    address.removeAll(QString());
    info.address = address.join(QStringLiteral(", "));
    info.phone = st.text(7);
    info.tax = st.text(8) + QStringLiteral(" / ") + st.text(9);
    info.rep = st.text(10);
    info.term = st.integer(11);
    return true;
}

PdfDocument::Fields accountFields(const AccountInfo &a, const QString &rep) {
    return {
        {QStringLiteral("Cari Kod"), a.code},
        {QStringLiteral("Cari Adı"), a.name},
        {QStringLiteral("Yetkili"), a.contact},
        {QStringLiteral("Adres"), a.address},
        {QStringLiteral("Telefon"), a.phone},
        {QStringLiteral("Vergi Dairesi / No"), a.tax},
        {QStringLiteral("Temsilci"), rep.trimmed().isEmpty() ? a.rep : rep.trimmed()},
        {QStringLiteral("Vade (Gün)"), QString::number(a.term)},
    };
}

// Report 6 for one account: balance and its due dates, recent movements, open order balances.
QByteArray accountSummary(sqlite3 *db, int carino, const QString &rep, double day) {
    AccountInfo info;
    if (!accountInfo(db, carino, info))
        return {};
    PdfDocument doc(settingText(db, "firma"), QStringLiteral("CARİ ÖZETİ"));
    doc.fields(accountFields(info, rep));
    doc.fields({{QStringLiteral("Rapor Tarihi"), pdfDate(day)}});

    Stmt sums(db, "SELECT COALESCE(SUM(BORC), 0), COALESCE(SUM(ALACAK), 0) FROM statement "
                  "WHERE CARINO = ? AND TARIH < ?");
    sums.bind(1, carino).bind(2, day + 1);
    sums.step();
    const Aging aging = accountAging(db, carino, day);
    doc.heading(QStringLiteral("Bakiye"));
    doc.fields({
        {QStringLiteral("Toplam Borç"), money(sums.real(0))},
        {QStringLiteral("Toplam Alacak"), money(sums.real(1))},
        {QStringLiteral("Bakiye"), sided(aging.balance)},
        {QStringLiteral("Vadesi Geçmiş"), money(aging.overdue)},
        {QStringLiteral("Vadesi Gelmemiş"), money(aging.notDue)},
        {QStringLiteral("En Eski Geciken Vade"), pdfDate(aging.oldestOverdueDue)},
    });

    Stmt mov(db, "SELECT TARIH, TURADI, EVRAK, VADETARIHI, BORC, ALACAK FROM statement "
                 "WHERE CARINO = ? AND TARIH < ? ORDER BY TARIH, IDNO");
    mov.bind(1, carino).bind(2, day + 1);
    QList<QStringList> rows;
    double balance = 0;
    while (mov.step()) {
        balance = r2(balance + mov.real(4) - mov.real(5));
        rows.append({pdfDate(mov.real(0)), mov.text(1), mov.text(2), pdfDate(mov.real(3)),
                     money(mov.real(4)), money(mov.real(5)), sided(balance)});
    }
    constexpr int kRecent = 15;
    if (rows.size() > kRecent)
        rows = rows.mid(rows.size() - kRecent);
    doc.heading(QStringLiteral("Son Hareketler"));
    doc.table({{QStringLiteral("Tarih"), 2},
               {QStringLiteral("Tür"), 3},
               {QStringLiteral("Evrak No"), 3},
               {QStringLiteral("Vade"), 2},
               {QStringLiteral("Borç"), 2, true},
               {QStringLiteral("Alacak"), 2, true},
               {QStringLiteral("Bakiye"), 3, true}},
              rows);

    Stmt open(db, R"sql(
        SELECT o.IDNO, o.TARIH, COALESCE(st.ADI, ''), l.KALAN, l.BIRIMFIYAT, l.INDIRIMORANI1,
               l.INDIRIMORANI2, l.INDIRIMORANI3, l.INDIRIMORANI4, l.KDV
        FROM order_lines l JOIN orders o ON o.IDNO = l.IDNO
        LEFT JOIN order_statuses st ON st.DURUM = o.DURUM
        WHERE o.CARINO = ? AND o.TARIH < ? AND l.KALAN > 0
        ORDER BY o.TARIH, o.IDNO)sql");
    open.bind(1, carino).bind(2, day + 1);
    QList<QStringList> orders;
    int lastOrder = -1, lines = 0;
    double qty = 0, amount = 0, totalAmount = 0;
    auto flush = [&](const QStringList &head) {
        if (lastOrder >= 0)
            orders.append(head + QStringList{QString::number(lines),
                                             QLocale(QLocale::Turkish).toString(qty, 'g', 10),
                                             money(amount)});
    };
    QStringList head;
    while (open.step()) {
        if (open.integer(0) != lastOrder) {
            flush(head);
            lastOrder = open.integer(0);
            head = {QString::number(lastOrder), pdfDate(open.real(1)), open.text(2)};
            lines = 0;
            qty = amount = 0;
        }
        const double rates[4] = {open.real(5), open.real(6), open.real(7), open.real(8)};
        const LineAmounts a = lineAmounts(open.real(3), open.real(4), rates, open.real(9));
        ++lines;
        qty += open.real(3);
        amount = r2(amount + a.net + a.vat);
        totalAmount = r2(totalAmount + a.net + a.vat);
    }
    flush(head);
    doc.heading(QStringLiteral("Açık Sipariş Bakiyeleri"));
    if (orders.isEmpty())
        doc.paragraph(QStringLiteral("Açık sipariş bakiyesi yok."));
    else
        doc.table({{QStringLiteral("Sipariş No"), 2},
                   {QStringLiteral("Tarih"), 2},
                   {QStringLiteral("Durum"), 3},
                   {QStringLiteral("Kalem"), 1, true},
                   {QStringLiteral("Kalan Miktar"), 2, true},
                   {QStringLiteral("Kalan Tutar (KDV Dahil)"), 3, true}},
                  orders, {QStringLiteral("Toplam"), {}, {}, {}, {}, money(totalAmount)});
    return doc.render();
}

// Report 6 over all accounts the viewer may see (or those of one representative).
QByteArray receivablesByDue(sqlite3 *db, const Viewer &v, const QString &rep, double day) {
    std::string filter = visibleAccounts(v);
    const QString repName = rep.trimmed();
    if (!repName.isEmpty() && repName != QLatin1String(".")) {
        // A representative's name, or the user name of a representative.
        Stmt who(db, "SELECT SATICINO FROM sales_reps WHERE SATICIADI = ?1 UNION "
                     "SELECT SATICINO FROM users WHERE ADI = ?1 AND MUSTERITIPI IN (1, 2)");
        who.bind(1, repName);
        if (!who.step())
            return {};
        filter += " AND a.SATICINO = " + std::to_string(who.integer(0));
    }
    Stmt st(db, ("SELECT a.CARINO, a.CARIKOD, a.CARIADI, COALESCE(r.SATICIADI, '') "
                 "FROM accounts a LEFT JOIN sales_reps r ON r.SATICINO = a.SATICINO "
                 "WHERE a.AKTIF = 1 AND " +
                 filter + " ORDER BY a.CARIKOD")
                    .c_str());
    QList<QStringList> rows;
    Aging total;
    while (st.step()) {
        const Aging a = accountAging(db, st.integer(0), day);
        total.balance += a.balance;
        total.overdue += a.overdue;
        total.notDue += a.notDue;
        rows.append(
            {st.text(1), st.text(2), st.text(3), sided(a.balance), money(a.overdue),
             money(a.notDue), pdfDate(a.oldestOverdueDue),
             a.oldestOverdueDue > 0 ? QString::number(int(day - a.oldestOverdueDue)) : QString()});
    }
    PdfDocument doc(settingText(db, "firma"), QStringLiteral("CARİ TOPLU ALACAK VADELERİ"));
    doc.setLandscape(true);
    doc.fields(
        {{QStringLiteral("Rapor Tarihi"), pdfDate(day)},
         {QStringLiteral("Temsilci"),
          repName.isEmpty() || repName == QLatin1String(".") ? QStringLiteral("Tümü") : repName}});
    doc.table({{QStringLiteral("Cari Kod"), 3},
               {QStringLiteral("Cari Adı"), 6},
               {QStringLiteral("Temsilci"), 4},
               {QStringLiteral("Bakiye"), 3, true},
               {QStringLiteral("Vadesi Geçmiş"), 3, true},
               {QStringLiteral("Vadesi Gelmemiş"), 3, true},
               {QStringLiteral("En Eski Vade"), 3},
               {QStringLiteral("Gecikme (Gün)"), 3, true}},
              rows,
              {QStringLiteral("Toplam"),
               {},
               {},
               sided(r2(total.balance)),
               money(r2(total.overdue)),
               money(r2(total.notDue)),
               {},
               {}});
    return doc.render();
}

// Report 7: the account's sales, returns, collections and payments per month and
// representative between two days.
QByteArray salesTable(sqlite3 *db, int carino, const QString &rep, double from, double to) {
    AccountInfo info;
    if (!accountInfo(db, carino, info))
        return {};
    struct Sums {
        double sales = 0, returns = 0, collected = 0, paid = 0;
    };
    std::map<std::pair<QString, QString>, Sums> months; // (yyyy-MM, representative)
    Stmt st(db, R"sql(
        SELECT s.TARIH, s.TURADI, s.BORC, s.ALACAK, COALESCE(r.SATICIADI, '')
        FROM statement s LEFT JOIN sales_reps r ON r.SATICINO = s.SATICINO
        WHERE s.CARINO = ? AND s.TARIH >= ? AND s.TARIH < ?
        ORDER BY s.TARIH, s.IDNO)sql");
    st.bind(1, carino).bind(2, from).bind(3, to);
    while (st.step()) {
        const double debit = st.real(2), credit = st.real(3);
        if (debit == 0 && credit == 0)
            continue;
        Sums &m = months[{FromOleDate(st.real(0)).date().toString(QStringLiteral("yyyy-MM")),
                          st.text(4)}];
        if (st.text(1).contains(QLatin1String("Fatura"))) {
            m.sales += debit;
            m.returns += credit;
        } else {
            m.paid += debit;
            m.collected += credit;
        }
    }
    QList<QStringList> rows;
    Sums total;
    for (const auto &[key, m] : months) {
        const QDate month = QDate::fromString(key.first, QStringLiteral("yyyy-MM"));
        rows.append({month.toString(QStringLiteral("MM.yyyy")), key.second, money(m.sales),
                     money(m.returns), money(r2(m.sales - m.returns)), money(m.collected),
                     money(m.paid)});
        total.sales += m.sales;
        total.returns += m.returns;
        total.collected += m.collected;
        total.paid += m.paid;
    }
    const double opening = accountBalance(db, carino, from);
    const double closing = accountBalance(db, carino, to);
    PdfDocument doc(settingText(db, "firma"), QStringLiteral("CARİ ALIŞ SATIŞ TABLOSU"));
    doc.fields(accountFields(info, rep));
    doc.fields({
        {QStringLiteral("Dönem"), pdfDate(from) + QStringLiteral(" - ") + pdfDate(to - 1)},
        {QStringLiteral("Dönem Başı Bakiye"), sided(opening)},
        {QStringLiteral("Dönem Sonu Bakiye"), sided(closing)},
    });
    doc.table({{QStringLiteral("Ay"), 2},
               {QStringLiteral("Temsilci"), 4},
               {QStringLiteral("Satış"), 3, true},
               {QStringLiteral("İade"), 3, true},
               {QStringLiteral("Net Satış"), 3, true},
               {QStringLiteral("Tahsilat"), 3, true},
               {QStringLiteral("Tediye"), 3, true}},
              rows,
              {QStringLiteral("Toplam"),
               {},
               money(r2(total.sales)),
               money(r2(total.returns)),
               money(r2(total.sales - total.returns)),
               money(r2(total.collected)),
               money(r2(total.paid))});
    return doc.render();
}

// raporno 6: an account's summary (carino > 0) or the receivables of all accounts (carino 0);
// raporno 7: an account's sales table between the dates. `idno` names the user asking.
QByteArray report(sqlite3 *db, int raporno, int idno, int carino, const QString &rep, double t1,
                  double t2) {
    const Viewer v = viewerBySirano(db, idno);
    double from = 0, to = 0;
    if (!v.valid || carino < 0 || !dayRange(t1, t2, from, to))
        return {};
    if (carino > 0 && !mayActFor(db, v, carino))
        return {};
    double day = 0;
    wholeDay(t1, day);
    if (raporno == 6)
        return carino > 0 ? accountSummary(db, carino, rep, day)
                          : receivablesByDue(db, v, rep, day);
    if (raporno == 7 && carino > 0)
        return salesTable(db, carino, rep, from, to);
    return {};
}

} // namespace

void addSalesRepMethods(Dispatcher &d) {
    d.add(MethodId::CariAra, [](CallContext &c) {
        c.setResult(searchAccounts(c.db(), viewerOf(c.db(), c.session(0)), c.text(1)));
    });
    d.add(MethodId::CariSepetVer, [](CallContext &c) {
        c.setResult(accountsByStatus(c.db(), viewerOf(c.db(), c.session(0)), c.integer(1)));
    });
    d.add(MethodId::SepetSayisi, [](CallContext &c) {
        const Viewer v = viewerOf(c.db(), c.session(0));
        Stmt st(c.db(),
                ("SELECT COUNT(*) FROM accounts a WHERE a.AKTIF = 1 AND " + visibleAccounts(v) +
                 " AND EXISTS (SELECT 1 FROM cart_lines c WHERE c.CARINO = a.CARINO)")
                    .c_str());
        c.setResult(qint64(st.step() ? st.integer(0) : 0));
    });
    d.add(MethodId::TusSonuclariVer, [](CallContext &c) {
        c.setResult(
            std::unique_ptr<TRecord>(statusCounters(c.db(), viewerOf(c.db(), c.session(0)))));
    });
    d.add(MethodId::RaporGetir, [](CallContext &c) {
        const QByteArray pdf = report(c.db(), c.integer(0), c.integer(2), c.integer(3), c.text(4),
                                      c.real(5), c.real(6));
        c.setResult(pdf);
        c.setOut(7, qint64(pdf.size()));
    });
    d.add(MethodId::RaporAlinanSiparisler, [](CallContext &c) {
        c.setResult(receivedOrders(c.db(), viewerOf(c.db(), c.session(0)), c.real(1), c.real(2)));
    });
    d.add(MethodId::RaporEnCokSatilanStoklar, [](CallContext &c) {
        c.setResult(soldItems(c.db(), viewerOf(c.db(), c.session(0)), c.real(1), c.real(2)));
    });
}

} // namespace zenvo::appserver
