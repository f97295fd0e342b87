#include "widgets/gifbanner.h"

#include <QMovie>
#include <QPainter>

namespace zenvo {

GifBanner::GifBanner(Mode mode, QWidget *parent) : QWidget(parent), m_mode(mode) {
    if (m_mode == Mode::NaturalHeight)
        setFixedHeight(0);
}

GifBanner::~GifBanner() {
    clear();
}

void GifBanner::clear() {
    if (m_movie) {
        m_movie->stop();
        delete m_movie;
        m_movie = nullptr;
    }
    m_buffer.close();
    m_data.clear();
    if (m_mode == Mode::NaturalHeight)
        setFixedHeight(0);
    update();
}

bool GifBanner::setGif(const QByteArray &data) {
    clear();
    m_data = data;
    m_buffer.setBuffer(&m_data);
    m_buffer.open(QIODevice::ReadOnly);
    auto *movie = new QMovie(&m_buffer, QByteArray(), this);
    movie->setCacheMode(QMovie::CacheAll);
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull()) {
        delete movie;
        clear();
        return false;
    }
    m_movie = movie;
    connect(m_movie, &QMovie::frameChanged, this, [this] { update(); });
    if (m_mode == Mode::NaturalHeight)
        setFixedHeight(m_movie->currentImage().height());
    m_movie->start();
    update();
    return true;
}

QSize GifBanner::pictureSize() const {
    return m_movie ? m_movie->currentImage().size() : QSize();
}

int GifBanner::currentFrame() const {
    return m_movie ? m_movie->currentFrameNumber() : -1;
}

void GifBanner::paintEvent(QPaintEvent *) {
    if (!m_movie)
        return;
    QPainter p(this);
    const QImage frame = m_movie->currentImage();
    if (m_mode == Mode::Stretched) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), frame);
    } else {
        p.drawImage(QPoint((width() - frame.width()) / 2, 0), frame);
    }
}

} // namespace zenvo
