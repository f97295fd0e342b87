// The stock list: the search bar (keys, minimum length, the searching state), failures of the
// search, the wide and narrow layouts, the price summary cell, user types and the menu.
#include "catalogue/aramakutusu.h"
#include "catalogue/ozellisteler.h"
#include "catalogue/stoklistesi.h"
#include "tests/catalogue/ortam.h"
#include "tests/support/modal.h"
#include "widgets/busyindicator.h"
#include "widgets/grid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <atomic>
#include <mutex>

using namespace zenvo;
using namespace zenvo::testing;

namespace {

const QString kBaglanti = QString::fromUtf8(kBaglantiMesaji);
const QString kUcHarf = QStringLiteral("Lütfen en az 3 harf giriniz !");

// StokAraGetir as a script: what it answers, whether it waits for the test, what it was sent.
struct AramaBetigi {
    enum Cevap { Satirlar, Hata, IND1Yok };
    std::atomic<int> cevap{Satirlar};
    std::atomic<int> satirSayisi{3};
    std::atomic<int> cagri{0};
    std::atomic<bool> bekle{false};
    QSemaphore kapi;
    std::mutex m;
    QStringList kodlar;

    appserver::Dispatcher sunucu() {
        appserver::Dispatcher d = appserver::serverDispatcher();
        d.add(MethodId::StokAraGetir, [this](appserver::CallContext &c) {
            {
                std::lock_guard lock(m);
                kodlar << c.text(0);
            }
            ++cagri;
            if (bekle)
                kapi.tryAcquire(1, 10000);
            if (cevap == Hata)
                throw std::runtime_error("arama başarısız");
            c.setResult(tablo(satirSayisi, cevap != IND1Yok));
        });
        return d;
    }

    static std::unique_ptr<ResultTable> tablo(int satirlar, bool ind1) {
        auto t = std::make_unique<ResultTable>();
        for (const char *name : {"STOK_STOKNO", "DURUM", "K", "Y", "RESIM", "KDV"})
            t->addField({QString::fromLatin1(name), FieldType::Integer});
        for (const char *name : {"BARKOD", "ADI", "INDIRIMYAZI"})
            t->addField({QString::fromLatin1(name), FieldType::String, 40});
        for (const char *name : {"FIYAT", "LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT", "KDVDAHIL"})
            t->addField({QString::fromLatin1(name), FieldType::Double});
        if (ind1)
            t->addField({QStringLiteral("IND1"), FieldType::Double});
        for (int i = 0; i < satirlar; ++i) {
            QVariantList row{100 + i,
                             1,
                             0,
                             0,
                             0,
                             18,
                             QStringLiteral("B%1").arg(i),
                             QStringLiteral("FREN %1").arg(i),
                             QStringLiteral("20"),
                             10.0,
                             10.0,
                             0.0,
                             8.0,
                             9.44};
            if (ind1)
                row << 20.0;
            t->appendRow(row);
        }
        return t;
    }
    QStringList gonderilenler() {
        std::lock_guard lock(m);
        return kodlar;
    }
};

// Types text as key presses carrying that text, as a keyboard would.
void yaz(QWidget *w, const QString &text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

// The main window with the catalogue, without a server (nothing here calls one).
struct Pencere {
    explicit Pencere(int tip = 3) {
        form.sbilgi().SetMusteriTipi(tip);
        katalog = &KatalogKur(form, sepet);
    }
    StokListesi &stok() { return katalog->stokListesi(); }
    TForm1 form;
    TestSepet sepet{form.bagc(), form.sbilgi()};
    Katalog *katalog = nullptr;
};

bool aramaBitti(TForm1 &form) {
    return form.araedit()->isEnabled() && !form.gifstokara()->isRunning();
}

} // namespace

class TestStokListesi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { KatalogTestiHazirla(); }

