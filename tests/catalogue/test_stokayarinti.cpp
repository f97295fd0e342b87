// The item dialog: its values by entry path, the amount, its keys and the quantity limits.
#include "catalogue/sepetislemleri.h"
#include "catalogue/stokayarinti.h"
#include "tests/catalogue/ortam.h"
#include "widgets/moneyedit.h"
#include "widgets/numberformat.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

using namespace zenvo;

namespace {

// Rows of a list: 0 the worked example, 1 a campaign item, 2 a new item whose VAT-inclusive
// price differs from NETFIYAT x 1.18 by the rounding, 3 a row with a negative campaign flag,
// 4 a row without one.
ResultTable listeTablosu() {
    ResultTable t;
    for (const char *name : {"STOK_STOKNO", "KDV", "K"})
        t.addField({QString::fromLatin1(name), FieldType::Integer});
    for (const char *name : {"BARKOD", "ADI", "MARKA", "FINISHKOD", "MODEL", "INDIRIMYAZI"})
        t.addField({QString::fromLatin1(name), FieldType::String, 40});
    for (const char *name : {"FIYAT", "NETFIYAT", "KDVDAHIL", "IND1", "IND2", "IND3", "IND4"})
        t.addField({QString::fromLatin1(name), FieldType::Double});
    const auto satir = [&t](int stokno, QVariant k, const char *indirim, double fiyat, double net,
                            double kdvdahil) {
        t.appendRow({stokno, 18, k, QStringLiteral("869%1").arg(stokno),
                     QStringLiteral("FREN BALATASI"), QStringLiteral("FORD"),
                     QStringLiteral("FB-%1").arg(stokno), QStringLiteral("FOCUS"),
                     QString::fromLatin1(indirim), fiyat, net, kdvdahil, 20.0, 5.0, 2.0, 1.0});
    };
    satir(11, 0, "20", 100, 80, 94.40);
    satir(12, 1, "0", 50, 50, 59);
    satir(13, 0, "20+5", 44.44, 33.33, 39.34);
    satir(14, -1, "20", 100, 80, 94.40);
    satir(15, QVariant(), "20", 100, 80, 94.40);
    return t;
}

ResultTable sepetTablosu() {
    ResultTable t;
    for (const char *name : {"SIRANO", "STOKNO", "KDV"})
        t.addField({QString::fromLatin1(name), FieldType::Integer});
    for (const char *name : {"BARKOD", "STOKADI", "MARKA", "FINISHKOD", "MODEL"})
        t.addField({QString::fromLatin1(name), FieldType::String, 40});
    for (const char *name : {"MIKTAR", "BIRIMFIYAT", "NETBIRIMFIYAT", "INDIRIMORANI1",
                             "INDIRIMORANI2", "INDIRIMORANI3", "INDIRIMORANI4"})
        t.addField({QString::fromLatin1(name), FieldType::Double});
    t.appendRow({7, 11, 18, QStringLiteral("86911"), QStringLiteral("FREN BALATASI"),
                 QStringLiteral("FORD"), QStringLiteral("FB-11"), QStringLiteral("FOCUS"), 3.0,
                 100.0, 80.0, 20.0, 5.0, 2.0, 1.0});
    return t;
}

QString goster(double v) {
    return formatFloat(QStringLiteral("#,###,##0.00"), v);
}

} // namespace

class TestStokAyrinti : public QObject {
    Q_OBJECT
    const ResultTable liste = listeTablosu();
    const ResultTable sepet = sepetTablosu();

private slots:
    void initTestCase() { testing::KatalogTestiHazirla(); }

