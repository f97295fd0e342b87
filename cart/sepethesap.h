#pragma once

#include <QLocale>
#include <QString>

namespace zenvo {

class ResultTable;

// Totals of the chosen cart lines (SEC = 1). Sums are rounded after every line; the tax is
// always 18 % of the net subtotal, whatever the lines' own VAT rates.
struct SepetToplamlari {
    double toplam = 0;  // gross
    double indirim = 0; // discount
    double ara = 0;     // net subtotal
    double vergi = 0;   // tax
    double genel = 0;   // grand total
};

SepetToplamlari SepetToplamlariHesapla(const ResultTable &sepet, const QLocale &locale = QLocale());

// A total as the totals panel shows it: "#,###,##0.00" with the locale's separators.
QString ToplamYazisi(double value, const QLocale &locale = QLocale());

} // namespace zenvo
