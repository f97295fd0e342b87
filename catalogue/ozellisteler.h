#pragma once

#include "server/resulttable.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace zenvo {

class BusyIndicator;
class Grid;
class TForm1;

// The lists the server picks without a search: new items ("Yeni Stoklar") and campaign items
// ("Kampanyalı Stoklar"). Each reloads in the background every time its tab is shown.
class OzelStokListesi final : public QObject {
    Q_OBJECT
public:
    enum class Tur { Yeniler, Kampanyali };

    // Builds the grid inside the tab's page of the form.
    OzelStokListesi(TForm1 &form, Tur tur, QObject *parent = nullptr);

    Tur tur() const { return m_tur; }
    Grid *grid() const { return m_grid; }
    QWidget *sayfa() const;
    ResultTable &tablo() { return *m_tablo; }
    bool yukleniyor() const;

    // Starts a load; false when one of this list is still running.
    bool Yukle();
    // Column rules of the user type (1 and 2: stock and order columns; 4: no campaign columns).
    void KullaniciTipiUygula(int tip);
    // Proportional widths above 1152 px of screen width, fitted to the content otherwise.
    void KolonAyarla();

signals:
    void sepeteEkleIstendi(int tableRow);
    // A load ended (its continuation has run); false when the connection did not open or the
    // call failed.
    void yuklemeBitti(bool basarili);

private:
    void buildGrid();

    TForm1 &m_form;
    Tur m_tur;
    std::shared_ptr<ResultTable> m_tablo;
    Grid *m_grid = nullptr;
};

} // namespace zenvo
