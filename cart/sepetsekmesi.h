#pragma once

#include "cart/sepetarayuzu.h"
#include "server/resulttable.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace zenvo {

class Grid;
class SecimGrubu;
class TForm1;

// The cart tab: the server's cart lines with their choice flags, the totals of the chosen
// lines, deleting lines, the Excel export, and below them delivery kind, cargo kind, cargo firm,
// a message and "Gönder", which turns the chosen lines into an order. Everything runs on the
// user-interface thread except the overdue warning, which has a short-lived thread of its own.
class SepetSekmesi final : public QWidget, public SepetArayuzu {
    Q_OBJECT
public:
    // Builds the tab's controls inside `sayfa` (the main window's cart page).
    SepetSekmesi(TForm1 &form, QWidget *sayfa);
    ~SepetSekmesi() override;

    // SepetArayuzu. SepetYukle returns false when the cart could not be loaded (no connection
    // or an error of the server; the message has been shown) and keeps the previous content.
    bool SepetYuklendi() const override { return m_yuklendi; }
    bool SepetYukle() override;
    ResultTable &sepet() override { return m_sepet; }

    // Who opens the item dialog for a line ("Satır Değiştir", double-click); may be null.
    void setSatirDegistirici(SatirDegistirici *degistirici) { m_degistirici = degistirici; }
    SatirDegistirici *satirDegistirici() const { return m_degistirici; }

    // Handlers, public so the program and tests can drive them as the controls do.
    void ssepetShow(); // the tab was shown
    void SepetToplamHesapla();
    bool SepetSecimGonder(int sirano, int secim);
    void Deitir1Click();             // change the focused line, or switch its choice
    void SecimleriAyarla(int secim); // "Hepsini Seç" (1) / "Seçimleri Kaldır" (0)
    void SatrSil1Click();            // delete the focused line
    void HepsiniSil1Click();         // delete the whole cart
    void Button2Click();             // "Excel Kaydet"
    void TeslimKargoAl();            // delivery and cargo kinds
    void boxkargoClick();            // a cargo kind was clicked
    bool KargolarAl(int kargoTuru);  // cargo firms of a kind
    void kargocomboChange();         // a cargo firm was chosen
    void Button1Click();             // "Gönder"
    bool SiparisGonder(int kargoFirma, int kargoTuru, int teslim);
    void CariBakiyeUyariBak(); // the overdue warning, on its own thread
    void KullaniciTipiUygula(int musteriTipi);
    void KolonAyarla();

    // Controls, by their component names.
    Grid *cxGrid2() const { return m_grid; }
    QMenu *popsepet() const { return m_menu; }
    QAction *Deitir1() const { return m_deitir; }
    QAction *SatrSil1() const { return m_satirSil; }
    QAction *HepsiniSil1() const { return m_hepsiniSil; }
    QPushButton *Button4() const { return m_button4; }
    QPushButton *Button5() const { return m_button5; }
    QLabel *lbluyarbakiye() const { return m_lbluyarbakiye; }
    SecimGrubu *teslimbox() const { return m_teslimbox; }
    SecimGrubu *boxkargo() const { return m_boxkargo; }
    QComboBox *kargocombo() const { return m_kargocombo; }
    QLabel *uyarikargo() const { return m_uyarikargo; }
    QPlainTextEdit *aciklamagir() const { return m_aciklamagir; }
    QLabel *aratoplaml() const { return m_aratoplaml; }
    QLabel *indiriml() const { return m_indiriml; }
    QLabel *nettutarl() const { return m_nettutarl; }
    QLabel *vergil() const { return m_vergil; }
    QLabel *geneltoplaml() const { return m_geneltoplaml; }
    QPushButton *Button1() const { return m_button1; }
    QPushButton *Button2() const { return m_button2; }
    const ResultTable &kargo() const { return m_kargo; }

    // Overdue warnings whose thread has not handed its result back yet.
    int suranUyarilar() const { return m_suranUyarilar; }
    // The screen width the column layout decides by; 0 (default) reads the grid's screen.
    void setEkranGenisligi(int width) { m_ekranGenisligi = width; }
    // The file "Excel Kaydet" writes to; the default asks with a save dialog. Empty: cancelled.
    void setDosyaSorucu(std::function<QString()> sor) { m_dosyaSor = std::move(sor); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildGrid();
    QWidget *buildSelectionStrip();
    QWidget *buildLowerPanel();
    QWidget *buildTotals();
    int focusedSirano() const; // -1 without a focused line
    int column(const char *name) const;
    void guarded(const std::function<void()> &fn);
    QString dosyaSor();

    TForm1 &m_form;
    QWidget *m_sayfa;
    SatirDegistirici *m_degistirici = nullptr;
    ResultTable m_sepet;
    ResultTable m_kargo;
    bool m_yuklendi = false;
    int m_uyariNesli = 0;
    int m_suranUyarilar = 0;
    int m_ekranGenisligi = 0;
    bool m_kolonBekliyor = false;
    std::function<QString()> m_dosyaSor;

    Grid *m_grid = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_deitir = nullptr;
    QAction *m_satirSil = nullptr;
    QAction *m_hepsiniSil = nullptr;
    QPushButton *m_button4 = nullptr;
    QPushButton *m_button5 = nullptr;
    QLabel *m_lbluyarbakiye = nullptr;
    SecimGrubu *m_teslimbox = nullptr;
    SecimGrubu *m_boxkargo = nullptr;
    QComboBox *m_kargocombo = nullptr;
    QLabel *m_uyarikargo = nullptr;
    QPlainTextEdit *m_aciklamagir = nullptr;
    QLabel *m_aratoplaml = nullptr;
    QLabel *m_indiriml = nullptr;
    QLabel *m_nettutarl = nullptr;
    QLabel *m_vergil = nullptr;
    QLabel *m_geneltoplaml = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
};

// Builds the cart tab in the main window's cart page and returns it (owned by the page).
SepetSekmesi *SepetKur(TForm1 &form);

} // namespace zenvo
