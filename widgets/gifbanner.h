#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QWidget>

class QMovie;

namespace zenvo {

// An animated GIF banner. Stretched: the picture fills the widget (the header banner, 409 x 100).
// NaturalHeight: the widget is as high as the picture (0 px when there is none) and the picture
// is drawn at its size, centred across the width (the top strip).
class GifBanner final : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Stretched, NaturalHeight };
    explicit GifBanner(Mode mode = Mode::Stretched, QWidget *parent = nullptr);
    ~GifBanner() override;

    // Loads and starts the animation; false (and the banner emptied) when data is no picture.
    bool setGif(const QByteArray &data);
    void clear();
    bool isEmpty() const { return m_movie == nullptr; }
    QSize pictureSize() const;
    int currentFrame() const;
    Mode mode() const { return m_mode; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Mode m_mode;
    QByteArray m_data;
    QBuffer m_buffer;
    QMovie *m_movie = nullptr;
    QSize m_size;
};

} // namespace zenvo
