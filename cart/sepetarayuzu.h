#pragma once

namespace zenvo {

class ResultTable;

// What the catalogue (the item dialog and the lists' entries) needs of the cart tab.
class SepetArayuzu {
public:
    virtual ~SepetArayuzu() = default;
    // Whether the cart table has been loaded in this run.
    virtual bool SepetYuklendi() const = 0;
    // Reloads the cart table from the server, sets the tab caption and the totals; false when
    // the connection could not be opened (the message has then been shown).
    virtual bool SepetYukle() = 0;
    // The cart table `sepet` (columns of SepetVer2: SIRANO, STOKNO, SEC, BARKOD, STOKADI, ...).
    virtual ResultTable &sepet() = 0;
};

// What the cart tab needs of the catalogue: the item dialog for one of its lines
// ("Satır Değiştir" and the double-click), by the line's SIRANO.
class SatirDegistirici {
public:
    virtual ~SatirDegistirici() = default;
    virtual void SatirDegistirAc(int sirano) = 0;
};

} // namespace zenvo
