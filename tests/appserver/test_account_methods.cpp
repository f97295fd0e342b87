// Account, promotion and sales representative methods of zenvo-server, called through the real
// proxy on the demo data.
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "server/codec.h"
#include "server/proxy.h"
#include "tests/support/testserver.h"

#include <QImage>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace zenvo;
using zenvo::testing::TestServer;

namespace {

constexpr double kToday = 45838; // the demo's today, 2025-06-30

int col(const ResultTable &t, const char *name) {
    const int c = t.fieldIndex(QString::fromUtf8(name));
    if (c < 0)
        qFatal("no column %s", name);
    return c;
}

double num(const ResultTable &t, int r, const char *name) {
    return t.doubleValue(r, col(t, name));
}

qint64 integer(const ResultTable &t, int r, const char *name) {
    return t.intValue(r, col(t, name));
}

bool near(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

// Fails unless the table has these columns with these types (other columns may follow).
void expectColumns(const ResultTable &t, const QList<QPair<const char *, FieldType>> &cols) {
    for (const auto &[name, type] : cols) {
        const int c = t.fieldIndex(QString::fromUtf8(name));
        QVERIFY2(c >= 0, name);
        QVERIFY2(t.field(c).type == type, name);
    }
}

QSet<int> intSet(const ResultTable &t, const char *name) {
    QSet<int> s;
    for (int r = 0; r < t.rowCount(); ++r)
        s.insert(int(integer(t, r, name)));
    return s;
}

bool isPdf(const QByteArray &bytes) {
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

} // namespace

class TestAccountMethods : public QObject {
    Q_OBJECT
    std::unique_ptr<TestServer> server;
    std::unique_ptr<ServerConnection> conn;
    std::unique_ptr<TServerMethods1Client> m_proxy;
    QHash<QString, TSonucBilgisi> sessions;

    TServerMethods1Client &proxy() {
        m_proxy.reset();
        conn->Close();
        conn->Open();
        m_proxy = std::make_unique<TServerMethods1Client>(conn.get());
        return *m_proxy;
    }

    // The session the demo user's machine logs in with, acting for `carino` when given. No call
    // here: it is used inside the argument lists of proxy calls.
    std::unique_ptr<TSonucBilgisi> as(const QString &user, int carino = 0) {
        if (!sessions.contains(user))
            qFatal("no demo user %s", qPrintable(user));
        auto s = std::make_unique<TSonucBilgisi>(sessions.value(user));
        if (carino)
            s->SetCARINO(carino);
        return s;
    }

    double dbReal(const char *sql, int arg) {
        appserver::Db db(server->dbPath());
        appserver::Stmt st(db.handle(), sql);
        st.bind(1, arg);
        return st.step() ? st.real(0) : -1;
    }

    QByteArray download(std::unique_ptr<QIODevice> stream, qint64 size) {
        QByteArray bytes;
        if (!AkisOku(stream.get(), size, bytes) && size != 0)
            return "short";
        return bytes;
    }

private slots:
    void initTestCase() {
        server = std::make_unique<TestServer>(appserver::serverDispatcher(), [](sqlite3 *db) {
            appserver::createSchema(db);
            appserver::fillDemoData(db, {.items = 400, .seed = 1});
        });
        conn = server->connection();
        for (const appserver::DemoUser &u : appserver::demoUsers())
            sessions.insert(u.name, *proxy().BuyukGetir(QStringLiteral("DEMO-") + u.name));
    }
    void cleanup() { m_proxy.reset(), conn->Close(); }

    void startupContent() {
        QVERIFY(proxy().KayanYaziGetir().contains(QStringLiteral("kampanya")));

        struct Banner {
            std::unique_ptr<QIODevice> (TServerMethods1Client::*call)(qint64 &);
            const char *format;
        };
        for (const Banner &b : {Banner{&TServerMethods1Client::BannerResimVer, "GIF"},
                                Banner{&TServerMethods1Client::BannerResimVer2, "GIF"},
                                Banner{&TServerMethods1Client::BannerResimVer3, "BMP"}}) {
            qint64 size = -1;
            auto stream = (proxy().*b.call)(size);
            const QByteArray bytes = download(std::move(stream), size);
            QVERIFY(size > 0);
            QCOMPARE(bytes.size(), size);
            QVERIFY2(!QImage::fromData(bytes, b.format).isNull(), b.format);
        }

        QCOMPARE(proxy().AcilisReklamAdet(), 3);
        auto first = proxy().AcilisREklamVer(0);
        QCOMPARE(first->Arama(), QStringLiteral("#KAMPANYA#"));
        QVERIFY(!first->Baslik().isEmpty());
        QVERIFY(!QImage::fromData(first->ResimBaytlari(), "JPEG").isNull());
        // Positions outside the list answer an empty screen.
        for (int pos : {-1, 3, 1000}) {
            auto none = proxy().AcilisREklamVer(pos);
            QVERIFY(none && none->Resim().isEmpty() && none->Baslik().isEmpty() &&
                    none->Arama().isEmpty());
        }

        auto all = proxy().AcilisEkranlarVer2();
        QCOMPARE(int(all->Ekranlar().size()), 5);
        QCOMPARE(all->Ekranlar().front().Baslik(), first->Baslik());
        QCOMPARE(all->Ekranlar().back().Arama(), QString()); // an announcement without action
    }

    void tabCountersMatchTheLists() {
        auto t = proxy().BalonGetir(as(QStringLiteral("BAYI1")));
        QCOMPARE(t->rowCount(), 1);
        QCOMPARE(t->columnCount(), 5);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(t->field(c).type, FieldType::Integer);
        QCOMPARE(t->field(4).type, FieldType::Double);
        QCOMPARE(t->intValue(0, 0), proxy().SepetVer2(1001)->rowCount());
        QCOMPARE(t->intValue(0, 1), proxy().YenilerVer2(1001)->rowCount());
        QCOMPARE(t->intValue(0, 2), proxy().KampanyaliVer2(1001, 0)->rowCount());
        QCOMPARE(t->intValue(0, 3), qint64(proxy().AcilisEkranlarVer2()->Ekranlar().size()));
        QCOMPARE(t->doubleValue(0, 4), double(proxy().BakiyelerVer2(1001)->rowCount()));
        QVERIFY(t->intValue(0, 0) > 0 && t->doubleValue(0, 4) > 0);

        // Without a session only the firm-wide counts remain.
        auto none = proxy().BalonGetir(nullptr);
        QCOMPARE(none->intValue(0, 0), 0);
        QCOMPARE(none->intValue(0, 1), t->intValue(0, 1));
    }

    void customerRecordAndRequests() {
        auto rec = proxy().MobilCariBilgisiGetir(0, QStringLiteral("DEMO-BAYI2"));
        QCOMPARE(rec->CARINO(), 1002);
        QCOMPARE(rec->KULLANICIADI(), QStringLiteral("BAYI2"));
        QCOMPARE(rec->SEHIR(), QStringLiteral("ANKARA"));
        QVERIFY(!rec->ADRES1().isEmpty() && !rec->VERGINO().isEmpty() && !rec->TEL1().isEmpty());
        QCOMPARE(rec->SATICIADI(), QStringLiteral("MEHMET KARAKAYA"));
        QVERIFY(near(rec->TLBAKIYE(), rec->TLBORC() - rec->TLALACAK()));
        QVERIFY(rec->TLBAKIYE() > 0); // the overdue account
        // An unknown machine gets an empty record, whatever record number comes with it.
        QCOMPARE(proxy().MobilCariBilgisiGetir(3, QStringLiteral("YOK-BOYLE-BIR-MAKINE"))->CARINO(),
                 0);

        const QString pw = QStringLiteral("YENİ ŞİFRE");
        QCOMPARE(proxy().MailGonserCari(QStringLiteral("DEMO-BAYI2"),
                                        QStringLiteral("Şifre Değiştirme İsteği"), rec->CARIADI(),
                                        rec->ADRES1(), {}, rec->ILCE(), rec->SEHIR(), rec->TEL1(),
                                        {}, {}, {}, QStringLiteral("MURAT"),
                                        QStringLiteral("BAYI2"), pw, QStringLiteral("a@b.c"), {}),
                 1);
        const QString body = QStringLiteral("Merhaba,\"iyi günler\"");
        QCOMPARE(proxy().MailGonserCariNormal(QStringLiteral("BILINMEYEN"), QStringLiteral("Konu"),
                                              {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
                                              {}, body),
                 1);
        appserver::Db db(server->dbPath());
        appserver::Stmt st(db.handle(), "SELECT TURU, CARINO, BASLIK, SIFRE, KONU "
                                        "FROM mail_requests ORDER BY SIRANO");
        QVERIFY(st.step());
        QCOMPARE(st.text(0), QStringLiteral("ISTEK"));
        QCOMPARE(st.integer(1), 1002);
        QCOMPARE(st.text(3), pw);
        QVERIFY(st.step());
        QCOMPARE(st.text(0), QStringLiteral("MAIL"));
        QCOMPARE(st.integer(1), 0);
        QCOMPARE(st.text(4), body);
        QVERIFY(!st.step());
    }

    void orderTotalsAreTheirLines() {
        auto orders = proxy().OncekiSiparisler(1003);
        QCOMPARE(orders->rowCount(), 9);
        expectColumns(*orders, {{"CARINO", FieldType::Integer},
                                {"IDNO", FieldType::Integer},
                                {"TARIH", FieldType::DateTime},
                                {"KURTL", FieldType::Double},
                                {"KARGO", FieldType::String},
                                {"TESLIM", FieldType::String},
                                {"VEREN", FieldType::String},
                                {"VERGI", FieldType::Double},
                                {"NETTUTAR", FieldType::Double},
                                {"TUTAR", FieldType::Double},
                                {"DURUM", FieldType::String},
                                {"KARGOADI", FieldType::String},
                                {"VERENINNOTU", FieldType::String},
                                {"ALANNOTU", FieldType::String}});
        for (int r = 0; r < orders->rowCount(); ++r) {
            const int idno = int(integer(*orders, r, "IDNO"));
            auto lines = proxy().SiparisAyrintisi2(1003, idno);
            QVERIFY(lines->rowCount() > 0);
            double net = 0, vat = 0;
            for (int l = 0; l < lines->rowCount(); ++l) {
                QVERIFY(near(num(*lines, l, "TUTAR") - num(*lines, l, "INDIRIMTUTAR"),
                             num(*lines, l, "NETTUTAR")));
                QCOMPARE(integer(*lines, l, "IDNO"), qint64(idno));
                net += num(*lines, l, "NETTUTAR");
                vat += num(*lines, l, "VERGITUTARI");
            }
            QVERIFY(near(num(*orders, r, "NETTUTAR"), net));
            QVERIFY(near(num(*orders, r, "VERGI"), vat));
            QVERIFY(near(num(*orders, r, "TUTAR"), net + vat));
            if (r)
                QVERIFY(num(*orders, r, "TARIH") <= num(*orders, r - 1, "TARIH")); // newest first
        }
        const int idno = int(integer(*orders, 0, "IDNO"));
        // Another account's number does not open the order; unknown orders are empty.
        QCOMPARE(proxy().SiparisAyrintisi2(1001, idno)->rowCount(), 0);
        QCOMPARE(proxy().SiparisAyrintisi2(1003, 999999)->rowCount(), 0);
        QCOMPARE(proxy().OncekiSiparisler(1012)->rowCount(), 0);

        auto footer = proxy().SiparisAytintisiDip(0, idno);
        QCOMPARE(footer->Durumu(), orders->stringValue(0, col(*orders, "DURUM")));
        QCOMPARE(footer->Kargo(), orders->stringValue(0, col(*orders, "KARGOADI")));
        QCOMPARE(footer->TeslimCinsi(), orders->stringValue(0, col(*orders, "TESLIM")));
        QCOMPARE(footer->SizinMesaj(), orders->stringValue(0, col(*orders, "VERENINNOTU")));
        QCOMPARE(footer->Veren(), QStringLiteral("BAYI4"));
        QCOMPARE(proxy().SiparisAytintisiDip(1001, idno)->Durumu(), QString());
        QCOMPARE(proxy().SiparisAytintisiDip(0, -5)->Durumu(), QString());
    }

    void allOrdersOfAnAccountOrAnItem() {
        auto all = proxy().TumSiparislerVer(1003, 0);
        QCOMPARE(double(all->rowCount()),
                 dbReal("SELECT COUNT(*) FROM order_lines l JOIN orders o ON o.IDNO = l.IDNO "
                        "WHERE o.CARINO = ?",
                        1003));
        const int item = int(integer(*all, 0, "STOK_STOKNO"));
        auto one = proxy().TumSiparislerVer(1003, item);
        QVERIFY(one->rowCount() >= 1 && one->rowCount() <= all->rowCount());
        QCOMPARE(intSet(*one, "STOK_STOKNO"), QSet<int>{item});
        QCOMPARE(proxy().TumSiparislerVer(1003, 987654)->rowCount(), 0);
        QCOMPARE(proxy().TumSiparislerVer(0, 0)->rowCount(), 0);
    }

    void statementRunningBalance() {
        auto t = proxy().CariEkstreVer(1002);
        QVERIFY(t->rowCount() > 10);
        expectColumns(*t, {{"CARINO", FieldType::Integer},
                           {"TARIH", FieldType::DateTime},
                           {"TURADI", FieldType::String},
                           {"EVRAK", FieldType::String},
                           {"BORC", FieldType::Double},
                           {"ALACAK", FieldType::Double},
                           {"KUR", FieldType::String},
                           {"BAKIYE", FieldType::Double},
                           {"D", FieldType::String},
                           {"IDNO", FieldType::Integer},
                           {"ACIKLAMA", FieldType::String}});
        double balance = 0;
        for (int r = 0; r < t->rowCount(); ++r) {
            balance += num(*t, r, "BORC") - num(*t, r, "ALACAK");
            QVERIFY(near(num(*t, r, "BAKIYE"), balance));
            const QString d = t->stringValue(r, col(*t, "D"));
            QCOMPARE(d, std::fabs(balance) < 0.005 ? QStringLiteral(" ")
                        : balance > 0              ? QStringLiteral("B")
                                                   : QStringLiteral("A"));
            if (r)
                QVERIFY(num(*t, r, "TARIH") >= num(*t, r - 1, "TARIH"));
        }
        // The opening row is zero: a blank side, not a tiny debit.
        QCOMPARE(t->stringValue(0, col(*t, "D")), QStringLiteral(" "));
        QVERIFY(near(balance, dbReal("SELECT SUM(BORC) - SUM(ALACAK) FROM statement "
                                     "WHERE CARINO = ?",
                                     1002)));
        auto none = proxy().CariEkstreVer(424242);
        QCOMPARE(none->rowCount(), 0);
        QCOMPARE(none->columnCount(), t->columnCount());
    }

    void invoiceTotalsEqualTheirLines() {
        // Account 1005 has sales and return invoices.
        auto st = proxy().CariEkstreVer(1005);
        int invoices = 0, returns = 0;
        for (int r = 0; r < st->rowCount(); ++r) {
            const QString kind = st->stringValue(r, col(*st, "TURADI"));
            if (!kind.contains(QStringLiteral("Fatura")))
                continue;
            const int idno = int(integer(*st, r, "IDNO"));
            auto lines = proxy().FaturaGetir(1005, idno);
            auto totals = proxy().FaturaAltGetir(idno);
            QCOMPARE(totals->rowCount(), 1);
            double gross = 0, discount = 0, net = 0, vat = 0;
            for (int l = 0; l < lines->rowCount(); ++l) {
                gross += num(*lines, l, "STOKHAR_TLTUTAR");
                discount += num(*lines, l, "STOKHAR_TOPLAMINDIRIM");
                net += num(*lines, l, "STOKHAR_NETTLTUTAR");
                vat += num(*lines, l, "STOKHAR_TLVERGI");
                QCOMPARE(lines->stringValue(l, col(*lines, "STOKHAR_HAREKETTIPI2")), kind);
                QCOMPARE(lines->stringValue(l, col(*lines, "EVRAKNO")),
                         st->stringValue(r, col(*st, "EVRAK")));
            }
            QVERIFY(near(num(*totals, 0, "TOPLAM"), gross));
            QVERIFY(near(num(*totals, 0, "TOPLAMINDIRIM"), discount));
            QVERIFY(near(num(*totals, 0, "MATRAH"), net));
            QVERIFY(near(num(*totals, 0, "KDVTUTAR"), vat));
            QVERIFY(near(num(*totals, 0, "KDVDAHIL"), net + vat));
            QVERIFY(near(num(*totals, 0, "KDVDAHIL"), num(*st, r, "BORC") + num(*st, r, "ALACAK")));
            ++invoices;
            returns += kind.startsWith(QStringLiteral("İade"));
            if (invoices == 1) {
                expectColumns(*lines, {{"STOKHAR_MIKTAR", FieldType::Double},
                                       {"STOKHAR_HAREKETTARIHI", FieldType::DateTime},
                                       {"STOKHAR_VADE", FieldType::Integer},
                                       {"SATICIADI", FieldType::String},
                                       {"OEMNO", FieldType::String},
                                       {"KDV", FieldType::Integer},
                                       {"IDNO", FieldType::Integer}});
                // Another account's number opens nothing.
                QCOMPARE(proxy().FaturaGetir(1001, idno)->rowCount(), 0);
            }
        }
        QVERIFY(invoices > 10 && returns >= 1);
        QCOMPARE(proxy().FaturaAltGetir(-1)->rowCount(), 0);
    }

    void collectionsAndCardReceipt() {
        auto st = proxy().CariEkstreVer(1001);
        int withReceipt = 0, without = 0;
        for (int r = 0; r < st->rowCount(); ++r) {
            if (st->stringValue(r, col(*st, "TURADI")) != QStringLiteral("Tahsilat"))
                continue;
            const int idno = int(integer(*st, r, "IDNO"));
            auto rows = proxy().Tahsilat(idno);
            expectColumns(*rows, {{"Tarih", FieldType::DateTime},
                                  {"Türü", FieldType::String},
                                  {"Açıklama", FieldType::String},
                                  {"Döviz Tutar", FieldType::Double},
                                  {"Tutar", FieldType::Double}});
            double sum = 0;
            for (int k = 0; k < rows->rowCount(); ++k)
                sum += num(*rows, k, "Tutar");
            QVERIFY(near(sum, num(*st, r, "ALACAK")));
            const int pos = proxy().SanalposSiranoVer(idno);
            if (pos <= 0) {
                ++without;
                continue;
            }
            ++withReceipt;
            qint64 size = -1;
            auto stream = proxy().SAnalPosPdfVer(pos, size);
            const QByteArray pdf = download(std::move(stream), size);
            QVERIFY(size > 1000);
            QCOMPARE(pdf.size(), size);
            QVERIFY(isPdf(pdf));
        }
        QVERIFY(withReceipt > 0 && without > 0);
        qint64 size = -1;
        auto none = proxy().SAnalPosPdfVer(999999, size);
        QCOMPARE(download(std::move(none), size), QByteArray());
        QCOMPARE(size, 0);
        QCOMPARE(proxy().SanalposSiranoVer(-3), 0);
        QCOMPARE(proxy().Tahsilat(0)->rowCount(), 0);
    }

    void balanceChanges() {
        const char *kalanOf = "SELECT KALAN FROM order_lines WHERE STOKHAR_NO = ?";
        const char *openOf = "SELECT i.ALINANSIPARIS FROM order_lines l JOIN items i "
                             "ON i.STOK_STOKNO = l.STOKNO WHERE l.STOKHAR_NO = ?";
        auto t = proxy().BakiyelerVer2(1001);
        QVERIFY(t->rowCount() >= 2);
        expectColumns(*t, {{"STOK_STOKNO", FieldType::Integer},
                           {"SIRANO", FieldType::Integer},
                           {"STOKHAR_NO", FieldType::Integer},
                           {"IDNO", FieldType::Integer},
                           {"MIKTAR", FieldType::Double},
                           {"TESLIMEDILEN", FieldType::Double},
                           {"KALAN", FieldType::Double},
                           {"ELDEKI", FieldType::Double},
                           {"DURUM", FieldType::Integer},
                           {"ILKFIYAT", FieldType::Double},
                           {"INDIRIMYAZI", FieldType::String},
                           {"BARKOD", FieldType::String}});
        for (int r = 0; r < t->rowCount(); ++r)
            QVERIFY(num(*t, r, "KALAN") > 0 &&
                    num(*t, r, "KALAN") <= num(*t, r, "MIKTAR") - num(*t, r, "TESLIMEDILEN"));
        // A line with room below its balance.
        int r = 0;
        while (r < t->rowCount() && num(*t, r, "KALAN") < 2)
            ++r;
        QVERIFY(r < t->rowCount());
        const int stokno = int(integer(*t, r, "STOK_STOKNO"));
        const int cartLine = int(integer(*t, r, "SIRANO"));
        const int line = int(integer(*t, r, "STOKHAR_NO"));
        const double qty = num(*t, r, "MIKTAR"), kalan = num(*t, r, "KALAN");
        const double open = qty - num(*t, r, "TESLIMEDILEN");
        const QString barkod = t->stringValue(r, col(*t, "BARKOD"));
        auto change = [&](const QString &user, int carino, int s, double v) {
            return proxy().BakiyeDegistir(as(user, carino), s, cartLine, line, v, v, barkod);
        };
        const QString dealer = QStringLiteral("BAYI1");

        // Refused: not the account's line, not this item, more than undelivered, negative.
        QCOMPARE(change(QStringLiteral("BAYI2"), 1002, stokno, 1), 0);
        QCOMPARE(change(QStringLiteral("TEMSILCI2"), 1001, stokno, 1), 0);
        QCOMPARE(change(dealer, 1001, stokno + 1, 1), 0);
        QCOMPARE(change(dealer, 1001, stokno, open + 1), 0);
        QCOMPARE(change(dealer, 1001, stokno, -1), 0);
        QCOMPARE(proxy().BakiyeDegistir(nullptr, stokno, cartLine, line, 1, 1, barkod), 0);
        QCOMPARE(dbReal(kalanOf, line), kalan);

        const double itemOpen = dbReal(openOf, line);
        QCOMPARE(change(dealer, 1001, stokno, kalan - 1), 1);
        QCOMPARE(dbReal(kalanOf, line), kalan - 1);
        QCOMPARE(dbReal(openOf, line), std::max(0.0, itemOpen - 1));
        // The representative of the account may change it as well, back up to the open amount.
        QCOMPARE(change(QStringLiteral("TEMSILCI1"), 1001, stokno, open), 1);
        QCOMPARE(dbReal(kalanOf, line), open);

        // A price change is for representatives of type 2 only, and leaves the balance.
        const auto price = [&](const QString &user, int carino, int ln) {
            return proxy().BakiyeFiyatDegistir(as(user, carino), 0, 0, ln, qty, qty, barkod, 80,
                                               15);
        };
        QCOMPARE(price(dealer, 1001, line), 0);
        QCOMPARE(price(QStringLiteral("TEMSILCI1"), 1001, line), 0);
        auto rep2 = proxy().BakiyelerVer2(1009);
        QVERIFY(rep2->rowCount() > 0);
        const int line2 = int(integer(*rep2, 0, "STOKHAR_NO"));
        // A balance below the ordered quantity, which the price change sends as Bakiye.
        QCOMPARE(proxy().BakiyeDegistir(as(QStringLiteral("TEMSILCI2"), 1009), 0, 0, line2, 1, 1,
                                        barkod),
                 1);
        QCOMPARE(price(QStringLiteral("TEMSILCI2"), 1009, line2), 1);
        QCOMPARE(dbReal(kalanOf, line2), 1.0);
        rep2 = proxy().BakiyelerVer2(1009);
        QCOMPARE(num(*rep2, 0, "BIRIMFIYAT"), 80.0);
        QCOMPARE(num(*rep2, 0, "INDIRIMORANI1"), 15.0);
        QCOMPARE(num(*rep2, 0, "INDIRIMORANI2"), 0.0);
        QCOMPARE(num(*rep2, 0, "NETBIRIMFIYAT"), 68.0); // what the dialog showed
        QCOMPARE(proxy().BakiyeFiyatDegistir(as(QStringLiteral("TEMSILCI2"), 1009), 0, 0, line2, 1,
                                             1, barkod, 80, 101),
                 0);

        // Deleting takes the line off the balances for good.
        QCOMPARE(proxy().BakiyeDuzenle(as(dealer, 1001), stokno, cartLine, line, qty, open, barkod),
                 1);
        QCOMPARE(dbReal(kalanOf, line), 0.0);
        QVERIFY(!intSet(*proxy().BakiyelerVer2(1001), "STOKHAR_NO").contains(line));
        QCOMPARE(change(dealer, 1001, stokno, 1), 0);
        QCOMPARE(proxy().BakiyeDuzenle(as(dealer, 1001), 0, 0, 99999999, 1, 1, {}), 0);
    }

    void failedBalanceChangeKeepsTheLine() {
        auto t = proxy().BakiyelerVer2(1002);
        QVERIFY(t->rowCount() > 0);
        const int line = int(integer(*t, 0, "STOKHAR_NO"));
        const double kalan = num(*t, 0, "KALAN");
        {
            appserver::Db db(server->dbPath());
            db.exec("CREATE TRIGGER fail_item BEFORE UPDATE ON items "
                    "BEGIN SELECT RAISE(ABORT, 'disk dolu'); END");
        }
        try {
            proxy().BakiyeDuzenle(as(QStringLiteral("BAYI2")), 0, 0, line, 1, kalan, {});
            QFAIL("the failure did not reach the caller");
        } catch (const RemoteError &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("disk dolu")));
        }
        appserver::Db db(server->dbPath());
        db.exec("DROP TRIGGER fail_item");
        QCOMPARE(dbReal("SELECT KALAN FROM order_lines WHERE STOKHAR_NO = ?", line), kalan);
    }

    void representativeSeesOnlyOwnAccounts_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QList<int>>("accounts");
        const QList<int> rep1{1001, 1002, 1003, 1004, 1005, 1006};
        QTest::newRow("all of rep 1") << "TEMSILCI1"
                                      << "" << rep1;
        QTest::newRow("all of rep 2") << "TEMSILCI2"
                                      << "" << QList<int>{1007, 1008, 1009, 1010, 1011, 1012};
        QTest::newRow("city") << "TEMSILCI1"
                              << "ANKARA" << QList<int>{1002};
        QTest::newRow("folded letters") << "TEMSILCI1"
                                        << "ozturk oto" << QList<int>{1001};
        QTest::newRow("code") << "TEMSILCI1"
                              << "120.01.1005" << QList<int>{1005};
        QTest::newRow("other rep's city") << "TEMSILCI1"
                                          << "KONYA" << QList<int>{};
        QTest::newRow("dealer") << "BAYI1"
                                << "" << QList<int>{1001};
        QTest::newRow("inactive user") << "PASIF"
                                       << "" << QList<int>{};
    }
    void representativeSeesOnlyOwnAccounts() {
        QFETCH(QString, user);
        QFETCH(QString, search);
        QFETCH(QList<int>, accounts);
        auto t = proxy().CariAra(as(user), search);
        QList<int> got;
        for (int r = 0; r < t->rowCount(); ++r)
            got << int(integer(*t, r, "CARINO"));
        QCOMPARE(got, accounts);
    }

