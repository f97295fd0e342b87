#include "catalogue/katalog.h"

#include "app/mainwindow.h"
#include "catalogue/ozellisteler.h"
#include "catalogue/sepetislemleri.h"
#include "catalogue/stoklistesi.h"

namespace zenvo {

Katalog::Katalog(TForm1 &form, SepetArayuzu &sepet) : QObject(&form) {
    setObjectName(QStringLiteral("katalog"));
    m_stok = new StokListesi(form, this);
    m_yeniler = new OzelStokListesi(form, OzelStokListesi::Tur::Yeniler, this);
    m_kampanyali = new OzelStokListesi(form, OzelStokListesi::Tur::Kampanyali, this);
    m_islemler = new SepetIslemleri(form.bagc(), form.sbilgi(), sepet, &form, this);

    connect(m_stok, &StokListesi::sepeteEkleIstendi, this,
            [this](int row) { m_islemler->Giris(GirisYolu::StokListesi, m_stok->stok(), row); });
    connect(m_yeniler, &OzelStokListesi::sepeteEkleIstendi, this,
            [this](int row) { m_islemler->Giris(GirisYolu::Yeniler, m_yeniler->tablo(), row); });
    connect(m_kampanyali, &OzelStokListesi::sepeteEkleIstendi, this, [this](int row) {
        m_islemler->Giris(GirisYolu::Kampanyali, m_kampanyali->tablo(), row);
    });
    connect(&form, &TForm1::kullaniciTipiUygulandi, this, &Katalog::KullaniciTipiUygula);
    KullaniciTipiUygula(form.sbilgi().MusteriTipi());
}

Katalog::~Katalog() = default;

SatirDegistirici &Katalog::satirDegistirici() const {
    return *m_islemler;
}

void Katalog::KullaniciTipiUygula(int tip) {
    m_stok->KullaniciTipiUygula(tip);
    m_yeniler->KullaniciTipiUygula(tip);
    m_kampanyali->KullaniciTipiUygula(tip);
}

Katalog &KatalogKur(TForm1 &form, SepetArayuzu &sepet) {
    return *new Katalog(form, sepet);
}

} // namespace zenvo