    void degerler_data() {
        QTest::addColumn<int>("yol");
        QTest::addColumn<int>("satir");
        QTest::addColumn<int>("tip");
        QTest::addColumn<QString>("fiyatBasligi");
        QTest::addColumn<QString>("indirimBasligi");
        QTest::addColumn<double>("birimfiyat");
        QTest::addColumn<double>("indtutar");
        QTest::addColumn<double>("kdvdahiltutar");
        QTest::addColumn<double>("kdvlifiyat");
        QTest::addColumn<int>("adet");
        QTest::addColumn<bool>("duzenlenir");
        const int stok = int(GirisYolu::StokListesi), yeni = int(GirisYolu::Yeniler),
                  kamp = int(GirisYolu::Kampanyali), satir = int(GirisYolu::SepetSatiri);
        QTest::newRow("stok K=0 (worked example)")
            << stok << 0 << 3 << "Fiyat:"
            << "İndirim: %20" << 100.0 << 80.0 << 94.40 << 94.40 << 1 << false;
        QTest::newRow("stok K=0, representative")
            << stok << 0 << 1 << "Fiyat:"
            << "İndirim: %20" << 100.0 << 80.0 << 94.40 << 94.40 << 1 << true;
        QTest::newRow("stok K=1") << stok << 1 << 2 << "Kampanyalı Fiyat:"
                                  << "Kampanyalı 0" << 50.0 << 50.0 << 59.0 << 59.0 << 1 << true;
        QTest::newRow("stok K=-1 shows the row's prices")
            << stok << 3 << 3 << "Fiyat:"
            << "İndirim: %20" << 100.0 << 80.0 << 94.40 << 94.40 << 1 << false;
        QTest::newRow("stok without K shows the row's prices")
            << stok << 4 << 3 << "Fiyat:"
            << "İndirim: %20" << 100.0 << 80.0 << 94.40 << 94.40 << 1 << false;
        // 33.33 x 1.18 = 39.3294: the field is recomputed, the amount starts from KDVDAHIL.
        QTest::newRow("new K=0") << yeni << 2 << 1 << "Fiyat:"
                                 << "İndirim:  % 20+5" << 44.44 << 33.33 << 39.33 << 39.34 << 1
                                 << true;
        QTest::newRow("new K=1") << yeni << 1 << 3 << "Kampanyalı Fiyat:"
                                 << "Kampanyalı 0" << 50.0 << 50.0 << 59.0 << 59.0 << 1 << false;
        QTest::newRow("campaign, never editable")
            << kamp << 0 << 1 << "Kampanyalı Fiyat:"
            << "Kampanyalı 20" << 100.0 << 80.0 << 94.40 << 94.40 << 1 << false;
        QTest::newRow("cart line") << satir << 0 << 1 << "Fiyat:"
                                   << "İndirim:" << 100.0 << 80.0 << 94.40 << 94.40 << 3 << false;
    }
    void degerler() {
        QFETCH(int, yol);
        QFETCH(int, satir);
        QFETCH(int, tip);
        const bool sepetYolu = GirisYolu(yol) == GirisYolu::SepetSatiri;
        const AyrintiDegerleri d =
            AyrintiDegerleriAl(GirisYolu(yol), sepetYolu ? sepet : liste, satir, tip);
        QTEST(d.fiyatBasligi, "fiyatBasligi");
        QTEST(d.indirimBasligi, "indirimBasligi");
        QTEST(d.birimfiyat, "birimfiyat");
        QTEST(d.indtutar, "indtutar");
        QTEST(d.kdvdahiltutar, "kdvdahiltutar");
        QTEST(d.kdvlifiyat, "kdvlifiyat");
        QTEST(d.adet, "adet");
        QTEST(d.fiyatDuzenlenir, "duzenlenir");
        QCOMPARE(d.adi, QStringLiteral("FREN BALATASI")); // STOKADI in the cart path
        QCOMPARE(d.model, QStringLiteral("FOCUS"));
    }

    // What the addition sends comes from the row, whatever the dialog shows.
    void gonderilenler() {
        const EklenecekStok e = EklenecekStokAl(liste, 0);
        QCOMPARE(e.stokno, 11);
        QCOMPARE(e.barkod, QStringLiteral("86911"));
        QCOMPARE(e.adi, QStringLiteral("FREN BALATASI"));
        QCOMPARE(e.kdv, 18);
        QCOMPARE(e.fiyat, 100.0);
        QCOMPARE(QList<double>(std::begin(e.ind), std::end(e.ind)), QList<double>({20, 5, 2, 1}));
        QCOMPARE(e.k, 0);
        const SepetSatiri l = SepetSatiriAl(sepet, 0);
        QCOMPARE(l.sirano, 7);
        QCOMPARE(l.stokno, 11);
        QCOMPARE(l.stokadi, QStringLiteral("FREN BALATASI"));
        QCOMPARE(l.kdv, 18);
        QCOMPARE(l.birimfiyat, 100.0);
        QCOMPARE(QList<double>(std::begin(l.ind), std::end(l.ind)), QList<double>({20, 5, 2, 1}));
    }