    void statusListsAndCounters() {
        const auto rep = [this] { return as(QStringLiteral("TEMSILCI1")); };
        auto found = proxy().CariAra(rep(), {});
        expectColumns(*found, {{"CARINO", FieldType::Integer},
                               {"CARIKOD", FieldType::String},
                               {"SATICISI", FieldType::String},
                               {"TLBAKIYE", FieldType::Double},
                               {"DURUM", FieldType::String},
                               {"SEPET", FieldType::Integer},
                               {"INDIRIM", FieldType::Double},
                               {"VADE", FieldType::Integer},
                               {"ALINDI", FieldType::Integer},
                               {"PARCALIHAZIRLANDI", FieldType::Integer}});
        for (int r = 0; r < found->rowCount(); ++r) {
            const double balance = dbReal("SELECT SUM(BORC) - SUM(ALACAK) FROM statement "
                                          "WHERE CARINO = ?",
                                          int(integer(*found, r, "CARINO")));
            QVERIFY(near(num(*found, r, "TLBAKIYE"), std::fabs(balance)));
            QCOMPARE(found->stringValue(r, col(*found, "DURUM")),
                     balance >= 0.005    ? QStringLiteral("B")
                     : balance <= -0.005 ? QStringLiteral("A")
                                         : QStringLiteral(" "));
        }

        // Cart holders.
        auto carts = proxy().CariSepetVer(rep(), 1);
        QCOMPARE(intSet(*carts, "CARINO"), (QSet<int>{1001, 1002, 1003}));
        QCOMPARE(proxy().SepetSayisi(rep()), 3);
        QCOMPARE(proxy().SepetSayisi(as(QStringLiteral("TEMSILCI2"))), 2);

        // Each status list: accounts with such orders; the counter counts the orders.
        auto counters = proxy().TusSonuclariVer(rep());
        const QList<QPair<int, int>> byStatus = {
            {2, counters->Alindi()},     {3, counters->Onaylandi()},
            {4, counters->Goruldu()},    {5, counters->ParcaliHazirlandi()},
            {6, counters->Hazirlandi()}, {7, counters->SevkEdildi()}};
        const char *columns[] = {"ALINDI",     "ONAYLANDI", "GORULDU", "PARCALIHAZIRLANDI",
                                 "HAZIRLANDI", "SEVKEDILDI"};
        for (int k = 0; k < byStatus.size(); ++k) {
            const auto [status, count] = byStatus[k];
            const double orders = dbReal("SELECT COUNT(*) FROM orders o JOIN accounts a "
                                         "ON a.CARINO = o.CARINO "
                                         "WHERE a.SATICINO = 1 AND o.DURUM = ?",
                                         status);
            QCOMPARE(double(count), orders);
            auto list = proxy().CariSepetVer(rep(), status);
            // Same columns in the same order as the search: they fill one table.
            QCOMPARE(list->columnCount(), found->columnCount());
            for (int c = 0; c < found->columnCount(); ++c)
                QCOMPARE(list->field(c).name, found->field(c).name);
            qint64 sum = 0;
            for (int r = 0; r < list->rowCount(); ++r) {
                QVERIFY(integer(*list, r, columns[k]) > 0);
                sum += integer(*list, r, columns[k]);
            }
            QCOMPARE(sum, qint64(count));
        }
        QVERIFY(counters->SevkEdildi() > 0 && counters->Alindi() > 0);

        for (int n : {0, 8, -1})
            QCOMPARE(proxy().CariSepetVer(rep(), n)->rowCount(), 0);
        auto none = proxy().TusSonuclariVer(nullptr);
        QCOMPARE(none->Alindi() + none->SevkEdildi(), 0);
        QCOMPARE(proxy().CariAra(nullptr, {})->rowCount(), 0);
    }

