// The totals panel of the cart and the order summary, on hand-made cart tables.
#include "app/mainwindow.h"
#include "cart/onaysip.h"
#include "cart/sepetsekmesi.h"
#include "tests/app/fakeplatform.h"

#include <QLabel>
#include <QTest>

using namespace zenvo;

namespace {

struct Line {
    int sec;
    double tutar;
    double indirim;
    int kdv;
};

ResultTable cart(const QList<Line> &lines) {
    ResultTable t;
    t.addField({QStringLiteral("SEC"), FieldType::Integer, 0});
    t.addField({QStringLiteral("TUTAR"), FieldType::Double, 0});
    t.addField({QStringLiteral("INDIRIMTUTAR"), FieldType::Double, 0});
    t.addField({QStringLiteral("KDV"), FieldType::Integer, 0});
    t.addField({QStringLiteral("SIRANO"), FieldType::Integer, 0});
    int sirano = 1;
    for (const Line &l : lines)
        t.appendRow({l.sec, l.tutar, l.indirim, l.kdv, sirano++});
    SayiFormatla(t);
    return t;
}

} // namespace

Q_DECLARE_METATYPE(QList<Line>)

class TestCartTotals : public QObject {
    Q_OBJECT
    testing::FakePlatform fake;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void totals_data() {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QStringList>("shown"); // Toplam, İndirim, Ara, Vergi, Genel
        QTest::newRow("worked example")
            << QList<Line>{{1, 100.00, 10.00, 18}, {1, 50.55, 5.05, 18}, {0, 999.99, 99.0, 18}}
            << QStringList{"150,55", "15,05", "135,50", "24,39", "159,89"};
        QTest::newRow("nothing chosen") << QList<Line>{{0, 100.00, 10.00, 18}, {0, 50.55, 5.05, 18}}
                                        << QStringList{"0,00", "0,00", "0,00", "0,00", "0,00"};
        QTest::newRow("empty cart")
            << QList<Line>{} << QStringList{"0,00", "0,00", "0,00", "0,00", "0,00"};
        // The tax is 18 % of the net subtotal whatever the lines' rates.
        QTest::newRow("8 % lines") << QList<Line>{{1, 200.00, 0.00, 8}, {1, 50.00, 50.00, 1}}
                                   << QStringList{"250,00", "50,00", "200,00", "36,00", "236,00"};
        // Sums are rounded after every line: 0,005 three times is 0,03, not 0,02.
        QTest::newRow("running rounding")
            << QList<Line>{{1, 0.005, 0.0, 18}, {1, 0.005, 0.0, 18}, {1, 0.005, 0.0, 18}}
            << QStringList{"0,03", "0,00", "0,03", "0,01", "0,04"};
        // Only a flag of exactly 1 counts as chosen.
        QTest::newRow("flag 2") << QList<Line>{{2, 100.00, 0.00, 18}, {1, 10.00, 0.00, 18}}
                                << QStringList{"10,00", "0,00", "10,00", "1,80", "11,80"};
        QTest::newRow("thousands")
            << QList<Line>{{1, 123456.78, 1234.56, 18}, {1, 1000000.00, 0.00, 18}}
            << QStringList{"1.123.456,78", "1.234,56", "1.122.222,22", "202.000,00",
                           "1.324.222,22"};
    }
    void totals() {
        QFETCH(QList<Line>, lines);
        QFETCH(QStringList, shown);
        TForm1 form;
        SepetSekmesi *tab = SepetKur(form);
        tab->sepet() = cart(lines);
        tab->SepetToplamHesapla();
        const QStringList labels{tab->aratoplaml()->text(), tab->indiriml()->text(),
                                 tab->nettutarl()->text(), tab->vergil()->text(),
                                 tab->geneltoplaml()->text()};
        QCOMPARE(labels, shown);
    }

    // A cart table without the columns the totals read shows zeros instead of failing.
    void cartWithoutColumns() {
        TForm1 form;
        SepetSekmesi *tab = SepetKur(form);
        ResultTable t;
        t.addField({QStringLiteral("SEC"), FieldType::Integer, 0});
        t.appendRow({1});
        tab->sepet() = t;
        tab->SepetToplamHesapla();
        QCOMPARE(tab->geneltoplaml()->text(), QStringLiteral("0,00"));
    }

    void summary() {
        const QString text =
            SiparisOzeti({QStringLiteral("BAYI2"), QStringLiteral("YILDIZ OTO"),
                          QStringLiteral("Kargo ile Gönderilecek"), QStringLiteral("Ambar"),
                          QStringLiteral("1.234,50"), QStringLiteral("EGE AMBARI"),
                          QStringLiteral("Öğleden önce\nteslim lütfen")});
        QCOMPARE(text.split(u'\n'),
                 QStringList({"Kullanıcı: BAYI2", "Cari     : YILDIZ OTO",
                              "Teslim   : Kargo ile Gönderilecek", "Kargo    : Ambar",
                              "Tutar    : 1.234,50", "Kargo    : EGE AMBARI",
                              "Açıklama : Öğleden önce", "teslim lütfen"}));
    }
};

QTEST_MAIN(TestCartTotals)
#include "test_carttotals.moc"
