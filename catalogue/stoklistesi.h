#pragma once

#include "server/resulttable.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace zenvo {

class Grid;
class GridRow;
class TForm1;

// The "Fiyat Bilgisi" cell's text: one line per price, each ended by a line break; the
// campaign price only when there is one and the user may see campaigns.
QString FiyatBilgisiMetni(const GridRow &row, bool kampanyaGoster = true);

// The stock list tab: the search bar's behaviour, the background search, the stock grid with
// its layouts and its context menu.
class StokListesi final : public QObject {
    Q_OBJECT
public:
    // Builds the grid inside the form's stock page and hooks the search bar.
    explicit StokListesi(TForm1 &form, QObject *parent = nullptr);

    Grid *cxGrid1() const { return m_grid; }
    ResultTable &stok() { return *m_stok; }
    const ResultTable &stok() const { return *m_stok; }
    QMenu *popstok() const { return m_menu; }
    bool aramaSuruyor() const;

    // Enter in the search box and "Ara": a search with the box's text.
    void AramaBaslat();
    // Column layout for the main window's width: wide above 1152 px, narrow otherwise.
    void StokKolonAyarla();
    // Column rules of the user type (1 and 2: stock and order columns; 4: no campaign columns).
    void KullaniciTipiUygula(int tip);
    // Another customer account was chosen: the list is emptied and the search box awaits text.
    void CariDegisti();
    // What "Siparişleri Göster" opens for an item; the entry stays disabled until it is set.
    void SetSiparisleriGoster(std::function<void(int stokno)> ac);

    static constexpr int kGenisEsik = 1152; // main window widths above this get the wide layout

signals:
    // Double-click or "Sepete Ekle" on a row of the table.
    void sepeteEkleIstendi(int tableRow);
    // A search ended (its continuation has run); false after a failure.
    void aramaBitti(bool basarili);

private:
    void buildGrid();
    void buildMenu();
    void Genislikler(bool genis);
    int FiyatBilgisiGenisligi() const;

    TForm1 &m_form;
    // Shared with a running search's worker, which fills it while the grid is detached.
    std::shared_ptr<ResultTable> m_stok;
    std::shared_ptr<bool> m_kampanyaGoster; // false for user type 4
    Grid *m_grid = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_siparisleri = nullptr;
    std::function<void(int)> m_siparisleriGoster;
    int m_sonGenislik = -1;
};

} // namespace zenvo