    // The worked example on screen: 100,00 / 80,00 / 94,40, three pieces make 283,20; Enter in
    // the price is swallowed, Enter in the quantity accepts.
    void ornekDiyalogda() {
        Tstokayarinti d;
        d.Doldur(AyrintiDegerleriAl(GirisYolu::StokListesi, liste, 0, 1));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Sepete Ekle"));
        QCOMPARE(d.size(), QSize(550, 631));
        QCOMPARE(d.barkod()->text(), QStringLiteral("86911"));
        QCOMPARE(d.Label2()->text(), QStringLiteral("Fiyat:"));
        QCOMPARE(d.birimfiyat()->text(), QStringLiteral("100,00"));
        QCOMPARE(d.indirimoran()->text(), QStringLiteral("İndirim: %20"));
        QCOMPARE(d.indtutar()->text(), QStringLiteral("80,00"));
        QCOMPARE(d.kdvdahiltutar()->text(), QStringLiteral("94,40"));
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("94,40"));
        QTRY_COMPARE(QApplication::focusWidget(), d.adet());
        QCOMPARE(d.adet()->lineEdit()->selectedText(), QStringLiteral("1"));
        for (auto *e : {d.indtutar(), d.kdvdahiltutar(), d.geneltutar()})
            QVERIFY(e->isReadOnly());
        QVERIFY(!d.birimfiyat()->isReadOnly()); // a representative

        QTest::keyClicks(d.adet(), QStringLiteral("3"));
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("283,20"));

        // Typing into the price changes neither the amount nor closes the dialog.
        d.birimfiyat()->setFocus();
        QTest::keyClicks(d.birimfiyat(), QStringLiteral("5"));
        QTest::keyClick(d.birimfiyat(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("283,20"));

        QTest::keyClick(d.adet(), Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.Miktar(), 3);
    }

    // Back to one piece the amount is KDV Dahil x 1, which in the new-items path differs from
    // the starting amount by the rounding.
    void yeniYoldaYuvarlama() {
        Tstokayarinti d;
        d.Doldur(AyrintiDegerleriAl(GirisYolu::Yeniler, liste, 2, 3));
        d.show();
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("39,34"));
        d.adet()->setValue(2);
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("78,66"));
        d.adet()->setValue(1);
        QCOMPARE(d.geneltutar()->text(), QStringLiteral("39,33"));
    }

    // Whatever text ends up in the box, the quantity sent and the amount stay within 1..10000.
    void miktarSinirlari_data() {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<int>("miktar");
        QTest::newRow("normal") << "12" << 12;
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("negative") << "-5" << 1;
        QTest::newRow("too many") << "123456" << 10000;
        QTest::newRow("huge") << "99999999999999999999" << 4; // unreadable: the last valid value
        QTest::newRow("empty") << "" << 4;
        QTest::newRow("letters") << "abc" << 4;
        QTest::newRow("blanks") << " 7 " << 7;
    }
    void miktarSinirlari() {
        QFETCH(QString, metin);
        QFETCH(int, miktar);
        Tstokayarinti d;
        d.Doldur(AyrintiDegerleriAl(GirisYolu::StokListesi, liste, 0, 3));
        d.show();
        d.adet()->setValue(4);
        d.adet()->lineEdit()->setText(metin); // what no validator stopped
        QCOMPARE(d.Miktar(), miktar);
        QCOMPARE(d.geneltutar()->text(), goster(IkiHaneYuvarla(94.40 * miktar)));
        QVERIFY(d.Miktar() >= 1 && d.Miktar() <= 10000);
    }

    // Keys typed by the user never get past the range either.
    void yazilanMiktar() {
        Tstokayarinti d;
        d.Doldur(AyrintiDegerleriAl(GirisYolu::StokListesi, liste, 0, 3));
        d.show();
        d.adet()->lineEdit()->selectAll();
        QTest::keyClicks(d.adet(), QStringLiteral("99999"));
        QVERIFY(d.Miktar() <= 10000);
        d.adet()->lineEdit()->selectAll();
        QTest::keyClicks(d.adet(), QStringLiteral("0"));
        QTest::keyClick(d.adet(), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(d.Miktar() >= 1 && d.Miktar() <= 10000);
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TestStokAyrinti t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_stokayarinti.moc"
