#include "cart/sepetsekmesi.h"

#include "widgets/fonts.h"

#include "app/mainwindow.h"
#include "app/messages.h"
#include "cart/onaysip.h"
#include "cart/secimgrubu.h"
#include "cart/sepethesap.h"
#include "server/connection.h"
#include "server/proxy.h"
#include "widgets/grid.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QVBoxLayout>

namespace zenvo {

namespace {

std::unique_ptr<TSonucBilgisi> kopya(const TSonucBilgisi &s) {
    auto k = std::make_unique<TSonucBilgisi>();
    k->Kopyala(s);
    return k;
}

// Radio items from a kind list: column 0 is the id, column 1 the name.
void doldur(SecimGrubu &grup, const ResultTable *liste) {
    grup.clear();
    if (!liste || liste->columnCount() < 2)
        return;
    for (int r = 0; r < liste->rowCount(); ++r)
        grup.addItem(liste->stringValue(r, 1), int(liste->intValue(r, 0)));
}

QString metin(const char *utf8) {
    return QString::fromUtf8(utf8);
}

QList<GridColumn> sepetKolonlari() {
    const auto c = [](const char *field, const char *caption, int weight,
                      CellKind kind = CellKind::Text) {
        return GridColumn(QString::fromLatin1(field), QString::fromUtf8(caption), weight, kind);
    };
    QList<GridColumn> cols = {
        c("SEC", "Seç", 1, CellKind::CheckBox).fixed().notFilterable(),
        c("VERILISTARIHI", "Sipariş Tarihi", 1),
        c("BARKOD", "Barkod", 2),
        c("FINISHKOD", "FinishKod", 2),
        c("OEMNO", "OEMNo", 2),
        c("STOKADI", "Stok Açıklama", 3),
        c("MIKTAR", "Miktar", 1, CellKind::Number),
        c("BIRIMFIYAT", "Birim Fiyat", 1, CellKind::Money),
        c("TUTAR", "Tutar", 1, CellKind::Money),
        c("INDIRIMYAZI", "İndirim Oran", 2).aligned(Qt::AlignHCenter),
        c("NETBIRIMFIYAT", "Net Fiyat", 1, CellKind::Money),
        c("KDV", "", 1, CellKind::Number),
        c("VERGITUTARI", "Vergi Tutarı", 1, CellKind::Money),
        c("NETTUTAR", "Net Tutar", 1, CellKind::Money),
        c("VEREN", "Veren", 1),
        c("DURUM", "Durum", 1, CellKind::StatusIcon),
        // offered in the column chooser
        c("SIPARISNO", "Sipariş No", 0, CellKind::Number).hidden(),
        c("TARIH", "Tarih", 1).hidden(),
        c("KUR", "Kur", 1).hidden(),
        c("SAAT", "Saat", 1).hidden(),
        c("ACIKLAMA", "Açıklama", 1).hidden(),
        c("OEM1", "", 1).hidden(),
        c("OEM2", "", 1).hidden(),
        c("OEM3", "", 1).hidden(),
        c("OEM4", "", 1).hidden(),
        c("DIGERADI", "", 1).hidden(),
        c("DPKOD", "", 1).hidden(),
        c("MARKA", "Marka", 1).hidden(),
        c("MODEL", "Model", 1).hidden(),
        c("ANAGRUP", "Ana Grup", 1).hidden(),
        c("OZELKOD", "Özel Kod", 1).hidden(),
        c("PKOD", "", 1).hidden(),
        c("INDIRIMORANI4", "", 0, CellKind::Number).hidden(),
    };
    // kept out of the column chooser
    const struct {
        const char *field;
        const char *caption;
        int weight;
        CellKind kind;
    } gizli[] = {
        {"SIRANO", "", 0, CellKind::Number},
        {"CARINO", "", 0, CellKind::Number},
        {"AKTAR", "", 0, CellKind::Number},
        {"STOKNO", "", 0, CellKind::Number},
        {"INDIRIMORANI1", "İndirim Oranı %", 1, CellKind::Number},
        {"INDIRIMORANI2", "", 1, CellKind::Number},
        {"INDIRIMORANI3", "", 1, CellKind::Number},
        {"INDIRIMTUTAR", "İndirim Tutar", 1, CellKind::Money},
        {"KURTL", "", 1, CellKind::Number},
        {"VERENIDNO", "", 1, CellKind::Number},
        {"TESLIMID", "", 1, CellKind::Number},
        {"KARGOID", "", 1, CellKind::Number},
        {"IDNO", "", 1, CellKind::Number},
        {"VERENSIRANO", "", 1, CellKind::Number},
        {"CARIKOD", "Cari Kod", 1, CellKind::Text},
        {"CARIADI", "Cari Adı", 1, CellKind::Text},
        {"STOK_STOKNO", "", 1, CellKind::Number},
        {"URETICIKODU", "", 1, CellKind::Text},
        {"KALAN", "Kalan", 1, CellKind::Number},
    };
    for (const auto &g : gizli)
        cols << c(g.field, g.caption, g.weight, g.kind).hidden().fixed();
    return cols;
}

} // namespace

SepetSekmesi::SepetSekmesi(TForm1 &form, QWidget *sayfa)
    : QWidget(sayfa), m_form(form), m_sayfa(sayfa) {
    setObjectName(QStringLiteral("SepetSekmesi"));
    setStyleSheet(QStringLiteral(R"css(
#panelsec { background: #F4F6F8; border-top: 1px solid #D9DEE3; }
#Panel4 { background: #EEF1F3; border-top: 1px solid #C4CACF; }
#Panel6 { background: #FFFFFF; border: 1px solid #C4CACF; border-radius: 3px; }
#Panel6 QLabel { color: #434C58; }
#aciklamagir { background: #F6F9FB; border: 1px solid #9FB0B8; }
#uyarikargo { color: #B03A2E; }
QGroupBox { border: 1px solid #B7C2C9; border-radius: 3px; margin-top: 14px; padding-top: 4px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #136F76; }
)css"));

    buildGrid();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buildSelectionStrip());
    layout->addWidget(buildLowerPanel());

    if (sayfa) {
        auto *pageLayout = new QVBoxLayout(sayfa);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->addWidget(this);
        sayfa->installEventFilter(this);
        // "Gönder" is the default button while the tab is shown: Enter in a control that does
        // not use Enter itself (the memo does) presses it.
        auto *enter = new QShortcut(sayfa);
        enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (m_button1->isEnabled())
                m_button1->click();
        });
    }

