#include "app/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace zenvo {

namespace {

const QColor kTurquoise(0x1F, 0x9E, 0xA6);
const QColor kDeep(0x13, 0x6F, 0x76);
const QColor kSlate(0x2F, 0x3B, 0x45);
const QColor kOrange(0xF0, 0x8A, 0x24);

constexpr int kIcon = 32;

QPixmap canvas(int w, int h) {
    QPixmap pm(w * 2, h * 2);
    pm.setDevicePixelRatio(2.0);
    pm.fill(Qt::transparent);
    return pm;
}

QPen pen(const QColor &c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The emblem: a turquoise disc with a white gear-like "Z".
void drawEmblem(QPainter &p, const QRectF &r) {
    QRadialGradient g(r.center() - QPointF(r.width() * 0.2, r.height() * 0.2), r.width() * 0.7);
    g.setColorAt(0, QColor(0x4F, 0xD0, 0xD6));
    g.setColorAt(1, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(r);
    const qreal m = r.width() * 0.27;
    const QRectF in = r.adjusted(m, m, -m, -m);
    QPainterPath z;
    z.moveTo(in.topLeft());
    z.lineTo(in.topRight());
    z.lineTo(in.bottomLeft());
    z.lineTo(in.bottomRight());
    p.setPen(pen(Qt::white, r.width() * 0.11));
    p.setBrush(Qt::NoBrush);
    p.drawPath(z);
}

void drawSheet(QPainter &p, const QRectF &r, const QColor &fill) {
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 7, r.top());
    sheet.lineTo(r.right(), r.top() + 7);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(pen(kSlate, 1.4));
    p.setBrush(fill);
    p.drawPath(sheet);
}

QPixmap tabPicture(int index) {
    QPixmap pm = canvas(kIcon, kIcon);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: { // stock list: a list with a magnifier
        drawSheet(p, QRectF(4, 3, 19, 24), Qt::white);
        p.setPen(pen(kTurquoise, 2));
        for (int y = 10; y <= 22; y += 4)
            p.drawLine(QPointF(8, y), QPointF(18, y));
        p.setPen(pen(kSlate, 2.6));
        p.setBrush(QColor(0xDF, 0xF3, 0xF4));
        p.drawEllipse(QPointF(21, 20), 5.5, 5.5);
        p.drawLine(QPointF(25, 24), QPointF(29, 28));
        break;
    }
    case 1: { // account statement: a ledger with a coin
        drawSheet(p, QRectF(5, 3, 20, 25), Qt::white);
        p.setPen(pen(kSlate, 1.4));
        for (int y = 9; y <= 21; y += 4)
            p.drawLine(QPointF(9, y), QPointF(21, y));
        p.setPen(pen(kDeep, 1.2));
        p.setBrush(QColor(0xF6, 0xC4, 0x45));
        p.drawEllipse(QPointF(23, 23), 6, 6);
        p.setPen(pen(kDeep, 1.6));
        p.drawLine(QPointF(23, 20), QPointF(23, 26));
        break;
    }
    case 3: { // previous orders: a clock over a sheet
        drawSheet(p, QRectF(3, 3, 18, 23), Qt::white);
        p.setPen(pen(kSlate, 1.6));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(21, 20), 8, 8);
        p.setPen(pen(kTurquoise, 2));
        p.drawLine(QPointF(21, 20), QPointF(21, 15));
        p.drawLine(QPointF(21, 20), QPointF(25, 22));
        break;
    }
    case 5: { // announcements: a megaphone
        QPainterPath horn;
        horn.moveTo(6, 13);
        horn.lineTo(22, 5);
        horn.lineTo(22, 27);
        horn.lineTo(6, 19);
        horn.closeSubpath();
        p.setPen(pen(kSlate, 1.5));
        p.setBrush(kTurquoise);
        p.drawPath(horn);
        p.setBrush(kSlate);
        p.drawRect(QRectF(3, 12, 4, 8));
        p.setPen(pen(kOrange, 2));
        p.drawLine(QPointF(26, 12), QPointF(29, 10));
        p.drawLine(QPointF(26, 16), QPointF(30, 16));
        p.drawLine(QPointF(26, 20), QPointF(29, 22));
        p.setPen(pen(kSlate, 2));
        p.drawLine(QPointF(10, 20), QPointF(12, 28));
        break;
    }
    case 6: { // campaign items: a price tag with a percent sign
        QPainterPath tag;
        tag.moveTo(4, 15);
        tag.lineTo(15, 4);
        tag.lineTo(28, 4);
        tag.lineTo(28, 17);
        tag.lineTo(17, 28);
        tag.closeSubpath();
        p.setPen(pen(QColor(0xA4, 0x2A, 0x1E), 1.5));
        p.setBrush(QColor(0xE2, 0x4B, 0x3B));
        p.drawPath(tag);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(23, 9), 2, 2);
        QFont f;
        f.setPixelSize(13);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(7, 9, 18, 16), Qt::AlignCenter, QStringLiteral("%"));
        break;
    }
    case 7: { // balances: stacked coins
        for (int i = 0; i < 4; ++i) {
            const qreal y = 24 - i * 5;
            p.setPen(pen(QColor(0x9C, 0x6B, 0x0E), 1.3));
            p.setBrush(QColor(0xF6, 0xC4, 0x45));
            p.drawEllipse(QRectF(5, y - 3, 17, 7));
        }
        p.setPen(pen(kDeep, 1.5));
        p.setBrush(kTurquoise);
        p.drawEllipse(QPointF(24, 12), 6, 6);
        p.setPen(pen(Qt::white, 1.6));
        p.drawLine(QPointF(24, 9), QPointF(24, 15));
        p.drawLine(QPointF(21, 12), QPointF(27, 12));
        break;
    }
    case 8: { // cart
        p.setPen(pen(kSlate, 2.2));
        p.setBrush(Qt::NoBrush);
        QPainterPath cart;
        cart.moveTo(2, 6);
        cart.lineTo(7, 6);
        cart.lineTo(10, 21);
        cart.lineTo(26, 21);
        cart.lineTo(29, 10);
        cart.lineTo(8.5, 10);
        p.drawPath(cart);
        p.setBrush(kTurquoise);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(10.5, 12, 16, 7));
        p.setBrush(kSlate);
        p.drawEllipse(QPointF(12, 26), 2.6, 2.6);
        p.drawEllipse(QPointF(24, 26), 2.6, 2.6);
        break;
    }
    case 10: { // new items: a star badge
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            const qreal rad = i % 2 ? 6.5 : 14;
            const QPointF pt(16 + rad * std::cos(a), 17 + rad * std::sin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(pen(QColor(0xB8, 0x6E, 0x00), 1.4));
        p.setBrush(QColor(0xFF, 0xC1, 0x2E));
        p.drawPath(star);
        break;
    }
    default: { // unused places of the image list: a plain turquoise dot
        p.setPen(Qt::NoPen);
        p.setBrush(kTurquoise);
        p.drawEllipse(QPointF(16, 16), 8, 8);
        break;
    }
    }
    return pm;
}

} // namespace

