#include "server/jsonwriter.h"
#include "server/oledate.h"
#include "server/records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace zenvo;

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void defaults() {
        const TSonucBilgisi s;
        QCOMPARE(s.MusteriTipi(), 1);
        QCOMPARE(s.Version(), 1);
        QCOMPARE(s.Varmi(), false);
        QCOMPARE(s.CARINO(), 0);
        const TMobilStok m;
        QCOMPARE(m.Birim(), QStringLiteral("ADET"));
        QCOMPARE(m.KDV(), 18.0);
    }

    void sessionRoundTripAndKopyala() {
        TSonucBilgisi s;
        s.SetBILGISAYARID(QStringLiteral("WD-ABC123"));
        s.SetADI(QStringLiteral("ŞÜKRÜ ÖZ"));
        s.SetCARINO(2147483647);
        s.SetVarmi(true);
        s.SetMusteriTipi(4);
        const std::string json = marshal(&s);
        const QJsonObject obj = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
        QCOMPARE(obj.value(u"type").toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
        QCOMPARE(obj.value(u"id").toInt(), 1);
        const QJsonObject fields = obj.value(u"fields").toObject();
        QCOMPARE(fields.keys().size(), 20);
        QCOMPARE(fields.value(u"FADI").toString(), QStringLiteral("ŞÜKRÜ ÖZ"));
        QCOMPARE(fields.value(u"FVarmi").toBool(), true);

        auto back = unmarshal<TSonucBilgisi>(json);
        QVERIFY(back);
        QCOMPARE(back->ADI(), s.ADI());
        QCOMPARE(back->CARINO(), 2147483647);
        QCOMPARE(back->MusteriTipi(), 4);

        TSonucBilgisi copy;
        copy.Kopyala(*back);
        QCOMPARE(marshal(&copy), json);
        QVERIFY(!unmarshal<TSonucBilgisi>("null"));
    }

    void missingUnknownAndWrongFields() {
        // Missing fields keep the defaults of the class, unknown ones are ignored.
        auto m = unmarshal<TMobilStok>(
            R"({"type":"mobilstokunit.TMobilStok","id":1,"fields":{"FStokNo":7,"FYok":1}})");
        QCOMPARE(m->StokNo(), 7);
        QCOMPARE(m->Birim(), QStringLiteral("ADET"));
        QCOMPARE(m->KDV(), 18.0);
        const char *bad[] = {
            R"({"type":"mobilstokunit.TMobilStok","fields":{"FStokNo":"7"}})",
            R"({"type":"mobilstokunit.TMobilStok","fields":{"FStokNo":1.5}})",
            R"({"type":"mobilstokunit.TMobilStok","fields":{"FStokNo":4294967296}})",
            R"({"type":"mobilstokunit.TMobilStok","fields":{"FAdi":3}})",
            R"({"type":"mobilstokunit.TMobilStok","fields":{"FKDV":true}})",
            R"({"type":"baglantiu.TTusSonuclari","fields":{}})",
            R"({"type":"mobilstokunit.TMobilStok","fields":[]})",
            R"({"type":"mobilstokunit.TMobilStok",)",
        };
        for (const char *json : bad)
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, unmarshal<TMobilStok>(json));
    }

    void mobilStokKopyalaKeepsCodes() {
        TMobilStok src, dst;
        src.SetPKod(QStringLiteral("P1"));
        src.SetDpKod(QStringLiteral("D1"));
        src.SetAdi(QStringLiteral("FREN BALATASI"));
        src.SetFiyat(12.5);
        dst.SetPKod(QStringLiteral("P2"));
        dst.SetDpKod(QStringLiteral("D2"));
        dst.Kopyala(src);
        QCOMPARE(dst.Adi(), QStringLiteral("FREN BALATASI"));
        QCOMPARE(dst.Fiyat(), 12.5);
        QCOMPARE(dst.PKod(), QStringLiteral("P2"));
        QCOMPARE(dst.DpKod(), QStringLiteral("D2"));
    }

    void arraysAndLists() {
        TAcilisEkranlariki holder;
        std::vector<TAcilisEkran> screens(2);
        screens[0].SetBaslik(QStringLiteral("Kampanya"));
        screens[0].SetResim(QStringLiteral("FFD8ff"));
        screens[1].SetSiraNo(2);
        holder.SetEkranlar(screens);
        const std::string json = marshal(&holder);
        const QJsonObject obj = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
        const QJsonArray arr = obj.value(u"fields").toObject().value(u"FEkranlar").toArray();
        QCOMPARE(arr.size(), 2);
        QCOMPARE(arr[0].toObject().value(u"id").toInt(), 2);
        QCOMPARE(arr[1].toObject().value(u"id").toInt(), 3);
        auto back = unmarshal<TAcilisEkranlariki>(json);
        QCOMPARE(back->Ekranlar().size(), std::size_t(2));
        QCOMPARE(back->Ekranlar()[0].Baslik(), QStringLiteral("Kampanya"));
        QCOMPARE(back->Ekranlar()[0].ResimBaytlari(), QByteArray("\xFF\xD8\xFF"));
        QVERIFY(back->Ekranlar()[1].ResimBaytlari().isEmpty());
        TAcilisEkran odd;
        odd.SetResim(QStringLiteral("ABC"));
        QVERIFY(odd.ResimBaytlari().isEmpty());
        odd.SetResim(QStringLiteral("ZZ"));
        QVERIFY(odd.ResimBaytlari().isEmpty());

        TMobilStoklar list;
        list.items.push_back(std::make_unique<TMobilStok>());
        list.items.back()->SetStokNo(5);
        auto listBack = unmarshal<TMobilStoklar>(marshal(&list));
        QCOMPARE(listBack->Count(), 1);
        QCOMPARE(listBack->items[0]->StokNo(), 5);
        QCOMPARE(listBack->items[0]->Birim(), QStringLiteral("ADET"));
    }

    void oleDates_data() {
        QTest::addColumn<double>("ole");
        QTest::addColumn<QDateTime>("dt");
        QTest::newRow("epoch") << 0.0 << QDateTime(QDate(1899, 12, 30), QTime(0, 0));
        QTest::newRow("noon") << 2.5 << QDateTime(QDate(1900, 1, 1), QTime(12, 0));
        QTest::newRow("2026") << 46367.75 << QDateTime(QDate(2026, 12, 11), QTime(18, 0));
        QTest::newRow("before") << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0));
    }
    void oleDates() {
        QFETCH(double, ole);
        QFETCH(QDateTime, dt);
        QCOMPARE(FromOleDate(ole), dt);
        QCOMPARE(ToOleDate(dt), ole);
    }

    void jsonWriterEscapes() {
        JsonWriter w;
        w.string(QStringLiteral("a\"b\\c\n\x01ğ"));
        QCOMPARE(QString::fromStdString(w.text()), QStringLiteral("\"a\\\"b\\\\c\\n\\u0001ğ\""));
        w.clear();
        w.number(0.1);
        QCOMPARE(w.text(), std::string("0.1"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, w.number(std::nan("")));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
