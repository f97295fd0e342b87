#include "app/loginform.h"

#include "app/application.h"
#include "app/inifile.h"
#include "app/machineid.h"
#include "app/messages.h"
#include "app/pictures.h"
#include "app/platform.h"
#include "app/runner.h"
#include "app/serveraddress.h"
#include "app/uppercase.h"
#include "server/proxy.h"
#include "widgets/busyindicator.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace zenvo {

namespace {

GirisPencereleri &windows() {
    static GirisPencereleri w;
    return w;
}

const QString kBolum = QStringLiteral("kullanici");
const QString kIsim = QStringLiteral("isim");
const QString kSifre = QStringLiteral("sifre");
const QString kHatirla = QStringLiteral("hatırla");

// The outcome of the login call, filled on the worker thread.
struct GirisCagrisi {
    bool basarili = false;
    QString hataMetni; // text of an error the call raised
    TSonucBilgisi kayit;
};

QLabel *label(QWidget *parent, const QString &name, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

void SetGirisPencereleri(GirisPencereleri w) {
    windows() = std::move(w);
}

QString AyarDosyasi() {
    return AyarKlasoru() + QStringLiteral("/ayar.ini");
}

Tgirisform::Tgirisform(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(368, 550);
    setModal(true);

    Image1 = label(this, QStringLiteral("Image1"), {});
    Image1->setGeometry(rect());
    Image1->setPixmap(girisArkaPlani(size()));

    RxLabel1 = label(this, QStringLiteral("RxLabel1"),
                     QStringLiteral("Zenvora Otomotiv Yedek Parça San. ve Tic. A.Ş.\n"
                                    "Organize Sanayi Bölgesi 12. Cadde No: 8 Nilüfer / BURSA\n"
                                    "Tel: 0 (224) 555 12 34\n"
                                    "E-posta: info@zenvora.com.tr"));
    RxLabel1->setAlignment(Qt::AlignCenter);
    RxLabel1->setGeometry(14, 160, 340, 84);
    RxLabel1->setStyleSheet(QStringLiteral("color:#2F3B45; font-size:11px; line-height:140%;"));

    QFont captionFont = font();
    captionFont.setPixelSize(13);
    captionFont.setBold(true);
    QFont boxFont = font();
    boxFont.setPixelSize(16);

    Label1 = label(this, QStringLiteral("Label1"), QStringLiteral(" Kullanıcı Adı:"));
    Label1->setFont(captionFont);
    Label1->setGeometry(44, 262, 280, 20);
    adi = new QLineEdit(this);
    adi->setObjectName(QStringLiteral("adi"));
    adi->setFont(boxFont);
    adi->setValidator(new BuyukHarfDogrulayici(adi));
    adi->setGeometry(44, 284, 280, 32);

    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral(" Şifre:"));
    Label2->setFont(captionFont);
    Label2->setGeometry(44, 326, 280, 20);
    sifre = new QLineEdit(this);
    sifre->setObjectName(QStringLiteral("sifre"));
    sifre->setFont(boxFont);
    sifre->setValidator(new BuyukHarfDogrulayici(sifre));
    sifre->setEchoMode(QLineEdit::Password);
    sifre->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    sifre->setGeometry(44, 348, 280, 32);

    benihatirla = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    benihatirla->setObjectName(QStringLiteral("benihatirla"));
    benihatirla->setChecked(true);
    benihatirla->setGeometry(46, 390, 200, 22);

    Button1 = new QPushButton(QStringLiteral("Giriş"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(44, 428, 134, 38);
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(190, 428, 134, 38);
    // Enter in the boxes has its own rules: no button takes it.
    for (QPushButton *b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFont(captionFont);
    }
    Button1->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; border: 1px solid #178890;"
        " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #3DBAC2, stop:1 #1F9EA6); }"
        "QPushButton:hover { background: #2BB0B8; }"
        "QPushButton:disabled { color: #E6F4F5; background: #8FCFD3; border-color: #8FCFD3; }"));

    RxGIFAnimator1 = new BusyIndicator(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->move((width() - 28) / 2, 480);

    auto *footer = label(this, QStringLiteral("altbilgi"), QStringLiteral("www.zenvora.com.tr"));
    footer->setAlignment(Qt::AlignCenter);
    footer->setGeometry(0, 518, width(), 20);
    footer->setStyleSheet(QStringLiteral("color:#5F6B75; font-size:11px;"));

    setTabOrder(adi, sifre);
    setTabOrder(sifre, benihatirla);
    setTabOrder(benihatirla, Button1);
    setTabOrder(Button1, Button2);
    adi->installEventFilter(this);
    sifre->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &Tgirisform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tgirisform::Button2Click);

    idsi = BilgisayarIdAl();
    HatirlananGirisYukle();
    adi->setFocus();

    if (const QScreen *s = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void Tgirisform::HatirlananGirisYukle() {
    IniFile ini;
    if (!ini.load(AyarDosyasi()))
        return;
    benihatirla->setChecked(ini.readBool(kBolum, kHatirla, true));
    if (benihatirla->isChecked()) {
        adi->setText(ini.readString(kBolum, kIsim, {}));
        sifre->setText(ini.readString(kBolum, kSifre, {}));
    }
}

void Tgirisform::HatirlananGirisKaydet() {
    const QString path = AyarDosyasi();
    IniFile ini;
    ini.load(path); // other keys of an existing file are kept
    ini.setValue(kBolum, kIsim, adi->text());
    ini.setValue(kBolum, kSifre, sifre->text());
    ini.setValue(kBolum, kHatirla,
                 benihatirla->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    QString error;
    if (!ini.save(path, &error)) {
        // Remembering is a convenience: the login goes on.
        MesajGoster(QStringLiteral("Giriş bilgileri kaydedilemedi !\n") + path + u'\n' + error,
                    Uyari);
    }
}

bool Tgirisform::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == adi) {
                adiKeyPress();
                return true;
            }
            if (watched == sifre) {
                sifreKeyPress();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tgirisform::adiKeyPress() {
    if (adi->text().trimmed().isEmpty()) {
        platform().beep(Hata);
        DuzMesajGoster(QStringLiteral("Warning"), QString::fromUtf8(kAdGiriniz));
        adi->selectAll();
        adi->setFocus();
        return;
    }
    sifre->selectAll();
    sifre->setFocus();
}

void Tgirisform::sifreKeyPress() {
    if (sifre->text().trimmed().isEmpty()) {
        platform().beep(Hata);
        DuzMesajGoster(QStringLiteral("Warning"), QString::fromUtf8(kSifreGiriniz));
        sifre->selectAll();
        sifre->setFocus();
        return;
    }
    if (Button1->isEnabled())
        Button1Click();
}

void Tgirisform::Button1Click() {
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    RxGIFAnimator1->start();
    // The public address is not looked up: the server is always told "122".
    auto adres = std::make_shared<QString>();
    QPointer<Tgirisform> self(this);
    Async([adres] { *adres = QStringLiteral("122"); })->Await([self, adres] {
        if (!self)
            return;
        self->Button1->setText(QStringLiteral("Giriş!"));
        self->RxGIFAnimator1->stop();
        self->Devamet(*adres);
    });
}

void Tgirisform::Button2Click() {
    platform().endProcess(0);
    reject(); // reached only when a test stands in for the platform
}

void Tgirisform::TekrarDene() {
    Button1->setEnabled(true);
    adi->selectAll();
    adi->setFocus();
}

void Tgirisform::Devamet(const QString &adres) {
    Bilgim->SetDisip(adres);
    bagim->SetHostName(SunucuAdresi());
    std::shared_ptr<ServerConnection> clone = bagim->Clone();
    auto cagri = std::make_shared<GirisCagrisi>();
    const QString kimlik = idsi;

    Async([clone, cagri, kimlik] {
        if (!BaglantiAc(*clone, 0))
            return;
        try {
            TServerMethods1Client proxy(clone.get(), false);
            std::unique_ptr<TSonucBilgisi> kayit = proxy.BuyukGetir(kimlik);
            if (!kayit) {
                clone->Close();
                return;
            }
            cagri->kayit.Kopyala(*kayit);
        } catch (const std::exception &e) {
            cagri->hataMetni = QString::fromUtf8(e.what());
            clone->Close();
            return;
        }
        clone->Close();
        cagri->kayit.SetBilgiSayarAdi(BilgisayarAdiAl());
        cagri->kayit.SetBilgisayarKullanici(KullaniciAdiAl());
        cagri->kayit.SetIcip(YerelIpAl());
        cagri->kayit.SetBILGISAYARID(BilgisayarIdAl());
        cagri->kayit.SetDisip(QStringLiteral("122"));
        cagri->basarili = true;
    })->Await([self = QPointer<Tgirisform>(this), cagri] {
        // The dialog was closed meanwhile ("Vazgeç"): nothing is left to decide.
        if (!self || !self->isVisible())
            return;
        Tgirisform &f = *self;
        f.RxGIFAnimator1->stop();
        if (!cagri->basarili) {
            if (!cagri->hataMetni.isEmpty())
                DuzMesajGoster(QString::fromUtf8(kUygulamaBasligi), cagri->hataMetni,
                               QMessageBox::Critical);
            MesajGoster(QString::fromUtf8(kBaglantiKurulamadi), Hata);
            if (self)
                f.TekrarDene();
            return;
        }
        f.Bilgim->Kopyala(cagri->kayit);
        if (f.Bilgim->Version() != kProgramSurumu) {
            if (windows().guncelleme)
                windows().guncelleme(&f, f.Bilgim->Version());
            platform().endProcess(0);
            return;
        }
        if (!f.Bilgim->Varmi()) {
            if (windows().istekFormu)
                windows().istekFormu(&f, WebAdresi() +
                                             QStringLiteral("formmailgonder.aspx?carino=0&"
                                                            "kullanici= &id=") +
                                             BilgisayarIdAl());
            platform().endProcess(0);
            return;
        }
        const QString hatali = QString::fromUtf8(kGirisHatali);
        if (f.adi->text() != f.Bilgim->ADI() || f.sifre->text() != f.Bilgim->SIFRE()) {
            MesajGoster(hatali, Uyari);
            if (self)
                f.TekrarDene();
            return;
        }
        f.HatirlananGirisKaydet();
        if (!self)
            return;
        if (f.Bilgim->AKTIF() != 1) {
            MesajGoster(hatali, Uyari);
            if (self)
                f.TekrarDene();
            return;
        }
        const int tip = f.Bilgim->MusteriTipi();
        if (tip == 1 || tip == 2) {
            const bool secildi =
                windows().cariSecimi && windows().cariSecimi(&f, *f.bagim, *f.Bilgim);
            if (!secildi) {
                platform().endProcess(0);
                return;
            }
        }
        f.accept();
    });
}

} // namespace zenvo
