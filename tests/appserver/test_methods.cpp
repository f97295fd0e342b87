// The catalogue, cart and order methods of zenvo-server, called through the real proxy.
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "appserver/tables.h"
#include "server/proxy.h"
#include "tests/support/testserver.h"

#include <QImage>
#include <QTest>

using namespace zenvo;
using zenvo::testing::TestServer;

namespace {

constexpr int kAccount = 1001; // BAYI1, a dealer of type 3

int col(const ResultTable &t, const char *name) {
    const int c = t.fieldIndex(QString::fromLatin1(name));
    if (c < 0)
        qFatal("no column %s", name);
    return c;
}

std::unique_ptr<TSonucBilgisi> session(int carino = kAccount, int sirano = 3) {
    auto s = std::make_unique<TSonucBilgisi>();
    s->SetCARINO(carino);
    s->SetSirano(sirano);
    return s;
}

} // namespace

class TestMethods : public QObject {
    Q_OBJECT
    std::unique_ptr<TestServer> server;
    std::unique_ptr<ServerConnection> conn;
    std::unique_ptr<TServerMethods1Client> m_proxy;

    TServerMethods1Client &proxy() {
        m_proxy.reset();
        conn->Open();
        m_proxy = std::make_unique<TServerMethods1Client>(conn.get());
        return *m_proxy;
    }

    // Adds the item to the account's cart as the client does, from its search row.
    int addFromRow(const ResultTable &t, int r, double qty, int carino = kAccount) {
        return proxy().SepetEkle2(
            session(carino), carino, int(t.intValue(r, col(t, "STOK_STOKNO"))),
            t.stringValue(r, col(t, "BARKOD")), t.stringValue(r, col(t, "ADI")), qty,
            double(t.intValue(r, col(t, "KDV"))), t.doubleValue(r, col(t, "FIYAT")),
            t.doubleValue(r, col(t, "IND1")), 3, int(t.intValue(r, col(t, "K"))),
            t.doubleValue(r, col(t, "IND2")), t.doubleValue(r, col(t, "IND3")),
            t.doubleValue(r, col(t, "IND4")));
    }

private slots:
    void initTestCase() {
        server = std::make_unique<TestServer>(appserver::serverDispatcher(), [](sqlite3 *db) {
            appserver::createSchema(db);
            appserver::fillDemoData(db, {.items = 400, .seed = 1});
        });
        conn = server->connection();
    }
    void cleanup() { m_proxy.reset(), conn->Close(); }

