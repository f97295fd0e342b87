// What the catalogue tests share: a cart test double, and a main window logged in as a demo
// user against an in-process zenvo-server.
#pragma once

#include "app/mainwindow.h"
#include "app/messages.h"
#include "app/runner.h"
#include "appserver/demodata.h"
#include "appserver/dispatch.h"
#include "appserver/schema.h"
#include "cart/sepetarayuzu.h"
#include "catalogue/katalog.h"
#include "server/proxy.h"
#include "tests/support/testserver.h"

#include <QTest>

#include <memory>

namespace zenvo::testing {

// Stands in for the cart tab: loads SepetVer2 into its table on bagc.
class TestSepet final : public SepetArayuzu {
public:
    TestSepet(ServerConnection &bagc, TSonucBilgisi &bilgi) : m_bagc(bagc), m_bilgi(bilgi) {}
    bool SepetYuklendi() const override { return m_yuklendi; }
    bool SepetYukle() override {
        ++yuklemeler;
        if (!BaglantiAc(m_bagc, 1))
            return false;
        std::unique_ptr<ResultTable> t;
        {
            TServerMethods1Client proxy(&m_bagc, false);
            t = proxy.SepetVer2(m_bilgi.CARINO());
        }
        m_bagc.Close();
        m_sepet.loadPacket(std::move(*t));
        m_yuklendi = true;
        return true;
    }
    ResultTable &sepet() override { return m_sepet; }

    int yuklemeler = 0;

private:
    ServerConnection &m_bagc;
    TSonucBilgisi &m_bilgi;
    ResultTable m_sepet;
    bool m_yuklendi = false;
};

// Once per test program: no 500 ms waits between connection attempts, and the connection
// message through the real dialog.
inline void KatalogTestiHazirla() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    SetBaglantiBekleyici([](int) {});
    SetBaglantiMesajGosterici(
        [](const QString &mesaj) { ArayuzdeCalistir([&mesaj] { MesajGoster(mesaj, Hata); }); });
}

inline appserver::Dispatcher demoSunucusu() {
    return appserver::serverDispatcher();
}

// The demo server (400 items), a main window logged in as `kullanici` and the catalogue.
struct Ortam {
    explicit Ortam(const QString &kullanici = QStringLiteral("BAYI1"),
                   appserver::Dispatcher d = demoSunucusu())
        : server(std::move(d), [](sqlite3 *db) {
              appserver::createSchema(db);
              appserver::fillDemoData(db, {.items = 400});
          }) {
        form.bagc().SetHostName(QStringLiteral("127.0.0.1"));
        form.bagc().SetPort(QString::number(server.port()));
        auto conn = server.connection();
        conn->Open();
        {
            TServerMethods1Client proxy(conn.get(), false);
            form.sbilgi().Kopyala(*proxy.BuyukGetir(QStringLiteral("DEMO-") + kullanici));
        }
        conn->Close();
        katalog = &KatalogKur(form, sepet);
        form.KullaniciTipiUygula();
    }

    // The account's cart as the server holds it.
    std::unique_ptr<ResultTable> sunucuSepeti() const {
        auto conn = server.connection();
        conn->Open();
        TServerMethods1Client proxy(conn.get(), false);
        return proxy.SepetVer2(const_cast<TForm1 &>(form).sbilgi().CARINO());
    }

    TestServer server;
    TForm1 form;
    TestSepet sepet{form.bagc(), form.sbilgi()};
    Katalog *katalog = nullptr;
};

inline int kolon(const ResultTable &t, const char *name) {
    const int c = t.fieldIndex(QString::fromLatin1(name));
    if (c < 0)
        qFatal("no column %s", name);
    return c;
}

} // namespace zenvo::testing