    void reportPdfs_data() {
        QTest::addColumn<int>("raporno");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("carino");
        QTest::addColumn<QString>("rep");
        QTest::addColumn<bool>("document");
        QTest::newRow("account summary") << 6 << "TEMSILCI1" << 1002 << "MEHMET KARAKAYA" << true;
        QTest::newRow("receivables, own") << 6 << "TEMSILCI1" << 0 << "TEMSILCI1" << true;
        QTest::newRow("receivables, all") << 6 << "TEMSILCI2" << 0 << "." << true;
        QTest::newRow("sales table") << 7 << "TEMSILCI2" << 1007 << "" << true;
        QTest::newRow("other rep's account") << 6 << "TEMSILCI1" << 1007 << "" << false;
        QTest::newRow("unknown report") << 9 << "TEMSILCI1" << 1002 << "" << false;
        QTest::newRow("unknown account") << 7 << "TEMSILCI1" << 4242 << "" << false;
        QTest::newRow("unknown rep name") << 6 << "TEMSILCI1" << 0 << "KIMSE" << false;
        QTest::newRow("unknown user") << 6 << "" << 1002 << "" << false;
    }
    void reportPdfs() {
        QFETCH(int, raporno);
        QFETCH(QString, user);
        QFETCH(int, carino);
        QFETCH(QString, rep);
        QFETCH(bool, document);
        const int idno = user.isEmpty() ? 999 : as(user)->Sirano();
        qint64 size = -1;
        auto stream =
            proxy().RaporGetir(raporno, raporno, idno, carino, rep, kToday - 365, kToday, size);
        const QByteArray bytes = download(std::move(stream), size);
        QCOMPARE(bytes.size(), size);
        QCOMPARE(isPdf(bytes), document);
        QCOMPARE(size > 0, document);
    }

