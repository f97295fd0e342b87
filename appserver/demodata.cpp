#include "appserver/demodata.h"

#include "appserver/schema.h"

#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

namespace zenvo::appserver {

namespace {

// ---------------------------------------------------------------------------------------------
// SQLite helpers

[[noreturn]] void fail(sqlite3 *db, const std::string &what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3 *db, const char *sql) {
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        throw std::runtime_error(msg);
    }
}

class Prepared final {
public:
    Prepared(sqlite3 *db, const char *sql) : m_db(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_s, nullptr) != SQLITE_OK)
            fail(db, std::string("prepare ") + sql);
    }
    ~Prepared() { sqlite3_finalize(m_s); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;

    // Binds the arguments to ?1, ?2 ... and runs the statement once.
    template <typename... Args> void run(const Args &...args) {
        sqlite3_reset(m_s);
        [[maybe_unused]] int i = 0;
        (bind(++i, args), ...);
        if (sqlite3_step(m_s) != SQLITE_DONE)
            fail(m_db, "insert");
    }

    // Binds the arguments and returns whether a row came back.
    template <typename... Args> bool query(const Args &...args) {
        sqlite3_reset(m_s);
        [[maybe_unused]] int i = 0;
        (bind(++i, args), ...);
        return next();
    }
    bool next() {
        const int rc = sqlite3_step(m_s);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail(m_db, "query");
        return rc == SQLITE_ROW;
    }
    int intAt(int c) const { return sqlite3_column_int(m_s, c); }
    QString textAt(int c) const {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_s, c));
        return QString::fromUtf8(p, sqlite3_column_bytes(m_s, c));
    }

