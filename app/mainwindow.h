#pragma once

#include "server/connection.h"
#include "server/records.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace zenvo {

class BusyIndicator;
class GifBanner;
class Grid;
class Marquee;
class ResultTable;
class StatusLegend;

// The main window. It owns the server connection `bagc` and the session record `sbilgi` for the
// whole run; the feature parts of the program fill its tab pages (each page is an empty widget
// with the tab's component name until its feature puts a layout on it) and use the search bar
// and the busy animations exposed here.
class TForm1 final : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The start-up sequence: server address, session record with the machine fields,
    // connection, login, then the start-up chain in the background. False when the login did
    // not end with a user (the process has then been ended through the platform).
    // "ip.txt" is read in programKlasoru, the executable's folder when empty.
    bool FormCreate(const QString &programKlasoru = {});
    // The login step: the login dialog on bagc and sbilgi, then KullaniciTipiUygula.
    bool GirisYap();
    // Adapts the window to the session's user type. Features that build user-type dependent
    // columns read sbilgi().MusteriTipi() themselves or follow kullaniciTipiUygulandi.
    void KullaniciTipiUygula();

    ServerConnection &bagc() { return m_bagc; }
    TSonucBilgisi &sbilgi() { return m_sbilgi; }
    int acilisAdet() const { return _acilisadet; }
    void setAcilisAdet(int n) { _acilisadet = n; }

    // Start-up chain: steps run one after another on one worker thread (AnaBilgiAl first);
    // a step changes controls only through ArayuzdeCalistir. The continuation runs on the
    // user-interface thread when all steps have ended (also after an error).
    void BaslangicAdimiEkle(std::function<void()> step);
    void SetBaslangicSonu(std::function<void()> continuation);
    bool baslangicSuruyor() const { return m_chainRunning; }
    void AnaBilgiAl(); // header labels from the session record (through the hand-over)

    // The stock list's table and grid, registered by the stock list feature so that the clear
    // action can empty them. The page's stored row count is the property "tag".
    void SetStokListesi(ResultTable *table, Grid *grid);
    void SpeedButton1Click();
    void WebSiteMenu1Click();
    // Exit confirmation; true when the window may close (never: "Evet" ends the process).
    bool FormCloseQuery();

    // Tabs, in order.
    QTabWidget *sPageControl1() const { return m_pages; }
    QWidget *sstoklistesi() const { return m_sstoklistesi; }
    QWidget *ssepet() const { return m_ssepet; }
    QWidget *sonceki() const { return m_sonceki; }
    QWidget *sccariekstre() const { return m_sccariekstre; }
    QWidget *syeniler() const { return m_syeniler; }
    QWidget *skampanyali() const { return m_skampanyali; }
    QWidget *sTabSheetduyuru() const { return m_sTabSheetduyuru; }
    QWidget *sTabbakiyeler() const { return m_sTabbakiyeler; }
    // Sets a tab's caption, e.g. "12=Yeni Stoklar".
    void setSekmeBasligi(QWidget *page, const QString &caption);
    QString sekmeBasligi(QWidget *page) const;

    // Search bar.
    QLineEdit *araedit() const { return m_araedit; }
    QToolButton *SpeedButton1() const { return m_speedButton1; } // "Temizle"
    QToolButton *SpeedButton2() const { return m_speedButton2; } // "Ara"
    QPushButton *musteritus() const { return m_musteritus; }     // "Başka Cari Seç"
    BusyIndicator *gifstokara() const { return m_gifstokara; }
    BusyIndicator *gifyeniler() const { return m_gifyeniler; }
    BusyIndicator *gifkampanyali() const { return m_gifkampanyali; }
    BusyIndicator *gifduyuru() const { return m_gifduyuru; }
    BusyIndicator *gifoncekiler() const { return m_gifoncekiler; }
    BusyIndicator *gifekstre() const { return m_gifekstre; }

    // Header, banners, bottom panel.
    QLabel *kullanicilbl() const { return m_kullanicilbl; }
    QLabel *cariadilbl() const { return m_cariadilbl; }
    QLabel *saticilbl() const { return m_saticilbl; }
    GifBanner *RxGIFAnimator1() const { return m_banner; }   // header banner 409 x 100
    GifBanner *RxGIFAnimator2() const { return m_topStrip; } // top banner strip
    QWidget *Panel5() const { return m_panel5; }
    Marquee *kayanyazi() const { return m_kayanyazi; }
    Marquee *RealTimeMarquee1() const { return m_realTimeMarquee; }
    QLabel *Image3() const { return m_image3; }

    // General menu and its items.
    QMenu *Genelmenu() const { return m_menu; }
    QAction *M1() const { return m_m1; }                // "Mail Gönder"
    QAction *N4() const { return m_n4; }                // "Şifre Değiştirme İsteği"
    QAction *WebSiteMenu1() const { return m_webSite; } // the firm's web address
    QAction *G1() const { return m_g1; }                // "Çıkış"
    QAction *R1() const { return m_r1; }                // "Raporlar"

signals:
    void kullaniciTipiUygulandi(int musteriTipi);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildHeader(QWidget *panel);
    void buildSearchBar(QWidget *panel);
    void buildPages();
    void buildBottom();
    void BaslangicZinciriniBaslat();

    ServerConnection m_bagc;
    TSonucBilgisi m_sbilgi;
    int _acilisadet = 0;
    std::vector<std::function<void()>> m_steps;
    std::function<void()> m_chainEnd;
    bool m_chainRunning = false;
    ResultTable *m_stokTablo = nullptr;
    Grid *m_stokGrid = nullptr;

    QTabWidget *m_pages = nullptr;
    QWidget *m_sstoklistesi = nullptr;
    QWidget *m_ssepet = nullptr;
    QWidget *m_sonceki = nullptr;
    QWidget *m_sccariekstre = nullptr;
    QWidget *m_syeniler = nullptr;
    QWidget *m_skampanyali = nullptr;
    QWidget *m_sTabSheetduyuru = nullptr;
    QWidget *m_sTabbakiyeler = nullptr;

    QLineEdit *m_araedit = nullptr;
    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QPushButton *m_musteritus = nullptr;
    BusyIndicator *m_gifstokara = nullptr;
    BusyIndicator *m_gifyeniler = nullptr;
    BusyIndicator *m_gifkampanyali = nullptr;
    BusyIndicator *m_gifduyuru = nullptr;
    BusyIndicator *m_gifoncekiler = nullptr;
    BusyIndicator *m_gifekstre = nullptr;

    QLabel *m_kullanicilbl = nullptr;
    QLabel *m_cariadilbl = nullptr;
    QLabel *m_saticilbl = nullptr;
    GifBanner *m_banner = nullptr;
    GifBanner *m_topStrip = nullptr;
    QWidget *m_panel5 = nullptr;
    Marquee *m_kayanyazi = nullptr;
    Marquee *m_realTimeMarquee = nullptr;
    QLabel *m_image3 = nullptr;
    StatusLegend *m_legend = nullptr;

    QMenu *m_menu = nullptr;
    QAction *m_m1 = nullptr;
    QAction *m_n4 = nullptr;
    QAction *m_webSite = nullptr;
    QAction *m_g1 = nullptr;
    QAction *m_r1 = nullptr;
};

} // namespace zenvo
