#pragma once

#include "cart/sepetarayuzu.h"
#include "catalogue/stokayarinti.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <exception>

namespace zenvo {

class ServerConnection;
class TSonucBilgisi;

// The values of a list row that an addition sends, read when its dialog opens.
struct EklenecekStok {
    int stokno = 0;
    QString barkod, adi;
    int kdv = 0;
    double fiyat = 0;
    double ind[4] = {0, 0, 0, 0};
    int k = 0;
};
EklenecekStok EklenecekStokAl(const ResultTable &liste, int satir);

// The values of a cart line that a change sends, read when its dialog opens.
struct SepetSatiri {
    int sirano = 0;
    int stokno = 0;
    QString barkod, stokadi;
    int kdv = 0;
    double birimfiyat = 0;
    double ind[4] = {0, 0, 0, 0};
};
SepetSatiri SepetSatiriAl(const ResultTable &sepet, int satir);

// The "type: message" text of the plain box that reports a picture error.
QString HataTuruVeMetni(std::exception_ptr error);

// Every way an item reaches the cart: the entry of the lists (an item already in the cart
// opens its line), the item dialog, the addition and the change on the main connection, the
// item's picture. Runs on the user-interface thread.
class SepetIslemleri final : public QObject, public SatirDegistirici {
    Q_OBJECT
public:
    // `pencere` centres the dialogs; bagc and sbilgi belong to the main window.
    SepetIslemleri(ServerConnection &bagc, TSonucBilgisi &sbilgi, SepetArayuzu &sepet,
                   QWidget *pencere, QObject *parent = nullptr);

    // Double-click (or "Sepete Ekle") on row `satir` of a list's table; -1: no row focused.
    void Giris(GirisYolu yol, const ResultTable &liste, int satir);

    // The dialog for a cart line, by its SIRANO; the cart tab calls this for its own lines.
    void SatirDegistirAc(int sirano) override;
    // The add paths of the stock list, the new items and the campaign items.
    void StokEkleAc(const ResultTable &liste, int satir);
    void YeniEkleAc(const ResultTable &liste, int satir);
    void KampanyaEkleAc(const ResultTable &liste, int satir);

    // SepetEkle2 / SepetGuncelle2 on bagc, then the cart reload when the server answered 1.
    // False when nothing was done (no connection, or another answer).
    bool SepetSatirEkle(const EklenecekStok &stok, int miktar);
    bool SepetSatirGuncelle(const SepetSatiri &satir, int miktar, double fiyat);

    // Loads the item's picture into the dialog (the logo stays when there is none).
    void StokResmiGoster(int stokno, Tstokayarinti &dialog);

signals:
    // The dialog was created and filled, just before it is shown (tests, screenshots).
    void diyalogAcildi(Tstokayarinti *dialog);

private:
    void EkleAc(GirisYolu yol, const ResultTable &liste, int satir);
    // Runs a send with bagc opened (with the connection message); closes it on every path.
    // Errors of the call go to the general error report. False when bagc did not open.
    template <typename F> bool BagcIle(F &&f);

    ServerConnection &m_bagc;
    TSonucBilgisi &m_sbilgi;
    SepetArayuzu &m_sepet;
    QPointer<QWidget> m_pencere;
};

} // namespace zenvo
