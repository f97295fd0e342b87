#pragma once

// A main window with the cart tab, its session taken from a real zenvo-server in-process, and
// helpers that reach the same server through the proxy.
#include "app/mainwindow.h"
#include "app/messages.h"
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "cart/secimgrubu.h"
#include "cart/sepethesap.h"
#include "cart/sepetsekmesi.h"
#include "server/proxy.h"
#include "tests/app/fakeplatform.h"
#include "tests/support/modal.h"
#include "tests/support/testserver.h"
#include "widgets/grid.h"
#include "widgets/numberformat.h"

#include <QApplication>
#include <QLocale>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

namespace zenvo::testing {

inline int fieldOf(const ResultTable &t, const char *name) {
    const int c = t.fieldIndex(QString::fromLatin1(name));
    if (c < 0)
        qFatal("no column %s", name);
    return c;
}

// Connection message, no waits between attempts, Turkish number formats.
inline void setUpCartTests() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    SetBaglantiBekleyici([](int) {});
    SetBaglantiMesajGosterici([](const QString &m) { MesajGoster(m, Hata); });
}

// A port nothing listens on.
inline QString deadPort() {
    return QStringLiteral("1");
}

class CartFixture final {
public:
    explicit CartFixture(appserver::Dispatcher dispatcher = appserver::serverDispatcher())
        : server(std::move(dispatcher), [](sqlite3 *db) {
              appserver::createSchema(db);
              appserver::fillDemoData(db, {.items = 400, .seed = 1});
          }) {}

    // A window logged in as the demo user of that machine identity ("DEMO-BAYI1": account 1001,
    // "DEMO-BAYI2": account 1002 with an overdue balance).
    void open(const QString &machine = QStringLiteral("DEMO-BAYI1")) {
        form = std::make_unique<TForm1>();
        form->bagc().SetHostName(QStringLiteral("127.0.0.1"));
        form->bagc().SetPort(QString::number(server.port()));
        auto s = proxy().BuyukGetir(machine);
        QVERIFY(s);
        form->sbilgi().Kopyala(*s);
        form->sbilgi().SetBILGISAYARID(machine);
        // The demo data puts lines in some carts; every test starts from an empty one.
        proxy().SepetHepsiniSil(session());
        close();
        tab = SepetKur(*form);
        form->resize(1400, 900);
    }

    // Shows the window on the cart tab and waits until the tab has loaded.
    void showCart() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->sPageControl1()->setCurrentWidget(form->ssepet());
        QTRY_VERIFY(tab->SepetYuklendi() && tab->teslimbox()->count() > 0);
        QTRY_COMPARE(tab->suranUyarilar(), 0);
    }

    TServerMethods1Client &proxy() {
        m_proxy.reset();
        if (!m_conn)
            m_conn = server.connection();
        m_conn->Open();
        m_proxy = std::make_unique<TServerMethods1Client>(m_conn.get());
        return *m_proxy;
    }
    void close() {
        m_proxy.reset();
        if (m_conn)
            m_conn->Close();
    }

    std::unique_ptr<TSonucBilgisi> session() {
        auto s = std::make_unique<TSonucBilgisi>();
        s->Kopyala(form->sbilgi());
        return s;
    }
    int carino() const { return form->sbilgi().CARINO(); }

    // Puts the first `count` items found for "FREN" into the account's cart, as the item
    // dialog does; quantities from `quantities` (1 when not given).
    void addItems(int count, const QList<double> &quantities = {}) {
        auto items = proxy().StokAraGetir(QStringLiteral("FREN"), session());
        QVERIFY(items && items->rowCount() >= count);
        for (int r = 0; r < count; ++r) {
            const ResultTable &t = *items;
            const int added = proxy().SepetEkle2(
                session(), carino(), int(t.intValue(r, fieldOf(t, "STOK_STOKNO"))),
                t.stringValue(r, fieldOf(t, "BARKOD")), t.stringValue(r, fieldOf(t, "ADI")),
                quantities.value(r, 1.0), double(t.intValue(r, fieldOf(t, "KDV"))),
                t.doubleValue(r, fieldOf(t, "FIYAT")), t.doubleValue(r, fieldOf(t, "IND1")),
                form->sbilgi().Sirano(), int(t.intValue(r, fieldOf(t, "K"))),
                t.doubleValue(r, fieldOf(t, "IND2")), t.doubleValue(r, fieldOf(t, "IND3")),
                t.doubleValue(r, fieldOf(t, "IND4")));
            QCOMPARE(added, 1);
        }
        close();
    }

    // The account's cart as the server holds it.
    std::unique_ptr<ResultTable> serverCart() {
        auto t = proxy().SepetVer2(carino());
        close();
        return t;
    }
    // SIRANO -> SEC of the server's cart.
    QMap<int, int> serverChoices() {
        const auto t = serverCart();
        QMap<int, int> out;
        for (int r = 0; r < t->rowCount(); ++r)
            out.insert(int(t->intValue(r, fieldOf(*t, "SIRANO"))),
                       int(t->intValue(r, fieldOf(*t, "SEC"))));
        return out;
    }
    QMap<int, int> localChoices() const {
        const ResultTable &t = tab->sepet();
        QMap<int, int> out;
        for (int r = 0; r < t.rowCount(); ++r)
            out.insert(int(t.intValue(r, fieldOf(t, "SIRANO"))),
                       int(t.intValue(r, fieldOf(t, "SEC"))));
        return out;
    }
    int orderCount() {
        appserver::Db db(server.dbPath());
        appserver::Stmt st(db.handle(), "SELECT COUNT(*) FROM orders WHERE CARINO = ?");
        st.bind(1, carino());
        st.step();
        return st.integer(0);
    }

    // Clicks a cell of the cart grid and double-clicks it, as the user does.
    void clickAndDoubleClickCell(int tableRow, const QString &column) {
        Grid *g = tab->cxGrid2();
        QVERIFY(g->focusRow(tableRow, column));
        QTableView *v = g->view();
        const QRect cell = v->visualRect(v->currentIndex());
        QVERIFY(cell.isValid());
        // Off the check box, on the cell: a double click anywhere in the cell counts.
        const QPoint at(cell.left() + 3, cell.top() + 3);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
    }

    TestServer server;
    std::unique_ptr<TForm1> form;
    SepetSekmesi *tab = nullptr;

private:
    std::unique_ptr<ServerConnection> m_conn;
    std::unique_ptr<TServerMethods1Client> m_proxy;
};

} // namespace zenvo::testing