    void harfCevirme_data() {
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<QString>("kutuda");
        QTest::newRow("çubuk") << "çubuk"
                               << "CUBUK";
        QTest::newRow("ışık") << "ışık"
                              << "ISIK";
        QTest::newRow("upper Turkish letters") << "ĞÜŞÖÇİI"
                                               << "GUSOCII";
        QTest::newRow("lower Turkish letters") << "ğüşöçi"
                                               << "GUSOCI";
        QTest::newRow("codes stay") << "fren 12-b/5"
                                    << "FREN 12-B/5";
    }
    void harfCevirme() {
        QFETCH(QString, yazilan);
        Pencere p;
        p.form.show();
        yaz(p.form.araedit(), yazilan);
        QTEST(p.form.araedit()->text(), "kutuda");
        QCOMPARE(AramaMetniCevir(yazilan).toUpper(), p.form.araedit()->text());
    }

    // Fewer than three letters after trimming: a warning and nothing else but the stock tab in
    // front; three letters are sent as typed, upper case and untrimmed.
    void enAzUcHarf() {
        AramaBetigi betik;
        Ortam o(QStringLiteral("BAYI1"), betik.sunucu());
        o.form.show();
        o.form.sPageControl1()->setCurrentWidget(o.form.ssepet());
        ModalAnswerer m;
        m.expect({QStringLiteral("Uyarı"), kUcHarf, QStringLiteral("Tamam")});
        yaz(o.form.araedit(), QStringLiteral("  ab  "));
        QTest::keyClick(o.form.araedit(), Qt::Key_Return);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(o.form.sPageControl1()->currentWidget(), o.form.sstoklistesi());
        QVERIFY(o.form.araedit()->isEnabled());
        QCOMPARE(o.form.sekmeBasligi(o.form.sstoklistesi()), QStringLiteral("Stok Listesi"));

        o.form.araedit()->clear();
        yaz(o.form.araedit(), QStringLiteral(" abc"));
        o.form.SpeedButton2()->click();
        QTRY_VERIFY(aramaBitti(o.form));
        QCOMPARE(betik.gonderilenler(), QStringList{QStringLiteral(" ABC")});
        QCOMPARE(o.form.sekmeBasligi(o.form.sstoklistesi()), QStringLiteral("3=Stok Listesi"));
    }

    // While a search runs the box is disabled, the animation turns and the grid is detached;
    // "Ara" and "Temizle" do nothing. The continuation restores everything and keeps the count.
    void aramaSuruyor() {
        AramaBetigi betik;
        betik.bekle = true;
        betik.satirSayisi = 25;
        Ortam o(QStringLiteral("BAYI1"), betik.sunucu());
        o.form.show();
        StokListesi &s = o.katalog->stokListesi();
        int biten = 0;
        connect(&s, &StokListesi::aramaBitti, this, [&](bool ok) { biten += ok ? 1 : 100; });
        yaz(o.form.araedit(), QStringLiteral("fren"));
        QTest::keyClick(o.form.araedit(), Qt::Key_Return);
        QVERIFY(!o.form.araedit()->isEnabled());
        QVERIFY(o.form.gifstokara()->isRunning());
        QVERIFY(!s.cxGrid1()->isAttached());
        QVERIFY(s.aramaSuruyor());
        QTRY_COMPARE(betik.cagri.load(), 1);

        o.form.SpeedButton2()->click();
        s.AramaBaslat();
        o.form.SpeedButton1()->click();
        QCOMPARE(o.form.araedit()->text(), QStringLiteral("FREN"));
        betik.kapi.release();
        QTRY_VERIFY(aramaBitti(o.form));
        QCOMPARE(biten, 1);
        QCOMPARE(betik.cagri.load(), 1);
        QVERIFY(s.cxGrid1()->isAttached());
        QCOMPARE(s.cxGrid1()->rowCount(), 25);
        QCOMPARE(o.form.sekmeBasligi(o.form.sstoklistesi()), QStringLiteral("25=Stok Listesi"));
        QCOMPARE(o.form.sstoklistesi()->property("tag").toInt(), 25);
        QCOMPARE(o.form.araedit()->selectedText(), QStringLiteral("FREN"));
        QTRY_COMPARE(QApplication::focusWidget(), o.form.araedit());

        // An empty result is no failure.
        betik.bekle = false;
        betik.satirSayisi = 0;
        o.form.SpeedButton2()->click();
        QTRY_VERIFY(aramaBitti(o.form));
        QCOMPARE(biten, 2);
        QCOMPARE(s.cxGrid1()->rowCount(), 0);
        QCOMPARE(o.form.sekmeBasligi(o.form.sstoklistesi()), QStringLiteral("0=Stok Listesi"));
    }

