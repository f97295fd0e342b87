#include "app/mainwindow.h"

#include "app/application.h"
#include "app/loginform.h"
#include "app/machineid.h"
#include "app/messages.h"
#include "app/pictures.h"
#include "app/platform.h"
#include "app/runner.h"
#include "app/serveraddress.h"
#include "app/uppercase.h"
#include "server/resulttable.h"
#include "widgets/busyindicator.h"
#include "widgets/fonts.h"
#include "widgets/gifbanner.h"
#include "widgets/grid.h"
#include "widgets/marquee.h"
#include "widgets/statusicons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zenvo {

namespace {

QFont baseFont(int pixelSize, bool bold) {
    return tahomaFont(pixelSize, bold);
}

QWidget *panel(QWidget *parent, const QString &name) {
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    w->setAttribute(Qt::WA_StyledBackground);
    return w;
}

BusyIndicator *busy(QWidget *parent, const QString &name) {
    auto *b = new BusyIndicator(parent);
    b->setObjectName(name);
    return b;
}

struct TabDef {
    const char *name;
    const char *caption;
    int icon;
};
constexpr TabDef kTabs[] = {
    {"sstoklistesi", "Stok Listesi", 0}, {"ssepet", "Sepet", 8},
    {"sonceki", "Önceki Siparişler", 3}, {"sccariekstre", "Cari Ekstre", 1},
    {"syeniler", "Yeni Stoklar", 10},    {"skampanyali", "Kampanyalı Stoklar", 6},
    {"sTabSheetduyuru", "Duyurular", 5}, {"sTabbakiyeler", "Bakiyeler", 7},
};

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kPencereBasligi));
    setFont(baseFont(13, true));
    setMinimumSize(1024, 640);
    setStyleSheet(QStringLiteral(R"css(
#Panel1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E9EEF0);
          border-bottom: 1px solid #C4CACF; }
#Panel2 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2BB0B8, stop:1 #178890); }
#Panel2 QToolButton { color: white; }
#Panel2 QToolButton:hover { background: rgba(255,255,255,40); border-color: rgba(255,255,255,120); }
#Panel3 { background: #EEF1F3; border-top: 1px solid #C4CACF; }
#Panel5 { background: #2F3B45; }
#GridPanel1 QLabel[baslik="true"] { color: #136F76; }
#GridPanel1 QLabel { color: #2F3B45; }
#Button3 { border: none; background: transparent; }
#Button3::menu-button { border: none; width: 14px; }
#musteritus { color: #136F76; background: #FFFFFF; border: 1px solid #FFFFFF; padding: 2px 10px; }
#musteritus:hover { background: #E4F5F6; }
#araedit { border: 1px solid #136F76; }
)css"));

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    auto *panel1 = panel(this, QStringLiteral("Panel1"));
    panel1->setFixedHeight(100);
    buildHeader(panel1);
    root->addWidget(panel1);

    auto *panel2 = panel(this, QStringLiteral("Panel2"));
    panel2->setFixedHeight(35);
    buildSearchBar(panel2);
    root->addWidget(panel2);

    m_topStrip = new GifBanner(GifBanner::Mode::NaturalHeight, this);
    m_topStrip->setObjectName(QStringLiteral("RxGIFAnimator2"));
    root->addWidget(m_topStrip);

    buildPages();
    auto *pageHolder = panel(this, QStringLiteral("PageHolder"));
    auto *holderLayout = new QVBoxLayout(pageHolder);
    holderLayout->setContentsMargins(4, 6, 4, 4);
    holderLayout->addWidget(m_pages);
    root->addWidget(pageHolder, 1);

    auto *panel3 = panel(this, QStringLiteral("Panel3"));
    panel3->setFixedHeight(27);
    auto *legendLayout = new QHBoxLayout(panel3);
    legendLayout->setContentsMargins(0, 0, 0, 0);
    m_legend = new StatusLegend(panel3);
    m_legend->setObjectName(QStringLiteral("durumAciklamasi"));
    legendLayout->addWidget(m_legend);
    root->addWidget(panel3);

    buildBottom();
    root->addWidget(m_panel5);

    m_steps.push_back([this] { AnaBilgiAl(); });
    m_araedit->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::buildHeader(QWidget *panel1) {
    auto *row = new QHBoxLayout(panel1);
    row->setContentsMargins(10, 0, 14, 0);
    row->setSpacing(12);

    auto *image1 = new QLabel(panel1);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(logoResmi(76));
    image1->setFixedSize(image1->pixmap().deviceIndependentSize().toSize().width() + 4, 100);
    row->addWidget(image1);

    auto *grid = panel(panel1, QStringLiteral("GridPanel1"));
    auto *g = new QGridLayout(grid);
    g->setContentsMargins(0, 8, 0, 8);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(0);
    g->setColumnStretch(0, 18);
    g->setColumnStretch(1, 82);
    const struct {
        const char *caption;
        QLabel **value;
        const char *name;
    } rows[] = {{"Kullanıcı: ", &m_kullanicilbl, "kullanicilbl"},
                {"Firma: ", &m_cariadilbl, "cariadilbl"},
                {"Temsilci: ", &m_saticilbl, "saticilbl"}};
    int r = 0;
    for (const auto &row : rows) {
        auto *caption = new QLabel(QString::fromUtf8(row.caption), grid);
        caption->setObjectName(QStringLiteral("baslik%1").arg(r + 1));
        caption->setProperty("baslik", true);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setFont(baseFont(14, true));
        auto *value = new QLabel(grid);
        value->setObjectName(QString::fromLatin1(row.name));
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        value->setFont(baseFont(14, true));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(caption, r, 0);
        g->addWidget(value, r, 1);
        *row.value = value;
        ++r;
    }
    row->addWidget(grid, 1);

    m_banner = new GifBanner(GifBanner::Mode::Stretched, panel1);
    m_banner->setObjectName(QStringLiteral("RxGIFAnimator1"));
    m_banner->setFixedSize(409, 100);
    row->addWidget(m_banner);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("Genelmenu"));
    m_menu->setFont(baseFont(13, false));
    auto item = [this](const char *name, const char *caption) {
        QAction *a = m_menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [this](const char *name) {
        m_menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    m_m1 = item("M1", "Mail Gönder");
    separator("N8");
    m_n4 = item("N4", "Şifre Değiştirme İsteği");
    separator("N3");
    m_webSite = item("WebSiteMenu1", kFirmaWebSitesi);
    separator("N2");
    m_g1 = item("G1", "Çıkış");
    separator("N10");
    m_r1 = item("R1", "Raporlar");
    m_r1->setVisible(false);
    connect(m_webSite, &QAction::triggered, this, &TForm1::WebSiteMenu1Click);
    connect(m_g1, &QAction::triggered, this, &QWidget::close);

    auto *button3 = new QToolButton(panel1);
    button3->setObjectName(QStringLiteral("Button3"));
    button3->setIcon(menuSimgesi());
    button3->setIconSize(QSize(40, 40));
    button3->setFixedSize(62, 48);
    button3->setToolTip(QStringLiteral("Menü"));
    button3->setPopupMode(QToolButton::MenuButtonPopup);
    button3->setMenu(m_menu);
    connect(button3, &QToolButton::clicked, button3, &QToolButton::showMenu);
    row->addWidget(button3, 0, Qt::AlignVCenter);
}

void TForm1::buildSearchBar(QWidget *panel2) {
    auto *row = new QHBoxLayout(panel2);
    row->setContentsMargins(10, 3, 10, 3);
    row->setSpacing(6);

    auto *image2 = new QLabel(panel2);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setPixmap(aramaKutusuSimgesi());
    row->addWidget(image2);

    m_araedit = new QLineEdit(panel2);
    m_araedit->setObjectName(QStringLiteral("araedit"));
    m_araedit->setFixedWidth(340);
    m_araedit->setFont(baseFont(20, false));
    m_araedit->setValidator(new BuyukHarfDogrulayici(m_araedit));
    m_araedit->setPlaceholderText(QStringLiteral("Stok kodu, adı veya OEM no..."));
    row->addWidget(m_araedit);

    auto tool = [panel2](const char *name, const char *hint, const QIcon &icon) {
        auto *b = new QToolButton(panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setIcon(icon);
        b->setIconSize(QSize(22, 22));
        b->setAutoRaise(true);
        return b;
    };
    m_speedButton2 = tool("SpeedButton2", "Ara", araSimgesi());
    m_speedButton1 = tool("SpeedButton1", "Temizle", temizleSimgesi());
    row->addWidget(m_speedButton2);
    row->addWidget(m_speedButton1);
    connect(m_speedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);

    m_musteritus = new QPushButton(QStringLiteral("Başka Cari Seç"), panel2);
    m_musteritus->setObjectName(QStringLiteral("musteritus"));
    m_musteritus->hide();
    row->addSpacing(8);
    row->addWidget(m_musteritus);

    m_gifstokara = busy(panel2, QStringLiteral("gifstokara"));
    m_gifyeniler = busy(panel2, QStringLiteral("gifyeniler"));
    m_gifkampanyali = busy(panel2, QStringLiteral("gifkampanyali"));
    m_gifduyuru = busy(panel2, QStringLiteral("gifduyuru"));
    m_gifoncekiler = busy(panel2, QStringLiteral("gifoncekiler"));
    m_gifekstre = busy(panel2, QStringLiteral("gifekstre"));
    for (BusyIndicator *b :
         {m_gifstokara, m_gifyeniler, m_gifkampanyali, m_gifduyuru, m_gifoncekiler, m_gifekstre})
        row->addWidget(b);
    row->addStretch(1);
}

void TForm1::buildPages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("sPageControl1"));
    m_pages->setIconSize(QSize(24, 24));
    m_pages->setDocumentMode(false);
    m_pages->tabBar()->setExpanding(false);
    m_pages->tabBar()->setFont(baseFont(13, true));
    QWidget **pages[] = {&m_sstoklistesi, &m_ssepet,      &m_sonceki,         &m_sccariekstre,
                         &m_syeniler,     &m_skampanyali, &m_sTabSheetduyuru, &m_sTabbakiyeler};
    for (std::size_t i = 0; i < std::size(kTabs); ++i) {
        auto *page = new QWidget(m_pages);
        page->setObjectName(QString::fromLatin1(kTabs[i].name));
        page->setProperty("tag", 0);
        m_pages->addTab(page, sekmeSimgesi(kTabs[i].icon), QString::fromUtf8(kTabs[i].caption));
        *pages[i] = page;
    }
}

void TForm1::buildBottom() {
    m_panel5 = panel(this, QStringLiteral("Panel5"));
    m_panel5->setFixedHeight(40);
    auto *col = new QVBoxLayout(m_panel5);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    m_kayanyazi = new Marquee(m_panel5);
    m_kayanyazi->setObjectName(QStringLiteral("kayanyazi"));
    m_kayanyazi->setFixedHeight(40);
    m_kayanyazi->setFont(arialFont(24));
    QPalette pal = m_kayanyazi->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_kayanyazi->setPalette(pal);
    col->addWidget(m_kayanyazi);
    m_realTimeMarquee = new Marquee(m_panel5);
    m_realTimeMarquee->setObjectName(QStringLiteral("RealTimeMarquee1"));
    m_realTimeMarquee->hide();
    col->addWidget(m_realTimeMarquee);
    m_image3 = new QLabel(m_panel5);
    m_image3->setObjectName(QStringLiteral("Image3"));
    m_image3->hide();
}

bool TForm1::FormCreate(const QString &programKlasoru) {
    SunucuAdresiOku(programKlasoru.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programKlasoru);
    _acilisadet = 0;
    setWindowTitle(QString::fromUtf8(kPencereBasligi));
    SetMesajYaziBoyutu(15);
    m_sbilgi = TSonucBilgisi();
    m_sbilgi.SetBilgiSayarAdi(BilgisayarAdiAl());
    m_sbilgi.SetBilgisayarKullanici(KullaniciAdiAl());
    m_sbilgi.SetIcip(YerelIpAl());
    m_sbilgi.SetBILGISAYARID(BilgisayarIdAl());
    m_bagc.SetHostName(SunucuAdresi());
    m_bagc.SetPort(SunucuPortu());
    m_webSite->setText(QString::fromLatin1(kFirmaWebSitesi));
    if (!GirisYap())
        return false;
    BaslangicZinciriniBaslat();
    return true;
}

bool TForm1::GirisYap() {
    {
        Tgirisform giris;
        giris.bagim = &m_bagc;
        giris.Bilgim = &m_sbilgi;
        if (giris.exec() != QDialog::Accepted) {
            platform().endProcess(0);
            return false;
        }
    }
    KullaniciTipiUygula();
    return true;
}

void TForm1::KullaniciTipiUygula() {
    const int tip = m_sbilgi.MusteriTipi();
    switch (tip) {
    case 1:
    case 2:
        m_musteritus->show();
        m_r1->setVisible(true);
        break;
    case 3:
        m_r1->setVisible(false);
        break;
    case 4:
        m_pages->setTabVisible(m_pages->indexOf(m_skampanyali), false);
        m_r1->setVisible(false);
        break;
    default:
        break;
    }
    emit kullaniciTipiUygulandi(tip);
}

void TForm1::BaslangicAdimiEkle(std::function<void()> step) {
    m_steps.push_back(std::move(step));
}

void TForm1::SetBaslangicSonu(std::function<void()> continuation) {
    m_chainEnd = std::move(continuation);
}

void TForm1::BaslangicZinciriniBaslat() {
    m_chainRunning = true;
    QPointer<TForm1> self(this);
    Async([steps = m_steps] {
        for (const auto &step : steps)
            step();
    })->Await([self] {
        if (!self)
            return;
        self->m_chainRunning = false;
        if (self->m_chainEnd)
            self->m_chainEnd();
    });
}

void TForm1::AnaBilgiAl() {
    ArayuzdeCalistir([this] {
        m_kullanicilbl->setText(m_sbilgi.ADI());
        m_cariadilbl->setText(m_sbilgi.CariAdi());
        m_saticilbl->setText(m_sbilgi.SaticiAdi() + QStringLiteral(" Telefonu: ") +
                             m_sbilgi.SaticiTelefon() + QStringLiteral(" email: ") +
                             m_sbilgi.SaticiMail());
    });
}

void TForm1::SetStokListesi(ResultTable *table, Grid *grid) {
    m_stokTablo = table;
    m_stokGrid = grid;
}

void TForm1::setSekmeBasligi(QWidget *page, const QString &caption) {
    m_pages->setTabText(m_pages->indexOf(page), caption);
}

QString TForm1::sekmeBasligi(QWidget *page) const {
    return m_pages->tabText(m_pages->indexOf(page));
}

void TForm1::SpeedButton1Click() {
    if (!m_araedit->isEnabled())
        return;
    if (m_stokTablo && m_stokTablo->columnCount() > 0) {
        m_stokTablo->clearRows();
        if (m_stokGrid)
            m_stokGrid->reload();
        setSekmeBasligi(m_sstoklistesi, QStringLiteral("Stok Listesi"));
    }
    if (m_pages->currentWidget() != m_sstoklistesi)
        m_pages->setCurrentWidget(m_sstoklistesi);
    if (m_stokGrid)
        m_stokGrid->clearFilters();
    m_araedit->clear();
    m_araedit->selectAll();
    m_araedit->setFocus();
    m_sstoklistesi->setProperty("tag", 0);
}

void TForm1::WebSiteMenu1Click() {
    platform().openUrl(QUrl(QString::fromLatin1(kFirmaWebSitesi)));
    m_araedit->selectAll();
    m_araedit->setFocus();
}

bool TForm1::FormCloseQuery() {
    if (MesajGoster(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"), Soru,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
        platform().endProcess(0);
    return false;
}

void TForm1::closeEvent(QCloseEvent *event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace zenvo
