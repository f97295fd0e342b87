#include "catalogue/stokayarinti.h"

#include "app/pictures.h"
#include "catalogue/ortak.h"
#include "server/resulttable.h"
#include "widgets/fonts.h"
#include "widgets/moneyedit.h"
#include "widgets/numberformat.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zenvo {

namespace {} // namespace

AyrintiDegerleri AyrintiDegerleriAl(GirisYolu yol, const ResultTable &tablo, int satir,
                                    int musteriTipi) {
    const SatirOkuyucu s{tablo, satir};
    AyrintiDegerleri d;
    d.barkod = s.metin("BARKOD");
    d.adi = s.metin(yol == GirisYolu::SepetSatiri ? "STOKADI" : "ADI");
    d.marka = s.metin("MARKA");
    d.finishkod = s.metin("FINISHKOD");
    d.model = s.metin("MODEL");

    if (yol == GirisYolu::SepetSatiri) {
        d.birimfiyat = s.sayi("BIRIMFIYAT");
        d.indtutar = s.sayi("NETBIRIMFIYAT");
        d.kdvdahiltutar = IkiHaneYuvarla(d.indtutar * (1 + s.sayi("KDV") / 100));
        d.kdvlifiyat = d.kdvdahiltutar;
        const double miktar = s.sayi("MIKTAR");
        d.adet = miktar >= Tstokayarinti::kEnCokAdet
                     ? Tstokayarinti::kEnCokAdet
                     : std::max(Tstokayarinti::kEnAzAdet, int(std::lround(miktar)));
        return d;
    }

    // A row without a usable campaign flag is shown as a normal item: the send carries the
    // row's own price, so the dialog must show it too.
    const bool kampanyali = yol == GirisYolu::Kampanyali || (!s.bos("K") && s.tam("K") > 0);
    const QString indirimYazi = s.metin("INDIRIMYAZI");
    d.birimfiyat = s.sayi("FIYAT");
    d.indtutar = s.sayi("NETFIYAT");
    d.kdvdahiltutar = s.sayi("KDVDAHIL");
    d.kdvlifiyat = s.sayi("KDVDAHIL");
    if (kampanyali) {
        d.fiyatBasligi = QStringLiteral("Kampanyalı Fiyat:");
        d.indirimBasligi = QStringLiteral("Kampanyalı ") + indirimYazi;
    } else if (yol == GirisYolu::Yeniler) {
        d.indirimBasligi = QStringLiteral("İndirim:  % ") + indirimYazi;
        d.kdvdahiltutar = IkiHaneYuvarla(d.indtutar * (1 + s.sayi("KDV") / 100));
    } else {
        d.indirimBasligi = QStringLiteral("İndirim: %") + indirimYazi;
    }
    d.fiyatDuzenlenir = yol != GirisYolu::Kampanyali && (musteriTipi == 1 || musteriTipi == 2);
    return d;
}

// --- picture -----------------------------------------------------------------------------------

ResimKutusu::ResimKutusu(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResimKutusu::setPixmap(const QPixmap &pixmap) {
    m_pixmap = pixmap;
    update();
}

void ResimKutusu::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (m_pixmap.isNull())
        return;
    const QRect area = rect().adjusted(8, 8, -8, -8);
    const QSize size = m_pixmap.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(target, m_pixmap);
}

// --- dialog ------------------------------------------------------------------------------------

Tstokayarinti::Tstokayarinti(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("stokayarinti"));
    setWindowTitle(QStringLiteral("Sepete Ekle"));
    setFixedSize(550, 631);
    setStyleSheet(QStringLiteral(R"css(
#Panel1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E9EEF0);
          border-bottom: 1px solid #C4CACF; }
#Panel1 QLabel { color: #434C58; }
#Panel2 { background: #EEF1F3; border-top: 1px solid #C4CACF; }
#Panel2 QLabel { color: #2F3B45; }
#ParcaliTus1 { background: #1E9BA3; color: white; border: 1px solid #136F76; border-radius: 3px;
               padding: 6px 14px; }
#ParcaliTus1:hover { background: #23AEB7; }
#ParcaliTus1:pressed { background: #178890; }
#ParcaliTus2 { background: #FFFFFF; color: #2F3B45; border: 1px solid #AEB6BD;
               border-radius: 3px; padding: 6px 14px; }
