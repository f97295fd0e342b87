#include "catalogue/sepetislemleri.h"

#include "app/application.h"
#include "app/messages.h"
#include "catalogue/ortak.h"
#include "server/codec.h"
#include "server/connection.h"
#include "server/proxy.h"
#include "server/records.h"
#include "widgets/moneyedit.h"

#include <QImage>
#include <QPixmap>

#include <cxxabi.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <typeinfo>

namespace zenvo {

namespace {

// A picture that arrived complete but is no JPEG.
class ResimHatasi final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int tamSayi(double v) {
    return int(std::lround(v));
}

std::unique_ptr<TSonucBilgisi> kopya(const TSonucBilgisi &s) {
    auto b = std::make_unique<TSonucBilgisi>();
    b->Kopyala(s);
    return b;
}

} // namespace

EklenecekStok EklenecekStokAl(const ResultTable &liste, int satir) {
    const SatirOkuyucu s{liste, satir};
    EklenecekStok e;
    e.stokno = int(s.tam("STOK_STOKNO"));
    e.barkod = s.metin("BARKOD");
    e.adi = s.metin("ADI");
    e.kdv = tamSayi(s.sayi("KDV"));
    e.fiyat = s.sayi("FIYAT");
    e.ind[0] = s.sayi("IND1");
    e.ind[1] = s.sayi("IND2");
    e.ind[2] = s.sayi("IND3");
    e.ind[3] = s.sayi("IND4");
    e.k = int(s.tam("K"));
    return e;
}

SepetSatiri SepetSatiriAl(const ResultTable &sepet, int satir) {
    const SatirOkuyucu s{sepet, satir};
    SepetSatiri l;
    l.sirano = int(s.tam("SIRANO"));
    l.stokno = int(s.tam("STOKNO"));
    l.barkod = s.metin("BARKOD");
    l.stokadi = s.metin("STOKADI");
    l.kdv = tamSayi(s.sayi("KDV"));
    l.birimfiyat = s.sayi("BIRIMFIYAT");
    l.ind[0] = s.sayi("INDIRIMORANI1");
    l.ind[1] = s.sayi("INDIRIMORANI2");
    l.ind[2] = s.sayi("INDIRIMORANI3");
    l.ind[3] = s.sayi("INDIRIMORANI4");
    return l;
}

QString HataTuruVeMetni(std::exception_ptr error) {
    try {
        std::rethrow_exception(std::move(error));
    } catch (const RemoteError &e) {
        return QString::fromStdString(e.errorClass()) + QStringLiteral(": ") +
               QString::fromUtf8(e.what());
    } catch (const std::exception &e) {
        QString type = QString::fromLatin1(typeid(e).name());
        int status = 0;
        if (char *plain = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status)) {
            type = QString::fromLatin1(plain);
            std::free(plain);
        }
        type = type.mid(type.lastIndexOf(QLatin1String("::")) + 1).remove(u':');
        return type + QStringLiteral(": ") + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Exception: Bilinmeyen hata");
    }
}

SepetIslemleri::SepetIslemleri(ServerConnection &bagc, TSonucBilgisi &sbilgi, SepetArayuzu &sepet,
                               QWidget *pencere, QObject *parent)
    : QObject(parent), m_bagc(bagc), m_sbilgi(sbilgi), m_sepet(sepet), m_pencere(pencere) {}

void SepetIslemleri::Giris(GirisYolu yol, const ResultTable &liste, int satir) {
    if (satir < 0 || satir >= liste.rowCount() || liste.fieldIndex(u"STOK_STOKNO") < 0)
        return;
    const int stokno = int(SatirOkuyucu{liste, satir}.tam("STOK_STOKNO"));
    try {
        // The cart is loaded first, so that an item already in it is recognised.
        if (!m_sepet.SepetYuklendi() && !m_sepet.SepetYukle())
            return;
        const ResultTable &sepet = m_sepet.sepet();
        const int stokCol = sepet.fieldIndex(u"STOKNO");
        const int siraCol = sepet.fieldIndex(u"SIRANO");
        if (stokCol >= 0 && siraCol >= 0) {
            for (int r = 0; r < sepet.rowCount(); ++r) {
                if (sepet.intValue(r, stokCol) == stokno) {
                    SatirDegistirAc(int(sepet.intValue(r, siraCol)));
                    return;
                }
            }
        }
        // The list row is read again here: nothing replaces a list's table while its grid
        // accepts double-clicks.
        EkleAc(yol, liste, satir);
    } catch (...) {
        GenelHataGoster(std::current_exception());
    }
}

void SepetIslemleri::StokEkleAc(const ResultTable &liste, int satir) {
    EkleAc(GirisYolu::StokListesi, liste, satir);
}

void SepetIslemleri::YeniEkleAc(const ResultTable &liste, int satir) {
    EkleAc(GirisYolu::Yeniler, liste, satir);
}

void SepetIslemleri::KampanyaEkleAc(const ResultTable &liste, int satir) {
    EkleAc(GirisYolu::Kampanyali, liste, satir);
}