    KullaniciTipiUygula(form.sbilgi().MusteriTipi());
    connect(&form, &TForm1::kullaniciTipiUygulandi, this, &SepetSekmesi::KullaniciTipiUygula);
    SepetToplamHesapla();
}

SepetSekmesi::~SepetSekmesi() = default;

void SepetSekmesi::buildGrid() {
    m_grid = new Grid(this);
    m_grid->setObjectName(QStringLiteral("cxGrid2"));
    GridLook look;
    look.evenRowColor = Qt::white;
    look.oddRowColor = QColor(0xEF, 0xEF, 0xEF);
    look.focusRect = false;
    look.font = tahomaFont(13, false);
    m_grid->setLook(look);
    m_grid->setColumns(sepetKolonlari());
    m_grid->setFooterSummaries({{SummaryKind::Count, QStringLiteral("VERILISTARIHI")},
                                {SummaryKind::Sum, QStringLiteral("MIKTAR")},
                                {SummaryKind::Sum, QStringLiteral("NETTUTAR")}});
    m_grid->setFooterVisible(true);
    m_grid->setTable(&m_sepet);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("popsepet"));
    m_deitir = m_menu->addAction(QStringLiteral("Satır Değiştir"));
    m_deitir->setObjectName(QStringLiteral("Deitir1"));
    m_menu->addSeparator();
    m_satirSil = m_menu->addAction(QStringLiteral("Satır Sil"));
    m_satirSil->setObjectName(QStringLiteral("SatrSil1"));
    m_menu->addSeparator();
    m_hepsiniSil = m_menu->addAction(QStringLiteral("Hepsini Sil"));
    m_hepsiniSil->setObjectName(QStringLiteral("HepsiniSil1"));
    m_grid->setContextMenu(m_menu);

    connect(m_deitir, &QAction::triggered, this, [this] { guarded([this] { Deitir1Click(); }); });
    connect(m_satirSil, &QAction::triggered, this,
            [this] { guarded([this] { SatrSil1Click(); }); });
    connect(m_hepsiniSil, &QAction::triggered, this,
            [this] { guarded([this] { HepsiniSil1Click(); }); });
    connect(m_grid, &Grid::rowDoubleClicked, this, [this] { guarded([this] { Deitir1Click(); }); });
    connect(m_grid, &Grid::layoutRequested, this, &SepetSekmesi::KolonAyarla);
}

