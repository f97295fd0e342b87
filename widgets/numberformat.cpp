#include "widgets/numberformat.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zenvo {

namespace {

struct Section {
    QString prefix;
    QString suffix;
    bool grouping = false;
    bool hasDigits = false;
    int minInt = 0;
    int minFrac = 0;
    int maxFrac = 0;
};

struct Pattern {
    Section sections[3];
    int count = 0;
};

Section parseSection(QStringView s) {
    Section sec;
    bool afterPoint = false;
    bool inDigits = false;
    bool afterDigits = false;
    auto literal = [&](QChar c) {
        if (afterDigits || inDigits) {
            afterDigits = true;
            inDigits = false;
            sec.suffix += c;
        } else {
            sec.prefix += c;
        }
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = s.indexOf(c, i + 1);
            const QStringView text = s.mid(i + 1, end < 0 ? -1 : end - i - 1);
            for (QChar t : text)
                literal(t);
            i = end < 0 ? s.size() : end;
            continue;
        }
        if (c == u',') {
            sec.grouping = true;
            continue;
        }
        const bool placeholder = c == u'0' || c == u'#';
        if ((placeholder || c == u'.') && !afterDigits) {
            inDigits = true;
            sec.hasDigits = sec.hasDigits || placeholder;
            if (c == u'.') {
                afterPoint = true;
            } else if (afterPoint) {
                ++sec.maxFrac;
                if (c == u'0')
                    sec.minFrac = sec.maxFrac;
            } else if (c == u'0') {
                ++sec.minInt;
            }
            continue;
        }
        literal(c);
    }
    return sec;
}

const Pattern &parsedPattern(const QString &pattern) {
    thread_local QHash<QString, Pattern> cache;
    auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() > 256)
        cache.clear();
    Pattern p;
    qsizetype start = 0;
    bool quoted = false;
    QChar quote;
    for (qsizetype i = 0; i <= pattern.size() && p.count < 3; ++i) {
        if (i < pattern.size()) {
            const QChar c = pattern[i];
            if (quoted) {
                quoted = c != quote;
                continue;
            }
            if (c == u'"' || c == u'\'') {
                quoted = true;
                quote = c;
                continue;
            }
            if (c != u';')
                continue;
        }
        p.sections[p.count++] = parseSection(QStringView(pattern).mid(start, i - start));
        start = i + 1;
    }
    return *cache.insert(pattern, p);
}

// Decimal digits of |v| with at most 15 significant digits, without trailing zeros; the value
// is 0.DIGITS x 10^point. Zero gives no digits.
struct Decimal {
    char digits[24] = {};
    int len = 0;
    int point = 0;
};

Decimal toDecimal(double v) {
    Decimal d;
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
    const char *p = buf;
    const char *end = res.ptr;
    int exp = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits[d.len++] = *p;
    if (p < end)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exp);
    while (d.len > 0 && d.digits[d.len - 1] == '0')
        --d.len;
    d.point = d.len == 0 ? 0 : exp + 1;
    return d;
}

// Keeps `decimals` digits after the point, rounding the rest half away from zero.
void roundDecimal(Decimal &d, int decimals) {
    const int keep = d.point + decimals;
    if (keep >= d.len)
        return;
    if (keep < 0) {
        d.len = 0;
        d.point = 0;
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.len = keep;
    if (up) {
        int i = d.len - 1;
        while (i >= 0 && d.digits[i] == '9')
            --i;
        if (i < 0) {
            d.digits[0] = '1';
            d.len = 1;
            ++d.point;
        } else {
            ++d.digits[i];
            d.len = i + 1;
        }
    }
    while (d.len > 0 && d.digits[d.len - 1] == '0')
        --d.len;
    if (d.len == 0)
        d.point = 0;
}

QString formatSection(const Section &sec, const Decimal &d, bool negative, const QLocale &locale) {
    QString out = sec.prefix;
    if (negative)
        out += locale.negativeSign();
    if (sec.hasDigits) {
        QString intPart;
        for (int i = 0; i < d.point; ++i)
            intPart += QLatin1Char(i < d.len ? d.digits[i] : '0');
        if (intPart.size() < sec.minInt)
            intPart.prepend(QString(sec.minInt - intPart.size(), u'0'));
        if (sec.grouping && intPart.size() > 3) {
            const QString sep = locale.groupSeparator();
            for (qsizetype pos = intPart.size() - 3; pos > 0; pos -= 3)
                intPart.insert(pos, sep);
        }
        QString frac;
        for (int i = 0; i < sec.maxFrac; ++i) {
            const int idx = d.point + i;
            frac += QLatin1Char(idx >= 0 && idx < d.len ? d.digits[idx] : '0');
        }
        while (frac.size() > sec.minFrac && frac.endsWith(u'0'))
            frac.chop(1);
        out += intPart;
        if (!frac.isEmpty())
            out += locale.decimalPoint() + frac;
    }
    out += sec.suffix;
    return out;
}

} // namespace