QPixmap logoResmi(int height) {
    const int w = int(height * 3.3);
    QPixmap pm = canvas(w, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal d = height * 0.78;
    drawEmblem(p, QRectF(height * 0.08, (height - d) / 2, d, d));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(height * 0.36));
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(f);
    p.setPen(kDeep);
    const qreal x = height * 0.08 + d + height * 0.14;
    p.drawText(QRectF(x, height * 0.16, w - x, height * 0.42), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("ZENVORA"));
    QFont s = f;
    s.setPixelSize(int(height * 0.15));
    s.setBold(false);
    s.setLetterSpacing(QFont::PercentageSpacing, 118);
    p.setFont(s);
    p.setPen(kSlate);
    p.drawText(QRectF(x + 2, height * 0.58, w - x, height * 0.22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("OTOMOTİV YEDEK PARÇA"));
    return pm;
}

QPixmap girisArkaPlani(const QSize &size) {
    QPixmap pm = canvas(size.width(), size.height());
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xF7, 0xF9, 0xFA));
    g.setColorAt(1, QColor(0xDC, 0xE3, 0xE6));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    // A turquoise band across the top with soft arcs.
    const int band = 150;
    QLinearGradient t(0, 0, size.width(), band);
    t.setColorAt(0, QColor(0x17, 0x86, 0x8E));
    t.setColorAt(1, QColor(0x3D, 0xBA, 0xC2));
    QPainterPath top;
    top.moveTo(0, 0);
    top.lineTo(size.width(), 0);
    top.lineTo(size.width(), band - 30);
    top.cubicTo(size.width() * 0.7, band + 10, size.width() * 0.3, band - 40, 0, band);
    top.closeSubpath();
    p.fillPath(top, t);
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(size.width() - 40, 20), 80, 80);
    p.drawEllipse(QPointF(size.width() - 40, 20), 110, 110);
    const qreal d = 64;
    drawEmblem(p, QRectF((size.width() - d) / 2, 22, d, d));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(22);
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 90, size.width(), 28), Qt::AlignCenter, QStringLiteral("ZENVORA B2B"));
    return pm;
}

QIcon sekmeSimgesi(int index) {
    return QIcon(tabPicture(index));
}

QIcon araSimgesi() {
    QPixmap pm = canvas(24, 24);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(kDeep, 2.6));
    p.setBrush(QColor(0xDF, 0xF3, 0xF4));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    return QIcon(pm);
}

QIcon temizleSimgesi() {
    QPixmap pm = canvas(24, 24);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD9, 0x4A, 0x3D));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(pen(Qt::white, 2.4));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
    return QIcon(pm);
}

QIcon menuSimgesi() {
    QPixmap pm = canvas(40, 40);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kTurquoise);
    p.drawRoundedRect(QRectF(2, 2, 36, 36), 7, 7);
    p.setPen(pen(Qt::white, 3.2));
    for (int y = 12; y <= 28; y += 8)
        p.drawLine(QPointF(11, y), QPointF(29, y));
    return QIcon(pm);
}

QPixmap aramaKutusuSimgesi() {
    QPixmap pm = canvas(24, 24);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(kSlate, 1.4));
    p.setBrush(QColor(0xF6, 0xC4, 0x45));
    p.drawRoundedRect(QRectF(3, 7, 18, 13), 2, 2);
    p.setBrush(QColor(0xE5, 0xA8, 0x20));
    p.drawRect(QRectF(3, 7, 18, 4));
    p.setPen(pen(kDeep, 1.6));
    p.drawLine(QPointF(9, 15), QPointF(15, 15));
    return pm;
}

} // namespace zenvo
