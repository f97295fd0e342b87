// Round trips of every wire type between the proxy and a real zenvo-server on loopback.
#include "server/proxy.h"
#include "tests/support/testserver.h"

#include <QTest>

#include <arpa/inet.h>
#include <limits>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zenvo;
using namespace zenvo::appserver;
using zenvo::testing::TestServer;

namespace {

std::unique_ptr<ResultTable> everyColumnType() {
    auto t = std::make_unique<ResultTable>();
    const FieldType types[] = {FieldType::Integer,  FieldType::Int64, FieldType::Double,
                               FieldType::Currency, FieldType::Bcd,   FieldType::Boolean,
                               FieldType::String,   FieldType::Date,  FieldType::Time,
                               FieldType::DateTime, FieldType::Blob};
    for (FieldType ft : types)
        t->addField({QString::fromLatin1(fieldTypeName(ft)).toUpper(), ft,
                     ft == FieldType::String ? 40 : 0});
    t->appendRow({std::numeric_limits<int>::min(), std::numeric_limits<qint64>::max(), 0.1,
                  1234567.89, -0.005, true, QStringLiteral("İĞÜŞÖÇ ığüşöç \"\\\n"), 46367.0, 0.75,
                  46367.5, QByteArray("\x00\xFF\x10", 3)});
    QVariantList nulls;
    for (int i = 0; i < t->columnCount(); ++i)
        nulls << QVariant();
    t->appendRow(nulls);
    return t;
}

Dispatcher wireDispatcher() {
    Dispatcher d;
    addSessionMethods(d);
    d.add(MethodId::TeslimVer, [](CallContext &c) { c.setResult(everyColumnType()); });
    d.add(MethodId::SepetVer2, [](CallContext &c) { c.setResult(everyColumnType()); });
    d.add(MethodId::SepetSayisi, [](CallContext &c) {
        const TSonucBilgisi *s = c.session(0);
        c.setResult(qint64(s ? s->CARINO() : -1));
    });
    d.add(MethodId::CariEkstreVer2, [](CallContext &c) {
        auto t = std::make_unique<ResultTable>();
        t->addField({QStringLiteral("CARINO"), FieldType::Integer, 0});
        t->addField({QStringLiteral("T1"), FieldType::Double, 0});
        t->addField({QStringLiteral("T2"), FieldType::Double, 0});
        t->appendRow({c.integer(0), c.real(1), c.real(2)});
        c.setResult(std::move(t));
    });
    d.add(MethodId::StokAraGetirQRX, [](CallContext &c) {
        auto t = std::make_unique<ResultTable>();
        for (const char *n : {"KOD", "DEP", "ANA", "ALT", "ADI"})
            t->addField({QString::fromLatin1(n), FieldType::String, 20});
        for (const char *n : {"KAMP", "YENI", "VAR", "RESIM"})
            t->addField({QString::fromLatin1(n), FieldType::Boolean, 0});
        const TSonucBilgisi *s = c.session(8);
        t->appendRow({c.text(0), c.text(1), c.text(2), c.text(3), s ? s->ADI() : QString(),
                      c.boolean(4), c.boolean(5), c.boolean(6), c.boolean(7)});
        c.setResult(std::move(t));
    });
    d.add(MethodId::ResimVer5, [](CallContext &c) {
        const QByteArray bytes(2500, char(c.integer(0)));
        c.setResult(bytes);
        // Stock number 13 reports one byte more than it sends.
        c.setOut(1, qint64(bytes.size() + (c.integer(0) == 13 ? 1 : 0)));
    });
    d.add(MethodId::BelgeIndir, [](CallContext &c) {
        c.setResult(QByteArray("%PDF-1.4"));
        c.setOut(1, qint64(1) << 40);
        c.setOut(2, QStringLiteral("belge-ğ.pdf"));
    });
    d.add(MethodId::KurlariAl, [](CallContext &c) {
        c.setOut(0, 1e-300);
        c.setOut(1, -123456789.125);
        c.setResult(qint64(std::numeric_limits<int>::max()));
    });
    d.add(MethodId::SiparisAytintisiDip, [](CallContext &c) {
        if (c.integer(1) == 0)
            return; // null record
        auto r = std::make_unique<TSiparisDipAyrinti>();
        r->SetDurumu(QStringLiteral("Onaylandı"));
        c.setResult(std::unique_ptr<TRecord>(std::move(r)));
    });
    d.add(MethodId::AcilisEkranlarVer2, [](CallContext &c) {
        auto h = std::make_unique<TAcilisEkranlariki>();
        std::vector<TAcilisEkran> e(2);
        e[0].SetBaslik(QStringLiteral("Yeni ürünler"));
        e[1].SetResim(QStringLiteral("FFD8"));
        h->SetEkranlar(e);
        c.setResult(std::unique_ptr<TRecord>(std::move(h)));
    });
    d.add(MethodId::MobilStokaraAdimli, [](CallContext &c) {
        auto list = std::make_unique<TMobilStoklar>();
        for (int i = 0; i < c.integer(5); ++i)
            list->items.push_back(std::make_unique<TMobilStok>());
        c.setOut(6, true);
        c.setOut(7, qint64(99));
        c.setResult(std::unique_ptr<TRecord>(std::move(list)));
    });
    d.add(MethodId::CarileriVer, [](CallContext &c) {
        c.setResult(QJsonArray{1, QStringLiteral("ş"), QJsonObject{{QStringLiteral("b"), {}}}});
    });
    d.add(MethodId::SifremiUnuttum,
          [](CallContext &) { throw std::runtime_error("Kullanıcı bulunamadı"); });
    return d;
}

void compareTables(const ResultTable &a, const ResultTable &b) {
    QCOMPARE(a.columnCount(), b.columnCount());
    QCOMPARE(a.rowCount(), b.rowCount());
    for (int c = 0; c < a.columnCount(); ++c) {
        QCOMPARE(a.field(c).name, b.field(c).name);
        QCOMPARE(a.field(c).type, b.field(c).type);
        QCOMPARE(a.field(c).size, b.field(c).size);
        for (int r = 0; r < a.rowCount(); ++r) {
            QCOMPARE(a.isNull(r, c), b.isNull(r, c));
            QCOMPARE(a.value(r, c), b.value(r, c));
        }
    }
}

// A port on loopback that nobody listens on (bound, then released).
std::uint16_t freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

int listenOn(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sends raw bytes to the server and returns the answer frame's JSON ("" when it closed).
std::string rawExchange(std::uint16_t port, const std::string &bytes) {
    net::Socket s = net::connectTcp("127.0.0.1", port, std::chrono::seconds(5));
    ::send(s.fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::vector<char> buf;
    try {
        const std::size_t n =
            net::readFrame(s.fd(), buf, 0, net::Clock::now() + std::chrono::seconds(10));
        return std::string(buf.data(), n);
    } catch (const net::NetError &) {
        return {};
    }
}

std::string frame(const std::string &json) {
    const std::uint32_t len = htonl(std::uint32_t(json.size()));
    return std::string(reinterpret_cast<const char *>(&len), 4) + json;
}

} // namespace

class TestWire : public QObject {
    Q_OBJECT
    std::unique_ptr<TestServer> server;
    std::unique_ptr<ServerConnection> conn;

    TServerMethods1Client &proxy() {
        conn->Open();
        m_proxy = std::make_unique<TServerMethods1Client>(conn.get());
        return *m_proxy;
    }
    std::unique_ptr<TServerMethods1Client> m_proxy;

private slots:
    void initTestCase() {
        server = std::make_unique<TestServer>(wireDispatcher(), [](sqlite3 *db) {
            sqlite3_exec(db,
                         "CREATE TABLE settings(KEY TEXT PRIMARY KEY, VALUE TEXT);"
                         "CREATE TABLE users(SIRANO INTEGER PRIMARY KEY, ADI TEXT, SIFRE TEXT,"
                         " MUSTERITIPI INT, CARINO INT, SATICINO INT, AKTIF INT, MAIL TEXT);"
                         "CREATE TABLE machines(BILGISAYARID TEXT PRIMARY KEY, SIRANO INT);"
                         "CREATE TABLE accounts(CARINO INTEGER PRIMARY KEY, CARIKOD TEXT,"
                         " CARIADI TEXT, AKTIF INT, SATICINO INT);"
                         "CREATE TABLE sales_reps(SATICINO INTEGER PRIMARY KEY, SATICIADI TEXT,"
                         " TELEFON TEXT, MAIL TEXT);"
                         "INSERT INTO sales_reps VALUES(4,'Ayşe Çelik','0212','a@b');"
                         "INSERT INTO accounts VALUES(120,'120.01','ÖZ OTO',1,4);"
                         "INSERT INTO users VALUES(7,'BAYİ','ŞİFRE',3,120,0,1,'u@x');"
                         "INSERT INTO machines VALUES('WD-XYZ',7);",
                         nullptr, nullptr, nullptr);
        });
        conn = server->connection();
    }
    void cleanup() { m_proxy.reset(), conn->Close(); }

    void texts() {
        const QString s = QStringLiteral("İstanbul ığüşöç ÇĞÜŞÖ € 😀 \"\\/\n\t");
        QCOMPARE(proxy().EchoString(s), s);
        QCOMPARE(proxy().ReverseString(QStringLiteral("abç😀")), QStringLiteral("😀çba"));
        QCOMPARE(proxy().EchoString(QString()), QString());
    }

    void integersDoublesBooleans() {
        for (int v : {std::numeric_limits<int>::min(), -1, 0, std::numeric_limits<int>::max()}) {
            auto s = std::make_unique<TSonucBilgisi>();
            s->SetCARINO(v);
            QCOMPARE(proxy().SepetSayisi(std::move(s)), v);
        }
        QCOMPARE(proxy().SepetSayisi(nullptr), -1);
        double usd = 0, eur = 0;
        QCOMPARE(proxy().KurlariAl(usd, eur), std::numeric_limits<int>::max());
        QCOMPARE(usd, 1e-300);
        QCOMPARE(eur, -123456789.125);
        auto t = proxy().CariEkstreVer2(42, 46367.999988425923, -0.1);
        QCOMPARE(t->intValue(0, 0), 42);
        QCOMPARE(t->doubleValue(0, 1), 46367.999988425923);
        QCOMPARE(t->doubleValue(0, 2), -0.1);
        auto s = std::make_unique<TSonucBilgisi>();
        s->SetADI(QStringLiteral("ŞEN"));
        auto q = proxy().StokAraGetirQRX(QStringLiteral("FREN"), QStringLiteral("d"),
                                         QStringLiteral("a"), QString(), true, false, true, false,
                                         std::move(s));
        QCOMPARE(q->stringValue(0, 0), QStringLiteral("FREN"));
        QCOMPARE(q->stringValue(0, 4), QStringLiteral("ŞEN"));
        QCOMPARE(q->value(0, 5), QVariant(true));
        QCOMPARE(q->value(0, 6), QVariant(false));
        QCOMPARE(q->value(0, 7), QVariant(true));
        bool kalan = false;
        int toplam = 0;
        auto list =
            proxy().MobilStokaraAdimli(QStringLiteral("x"), nullptr, 0, 0, 0, 3, kalan, toplam);
        QCOMPARE(list->Count(), 3);
        QCOMPARE(list->items[2]->KDV(), 18.0);
        QVERIFY(kalan);
        QCOMPARE(toplam, 99);
    }

    void records() {
        auto s = proxy().BuyukGetir(QStringLiteral("WD-XYZ"));
        QVERIFY(s);
        QVERIFY(s->Varmi());
        QCOMPARE(s->ADI(), QStringLiteral("BAYİ"));
        QCOMPARE(s->SIFRE(), QStringLiteral("ŞİFRE"));
        QCOMPARE(s->CARINO(), 120);
        QCOMPARE(s->CariAdi(), QStringLiteral("ÖZ OTO"));
        QCOMPARE(s->SaticiAdi(), QStringLiteral("Ayşe Çelik"));
        QCOMPARE(s->MusteriTipi(), 3);
        QCOMPARE(s->AKTIF(), 1);
        QCOMPARE(s->Sirano(), 7);
        auto unknown = proxy().BuyukGetir(QStringLiteral("BASKA"));
        QVERIFY(unknown && !unknown->Varmi());

        QVERIFY(!proxy().SiparisAytintisiDip(0, 0));
        auto dip = proxy().SiparisAytintisiDip(0, 5);
        QCOMPARE(dip->Durumu(), QStringLiteral("Onaylandı"));
        auto ekran = proxy().AcilisEkranlarVer2();
        QCOMPARE(ekran->Ekranlar().size(), std::size_t(2));
        QCOMPARE(ekran->Ekranlar()[0].Baslik(), QStringLiteral("Yeni ürünler"));
        QCOMPARE(ekran->Ekranlar()[1].ResimBaytlari(), QByteArray("\xFF\xD8"));
    }

    void tables() {
        auto expected = everyColumnType();
        auto reader = proxy().TeslimVer();
        compareTables(*reader, *expected);
        auto packet = proxy().SepetVer2(1);
        compareTables(*packet, *expected);
        // A reader load into a table of the same columns, then a packet that replaces them.
        ResultTable t;
        t.loadReader(std::move(*reader));
        t.loadPacket(std::move(*packet));
        QCOMPARE(t.rowCount(), 2);
    }

    void streamsAndArrays() {
        qint64 boy = 0;
        auto stream = proxy().ResimVer5(7, boy);
        QCOMPARE(boy, 2500);
        QByteArray bytes;
        int blocks = 0;
        QVERIFY(AkisOku(stream.get(), boy, bytes, [&] { ++blocks; }));
        QCOMPARE(bytes, QByteArray(2500, 7));
        QCOMPARE(blocks, 3);
        // One byte short of the reported size: dropped.
        stream = proxy().ResimVer5(13, boy);
        QCOMPARE(boy, 2501);
        QVERIFY(!AkisOku(stream.get(), boy, bytes));
        QVERIFY(bytes.isEmpty());
        // A reported size of 0 reads nothing.
        stream = proxy().ResimVer5(7, boy);
        QVERIFY(!AkisOku(stream.get(), 0, bytes));
        QCOMPARE(stream->pos(), 0);

        qint64 size = 0;
        QString adi;
        auto pdf = proxy().BelgeIndir(1, size, adi);
        QCOMPARE(size, qint64(1) << 40);
        QCOMPARE(adi, QStringLiteral("belge-ğ.pdf"));
        QCOMPARE(pdf->readAll(), QByteArray("%PDF-1.4"));

        const QJsonArray arr = proxy().CarileriVer();
        QCOMPARE(arr.size(), 3);
        QCOMPARE(arr[1].toString(), QStringLiteral("ş"));
        QVERIFY(arr[2].toObject().value(u"b").isNull());
    }

    void placeholdersAnswerTheirKind() {
        auto t = proxy().OncekiSiparisler(1);
        QVERIFY(t);
        QCOMPARE(t->rowCount(), 0);
        QCOMPARE(proxy().KayanYaziGetir(), QString());
        QVERIFY(proxy().TusSonuclariVer(nullptr));
        qint64 size = -1;
        auto banner = proxy().BannerResimVer(size);
        QCOMPARE(size, 0);
        proxy().SepetSecimGuncelle(1, 1);
    }

    void serverErrorsReachTheCaller() {
        int mail = 0;
        try {
            proxy().SifremiUnuttum(QStringLiteral("x"), mail);
            QFAIL("no error");
        } catch (const RemoteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Kullanıcı bulunamadı"));
        }
        // The connection serves the next call.
        QCOMPARE(proxy().EchoString(QStringLiteral("a")), QStringLiteral("a"));
    }

    void proxyNeedsAnOpenConnection() {
        ServerConnection closed;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, TServerMethods1Client{&closed});
        QVERIFY_THROWS_EXCEPTION(std::logic_error, TServerMethods1Client{nullptr});
        // Two calls on one proxy prepare the command once and reconnect for the second.
        auto &p = proxy();
        QCOMPARE(p.EchoString(QStringLiteral("1")), QStringLiteral("1"));
        QCOMPARE(p.EchoString(QStringLiteral("2")), QStringLiteral("2"));
        QCOMPARE(p.ReverseString(QStringLiteral("ab")), QStringLiteral("ba"));
        QCOMPARE(p.PreparedCommandCount(), 2);
    }

    void baglantiAcGivesUp() {
        int waits = 0, waitedMs = 0, messages = 0;
        QString text;
        SetBaglantiBekleyici([&](int ms) { ++waits, waitedMs += ms; });
        SetBaglantiMesajGosterici([&](const QString &t) { ++messages, text = t; });
        ServerConnection c;
        c.SetHostName(QStringLiteral("127.0.0.1"));
        c.SetPort(QString::number(freePort()));
        QVERIFY(!BaglantiAc(c, 1));
        QCOMPARE(c.OpenAttempts(), 11);
        QCOMPARE(waits, 11);
        QCOMPARE(waitedMs, 5500);
        QCOMPARE(messages, 1);
        QCOMPARE(text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QVERIFY(!BaglantiAc(c, 0));
        QCOMPARE(c.OpenAttempts(), 22);
        QCOMPARE(messages, 1);
        SetBaglantiBekleyici({});
        SetBaglantiMesajGosterici({});
    }

    void baglantiAcSucceedsOnTheThirdAttempt() {
        const std::uint16_t port = freePort();
        int waits = 0, messages = 0, listener = -1;
        SetBaglantiBekleyici([&](int) {
            if (++waits == 2)
                listener = listenOn(port);
        });
        SetBaglantiMesajGosterici([&](const QString &) { ++messages; });
        ServerConnection c;
        c.SetHostName(QStringLiteral("127.0.0.1"));
        c.SetPort(QString::number(port));
        QVERIFY(BaglantiAc(c, 1));
        QVERIFY(listener >= 0);
        QCOMPARE(c.OpenAttempts(), 3);
        QCOMPARE(waits, 2);
        QCOMPARE(messages, 0);
        // An open connection is closed and opened again.
        QVERIFY(BaglantiAc(c, 1));
        QCOMPARE(c.OpenAttempts(), 4);
        QVERIFY(c.Connected());
        ::close(listener);
        SetBaglantiBekleyici({});
        SetBaglantiMesajGosterici({});
    }

    void serverRefusesBadInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        auto f = [](const char *json) { return QByteArray::fromStdString(frame(json)); };
        QTest::newRow("empty frame") << QByteArray("\0\0\0\0", 4) << "frame length 0";
        QTest::newRow("oversized frame") << QByteArray("\x10\0\0\x01", 4) << "out of range";
        QTest::newRow("bad json") << f("{\"method\":") << "invalid JSON";
        QTest::newRow("not utf-8") << f("{\"method\":\"\xff\xfe\"}") << "invalid JSON";
        QTest::newRow("unknown method")
            << f(R"({"method":"TServerMethods1.Yok","params":[]})") << "unknown method";
        QTest::newRow("count") << f(R"({"method":"TServerMethods1.EchoString","params":[]})")
                               << "takes 1 parameters, 0 were sent";
        QTest::newRow("type") << f(R"({"method":"TServerMethods1.SepetVer2","params":["1"]})")
                              << "parameter 0 (carino) of SepetVer2: expected an integer";
        QTest::newRow("object type")
            << f(R"({"method":"TServerMethods1.SepetSayisi","params":[{"type":"x.Y"}]})")
            << "expected an object of class";
    }
    void serverRefusesBadInput() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const std::string answer = rawExchange(server->port(), bytes.toStdString());
        QVERIFY2(QString::fromStdString(answer).contains(QStringLiteral("\"error\"")),
                 answer.c_str());
        QVERIFY2(QString::fromStdString(answer).contains(message), answer.c_str());
        QCOMPARE(proxy().EchoString(QStringLiteral("sonra")), QStringLiteral("sonra"));
    }

    void silentClientIsDropped() {
        TestServer quick(wireDispatcher(), {}, std::chrono::milliseconds(200));
        net::Socket s = net::connectTcp("127.0.0.1", quick.port(), std::chrono::seconds(5));
        const std::string half =
            frame(R"({"method":"TServerMethods1.EchoString","params":["x"]})").substr(0, 20);
        ::send(s.fd(), half.data(), half.size(), MSG_NOSIGNAL);
        pollfd p{s.fd(), POLLIN, 0};
        QCOMPARE(::poll(&p, 1, 10000), 1);
        char c;
        QCOMPARE(::recv(s.fd(), &c, 1, 0), ssize_t(0)); // closed without an answer
        auto qc = quick.connection();
        qc->Open();
        TServerMethods1Client p2(qc.get());
        QCOMPARE(p2.EchoString(QStringLiteral("hâlâ")), QStringLiteral("hâlâ"));
    }
};

QTEST_GUILESS_MAIN(TestWire)
#include "test_wire.moc"
