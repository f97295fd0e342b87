#include "appserver/accountdata.h"

#include "appserver/tables.h"

#include <cmath>
#include <deque>
#include <unordered_map>

namespace zenvo::appserver {

Viewer viewerBySirano(sqlite3 *db, int sirano) {
    Viewer v;
    if (sirano <= 0)
        return v;
    Stmt st(db, "SELECT MUSTERITIPI, CARINO, SATICINO, AKTIF, ADI FROM users WHERE SIRANO = ?");
    st.bind(1, sirano);
    if (!st.step() || st.integer(3) != 1)
        return v;
    v.valid = true;
    v.sirano = sirano;
    v.type = st.integer(0);
    v.carino = st.integer(1);
    v.saticino = st.integer(2);
    v.name = st.text(4);
    return v;
}

Viewer viewerOf(sqlite3 *db, const TSonucBilgisi *session) {
    return session ? viewerBySirano(db, session->Sirano()) : Viewer{};
}

std::string visibleAccounts(const Viewer &v, const char *alias) {
    const std::string a = alias;
    if (v.valid && v.salesRep() && v.saticino > 0)
        return a + ".SATICINO = " + std::to_string(v.saticino);
    if (v.valid && !v.salesRep() && v.carino > 0)
        return a + ".CARINO = " + std::to_string(v.carino);
    return "0";
}

bool mayActFor(sqlite3 *db, const Viewer &v, int carino) {
    Stmt st(db, ("SELECT 1 FROM accounts a WHERE a.CARINO = ? AND " + visibleAccounts(v)).c_str());
    st.bind(1, carino);
    return st.step();
}

LineAmounts lineAmounts(double qty, double price, const double (&rates)[4], double kdv) {
    LineAmounts a;
    a.gross = r2(qty * price);
    a.netUnit = netPrice(price, rates[0], rates[1], rates[2], rates[3]);
    a.net = r2(qty * a.netUnit);
    a.discount = r2(a.gross - a.net);
    a.vat = r2(a.net * kdv / 100);
    return a;
}

std::vector<OrderSummary> orderSummaries(sqlite3 *db, const std::string &where, double v1,
                                         double v2) {
    const std::string joins = R"sql(
        FROM orders o
        LEFT JOIN accounts a ON a.CARINO = o.CARINO
        LEFT JOIN cargo_kinds ck ON ck.ID = o.KARGOID
        LEFT JOIN delivery_kinds dk ON dk.ID = o.TESLIMID
        LEFT JOIN cargo_firms cf ON cf.SIRANO = o.KARGOFIRMAID
        LEFT JOIN order_statuses st ON st.DURUM = o.DURUM
        LEFT JOIN users u ON u.SIRANO = o.VERENIDNO
        LEFT JOIN sales_reps r ON r.SATICINO = a.SATICINO
        WHERE )sql" + where;
    Stmt head(db, (R"sql(
        SELECT o.IDNO, o.CARINO, o.TARIH, o.KUR, o.KURTL, o.VERENIDNO, COALESCE(ck.ADI, ''),
               COALESCE(dk.ADI, ''), COALESCE(u.ADI, ''), COALESCE(a.CARIKOD, ''),
               COALESCE(a.CARIADI, ''), COALESCE(st.ADI, ''), COALESCE(cf.ADI, ''), o.ACIKLAMA,
               o.ALANNOTU, COALESCE(r.SATICIADI, ''))sql" +
                   joins + " ORDER BY o.TARIH DESC, o.IDNO DESC")
                      .c_str());
    head.bind(1, v1).bind(2, v2);
    std::vector<OrderSummary> out;
    std::unordered_map<int, std::size_t> byId;
    while (head.step()) {
        OrderSummary s;
        s.idno = head.integer(0);
        s.carino = head.integer(1);
        s.tarih = head.real(2);
        s.kur = head.text(3);
        s.kurtl = head.real(4);
        s.verenidno = head.integer(5);
        s.kargo = head.text(6);
        s.teslim = head.text(7);
        s.veren = head.text(8);
        s.carikod = head.text(9);
        s.cariadi = head.text(10);
        s.durum = head.text(11);
        s.kargoadi = head.text(12);
        s.verenNotu = head.text(13);
        s.alanNotu = head.text(14);
        s.saticiadi = head.text(15);
        byId.emplace(s.idno, out.size());
        out.push_back(std::move(s));
    }
    Stmt lines(db, ("SELECT l.IDNO, l.MIKTAR, l.BIRIMFIYAT, l.INDIRIMORANI1, l.INDIRIMORANI2, "
                    "l.INDIRIMORANI3, l.INDIRIMORANI4, l.KDV FROM order_lines l "
                    "WHERE l.IDNO IN (SELECT o.IDNO " +
                    joins + ")")
                       .c_str());
    lines.bind(1, v1).bind(2, v2);
    while (lines.step()) {
        const auto it = byId.find(lines.integer(0));
        if (it == byId.end())
            continue;
        const double rates[4] = {lines.real(3), lines.real(4), lines.real(5), lines.real(6)};
        const LineAmounts a = lineAmounts(lines.real(1), lines.real(2), rates, lines.real(7));
        OrderSummary &s = out[it->second];
        s.net += a.net;
        s.vergi += a.vat;
    }
    for (OrderSummary &s : out) {
        s.net = r2(s.net);
        s.vergi = r2(s.vergi);
        s.tutar = r2(s.net + s.vergi);
    }
    return out;
}

