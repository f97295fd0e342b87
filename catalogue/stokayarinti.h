#pragma once

#include <QDialog>
#include <QPixmap>
#include <QSpinBox>
#include <QString>

class QLabel;
class QPushButton;

namespace zenvo {

class MoneyEdit;
class ResultTable;

// Where the item dialog was opened from; it decides the captions and the prices shown.
enum class GirisYolu { StokListesi, Yeniler, Kampanyali, SepetSatiri };

// What the item dialog shows for one row, by entry path.
struct AyrintiDegerleri {
    QString barkod, adi, marka, finishkod, model;
    QString fiyatBasligi = QStringLiteral("Fiyat:");     // Label2
    QString indirimBasligi = QStringLiteral("İndirim:"); // indirimoran
    double birimfiyat = 0;
    double indtutar = 0;      // net unit price after discounts
    double kdvdahiltutar = 0; // net unit price with VAT
    double kdvlifiyat = 0;    // the unit price the amount starts from
    int adet = 1;
    bool fiyatDuzenlenir = false;
};

// Reads a row of a list's table (or a line of the cart table for SepetSatiri). `musteriTipi`
// is the session's user type: sales representatives may edit the unit price in the stock-list
// and new-items paths.
AyrintiDegerleri AyrintiDegerleriAl(GirisYolu yol, const ResultTable &tablo, int satir,
                                    int musteriTipi);

// A picture scaled to fit, proportionally, centred.
class ResimKutusu final : public QWidget {
    Q_OBJECT
public:
    explicit ResimKutusu(QWidget *parent = nullptr);
    void setPixmap(const QPixmap &pixmap);
    const QPixmap &pixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixmap;
};

// The quantity box; its editor is reachable so that any text, also one outside the range,
// updates the amount.
class AdetKutusu final : public QSpinBox {
    Q_OBJECT
public:
    using QAbstractSpinBox::lineEdit;
    using QSpinBox::QSpinBox;
};

// The item dialog "Sepete Ekle": codes, picture, prices and the quantity.
class Tstokayarinti final : public QDialog {
    Q_OBJECT
public:
    explicit Tstokayarinti(QWidget *parent = nullptr);

    void Doldur(const AyrintiDegerleri &d);
    // The firm's logo until the item's picture replaces it.
    static QPixmap VarsayilanResim();

    // The quantity written in "Adet:", kept within 1..10000.
    int Miktar() const;
    double kdvlifiyat() const { return m_kdvlifiyat; }

    QLabel *barkod() const { return m_barkod; }
    QLabel *adi() const { return m_adi; }
    QLabel *finishkod() const { return m_finishkod; }
    QLabel *marka() const { return m_marka; }
    QLabel *model() const { return m_model; }
    ResimKutusu *Image1() const { return m_image; }
    AdetKutusu *adet() const { return m_adet; }
    QLabel *Label2() const { return m_label2; }
    QLabel *indirimoran() const { return m_indirimoran; }
    MoneyEdit *birimfiyat() const { return m_birimfiyat; }
    MoneyEdit *indtutar() const { return m_indtutar; }
    MoneyEdit *kdvdahiltutar() const { return m_kdvdahiltutar; }
    MoneyEdit *geneltutar() const { return m_geneltutar; }
    QPushButton *ParcaliTus1() const { return m_ekle; }   // "Sipariş ekle"
    QPushButton *ParcaliTus2() const { return m_vazgec; } // "Vazgeç"

    static constexpr int kEnAzAdet = 1;
    static constexpr int kEnCokAdet = 10000;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void TutarHesapla();

    QLabel *m_barkod, *m_adi, *m_finishkod, *m_marka, *m_model;
    ResimKutusu *m_image;
    AdetKutusu *m_adet;
    QLabel *m_label2, *m_indirimoran;
    MoneyEdit *m_birimfiyat, *m_indtutar, *m_kdvdahiltutar, *m_geneltutar;
    QPushButton *m_ekle, *m_vazgec;
    double m_kdvlifiyat = 0;
};

} // namespace zenvo
