// Start-up content (marquee, banners, opening screens, tab counters), the customer record of a
// machine and the requests and mails users send to the firm.
#include "appserver/accountdata.h"
#include "appserver/dispatch.h"
#include "appserver/tables.h"

namespace zenvo::appserver {

namespace {

void bannerMethod(Dispatcher &d, MethodId id, int slot) {
    d.add(id, [slot](CallContext &c) {
        Stmt st(c.db(), "SELECT VERI FROM banners WHERE SLOT = ?");
        st.bind(1, slot);
        const QByteArray bytes = st.step() ? st.blob(0) : QByteArray();
        c.setResult(bytes);
        c.setOut(0, qint64(bytes.size()));
    });
}

TAcilisEkran screenFrom(const Stmt &st) {
    TAcilisEkran e;
    e.SetSiraNo(st.integer(0));
    e.SetBaslik(st.text(1));
    e.SetArama(st.text(2));
    e.SetResim(QString::fromLatin1(st.blob(3).toHex().toUpper()));
    return e;
}

const char *const kScreenSelect = "SELECT SIRA, BASLIK, ARAMA, RESIM FROM announcements ";

// The record of the user a machine logs in as. Only the machine identity selects it: a record
// number would let anyone read other users' records.
std::unique_ptr<TMobilCariBilgisi> customerRecord(sqlite3 *db, QString machineId) {
    machineId.remove(QLatin1Char(' '));
    auto rec = std::make_unique<TMobilCariBilgisi>();
    Stmt st(db, R"sql(
        SELECT u.ADI, u.SIFRE, u.MAIL, u.CARINO, COALESCE(a.CARIKOD, ''),
               COALESCE(a.CARIADI, ''), COALESCE(a.OZELKOD, ''), COALESCE(a.ANAGRUP, ''),
               COALESCE(a.ALTGRUP, ''), COALESCE(a.ADRES1, ''), COALESCE(a.ADRES2, ''),
               COALESCE(a.ILCE, ''), COALESCE(a.IL, ''), COALESCE(a.ULKE, ''),
               COALESCE(a.TEL1, ''), COALESCE(a.TEL2, ''), COALESCE(a.FAX1, ''),
               COALESCE(a.FAX2, ''), COALESCE(a.GSM, ''), COALESCE(a.EMAIL, ''),
               COALESCE(a.YETKILI, ''), COALESCE(a.VERGIDAIRESI, ''), COALESCE(a.VERGINO, ''),
               COALESCE(r.SATICIADI, ''), COALESCE(r.TELEFON, ''), COALESCE(r.MAIL, ''),
               (SELECT COALESCE(SUM(BORC), 0) FROM statement WHERE CARINO = u.CARINO),
               (SELECT COALESCE(SUM(ALACAK), 0) FROM statement WHERE CARINO = u.CARINO)
        FROM users u
        LEFT JOIN accounts a ON a.CARINO = u.CARINO
        LEFT JOIN sales_reps r ON r.SATICINO = CASE WHEN u.SATICINO <> 0 THEN u.SATICINO
                                                    ELSE a.SATICINO END
        WHERE u.SIRANO = (SELECT SIRANO FROM machines WHERE BILGISAYARID = ?))sql");
    st.bind(1, machineId);
    if (!st.step())
        return rec;
    rec->SetKULLANICIADI(st.text(0));
    rec->SetSIFRE(st.text(1));
    rec->SetMAIL(st.text(2));
    rec->SetCARINO(st.integer(3));
    rec->SetCARIKOD(st.text(4));
    rec->SetCARIADI(st.text(5));
    rec->SetOzelKod(st.text(6));
    rec->SetAnaGrup(st.text(7));
    rec->SetAltGrup(st.text(8));
    rec->SetADRES1(st.text(9));
    rec->SetADRES2(st.text(10));
    rec->SetILCE(st.text(11));
    rec->SetSEHIR(st.text(12));
    rec->SetULKE(st.text(13));
    rec->SetTEL1(st.text(14));
    rec->SetTEL2(st.text(15));
    rec->SetFAX1(st.text(16));
    rec->SetFAX2(st.text(17));
    rec->SetGSM(st.text(18));
    rec->SetEMAIL(st.text(19));
    rec->SetYETKILI(st.text(20));
    rec->SetVERGIDAIRESI(st.text(21));
    rec->SetVERGINO(st.text(22));
    rec->SetSATICIADI(st.text(23));
    rec->SetSATICITELEFON(st.text(24));
    rec->SetSATICIMAIL(st.text(25));
    const double debit = r2(st.real(26)), credit = r2(st.real(27));
    rec->SetTLBORC(debit);
    rec->SetTLALACAK(credit);
    rec->SetTLBAKIYE(r2(debit - credit));
    rec->SetBILGISAYARID(machineId);
    return rec;
}

// Requests and mails wait here for the firm's mail service.
const char *const kMailTable = R"sql(
CREATE TABLE IF NOT EXISTS mail_requests (
    SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,
    TURU TEXT NOT NULL,
    TARIH REAL NOT NULL,
    SAAT TEXT NOT NULL DEFAULT '',
    BILGISAYARID TEXT NOT NULL DEFAULT '',
    CARINO INTEGER NOT NULL DEFAULT 0,
    BASLIK TEXT NOT NULL DEFAULT '',
    FIRMAADI TEXT NOT NULL DEFAULT '',
    ADRES1 TEXT NOT NULL DEFAULT '',
    ADRES2 TEXT NOT NULL DEFAULT '',
    ILCE TEXT NOT NULL DEFAULT '',
    SEHIR TEXT NOT NULL DEFAULT '',
    TELEFON TEXT NOT NULL DEFAULT '',
    FAX TEXT NOT NULL DEFAULT '',
    VERGIDAIRESI TEXT NOT NULL DEFAULT '',
    VERGINO TEXT NOT NULL DEFAULT '',
    YETKILI TEXT NOT NULL DEFAULT '',
    KULLANICIADI TEXT NOT NULL DEFAULT '',
    SIFRE TEXT NOT NULL DEFAULT '',
    MAIL TEXT NOT NULL DEFAULT '',
    KARGOAMBAR TEXT NOT NULL DEFAULT '',
    KONU TEXT NOT NULL DEFAULT '',
    GONDERILDI INTEGER NOT NULL DEFAULT 0
))sql";

// Stores a request ("ISTEK") or a mail ("MAIL"); the sixteen texts are parameters 0 to 15, the
// message (mails only) parameter 16.
void storeMail(CallContext &c, const char *kind) {
    sqlite3 *db = c.db();
    Stmt(db, kMailTable).exec();
    QString machineId = c.text(0);
    machineId.remove(QLatin1Char(' '));
    Stmt st(db, R"sql(
        INSERT INTO mail_requests (TURU, TARIH, SAAT, BILGISAYARID, CARINO, BASLIK, FIRMAADI,
            ADRES1, ADRES2, ILCE, SEHIR, TELEFON, FAX, VERGIDAIRESI, VERGINO, YETKILI,
            KULLANICIADI, SIFRE, MAIL, KARGOAMBAR, KONU)
        VALUES (?1, ?2, ?3, ?4,
                COALESCE((SELECT u.CARINO FROM machines m JOIN users u ON u.SIRANO = m.SIRANO
                          WHERE m.BILGISAYARID = ?4), 0),
                ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20))sql");
    st.bind(1, QString::fromLatin1(kind)).bind(2, oleToday(db)).bind(3, timeOfDay());
    st.bind(4, machineId);
    for (int i = 1; i < 16; ++i)
        st.bind(4 + i, c.text(i));
    st.bind(20, c.method().params.size() > 16 ? c.text(16) : QString());
    st.exec();
    c.setResult(qint64(1));
}

} // namespace

