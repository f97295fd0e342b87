#include "widgets/gifbanner.h"

#include <QImageReader>
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
    // Decode the first frame apart, so a broken picture is refused before anything shows.
    QByteArray probe = data;
    QBuffer probeBuffer(&probe);
    probeBuffer.open(QIODevice::ReadOnly);
    QImageReader reader(&probeBuffer);
    const QImage first = reader.read();
    if (first.isNull())
        return false;
    m_size = first.size();
    m_data = data;
    m_buffer.setBuffer(&m_data);
    m_buffer.open(QIODevice::ReadOnly);
    m_movie = new QMovie(&m_buffer, QByteArray(), this);
    m_movie->setCacheMode(QMovie::CacheAll);
    connect(m_movie, &QMovie::frameChanged, this, [this] { update(); });
    if (m_mode == Mode::NaturalHeight)
        setFixedHeight(m_size.height());
    m_movie->start();
    update();
    return true;
}

QSize GifBanner::pictureSize() const {
    return m_movie ? m_size : QSize();
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
