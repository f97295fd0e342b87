#include "appserver/dispatch.h"

#include <algorithm>

namespace zenvo::appserver {

namespace {

QString settingValue(sqlite3 *db, const char *key, const QString &fallback) {
    Stmt st(db, "SELECT VALUE FROM settings WHERE KEY = ?");
    st.bind(1, QString::fromLatin1(key));
    return st.step() ? st.text(0) : fallback;
}

// The session record registered for a machine; Varmi stays false for an unknown machine.
std::unique_ptr<TSonucBilgisi> sessionForMachine(sqlite3 *db, QString machineId) {
    machineId.remove(QLatin1Char(' '));
    auto rec = std::make_unique<TSonucBilgisi>();
    rec->SetBILGISAYARID(machineId);
    bool ok = false;
    const int version = settingValue(db, "version", QStringLiteral("1")).toInt(&ok);
    rec->SetVersion(ok ? version : 1);
    Stmt st(db, R"sql(
        SELECT u.SIRANO, u.ADI, u.SIFRE, u.MUSTERITIPI, u.CARINO, u.AKTIF, u.MAIL,
               COALESCE(a.CARIKOD, ''), COALESCE(a.CARIADI, ''), COALESCE(a.AKTIF, 1),
               COALESCE(s.SATICINO, 0), COALESCE(s.SATICIADI, ''), COALESCE(s.TELEFON, ''),
               COALESCE(s.MAIL, '')
        FROM machines m
        JOIN users u ON u.SIRANO = m.SIRANO
        LEFT JOIN accounts a ON a.CARINO = u.CARINO
        LEFT JOIN sales_reps s ON s.SATICINO = CASE WHEN u.SATICINO <> 0 THEN u.SATICINO
                                                    ELSE a.SATICINO END
        WHERE m.BILGISAYARID = ?)sql");
    st.bind(1, machineId);
    if (!st.step())
        return rec;
    rec->SetVarmi(true);
    rec->SetSirano(st.integer(0));
    rec->SetADI(st.text(1));
    rec->SetSIFRE(st.text(2));
    rec->SetMusteriTipi(st.integer(3));
    rec->SetCARINO(st.integer(4));
    rec->SetAKTIF(st.integer(5) == 1 && st.integer(9) == 1 ? 1 : 0);
    rec->SetKullanicimail(st.text(6));
    rec->Setcarikod(st.text(7));
    rec->SetCariAdi(st.text(8));
    rec->SetSaticiNo(st.integer(10));
    rec->SetSaticiAdi(st.text(11));
    rec->SetSaticiTelefon(st.text(12));
    rec->SetSaticiMail(st.text(13));
    return rec;
}

} // namespace

void addSessionMethods(Dispatcher &d) {
    d.add(MethodId::EchoString, [](CallContext &c) { c.setResult(c.text(0)); });
    d.add(MethodId::ReverseString, [](CallContext &c) {
        QString s = c.text(0);
        std::reverse(s.begin(), s.end());
        // Keep surrogate pairs in their order after the reversal.
        for (qsizetype i = 0; i + 1 < s.size(); ++i)
            if (s[i].isLowSurrogate() && s[i + 1].isHighSurrogate())
                std::swap(s[i], s[i + 1]), ++i;
        c.setResult(s);
    });
    d.add(MethodId::BuyukGetir, [](CallContext &c) {
        c.setResult(std::unique_ptr<TRecord>(sessionForMachine(c.db(), c.text(0))));
    });
}

} // namespace zenvo::appserver
