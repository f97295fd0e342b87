#include "widgets/busyindicator.h"

#include <QPainter>
#include <QTimerEvent>

#include <cmath>

namespace zenvo {

BusyIndicator::BusyIndicator(QWidget *parent) : QWidget(parent) {
    setFixedSize(28, 27);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

void BusyIndicator::start() {
    show();
    if (!m_timer.isActive())
        m_timer.start(80, this);
}

void BusyIndicator::stop() {
    m_timer.stop();
    hide();
}

void BusyIndicator::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_timer.timerId())
        return QWidget::timerEvent(event);
    m_frame = (m_frame + 1) % kFrameCount;
    update();
}

void BusyIndicator::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal outer = std::min(width(), height()) / 2.0 - 1.5;
    const qreal inner = outer * 0.45;
    for (int i = 0; i < kFrameCount; ++i) {
        // the spoke at the current frame is darkest, the ones behind it fade out
        const int age = (m_frame - i + kFrameCount) % kFrameCount;
        QColor c(0x00, 0x8C, 0xBA);
        c.setAlphaF(1.0 - 0.8 * age / qreal(kFrameCount - 1));
        p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap));
        const qreal angle = 2 * M_PI * i / kFrameCount - M_PI / 2;
        const QPointF dir(std::cos(angle), std::sin(angle));
        p.drawLine(centre + dir * inner, centre + dir * outer);
    }
}

} // namespace zenvo
