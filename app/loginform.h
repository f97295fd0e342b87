#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zenvo {

class BusyIndicator;
class ServerConnection;
class TSonucBilgisi;

// Windows the login opens that other parts of the program provide. Until one is installed, its
// branch ends the process as a declined choice would.
struct GirisPencereleri {
    // The update window for the version the server expects; it ends the process itself.
    std::function<void(QWidget *owner, int version)> guncelleme;
    // The request form for an unknown machine, shown modally on that address.
    std::function<void(QWidget *owner, const QString &adres)> istekFormu;
    // The customer selection of a sales representative; true when an account was chosen.
    std::function<bool(QWidget *owner, ServerConnection &bag, TSonucBilgisi &bilgim)> cariSecimi;
};
void SetGirisPencereleri(GirisPencereleri windows);

// Messages of the login.
inline constexpr const char *kBaglantiKurulamadi = "Bağlantı Kurulamadı !";
inline constexpr const char *kGirisHatali =
    "Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !";
inline constexpr const char *kAdGiriniz = "Lütfen kullanıcı adını giriniz !";
inline constexpr const char *kSifreGiriniz = "Lütfen kullanıcı şifresini giriniz !";
inline constexpr const char *kIstekFormuBasligi = "Zenvora B2B İstek Formu";

// Path of the remembered login file in the settings folder.
QString AyarDosyasi();

// The login dialog. The server is sent only the machine identity (BuyukGetir); it answers with
// the record registered for the machine, and the typed name and password are compared with it
// here. Closes with Accepted once Bilgim holds a logged-in user; every other way out ends the
// process.
class Tgirisform final : public QDialog {
    Q_OBJECT
public:
    explicit Tgirisform(QWidget *parent = nullptr);

    QString idsi;                      // the machine identity, computed at creation
    ServerConnection *bagim = nullptr; // the main window's connection (not owned)
    TSonucBilgisi *Bilgim = nullptr;   // the main window's session record (not owned)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HatirlananGirisYukle();
    void HatirlananGirisKaydet();
    void adiKeyPress();
    void sifreKeyPress();
    void Button1Click();
    void Button2Click();
    void Devamet(const QString &adres);
    void TekrarDene(); // back to entering: "Giriş" enabled, the user name selected

    QLabel *Image1;
    QLabel *RxLabel1;
    QCheckBox *benihatirla;
    QLabel *Label1;
    QLineEdit *adi;
    QLabel *Label2;
    QLineEdit *sifre;
    QPushButton *Button1;
    BusyIndicator *RxGIFAnimator1;
    QPushButton *Button2;
};

} // namespace zenvo