void SepetIslemleri::EkleAc(GirisYolu yol, const ResultTable &liste, int satir) {
    // Everything the send needs is read now: the dialog's event loop may run continuations.
    const EklenecekStok stok = EklenecekStokAl(liste, satir);
    const AyrintiDegerleri degerler = AyrintiDegerleriAl(yol, liste, satir, m_sbilgi.MusteriTipi());
    auto *dialog = new Tstokayarinti(m_pencere);
    QPointer<Tstokayarinti> guard(dialog);
    StokResmiGoster(stok.stokno, *dialog);
    dialog->Doldur(degerler);
    emit diyalogAcildi(dialog);
    const bool ok = dialog->exec() == QDialog::Accepted;
    if (!guard)
        return;
    const int miktar = dialog->Miktar();
    delete dialog;
    if (ok)
        SepetSatirEkle(stok, miktar);
}

void SepetIslemleri::SatirDegistirAc(int sirano) {
    try {
        const ResultTable &sepet = m_sepet.sepet();
        const int siraCol = sepet.fieldIndex(u"SIRANO");
        int satir = -1;
        for (int r = 0; siraCol >= 0 && r < sepet.rowCount(); ++r) {
            if (sepet.intValue(r, siraCol) == sirano) {
                satir = r;
                break;
            }
        }
        if (satir < 0)
            return;
        const SepetSatiri line = SepetSatiriAl(sepet, satir);
        const AyrintiDegerleri degerler =
            AyrintiDegerleriAl(GirisYolu::SepetSatiri, sepet, satir, m_sbilgi.MusteriTipi());
        auto *dialog = new Tstokayarinti(m_pencere);
        QPointer<Tstokayarinti> guard(dialog);
        StokResmiGoster(line.stokno, *dialog);
        dialog->Doldur(degerler);
        emit diyalogAcildi(dialog);
        const bool ok = dialog->exec() == QDialog::Accepted;
        if (!guard)
            return;
        const int miktar = dialog->Miktar();
        const double fiyat = dialog->birimfiyat()->value();
        delete dialog;
        if (!ok)
            return;
        // A change that did not go through still reloads, so the line shows as it is.
        if (!SepetSatirGuncelle(line, miktar, fiyat))
            m_sepet.SepetYukle();
    } catch (...) {
        GenelHataGoster(std::current_exception());
    }
}

template <typename F> bool SepetIslemleri::BagcIle(F &&f) {
    if (!BaglantiAc(m_bagc, 1))
        return false;
    try {
        BaglantiKapatici kapat{m_bagc};
        TServerMethods1Client proxy(&m_bagc, false);
        f(proxy);
    } catch (...) {
        GenelHataGoster(std::current_exception());
        return false;
    }
    return true;
}

bool SepetIslemleri::SepetSatirEkle(const EklenecekStok &stok, int miktar) {
    int sonuc = 0;
    const bool gitti = BagcIle([&](TServerMethods1Client &proxy) {
        sonuc = proxy.SepetEkle2(kopya(m_sbilgi), m_sbilgi.CARINO(), stok.stokno, stok.barkod,
                                 stok.adi, miktar, stok.kdv, stok.fiyat, stok.ind[0],
                                 m_sbilgi.Sirano(), stok.k, stok.ind[1], stok.ind[2], stok.ind[3]);
    });
    if (!gitti || sonuc != 1)
        return false;
    m_sepet.SepetYukle();
    return true;
}

bool SepetIslemleri::SepetSatirGuncelle(const SepetSatiri &satir, int miktar, double fiyat) {
    int sonuc = 0;
    const bool gitti = BagcIle([&](TServerMethods1Client &proxy) {
        sonuc =
            proxy.SepetGuncelle2(kopya(m_sbilgi), m_sbilgi.CARINO(), 0, satir.barkod, satir.stokadi,
                                 miktar, satir.kdv, fiyat, satir.ind[0], m_sbilgi.Sirano(),
                                 satir.sirano, satir.ind[1], satir.ind[2], satir.ind[3]);
    });
    if (!gitti || sonuc != 1)
        return false;
    m_sepet.SepetYukle();
    return true;
}

void SepetIslemleri::StokResmiGoster(int stokno, Tstokayarinti &dialog) {
    if (!BaglantiAc(m_bagc, 1))
        return;
    QString hata;
    try {
        BaglantiKapatici kapat{m_bagc};
        TServerMethods1Client proxy(&m_bagc, false);
        qint64 boy = 0;
        const std::unique_ptr<QIODevice> akis = proxy.ResimVer5(stokno, boy);
        QByteArray veri;
        // Missing or incomplete pictures keep the logo, without a message.
        if (!AkisOku(akis.get(), boy, veri))
            return;
        QImage resim;
        if (!resim.loadFromData(veri, "JPEG"))
            throw ResimHatasi("Resim JPEG olarak okunamadı");
        dialog.Image1()->setPixmap(QPixmap::fromImage(std::move(resim)));
    } catch (...) {
        hata = HataTuruVeMetni(std::current_exception());
    }
    if (!hata.isEmpty())
        DuzMesajGoster(QString::fromUtf8(kUygulamaBasligi), hata);
}

} // namespace zenvo
