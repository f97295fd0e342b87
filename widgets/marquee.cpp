#include "widgets/marquee.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTimerEvent>

#include <cmath>

namespace zenvo {

Marquee::Marquee(QWidget *parent) : QWidget(parent) {}

void Marquee::render(Item &item) const {
    if (item.html.isNull())
        return;
    QTextDocument doc;
    doc.setDefaultFont(font());
    doc.setDocumentMargin(0);
    doc.setHtml(item.html);
    doc.setTextWidth(-1);
    const QSizeF size = doc.size();
    const qreal dpr = devicePixelRatioF();
    QPixmap pm((size * dpr).toSize().expandedTo(QSize(1, 1)));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = palette();
    ctx.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    doc.documentLayout()->draw(&p, ctx);
    item.picture = pm;
}

void Marquee::addHtml(const QString &html) {
    Item item;
    item.html = html.isNull() ? QStringLiteral("") : html;
    render(item);
    m_items.push_back(std::move(item));
    update();
}

void Marquee::addPicture(const QPixmap &picture) {
    Item item;
    item.picture = picture;
    m_items.push_back(std::move(item));
    update();
}

void Marquee::clearItems() {
    m_items.clear();
    update();
}

void Marquee::start() {
    if (m_timer.isActive())
        return;
    m_clock.start();
    m_timer.start(16, this);
}

void Marquee::stop() {
    if (!m_timer.isActive())
        return;
    m_base = offset();
    m_timer.stop();
}

void Marquee::setSpeed(int pixelsPerSecond) {
    m_base = offset();
    if (m_timer.isActive())
        m_clock.start();
    m_speed = std::max(pixelsPerSecond, 1);
}

void Marquee::setItemSpacing(int pixels) {
    m_spacing = std::max(pixels, 0);
    update();
}

int Marquee::offset() const {
    const qint64 moved = m_timer.isActive() ? m_clock.elapsed() * m_speed / 1000 : 0;
    return int((m_base + moved) % (qint64(1) << 30));
}

int Marquee::stripWidth() const {
    int w = 0;
    for (const Item &item : m_items)
        w += int(std::ceil(item.picture.width() / item.picture.devicePixelRatio())) + m_spacing;
    return w;
}

void Marquee::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_timer.timerId())
        return QWidget::timerEvent(event);
    update();
}

void Marquee::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        for (Item &item : m_items)
            render(item);
}

void Marquee::paintEvent(QPaintEvent *) {
    if (m_items.empty())
        return;
    QPainter p(this);
    const int strip = stripWidth();
    const int period = width() + strip;
    if (period <= 0)
        return;
    int x = width() - offset() % period;
    for (const Item &item : m_items) {
        const QSize size = (QSizeF(item.picture.size()) / item.picture.devicePixelRatio()).toSize();
        if (x + size.width() > 0 && x < width())
            p.drawPixmap(QPoint(x, (height() - size.height()) / 2), item.picture);
        x += size.width() + m_spacing;
    }
}

} // namespace zenvo
