// Sending the order through the cart tab's real widgets against a real zenvo-server: delivery
// and cargo choices, every refusal of "Gönder", the confirmation, the outcomes of the send, and
// the overdue warning.
#include "cart/onaysip.h"
#include "tests/cart/fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>

#include <atomic>

using namespace zenvo;
using namespace zenvo::testing;

namespace {

const QString kGonderildi = QStringLiteral("Siparişiniz Gönderildi !");
const QString kHata = QStringLiteral("Sipariş Göndermede Hata");
const QString kNot = QStringLiteral("Öğleden önce\nteslim lütfen");

QStringList comboItems(const QComboBox *c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

void clickRadio(SecimGrubu *group, int index) {
    QRadioButton *b = group->button(index);
    QVERIFY(b);
    // On the circle: a short caption leaves the button's middle outside what a click hits.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// Moves the firm list to that entry with the arrow keys, as a user does.
void chooseFirm(QComboBox *combo, int index) {
    combo->setFocus();
    for (int guard = 0; guard < 20 && combo->currentIndex() != index; ++guard)
        QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), index);
}

struct OrderRow {
    int teslim = 0, kargo = 0, firma = 0, veren = 0;
    QString aciklama;
    QList<int> sepetSiraNo;
    QList<double> miktar;
};

OrderRow lastOrder(const QString &dbPath, int carino) {
    appserver::Db db(dbPath);
    appserver::Stmt o(db.handle(), "SELECT IDNO, TESLIMID, KARGOID, KARGOFIRMAID, ACIKLAMA, "
                                   "VERENIDNO FROM orders WHERE CARINO = ? "
                                   "ORDER BY IDNO DESC LIMIT 1");
    o.bind(1, carino);
    OrderRow row;
    if (!o.step())
        return row;
    row.teslim = o.integer(1);
    row.kargo = o.integer(2);
    row.firma = o.integer(3);
    row.aciklama = o.text(4);
    row.veren = o.integer(5);
    appserver::Stmt l(db.handle(), "SELECT SEPETSIRANO, MIKTAR FROM order_lines WHERE IDNO = ? "
                                   "ORDER BY STOKHAR_NO");
    l.bind(1, o.int64(0));
    while (l.step()) {
        row.sepetSiraNo << l.integer(0);
        row.miktar << l.real(1);
    }
    return row;
}

} // namespace

class TestOrder : public QObject {
    Q_OBJECT
    FakePlatform fake;

    // Two lines in the cart of the demo account with an overdue balance, the first chosen,
    // delivery "Depodan Teslim Alınacak", cargo kind "Anlaşmalı Kargo", firm "DOĞAN EKSPRES",
    // a two-line message typed into the memo.
    void prepareOrder(CartFixture &f) {
        f.open(QStringLiteral("DEMO-BAYI2"));
        f.addItems(2, {200, 1});
        f.showCart();
        f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        clickRadio(f.tab->teslimbox(), 0);
        clickRadio(f.tab->boxkargo(), 0);
        chooseFirm(f.tab->kargocombo(), 2);
        QPlainTextEdit *memo = f.tab->aciklamagir();
        memo->setFocus();
        // (QTest types Latin-1 only; the Turkish text goes in as a paste would.)
        memo->insertPlainText(QStringLiteral("Öğleden önce"));
        QTest::keyClick(memo, Qt::Key_Return); // the memo keeps its Enter: no "Gönder"
        memo->insertPlainText(QStringLiteral("teslim lütfen"));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(memo->toPlainText(), kNot);
    }

private slots:
    void initTestCase() { setUpCartTests(); }