void addPromoMethods(Dispatcher &d) {
    d.add(MethodId::KayanYaziGetir,
          [](CallContext &c) { c.setResult(settingText(c.db(), "kayanyazi")); });
    bannerMethod(d, MethodId::BannerResimVer, 1);
    bannerMethod(d, MethodId::BannerResimVer2, 2);
    bannerMethod(d, MethodId::BannerResimVer3, 3);

    d.add(MethodId::AcilisReklamAdet, [](CallContext &c) {
        Stmt st(c.db(), "SELECT COUNT(*) FROM announcements WHERE ACILIS = 1");
        c.setResult(qint64(st.step() ? st.integer(0) : 0));
    });
    d.add(MethodId::AcilisREklamVer, [](CallContext &c) {
        // A position outside the list answers an empty screen: no title, picture or action.
        auto screen = std::make_unique<TAcilisEkran>();
        const int pos = c.integer(0);
        if (pos >= 0) {
            Stmt st(c.db(), (std::string(kScreenSelect) +
                             "WHERE ACILIS = 1 ORDER BY SIRA, SIRANO LIMIT 1 OFFSET ?")
                                .c_str());
            st.bind(1, pos);
            if (st.step())
                *screen = screenFrom(st);
        }
        c.setResult(std::unique_ptr<TRecord>(std::move(screen)));
    });
    d.add(MethodId::AcilisEkranlarVer2, [](CallContext &c) {
        Stmt st(c.db(),
                (std::string(kScreenSelect) + "WHERE DUYURU = 1 ORDER BY SIRA, SIRANO").c_str());
        std::vector<TAcilisEkran> screens;
        while (st.step())
            screens.push_back(screenFrom(st));
        auto holder = std::make_unique<TAcilisEkranlariki>();
        holder->SetEkranlar(screens);
        c.setResult(std::unique_ptr<TRecord>(std::move(holder)));
    });

    d.add(MethodId::BalonGetir, [](CallContext &c) {
        // One row: cart lines, new items, campaign items, announcements, outstanding balances.
        const TSonucBilgisi *s = c.session(0);
        Stmt st(c.db(), R"sql(
            SELECT (SELECT COUNT(*) FROM cart_lines WHERE CARINO = ?1),
                   (SELECT COUNT(*) FROM items WHERE Y = 1),
                   (SELECT COUNT(*) FROM items WHERE K > 0 AND KAMPFIYAT > 0),
                   (SELECT COUNT(*) FROM announcements WHERE DUYURU = 1),
                   (SELECT COUNT(*) FROM order_lines l JOIN orders o ON o.IDNO = l.IDNO
                    WHERE o.CARINO = ?1 AND l.KALAN > 0))sql");
        st.bind(1, s ? s->CARINO() : 0);
        c.setResult(tableFromQuery(st, {{"SEPET", FieldType::Integer},
                                        {"YENISTOK", FieldType::Integer},
                                        {"KAMPANYALI", FieldType::Integer},
                                        {"DUYURU", FieldType::Integer},
                                        {"BAKIYE", FieldType::Double}}));
    });

    d.add(MethodId::MobilCariBilgisiGetir, [](CallContext &c) {
        c.setResult(std::unique_ptr<TRecord>(customerRecord(c.db(), c.text(1))));
    });
    d.add(MethodId::MailGonserCari, [](CallContext &c) { storeMail(c, "ISTEK"); });
    d.add(MethodId::MailGonserCariNormal, [](CallContext &c) { storeMail(c, "MAIL"); });
}

} // namespace zenvo::appserver