    // A failed search after a good one: the connection message, an empty list, the caption
    // without a count, the text kept and selected.
    void aramaHatasi_data() {
        QTest::addColumn<int>("cevap");
        QTest::addColumn<bool>("sunucuKapali");
        QTest::newRow("server error") << int(AramaBetigi::Hata) << false;
        QTest::newRow("result without IND1") << int(AramaBetigi::IND1Yok) << false;
        QTest::newRow("no connection") << int(AramaBetigi::Satirlar) << true;
    }
    void aramaHatasi() {
        QFETCH(int, cevap);
        QFETCH(bool, sunucuKapali);
        AramaBetigi betik;
        Ortam o(QStringLiteral("BAYI1"), betik.sunucu());
        o.form.show();
        StokListesi &s = o.katalog->stokListesi();
        yaz(o.form.araedit(), QStringLiteral("balata"));
        QTest::keyClick(o.form.araedit(), Qt::Key_Return);
        QTRY_VERIFY(aramaBitti(o.form));
        QCOMPARE(s.cxGrid1()->rowCount(), 3);

        betik.cevap = cevap;
        if (sunucuKapali)
            o.form.bagc().SetPort(QStringLiteral("1"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Hata"), kBaglanti, QStringLiteral("Tamam")});
        o.form.SpeedButton2()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QTRY_VERIFY(aramaBitti(o.form));
        QCOMPARE(s.stok().rowCount(), 0);
        QCOMPARE(s.cxGrid1()->rowCount(), 0);
        QCOMPARE(o.form.sekmeBasligi(o.form.sstoklistesi()), QStringLiteral("Stok Listesi"));
        QCOMPARE(o.form.sstoklistesi()->property("tag").toInt(), 0);
        QCOMPARE(o.form.araedit()->text(), QStringLiteral("BALATA"));
        QCOMPARE(o.form.araedit()->selectedText(), QStringLiteral("BALATA"));
    }

    // 1153 px and more: the four price columns at 60 px rows, widths by weight; 1152 px and
    // less: the price summary at 100 px rows, at least 150 px and as wide as its longest line,
    // the first OEM numbers at 80 px, the other columns by weight in what is left. A column
    // the user hides stays hidden.
    void genisVeDar() {
        Pencere p;
        p.form.show();
        StokListesi &s = p.stok();
        Grid *g = s.cxGrid1();
        const QStringList fiyatlar{"LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT", "KDVDAHIL"};
        const QStringList sabit{"FiyatBilgisi", "OEM1", "OEM2", "OEM3"};
        // The width of one weight unit: the visible weights share what the fixed columns leave.
        const auto birim = [&](bool dar) {
            int toplam = 0, ayrilan = 0;
            for (const QString &k : g->visibleColumns()) {
                if (dar && sabit.contains(k))
                    ayrilan += g->columnWidth(k);
                else
                    toplam += g->columns()[g->columnIndex(k)].weight;
            }
            return int(std::trunc(double(g->width() - 30 - ayrilan) / toplam));
        };
        const auto toplamGenislik = [g] {
            int w = 0;
            for (const QString &k : g->visibleColumns())
                w += g->columnWidth(k);
            return w;
        };

        p.form.resize(1153, 800);
        QTRY_COMPARE(p.form.width(), 1153);
        for (const QString &k : fiyatlar)
            QVERIFY2(g->isColumnVisible(k), qPrintable(k));
        QVERIFY(!g->isColumnVisible(u"FiyatBilgisi"));
        QCOMPARE(g->look().rowHeight, 60);
        QVERIFY(birim(false) > 0);
        QCOMPARE(g->columnWidth(u"ADI"), 3 * birim(false));
        QCOMPARE(g->columnWidth(u"KDVDAHIL"), 3 * birim(false));
        QCOMPARE(g->columnWidth(u"DURUM"), birim(false));

        p.form.resize(1152, 800);
        QTRY_COMPARE(p.form.width(), 1152);
        for (const QString &k : fiyatlar)
            QVERIFY2(!g->isColumnVisible(k), qPrintable(k));
        QVERIFY(g->isColumnVisible(u"FiyatBilgisi"));
        QCOMPARE(g->look().rowHeight, 100);
        QCOMPARE(g->columnWidth(u"FiyatBilgisi"), 150);
        QCOMPARE(g->columnWidth(u"ADI"), 3 * birim(true));
        QVERIFY(toplamGenislik() <= g->width() - 30);

        // Shown through the column chooser, Oem1 gets its 80 px and the row still fits.
        QAction *oem1 = nullptr;
        for (QAction *a : g->columnChooserMenu()->actions())
            if (a->text() == QStringLiteral("Oem1"))
                oem1 = a;
        QVERIFY(oem1);
        oem1->trigger();
        QVERIFY(g->isColumnVisible(u"OEM1"));
        QCOMPARE(g->columnWidth(u"OEM1"), 80);
        QCOMPARE(g->columnWidth(u"ADI"), 3 * birim(true));
        QVERIFY(toplamGenislik() <= g->width() - 30);

        // A long price line widens the summary instead of being cut.
        s.stok().loadPacket(std::move(*AramaBetigi::tablo(1, true)));
        s.stok().setValue(0, s.stok().fieldIndex(u"KAMPFIYAT"), 1234567.89);
        g->reload();
        p.form.resize(1100, 800);
        QTRY_COMPARE(p.form.width(), 1100);
        const QFontMetrics fm(g->look().font);
        const int satir = fm.horizontalAdvance(QStringLiteral("Kampanyalı Fiyat: 1.234.567,89"));
        QVERIFY(g->columnWidth(u"FiyatBilgisi") >= satir + 20);
        QVERIFY(toplamGenislik() <= g->width() - 30);

        // Back to wide, then the user hides the list price: it stays hidden.
        p.form.resize(1400, 800);
        QTRY_VERIFY(g->isColumnVisible(u"LISTEFIYAT1"));
        for (QAction *a : g->columnChooserMenu()->actions())
            if (a->text() == QStringLiteral("Liste Fiyatı") && a->isChecked())
                a->trigger();
        QVERIFY(!g->isColumnVisible(u"LISTEFIYAT1"));
        QCOMPARE(g->columnWidth(u"ADI"), 3 * birim(false));
        QVERIFY(g->view()->updatesEnabled());
    }

    void fiyatBilgisi_data() {
        QTest::addColumn<int>("tip");
        QTest::addColumn<double>("kampanya");
        QTest::addColumn<QString>("metin");
        const QString liste = QStringLiteral("Liste Fiyatı: 1.234,50\n");
        const QString sonu = QStringLiteral("NetFiyat: 987,60\nKDV li Fiyat: 1.185,12\n");
        QTest::newRow("no campaign price") << 3 << 0.0 << liste + sonu;
        QTest::newRow("campaign price 0,01")
            << 3 << 0.01 << liste + QStringLiteral("Kampanyalı Fiyat: 0,01\n") + sonu;
        QTest::newRow("user type 4 sees none") << 4 << 0.01 << liste + sonu;
    }
    void fiyatBilgisi() {
        QFETCH(int, tip);
        QFETCH(double, kampanya);
        Pencere p(tip);
        ResultTable &t = p.stok().stok();
        t.loadPacket(std::move(*AramaBetigi::tablo(1, true)));
        const int c = t.fieldIndex(u"LISTEFIYAT1");
        t.setValue(0, c, 1234.5);
        t.setValue(0, t.fieldIndex(u"KAMPFIYAT"), kampanya);
        t.setValue(0, t.fieldIndex(u"NETFIYAT"), 987.6);
        t.setValue(0, t.fieldIndex(u"KDVDAHIL"), 1185.12);
        p.stok().cxGrid1()->reload();
        QTEST(p.stok().cxGrid1()->displayText(0, u"FiyatBilgisi"), "metin");
    }

    // Representatives get the stock and order columns in all three lists; type 4 loses the
    // campaign columns, also in the wide layout that shows the other prices.
    void kullaniciTipleri_data() {
        QTest::addColumn<int>("tip");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("3") << 3;
        QTest::newRow("4") << 4;
    }
    void kullaniciTipleri() {
        QFETCH(int, tip);
        Pencere p(1); // the session's type before the login
        p.form.sbilgi().SetMusteriTipi(tip);
        p.form.KullaniciTipiUygula();
        p.form.show();
        p.form.resize(1300, 800);
        const bool temsilci = tip == 1 || tip == 2;
        Grid *stok = p.stok().cxGrid1();
        QTRY_VERIFY(stok->isColumnVisible(u"LISTEFIYAT1"));
        for (Grid *g : {stok, p.katalog->yeniler().grid(), p.katalog->kampanyali().grid()}) {
            for (const char *k : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"}) {
                QCOMPARE(g->isColumnVisible(QString::fromLatin1(k)), temsilci);
                QCOMPARE(g->isColumnCustomizable(QString::fromLatin1(k)), temsilci);
            }
        }
        for (Grid *g : {stok, p.katalog->yeniler().grid()}) {
            for (const char *k : {"K", "KAMPFIYAT"}) {
                QCOMPARE(g->isColumnVisible(QString::fromLatin1(k)), tip != 4);
                QCOMPARE(g->isColumnCustomizable(QString::fromLatin1(k)), tip != 4);
            }
        }
    }

    // "Sepete Ekle" is the double-click; "Siparişleri Göster" opens what it is given for the
    // focused item; "Sipariş Bakiyeleriniz" brings the balances tab. With the server away the
    // entry stops after the connection message: the cart cannot be loaded, no dialog opens.
    void baglamMenusu() {
        Pencere p;
        p.form.bagc().SetHostName(QStringLiteral("127.0.0.1"));
        p.form.bagc().SetPort(QStringLiteral("1"));
        p.form.show();
        StokListesi &s = p.stok();
        s.stok().loadPacket(std::move(*AramaBetigi::tablo(3, true)));
        s.cxGrid1()->reload();
        QStringList girisler;
        for (QAction *a : s.popstok()->actions())
            girisler << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(girisler, QStringList({"Sepete Ekle", "-", "Sipariş Bakiyeleriniz", "-",
                                        "Siparişleri Göster"}));
        QAction *goster = s.popstok()->actions().at(4);
        QVERIFY(!goster->isEnabled());
        int istenen = -1, gosterilen = -1;
        connect(&s, &StokListesi::sepeteEkleIstendi, this, [&](int row) { istenen = row; });
        s.SetSiparisleriGoster([&](int stokno) { gosterilen = stokno; });
        QVERIFY(goster->isEnabled());

        QVERIFY(s.cxGrid1()->focusRow(2));
        ModalAnswerer m;
        m.expect({QStringLiteral("Hata"), kBaglanti, QStringLiteral("Tamam")});
        s.popstok()->actions().at(0)->trigger();
        QVERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(istenen, 2);
        QCOMPARE(p.sepet.yuklemeler, 1);
        QVERIFY(!QApplication::activeModalWidget());
        goster->trigger();
        QCOMPARE(gosterilen, 102);
        s.popstok()->actions().at(2)->trigger();
        QCOMPARE(p.form.sPageControl1()->currentWidget(), p.form.sTabbakiyeler());
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TestStokListesi t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_stoklistesi.moc"
