#include "catalogue/stoklistesi.h"

#include "app/mainwindow.h"
#include "app/messages.h"
#include "app/runner.h"
#include "catalogue/aramakutusu.h"
#include "catalogue/ortak.h"
#include "server/proxy.h"
#include "server/records.h"
#include "widgets/grid.h"
#include "widgets/numberformat.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zenvo {

namespace {

const QString kFiyatBilgisi = QStringLiteral("FiyatBilgisi");
const QString kBaslik = QStringLiteral("Stok Listesi");
constexpr const char *kFiyatKolonlari[] = {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"};
constexpr const char *kTemsilciKolonlari[] = {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"};
constexpr int kGenisSatir = 60;
constexpr int kDarSatir = 100;

// Suspends a view's painting for one layout change and restores what it was before (also when
// its parent has painting suspended).
struct GorunumDondurucu {
    QWidget *w;
    bool onceden;
    explicit GorunumDondurucu(QWidget *view)
        : w(view), onceden(view->testAttribute(Qt::WA_ForceUpdatesDisabled)) {
        w->setUpdatesEnabled(false);
    }
    ~GorunumDondurucu() { w->setUpdatesEnabled(!onceden); }
};

GridColumn metin(const char *field, const QString &caption, int weight) {
    return GridColumn(QString::fromLatin1(field), caption, weight, CellKind::WrappedText);
}

} // namespace

QString FiyatBilgisiMetni(const GridRow &row, bool kampanyaGoster) {
    const auto satir = [](const QString &caption, double v) -> QString {
        return caption + formatFloat(QString::fromLatin1(kParaFormati), v) + u'\n';
    };
    QString text = satir(QStringLiteral("Liste Fiyatı: "), row.number(u"LISTEFIYAT1"));
    if (kampanyaGoster && row.number(u"KAMPFIYAT") > 0)
        text += satir(QStringLiteral("Kampanyalı Fiyat: "), row.number(u"KAMPFIYAT"));
    text += satir(QStringLiteral("NetFiyat: "), row.number(u"NETFIYAT"));
    text += satir(QStringLiteral("KDV li Fiyat: "), row.number(u"KDVDAHIL"));
    return text;
}

StokListesi::StokListesi(TForm1 &form, QObject *parent)
    : QObject(parent), m_form(form), m_stok(std::make_shared<ResultTable>()),
      m_kampanyaGoster(std::make_shared<bool>(true)) {
    buildGrid();
    buildMenu();
    form.SetStokListesi(m_stok.get(), m_grid);

    QLineEdit *edit = form.araedit();
    edit->installEventFilter(new AramaKutusuFiltresi([this] { AramaBaslat(); }, this));
    connect(form.SpeedButton2(), &QToolButton::clicked, this, [this] { AramaBaslat(); });
}

void StokListesi::buildGrid() {
    QWidget *page = m_form.sstoklistesi();
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = new Grid(page);
    m_grid->setObjectName(QStringLiteral("cxGrid1"));
    layout->addWidget(m_grid);

    std::shared_ptr<bool> kampanya = m_kampanyaGoster;
    const auto fiyatMetni = [kampanya](const GridRow &row) -> QString {
        return FiyatBilgisiMetni(row, *kampanya);
    };
    const auto fiyatCiz = [fiyatMetni](QPainter &p, const GridCell &cell) {
        p.fillRect(cell.rect, cell.background);
        p.setFont(cell.font);
        p.setPen(cell.textColor);
        // The text's last line break would add an empty line below the prices.
        QString text = fiyatMetni(cell.row);
        if (text.endsWith(u'\n'))
            text.chop(1);
        p.drawText(cell.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    };

    m_grid->setColumns({
        GridColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, CellKind::StatusIcon),
        metin("OEM1", QStringLiteral("Oem1"), 2).hidden(),
        metin("OEM2", QStringLiteral("Oem2"), 2).hidden(),
        metin("OEM3", QStringLiteral("Oem3"), 2).hidden(),
        metin("BARKOD", QStringLiteral("Barkod"), 2),
        metin("ADI", QStringLiteral("Açıklama"), 3),
        metin("OEM4", QStringLiteral("Oem4"), 2).hidden(),
        metin("STOK_STOKNO", {}, 1).hidden().fixed().notFocusable().notFilterable(),
        metin("FINISHKOD", QStringLiteral("Finish Kod"), 2).hidden(),
        metin("URETICIKODU", QStringLiteral("Üretici Kod"), 2).hidden(),
        GridColumn(QStringLiteral("RESIM"), QStringLiteral("Resim"), 1, CellKind::PictureIcon),
        metin("BARKOD_BARKODNO", {}, 1).hidden().fixed(),
        metin("DIGERADI", QStringLiteral("Diğer Adı"), 3).hidden(),
        metin("DPKOD", {}, 2).hidden().fixed(),
        metin("OEMNO", QStringLiteral("Oem No"), 2).hidden(),
        metin("BIRIM", QStringLiteral("Birim"), 1).hidden(),
        metin("MARKA", QStringLiteral("Marka"), 2),
        metin("MODEL", QStringLiteral("Model"), 2),
        metin("ANAGRUP", QStringLiteral("Ana Grup"), 2).hidden(),
        metin("OZELKOD", QStringLiteral("Özel Kod"), 2),
        metin("KALAN", {}, 1).hidden().fixed(),
        metin("PKOD", {}, 1).hidden().fixed().noCaption(),
        metin("KDV", {}, 1).hidden(),
        metin("ALINANSIPARIS", {}, 1).hidden().fixed(),
        metin("VERILENSIPARIS", {}, 1).hidden().fixed(),
        metin("LISTEFIYAT1", QStringLiteral("Liste Fiyatı"), 2),
        metin("KAMPFIYAT", QStringLiteral("Kampanyalı Fiyat"), 2),
        metin("FIYAT", QStringLiteral("Liste Fiyatı"), 2).hidden(),
        GridColumn(QStringLiteral("Y"), QStringLiteral("Yeni"), 1, CellKind::FlagIcon),
        GridColumn(QStringLiteral("K"), QStringLiteral("Kampanyalı"), 1, CellKind::FlagIcon),
        metin("INDIRIMYAZI", QStringLiteral("İndirim Oran"), 2).aligned(Qt::AlignHCenter),
        metin("NETFIYAT", QStringLiteral("Net Fiyatı"), 2),
        metin("KDVDAHIL", QStringLiteral("KDV Dahil Fiyat"), 3),
        GridColumn::drawn(kFiyatBilgisi, QStringLiteral("Fiyat Bilgisi"), 2, fiyatCiz, fiyatMetni)
            .hidden(),
    });
    GridLook look;
    look.headerHeight = 40;
    look.rowHeight = kGenisSatir;
    look.indicatorWidth = 5;
    m_grid->setLook(look);
    m_grid->setFooterVisible(true);
    m_grid->setFooterSummaries({{SummaryKind::Count, QStringLiteral("OEM1")}});
    m_grid->setTable(m_stok.get());

    connect(m_grid, &Grid::rowDoubleClicked, this, [this] {
        if (m_grid->focusedRow() >= 0)
            emit sepeteEkleIstendi(m_grid->focusedRow());
    });
    connect(m_grid, &Grid::layoutRequested, this, [this] {
        // A column shown or hidden through the chooser keeps the user's choice: only a change
        // of width lays the price columns out again.
        if (m_grid->width() != m_sonGenislik)
            StokKolonAyarla();
        else if (!aramaSuruyor())
            Genislikler(m_form.width() > kGenisEsik);
    });
}

void StokListesi::buildMenu() {
    m_menu = new QMenu(m_grid);
    m_menu->setObjectName(QStringLiteral("popstok"));
    QAction *ekle = m_menu->addAction(QStringLiteral("Sepete Ekle"));
    ekle->setObjectName(QStringLiteral("SepeteEkle1"));
    m_menu->addSeparator();
    QAction *bakiyeler = m_menu->addAction(QStringLiteral("Sipariş Bakiyeleriniz"));
    bakiyeler->setObjectName(QStringLiteral("SiparisBakiyeleriniz1"));
    m_menu->addSeparator();
    m_siparisleri = m_menu->addAction(QStringLiteral("Siparişleri Göster"));
    m_siparisleri->setObjectName(QStringLiteral("SiparisleriGoster1"));
    m_siparisleri->setEnabled(false);
    m_grid->setContextMenu(m_menu);

    connect(ekle, &QAction::triggered, this, [this] {
        if (m_grid->focusedRow() >= 0)
            emit sepeteEkleIstendi(m_grid->focusedRow());
    });
    // The outstanding order balances live on their own tab.
    connect(bakiyeler, &QAction::triggered, this,
            [this] { m_form.sPageControl1()->setCurrentWidget(m_form.sTabbakiyeler()); });
    connect(m_siparisleri, &QAction::triggered, this, [this] {
        const int row = m_grid->focusedRow();
        const int c = m_stok->fieldIndex(u"STOK_STOKNO");
        if (row >= 0 && c >= 0 && m_siparisleriGoster)
            m_siparisleriGoster(int(m_stok->intValue(row, c)));
    });
}

void StokListesi::SetSiparisleriGoster(std::function<void(int)> ac) {
    m_siparisleriGoster = std::move(ac);
    m_siparisleri->setEnabled(bool(m_siparisleriGoster));
}

bool StokListesi::aramaSuruyor() const {
    return YuklemeSuruyor(m_stok.get());
}

void StokListesi::AramaBaslat() {
    QLineEdit *edit = m_form.araedit();
    if (!edit->isEnabled() || aramaSuruyor())
        return;
    QTabWidget *pages = m_form.sPageControl1();
    if (pages->currentWidget() != m_form.sstoklistesi())
        pages->setCurrentWidget(m_form.sstoklistesi());
    if (edit->text().trimmed().size() < 3) {
        MesajGoster(QStringLiteral("Lütfen en az 3 harf giriniz !"), Uyari);
        return;
    }
    m_grid->clearFilters();

    // What the worker needs is taken here, on the user-interface thread.
    const QString kod = edit->text();
    auto bilgi = std::make_shared<TSonucBilgisi>();
    bilgi->Kopyala(m_form.sbilgi());
    std::shared_ptr<ServerConnection> conn(m_form.bagc().Clone());
    std::shared_ptr<ResultTable> tablo = m_stok;
    QPointer<StokListesi> self(this);

    TabloYukleme y;
    y.tablo = m_stok.get();
    y.gif = m_form.gifstokara();
    y.kontrol = edit;
    y.grid = m_grid;
    // True when the search failed.
    y.yukle = [conn, bilgi, kod, tablo]() -> bool {
        if (!BaglantiAc(*conn, 0))
            return true;
        try {
            BaglantiKapatici kapat{*conn};
            TServerMethods1Client proxy(conn.get(), false);
            auto bilgim = std::make_unique<TSonucBilgisi>();
            bilgim->Kopyala(*bilgi);
            std::unique_ptr<ResultTable> sonuc = proxy.StokAraGetir(kod, std::move(bilgim));
            if (!sonuc || sonuc->fieldIndex(u"IND1") < 0)
                return true;
            SayiFormatla(*sonuc);
            tablo->loadPacket(std::move(*sonuc));
            return false;
        } catch (...) {
            return true;
        }
    };
    y.bitir = [self](bool hata) {
        if (!self)
            return;
        StokListesi &s = *self;
        if (hata && s.m_stok->rowCount() > 0) {
            s.m_stok->clearRows();
            s.m_grid->reload();
        }
        const int adet = hata ? 0 : s.m_stok->rowCount();
        s.m_form.sstoklistesi()->setProperty("tag", adet);
        s.m_form.setSekmeBasligi(s.m_form.sstoklistesi(),
                                 hata ? kBaslik : QString::number(adet) + u'=' + kBaslik);
        s.m_form.araedit()->selectAll();
        s.m_form.araedit()->setFocus();
        // A resize during the search was not laid out.
        s.StokKolonAyarla();
        emit s.aramaBitti(!hata);
    };
    TabloYukle(std::move(y));
}

void StokListesi::StokKolonAyarla() {
    if (!m_form.araedit()->isEnabled() || aramaSuruyor() || !m_grid->isAttached())
        return;
    m_sonGenislik = m_grid->width();
    const bool genis = m_form.width() > kGenisEsik;
    GorunumDondurucu dondur(m_grid->view());
    for (const char *key : kFiyatKolonlari) {
        const QString k = QString::fromLatin1(key);
        // A user of type 4 sees no campaign price in either layout.
        m_grid->setColumnVisible(k, genis && (*m_kampanyaGoster || k != u"KAMPFIYAT"));
    }
    m_grid->setColumnVisible(kFiyatBilgisi, !genis);
    Genislikler(genis);
}

void StokListesi::Genislikler(bool genis) {
    if (!m_grid->isAttached())
        return;
    GorunumDondurucu dondur(m_grid->view());
    m_grid->setRowHeight(genis ? kGenisSatir : kDarSatir);
    if (genis) {
        m_grid->applyWeights(m_grid->width());
        return;
    }
    // Narrow: the price summary and the first OEM numbers have fixed widths; the other visible
    // columns share the rest by weight, so that the row still fits the grid.
    QList<std::pair<QString, int>> sabit{{kFiyatBilgisi, FiyatBilgisiGenisligi()}};
    for (const char *key : {"OEM1", "OEM2", "OEM3"})
        sabit.append({QString::fromLatin1(key), 80});
    int ayrilan = 0;
    for (const auto &[key, w] : sabit)
        if (m_grid->isColumnVisible(key))
            ayrilan += w;
    int toplam = 0;
    QList<std::pair<QString, int>> oranli;
    for (const QString &key : m_grid->visibleColumns()) {
        const bool sabitMi = std::any_of(sabit.begin(), sabit.end(),
                                         [&key](const auto &f) { return f.first == key; });
        if (sabitMi)
            continue;
        const int w = std::max(m_grid->columns()[m_grid->columnIndex(key)].weight, 0);
        oranli.append({key, w});
        toplam += w;
    }
    const int birim =
        toplam > 0 ? std::max(0, int(std::trunc(double(m_grid->width() - 30 - ayrilan) / toplam)))
                   : 0;
    for (const auto &[key, w] : oranli)
        m_grid->setColumnWidth(key, w * birim);
    for (const auto &[key, w] : sabit)
        m_grid->setColumnWidth(key, w);
}

int StokListesi::FiyatBilgisiGenisligi() const {
    // At least 150 px; wider when a price line would not fit (the text is never elided).
    const QFontMetrics fm(m_grid->look().font);
    int enGenis = 0;
    const int n = std::min(m_stok->rowCount(), 1000);
    for (int r = 0; r < n; ++r)
        for (const QString &line :
             FiyatBilgisiMetni(GridRow(m_stok.get(), r), *m_kampanyaGoster).split(u'\n'))
            enGenis = std::max(enGenis, fm.horizontalAdvance(line));
    return std::max(150, enGenis + 2 * 10 + 4);
}

void StokListesi::KullaniciTipiUygula(int tip) {
    const bool temsilci = tip == 1 || tip == 2;
    for (const char *key : kTemsilciKolonlari) {
        m_grid->setColumnVisible(QString::fromLatin1(key), temsilci);
        m_grid->setColumnCustomizable(QString::fromLatin1(key), temsilci);
    }
    *m_kampanyaGoster = tip != 4;
    m_grid->setColumnVisible(u"K", tip != 4);
    m_grid->setColumnCustomizable(u"K", tip != 4);
    m_grid->setColumnCustomizable(u"KAMPFIYAT", tip != 4);
    if (tip == 4)
        m_grid->setColumnVisible(u"KAMPFIYAT", false);
    StokKolonAyarla();
    m_grid->view()->viewport()->update();
}

void StokListesi::CariDegisti() {
    // A running search fills the table; its continuation shows the outcome.
    if (!aramaSuruyor()) {
        m_stok->clearRows();
        m_grid->reload();
    }
    m_form.sstoklistesi()->setProperty("tag", 0);
    m_form.setSekmeBasligi(m_form.sstoklistesi(), QStringLiteral("0=") + kBaslik);
    m_form.sPageControl1()->setCurrentWidget(m_form.sstoklistesi());
    m_form.araedit()->setFocus();
    m_form.araedit()->selectAll();
}

} // namespace zenvo
