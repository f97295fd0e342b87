#include "catalogue/ozellisteler.h"

#include "app/mainwindow.h"
#include "app/runner.h"
#include "catalogue/ortak.h"
#include "server/proxy.h"
#include "widgets/fonts.h"
#include "widgets/grid.h"

#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zenvo {

namespace {

constexpr const char *kTemsilciKolonlari[] = {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"};

} // namespace

OzelStokListesi::OzelStokListesi(TForm1 &form, Tur tur, QObject *parent)
    : QObject(parent), m_form(form), m_tur(tur), m_tablo(std::make_shared<ResultTable>()) {
    buildGrid();
    QTabWidget *pages = form.sPageControl1();
    connect(pages, &QTabWidget::currentChanged, this, [this, pages](int index) {
        if (pages->widget(index) == sayfa())
            Yukle();
    });
}

QWidget *OzelStokListesi::sayfa() const {
    return m_tur == Tur::Yeniler ? m_form.syeniler() : m_form.skampanyali();
}

void OzelStokListesi::buildGrid() {
    const bool yeni = m_tur == Tur::Yeniler;
    QWidget *page = sayfa();
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new Grid(page);
    m_grid->setObjectName(yeni ? QStringLiteral("cxGrid6") : QStringLiteral("cxkampanyali"));
    layout->addWidget(m_grid);

    // Text cells: plain in the new-items grid, word-wrapped in the campaign grid.
    const CellKind metinTuru = yeni ? CellKind::Text : CellKind::WrappedText;
    const auto m = [metinTuru](const char *field, const QString &caption, int weight) {
        return GridColumn(QString::fromLatin1(field), caption, weight, metinTuru);
    };
    const auto simge = [](const char *field, const QString &caption, CellKind kind) {
        return GridColumn(QString::fromLatin1(field), caption, 1, kind);
    };

    QList<GridColumn> cols;
    if (yeni) {
        cols = {
            m("BARKOD", QStringLiteral("Barkod"), 2),
            m("ADI", QStringLiteral("Açıklama"), 3),
            m("FINISHKOD", QStringLiteral("Finish Kod"), 2),
            m("BIRIM", QStringLiteral("Birim"), 1),
            m("MARKA", QStringLiteral("Marka"), 2),
            m("MODEL", QStringLiteral("Model"), 2),
            simge("K", QStringLiteral("Kampanyalı"), CellKind::FlagIcon),
            m("LISTEFIYAT1", QStringLiteral("Liste Fiyatı"), 2),
            m("KAMPFIYAT", QStringLiteral("Kampanyalı Fiyatı"), 2),
            m("INDIRIMYAZI", QStringLiteral("Indirim Oran"), 2).aligned(Qt::AlignHCenter),
            m("NETFIYAT", QStringLiteral("Net Fiyatı"), 2),
            m("KDVDAHIL", QStringLiteral("KDV Dahil Fiyat"), 2),
        };
    } else {
        cols = {
            m("BARKOD", QStringLiteral("Barkod"), 2),
            m("ADI", QStringLiteral("Açıklama"), 3),
            simge("RESIM", QStringLiteral("Resim"), CellKind::PictureIcon),
            m("FINISHKOD", QStringLiteral("Finish Kod"), 2),
            m("BIRIM", QStringLiteral("Birim"), 1),
            m("MARKA", QStringLiteral("Marka"), 2),
            m("MODEL", QStringLiteral("Model"), 2),
            m("ESKIFIYAT", QStringLiteral("Liste Fiyatı"), 2),
            m("FIYAT", QStringLiteral("Kampanyalı Fiyatı"), 2),
            simge("Y", QStringLiteral("Yeni"), CellKind::FlagIcon),
            simge("K", QStringLiteral("Kampanyalı"), CellKind::FlagIcon),
            m("INDIRIMYAZI", QStringLiteral("İndirim Oran"), 2).aligned(Qt::AlignHCenter),
            m("NETFIYAT", QStringLiteral("Net Fiyatı"), 2),
            m("KDVDAHIL", QStringLiteral("KDV Dahil Fiyat"), 2),
            simge("DURUM", QStringLiteral("Durum"), CellKind::StatusIcon),
        };
    }
    // Hidden, offered in the column chooser.
    cols << m("OEM1", QStringLiteral("Oem1"), 2).hidden()
         << m("OEM2", QStringLiteral("Oem2"), 2).hidden()
         << m("OEM3", QStringLiteral("Oem3"), 2).hidden()
         << m("OEM4", QStringLiteral("Oem4"), 2).hidden()
         << m("URETICIKODU", QStringLiteral("Üretici Kod"), 2).hidden()
         << m("DIGERADI", QStringLiteral("Diğer Adı"), 3).hidden()
         << m("OEMNO", QStringLiteral("Oem No"), 2).hidden()
         << m("ANAGRUP", QStringLiteral("Ana Grup"), 2).hidden()
         << m("OZELKOD", QStringLiteral("Özel Kod"), 2).hidden() << m("KDV", {}, 1).hidden();
    if (yeni)
        cols << m("FIYAT", QStringLiteral("Liste Fiyatı2"), 2).hidden();
    // Hidden, not offered.
    cols << m("STOK_STOKNO", {}, 1).hidden().fixed().notFocusable().notFilterable()
         << m("BARKOD_BARKODNO", {}, 1).hidden().fixed() << m("DPKOD", {}, 2).hidden().fixed()
         << m("KALAN", {}, 1).hidden().fixed() << m("PKOD", {}, 1).hidden().fixed().noCaption()
         << m("ALINANSIPARIS", {}, 1).hidden().fixed()
         << m("VERILENSIPARIS", {}, 1).hidden().fixed()
         << m("INDIRIM", QStringLiteral("İndirim Oran"), 1).hidden().fixed();
    m_grid->setColumns(cols);

    GridLook look;
    look.headerHeight = 40;
    look.rowHeight = 60;
    if (yeni) {
        look.font = tahomaFont(13);
        look.evenRowColor = Qt::white;
        look.oddRowColor = QColor(0xEF, 0xEF, 0xEF);
    } else {
        look.font = arialFont(11);
    }
    m_grid->setLook(look);
    m_grid->setFooterVisible(true);
    m_grid->setFooterSummaries({{SummaryKind::Count, QStringLiteral("OEM1")}});
    m_grid->setTable(m_tablo.get());

    connect(m_grid, &Grid::rowDoubleClicked, this, [this] {
        if (m_grid->isEnabled() && m_grid->focusedRow() >= 0)
            emit sepeteEkleIstendi(m_grid->focusedRow());
    });
    connect(m_grid, &Grid::layoutRequested, this, [this] {
        if (m_tur == Tur::Yeniler || m_grid->isEnabled())
            KolonAyarla();
    });
}

bool OzelStokListesi::yukleniyor() const {
    return YuklemeSuruyor(m_tablo.get());
}

void OzelStokListesi::KolonAyarla() {
    // A grid that is being refilled (or re-attached) is laid out by the load's continuation;
    // widths set while its painting is suspended would leave its view unpainted.
    if (!m_grid->isAttached() || !m_grid->updatesEnabled())
        return;
    const QScreen *screen = m_grid->screen();
    zenvo::KolonAyarla(*m_grid, screen ? screen->geometry().width() : 0);
}

bool OzelStokListesi::Yukle() {
    if (yukleniyor())
        return false;
    const bool yeni = m_tur == Tur::Yeniler;
    const int carino = m_form.sbilgi().CARINO();
    const int tip = m_form.sbilgi().MusteriTipi();
    std::shared_ptr<ServerConnection> conn(m_form.bagc().Clone());
    std::shared_ptr<ResultTable> tablo = m_tablo;
    // The row count of a completed load; an error of the call leaves it unset.
    auto adet = std::make_shared<int>(-1);
    QPointer<OzelStokListesi> self(this);

    TabloYukleme y;
    y.tablo = m_tablo.get();
    y.gif = yeni ? m_form.gifyeniler() : m_form.gifkampanyali();
    y.kontrol = m_grid;
    y.grid = m_grid;
    // Errors of the call go on to the general error report after the continuation.
    y.yukle = [conn, tablo, adet, yeni, carino, tip]() -> bool {
        if (!BaglantiAc(*conn, 0))
            return true;
        BaglantiKapatici kapat{*conn};
        TServerMethods1Client proxy(conn.get(), false);
        std::unique_ptr<ResultTable> sonuc =
            yeni ? proxy.YenilerVer2(carino) : proxy.KampanyaliVer2(carino, tip);
        if (!sonuc)
            throw std::runtime_error("Sunucu liste göndermedi");
        SayiFormatla(*sonuc);
        tablo->loadPacket(std::move(*sonuc));
        *adet = tablo->rowCount();
        return false;
    };
    y.bitir = [self, adet, yeni](bool hata) {
        if (!self)
            return;
        if (*adet >= 0)
            self->m_form.setSekmeBasligi(self->sayfa(), QString::number(*adet) +
                                                            (yeni ? QStringLiteral("=Yeni Stoklar")
                                                                  : QStringLiteral("=Kampanyalı")));
        self->KolonAyarla();
        emit self->yuklemeBitti(!hata && *adet >= 0);
    };
    return TabloYukle(std::move(y));
}

void OzelStokListesi::KullaniciTipiUygula(int tip) {
    const bool temsilci = tip == 1 || tip == 2;
    for (const char *key : kTemsilciKolonlari) {
        m_grid->setColumnVisible(QString::fromLatin1(key), temsilci);
        m_grid->setColumnCustomizable(QString::fromLatin1(key), temsilci);
    }
    if (m_tur == Tur::Yeniler) {
        for (const char *key : {"K", "KAMPFIYAT"}) {
            m_grid->setColumnVisible(QString::fromLatin1(key), tip != 4);
            m_grid->setColumnCustomizable(QString::fromLatin1(key), tip != 4);
        }
    }
    KolonAyarla();
}

} // namespace zenvo