    void receivedOrdersReport() {
        auto t =
            proxy().RaporAlinanSiparisler(as(QStringLiteral("TEMSILCI1")), kToday - 60, kToday);
        // The reports window defines these fields with these types.
        const QList<QPair<const char *, FieldType>> fields = {
            {"SATICIADI", FieldType::String},  {"IDNO", FieldType::Double},
            {"CARINO", FieldType::Integer},    {"TARIH", FieldType::Date},
            {"KUR", FieldType::String},        {"KURTL", FieldType::Double},
            {"VERENIDNO", FieldType::Integer}, {"KARGO", FieldType::String},
            {"TESLIM", FieldType::String},     {"VEREN", FieldType::String},
            {"CARIKOD", FieldType::String},    {"CARIADI", FieldType::String},
            {"DURUM", FieldType::String},      {"KARGOADI", FieldType::String},
            {"VERGI", FieldType::Double},      {"NETTUTAR", FieldType::Double},
            {"TUTAR", FieldType::Double}};
        expectColumns(*t, fields);
        QCOMPARE(t->columnCount(), int(fields.size()));
        QCOMPARE(double(t->rowCount()),
                 dbReal("SELECT COUNT(*) FROM orders o JOIN accounts a ON a.CARINO = o.CARINO "
                        "WHERE a.SATICINO = 1 AND o.TARIH >= ?",
                        int(kToday - 60)));
        QVERIFY(t->rowCount() > 0);
        for (int r = 0; r < t->rowCount(); ++r) {
            QCOMPARE(t->stringValue(r, col(*t, "SATICIADI")), QStringLiteral("MEHMET KARAKAYA"));
            QVERIFY(integer(*t, r, "CARINO") <= 1006);
            QCOMPARE(num(*t, r, "TARIH"), std::floor(num(*t, r, "TARIH")));
        }
        // Dates in either order give the same range.
        QCOMPARE(proxy()
                     .RaporAlinanSiparisler(as(QStringLiteral("TEMSILCI1")), kToday, kToday - 60)
                     ->rowCount(),
                 t->rowCount());
        QCOMPARE(proxy()
                     .RaporAlinanSiparisler(as(QStringLiteral("TEMSILCI1")), 1e300, kToday)
                     ->rowCount(),
                 0);
    }