QString formatFloat(const QString &pattern, double value, const QLocale &locale) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const Pattern &p = parsedPattern(pattern);
    if (p.count == 0 ||
        (p.count == 1 && !p.sections[0].hasDigits && p.sections[0].prefix.isEmpty()))
        return locale.toString(value, 'g', 15).remove(locale.groupSeparator());

    const bool negative = value < 0;
    const bool ownNegative =
        negative && p.count >= 2 && (p.sections[1].hasDigits || !p.sections[1].prefix.isEmpty());
    const Section &sec = ownNegative ? p.sections[1] : p.sections[0];
    Decimal d = toDecimal(value);
    roundDecimal(d, sec.maxFrac);
    if (d.len == 0) {
        if (p.count == 3 && (p.sections[2].hasDigits || !p.sections[2].prefix.isEmpty()))
            return formatSection(p.sections[2], d, false, locale);
        return formatSection(p.sections[0], d, false, locale);
    }
    return formatSection(sec, d, negative && !ownNegative, locale);
}

QString excelNumberFormat(const QString &pattern) {
    if (pattern.isEmpty())
        return QStringLiteral("General");
    const Pattern &p = parsedPattern(pattern);
    auto quoted = [](const QString &text) -> QString {
        if (text.isEmpty())
            return QString();
        QString q = text;
        q.remove(u'"');
        return QString(u'"' + q + u'"');
    };
    QStringList sections;
    for (int i = 0; i < p.count; ++i) {
        const Section &sec = p.sections[i];
        QString code = quoted(sec.prefix);
        if (sec.hasDigits) {
            const int width = sec.grouping ? std::max(sec.minInt, 4) : std::max(sec.minInt, 1);
            QString digits(width, u'#');
            for (int k = 0; k < sec.minInt; ++k)
                digits[width - 1 - k] = u'0';
            if (sec.grouping)
                digits.insert(width - 3, u',');
            code += digits;
            if (sec.maxFrac > 0)
                code +=
                    u'.' + QString(sec.minFrac, u'0') + QString(sec.maxFrac - sec.minFrac, u'#');
        }
        code += quoted(sec.suffix);
        sections << code;
    }
    return sections.join(u';');
}

double parseNumber(const QString &text, const QLocale &locale, bool *ok) {
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const QString minus = locale.negativeSign();
    QByteArray plain;
    bool negative = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += char(c.unicode());
            seenDigit = true;
        } else if (!seenPoint && QStringView(text).mid(i).startsWith(decimal)) {
            plain += '.';
            seenPoint = true;
            i += decimal.size() - 1;
        } else if (!group.isEmpty() && QStringView(text).mid(i).startsWith(group)) {
            i += group.size() - 1;
        } else if (!seenDigit && !seenPoint &&
                   (c == u'-' || QStringView(text).mid(i).startsWith(minus))) {
            negative = !negative;
        }
    }
    if (!seenDigit) {
        if (ok)
            *ok = false;
        return 0;
    }
    if (ok)
        *ok = true;
    double v = 0;
    std::from_chars(plain.constData(), plain.constData() + plain.size(), v);
    return negative ? -v : v;
}

double IkiHaneYuvarla(double value, const QLocale &locale) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        return value;
    QString text = formatFloat(QStringLiteral("#,###,##.00"), value, locale);
    const QString group = locale.groupSeparator();
    if (!group.isEmpty() && group != locale.decimalPoint())
        text.remove(group);
    return parseNumber(text, locale);
}

} // namespace zenvo