    void searchFindsPartNumbersWrittenAnyWay_data() {
        QTest::addColumn<QString>("text");
        for (const char *t :
             {"G50-70", "G5070", "G50 70", "g50-70", "46.521.001", "46521001", "46/521/001",
              "0986-494-123", "0986494123", "1K0 698 151", "1K0698151", "7701/208/265"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void searchFindsPartNumbersWrittenAnyWay() {
        QFETCH(QString, text);
        auto t = proxy().StokAraGetir(text, session());
        QVERIFY(t->rowCount() >= 1);
        bool found = false;
        for (int r = 0; r < t->rowCount(); ++r)
            found |= t->intValue(r, col(*t, "STOK_STOKNO")) <= 2;
        QVERIFY2(found, qPrintable(text));
    }

    void searchRowsCarryPricesForTheAccount() {
        auto t = proxy().StokAraGetir(QStringLiteral("FREN"), session());
        QVERIFY(t->rowCount() > 3);
        for (const char *name :
             {"DURUM",       "OEM1",  "BARKOD",      "ADI",       "STOK_STOKNO", "RESIM",
              "KDV",         "FIYAT", "LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT",    "KDVDAHIL",
              "INDIRIMYAZI", "IND1",  "IND2",        "IND3",      "IND4",        "K",
              "Y",           "MARKA", "MODEL",       "FINISHKOD"})
            QVERIFY2(t->fieldIndex(QString::fromLatin1(name)) >= 0, name);
        QCOMPARE(t->field(col(*t, "FIYAT")).type, FieldType::Double);
        for (int r = 0; r < t->rowCount(); ++r) {
            const double price = t->doubleValue(r, col(*t, "FIYAT"));
            const double net = t->doubleValue(r, col(*t, "NETFIYAT"));
            const double kdv = double(t->intValue(r, col(*t, "KDV")));
            QVERIFY(net <= price);
            // Rounded to cents, halves away from zero.
            QVERIFY(std::fabs(t->doubleValue(r, col(*t, "KDVDAHIL")) - net * (1 + kdv / 100)) <=
                    0.005 + 1e-9);
            if (t->intValue(r, col(*t, "K")) > 0) {
                QCOMPARE(price, t->doubleValue(r, col(*t, "KAMPFIYAT")));
                QCOMPARE(net, price);
            } else {
                QCOMPARE(price, t->doubleValue(r, col(*t, "LISTEFIYAT1")));
            }
        }
        QCOMPARE(proxy().StokAraGetir(QStringLiteral("ZZZQQQ"), session())->rowCount(), 0);
    }

    void newAndCampaignLists() {
        auto fresh = proxy().YenilerVer2(kAccount);
        QVERIFY(fresh->rowCount() > 0);
        QVERIFY(fresh->fieldIndex(u"INDIRIM") >= 0);
        for (int r = 0; r < fresh->rowCount(); ++r)
            QCOMPARE(fresh->intValue(r, col(*fresh, "Y")), 1);
        auto camp = proxy().KampanyaliVer2(kAccount, 3);
        QVERIFY(camp->rowCount() > 0);
        for (int r = 0; r < camp->rowCount(); ++r) {
            QVERIFY(camp->intValue(r, col(*camp, "K")) > 0);
            QCOMPARE(camp->doubleValue(r, col(*camp, "FIYAT")),
                     camp->doubleValue(r, col(*camp, "KAMPFIYAT")));
            QCOMPARE(camp->doubleValue(r, col(*camp, "ESKIFIYAT")),
                     camp->doubleValue(r, col(*camp, "LISTEFIYAT1")));
        }
    }

    void picturesAreJpegs() {
        auto t = proxy().StokAraGetir(QStringLiteral("FREN"), session());
        int withPicture = -1, without = -1;
        for (int r = 0; r < t->rowCount(); ++r)
            (t->intValue(r, col(*t, "RESIM")) ? withPicture : without) =
                int(t->intValue(r, col(*t, "STOK_STOKNO")));
        QVERIFY(withPicture > 0);
        qint64 boy = -1;
        auto stream = proxy().ResimVer5(withPicture, boy);
        QByteArray bytes;
        QVERIFY(AkisOku(stream.get(), boy, bytes));
        QImage img;
        QVERIFY(img.loadFromData(bytes, "JPEG"));
        QVERIFY(img.width() > 100);
        proxy().ResimVer5(999999, boy);
        QCOMPARE(boy, 0);
    }

    void cartLinesAndChoices() {
        const int acc = 1012; // no cart in the demo data
        proxy().SepetHepsiniSil(session(acc));
        auto items = proxy().StokAraGetir(QStringLiteral("FREN"), session(acc));
        QCOMPARE(addFromRow(*items, 0, 2, acc), 1);
        QCOMPARE(addFromRow(*items, 1, 1, acc), 1);
        QCOMPARE(addFromRow(*items, 2, 0, acc), 0);     // no quantity
        QCOMPARE(addFromRow(*items, 2, 10001, acc), 0); // over the limit
        auto cart = proxy().SepetVer2(acc);
        QCOMPARE(cart->rowCount(), 2);
        const int line = int(cart->intValue(0, col(*cart, "SIRANO")));
        QCOMPARE(cart->intValue(0, col(*cart, "SEC")), 0);
        QCOMPARE(cart->doubleValue(0, col(*cart, "BIRIMFIYAT")),
                 items->doubleValue(0, col(*items, "FIYAT")));
        QCOMPARE(cart->doubleValue(0, col(*cart, "TUTAR")),
                 std::round(2 * items->doubleValue(0, col(*items, "FIYAT")) * 100) / 100);
        QCOMPARE(cart->doubleValue(0, col(*cart, "TUTAR")) -
                     cart->doubleValue(0, col(*cart, "INDIRIMTUTAR")),
                 cart->doubleValue(0, col(*cart, "NETTUTAR")));
        QCOMPARE(cart->stringValue(0, col(*cart, "VEREN")), QStringLiteral("BAYI1"));

        // A change names the line by its number; stokno 0.
        QCOMPARE(proxy().SepetGuncelle2(session(acc), acc, 0, QString(), QString(), 5, 18,
                                        cart->doubleValue(0, col(*cart, "BIRIMFIYAT")), 0, 3, line,
                                        0, 0, 0),
                 1);
        QCOMPARE(proxy().SepetGuncelle2(session(acc), acc, 0, QString(), QString(), 5, 18, 1, 0, 3,
                                        999999, 0, 0, 0),
                 0);
        proxy().SepetSecimGuncelle(line, 1);
        cart = proxy().SepetVer2(acc);
        QCOMPARE(cart->doubleValue(0, col(*cart, "MIKTAR")), 5.0);
        QCOMPARE(cart->intValue(0, col(*cart, "SEC")), 1);
        QCOMPARE(cart->intValue(1, col(*cart, "SEC")), 0);

        // Another account cannot delete this line.
        proxy().SepetSatirSil(session(1001), line, QStringLiteral("x"));
        QCOMPARE(proxy().SepetVer2(acc)->rowCount(), 2);
        proxy().SepetSatirSil(session(acc), line, QStringLiteral("x"));
        QCOMPARE(proxy().SepetVer2(acc)->rowCount(), 1);
        proxy().SepetHepsiniSil(session(acc));
        QCOMPARE(proxy().SepetVer2(acc)->rowCount(), 0);
    }

    void deliveryAndCargo() {
        auto teslim = proxy().TeslimVer();
        QCOMPARE(teslim->rowCount(), 3);
        QCOMPARE(teslim->field(0).type, FieldType::Integer);
        auto kargo = proxy().KargoVer();
        QCOMPARE(kargo->rowCount(), 3);
        QList<int> firms;
        for (int r = 0; r < kargo->rowCount(); ++r) {
            auto f = proxy().KargolarVer(int(kargo->intValue(r, 0)));
            QVERIFY(f->fieldIndex(u"ADI") >= 0 && f->fieldIndex(u"SIRANO") >= 0 &&
                    f->fieldIndex(u"UYARI") >= 0);
            firms << f->rowCount();
        }
        QVERIFY(firms.contains(1) && firms.contains(2));
    }

    void orderTakesExactlyTheChosenLines() {
        const int acc = 1012;
        auto items = proxy().StokAraGetir(QStringLiteral("FREN"), session(acc));
        QCOMPARE(addFromRow(*items, 0, 2, acc), 1);
        QCOMPARE(addFromRow(*items, 1, 1, acc), 1);
        auto cart = proxy().SepetVer2(acc);
        const int chosen = int(cart->intValue(0, col(*cart, "SIRANO")));
        const int kept = int(cart->intValue(1, col(*cart, "SIRANO")));
        auto kinds = proxy().KargoVer();
        const int kind = int(kinds->intValue(0, 0));
        auto firms = proxy().KargolarVer(kind);
        const int firm = int(firms->intValue(0, col(*firms, "SIRANO")));

        // Nothing chosen: no order.
        QVERIFY(!proxy().SiparisKaydet(session(acc), acc, 1, kind, QString(), 3, firm));
        proxy().SepetSecimGuncelle(chosen, 1);
        // A firm of another cargo kind is refused.
        QVERIFY(!proxy().SiparisKaydet(session(acc), acc, 1, kind, QString(), 3, 999));
        const QString note = QStringLiteral("Öğleden önce\nteslim lütfen");
        QVERIFY(proxy().SiparisKaydet(session(acc), acc, 1, kind, note, 3, firm));

        cart = proxy().SepetVer2(acc);
        QCOMPARE(cart->rowCount(), 1);
        QCOMPARE(cart->intValue(0, col(*cart, "SIRANO")), kept);
        appserver::Db db(server->dbPath());
        appserver::Stmt st(db.handle(),
                           "SELECT o.TESLIMID, o.KARGOID, o.KARGOFIRMAID, o.ACIKLAMA, o.VERENIDNO, "
                           "COUNT(l.STOKHAR_NO), MIN(l.SEPETSIRANO) FROM orders o "
                           "JOIN order_lines l ON l.IDNO = o.IDNO WHERE o.CARINO = ? "
                           "GROUP BY o.IDNO");
        st.bind(1, acc);
        QVERIFY(st.step());
        QCOMPARE(st.integer(0), 1);
        QCOMPARE(st.integer(1), kind);
        QCOMPARE(st.integer(2), firm);
        QCOMPARE(st.text(3), note);
        QCOMPARE(st.integer(4), 3);
        QCOMPARE(st.integer(5), 1);
        QCOMPARE(st.integer(6), chosen);
        QVERIFY(!st.step());
    }

    void failedOrderLeavesTheCart() {
        const int acc = 1012;
        proxy().SepetHepsiniSil(session(acc));
        auto items = proxy().StokAraGetir(QStringLiteral("FREN"), session(acc));
        QCOMPARE(addFromRow(*items, 0, 1, acc), 1);
        QCOMPARE(addFromRow(*items, 1, 1, acc), 1);
        auto cart = proxy().SepetVer2(acc);
        for (int r = 0; r < cart->rowCount(); ++r)
            proxy().SepetSecimGuncelle(int(cart->intValue(r, col(*cart, "SIRANO"))), 1);
        const int second = int(cart->intValue(1, col(*cart, "STOKNO")));
        int orders = 0;
        {
            appserver::Db db(server->dbPath());
            appserver::Stmt count(db.handle(), "SELECT COUNT(*) FROM orders");
            count.step();
            orders = count.integer(0);
            // The second line fails midway through the order.
            db.exec(("CREATE TRIGGER fail_line BEFORE INSERT ON order_lines WHEN NEW.STOKNO = " +
                     std::to_string(second) + " BEGIN SELECT RAISE(ABORT, 'disk dolu'); END")
                        .c_str());
        }
        auto kinds = proxy().KargoVer();
        const int kind = int(kinds->intValue(0, 0));
        auto firms = proxy().KargolarVer(kind);
        try {
            proxy().SiparisKaydet(session(acc), acc, 1, kind, QString(), 3,
                                  int(firms->intValue(0, col(*firms, "SIRANO"))));
            QFAIL("the failure did not reach the caller");
        } catch (const RemoteError &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("disk dolu")));
        }
        appserver::Db db(server->dbPath());
        db.exec("DROP TRIGGER fail_line");
        appserver::Stmt count(db.handle(), "SELECT COUNT(*) FROM orders");
        count.step();
        QCOMPARE(count.integer(0), orders);
        auto after = proxy().SepetVer2(acc);
        QCOMPARE(after->rowCount(), 2);
        QCOMPARE(after->intValue(0, col(*after, "SEC")), 1);
    }

    void moneyRounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("1.005") << 1.005 << 1.01;
        QTest::newRow("2.675") << 2.675 << 2.68;
        QTest::newRow("-2.675") << -2.675 << -2.68;
        QTest::newRow("0.994") << 0.994 << 0.99;
        QTest::newRow("0.005") << 0.005 << 0.01;
        QTest::newRow("0.004") << 0.004 << 0.0;
        QTest::newRow("1234567.891") << 1234567.891 << 1234567.89;
        QTest::newRow("135.5*1.18") << 135.5 * 1.18 << 159.89;
    }
    void moneyRounding() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(appserver::r2(value), rounded);
    }

    void overdueWarning() {
        QVERIFY(proxy().CariVadeGunGecmismiBul(1002).contains(QStringLiteral("Vadesi")));
        QCOMPARE(proxy().CariVadeGunGecmismiBul(1001), QString());
        QCOMPARE(proxy().CariVadeGunGecmismiBul(424242), QString());
    }
};

QTEST_MAIN(TestMethods)
#include "test_methods.moc"