    void soldItemsReport() {
        auto t =
            proxy().RaporEnCokSatilanStoklar(as(QStringLiteral("TEMSILCI2")), kToday - 365, kToday);
        expectColumns(*t, {{"BARKOD", FieldType::String},
                           {"KOD", FieldType::String},
                           {"ADI", FieldType::String},
                           {"DEPARTMAN", FieldType::String},
                           {"MIKTAR", FieldType::Double},
                           {"NETTUTAR", FieldType::Double},
                           {"TLVERGI", FieldType::Double},
                           {"TUTAR", FieldType::Double}});
        QVERIFY(t->rowCount() > 10);
        double qty = 0;
        for (int r = 0; r < t->rowCount(); ++r) {
            qty += num(*t, r, "MIKTAR");
            QVERIFY(near(num(*t, r, "TUTAR"), num(*t, r, "NETTUTAR") + num(*t, r, "TLVERGI")));
            if (r)
                QVERIFY(num(*t, r, "MIKTAR") <= num(*t, r - 1, "MIKTAR"));
        }
        // Sales less returns of the representative's accounts.
        QCOMPARE(qty, dbReal("SELECT SUM(CASE WHEN s.ALACAK > 0 THEN -v.MIKTAR ELSE v.MIKTAR END) "
                             "FROM invoice_lines v JOIN statement s ON s.IDNO = v.IDNO "
                             "JOIN accounts a ON a.CARINO = s.CARINO "
                             "WHERE a.SATICINO = ? AND s.TARIH >= 45838 - 365",
                             2));
        QCOMPARE(proxy().RaporEnCokSatilanStoklar(nullptr, kToday - 365, kToday)->rowCount(), 0);
    }
};

QTEST_MAIN(TestAccountMethods)
#include "test_account_methods.moc"