private:
    void bind(int i, int v) { sqlite3_bind_int(m_s, i, v); }
    void bind(int i, qint64 v) { sqlite3_bind_int64(m_s, i, v); }
    void bind(int i, double v) { sqlite3_bind_double(m_s, i, v); }
    void bind(int i, const char *v) { sqlite3_bind_text(m_s, i, v, -1, SQLITE_TRANSIENT); }
    void bind(int i, const std::string &v) {
        sqlite3_bind_text(m_s, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, const QString &v) {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(m_s, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, const QByteArray &blob) {
        sqlite3_bind_blob(m_s, i, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_s = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Deterministic random numbers (splitmix64); the standard distributions differ between
// libraries, so ranges are mapped here.

class Rng final {
public:
    explicit Rng(quint64 seed) : m_state(seed) {}
    quint64 next() {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(((next() >> 32) * quint64(n)) >> 32); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); } // inclusive
    bool percent(int p) { return below(100) < p; }
    template <typename T, std::size_t N> const T &pick(const std::array<T, N> &a) {
        return a[std::size_t(below(int(N)))];
    }
    QChar digit() { return QChar(u'0' + below(10)); }
    QChar letter() { return QChar(u'A' + below(26)); }
    QString digits(int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += digit();
        return s;
    }
    // '9' becomes a digit, 'A' a letter, 'X' either; other characters stay.
    QString pattern(QStringView pat) {
        QString s;
        s.reserve(pat.size());
        for (QChar c : pat) {
            if (c == u'9')
                s += digit();
            else if (c == u'A')
                s += letter();
            else if (c == u'X')
                s += percent(70) ? digit() : letter();
            else
                s += c;
        }
        return s;
    }

private:
    quint64 m_state;
};

// ---------------------------------------------------------------------------------------------
// Dates and money

const QDate kOleEpoch(1899, 12, 30);
const QDate kToday(2025, 6, 30); // the demo's "today"; all demo dates lie before it

double oleDay(QDate d) {
    return double(kOleEpoch.daysTo(d));
}
double oleDateTime(QDate d, int minutes) {
    return oleDay(d) + minutes / 1440.0;
}
QString clock(int minutes) {
    return QString::number(minutes / 60).rightJustified(2, u'0') + u':' +
           QString::number(minutes % 60).rightJustified(2, u'0');
}

using Cents = qint64;
double lira(Cents c) {
    return double(c) / 100.0;
}
// Rounds num/den to the nearest integer, halves away from zero (num >= 0, den > 0).
Cents divRound(qint64 num, qint64 den) {
    return (num + den / 2) / den;
}
// Price after up to four successive percentage discounts.
Cents discounted(Cents price, const std::array<int, 4> &rates) {
    qint64 num = price, den = 1;
    for (int r : rates) {
        num *= 100 - r;
        den *= 100;
    }
    return divRound(num, den);
}

// ---------------------------------------------------------------------------------------------
// A 5x7 pixel font, so pictures need no font files and look the same on every machine.

struct Glyph {
    char16_t ch;
    std::array<quint8, 7> rows; // bit 4 is the leftmost pixel
};

constexpr std::array<Glyph, 55> kGlyphs{{
    {u'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {u'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {u'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {u'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {u'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {u'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {u'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {u'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {u'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {u'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {u'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {u'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {u'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {u'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {u'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {u'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {u'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {u'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {u'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {u'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {u'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {u'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {u'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {u'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {u'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {u'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {u'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {u'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {u'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {u'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {u'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {u'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {u'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {u'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {u'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {u'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {u'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {u'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {u'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {u'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {u'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {u':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {u',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {u'\'', {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
    {u'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {u')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {u'&', {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}},
    {u'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {u'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {u'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}},
    {u'*', {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}},
    {u'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {u'>', {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}},
    {u'<', {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}},
    {u' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
}};

enum class Mark { None, Dots, Dot, Breve, Cedilla };

std::pair<char16_t, Mark> glyphOf(char16_t c) {
    switch (c) {
    case u'Ç':
    case u'ç':
        return {u'C', Mark::Cedilla};
    case u'Ş':
    case u'ş':
        return {u'S', Mark::Cedilla};
    case u'Ö':
    case u'ö':
        return {u'O', Mark::Dots};
    case u'Ü':
    case u'ü':
        return {u'U', Mark::Dots};
    case u'Ğ':
    case u'ğ':
        return {u'G', Mark::Breve};
    case u'İ':
        return {u'I', Mark::Dot};
    case u'ı':
        return {u'I', Mark::None};
    default:
        break;
    }
    if (c >= u'a' && c <= u'z')
        return {char16_t(c - u'a' + u'A'), Mark::None};
    return {c, Mark::None};
}

int textWidth(QStringView text, int scale) {
    return text.isEmpty() ? 0 : int(text.size()) * 6 * scale - scale;
}

// Draws text with its top-left corner at (x, y); marks reach 2 pixel rows above and below.
void drawText(QPainter &p, int x, int y, int scale, QStringView text, const QColor &color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    auto dot = [&](int cx, int col, int row) {
        p.drawRect(cx + col * scale, y + row * scale, scale, scale);
    };
    for (QChar qc : text) {
        const auto [ch, mark] = glyphOf(qc.unicode());
        const auto it = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                                     [c = ch](const Glyph &g) { return g.ch == c; });
        if (it != kGlyphs.end()) {
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (it->rows[std::size_t(row)] & (0x10 >> col))
                        dot(x, col, row);
                }
            }
        }
        switch (mark) {
        case Mark::Dots:
            dot(x, 1, -2);
            dot(x, 3, -2);
            break;
        case Mark::Dot:
            dot(x, 2, -2);
            break;
        case Mark::Breve:
            dot(x, 1, -2);
            dot(x, 3, -2);
            dot(x, 2, -1);
            break;
        case Mark::Cedilla:
            dot(x, 2, 7);
            dot(x, 1, 8);
            break;
        case Mark::None:
            break;
        }
        x += 6 * scale;
    }
    p.restore();
}

void drawTextCentered(QPainter &p, const QRect &area, int scale, QStringView text,
                      const QColor &color) {
    const int x = area.x() + (area.width() - textWidth(text, scale)) / 2;
    const int y = area.y() + (area.height() - 7 * scale) / 2;
    drawText(p, x, y, scale, text, color);
}

// Largest pixel scale at which text fits into width.
int fitScale(QStringView text, int width, int wanted) {
    int scale = wanted;
    while (scale > 1 && textWidth(text, scale) > width)
        --scale;
    return scale;
}

// ---------------------------------------------------------------------------------------------
// Part drawings

enum class Shape {
    Pad,
    Disc,
    Clutch,
    Canister,
    Pleated,
    Shock,
    Spring,
    Rod,
    Arm,
    Bellows,
    Mount,
    Belt,
    Pump,
    Radiator,
    Plug,
    Lamp,
    Wiper,
    Bearing,
    Motor,
    Gasket,
};

QBrush metal(const QRectF &r, const QColor &c) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, c.lighter(150));
    g.setColorAt(0.5, c);
    g.setColorAt(1, c.darker(160));
    return g;
}

QBrush ball(const QPointF &centre, double radius, const QColor &c) {
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    g.setColorAt(0, c.lighter(160));
    g.setColorAt(0.6, c);
    g.setColorAt(1, c.darker(170));
    return g;
}

void drawPart(QPainter &p, Shape shape, const QRectF &box, const QColor &c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF m = box.center();
    const double s = std::min(box.width(), box.height());
    const QPen outline(c.darker(250), 2);
    p.setPen(outline);
    switch (shape) {
    case Shape::Pad: {
        for (int i = 0; i < 2; ++i) {
            const QRectF plate(m.x() - s * 0.62 + i * s * 0.2, m.y() - s * 0.3 + i * s * 0.18,
                               s * 0.95, s * 0.42);
            p.setBrush(metal(plate, QColor(150, 150, 155)));
            p.drawRoundedRect(plate, s * 0.12, s * 0.12);
            const QRectF lining = plate.adjusted(s * 0.08, s * 0.06, -s * 0.08, -s * 0.06);
            p.setBrush(metal(lining, c));
            p.drawRoundedRect(lining, s * 0.08, s * 0.08);
            p.drawLine(QPointF(lining.center().x(), lining.top()),
                       QPointF(lining.center().x(), lining.bottom()));
        }
        break;
    }
    case Shape::Disc: {
        const double r = s * 0.45;
        p.setBrush(ball(m, r, c));
        p.drawEllipse(m, r, r);
        p.setBrush(ball(m, r * 0.45, c.darker(130)));
        p.drawEllipse(m, r * 0.45, r * 0.45);
        p.setBrush(QColor(40, 40, 40));
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * std::numbers::pi / 5;
            p.drawEllipse(m + QPointF(std::cos(a), std::sin(a)) * r * 0.28, r * 0.05, r * 0.05);
        }
        p.drawEllipse(m, r * 0.12, r * 0.12);
        p.setPen(QPen(c.darker(200), 1.5));
        for (int i = 0; i < 24; ++i) {
            const double a = i * 2 * std::numbers::pi / 24;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawLine(m + d * r * 0.6, m + d * r * 0.92);
        }
        break;
    }
    case Shape::Clutch: {
        const double r = s * 0.45;
        p.setBrush(ball(m, r, QColor(120, 120, 125)));
        p.drawEllipse(m, r, r);
        p.setBrush(ball(m, r * 0.75, c));
        p.drawEllipse(m, r * 0.75, r * 0.75);
        p.setBrush(QColor(90, 90, 95));
        for (int i = 0; i < 6; ++i) {
            const double a = i * 2 * std::numbers::pi / 6;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawEllipse(m + d * r * 0.45, r * 0.12, r * 0.12);
        }
        p.setBrush(QColor(60, 60, 60));
        p.drawEllipse(m, r * 0.18, r * 0.18);
        break;
    }
    case Shape::Canister: {
        const QRectF body(m.x() - s * 0.25, m.y() - s * 0.38, s * 0.5, s * 0.76);
        p.setBrush(metal(body, c));
        p.drawRoundedRect(body, s * 0.05, s * 0.05);
        p.setPen(QPen(c.darker(180), 2));
        for (int i = 1; i < 8; ++i) {
            const double y = body.top() + i * body.height() / 16;
            p.drawLine(QPointF(body.left() + 4, y), QPointF(body.right() - 4, y));
        }
        p.setPen(outline);
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(body.left(), body.center().y() + s * 0.05, body.width(), s * 0.14));
        p.setBrush(metal(body, QColor(160, 160, 165)));
        p.drawEllipse(QRectF(body.left(), body.bottom() - s * 0.06, body.width(), s * 0.12));
        break;
    }
    case Shape::Pleated: {
        const QRectF frame(m.x() - s * 0.6, m.y() - s * 0.32, s * 1.2, s * 0.64);
        p.setBrush(c.darker(140));
        p.drawRoundedRect(frame, 8, 8);
        const QRectF media = frame.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06);
        p.setBrush(c.lighter(130));
        p.drawRect(media);
        QPainterPath zig;
        const int n = 16;
        zig.moveTo(media.topLeft());
        for (int i = 1; i <= n; ++i) {
            zig.lineTo(media.left() + i * media.width() / n,
                       (i % 2) ? media.bottom() : media.top());
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c.darker(200), 1.5));
        p.drawPath(zig);
        break;
    }
    case Shape::Shock: {
        const QRectF rod(m.x() - s * 0.035, m.y() - s * 0.48, s * 0.07, s * 0.4);
        p.setBrush(metal(rod, QColor(200, 200, 205)));
        p.drawRect(rod);
        const QRectF body(m.x() - s * 0.11, m.y() - s * 0.12, s * 0.22, s * 0.56);
        p.setBrush(metal(body, c));
        p.drawRoundedRect(body, 6, 6);
        p.setBrush(QColor(50, 50, 50));
        p.drawEllipse(QPointF(m.x(), rod.top()), s * 0.06, s * 0.06);
        p.drawEllipse(QPointF(m.x(), body.bottom() + s * 0.03), s * 0.06, s * 0.06);
        break;
    }
    case Shape::Spring: {
        QPainterPath coil;
        const double top = m.y() - s * 0.42, h = s * 0.84, w = s * 0.32;
        coil.moveTo(m.x() - w, top);
        for (int i = 1; i <= 16; ++i)
            coil.lineTo(m.x() + ((i % 2) ? w : -w), top + i * h / 16);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(coil);
        break;
    }
    case Shape::Rod: {
        const QRectF bar(m.x() - s * 0.55, m.y() - s * 0.05, s * 0.8, s * 0.1);
        p.setBrush(metal(bar, QColor(170, 170, 175)));
        p.drawRect(bar);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        for (double x = bar.left() + 4; x < bar.left() + s * 0.3; x += 5)
            p.drawLine(QPointF(x, bar.top()), QPointF(x + 3, bar.bottom()));
        p.setPen(outline);
        const QRectF housing(m.x() + s * 0.15, m.y() - s * 0.18, s * 0.36, s * 0.36);
        p.setBrush(metal(housing, c));
        p.drawEllipse(housing);
        p.setBrush(ball(housing.center(), s * 0.09, QColor(60, 60, 60)));
        p.drawEllipse(housing.center(), s * 0.09, s * 0.09);
        break;
    }
    case Shape::Arm: {
        QPolygonF arm;
        arm << QPointF(m.x() - s * 0.55, m.y() - s * 0.25) << QPointF(m.x() + s * 0.5, m.y())
            << QPointF(m.x() - s * 0.55, m.y() + s * 0.25) << QPointF(m.x() - s * 0.35, m.y());
        p.setBrush(metal(arm.boundingRect(), c));
        p.drawPolygon(arm);
        p.setBrush(QColor(40, 40, 40));
        for (const QPointF &pt : {arm[0], arm[1], arm[2]})
            p.drawEllipse(pt, s * 0.07, s * 0.07);
        break;
    }
    case Shape::Bellows: {
        p.setBrush(c);
        for (int i = 0; i < 7; ++i) {
            const double w = s * (0.7 - i * 0.07);
            const QRectF fold(m.x() - w / 2, m.y() - s * 0.4 + i * s * 0.12, w, s * 0.16);
            p.setBrush(metal(fold, c));
            p.drawEllipse(fold);
        }
        break;
    }
    case Shape::Mount: {
        const QRectF base(m.x() - s * 0.5, m.y() + s * 0.1, s, s * 0.14);
        p.setBrush(metal(base, QColor(150, 150, 155)));
        p.drawRect(base);
        const QRectF rubber(m.x() - s * 0.28, m.y() - s * 0.35, s * 0.56, s * 0.5);
        p.setBrush(ball(rubber.center(), s * 0.28, c));
        p.drawRoundedRect(rubber, s * 0.1, s * 0.1);
        p.setBrush(QColor(210, 210, 210));
        p.drawEllipse(QPointF(m.x(), m.y() - s * 0.42), s * 0.06, s * 0.06);
        p.drawEllipse(QPointF(base.left() + s * 0.08, base.center().y()), s * 0.04, s * 0.04);
        p.drawEllipse(QPointF(base.right() - s * 0.08, base.center().y()), s * 0.04, s * 0.04);
        break;
    }
    case Shape::Belt: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, s * 0.06));
        p.drawRoundedRect(QRectF(m.x() - s * 0.6, m.y() - s * 0.35, s * 1.2, s * 0.7), s * 0.3,
                          s * 0.3);
        p.setPen(outline);
        p.setBrush(ball(QPointF(m.x() - s * 0.32, m.y()), s * 0.2, QColor(170, 170, 175)));
        p.drawEllipse(QPointF(m.x() - s * 0.32, m.y()), s * 0.2, s * 0.2);
        p.setBrush(ball(QPointF(m.x() + s * 0.36, m.y()), s * 0.14, QColor(170, 170, 175)));
        p.drawEllipse(QPointF(m.x() + s * 0.36, m.y()), s * 0.14, s * 0.14);
        break;
    }
    case Shape::Pump: {
        const double r = s * 0.36;
        p.setBrush(ball(m, r, c));
        p.drawEllipse(m, r, r);
        p.setBrush(QColor(70, 70, 75));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(m);
            p.rotate(i * 45.0);
            p.drawRect(QRectF(r * 0.15, -r * 0.05, r * 0.7, r * 0.1));
            p.restore();
        }
        p.setBrush(ball(m, r * 0.2, QColor(190, 190, 195)));
        p.drawEllipse(m, r * 0.2, r * 0.2);
        break;
    }
    case Shape::Radiator: {
        const QRectF core(m.x() - s * 0.5, m.y() - s * 0.32, s, s * 0.64);
        p.setBrush(QColor(60, 60, 65));
        p.drawRect(core);
        p.setPen(QPen(c.lighter(140), 1));
        for (double y = core.top() + 3; y < core.bottom(); y += 5)
            p.drawLine(QPointF(core.left(), y), QPointF(core.right(), y));
        p.setPen(outline);
        p.setBrush(metal(core, c));
        p.drawRect(QRectF(core.left() - s * 0.08, core.top(), s * 0.08, core.height()));
        p.drawRect(QRectF(core.right(), core.top(), s * 0.08, core.height()));
        break;
    }
    case Shape::Plug: {
        const QRectF insulator(m.x() - s * 0.08, m.y() - s * 0.45, s * 0.16, s * 0.42);
        p.setBrush(metal(insulator, QColor(240, 240, 235)));
        p.drawRoundedRect(insulator, 5, 5);
        const QRectF hex(m.x() - s * 0.14, m.y() - s * 0.05, s * 0.28, s * 0.14);
        p.setBrush(metal(hex, c));
        p.drawRect(hex);
        const QRectF thread(m.x() - s * 0.08, hex.bottom(), s * 0.16, s * 0.26);
        p.setBrush(metal(thread, QColor(180, 180, 180)));
        p.drawRect(thread);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        for (double y = thread.top() + 4; y < thread.bottom(); y += 5)
            p.drawLine(QPointF(thread.left(), y), QPointF(thread.right(), y - 2));
        break;
    }
    case Shape::Lamp: {
        const QRectF housing(m.x() - s * 0.6, m.y() - s * 0.3, s * 1.2, s * 0.6);
        p.setBrush(metal(housing, QColor(40, 40, 45)));
        p.drawRoundedRect(housing, s * 0.2, s * 0.2);
        for (int i = 0; i < 2; ++i) {
            const QPointF ctr(m.x() + (i ? s * 0.28 : -s * 0.25), m.y());
            p.setBrush(ball(ctr, s * 0.2, c));
            p.drawEllipse(ctr, s * 0.2, s * 0.2);
        }
        break;
    }
    case Shape::Wiper: {
        QPainterPath blade;
        blade.moveTo(m.x() - s * 0.7, m.y() + s * 0.15);
        blade.quadTo(m.x(), m.y() - s * 0.2, m.x() + s * 0.7, m.y() + s * 0.15);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, s * 0.05, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(blade);
        p.setPen(QPen(QColor(30, 30, 30), s * 0.02));
        p.drawPath(blade.translated(0, s * 0.04));
        break;
    }
    case Shape::Bearing: {
        const double r = s * 0.42;
        p.setBrush(ball(m, r, c));
        p.drawEllipse(m, r, r);
        p.setBrush(QColor(245, 245, 245));
        p.drawEllipse(m, r * 0.78, r * 0.78);
        p.setBrush(ball(m, r * 0.1, QColor(120, 120, 125)));
        for (int i = 0; i < 12; ++i) {
            const double a = i * 2 * std::numbers::pi / 12;
            p.drawEllipse(m + QPointF(std::cos(a), std::sin(a)) * r * 0.64, r * 0.11, r * 0.11);
        }
        p.setBrush(ball(m, r * 0.5, c));
        p.drawEllipse(m, r * 0.5, r * 0.5);
        p.setBrush(QColor(245, 245, 245));
        p.drawEllipse(m, r * 0.3, r * 0.3);
        break;
    }
    case Shape::Motor: {
        const QRectF body(m.x() - s * 0.4, m.y() - s * 0.3, s * 0.7, s * 0.6);
        p.setBrush(metal(body, c));
        p.drawRoundedRect(body, s * 0.12, s * 0.12);
        p.setPen(QPen(c.darker(200), 2));
        for (double x = body.left() + 10; x < body.right() - 6; x += 9)
            p.drawLine(QPointF(x, body.top() + 6), QPointF(x, body.bottom() - 6));
        p.setPen(outline);
        const QPointF pulley(body.right() + s * 0.1, m.y());
        p.setBrush(ball(pulley, s * 0.14, QColor(90, 90, 95)));
        p.drawEllipse(pulley, s * 0.14, s * 0.14);
        break;
    }
    case Shape::Gasket: {
        const QRectF plate(m.x() - s * 0.65, m.y() - s * 0.25, s * 1.3, s * 0.5);
        p.setBrush(metal(plate, c));
        p.drawRoundedRect(plate, 10, 10);
        p.setBrush(QColor(250, 250, 250));
        for (int i = 0; i < 4; ++i) {
            const QPointF ctr(plate.left() + s * 0.18 + i * s * 0.31, m.y());
            p.drawEllipse(ctr, s * 0.13, s * 0.13);
            p.drawEllipse(QPointF(ctr.x() + s * 0.15, plate.top() + s * 0.06), s * 0.025,
                          s * 0.025);
        }
        break;
    }
    }
    p.restore();
}

QByteArray encodeImage(const QImage &image, const char *format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image)) {
        throw std::runtime_error(std::string("cannot encode ") + format + ": " +
                                 writer.errorString().toStdString());
    }
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// GIF writer (Qt reads GIF but does not write it). Fixed palette: a 6x6x6 colour cube and 40
// greys; frames are complete pictures shown one after another in a loop.

int paletteIndex(QRgb px) {
    const int r = qRed(px), g = qGreen(px), b = qBlue(px);
    if (std::max({r, g, b}) - std::min({r, g, b}) < 16)
        return 216 + ((r + g + b) / 3 * 39 + 127) / 255;
    return ((r * 5 + 127) / 255) * 36 + ((g * 5 + 127) / 255) * 6 + (b * 5 + 127) / 255;
}

QRgb paletteColour(int i) {
    if (i >= 216) {
        const int v = (i - 216) * 255 / 39;
        return qRgb(v, v, v);
    }
    return qRgb(i / 36 * 51, i / 6 % 6 * 51, i % 6 * 51);
}

class BitWriter final {
public:
    explicit BitWriter(QByteArray &out) : m_out(out) {}
    void put(int code, int size) {
        m_acc |= quint32(code) << m_bits;
        m_bits += size;
        while (m_bits >= 8) {
            byte(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    void finish() {
        if (m_bits > 0)
            byte(char(m_acc & 0xFF));
        if (!m_block.isEmpty())
            flushBlock();
        m_out.append('\0');
    }

private:
    void byte(char b) {
        m_block.append(b);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock() {
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_acc = 0;
    int m_bits = 0;
};

void lzwEncode(const std::vector<quint8> &pixels, QByteArray &out) {
    constexpr int minCodeSize = 8;
    constexpr int clear = 1 << minCodeSize, eoi = clear + 1;
    out.append(char(minCodeSize));
    BitWriter bits(out);
    std::unordered_map<quint32, int> dict;
    int codeSize = minCodeSize + 1, nextCode = eoi + 1;
    bits.put(clear, codeSize);
    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const quint32 key = (quint32(prefix) << 8) | pixels[i];
        if (const auto it = dict.find(key); it != dict.end()) {
            prefix = it->second;
            continue;
        }
        bits.put(prefix, codeSize);
        dict.emplace(key, nextCode++);
        // The decoder adds its entry one code later, hence ">" rather than ">=".
        if (nextCode > (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (nextCode >= 4095) {
            bits.put(clear, codeSize);
            dict.clear();
            codeSize = minCodeSize + 1;
            nextCode = eoi + 1;
        }
        prefix = pixels[i];
    }
    bits.put(prefix, codeSize);
    if (nextCode + 1 > (1 << codeSize) && codeSize < 12)
        ++codeSize;
    bits.put(eoi, codeSize);
    bits.finish();
}

void appendLe16(QByteArray &out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

QByteArray encodeGif(const std::vector<QImage> &frames, int delayCentiseconds) {
    const int w = frames.front().width(), h = frames.front().height();
    QByteArray out("GIF89a");
    appendLe16(out, w);
    appendLe16(out, h);
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append('\0');
    out.append('\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb c = paletteColour(i);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop for ever
    for (const QImage &frame : frames) {
        const QImage img = frame.convertToFormat(QImage::Format_RGB32);
        out.append("\x21\xF9\x04\x04", 4); // graphic control: keep the frame
        appendLe16(out, delayCentiseconds);
        out.append("\x00\x00", 2);
        out.append(char(0x2C));
        appendLe16(out, 0);
        appendLe16(out, 0);
        appendLe16(out, w);
        appendLe16(out, h);
        out.append('\0');
        std::vector<quint8> pixels;
        pixels.reserve(std::size_t(w) * std::size_t(h));
        for (int y = 0; y < h; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < w; ++x)
                pixels.push_back(quint8(paletteIndex(line[x])));
        }
        lzwEncode(pixels, out);
    }
    out.append(char(0x3B));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Catalogue vocabulary

struct Category {
    const char16_t *name;
    const char *english;
    const char16_t *group;
    const char *prefix;
    Shape shape;
    QRgb colour;
    int priceMin, priceMax;                    // lira
    bool set;                                  // sold as a set (BIRIM TAKIM)
    std::array<const char16_t *, 4> positions; // empty entries end the list
};

// clang-format off
const std::array<Category, 24> kCategories{{
    {u"FREN BALATASI", "BRAKE PAD SET", u"FREN SİSTEMİ", "FB", Shape::Pad, 0x6B4A2F, 350, 1800, true, {u"ÖN", u"ARKA"}},
    {u"FREN DİSKİ", "BRAKE DISC", u"FREN SİSTEMİ", "FD", Shape::Disc, 0x8C8C94, 600, 2800, false, {u"ÖN", u"ARKA"}},
    {u"DEBRİYAJ SETİ", "CLUTCH KIT", u"DEBRİYAJ", "DS", Shape::Clutch, 0x7A5C3A, 2500, 9500, true, {u""}},
    {u"YAĞ FİLTRESİ", "OIL FILTER", u"FİLTRE", "YF", Shape::Canister, 0x1F4FA0, 90, 350, false, {u""}},
    {u"HAVA FİLTRESİ", "AIR FILTER", u"FİLTRE", "HF", Shape::Pleated, 0xC8A040, 120, 500, false, {u""}},
    {u"YAKIT FİLTRESİ", "FUEL FILTER", u"FİLTRE", "MF", Shape::Canister, 0x2E8B57, 150, 700, false, {u""}},
    {u"POLEN FİLTRESİ", "CABIN FILTER", u"FİLTRE", "PF", Shape::Pleated, 0xE8E0C8, 90, 350, false, {u"", u"KARBONLU"}},
    {u"AMORTİSÖR", "SHOCK ABSORBER", u"SÜSPANSİYON", "AM", Shape::Shock, 0xC0392B, 900, 3500, false, {u"ÖN", u"ARKA", u"ÖN SAĞ", u"ÖN SOL"}},
    {u"HELEZON YAY", "COIL SPRING", u"SÜSPANSİYON", "HY", Shape::Spring, 0x2C3E50, 500, 1600, false, {u"ÖN", u"ARKA"}},
    {u"ROTİL", "BALL JOINT", u"ÖN DÜZEN", "RT", Shape::Rod, 0x566573, 150, 650, false, {u"SAĞ", u"SOL", u"ALT"}},
    {u"ROT BAŞI", "TIE ROD END", u"ÖN DÜZEN", "RB", Shape::Rod, 0x7B7D7D, 150, 600, false, {u"SAĞ", u"SOL"}},
    {u"SALINCAK", "CONTROL ARM", u"ÖN DÜZEN", "SL", Shape::Arm, 0x34495E, 700, 2600, false, {u"ÖN SAĞ", u"ÖN SOL", u"ALT"}},
    {u"AKS KÖRÜĞÜ", "CV JOINT BOOT", u"AKTARMA", "AK", Shape::Bellows, 0x222222, 90, 350, false, {u"İÇ", u"DIŞ"}},
    {u"MOTOR TAKOZU", "ENGINE MOUNT", u"MOTOR", "MT", Shape::Mount, 0x303030, 350, 1400, false, {u"SAĞ", u"SOL", u"ARKA"}},
    {u"TRİGER SETİ", "TIMING BELT KIT", u"MOTOR", "TS", Shape::Belt, 0x1C1C1C, 1800, 6500, true, {u"", u"DEVİRDAİMLİ"}},
    {u"V KAYIŞI", "V-RIBBED BELT", u"MOTOR", "VK", Shape::Belt, 0x3A3A3A, 150, 600, false, {u""}},
    {u"DEVİRDAİM POMPASI", "WATER PUMP", u"SOĞUTMA", "DP", Shape::Pump, 0x9AA5B1, 700, 2500, false, {u""}},
    {u"RADYATÖR", "RADIATOR", u"SOĞUTMA", "RD", Shape::Radiator, 0xB0B8C0, 1800, 7000, false, {u"", u"KLİMALI"}},
    {u"BUJİ", "SPARK PLUG", u"ATEŞLEME", "BJ", Shape::Plug, 0xB87333, 200, 900, true, {u""}},
    {u"FAR", "HEADLAMP", u"AYDINLATMA", "FR", Shape::Lamp, 0xDDE6F0, 1500, 7500, false, {u"SAĞ", u"SOL"}},
    {u"SİLECEK SÜPÜRGESİ", "WIPER BLADE", u"AKSESUAR", "SS", Shape::Wiper, 0x404040, 120, 450, false, {u"ÖN", u"ARKA"}},
    {u"TEKER RULMANI", "WHEEL BEARING", u"AKTARMA", "TB", Shape::Bearing, 0x9A9A9A, 400, 1800, false, {u"ÖN", u"ARKA"}},
    {u"ALTERNATÖR", "ALTERNATOR", u"ELEKTRİK", "AL", Shape::Motor, 0xA6ACAF, 3500, 12000, false, {u""}},
    {u"SİLİNDİR KAPAK CONTASI", "CYLINDER HEAD GASKET", u"MOTOR", "SC", Shape::Gasket, 0x8E9AA6, 400, 2000, false, {u""}},
}};
// clang-format on

enum class OemStyle { Fiat, Renault, Ford, Vw, Toyota, Hyundai, Opel, Peugeot };

struct Vehicle {
    const char *make;
    const char *model;
    bool commercial;
    OemStyle oem;
    std::array<const char *, 3> engines; // nullptr ends the list
    std::array<const char *, 2> years;
};

// clang-format off
const std::array<Vehicle, 26> kVehicles{{
    {"FIAT", "DOBLO", true, OemStyle::Fiat, {"1.3 MULTIJET", "1.6 MULTIJET", "1.4 8V"}, {"01-10", "10-15"}},
    {"FIAT", "LINEA", false, OemStyle::Fiat, {"1.3 MULTIJET", "1.4 FIRE"}, {"07-15"}},
    {"FIAT", "EGEA", false, OemStyle::Fiat, {"1.3 MULTIJET", "1.4 FIRE", "1.6 MULTIJET"}, {"15-22"}},
    {"FIAT", "FIORINO", true, OemStyle::Fiat, {"1.3 MULTIJET", "1.4 8V"}, {"07-19"}},
    {"RENAULT", "CLIO", false, OemStyle::Renault, {"1.5 DCI", "1.2 16V"}, {"05-12", "12-19"}},
    {"RENAULT", "MEGANE", false, OemStyle::Renault, {"1.5 DCI", "1.6 16V"}, {"08-16"}},
    {"RENAULT", "FLUENCE", false, OemStyle::Renault, {"1.5 DCI", "1.6 16V"}, {"10-16"}},
    {"RENAULT", "KANGOO", true, OemStyle::Renault, {"1.5 DCI"}, {"08-20"}},
    {"FORD", "TRANSIT", true, OemStyle::Ford, {"2.2 TDCI", "2.4 TDCI"}, {"06-14"}},
    {"FORD", "FOCUS", false, OemStyle::Ford, {"1.6 TDCI", "1.6 TI-VCT"}, {"04-11", "11-18"}},
    {"FORD", "FIESTA", false, OemStyle::Ford, {"1.4 TDCI", "1.25"}, {"08-17"}},
    {"FORD", "CONNECT", true, OemStyle::Ford, {"1.8 TDCI"}, {"02-13"}},
    {"VW", "PASSAT", false, OemStyle::Vw, {"1.6 TDI", "2.0 TDI"}, {"05-10", "10-14"}},
    {"VW", "GOLF", false, OemStyle::Vw, {"1.6 TDI", "1.4 TSI"}, {"08-12", "12-20"}},
    {"VW", "POLO", false, OemStyle::Vw, {"1.2 TDI", "1.4"}, {"09-17"}},
    {"VW", "CADDY", true, OemStyle::Vw, {"1.6 TDI", "2.0 SDI"}, {"04-15"}},
    {"TOYOTA", "COROLLA", false, OemStyle::Toyota, {"1.4 D-4D", "1.6 VVT-I"}, {"07-13", "13-18"}},
    {"TOYOTA", "YARIS", false, OemStyle::Toyota, {"1.4 D-4D", "1.33 VVT-I"}, {"05-11"}},
    {"TOYOTA", "HILUX", true, OemStyle::Toyota, {"2.5 D-4D", "3.0 D-4D"}, {"05-15"}},
    {"HYUNDAI", "ACCENT", false, OemStyle::Hyundai, {"1.5 CRDI", "1.4 CVVT"}, {"06-11", "11-18"}},
    {"HYUNDAI", "I20", false, OemStyle::Hyundai, {"1.4 CRDI", "1.25"}, {"08-14"}},
    {"HYUNDAI", "TUCSON", false, OemStyle::Hyundai, {"2.0 CRDI"}, {"04-10"}},
    {"OPEL", "ASTRA", false, OemStyle::Opel, {"1.3 CDTI", "1.6"}, {"04-10", "10-15"}},
    {"OPEL", "CORSA", false, OemStyle::Opel, {"1.3 CDTI", "1.2"}, {"06-14"}},
    {"PEUGEOT", "PARTNER", true, OemStyle::Peugeot, {"1.6 HDI"}, {"08-18"}},
    {"PEUGEOT", "301", false, OemStyle::Peugeot, {"1.6 HDI", "1.2 VTI"}, {"12-20"}},
}};
// clang-format on

// Invented part makers and the way each writes its part numbers.
enum class CodeStyle { LetterDash, Grouped433, Prefix5, Dotted, Dash6, Compact, Spaced, Slash };

struct Maker {
    const char16_t *name;
    CodeStyle style;
    const char *tag;
};

const std::array<Maker, 8> kMakers{{
    {u"VORANEX", CodeStyle::LetterDash, ""},
    {u"DELTAMAK", CodeStyle::Grouped433, ""},
    {u"KARVELO", CodeStyle::Prefix5, "KV"},
    {u"ORSAY PARÇA", CodeStyle::Dotted, ""},
    {u"MIRANTO", CodeStyle::Dash6, "MR"},
    {u"BELKOR", CodeStyle::Compact, "BK"},
    {u"TAVLAN", CodeStyle::Spaced, "T"},
    {u"ZERPA", CodeStyle::Slash, "ZP"},
}};

QString makerCode(Rng &rng, const Maker &maker) {
    const QString tag = QString::fromLatin1(maker.tag);
    switch (maker.style) {
    case CodeStyle::LetterDash:
        return rng.pattern(u"A99-99");
    case CodeStyle::Grouped433:
        return rng.pattern(u"0999-999-999");
    case CodeStyle::Prefix5:
        return tag + rng.pattern(u" 99999");
    case CodeStyle::Dotted:
        return rng.pattern(u"99.9999.99");
    case CodeStyle::Dash6:
        return tag + rng.pattern(u"-999999");
    case CodeStyle::Compact:
        return tag + rng.pattern(u"99999A");
    case CodeStyle::Spaced:
        return tag + rng.pattern(u" 999 999");
    case CodeStyle::Slash:
        return tag + rng.pattern(u"/9999");
    }
    return {};
}

// raw split into groups of the given sizes joined by sep; the rest of raw forms a last group.
QString grouped(const QString &raw, std::initializer_list<int> sizes, QChar sep) {
    QString out;
    qsizetype pos = 0;
    for (int n : sizes) {
        if (pos >= raw.size())
            break;
        if (!out.isEmpty())
            out += sep;
        out += raw.mid(pos, n);
        pos += n;
    }
    if (pos < raw.size())
        out += sep + raw.mid(pos);
    return out;
}

// An OEM number in the maker's usual notation and in a second, plainer one.
std::pair<QString, QString> oemNumber(Rng &rng, OemStyle style) {
    switch (style) {
    case OemStyle::Fiat: {
        const QString raw = rng.pattern(u"99999999");
        const bool plain = rng.percent(50);
        return {grouped(raw, {2, 3, 3}, u'.'), plain ? raw : grouped(raw, {2, 3, 3}, u'-')};
    }
    case OemStyle::Renault: {
        const QString raw = rng.pattern(u"7799999999");
        return {grouped(raw, {4, 3, 3}, u'/'), raw};
    }
    case OemStyle::Ford: {
        const QString raw = rng.pattern(u"9A99XXXXXAA");
        return {grouped(raw, {4, 5, 2}, u'-'), raw};
    }
    case OemStyle::Vw: {
        const QString raw = rng.pattern(rng.percent(30) ? u"9A9999999A" : u"9A9999999");
        return {grouped(raw, {3, 3, 3}, u' '), grouped(raw.left(9), {3, 3, 3}, u'-') + raw.mid(9)};
    }
    case OemStyle::Toyota: {
        const QString raw = rng.pattern(u"9999999999");
        return {grouped(raw, {5, 5}, u'-'), raw};
    }
    case OemStyle::Hyundai: {
        const QString raw = rng.pattern(u"999999XX99");
        return {grouped(raw, {5, 5}, u'-'), raw};
    }
    case OemStyle::Opel: {
        const QString raw = rng.pattern(u"9999999");
        return {grouped(raw, {2, 2, 3}, u' '), raw};
    }
    case OemStyle::Peugeot: {
        const QString raw = rng.pattern(u"99999A");
        return {grouped(raw, {4, 2}, u'.'), raw};
    }
    }
    return {};
}

QString ean13(qint64 twelveDigits) {
    QString s = QString::number(twelveDigits).rightJustified(12, u'0');
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (s.at(i).unicode() - u'0') * ((i % 2) ? 3 : 1);
    return s + QChar(u'0' + (10 - sum % 10) % 10);
}

int positionCount(const Category &c) {
    int n = 0;
    while (n < 4 && c.positions[std::size_t(n)])
        ++n;
    return n;
}

template <std::size_t N> int listCount(const std::array<const char *, N> &a) {
    int n = 0;
    while (n < int(N) && a[std::size_t(n)])
        ++n;
    return n;
}

// ---------------------------------------------------------------------------------------------
// Fixed demo parties

struct SalesRep {
    int no;
    const char16_t *name;
    const char *phone;
    const char *mail;
};

const std::array<SalesRep, 2> kReps{{
    {1, u"MEHMET KARAKAYA", "0 (532) 555 41 01", "mehmet.karakaya@zenvora.com.tr"},
    {2, u"AYŞE DEMİRTAŞ", "0 (533) 555 41 02", "ayse.demirtas@zenvora.com.tr"},
}};

struct Account {
    int carino;
    const char16_t *name;
    const char16_t *city;
    const char16_t *district;
    const char16_t *contact;
    const char *phoneArea;
    int rep;
    int type;
};

constexpr int kOverdueAccount = 1002;

// clang-format off
const std::array<Account, 12> kAccounts{{
    {1001, u"ÖZTÜRK OTO YEDEK PARÇA LTD. ŞTİ.", u"İSTANBUL", u"BAĞCILAR", u"HASAN ÖZTÜRK", "212", 1, 3},
    {1002, u"YILDIZ OTOMOTİV SAN. VE TİC. A.Ş.", u"ANKARA", u"YENİMAHALLE", u"MURAT YILDIZ", "312", 1, 3},
    {1003, u"KAYA OTO PARÇA", u"İZMİR", u"BORNOVA", u"EMRE KAYA", "232", 1, 4},
    {1004, u"AKDENİZ OTO MARKET", u"ANTALYA", u"KEPEZ", u"SELİN AKDENİZ", "242", 1, 3},
    {1005, u"DOĞAN YEDEK PARÇA TİC. LTD. ŞTİ.", u"BURSA", u"OSMANGAZİ", u"CAN DOĞAN", "224", 1, 3},
    {1006, u"ÇELİK OTOMOTİV", u"KOCAELİ", u"İZMİT", u"GÖKHAN ÇELİK", "262", 1, 3},
    {1007, u"ŞAHİN OTO SANAYİ", u"KONYA", u"SELÇUKLU", u"İBRAHİM ŞAHİN", "332", 2, 3},
    {1008, u"GÜNEŞ OTO AKSESUAR", u"ADANA", u"SEYHAN", u"ZEYNEP GÜNEŞ", "322", 2, 4},
    {1009, u"ERSOY OTO YEDEK PARÇA", u"KAYSERİ", u"MELİKGAZİ", u"ALİ ERSOY", "352", 2, 3},
    {1010, u"KARADENİZ OTOMOTİV LTD. ŞTİ.", u"SAMSUN", u"İLKADIM", u"ELİF KARADENİZ", "362", 2, 3},
    {1011, u"ASLAN OTO ELEKTRİK", u"GAZİANTEP", u"ŞEHİTKAMİL", u"YUSUF ASLAN", "342", 2, 3},
    {1012, u"TUNA OTO PARÇA", u"ESKİŞEHİR", u"TEPEBAŞI", u"DERYA TUNA", "222", 2, 3},
}};
// clang-format on

// SIRANO is the position in this list plus one; SATICINO of a representative is its rep no.
struct UserSpec {
    DemoUser user;
    int rep; // own rep number for representatives
};

const std::vector<UserSpec> &userSpecs() {
    static const std::vector<UserSpec> specs{
        {{u"TEMSILCI1"_qs, u"1234"_qs, 1, 0, true}, 1},
        {{u"TEMSILCI2"_qs, u"1234"_qs, 2, 0, true}, 2},
        {{u"BAYI1"_qs, u"1234"_qs, 3, 1001, true}, 0},
        {{u"BAYI2"_qs, u"1234"_qs, 3, 1002, true}, 0},
        {{u"BAYI3"_qs, u"1234"_qs, 3, 1007, true}, 0},
        {{u"BAYI4"_qs, u"1234"_qs, 4, 1003, true}, 0},
        {{u"BAYI5"_qs, u"1234"_qs, 4, 1008, true}, 0},
        {{u"PASIF"_qs, u"1234"_qs, 3, 1004, false}, 0},
    };
    return specs;
}

const Account &accountOf(int carino) {
    return *std::find_if(kAccounts.begin(), kAccounts.end(),
                         [carino](const Account &a) { return a.carino == carino; });
}

// The user who places orders for an account: its dealer, else its representative.
int ordererOf(const Account &a) {
    const auto &specs = userSpecs();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].user.carino == a.carino && specs[i].user.active)
            return int(i) + 1;
    }
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].rep == a.rep)
            return int(i) + 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Generation

struct ItemInfo {
    QString name;
    QString barcode;
    Cents list = 0;
    Cents campaign = 0;
    int vat = 18;
    int campaignFlag = 0;
};

std::array<int, 4> accountDiscounts(const Account &a) {
    static constexpr std::array<std::array<int, 4>, 4> table{
        {{25, 10, 0, 0}, {30, 5, 0, 0}, {20, 10, 3, 0}, {35, 0, 0, 0}}};
    return table[std::size_t(a.carino % 4)];
}

int paymentTerm(const Account &a) {
    static constexpr std::array<int, 4> terms{30, 45, 60, 90};
    return terms[std::size_t(a.carino % 4)];
}

void clearTables(sqlite3 *db) {
    exec(db, "DELETE FROM settings; DELETE FROM pictures; DELETE FROM sales_reps;"
             "DELETE FROM accounts; DELETE FROM users; DELETE FROM machines; DELETE FROM items;"
             "DELETE FROM search_tokens; DELETE FROM delivery_kinds; DELETE FROM cargo_kinds;"
             "DELETE FROM cargo_firms; DELETE FROM order_statuses; DELETE FROM cart_lines;"
             "DELETE FROM orders; DELETE FROM order_lines; DELETE FROM statement;"
             "DELETE FROM invoice_lines; DELETE FROM invoice_totals; DELETE FROM collections;"
             "DELETE FROM virtual_pos; DELETE FROM announcements; DELETE FROM banners;"
             "DELETE FROM sqlite_sequence;");
}

QImage partPicture(const Category &c) {
    QImage img(400, 300, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient bg(0, 0, 0, 300);
    bg.setColorAt(0, QColor(250, 250, 252));
    bg.setColorAt(1, QColor(214, 222, 230));
    p.fillRect(img.rect(), bg);
    drawPart(p, c.shape, QRectF(60, 30, 280, 200), QColor::fromRgb(c.colour));
    p.fillRect(QRect(0, 250, 400, 50), QColor(0, 160, 210));
    const QString name = QString::fromUtf16(c.name);
    drawTextCentered(p, QRect(0, 250, 400, 50), fitScale(name, 380, 3), name, Qt::white);
    drawText(p, 8, 8, 1, u"ZENVORA", QColor(0, 120, 170));
    p.end();
    return img;
}

void insertPictures(sqlite3 *db) {
    Prepared ins(db, "INSERT INTO pictures (RESIMNO, ADI, FORMAT, GENISLIK, YUKSEKLIK, VERI)"
                     " VALUES (?1, ?2, 'JPEG', ?3, ?4, ?5)");
    for (std::size_t i = 0; i < kCategories.size(); ++i) {
        const QImage img = partPicture(kCategories[i]);
        ins.run(int(i) + 1, QString::fromUtf16(kCategories[i].name), img.width(), img.height(),
                encodeImage(img, "jpeg", 85));
    }
}

std::vector<ItemInfo> insertItems(sqlite3 *db, int count, Rng &rng) {
    Prepared ins(db, "INSERT INTO items (STOK_STOKNO, KOD, BARKOD, BARKOD_BARKODNO, OEMNO, OEM1,"
                     " OEM2, OEM3, OEM4, ADI, DIGERADI, FINISHKOD, URETICI, URETICIKODU, DPKOD,"
                     " PKOD, OZELKOD, BIRIM, MARKA, MODEL, DEPARTMAN, ANAGRUP, ALTGRUP, KDV,"
                     " LISTEFIYAT1, KAMPFIYAT, K, Y, KALAN, ALINANSIPARIS, VERILENSIPARIS, DURUM,"
                     " RESIMNO) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13,"
                     " ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28,"
                     " ?29, ?30, ?31, ?32, ?33)");
    std::vector<ItemInfo> infos;
    infos.reserve(std::size_t(count));
    // Tokens go to a scratch table first; copying them over in key order lets SQLite's sorter
    // do the sorting and appends to the index instead of splitting pages all over it.
    exec(db, "CREATE TEMP TABLE token_load (TOKEN TEXT NOT NULL, STOK_STOKNO INTEGER NOT NULL)");
    Prepared tok(db, "INSERT INTO token_load (TOKEN, STOK_STOKNO) VALUES (?1, ?2)");

    // Campaign and new items stay a list a user can scroll through, whatever the catalogue size.
    const int campaignPerMille = std::clamp(250000 / std::max(count, 1), 1, 30);
    const int newPerMille = std::clamp(200000 / std::max(count, 1), 1, 20);
    // The first six items show every status, so even a tiny catalogue has all of them.
    static constexpr std::array<int, 6> firstStatuses{1, 2, 3, 4, 5, 0};

    for (int no = 1; no <= count; ++no) {
        std::size_t ci = std::size_t(rng.below(int(kCategories.size())));
        std::size_t vi = std::size_t(rng.below(int(kVehicles.size())));
        std::size_t mi = std::size_t(rng.below(int(kMakers.size())));
        // Showcase items with the part numbers the demo guide uses.
        if (no == 1) {
            ci = 0; // brake pads, FIAT DOBLO, maker writing "G50-70"
            vi = 0;
            mi = 0;
        } else if (no == 2) {
            ci = 1; // brake disc, VW PASSAT
            vi = 12;
        }
        const Category &cat = kCategories[ci];
        const Vehicle &veh = kVehicles[vi];
        const Maker &maker = kMakers[mi];
        const QString catName = QString::fromUtf16(cat.name);
        const QString position =
            QString::fromUtf16(cat.positions[std::size_t(rng.below(positionCount(cat)))]);
        const QString engine =
            QString::fromLatin1(veh.engines[std::size_t(rng.below(listCount(veh.engines)))]);
        const QString years =
            QString::fromLatin1(veh.years[std::size_t(rng.below(listCount(veh.years)))]);
        const QString make = QString::fromLatin1(veh.make);
        const QString model = QString::fromLatin1(veh.model);

        QString name = catName;
        if (!position.isEmpty())
            name += u' ' + position;
        name += u' ' + make + u' ' + model + u' ' + engine + u' ' + years;
        const QString otherName = QString::fromLatin1(cat.english) + u' ' + make + u' ' + model;

        const QString code =
            QString::fromLatin1(cat.prefix) + u'.' + QString::number(no).rightJustified(6, u'0');
        const QString barcode = ean13(869000000000LL + (qint64(no) * 3701) % 1000000000LL);
        QString makerNo = makerCode(rng, maker);
        auto [oem1, oemNo] = oemNumber(rng, veh.oem);
        QString oem2, oem3, oem4;
        if (rng.percent(60))
            oem2 = oemNumber(rng, veh.oem).first;
        if (rng.percent(30))
            oem3 = makerCode(rng, kMakers[std::size_t(rng.below(int(kMakers.size())))]);
        if (rng.percent(10))
            oem4 = oemNumber(rng, veh.oem).second;
        const QString finish =
            veh.oem == OemStyle::Ford ? QString::number(rng.range(1000000, 2999999)) : QString();
        const QString dpCode = rng.percent(30) ? u"DP"_qs + rng.digits(5) : QString();
        const QString pCode = rng.percent(10) ? u"P"_qs + rng.digits(4) : QString();

        if (no == 1) {
            makerNo = u"G50-70"_qs;
            oem1 = u"46.521.001"_qs;
            oemNo = u"46521001"_qs;
            oem2 = u"0986-494-123"_qs;
        } else if (no == 2) {
            oem1 = u"1K0 698 151"_qs;
            oemNo = u"1K0-698-151"_qs;
            oem2 = u"7701/208/265"_qs;
        }

        const int vat = rng.percent(3) ? 8 : 18;
        const Cents list = Cents(rng.range(cat.priceMin * 20, cat.priceMax * 20)) * 5;
        const bool campaign = no == 2 || rng.below(1000) < campaignPerMille;
        const bool isNew = no == 3 || rng.below(1000) < newPerMille;
        const Cents campaignPrice = campaign ? divRound(list * rng.range(70, 90), 100) : 0;

        int status;
        if (no <= int(firstStatuses.size())) {
            status = firstStatuses[std::size_t(no - 1)];
        } else {
            const int r = rng.below(100);
            status = r < 55 ? 1 : r < 63 ? 2 : r < 73 ? 3 : r < 80 ? 4 : r < 88 ? 5 : 0;
        }
        int onHand = 0, incoming = 0;
        switch (status) {
        case 1:
            onHand = rng.range(3, 250);
            break;
        case 2:
            onHand = rng.range(1, 2);
            break;
        case 3:
            incoming = rng.range(5, 100);
            break;
        default:
            break;
        }
        const int reserved = rng.percent(25) ? rng.range(1, 20) : 0;
        const int picture = rng.percent(75) ? int(&cat - kCategories.data()) + 1 : 0;
        const char16_t *klass = list >= 300000 ? u"A" : list >= 80000 ? u"B" : u"C";

        ins.run(no, code, barcode, 500000 + no, oemNo, oem1, oem2, oem3, oem4, name, otherName,
                finish, QString::fromUtf16(maker.name), makerNo, dpCode, pCode,
                QString::fromUtf16(klass), QString::fromUtf16(cat.set ? u"TAKIM" : u"ADET"), make,
                model, QString::fromUtf16(veh.commercial ? u"HAFİF TİCARİ" : u"BİNEK"),
                QString::fromUtf16(cat.group), catName, double(vat), lira(list),
                lira(campaignPrice), campaign ? 1 : 0, isNew ? 1 : 0, double(onHand),
                double(reserved), double(incoming), status, picture);

        const ItemSearchText text{
            {code, barcode, makerNo, oem1, oemNo, oem2, oem3, oem4, finish, dpCode},
            {name, otherName, QString::fromUtf16(maker.name)}};
        for (const QString &t : itemSearchTokens(text))
            tok.run(t, no);

        infos.push_back({name, barcode, list, campaignPrice, vat, campaign ? 1 : 0});
    }

    exec(db, "INSERT INTO search_tokens (TOKEN, STOK_STOKNO)"
             " SELECT TOKEN, STOK_STOKNO FROM token_load ORDER BY TOKEN, STOK_STOKNO;"
             "DROP TABLE temp.token_load");
    return infos;
}

void insertParties(sqlite3 *db, Rng &rng) {
    Prepared rep(db, "INSERT INTO sales_reps (SATICINO, SATICIADI, TELEFON, MAIL)"
                     " VALUES (?1, ?2, ?3, ?4)");
    for (const SalesRep &r : kReps)
        rep.run(r.no, QString::fromUtf16(r.name), r.phone, r.mail);

    Prepared acc(db, "INSERT INTO accounts (CARINO, CARIKOD, CARIADI, OZELKOD, ANAGRUP, ALTGRUP,"
                     " KOD1, KOD2, KOD3, ADRES1, ADRES2, ILCE, IL, ULKE, TEL1, TEL2, FAX1, GSM,"
                     " EMAIL, YETKILI, VERGIDAIRESI, VERGINO, IND1, IND2, IND3, IND4, VADE,"
                     " VADEKONTROLGUN, VADEKONTROLAY, SATICINO, MUSTERITIPI, AKTIF, ARAMA)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15,"
                     " ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28, ?29, ?30,"
                     " ?31, ?32, ?33)");
    static constexpr std::array<const char16_t *, 4> streets{
        u"SANAYİ SİTESİ 12. BLOK NO: 34", u"OTO SANAYİ CAD. NO: 118",
        u"YEDEK PARÇACILAR ÇARŞISI NO: 7", u"ATATÜRK BULVARI NO: 256"};
    for (const Account &a : kAccounts) {
        const QString name = QString::fromUtf16(a.name);
        const QString code = u"120.01."_qs + QString::number(a.carino).rightJustified(4, u'0');
        const QString city = QString::fromUtf16(a.city);
        const QString district = QString::fromUtf16(a.district);
        const QString contact = QString::fromUtf16(a.contact);
        const QString area = QString::fromLatin1(a.phoneArea);
        const QString phone = u"0 ("_qs + area + rng.pattern(u") 555 99 99");
        const QString fax = u"0 ("_qs + area + rng.pattern(u") 555 99 99");
        const QString gsm = rng.pattern(u"0 (599) 555 99 99");
        const QString taxNo = rng.digits(10);
        const QString mail =
            u"info@"_qs + foldSearchText(name).section(u' ', 0, 0).toLower() + u"oto.com.tr"_qs;
        const auto d = accountDiscounts(a);
        const int term = paymentTerm(a);
        acc.run(a.carino, code, name, u"B2B"_qs, u"BAYİ"_qs,
                QString::fromUtf16(a.carino % 3 ? u"B SINIFI" : u"A SINIFI"),
                QString::fromUtf16(a.rep == 1 ? u"MARMARA-EGE" : u"İÇ ANADOLU-GÜNEY"), city,
                QString::number(a.carino % 7 + 1),
                QString::fromUtf16(streets[std::size_t(a.carino % 4)]),
                QString::fromUtf16(u"OTO SANAYİ BÖLGESİ"), district, city,
                QString::fromUtf16(u"TÜRKİYE"), phone, QString(), fax, gsm, mail, contact,
                district + u" V.D."_qs, taxNo, double(d[0]), double(d[1]), double(d[2]),
                double(d[3]), term, term + 15, 3, a.rep, a.type, 1,
                foldSearchText(
                    QString(code + u' ' + name + u' ' + city + u' ' + district + u' ' + contact)));
    }

    Prepared usr(db, "INSERT INTO users (SIRANO, ADI, SIFRE, MUSTERITIPI, CARINO, SATICINO, AKTIF,"
                     " MAIL) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    Prepared mac(db, "INSERT INTO machines (BILGISAYARID, SIRANO) VALUES (?1, ?2)");
    const auto &specs = userSpecs();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const DemoUser &u = specs[i].user;
        const int rep = u.carino ? accountOf(u.carino).rep : specs[i].rep;
        usr.run(int(i) + 1, u.name, u.password, u.type, u.carino, rep, u.active ? 1 : 0,
                u.name.toLower() + u"@zenvora-demo.com.tr"_qs);
        mac.run(u"DEMO-"_qs + u.name, int(i) + 1);
    }
}

void insertShipping(sqlite3 *db) {
    Prepared del(db, "INSERT INTO delivery_kinds (ID, ADI) VALUES (?1, ?2)");
    del.run(1, QString::fromUtf16(u"Depodan Teslim Alınacak"));
    del.run(2, QString::fromUtf16(u"Kargo ile Gönderilecek"));
    del.run(3, QString::fromUtf16(u"Firma Aracı ile Teslim"));

    Prepared kind(db, "INSERT INTO cargo_kinds (ID, ADI) VALUES (?1, ?2)");
    kind.run(1, QString::fromUtf16(u"Anlaşmalı Kargo"));
    kind.run(2, QString::fromUtf16(u"Ambar"));
    kind.run(3, QString::fromUtf16(u"Kurye"));

    Prepared firm(db, "INSERT INTO cargo_firms (SIRANO, KARGOTURU, ADI, UYARI)"
                      " VALUES (?1, ?2, ?3, ?4)");
    firm.run(1, 1, u"KARTAL KARGO"_qs,
             QString::fromUtf16(u"Saat 16:00'dan sonraki siparişler ertesi gün kargoya "
                                u"verilir."));
    firm.run(2, 1, QString::fromUtf16(u"DOĞAN EKSPRES"),
             QString::fromUtf16(u"Alıcı ödemeli gönderim yapılmaz."));
    firm.run(3, 2, QString::fromUtf16(u"ANADOLU AMBARI"),
             QString::fromUtf16(u"Ambar teslimlerinde nakliye bedeli alıcıya aittir."));
    firm.run(4, 2, QString::fromUtf16(u"KARADENİZ NAKLİYAT"), QString());
    firm.run(5, 2, QString::fromUtf16(u"EGE AMBARI"),
             QString::fromUtf16(u"Salı ve Perşembe günleri çıkış yapılır."));
    firm.run(6, 3, QString::fromUtf16(u"ŞEHİR İÇİ KURYE"),
             QString::fromUtf16(u"Yalnızca şehir içi teslimatlar için geçerlidir."));

    Prepared st(db, "INSERT INTO order_statuses (DURUM, ADI) VALUES (?1, ?2)");
    st.run(2, QString::fromUtf16(u"Alındı"));
    st.run(3, QString::fromUtf16(u"Onaylandı"));
    st.run(4, QString::fromUtf16(u"Görüldü"));
    st.run(5, QString::fromUtf16(u"Parçalı Hazırlandı"));
    st.run(6, QString::fromUtf16(u"Hazırlandı"));
    st.run(7, QString::fromUtf16(u"Sevk Edildi"));
    st.run(8, QString::fromUtf16(u"Teslim Edildi"));
}

int cargoFirmOf(Rng &rng, int kind) {
    switch (kind) {
    case 1:
        return rng.range(1, 2);
    case 2:
        return rng.range(3, 5);
    default:
        return 6;
    }
}

// Orders first, then carts: cart line numbers come from one counter, and the lines still in a
// cart get the highest ones, which keeps the cart's AUTOINCREMENT past every number in use.
void insertOrdersAndCarts(sqlite3 *db, Rng &rng, const std::vector<ItemInfo> &items) {
    Prepared ord(db, "INSERT INTO orders (IDNO, CARINO, TARIH, SAAT, TESLIMID, KARGOID,"
                     " KARGOFIRMAID, ACIKLAMA, ALANNOTU, SATICINOTU, VERENIDNO, DURUM)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    Prepared line(db, "INSERT INTO order_lines (STOKHAR_NO, IDNO, SEPETSIRANO, STOKNO, BARKOD,"
                      " STOKADI, MIKTAR, TESLIMEDILEN, KALAN, KDV, BIRIMFIYAT, ILKFIYAT,"
                      " INDIRIMORANI1, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, K, VERENIDNO,"
                      " TARIH, SAAT) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12,"
                      " ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20)");
    static constexpr std::array<const char16_t *, 6> notes{
        u"",
        u"Acil gönderim rica ederiz.",
        u"Faturayı firmamıza kesiniz.",
        u"",
        u"Eksik ürün varsa parçalı gönderebilirsiniz.",
        u"Kargo ücreti alıcıdan."};
    static constexpr std::array<const char16_t *, 4> replies{
        u"Siparişiniz onaylanmıştır.", u"Eksik ürünler tedarik edildiğinde gönderilecektir.",
        u"Sevkiyat planına alındı.", u""};
    // Oldest first: delivered, shipped, then the open states.
    static constexpr std::array<int, 9> statuses{8, 8, 7, 7, 6, 5, 4, 3, 2};

    const int itemCount = int(items.size());
    int orderNo = 10001, lineNo = 1, cartNo = 1;
    for (const Account &a : kAccounts) {
        const auto rates = accountDiscounts(a);
        const int orderer = ordererOf(a);
        const int orders = a.carino == 1012 ? 0 : 6 + a.carino % 4; // one account never ordered
        for (int k = 0; k < orders; ++k) {
            const int status = statuses[std::size_t(k + int(statuses.size()) - orders)];
            const QDate day = kToday.addDays(-(orders - k) * 11 - rng.range(0, 6));
            const int minutes = rng.range(8 * 60, 18 * 60);
            const int delivery = rng.range(1, 3);
            const int cargoKind = rng.range(1, 3);
            const int cargoFirm = cargoFirmOf(rng, cargoKind);
            const QString note =
                QString::fromUtf16(notes[std::size_t(rng.below(int(notes.size())))]);
            const QString reply =
                status >= 3
                    ? QString::fromUtf16(replies[std::size_t(rng.below(int(replies.size())))])
                    : QString();
            QString salesNote;
            if (k == 1 && a.carino == 1001)
                salesNote = u"   "_qs; // blanks only: shows nothing
            else if (rng.percent(20))
                salesNote = QString::fromUtf16(u"Müşteri ile telefonda görüşüldü.");
            ord.run(orderNo, a.carino, oleDateTime(day, minutes), clock(minutes), delivery,
                    cargoKind, cargoFirm, note, reply, salesNote, orderer, status);
            const int lines = rng.range(1, 6);
            for (int l = 0; l < lines; ++l) {
                const int stockNo = rng.range(1, itemCount);
                const ItemInfo &it = items[std::size_t(stockNo - 1)];
                const int qty = rng.range(1, 12);
                int delivered = 0;
                if (status == 8)
                    delivered = qty;
                else if (status == 7 || status == 5)
                    delivered = rng.range(0, qty);
                const int open = status == 8 ? 0 : qty - delivered;
                const Cents price = it.campaignFlag ? it.campaign : it.list;
                const std::array<int, 4> r = it.campaignFlag ? std::array<int, 4>{} : rates;
                line.run(lineNo++, orderNo, cartNo++, stockNo, it.barcode, it.name, double(qty),
                         double(delivered), double(open), double(it.vat), lira(price), lira(price),
                         double(r[0]), double(r[1]), double(r[2]), double(r[3]), it.campaignFlag,
                         orderer, oleDateTime(day, minutes), clock(minutes));
            }
            ++orderNo;
        }
    }

    Prepared cart(db,
                  "INSERT INTO cart_lines (SIRANO, CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, KDV,"
                  " BIRIMFIYAT, INDIRIMORANI1, INDIRIMORANI2, INDIRIMORANI3, INDIRIMORANI4, K,"
                  " SEC, VERENIDNO, TARIH, SAAT) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9,"
                  " ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)");
    static constexpr std::array<std::pair<int, int>, 5> carts{
        {{1001, 4}, {1002, 2}, {1003, 3}, {1007, 1}, {1009, 2}}};
    for (const auto &[carino, count] : carts) {
        const Account &a = accountOf(carino);
        const auto rates = accountDiscounts(a);
        for (int l = 0; l < count; ++l) {
            // Item 2 is on campaign: the first dealer's cart shows a campaign line.
            const int stockNo =
                carino == 1001 && l == 0 ? std::min(2, itemCount) : rng.range(1, itemCount);
            const ItemInfo &it = items[std::size_t(stockNo - 1)];
            const Cents price = it.campaignFlag ? it.campaign : it.list;
            const std::array<int, 4> r = it.campaignFlag ? std::array<int, 4>{} : rates;
            const int qty = rng.range(1, 6);
            const int minutes = rng.range(9 * 60, 17 * 60);
            const QDate day = kToday.addDays(-rng.range(0, 3));
            cart.run(cartNo++, carino, stockNo, it.barcode, it.name, double(qty), double(it.vat),
                     lira(price), double(r[0]), double(r[1]), double(r[2]), double(r[3]),
                     it.campaignFlag, l + 1 < count ? 1 : 0, ordererOf(a),
                     oleDateTime(day, minutes), clock(minutes));
        }
    }
}

// A year of invoices and collections per account. Collections settle every invoice that has
// fallen due; the overdue account stops paying four months before the demo's today.
void insertStatements(sqlite3 *db, Rng &rng, const std::vector<ItemInfo> &items) {
    Prepared mov(db,
                 "INSERT INTO statement (IDNO, CARINO, TARIH, VADETARIHI, VADEGUN, TURADI, EVRAK,"
                 " BORC, ALACAK, ACIKLAMA, SATICINO) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9,"
                 " ?10, ?11)");
    Prepared inv(db,
                 "INSERT INTO invoice_lines (ID, IDNO, SIRA, STOKNO, STOKADI, MIKTAR, BIRIMFIYAT,"
                 " INDIRIM1, INDIRIM2, KDV, TUTAR, TOPLAMINDIRIM, NETBIRIMFIYAT, NETTUTAR, VERGI,"
                 " IRSALIYEEVRAKNO, IRSALIYETARIHI, SIPARISEVRAKNO, SIPARISTARIHI, ACIKLAMA)"
                 " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16,"
                 " ?17, ?18, ?19, ?20)");
    Prepared tot(db, "INSERT INTO invoice_totals (IDNO, TOPLAM, TOPLAMINDIRIM, MATRAH, KDVTUTAR,"
                     " KDVDAHIL) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    Prepared col(db,
                 "INSERT INTO collections (ID, IDNO, TARIH, SAAT, TURU, CINS, EVRAKNO, VADE,"
                 " TUTAR, ACIKLAMA, REF) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    Prepared pos(db, "INSERT INTO virtual_pos (SIRANO, IDNO, TARIH, TUTAR, KARTNO, ONAYKODU)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");

    const int itemCount = int(items.size());
    int movementNo = 50001, invoiceLineNo = 1, collectionRowNo = 1, posNo = 7001;
    int invoiceSerial = 1, returnSerial = 1, receiptSerial = 1;

    for (const Account &a : kAccounts) {
        const int term = paymentTerm(a);
        const auto rates = accountDiscounts(a);
        const QDate start = kToday.addMonths(-12);
        struct Open {
            QDate due;
            Cents amount;
        };
        std::vector<Open> open; // unpaid invoices, oldest first
        Cents credit = 0;       // paid beyond the invoices (returns)

        auto movement = [&](QDate day, QDate due, const QString &kind, const QString &doc,
                            Cents debit, Cents creditAmount, const QString &note) {
            mov.run(movementNo, a.carino, oleDay(day), oleDay(due), int(day.daysTo(due)), kind, doc,
                    lira(debit), lira(creditAmount), note, a.rep);
            return movementNo++;
        };

        auto invoice = [&](QDate day, bool isReturn) {
            const QString doc = isReturn
                                    ? u"ZNI"_qs + QString::number(day.year()) +
                                          QString::number(returnSerial++).rightJustified(9, u'0')
                                    : u"ZNV"_qs + QString::number(day.year()) +
                                          QString::number(invoiceSerial++).rightJustified(9, u'0');
            const QDate due = day.addDays(isReturn ? 0 : term);
            const int id = movementNo;
            const int lines = isReturn ? 1 : rng.range(2, 8);
            Cents gross = 0, discount = 0, net = 0, vat = 0;
            struct Line {
                int stockNo, qty;
                Cents price, gross, discount, netUnit, net, vat;
                int vatRate;
            };
            std::vector<Line> rows;
            for (int l = 0; l < lines; ++l) {
                const int stockNo = rng.range(1, itemCount);
                const ItemInfo &it = items[std::size_t(stockNo - 1)];
                const int qty = isReturn ? 1 : rng.range(1, 10);
                const Cents netUnit = discounted(it.list, {rates[0], rates[1], 0, 0});
                const Cents lineGross = it.list * qty, lineNet = netUnit * qty;
                const Cents lineVat = divRound(lineNet * it.vat, 100);
                rows.push_back({stockNo, qty, it.list, lineGross, lineGross - lineNet, netUnit,
                                lineNet, lineVat, it.vat});
                gross += lineGross;
                discount += lineGross - lineNet;
                net += lineNet;
                vat += lineVat;
            }
            const Cents total = net + vat;
            movement(day, due, QString::fromUtf16(isReturn ? u"İade Faturası" : u"Satış Faturası"),
                     doc, isReturn ? 0 : total, isReturn ? total : 0,
                     QString::fromUtf16(isReturn ? u"Hasarlı ürün iadesi" : u"Satış"));
            const QString waybill = u"IRS"_qs + QString::number(id).rightJustified(7, u'0');
            for (std::size_t l = 0; l < rows.size(); ++l) {
                const Line &r = rows[l];
                const ItemInfo &it = items[std::size_t(r.stockNo - 1)];
                const int orderRef = 10000 + rng.range(1, 9999);
                const QDate orderDay = day.addDays(-rng.range(1, 5));
                inv.run(invoiceLineNo++, id, int(l) + 1, r.stockNo, it.name, double(r.qty),
                        lira(r.price), double(rates[0]), double(rates[1]), double(r.vatRate),
                        lira(r.gross), lira(r.discount), lira(r.netUnit), lira(r.net), lira(r.vat),
                        waybill, oleDay(day), isReturn ? QString() : QString::number(orderRef),
                        oleDay(orderDay), QString());
            }
            tot.run(id, lira(gross), lira(discount), lira(net), lira(vat), lira(total));
            if (isReturn)
                credit += total;
            else
                open.push_back({due, total});
        };

        // Pays what has fallen due by `day`, less any credit, in one to two rows.
        auto collect = [&](QDate day, bool tediye, Cents fixedAmount) {
            Cents amount = fixedAmount;
            if (!tediye && fixedAmount == 0) {
                while (!open.empty() && open.front().due <= day) {
                    amount += open.front().amount;
                    open.erase(open.begin());
                }
                const Cents used = std::min(credit, amount);
                credit -= used;
                amount -= used;
                if (amount <= 0)
                    return;
            }
            const QString doc = QString::fromUtf16(tediye ? u"TED-" : u"TAH-") +
                                QString::number(receiptSerial++).rightJustified(6, u'0');
            const int minutes = rng.range(9 * 60, 17 * 60);
            const int id = movement(
                day, day, QString::fromUtf16(tediye ? u"Tediye" : u"Tahsilat"), doc,
                tediye ? amount : 0, tediye ? 0 : amount,
                QString::fromUtf16(tediye ? u"Fazla ödeme iadesi" : u"Cari hesap tahsilatı"));
            static constexpr std::array<const char16_t *, 4> kinds{u"Nakit", u"Kredi Kartı", u"Çek",
                                                                   u"Havale"};
            const int kind = tediye ? 3 : rng.below(4);
            const bool split = !tediye && amount > 100000 && rng.percent(35);
            const Cents first = split ? divRound(amount * rng.range(30, 70), 100) : amount;
            const std::array<std::pair<int, Cents>, 2> parts{
                {{kind, first}, {(kind + 3) % 4, amount - first}}};
            bool card = false;
            for (const auto &[k, part] : parts) {
                if (part <= 0)
                    continue;
                const QDate due = k == 2 ? day.addDays(rng.range(30, 90)) : day;
                const QString docNo = k == 2 ? rng.pattern(u"CK9999999") : doc;
                const QString ref = k == 3 ? rng.pattern(u"EFT99999999") : QString();
                col.run(collectionRowNo++, id, oleDay(day), clock(minutes),
                        QString::fromUtf16(kinds[std::size_t(k)]),
                        k == 2 ? QString::fromUtf16(u"Müşteri Çeki") : u"TL"_qs, docNo, oleDay(due),
                        lira(part), k == 1 ? QString::fromUtf16(u"Sanal POS ödemesi") : QString(),
                        ref);
                card = card || k == 1;
            }
            if (card) {
                const QString cardNo = rng.pattern(u"5400 **** **** 9999");
                const QString approval = rng.digits(6);
                pos.run(posNo++, id, oleDateTime(day, minutes), lira(amount), cardNo, approval);
            }
        };

        movement(start, start, QString::fromUtf16(u"Devir Fişi"),
                 u"DVR-"_qs + QString::number(start.year()), 0, 0,
                 QString::fromUtf16(u"Önceki dönemden devir"));
        const int stopPaying = a.carino == kOverdueAccount ? 8 : 12;
        for (int month = 0; month < 12; ++month) {
            const QDate first = start.addMonths(month);
            const int invoices = rng.range(1, 3);
            for (int i = 0; i < invoices; ++i)
                invoice(first.addDays(rng.range(1, 24)), false);
            if (month == 5 && a.carino % 3 == 0)
                invoice(first.addDays(26), true);
            if (month < stopPaying)
                collect(first.addDays(27), false, 0);
            if (month == 4 && a.carino % 2 == 0) {
                // An overpayment and its refund.
                collect(first.addDays(20), false, 50000);
                collect(first.addDays(23), true, 50000);
            }
        }
        // Settle whatever fell due up to yesterday, so only the overdue account is overdue.
        if (a.carino != kOverdueAccount)
            collect(kToday.addDays(-1), false, 0);
    }
}

QImage banner(int w, int h, int frame, const QString &title, const QString &line2) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    // Colours of the GIF palette, so the picture needs no dithering.
    p.fillRect(img.rect(), frame % 2 ? QColor(0, 51, 102) : QColor(0, 102, 153));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 204, 0));
    if (w >= 6 * h) {
        p.drawPolygon(QPolygon{QPoint(w - h - 40, 0), QPoint(w - 40, 0), QPoint(w - 2 * h, h),
                               QPoint(w - 3 * h, h)});
    } else {
        p.drawRect(0, h - 8, w * (frame + 1) / 3, 4); // grows from frame to frame
    }
    const int big = std::max(1, (h - 20) / 24) + 1;
    const int x = 12 + frame * 6;
    drawText(p, x, 10, fitScale(title, w - x - 12, big), title, Qt::white);
    drawText(p, x, 10 + big * 11, fitScale(line2, w - x - 12, big - 1), line2,
             frame % 2 ? QColor(255, 220, 60) : QColor(255, 255, 255));
    p.end();
    return img;
}

void insertPromotions(sqlite3 *db) {
    Prepared ban(db, "INSERT INTO banners (SLOT, FORMAT, VERI) VALUES (?1, ?2, ?3)");
    {
        std::vector<QImage> frames;
        static constexpr std::array<const char16_t *, 3> lines{
            u"YEDEK PARÇADA GÜVENİLİR ADRES", u"AYNI GÜN KARGO", u"B2B SİPARİŞ HATTI"};
        for (int f = 0; f < 3; ++f) {
            frames.push_back(
                banner(409, 100, f, u"ZENVORA"_qs, QString::fromUtf16(lines[std::size_t(f)])));
        }
        ban.run(1, "GIF", encodeGif(frames, 150));
    }
    {
        std::vector<QImage> frames;
        frames.push_back(banner(1280, 90, 0, QString::fromUtf16(u"YAZ KAMPANYASI"),
                                QString::fromUtf16(u"SEÇİLİ ÜRÜNLERDE %20'YE VARAN İNDİRİM")));
        frames.push_back(banner(1280, 90, 1, QString::fromUtf16(u"YAZ KAMPANYASI"),
                                QString::fromUtf16(u"FREN VE DEBRİYAJ ÜRÜNLERİNDE FIRSAT")));
        ban.run(2, "GIF", encodeGif(frames, 200));
    }
    {
        QImage img(1100, 60, QImage::Format_RGB32);
        QPainter p(&img);
        p.fillRect(img.rect(), QColor(40, 44, 52));
        int x = 10;
        for (std::size_t i = 0; i < 4; ++i) {
            drawPart(p, kCategories[i * 5].shape, QRectF(x, 5, 70, 50),
                     QColor::fromRgb(kCategories[i * 5].colour));
            drawText(p, x + 78, 23, 2, QString::fromUtf16(kCategories[i * 5].name),
                     QColor(255, 210, 80));
            x += 275;
        }
        p.end();
        ban.run(3, "BMP", encodeImage(img.convertToFormat(QImage::Format_RGB888), "bmp"));
    }

    struct Ad {
        const char16_t *title;
        const char16_t *subtitle;
        const char16_t *search;
        bool opening;
        int category;
    };
    static constexpr std::array<Ad, 5> ads{{
        {u"YAZ KAMPANYASI", u"KAMPANYALI ÜRÜNLERİ İNCELEYİN", u"#KAMPANYA#", true, 2},
        {u"YENİ ÜRÜNLER", u"KATALOĞA YENİ EKLENEN PARÇALAR", u"#YENİ#", true, 22},
        {u"FREN BALATALARINDA FIRSAT", u"TÜM MODELLER STOKTA", u"FREN BALATASI", true, 0},
        {u"TRİGER SETLERİ STOKTA", u"DEVİRDAİMLİ SETLER DAHİL", u"TRIGER SETI", false, 14},
        {u"BAYRAM ÇALIŞMA SAATLERİ", u"BAYRAM BOYUNCA 09:00-13:00 ARASI", u"", false, 19},
    }};
    Prepared ann(db,
                 "INSERT INTO announcements (SIRANO, SIRA, BASLIK, ARAMA, ACILIS, DUYURU, RESIM)"
                 " VALUES (?1, ?2, ?3, ?4, ?5, 1, ?6)");
    for (std::size_t i = 0; i < ads.size(); ++i) {
        const Ad &ad = ads[i];
        const Category &cat = kCategories[std::size_t(ad.category)];
        QImage img(600, 400, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient bg(0, 0, 600, 400);
        bg.setColorAt(0, QColor(0, 160, 210));
        bg.setColorAt(1, QColor(10, 40, 80));
        p.fillRect(img.rect(), bg);
        p.fillRect(QRect(40, 120, 520, 200), QColor(245, 247, 250));
        drawPart(p, cat.shape, QRectF(60, 130, 480, 180), QColor::fromRgb(cat.colour));
        const QString title = QString::fromUtf16(ad.title);
        drawTextCentered(p, QRect(0, 20, 600, 60), title.size() > 18 ? 3 : 4, title, Qt::white);
        drawTextCentered(p, QRect(0, 80, 600, 30), 2, QString::fromUtf16(ad.subtitle),
                         QColor(255, 220, 60));
        drawTextCentered(p, QRect(0, 330, 600, 50), 2, u"ZENVORA B2B"_qs, Qt::white);
        p.end();
        ann.run(int(i) + 1, int(i) + 1, title, QString::fromUtf16(ad.search), ad.opening ? 1 : 0,
                encodeImage(img, "jpeg", 85));
    }
}

void insertSettings(sqlite3 *db, const DemoOptions &o) {
    Prepared set(db, "INSERT INTO settings (KEY, VALUE) VALUES (?1, ?2)");
    set.run("version", "1");
    set.run("bugun", QString::number(qint64(oleDay(kToday))));
    set.run("firma", QString::fromUtf16(u"ZENVORA OTOMOTİV YEDEK PARÇA SAN. VE TİC. A.Ş."));
    set.run("kayanyazi",
            QString::fromUtf16(u"<b><font color=\"#C00000\">Yaz kampanyası başladı!</font></b> "
                               u"Seçili fren ve debriyaj ürünlerinde %20'ye varan indirim. "
                               u"&nbsp;&nbsp; Saat 16:00'ya kadar verilen siparişler aynı gün "
                               u"kargoda."));
    set.run("demo_seed", QString::number(o.seed));
    set.run("demo_items", QString::number(o.items));
}

} // namespace

const std::vector<DemoUser> &demoUsers() {
    static const std::vector<DemoUser> users = [] {
        std::vector<DemoUser> v;
        for (const UserSpec &s : userSpecs())
            v.push_back(s.user);
        return v;
    }();
    return users;
}

void fillDemoData(sqlite3 *db, const DemoOptions &options) {
    if (options.items < 1)
        throw std::runtime_error("the demo catalogue needs at least one item");
    // A larger page cache while the token index is built; the caller's setting comes back after.
    int cacheSize = 0;
    {
        Prepared q(db, "PRAGMA cache_size");
        if (q.query())
            cacheSize = q.intAt(0);
    }
    const QByteArray restoreCache = "PRAGMA cache_size = " + QByteArray::number(cacheSize);
    exec(db, "PRAGMA cache_size = -131072");
    try {
        exec(db, "BEGIN IMMEDIATE");
        createSchema(db);
        clearTables(db);
        // Independent streams, so the catalogue size does not change the parties.
        Rng itemRng(quint64(options.seed) * 0x100000001B3ull + 11);
        Rng partyRng(quint64(options.seed) * 0x100000001B3ull + 23);
        Rng historyRng(quint64(options.seed) * 0x100000001B3ull + 37);
        insertSettings(db, options);
        insertPictures(db);
        const std::vector<ItemInfo> items = insertItems(db, options.items, itemRng);
        insertParties(db, partyRng);
        insertShipping(db);
        insertOrdersAndCarts(db, historyRng, items);
        insertStatements(db, historyRng, items);
        insertPromotions(db);
        exec(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db, restoreCache.constData(), nullptr, nullptr, nullptr);
        throw;
    }
    exec(db, restoreCache.constData());
}

void registerMachine(sqlite3 *db, const QString &machineId, const QString &userName) {
    QString id = machineId;
    id.remove(u' ');
    Prepared find(db, "SELECT SIRANO FROM users WHERE ADI = ?1");
    if (!find.query(userName))
        throw std::runtime_error("no user named \"" + userName.toStdString() + "\"");
    const int sirano = find.intAt(0);
    Prepared put(db, "INSERT OR REPLACE INTO machines (BILGISAYARID, SIRANO) VALUES (?1, ?2)");
    put.run(id, sirano);
}

std::vector<UserRow> listUsers(sqlite3 *db) {
    Prepared q(db, "SELECT SIRANO, ADI, MUSTERITIPI, CARINO, AKTIF FROM users ORDER BY SIRANO");
    std::vector<UserRow> rows;
    for (bool more = q.query(); more; more = q.next())
        rows.push_back({q.intAt(0), q.textAt(1), q.intAt(2), q.intAt(3), q.intAt(4) == 1});
    return rows;
}

} // namespace zenvo::appserver