    void endToEnd() {
        CartFixture f;
        prepareOrder(f);
        const int ordersBefore = f.orderCount();
        const ResultTable &t = f.tab->sepet();
        const int chosen = int(t.intValue(0, fieldOf(t, "SIRANO")));
        const int kept = int(t.intValue(1, fieldOf(t, "SIRANO")));
        // The overdue warning of this account is on the tab.
        const QString overdue = f.proxy().CariVadeGunGecmismiBul(f.carino());
        f.close();
        QVERIFY(!overdue.isEmpty());
        QCOMPARE(f.tab->lbluyarbakiye()->text(), overdue);
        QCOMPARE(f.tab->uyarikargo()->text(), QStringLiteral("Alıcı ödemeli gönderim yapılmaz."));
        // The grand total as shown, separators included, is what the summary repeats.
        const QString total = f.tab->geneltoplaml()->text();
        QVERIFY2(total.contains(u'.') && total.contains(u','), qPrintable(total));

        const TSonucBilgisi &s = f.form->sbilgi();
        const QString summary = SiparisOzeti({s.ADI(), s.CariAdi(), "Depodan Teslim Alınacak",
                                              "Anlaşmalı Kargo", total, "DOĞAN EKSPRES", kNot});
        ModalAnswerer m;
        m.expect({QStringLiteral("Sipariş Onay"), QStringLiteral("Tutar    : ") + total,
                  QStringLiteral("Evet"), [&](QWidget *w) {
                      auto *d = qobject_cast<TONAYSIP *>(w);
                      QVERIFY(d);
                      QCOMPARE(d->Label2()->text(), summary);
                      QVERIFY(QFontInfo(d->Label2()->font()).fixedPitch());
                      QCOMPARE(d->Label3()->text(), overdue);
                      QCOMPARE(d->Label1()->text(),
                               QStringLiteral(
                                   "Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"));
                  }});
        m.expect({QStringLiteral("Bilgi"), kGonderildi, QStringLiteral("Tamam")});
        QTest::mouseClick(f.tab->Button1(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));

        QCOMPARE(f.orderCount(), ordersBefore + 1);
        const OrderRow o = lastOrder(f.server.dbPath(), f.carino());
        QCOMPARE(o.teslim, 1);
        QCOMPARE(o.kargo, 1);
        QCOMPARE(o.firma, 2);
        QCOMPARE(o.aciklama, kNot);
        QCOMPARE(o.veren, s.Sirano());
        QVERIFY(s.Sirano() > 0);
        QCOMPARE(o.sepetSiraNo, QList<int>{chosen});
        QCOMPARE(o.miktar, QList<double>{200});
        // Only the unchosen line is left, here and on the server; the memo is empty, the
        // choices stay.
        QCOMPARE(f.serverChoices(), (QMap<int, int>{{kept, 0}}));
        QCOMPARE(f.localChoices(), f.serverChoices());
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("1=Sepet"));
        QCOMPARE(f.tab->aciklamagir()->toPlainText(), QString());
        QCOMPARE(f.tab->geneltoplaml()->text(), QStringLiteral("0,00"));
        QCOMPARE(f.tab->teslimbox()->itemIndex(), 0);
        QCOMPARE(f.tab->boxkargo()->itemIndex(), 0);
        QCOMPARE(f.tab->kargocombo()->currentText(), QStringLiteral("DOĞAN EKSPRES"));
    }

    // Each unmet condition has its own warning and sends nothing.
    void refusals_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("viaEnter"); // Enter in the grid presses "Gönder"
        QTest::addColumn<QString>("message");
        const QString noParts = QStringLiteral("Gönderilecek Parça Yok ");
        QTest::newRow("cart never loaded") << "unloaded" << false << noParts;
        QTest::newRow("empty cart") << "empty" << true << noParts;
        QTest::newRow("nothing chosen") << "unchosen" << false << noParts;
        QTest::newRow("no delivery kind")
            << "nodelivery" << true << QStringLiteral("Lütfen Teslim Durumu Seçiniz !");
        QTest::newRow("no cargo kind")
            << "nokind" << false << QStringLiteral("Lütfen Kargo Türünü Seçiniz !");
        QTest::newRow("blank firm")
            << "nofirm" << true << QStringLiteral("Lütfen Kargo  Seçiniz !");
    }
    void refusals() {
        QFETCH(QString, setup);
        QFETCH(bool, viaEnter);
        QFETCH(QString, message);
        CartFixture f;
        f.open();
        if (setup != u"empty")
            f.addItems(2);
        if (setup == u"unloaded") {
            f.form->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        } else {
            f.showCart();
        }
        if (setup != u"unchosen" && setup != u"empty" && setup != u"unloaded")
            f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        if (setup == u"nodelivery")
            f.tab->teslimbox()->setItemIndex(-1);
        if (setup == u"nofirm") {
            clickRadio(f.tab->boxkargo(), 0); // two firms: the blank entry stays
            QCOMPARE(f.tab->kargocombo()->currentIndex(), 0);
        }
        const auto cartBefore = f.serverChoices();
        const int ordersBefore = f.orderCount();

        ModalAnswerer m;
        m.expect({QStringLiteral("Uyarı"), message, QStringLiteral("Tamam")});
        if (viaEnter) {
            QApplication::setActiveWindow(f.form.get());
            QTRY_VERIFY(f.form->isActiveWindow());
            f.tab->cxGrid2()->view()->setFocus();
            QTest::keyClick(f.tab->cxGrid2()->view(), Qt::Key_Return);
        } else {
            f.tab->Button1()->click();
        }
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(m.answered(), 1);
        QCOMPARE(f.orderCount(), ordersBefore);
        QCOMPARE(f.serverChoices(), cartBefore);
        if (setup == u"nofirm")
            QTRY_COMPARE(f.form->focusWidget(), f.tab->kargocombo());
    }

    // "Hayır" on the confirmation sends nothing and changes nothing.
    void declined() {
        CartFixture f;
        prepareOrder(f);
        const auto cartBefore = f.serverChoices();
        const int ordersBefore = f.orderCount();
        ModalAnswerer m;
        m.expect({QStringLiteral("Sipariş Onay"), QString(), QStringLiteral("Hayır")});
        f.tab->Button1()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(f.orderCount(), ordersBefore);
        QCOMPARE(f.serverChoices(), cartBefore);
        QCOMPARE(f.localChoices(), cartBefore);
        QCOMPARE(f.tab->aciklamagir()->toPlainText(), kNot);
    }

    // A send that fails leaves the cart and the memo as they were, on the server and here.
    void sendFails_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("messages"); // "title | text" after the confirmation
        const QString conn = QString::fromUtf8(kBaglantiMesaji);
        QTest::newRow("no connection")
            << "connection" << QStringList{"Hata | " + conn, "Hata | " + kHata};
        // The server answers false: here the firm no longer belongs to the cargo kind.
        QTest::newRow("server says no") << "refused" << QStringList{"Hata | " + kHata};
        // The server fails midway: the general error report, no reload.
        QTest::newRow("server error") << "error" << QStringList{"Zenvora B2B | "};
    }
    void sendFails() {
        QFETCH(QString, fault);
        QFETCH(QStringList, messages);
        CartFixture f;
        prepareOrder(f);
        const auto cartBefore = f.serverChoices();
        const auto localBefore = f.localChoices();
        const int ordersBefore = f.orderCount();
        if (fault == u"connection") {
            f.form->bagc().SetPort(deadPort());
        } else {
            appserver::Db db(f.server.dbPath());
            db.exec(fault == u"refused" ? "UPDATE cargo_firms SET KARGOTURU = 3 WHERE SIRANO = 2"
                                        : "ALTER TABLE order_lines RENAME TO order_lines_saved");
        }
        ModalAnswerer m;
        m.expect({QStringLiteral("Sipariş Onay"), QString(), QStringLiteral("Evet")});
        for (const QString &msg : messages) {
            const QStringList parts = msg.split(QStringLiteral(" | "));
            m.expect({parts[0], parts[0] == u"Zenvora B2B" ? QString() : parts[1],
                      parts[0] == u"Zenvora B2B" ? QStringLiteral("OK") : QStringLiteral("Tamam")});
        }
        f.tab->Button1()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(m.answered(), 1 + messages.size());
        if (fault == u"error")
            QVERIFY2(m.seen().last().contains(QStringLiteral("order_lines")),
                     qPrintable(m.report()));
        QVERIFY(!m.seen().join(u';').contains(kGonderildi));

        if (fault == u"connection")
            f.form->bagc().SetPort(QString::number(f.server.port()));
        QCOMPARE(f.orderCount(), ordersBefore);
        QCOMPARE(f.serverChoices(), cartBefore);
        QCOMPARE(f.localChoices(), localBefore);
        QCOMPARE(f.tab->aciklamagir()->toPlainText(), kNot);
    }

    // One delivery kind is chosen by itself, of three the second, of none none; each item
    // carries the server's id.
    void deliveryKinds_data() {
        QTest::addColumn<int>("kinds");
        QTest::addColumn<int>("chosen");
        QTest::newRow("one") << 1 << 0;
        QTest::newRow("three") << 3 << 1;
        QTest::newRow("none") << 0 << -1;
    }
    void deliveryKinds() {
        QFETCH(int, kinds);
        QFETCH(int, chosen);
        CartFixture f;
        {
            appserver::Db db(f.server.dbPath());
            db.exec("DELETE FROM delivery_kinds");
            for (int i = 0; i < kinds; ++i)
                db.exec(QStringLiteral("INSERT INTO delivery_kinds (ID, ADI) VALUES (%1, 'Tür %2')")
                            .arg(40 + i)
                            .arg(i + 1)
                            .toUtf8()
                            .constData());
        }
        f.open();
        f.addItems(1);
        f.form->show();
        f.form->sPageControl1()->setCurrentWidget(f.form->ssepet());
        QTRY_VERIFY(f.tab->SepetYuklendi() && f.tab->boxkargo()->count() == 3);
        SecimGrubu *box = f.tab->teslimbox();
        QCOMPARE(box->count(), kinds);
        QCOMPARE(box->itemIndex(), chosen);
        for (int i = 0; i < kinds; ++i) {
            QCOMPARE(box->itemId(i), 40 + i);
            QCOMPARE(box->itemText(i), QStringLiteral("Tür %1").arg(i + 1));
        }
        QCOMPARE(f.tab->boxkargo()->itemIndex(), -1);
        if (kinds == 0) {
            f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
            ModalAnswerer m;
            m.expect({QStringLiteral("Uyarı"), QStringLiteral("Lütfen Teslim Durumu Seçiniz !"),
                      QStringLiteral("Tamam")});
            f.tab->Button1()->click();
            QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        }
    }

    // A cargo kind with one firm chooses it and shows its warning; with more the blank entry
    // stays; clicking another kind empties the warning and reloads the firms. Showing the tab
    // again chooses the second delivery kind and no cargo kind.
    void cargoFirms() {
        CartFixture f;
        f.open();
        f.showCart();
        QCOMPARE(f.tab->teslimbox()->itemIndex(), 1);
        SecimGrubu *kinds = f.tab->boxkargo();
        QCOMPARE(kinds->count(), 3);
        QCOMPARE(kinds->itemIndex(), -1);
        QComboBox *combo = f.tab->kargocombo();

        clickRadio(kinds, 2); // "Kurye": one firm
        QCOMPARE(comboItems(combo), QStringList({" ", "ŞEHİR İÇİ KURYE"}));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(f.tab->uyarikargo()->text(),
                 QStringLiteral("Yalnızca şehir içi teslimatlar için geçerlidir."));

        clickRadio(kinds, 0); // "Anlaşmalı Kargo": two firms
        QCOMPARE(comboItems(combo), QStringList({" ", "KARTAL KARGO", "DOĞAN EKSPRES"}));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(f.tab->uyarikargo()->text(), QString());
        chooseFirm(combo, 1);
        QCOMPARE(f.tab->uyarikargo()->text(),
                 QStringLiteral("Saat 16:00'dan sonraki siparişler ertesi gün kargoya verilir."));
        chooseFirm(combo, 0); // back to the blank entry
        QCOMPARE(f.tab->uyarikargo()->text(), QString());
        chooseFirm(combo, 1);

        clickRadio(kinds, 1); // "Ambar": three firms
        QCOMPARE(f.tab->uyarikargo()->text(), QString());
        QCOMPARE(comboItems(combo),
                 QStringList({" ", "ANADOLU AMBARI", "KARADENİZ NAKLİYAT", "EGE AMBARI"}));
        chooseFirm(combo, 2); // a firm without a warning
        QCOMPARE(f.tab->uyarikargo()->text(), QString());
        chooseFirm(combo, 3);
        QCOMPARE(f.tab->uyarikargo()->text(),
                 QStringLiteral("Salı ve Perşembe günleri çıkış yapılır."));

        // Showing the tab again: the radio groups are refilled, the firms stay.
        clickRadio(f.tab->teslimbox(), 2);
        f.form->sPageControl1()->setCurrentWidget(f.form->sonceki());
        f.form->sPageControl1()->setCurrentWidget(f.form->ssepet());
        QTRY_COMPARE(kinds->itemIndex(), -1);
        QTRY_COMPARE(f.tab->teslimbox()->itemIndex(), 1);
        QCOMPARE(combo->currentText(), QStringLiteral("EGE AMBARI"));
        QCOMPARE(f.tab->uyarikargo()->text(),
                 QStringLiteral("Salı ve Perşembe günleri çıkış yapılır."));
    }

    // When the firms of a newly clicked kind cannot be loaded, the firms of the kind before are
    // not offered any more, so an order can never pair a cargo kind with another kind's firm.
    void firmsOfAnotherKindNeverGoOut() {
        CartFixture f;
        f.open();
        f.addItems(1);
        f.showCart();
        f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        clickRadio(f.tab->boxkargo(), 0);
        chooseFirm(f.tab->kargocombo(), 1);
        const int ordersBefore = f.orderCount();
        f.form->bagc().SetPort(deadPort());
        ModalAnswerer m;
        m.expect(
            {QStringLiteral("Hata"), QString::fromUtf8(kBaglantiMesaji), QStringLiteral("Tamam")});
        clickRadio(f.tab->boxkargo(), 2);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(comboItems(f.tab->kargocombo()), QStringList{" "});
        QCOMPARE(f.tab->uyarikargo()->text(), QString());
        m.expect({QStringLiteral("Uyarı"), QStringLiteral("Lütfen Kargo  Seçiniz !"),
                  QStringLiteral("Tamam")});
        f.tab->Button1()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.orderCount(), ordersBefore);
    }

    // Each showing clears the red label and fills it from the server; an account without an
    // overdue balance leaves it empty.
    void overdueWarning() {
        CartFixture f;
        f.open(QStringLiteral("DEMO-BAYI2"));
        const QString overdue = f.proxy().CariVadeGunGecmismiBul(f.carino());
        f.close();
        QVERIFY(overdue.startsWith(QStringLiteral("Vadesi")));
        f.showCart();
        QCOMPARE(f.tab->lbluyarbakiye()->text(), overdue);

        CartFixture g;
        g.open();
        g.showCart();
        QCOMPARE(g.tab->lbluyarbakiye()->text(), QString());
        g.tab->lbluyarbakiye()->setText(QStringLiteral("eski uyarı"));
        g.form->sPageControl1()->setCurrentWidget(g.form->sonceki());
        g.form->sPageControl1()->setCurrentWidget(g.form->ssepet());
        QTRY_COMPARE(g.tab->lbluyarbakiye()->text(), QString());
        QTRY_COMPARE(g.tab->suranUyarilar(), 0);
        QCOMPARE(g.tab->lbluyarbakiye()->text(), QString());
    }

    // Any failure leaves the label empty and shows nothing: no connection, a server error.
    void overdueWarningFailures() {
        appserver::Dispatcher d = appserver::serverDispatcher();
        d.add(MethodId::CariVadeGunGecmismiBul,
              [](appserver::CallContext &) { throw std::runtime_error("vade hesaplanamadı"); });
        CartFixture f(d);
        f.open(QStringLiteral("DEMO-BAYI2"));
        f.showCart();
        QCOMPARE(f.tab->lbluyarbakiye()->text(), QString());

        f.tab->lbluyarbakiye()->setText(QStringLiteral("eski uyarı"));
        f.form->bagc().SetPort(deadPort());
        f.tab->CariBakiyeUyariBak();
        QCOMPARE(f.tab->suranUyarilar(), 1);
        QTRY_COMPARE(f.tab->suranUyarilar(), 0);
        QCOMPARE(f.tab->lbluyarbakiye()->text(), QString());
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The warning is fetched beside the user-interface thread: the tab loads while the server
    // still thinks; a later showing's answer wins over an earlier one that arrives late.
    void overdueWarningRunsBeside() {
        struct Gate {
            QSemaphore open;
            std::atomic<int> calls = 0;
        };
        auto gate = std::make_shared<Gate>();
        appserver::Dispatcher d = appserver::serverDispatcher();
        d.add(MethodId::CariVadeGunGecmismiBul, [gate](appserver::CallContext &c) {
            const int n = ++gate->calls;
            if (n == 1)
                gate->open.acquire();
            c.setResult(QStringLiteral("uyarı %1").arg(n));
        });
        CartFixture f(d);
        f.open();
        f.form->show();
        f.form->sPageControl1()->setCurrentWidget(f.form->ssepet());
        QTRY_VERIFY(f.tab->SepetYuklendi() && f.tab->teslimbox()->count() == 3);
        QTRY_COMPARE(gate->calls.load(), 1);
        QCOMPARE(f.tab->lbluyarbakiye()->text(), QString());
        QCOMPARE(f.tab->suranUyarilar(), 1);

        f.form->sPageControl1()->setCurrentWidget(f.form->sonceki());
        f.form->sPageControl1()->setCurrentWidget(f.form->ssepet());
        QTRY_COMPARE(f.tab->lbluyarbakiye()->text(), QStringLiteral("uyarı 2"));
        gate->open.release();
        QTRY_COMPARE(f.tab->suranUyarilar(), 0);
        QCOMPARE(f.tab->lbluyarbakiye()->text(), QStringLiteral("uyarı 2"));
    }
};

QTEST_MAIN(TestOrder)
#include "test_order.moc"