QWidget *SepetSekmesi::buildSelectionStrip() {
    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("panelsec"));
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setFixedHeight(41);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(6);
    m_button4 = new QPushButton(QStringLiteral("Hepsini Seç"), strip);
    m_button4->setObjectName(QStringLiteral("Button4"));
    m_button5 = new QPushButton(QStringLiteral("Seçimleri Kaldır"), strip);
    m_button5->setObjectName(QStringLiteral("Button5"));
    for (QPushButton *b : {m_button4, m_button5}) {
        b->setFixedWidth(150);
        row->addWidget(b);
    }
    m_lbluyarbakiye = new QLabel(strip);
    m_lbluyarbakiye->setObjectName(QStringLiteral("lbluyarbakiye"));
    m_lbluyarbakiye->setFont(tahomaFont(16, true));
    m_lbluyarbakiye->setStyleSheet(QStringLiteral("color: red;"));
    m_lbluyarbakiye->setTextFormat(Qt::PlainText);
    m_lbluyarbakiye->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_lbluyarbakiye, 1);

    connect(m_button4, &QPushButton::clicked, this,
            [this] { guarded([this] { SecimleriAyarla(1); }); });
    connect(m_button5, &QPushButton::clicked, this,
            [this] { guarded([this] { SecimleriAyarla(0); }); });
    return strip;
}

QWidget *SepetSekmesi::buildTotals() {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel6"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setFixedWidth(280);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 4, 10, 4);
    grid->setVerticalSpacing(1);
    const struct {
        const char *caption;
        const char *name;
        QLabel **label;
    } rows[] = {
        {"Toplam:", "aratoplaml", &m_aratoplaml},
        {"İndirim Toplam:", "indiriml", &m_indiriml},
        {"Ara Toplam:", "nettutarl", &m_nettutarl},
        {"Vergi:", "vergil", &m_vergil},
        {"Genel Toplam:", "geneltoplaml", &m_geneltoplaml},
    };
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const bool last = i == int(std::size(rows)) - 1;
        auto *caption = new QLabel(metin(rows[i].caption), panel);
        auto *value = new QLabel(panel);
        value->setObjectName(QString::fromLatin1(rows[i].name));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QLabel *l : {caption, value})
            l->setFont(tahomaFont(13, last));
        grid->addWidget(caption, i, 0);
        grid->addWidget(value, i, 1);
        *rows[i].label = value;
    }
    return panel;
}