double accountBalance(sqlite3 *db, int carino, double until) {
    Stmt st(db, "SELECT COALESCE(SUM(BORC), 0) - COALESCE(SUM(ALACAK), 0) FROM statement "
                "WHERE CARINO = ?1 AND (?2 <= 0 OR TARIH < ?2)");
    st.bind(1, carino).bind(2, until);
    return st.step() ? r2(st.real(0)) : 0.0;
}

QString balanceSide(double balance) {
    if (balance >= 0.005)
        return QStringLiteral("B");
    if (balance <= -0.005)
        return QStringLiteral("A");
    return QStringLiteral(" ");
}

Aging accountAging(sqlite3 *db, int carino, double day) {
    struct Open {
        double due;
        double amount;
    };
    std::deque<Open> open;
    double credit = 0;
    Stmt st(db, "SELECT VADETARIHI, BORC, ALACAK FROM statement WHERE CARINO = ? AND TARIH < ? "
                "ORDER BY TARIH, IDNO");
    st.bind(1, carino).bind(2, day + 1);
    while (st.step()) {
        double debit = st.real(1), paid = st.real(2) + credit;
        credit = 0;
        if (debit > 0) {
            const double used = std::min(debit, paid);
            debit -= used;
            paid -= used;
            if (debit > 0.004)
                open.push_back({st.real(0), debit});
        }
        while (paid > 0.004 && !open.empty()) {
            const double used = std::min(paid, open.front().amount);
            open.front().amount -= used;
            paid -= used;
            if (open.front().amount <= 0.004)
                open.pop_front();
        }
        credit = paid > 0.004 ? paid : 0;
    }
    Aging a;
    for (const Open &o : open) {
        if (o.due < day) {
            a.overdue += o.amount;
            if (a.oldestOverdueDue == 0 || o.due < a.oldestOverdueDue)
                a.oldestOverdueDue = o.due;
        } else {
            a.notDue += o.amount;
        }
    }
    a.overdue = r2(a.overdue);
    a.notDue = r2(a.notDue);
    a.balance = r2(a.overdue + a.notDue - credit);
    return a;
}

QString settingText(sqlite3 *db, const char *key) {
    Stmt st(db, "SELECT VALUE FROM settings WHERE KEY = ?");
    st.bind(1, QString::fromLatin1(key));
    return st.step() ? st.text(0) : QString();
}

bool wholeDay(double v, double &day) {
    // 1 January 1900 to 31 December 9999.
    if (!std::isfinite(v) || v < 2 || v >= 2958466)
        return false;
    day = std::floor(v);
    return true;
}

} // namespace zenvo::appserver
