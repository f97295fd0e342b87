#include "widgets/statusicons.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <functional>

#include <cmath>

namespace zenvo {

namespace {

QPixmap canvas(int w, int h, qreal dpr) {
    QPixmap pm(QSize(int(std::ceil(w * dpr)), int(std::ceil(h * dpr))));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

void drawBall(QPainter &p, const QColor &base) {
    const QRectF ball(1.5, 1.5, 21, 21);
    // soft drop shadow
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(ball.translated(0, 0.8));

    QRadialGradient body(QPointF(10.5, 8.5), 14, QPointF(9, 6));
    body.setColorAt(0.0, base.lighter(150));
    body.setColorAt(0.55, base);
    body.setColorAt(1.0, base.darker(165));
    p.setBrush(body);
    p.setPen(QPen(base.darker(190), 0.9));
    p.drawEllipse(ball);

    // reflected light at the bottom edge
    QRadialGradient rim(QPointF(12, 21), 8);
    rim.setColorAt(0.0, QColor(255, 255, 255, 70));
    rim.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(QRectF(5, 15, 14, 7));
}

void drawGloss(QPainter &p) {
    QLinearGradient gloss(QPointF(0, 2.5), QPointF(0, 12));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 215));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(5, 2.6, 14, 9.2));
}

void drawHandset(QPainter &p, const QColor &color, qreal scale, QPointF centre) {
    p.save();
    p.translate(centre);
    p.scale(scale, scale);
    p.rotate(-30);
    QPainterPath path;
    // handle
    path.moveTo(-6.2, -1.8);
    path.cubicTo(-3.5, -4.6, 3.5, -4.6, 6.2, -1.8);
    path.lineTo(4.6, 0.2);
    path.cubicTo(2.6, -1.7, -2.6, -1.7, -4.6, 0.2);
    path.closeSubpath();
    // ear and mouth pieces
    path.addRoundedRect(QRectF(-7.8, -1.6, 4.6, 3.6), 1.3, 1.3);
    path.addRoundedRect(QRectF(3.2, -1.6, 4.6, 3.6), 1.3, 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path.simplified());
    p.restore();
}

void drawLorry(QPainter &p) {
    const QColor dark(0x2E, 0x34, 0x3B);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawRoundedRect(QRectF(4.5, 8.0, 9.5, 7.0), 0.8, 0.8); // cargo box
    QPainterPath cab;
    cab.moveTo(14.6, 10.0);
    cab.lineTo(17.4, 10.0);
    cab.lineTo(19.4, 12.6);
    cab.lineTo(19.4, 15.0);
    cab.lineTo(14.6, 15.0);
    cab.closeSubpath();
    p.drawPath(cab);
    p.setBrush(QColor(0xDD, 0xE6, 0xEE));
    QPainterPath window;
    window.moveTo(15.5, 10.9);
    window.lineTo(17.0, 10.9);
    window.lineTo(18.4, 12.8);
    window.lineTo(15.5, 12.8);
    window.closeSubpath();
    p.drawPath(window);
    for (qreal x : {7.2, 16.6}) {
        p.setBrush(dark);
        p.drawEllipse(QPointF(x, 16.1), 2.0, 2.0);
        p.setBrush(QColor(0xB8, 0xBE, 0xC4));
        p.drawEllipse(QPointF(x, 16.1), 0.8, 0.8);
    }
}

void drawClipboard(QPainter &p) {
    const QColor red(0xC6, 0x28, 0x28);
    p.setPen(QPen(red.darker(140), 0.7));
    p.setBrush(red);
    p.drawRoundedRect(QRectF(7.0, 5.5, 10.0, 13.0), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.4, 8.0, 7.2, 9.0));
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawRoundedRect(QRectF(9.5, 4.4, 5.0, 2.6), 0.9, 0.9); // clip
    p.setPen(QPen(red, 0.9));
    for (qreal y : {10.2, 12.2, 14.2})
        p.drawLine(QPointF(9.4, y), QPointF(14.6, y));
}

void drawQuestionMark(QPainter &p) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 2.0, 21, 21), Qt::AlignCenter, QStringLiteral("?"));
}

QColor ballColor(int index) {
    switch (index) {
    case 0:
    case 7:
        return QColor(0x2F, 0xB3, 0x3C);
    case 1:
    case 6:
        return QColor(0x1E, 0x78, 0xD2);
    case 2:
        return QColor(0xC9, 0xCE, 0xD3);
    case 3:
    case 8:
        return QColor(0xF5, 0x8A, 0x12);
    case 4:
        return QColor(0xD8, 0x26, 0x22);
    case 5:
        return QColor(0xF6, 0xD0, 0x1E);
    default:
        return {};
    }
}