QWidget *SepetSekmesi::buildLowerPanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel4"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setFixedHeight(131);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 0, 4, 6);
    row->setSpacing(6);

    m_teslimbox = new SecimGrubu(QStringLiteral("Teslim Durumu"), panel);
    m_teslimbox->setObjectName(QStringLiteral("teslimbox"));
    m_teslimbox->setFixedWidth(135);
    row->addWidget(m_teslimbox);

    m_boxkargo = new SecimGrubu(QStringLiteral("Kargo Türleri"), panel);
    m_boxkargo->setObjectName(QStringLiteral("boxkargo"));
    m_boxkargo->setFixedWidth(208);
    row->addWidget(m_boxkargo);

    auto *kargoGrubu = new QGroupBox(QStringLiteral("Kargo"), panel);
    kargoGrubu->setObjectName(QStringLiteral("GroupBoxKargo"));
    kargoGrubu->setFixedWidth(224);
    auto *kargoLayout = new QVBoxLayout(kargoGrubu);
    kargoLayout->setContentsMargins(7, 4, 7, 2);
    kargoLayout->setSpacing(3);
    m_kargocombo = new QComboBox(kargoGrubu);
    m_kargocombo->setObjectName(QStringLiteral("kargocombo"));
    m_kargocombo->setEditable(false);
    kargoLayout->addWidget(m_kargocombo);
    m_uyarikargo = new QLabel(kargoGrubu);
    m_uyarikargo->setObjectName(QStringLiteral("uyarikargo"));
    m_uyarikargo->setFixedSize(210, 59);
    m_uyarikargo->setWordWrap(true);
    m_uyarikargo->setTextFormat(Qt::PlainText);
    m_uyarikargo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_uyarikargo->setFont(tahomaFont(11, true));
    kargoLayout->addWidget(m_uyarikargo);
    row->addWidget(kargoGrubu);

    auto *mesajGrubu = new QGroupBox(QStringLiteral("Mesaj"), panel);
    mesajGrubu->setObjectName(QStringLiteral("GroupBoxMesaj"));
    auto *mesajLayout = new QVBoxLayout(mesajGrubu);
    mesajLayout->setContentsMargins(6, 4, 6, 4);
    m_aciklamagir = new QPlainTextEdit(mesajGrubu);
    m_aciklamagir->setObjectName(QStringLiteral("aciklamagir"));
    m_aciklamagir->setFont(tahomaFont(11, true));
    m_aciklamagir->setTabChangesFocus(true);
    mesajLayout->addWidget(m_aciklamagir);
    row->addWidget(mesajGrubu, 1);

    row->addWidget(buildTotals());

    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 12, 0, 0);
    buttons->setSpacing(6);
    m_button1 = new QPushButton(QStringLiteral("Gönder"), panel);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setDefault(true);
    m_button2 = new QPushButton(QStringLiteral("Excel Kaydet"), panel);
    m_button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {m_button1, m_button2}) {
        b->setFixedWidth(130);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        buttons->addWidget(b, 1);
    }
    row->addLayout(buttons);

    connect(m_boxkargo, &SecimGrubu::clicked, this,
            [this] { guarded([this] { boxkargoClick(); }); });
    connect(m_kargocombo, &QComboBox::activated, this, [this] { kargocomboChange(); });
    connect(m_button1, &QPushButton::clicked, this,
            [this] { guarded([this] { Button1Click(); }); });
    connect(m_button2, &QPushButton::clicked, this,
            [this] { guarded([this] { Button2Click(); }); });
    return panel;
}

