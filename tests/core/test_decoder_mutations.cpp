// The decoders meet broken input: many deterministic mutations of valid messages must end in
// a decoded value or a clear exception, never a crash (run under the sanitizers in CI).
#include "server/codec.h"
#include "server/jsonwriter.h"

#include <QTest>

#include <random>

using namespace zenvo;

namespace {

std::string tableResponse() {
    ResultTable t;
    t.addField({QStringLiteral("STOK_STOKNO"), FieldType::Integer, 0});
    t.addField({QStringLiteral("ADI"), FieldType::String, 50});
    t.addField({QStringLiteral("FIYAT"), FieldType::Double, 0});
    t.addField({QStringLiteral("VAR"), FieldType::Boolean, 0});
    t.addField({QStringLiteral("RESIM"), FieldType::Blob, 0});
    t.appendRow({1, QStringLiteral("FREN BALATASI ÖN \"x\"\\"), 12.5, true, QByteArray("ab")});
    t.appendRow({QVariant(), QStringLiteral("ığüşöç 😀"), QVariant(), false, QVariant()});
    JsonWriter w;
    w.raw("{\"result\":");
    encodeTable(w, t);
    w.raw(",\"outs\":[]}");
    return w.text();
}

std::string recordResponse() {
    TAcilisEkranlariki h;
    std::vector<TAcilisEkran> e(2);
    e[0].SetBaslik(QStringLiteral("Duyuru"));
    e[1].SetResim(QStringLiteral("FFD8"));
    h.SetEkranlar(e);
    return "{\"result\":" + marshal(&h) + ",\"outs\":[]}";
}

std::string mutate(std::string s, std::mt19937 &rng) {
    const int edits = 1 + int(rng() % 4);
    for (int i = 0; i < edits && !s.empty(); ++i) {
        const std::size_t at = rng() % s.size();
        switch (rng() % 6) {
        case 0: // flip a byte
            s[at] = char(rng() % 256);
            break;
        case 1: // cut
            s.resize(at);
            break;
        case 2: // insert structural characters
            s.insert(at, 1, "{}[],:\"\\0-e."[rng() % 12]);
            break;
        case 3: // drop a byte
            s.erase(at, 1);
            break;
        case 4: // duplicate a stretch
            s.insert(at, s.substr(at, rng() % 16));
            break;
        default: // swap a number for a huge one
            s.insert(at, "99999999999999999999");
        }
    }
    return s;
}

} // namespace

class TestDecoderMutations : public QObject {
    Q_OBJECT
private slots:
    void responses() {
        struct Case {
            std::string json;
            MethodId method;
        };
        const Case cases[] = {
            {tableResponse(), MethodId::StokAraGetir},
            {tableResponse(), MethodId::TeslimVer},
            {recordResponse(), MethodId::AcilisEkranlarVer2},
            {"{\"result\":\"AAEC\",\"outs\":[3]}", MethodId::ResimVer5},
            {"{\"result\":\"ş\",\"outs\":[]}", MethodId::EchoString},
            {"{\"result\":[1,{\"a\":[null]}],\"outs\":[]}", MethodId::CarileriVer},
            {"{\"error\":{\"class\":\"E\",\"message\":\"m\"}}", MethodId::EchoString},
        };
        std::mt19937 rng(20261211);
        int decoded = 0, refused = 0;
        for (const Case &c : cases) {
            for (int i = 0; i < 3000; ++i) {
                std::string s = mutate(c.json, rng);
                const std::size_t len = s.size();
                s.append(jsonPadding(), '\0');
                try {
                    decodeResponse(s.data(), len, methodDecl(c.method));
                    ++decoded;
                } catch (const std::runtime_error &) {
                    ++refused;
                }
            }
        }
        QVERIFY(refused > 0);
        QCOMPARE(decoded + refused, 7 * 3000);
    }

    void requests() {
        TSonucBilgisi s;
        s.SetADI(QStringLiteral("ŞEN"));
        const std::string valid =
            "{\"method\":\"TServerMethods1.StokAraGetir\",\"params\":[\"fren\"," + marshal(&s) +
            "]}";
        std::mt19937 rng(7);
        int refused = 0;
        for (int i = 0; i < 5000; ++i) {
            std::string m = mutate(valid, rng);
            const std::size_t len = m.size();
            m.append(jsonPadding(), '\0');
            try {
                decodeRequest(m.data(), len);
            } catch (const std::runtime_error &) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(TestDecoderMutations)
#include "test_decoder_mutations.moc"