#ParcaliTus2:hover { background: #F2F4F6; }
MoneyEdit[readOnly="true"] { background: #F7F8F9; }
)css"));

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // Header: codes and names of the item.
    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setAttribute(Qt::WA_StyledBackground);
    panel1->setFixedHeight(97);
    auto *ust = new QGridLayout(panel1);
    ust->setContentsMargins(14, 6, 14, 6);
    ust->setHorizontalSpacing(8);
    ust->setVerticalSpacing(1);
    ust->setColumnStretch(1, 1);
    const struct {
        const char *caption;
        QLabel **value;
        const char *name;
    } satirlar[] = {{"Barkod:", &m_barkod, "barkod"},
                    {"Açıklama:", &m_adi, "adi"},
                    {"Finish Kod:", &m_finishkod, "finishkod"},
                    {"Marka:", &m_marka, "marka"},
                    {"Model:", &m_model, "model"}};
    int r = 0;
    for (const auto &s : satirlar) {
        auto *caption = new QLabel(QString::fromUtf8(s.caption), panel1);
        caption->setFont(tahomaFont(11, true));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *value = new QLabel(panel1);
        value->setObjectName(QString::fromLatin1(s.name));
        value->setFont(tahomaFont(11, false));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        ust->addWidget(caption, r, 0);
        ust->addWidget(value, r, 1);
        *s.value = value;
        ++r;
    }
    root->addWidget(panel1);

    m_image = new ResimKutusu(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(VarsayilanResim());
    root->addWidget(m_image, 1);

    // Bottom: quantity, prices, amount and the two buttons.
    auto *panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setAttribute(Qt::WA_StyledBackground);
    panel2->setFixedHeight(190);
    auto *alt = new QHBoxLayout(panel2);
    alt->setContentsMargins(16, 12, 16, 12);
    alt->setSpacing(18);
    auto *alanlar = new QGridLayout;
    alanlar->setHorizontalSpacing(10);
    alanlar->setVerticalSpacing(6);
    const auto baslik = [panel2](const QString &text, const char *name = nullptr) {
        auto *l = new QLabel(text, panel2);
        l->setFont(tahomaFont(13, true));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (name)
            l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    const auto para = [panel2](const char *name) {
        auto *e = new MoneyEdit(panel2);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFont(tahomaFont(13, false));
        e->setFixedWidth(150);
        return e;
    };
    m_adet = new AdetKutusu(panel2);
    m_adet->setObjectName(QStringLiteral("adet"));
    m_adet->setRange(kEnAzAdet, kEnCokAdet);
    m_adet->setValue(1);
    m_adet->setFont(tahomaFont(13, true));
    m_adet->setFixedWidth(150);
    m_adet->setAlignment(Qt::AlignRight);
    m_adet->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    m_label2 = baslik(QStringLiteral("Fiyat:"), "Label2");
    m_indirimoran = baslik(QStringLiteral("İndirim:"), "indirimoran");
    m_birimfiyat = para("birimfiyat");
    m_indtutar = para("indtutar");
    m_kdvdahiltutar = para("kdvdahiltutar");
    m_geneltutar = para("geneltutar");
    m_geneltutar->setFont(tahomaFont(13, true));
    alanlar->addWidget(baslik(QStringLiteral("Adet:")), 0, 0);
    alanlar->addWidget(m_adet, 0, 1);
    alanlar->addWidget(m_label2, 1, 0);
    alanlar->addWidget(m_birimfiyat, 1, 1);
    alanlar->addWidget(m_indirimoran, 2, 0);
    alanlar->addWidget(m_indtutar, 2, 1);
    alanlar->addWidget(baslik(QStringLiteral("KDV Dahil:")), 3, 0);
    alanlar->addWidget(m_kdvdahiltutar, 3, 1);
    alanlar->addWidget(baslik(QStringLiteral("Tutar:")), 4, 0);
    alanlar->addWidget(m_geneltutar, 4, 1);
    alt->addLayout(alanlar, 1);

    auto *tuslar = new QVBoxLayout;
    tuslar->setSpacing(10);
    m_ekle = new QPushButton(QStringLiteral("Sipariş ekle"), panel2);
    m_ekle->setObjectName(QStringLiteral("ParcaliTus1"));
    m_vazgec = new QPushButton(QStringLiteral("Vazgeç"), panel2);
    m_vazgec->setObjectName(QStringLiteral("ParcaliTus2"));
    for (QPushButton *b : {m_ekle, m_vazgec}) {
        b->setFont(tahomaFont(14, true));
        b->setFixedSize(150, 46);
        // Enter is handled per field below, never by a default button.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setCursor(Qt::PointingHandCursor);
    }
    tuslar->addStretch(1);
    tuslar->addWidget(m_ekle);
    tuslar->addWidget(m_vazgec);
    tuslar->addStretch(1);
    alt->addLayout(tuslar);
    root->addWidget(panel2);

    connect(m_ekle, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_vazgec, &QPushButton::clicked, this, &QDialog::reject);
    // Values set by the arrows or in code, and any text typed, also one outside the range.
    connect(m_adet, &QSpinBox::valueChanged, this, [this] { TutarHesapla(); });
    connect(m_adet->lineEdit(), &QLineEdit::textChanged, this, [this] { TutarHesapla(); });
    m_adet->installEventFilter(this);
    for (MoneyEdit *e : {m_birimfiyat, m_indtutar, m_kdvdahiltutar, m_geneltutar})
        e->installEventFilter(this);
    setTabOrder(m_adet, m_ekle);
    setTabOrder(m_ekle, m_vazgec);
}

QPixmap Tstokayarinti::VarsayilanResim() {
    static const QPixmap logo = logoResmi(110);
    return logo;
}

void Tstokayarinti::Doldur(const AyrintiDegerleri &d) {
    m_barkod->setText(d.barkod);
    m_adi->setText(d.adi);
    m_finishkod->setText(d.finishkod);
    m_marka->setText(d.marka);
    m_model->setText(d.model);
    m_label2->setText(d.fiyatBasligi);
    m_indirimoran->setText(d.indirimBasligi);
    m_birimfiyat->setValue(d.birimfiyat);
    m_indtutar->setValue(d.indtutar);
    m_kdvdahiltutar->setValue(d.kdvdahiltutar);
    m_kdvlifiyat = d.kdvlifiyat;
    m_birimfiyat->setReadOnly(!d.fiyatDuzenlenir);
    m_adet->setValue(std::clamp(d.adet, kEnAzAdet, kEnCokAdet));
    m_geneltutar->setValue(IkiHaneYuvarla(Miktar() * m_kdvlifiyat));
}

int Tstokayarinti::Miktar() const {
    bool ok = false;
    const qlonglong n = m_adet->cleanText().trimmed().toLongLong(&ok);
    if (!ok)
        return std::clamp(m_adet->value(), kEnAzAdet, kEnCokAdet);
    return int(std::clamp<qlonglong>(n, kEnAzAdet, kEnCokAdet));
}

void Tstokayarinti::TutarHesapla() {
    m_geneltutar->setValue(IkiHaneYuvarla(m_kdvdahiltutar->value() * Miktar()));
}

void Tstokayarinti::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The amount starts from the unit price the dialog was opened with.
    m_geneltutar->setValue(IkiHaneYuvarla(Miktar() * m_kdvlifiyat));
    m_adet->setFocus();
    m_adet->selectAll();
}

bool Tstokayarinti::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_adet) {
                accept();
                return true;
            }
            if (watched == m_birimfiyat)
                return true;
        }
    } else if (event->type() == QEvent::KeyRelease && watched != m_adet) {
        TutarHesapla();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zenvo