bool SepetSekmesi::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_sayfa && event->type() == QEvent::Show && !event->spontaneous()) {
        // Run after the page has been shown, not inside its show event: loading may open
        // message boxes.
        QMetaObject::invokeMethod(this, &SepetSekmesi::ssepetShow, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void SepetSekmesi::guarded(const std::function<void()> &fn) {
    try {
        fn();
    } catch (...) {
        GenelHataGoster(std::current_exception());
    }
}

int SepetSekmesi::column(const char *name) const {
    return m_sepet.fieldIndex(QString::fromLatin1(name));
}

int SepetSekmesi::focusedSirano() const {
    const int row = m_grid->focusedRow();
    const int c = column("SIRANO");
    if (row < 0 || c < 0 || row >= m_sepet.rowCount())
        return -1;
    return int(m_sepet.intValue(row, c));
}

// --- the cart ----------------------------------------------------------------------------------

void SepetSekmesi::ssepetShow() {
    m_lbluyarbakiye->clear();
    CariBakiyeUyariBak();
    guarded([this] {
        SepetYukle();
        TeslimKargoAl();
    });
}

bool SepetSekmesi::SepetYukle() {
    auto conn = m_form.bagc().Clone();
    if (!BaglantiAc(*conn, 1))
        return false;
    std::unique_ptr<ResultTable> paket;
    try {
        BaglantiKapatici kapat(*conn);
        TServerMethods1Client proxy(conn.get());
        paket = proxy.SepetVer2(m_form.sbilgi().CARINO());
    } catch (...) {
        GenelHataGoster(std::current_exception());
        return false;
    }
    const int odak = focusedSirano();
    const QString odakKolon = m_grid->focusedColumn();
    m_grid->detach();
    m_sepet.loadPacket(paket ? std::move(*paket) : ResultTable());
    SayiFormatla(m_sepet);
    m_grid->attach();
    m_yuklendi = true;
    // The line that had the focus keeps it when it is still there.
    if (odak >= 0 && column("SIRANO") >= 0) {
        for (int r = 0; r < m_sepet.rowCount(); ++r) {
            if (m_sepet.intValue(r, column("SIRANO")) == odak) {
                m_grid->focusRow(r, odakKolon);
                break;
            }
        }
    }
    m_form.setSekmeBasligi(m_form.ssepet(),
                           QString::number(m_sepet.rowCount()) + QStringLiteral("=Sepet"));
    SepetToplamHesapla();
    return true;
}

void SepetSekmesi::SepetToplamHesapla() {
    const SepetToplamlari t = SepetToplamlariHesapla(m_sepet);
    m_aratoplaml->setText(ToplamYazisi(t.toplam));
    m_indiriml->setText(ToplamYazisi(t.indirim));
    m_nettutarl->setText(ToplamYazisi(t.ara));
    m_vergil->setText(ToplamYazisi(t.vergi));
    m_geneltoplaml->setText(ToplamYazisi(t.genel));
}

bool SepetSekmesi::SepetSecimGonder(int sirano, int secim) {
    auto conn = m_form.bagc().Clone();
    if (!BaglantiAc(*conn, 1))
        return false;
    BaglantiKapatici kapat(*conn);
    TServerMethods1Client proxy(conn.get());
    proxy.SepetSecimGuncelle(sirano, secim);
    return true;
}

void SepetSekmesi::Deitir1Click() {
    const int row = m_grid->focusedRow();
    const int sirano = focusedSirano();
    if (row < 0 || sirano < 0)
        return;
    if (m_grid->focusedColumn() != u"SEC") {
        if (m_degistirici)
            m_degistirici->SatirDegistirAc(sirano);
        return;
    }
    const int sec = column("SEC");
    if (sec < 0)
        return;
    const int yeni = m_sepet.intValue(row, sec) == 0 ? 1 : 0;
    // The local flag follows the server's: it changes only once the server has it.
    if (!SepetSecimGonder(sirano, yeni))
        return;
    m_sepet.setValue(row, sec, yeni);
    m_grid->refreshRow(row);
    SepetToplamHesapla();
}

void SepetSekmesi::SecimleriAyarla(int secim) {
    const int sec = column("SEC");
    const int siraKolon = column("SIRANO");
    if (sec >= 0 && siraKolon >= 0) {
        // Totals and focus follow whatever was switched, also when a call fails midway.
        struct Sonra {
            SepetSekmesi *s;
            ~Sonra() { s->SepetToplamHesapla(); }
        } sonra{this};
        for (int r = 0; r < m_sepet.rowCount(); ++r) {
            // One connection message is enough: the lines after a failed one keep their flag.
            if (!SepetSecimGonder(int(m_sepet.intValue(r, siraKolon)), secim))
                break;
            m_sepet.setValue(r, sec, secim);
            m_grid->refreshRow(r);
        }
    } else {
        SepetToplamHesapla();
    }
    if (QLineEdit *ara = m_form.araedit(); ara && ara->isEnabled()) {
        ara->selectAll();
        ara->setFocus();
    }
}

void SepetSekmesi::SatrSil1Click() {
    const int row = m_grid->focusedRow();
    const int sirano = focusedSirano();
    if (row < 0 || sirano < 0)
        return;
    const int barkod = column("BARKOD"), stokadi = column("STOKADI");
    const QString not_ = (barkod >= 0 ? m_sepet.stringValue(row, barkod) : QString()) +
                         QLatin1Char('-') +
                         (stokadi >= 0 ? m_sepet.stringValue(row, stokadi) : QString());
    if (MesajGoster(QStringLiteral("Satırı silmek istiyor musunuz "), Soru,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ServerConnection &bagc = m_form.bagc();
    if (!BaglantiAc(bagc, 1))
        return;
    {
        BaglantiKapatici kapat(bagc);
        TServerMethods1Client proxy(&bagc);
        proxy.SepetSatirSil(kopya(m_form.sbilgi()), sirano, not_);
    }
    SepetYukle();
    MesajGoster(QStringLiteral("Satır silindi !"), Bilgi);
}

void SepetSekmesi::HepsiniSil1Click() {
    if (!m_yuklendi || m_sepet.rowCount() == 0)
        return;
    if (MesajGoster(QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz "), Soru,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ServerConnection &bagc = m_form.bagc();
    if (!BaglantiAc(bagc, 1))
        return;
    {
        BaglantiKapatici kapat(bagc);
        TServerMethods1Client proxy(&bagc);
        proxy.SepetHepsiniSil(kopya(m_form.sbilgi()));
    }
    MesajGoster(QStringLiteral("Sepet Silindi !"), Bilgi);
    SepetYukle();
}

QString SepetSekmesi::dosyaSor() {
    if (m_dosyaSor)
        return m_dosyaSor();
    QFileDialog dialog(window(), QStringLiteral("Excel Kaydet"));
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Excel (*.xls*)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SepetSekmesi::Button2Click() {
    const QString path = dosyaSor();
    if (path.isEmpty())
        return;
    QString hata;
    if (!m_grid->exportXls(path, nullptr, &hata))
        MesajGoster(QStringLiteral("Excel dosyası kaydedilemedi: ") + hata, Hata);
}

void SepetSekmesi::KolonAyarla() {
    // While an ancestor holds back painting (the page control does while it switches pages),
    // the grid's width code would leave its view switched off for good: lay out right after.
    if (!m_grid->updatesEnabled()) {
        if (!m_kolonBekliyor) {
            m_kolonBekliyor = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_kolonBekliyor = false;
                    if (m_grid->updatesEnabled())
                        KolonAyarla();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    int ekran = m_ekranGenisligi;
    if (ekran <= 0) {
        const QScreen *s = m_grid->screen();
        ekran = s ? s->geometry().width() : 0;
    }
    zenvo::KolonAyarla(*m_grid, ekran);
}

void SepetSekmesi::KullaniciTipiUygula(int musteriTipi) {
    const bool durum = musteriTipi != 3;
    m_grid->setColumnVisible(u"DURUM", durum);
    m_grid->setColumnCustomizable(u"DURUM", durum);
    const bool kalan = musteriTipi == 1 || musteriTipi == 2;
    m_grid->setColumnVisible(u"KALAN", kalan);
    m_grid->setColumnCustomizable(u"KALAN", kalan);
}

// --- delivery, cargo and the order -------------------------------------------------------------

void SepetSekmesi::TeslimKargoAl() {
    auto conn = m_form.bagc().Clone();
    if (!BaglantiAc(*conn, 1))
        return;
    BaglantiKapatici kapat(*conn);
    std::unique_ptr<ResultTable> teslim;
    {
        TServerMethods1Client proxy(conn.get());
        teslim = proxy.TeslimVer();
    }
    doldur(*m_teslimbox, teslim.get());
    // The second delivery kind, or the only one.
    m_teslimbox->setItemIndex(std::min(1, m_teslimbox->count() - 1));
    std::unique_ptr<ResultTable> kargo;
    {
        TServerMethods1Client proxy(conn.get());
        kargo = proxy.KargoVer();
    }
    doldur(*m_boxkargo, kargo.get());
    m_boxkargo->setItemIndex(-1);
}

void SepetSekmesi::boxkargoClick() {
    m_uyarikargo->clear();
    const int i = m_boxkargo->itemIndex();
    if (i >= 0)
        KargolarAl(m_boxkargo->itemId(i));
}

bool SepetSekmesi::KargolarAl(int kargoTuru) {
    // Until the firms of this kind have arrived the list offers none, so that a firm of the
    // kind chosen before can never go out with this one.
    m_kargocombo->clear();
    m_kargocombo->addItem(QStringLiteral(" "), -1);
    m_kargo.clearRows();
    ServerConnection &bagc = m_form.bagc();
    if (!BaglantiAc(bagc, 1))
        return false;
    std::unique_ptr<ResultTable> firmalar;
    {
        BaglantiKapatici kapat(bagc);
        TServerMethods1Client proxy(&bagc);
        firmalar = proxy.KargolarVer(kargoTuru);
    }
    if (firmalar)
        m_kargo.loadReader(std::move(*firmalar));
    const int adi = m_kargo.fieldIndex(u"ADI");
    if (adi >= 0) {
        for (int r = 0; r < m_kargo.rowCount(); ++r)
            m_kargocombo->addItem(m_kargo.stringValue(r, adi), r);
    }
    if (m_kargocombo->count() == 2) {
        m_kargocombo->setCurrentIndex(1);
        kargocomboChange();
    }
    return true;
}

void SepetSekmesi::kargocomboChange() {
    const int row =
        m_kargocombo->currentData().isValid() ? m_kargocombo->currentData().toInt() : -1;
    const int uyari = m_kargo.fieldIndex(u"UYARI");
    if (row >= 0 && row < m_kargo.rowCount() && uyari >= 0)
        m_uyarikargo->setText(m_kargo.stringValue(row, uyari));
    else
        m_uyarikargo->clear();
}

void SepetSekmesi::Button1Click() {
    const auto uyar = [](const char *mesaj) { MesajGoster(metin(mesaj), Uyari); };
    bool secilmis = false;
    if (const int sec = column("SEC"); m_yuklendi && sec >= 0) {
        for (int r = 0; r < m_sepet.rowCount() && !secilmis; ++r)
            secilmis = m_sepet.intValue(r, sec) == 1;
    }
    if (!secilmis)
        return uyar("Gönderilecek Parça Yok ");
    if (m_teslimbox->itemIndex() < 0)
        return uyar("Lütfen Teslim Durumu Seçiniz !");
    if (m_boxkargo->itemIndex() < 0)
        return uyar("Lütfen Kargo Türünü Seçiniz !");
    const int firmaSatiri =
        m_kargocombo->currentIndex() > 0 && m_kargocombo->currentData().isValid()
            ? m_kargocombo->currentData().toInt()
            : -1;
    const int firmaSirano = m_kargo.fieldIndex(u"SIRANO");
    if (firmaSatiri < 0 || firmaSatiri >= m_kargo.rowCount() || firmaSirano < 0) {
        uyar("Lütfen Kargo  Seçiniz !");
        m_kargocombo->setFocus();
        return;
    }
    const int kargoFirma = int(m_kargo.intValue(firmaSatiri, firmaSirano));
    const int teslim = m_teslimbox->itemId(m_teslimbox->itemIndex());
    const int kargoTuru = m_boxkargo->itemId(m_boxkargo->itemIndex());

    const TSonucBilgisi &s = m_form.sbilgi();
    const QString ozet =
        SiparisOzeti({s.ADI(), s.CariAdi(), m_teslimbox->itemText(m_teslimbox->itemIndex()),
                      m_boxkargo->itemText(m_boxkargo->itemIndex()), m_geneltoplaml->text(),
                      m_kargocombo->currentText(), m_aciklamagir->toPlainText()});
    {
        TONAYSIP onay(window(), ozet, m_lbluyarbakiye->text());
        if (onay.exec() != QDialog::Accepted)
            return;
    }
    if (SiparisGonder(kargoFirma, kargoTuru, teslim)) {
        MesajGoster(QStringLiteral("Siparişiniz Gönderildi !"), Bilgi);
        SepetYukle();
        m_aciklamagir->clear();
    } else {
        MesajGoster(QStringLiteral("Sipariş Göndermede Hata"), Hata);
    }
}

bool SepetSekmesi::SiparisGonder(int kargoFirma, int kargoTuru, int teslim) {
    const TSonucBilgisi &s = m_form.sbilgi();
    auto bilgi = kopya(s);
    ServerConnection &bagc = m_form.bagc();
    if (!BaglantiAc(bagc, 1))
        return false;
    BaglantiKapatici kapat(bagc);
    TServerMethods1Client proxy(&bagc);
    return proxy.SiparisKaydet(std::move(bilgi), s.CARINO(), teslim, kargoTuru,
                               m_aciklamagir->toPlainText(), s.Sirano(), kargoFirma);
}

// --- the overdue warning -----------------------------------------------------------------------

void SepetSekmesi::CariBakiyeUyariBak() {
    // Only the newest showing of the tab may fill the label.
    const int nesil = ++m_uyariNesli;
    ++m_suranUyarilar;
    std::shared_ptr<ServerConnection> conn = m_form.bagc().Clone();
    const int carino = m_form.sbilgi().CARINO();
    QPointer<SepetSekmesi> self(this);
    QThread *thread = QThread::create([conn, carino, nesil, self] {
        QString uyari;
        if (BaglantiAc(*conn, 0)) {
            try {
                BaglantiKapatici kapat(*conn);
                TServerMethods1Client proxy(conn.get());
                uyari = proxy.CariVadeGunGecmismiBul(carino);
            } catch (...) {
                uyari.clear();
            }
        }
        // The thread object lives on the user-interface thread: hand the text over and wait.
        QMetaObject::invokeMethod(
            QThread::currentThread(),
            [self, nesil, uyari] {
                if (!self)
                    return;
                --self->m_suranUyarilar;
                if (nesil == self->m_uyariNesli)
                    self->m_lbluyarbakiye->setText(uyari);
            },
            Qt::BlockingQueuedConnection);
    });
    thread->setObjectName(QStringLiteral("CariBakiyeUyariBak"));
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

SepetSekmesi *SepetKur(TForm1 &form) {
    return new SepetSekmesi(form, form.ssepet());
}

} // namespace zenvo
