#pragma once

#include <QLocale>
#include <QString>

namespace zenvo {

// Formats a number with a display pattern such as "#,###,##0.00" or ",0.00 TL;-,0.00 TL":
// sections for positive;negative;zero values, '0' and '#' digit placeholders, '.' for the
// decimal point, ',' anywhere among the placeholders for thousands grouping, quoted or other
// literal text before and after the number. Separators come from the locale. Halves round away
// from zero on the value as a person reads it: its shortest decimal text with at most 15
// significant digits (so 2.675 rounds to 2.68 although its binary value is slightly less).
QString formatFloat(const QString &pattern, double value, const QLocale &locale = QLocale());

// The same pattern as a spreadsheet number format code ("#,##0.00", literals quoted); an empty
// pattern gives "General".
QString excelNumberFormat(const QString &pattern);

// Reads a number typed with the locale's separators: group separators are skipped, a missing
// leading zero (",50") is accepted, and text around the number such as a currency suffix is
// ignored. Returns 0 and sets *ok to false when no number can be read.
double parseNumber(const QString &text, const QLocale &locale = QLocale(), bool *ok = nullptr);

// Money rounding to two decimals through the value's two-decimal text with the user's separators
// (halves away from zero on the value as read). Values of 1e15 and more, NaN and infinities are
// returned unchanged.
double IkiHaneYuvarla(double value, const QLocale &locale = QLocale());

} // namespace zenvo
