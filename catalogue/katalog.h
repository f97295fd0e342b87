#pragma once

#include <QObject>

namespace zenvo {

class OzelStokListesi;
class SatirDegistirici;
class SepetArayuzu;
class SepetIslemleri;
class StokListesi;
class TForm1;

// The catalogue inside the main window: the stock list, new items and campaign items tabs, the
// search bar's behaviour and the item dialog through which items reach the cart.
class Katalog final : public QObject {
    Q_OBJECT
public:
    // Use KatalogKur.
    Katalog(TForm1 &form, SepetArayuzu &sepet);
    ~Katalog() override;

    StokListesi &stokListesi() const { return *m_stok; }
    OzelStokListesi &yeniler() const { return *m_yeniler; }
    OzelStokListesi &kampanyali() const { return *m_kampanyali; }
    SepetIslemleri &sepetIslemleri() const { return *m_islemler; }
    // What the cart tab opens for one of its lines.
    SatirDegistirici &satirDegistirici() const;

    // Column rules of the user type for the three lists; follows the form's
    // kullaniciTipiUygulandi and is applied once at installation from the session record.
    void KullaniciTipiUygula(int tip);

private:
    StokListesi *m_stok;
    OzelStokListesi *m_yeniler;
    OzelStokListesi *m_kampanyali;
    SepetIslemleri *m_islemler;
};

// Builds the catalogue into the form's pages and hooks the search bar. The catalogue belongs to
// the form; `sepet` (the cart tab) must live as long as the form.
Katalog &KatalogKur(TForm1 &form, SepetArayuzu &sepet);

} // namespace zenvo
