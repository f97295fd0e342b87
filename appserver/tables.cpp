#include "appserver/tables.h"

#include "server/oledate.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zenvo::appserver {

std::unique_ptr<ResultTable> emptyTable(const std::vector<Col> &cols) {
    auto t = std::make_unique<ResultTable>();
    for (const Col &c : cols)
        t->addField({QString::fromLatin1(c.name), c.type,
                     c.type == FieldType::String ? (c.size ? c.size : 100) : 0});
    return t;
}

std::unique_ptr<ResultTable> tableFromQuery(Stmt &st, const std::vector<Col> &cols) {
    auto t = emptyTable(cols);
    const int n = int(cols.size());
    while (st.step()) {
        for (int c = 0; c < n; ++c) {
            if (st.isNull(c)) {
                t->appendNull(c);
                continue;
            }
            switch (cols[std::size_t(c)].type) {
            case FieldType::Integer:
            case FieldType::Int64:
            case FieldType::Boolean:
                t->appendInt(c, st.int64(c));
                break;
            case FieldType::String: {
                const std::string_view u = st.utf8(c);
                t->appendStringUtf8(c, u.data(), u.size());
                break;
            }
            case FieldType::Blob:
                t->appendBlob(c, st.blob(c));
                break;
            default:
                t->appendDouble(c, st.real(c));
            }
        }
        t->commitRow();
    }
    return t;
}

double r2(double v) {
    if (!std::isfinite(v))
        return 0;
    // Round the value as a person reads it: its 15 significant digits, halves away from zero.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v)); // d.dddddddddddddde±XX
    std::string digits;
    digits.push_back(buf[0]);
    digits.append(buf + 2, 14);
    const int exp10 = std::atoi(buf + 17);
    // digits[i] has the weight 10^(exp10 - i); keep those of weight >= 10^-2.
    const int keep = exp10 + 3;
    if (keep < 0)
        return 0;
    if (keep >= int(digits.size()))
        return v;
    long long units = 0; // the value in cents
    for (int i = 0; i < keep; ++i)
        units = units * 10 + (digits[std::size_t(i)] - '0');
    if (digits[std::size_t(keep)] >= '5')
        ++units;
    const double cents = double(units) / 100.0;
    return v < 0 ? -cents : cents;
}

double netPrice(double price, double i1, double i2, double i3, double i4) {
    return r2(price * (1 - i1 / 100) * (1 - i2 / 100) * (1 - i3 / 100) * (1 - i4 / 100));
}

QString discountText(double i1, double i2, double i3, double i4) {
    QStringList parts;
    const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    for (double v : {i1, i2, i3, i4})
        if (v != 0)
            parts << tr.toString(v, 'g', 6);
    return parts.isEmpty() ? QStringLiteral("0") : parts.join(QLatin1Char('+'));
}

double oleToday(sqlite3 *db) {
    Stmt st(db, "SELECT VALUE FROM settings WHERE KEY = 'bugun'");
    if (st.step()) {
        bool ok = false;
        const double pinned = st.text(0).toDouble(&ok);
        if (ok && pinned > 0)
            return pinned + double(QTime::currentTime().msecsSinceStartOfDay()) / 86400000.0;
    }
    return ToOleDate(QDateTime::currentDateTime());
}

QString timeOfDay() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

} // namespace zenvo::appserver