QPixmap renderStatusImage(int index, qreal dpr) {
    QPixmap pm = canvas(kStatusIconSize, kStatusIconSize, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == 9) {
        drawHandset(p, QColor(0x16, 0x16, 0x16), 1.35, QPointF(12, 12.5));
        return pm;
    }
    drawBall(p, ballColor(index));
    switch (index) {
    case 2:
        drawLorry(p);
        break;
    case 5:
        drawClipboard(p);
        break;
    case 6:
        drawQuestionMark(p);
        break;
    case 7:
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6.0, 10.6, 12.0, 3.4), 1.2, 1.2);
        break;
    case 8:
        drawHandset(p, QColor(0x10, 0x10, 0x10), 1.0, QPointF(12, 13));
        break;
    default:
        break;
    }
    drawGloss(p);
    return pm;
}

QPixmap cached(const QString &key, qreal dpr, const std::function<QPixmap()> &make) {
    static QHash<QString, QPixmap> cache;
    const QString full = key + u'@' + QString::number(dpr);
    auto it = cache.constFind(full);
    if (it != cache.constEnd())
        return *it;
    return *cache.insert(full, make());
}

} // namespace

QPixmap statusImage(int index, qreal dpr) {
    if (index < 0 || index >= kStatusImageCount)
        return {};
    return cached(QStringLiteral("status%1").arg(index), dpr,
                  [&] { return renderStatusImage(index, dpr); });
}

int statusImageIndex(int durum) {
    switch (durum) {
    case 0:
        return 4;
    case 1:
        return 0;
    case 2:
        return 8;
    case 3:
        return 2;
    case 4:
        return 1;
    case 5:
        return 5;
    default:
        return -1;
    }
}

QPixmap statusIcon(int durum, qreal dpr) {
    return statusImage(statusImageIndex(durum), dpr);
}

QString statusText(int durum) {
    switch (durum) {
    case 0:
        return QStringLiteral(" Yok  ");
    case 1:
        return QStringLiteral(" Stok mevcut  ");
    case 2:
        return QStringLiteral(" Telefon Açınız  ");
    case 3:
        return QStringLiteral(" Yolda  ");
    case 4:
        return QStringLiteral(" Özel Sipariş  ");
    case 5:
        return QStringLiteral(" Tedarik Sürecinde ");
    default:
        return {};
    }
}

QPixmap flagIcon(int index, qreal dpr) {
    return cached(QStringLiteral("flag%1").arg(index == 1 ? 1 : 0), dpr, [&] {
        QPixmap pm = canvas(kFlagIconSize, kFlagIconSize, dpr);
        if (index != 1)
            return pm;
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath tick;
        tick.moveTo(2.6, 8.6);
        tick.lineTo(6.3, 12.3);
        tick.lineTo(13.6, 3.6);
        p.setPen(QPen(QColor(0x1B, 0x7F, 0x2A), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
        p.setPen(QPen(QColor(0x3C, 0xC2, 0x4A), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
        return pm;
    });
}

QPixmap cameraIcon(qreal dpr) {
    return cached(QStringLiteral("camera"), dpr, [&] {
        QPixmap pm = canvas(20, 16, dpr);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor body(0x3A, 0x40, 0x48);
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawRoundedRect(QRectF(6.0, 2.0, 7.0, 3.0), 1.0, 1.0); // viewfinder bump
        QLinearGradient shade(QPointF(0, 4), QPointF(0, 15));
        shade.setColorAt(0, body.lighter(140));
        shade.setColorAt(1, body);
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(1.5, 4.0, 17.0, 10.5), 2.0, 2.0);
        p.setBrush(QColor(0xE8, 0xEC, 0xF0));
        p.drawEllipse(QPointF(10.0, 9.2), 4.2, 4.2);
        QRadialGradient glass(QPointF(9.2, 8.4), 3.2);
        glass.setColorAt(0, QColor(0x7F, 0xC4, 0xF0));
        glass.setColorAt(1, QColor(0x1C, 0x4E, 0x80));
        p.setBrush(glass);
        p.drawEllipse(QPointF(10.0, 9.2), 3.0, 3.0);
        p.setBrush(QColor(0xFF, 0xD5, 0x4F));
        p.drawRect(QRectF(3.2, 5.6, 2.2, 1.4)); // flash
        return pm;
    });
}

const int StatusLegend::kOrder[6] = {1, 2, 3, 5, 4, 0};

StatusLegend::StatusLegend(QWidget *parent) : QWidget(parent) {
    setFixedHeight(27);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    row->setSpacing(2);
    QFont font = this->font();
    font.setPixelSize(11);
    font.setBold(true);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0x43, 0x4C, 0x58));
    auto addText = [&](const QString &text, const QString &name) {
        auto *label = new QLabel(text, this);
        label->setObjectName(name);
        label->setFont(font);
        label->setPalette(pal);
        row->addWidget(label);
    };
    addText(QStringLiteral("Durum Açıklaması:    "), QStringLiteral("legendCaption"));
    for (int code : kOrder) {
        auto *icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("legendIcon%1").arg(code));
        icon->setFixedSize(kStatusIconSize, kStatusIconSize);
        icon->setPixmap(statusIcon(code, devicePixelRatioF()));
        row->addWidget(icon);
        addText(statusText(code), QStringLiteral("legendText%1").arg(code));
    }
    row->addStretch(1);
}

} // namespace zenvo
