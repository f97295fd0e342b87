#include "server/codec.h"
#include "server/jsonwriter.h"
#include "server/methods.h"

#include <QTest>

using namespace zenvo;

namespace {

Response decode(std::string json, MethodId id) {
    json.append(jsonPadding(), '\0');
    return decodeResponse(json.data(), json.size() - jsonPadding(), methodDecl(id));
}

ResultTable table(const QStringList &names) {
    ResultTable t;
    for (const QString &n : names)
        t.addField({n, FieldType::Integer, 0});
    return t;
}

} // namespace

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void methodTable() {
        const auto table = zenvo::methodTable();
        QCOMPARE(int(table.size()), 107);
        QCOMPARE(QLatin1String(table.front().name), QLatin1String("DSServerModuleCreate"));
        QCOMPARE(QLatin1String(table.back().name), QLatin1String("RilvanStokAraGetir"));
        QCOMPARE(methodSignature(methodDecl(MethodId::BelgeIndir2)),
                 QStringLiteral("BelgeIndir2(sirano: integer, out size: int64, out adi: text, "
                                "bilgi: TSonucBilgisi) -> stream"));
        QCOMPARE(methodSignature(methodDecl(MethodId::SepetEkle2)).count(QLatin1Char(',')), 13);
        QCOMPARE(methodSignature(methodDecl(MethodId::MailGonserCariNormal)).count(u','), 16);
        QCOMPARE(methodSignature(methodDecl(MethodId::SiparisAytintisiDip)),
                 QStringLiteral("SiparisAytintisiDip(carino: integer, siranosu: integer) -> "
                                "TSiparisDipAyrinti"));
        QCOMPARE(methodIndex("KampanyaliVermMobil"), 17);
        QCOMPARE(methodIndex("Yok"), -1);
    }

    void readerLoadKeepsColumns() {
        ResultTable t;
        t.loadReader(table({"ADI", "SIRANO"}));
        t.setDisplayFormat(0, QStringLiteral("x"));
        ResultTable more = table({"ADI", "SIRANO", "UYARI"});
        more.appendRow({1, 2, 3});
        t.loadReader(std::move(more));
        QCOMPARE(t.columnCount(), 3);
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(t.displayFormat(0), QStringLiteral("x"));
        try {
            t.loadReader(table({"SIRANO", "ADI"}));
            QFAIL("a renamed column must fail");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Additional columns must be added after the prescribed "
                                    "columns."));
        }
        QCOMPARE(t.rowCount(), 1); // a failed load leaves the table as it was
        // A data packet replaces columns and rows.
        t.loadPacket(table({"BASKA"}));
        QCOMPARE(t.columnCount(), 1);
        QCOMPARE(t.field(0).name, QStringLiteral("BASKA"));
        QCOMPARE(t.rowCount(), 0);
    }

    void sayiFormatlaOnlyPlainDoubles() {
        ResultTable t;
        const FieldType types[] = {FieldType::Double,  FieldType::Currency, FieldType::Bcd,
                                   FieldType::Integer, FieldType::String,   FieldType::DateTime};
        for (FieldType ft : types)
            t.addField({QString::fromLatin1(fieldTypeName(ft)), ft, 0});
        SayiFormatla(t);
        QCOMPARE(t.displayFormat(0), QStringLiteral("#,###,##0.00"));
        for (int c = 1; c < t.columnCount(); ++c)
            QVERIFY(t.displayFormat(c).isEmpty());
    }

    void goodResponses() {
        Response r = decode(R"({"result":"çığ","outs":[]})", MethodId::EchoString);
        QCOMPARE(std::get<QString>(r.result), QStringLiteral("çığ"));
        r = decode(R"({"outs":[9007199254740993],"result":"AAEC"})", MethodId::ResimVer5);
        QCOMPARE(std::get<qint64>(r.outs.at(0)), 9007199254740993LL);
        QCOMPARE(std::get<QByteArray>(r.result), QByteArray("\x00\x01\x02", 3));
        r = decode(R"({"result":{"columns":[{"name":"A","type":"integer"},)"
                   R"({"name":"B","type":"string","size":5}],"rows":[[1,"x"],[null,null]]}})",
                   MethodId::TeslimVer);
        const auto &t = *std::get<std::unique_ptr<ResultTable>>(r.result);
        QCOMPARE(t.rowCount(), 2);
        // Escapes, Turkish letters and a character outside the BMP in table text.
        Response r2 =
            decode("{\"result\":{\"columns\":[{\"name\":\"S\",\"type\":\"string\"}],\"rows\":"
                   "[[\"\\u00e7\\ud83d\\ude00\\\"\\\\\\/\\n\"],[\"ığ😀x\"],[\"\\ud800\"]]},"
                   "\"outs\":[]}",
                   MethodId::TeslimVer);
        const auto &s = *std::get<std::unique_ptr<ResultTable>>(r2.result);
        QCOMPARE(s.stringValue(0, 0), QStringLiteral("ç😀\"\\/\n"));
        QCOMPARE(s.stringValue(1, 0), QStringLiteral("ığ😀x"));
        QCOMPARE(s.stringValue(2, 0), QString(QChar(0xFFFD)));
        QCOMPARE(t.field(1).size, 5);
        QVERIFY(t.isNull(1, 0) && t.isNull(1, 1));
    }

    void badResponses_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const int echo = int(MethodId::EchoString), teslim = int(MethodId::TeslimVer),
                  resim = int(MethodId::ResimVer5), buyuk = int(MethodId::BuyukGetir);
        QTest::newRow("invalid json") << echo << QByteArray("{\"result\":") << "invalid JSON";
        QTest::newRow("not an object") << echo << QByteArray("[1]") << "not a JSON object";
        QTest::newRow("no result") << echo << QByteArray("{\"outs\":[]}") << "without result";
        QTest::newRow("wrong result type")
            << echo << QByteArray("{\"result\":5,\"outs\":[]}") << "expected a string";
        QTest::newRow("null text")
            << echo << QByteArray("{\"result\":null,\"outs\":[]}") << "null where text";
        QTest::newRow("trailing") << echo << QByteArray("{\"result\":\"a\",\"outs\":[]} {}")
                                  << "trailing";
        QTest::newRow("row too wide")
            << teslim
            << QByteArray(R"({"result":{"columns":[{"name":"A","type":"integer"}],)"
                          R"("rows":[[1],[2,3]]},"outs":[]})")
            << "more values";
        QTest::newRow("row too narrow")
            << teslim
            << QByteArray(R"({"result":{"columns":[{"name":"A","type":"integer"},)"
                          R"({"name":"B","type":"double"}],"rows":[[1]]},"outs":[]})")
            << "1 values for 2 columns";
        QTest::newRow("cell type")
            << teslim
            << QByteArray(R"({"result":{"columns":[{"name":"A","type":"integer"}],)"
                          R"("rows":[["1"]]},"outs":[]})")
            << "cell 0,0: expected integer";
        QTest::newRow("unknown column type")
            << teslim
            << QByteArray(R"({"result":{"columns":[{"name":"A","type":"money"}],"rows":[]}})")
            << "unknown column type";
        QTest::newRow("rows first")
            << teslim << QByteArray(R"({"result":{"rows":[],"columns":[]},"outs":[]})")
            << "rows before columns";
        QTest::newRow("missing outs") << resim << QByteArray(R"({"result":""})") << "without outs";
        QTest::newRow("too many outs")
            << resim << QByteArray(R"({"result":"","outs":[1,2]})") << "more outs";
        QTest::newRow("bad base64")
            << resim << QByteArray(R"({"result":"@@","outs":[1]})") << "base64";
        QTest::newRow("record of another class")
            << buyuk << QByteArray(R"({"result":{"type":"baglantiu.TTusSonuclari"},"outs":[]})")
            << "class";
        QTest::newRow("record field type")
            << buyuk
            << QByteArray(R"({"result":{"type":"baglantiu.TSonucBilgisi",)"
                          R"("fields":{"FCARINO":"1"}},"outs":[]})")
            << "FCARINO";
        QTest::newRow("integer out of range")
            << int(MethodId::SepetSayisi) << QByteArray(R"({"result":2147483648,"outs":[]})")
            << "32-bit";
    }
    void badResponses() {
        QFETCH(int, method);
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        try {
            decode(json.toStdString(), MethodId(method));
            QFAIL("no error raised");
        } catch (const ProtocolError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(message), e.what());
        }
    }

    void serverErrorBecomesException() {
        try {
            decode(encodeError("EDatabaseError", "Kayıt bulunamadı"), MethodId::EchoString);
            QFAIL("no error raised");
        } catch (const RemoteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Kayıt bulunamadı"));
            QCOMPARE(e.errorClass(), std::string("EDatabaseError"));
        }
    }

    void requests() {
        auto decodeReq = [](std::string json) {
            json.append(jsonPadding(), '\0');
            return decodeRequest(json.data(), json.size() - jsonPadding());
        };
        Request r = decodeReq(R"({"method":"TServerMethods1.ResimVer5","params":[12,null]})");
        QCOMPARE(QLatin1String(r.method->name), QLatin1String("ResimVer5"));
        QCOMPARE(std::get<qint64>(r.params[0]), 12);
        const char *bad[][2] = {
            {R"({"method":"TServerMethods1.Yok","params":[]})", "unknown method"},
            {R"({"method":"ResimVer5","params":[1,null]})", "unknown method"},
            {R"({"method":"TServerMethods1.ResimVer5","params":[1]})", "takes 2 parameters"},
            {R"({"method":"TServerMethods1.ResimVer5","params":[1,null,3]})", "more were sent"},
            {R"({"method":"TServerMethods1.ResimVer5","params":["1",null]})",
             "expected an integer"},
            {R"({"method":"TServerMethods1.ResimVer5","params":[1,5]})", "sent as null"},
            {R"({"method":"TServerMethods1.EchoString"})", "without params"},
            {R"({"params":[]})", "\"params\" before \"method\""},
            {R"({"method":"TServerMethods1.StokAraGetir","params":["a",5]})", "expected an object"},
            {R"(nonsense)", "invalid JSON"},
        };
        for (const auto &c : bad) {
            try {
                decodeReq(c[0]);
                QFAIL(c[0]);
            } catch (const ProtocolError &e) {
                QVERIFY2(std::string_view(e.what()).find(c[1]) != std::string_view::npos, e.what());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
