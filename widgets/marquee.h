#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <vector>

namespace zenvo {

// A line that scrolls its items from right to left, over and over: items of simple HTML text
// and pictures, laid out one after another with a gap between them.
class Marquee final : public QWidget {
    Q_OBJECT
public:
    explicit Marquee(QWidget *parent = nullptr);

    void addHtml(const QString &html);
    void addPicture(const QPixmap &picture);
    void clearItems();
    int itemCount() const { return int(m_items.size()); }

    void start(); // also when there are no items: they scroll as soon as they are added
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

    void setSpeed(int pixelsPerSecond);
    void setItemSpacing(int pixels);
    int offset() const;     // how far the strip has moved, in pixels
    int stripWidth() const; // width of all items with their gaps

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Item {
        QString html;
        QPixmap picture; // rendered text, or the picture itself
    };
    void render(Item &item) const;

    std::vector<Item> m_items;
    QBasicTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_base = 0; // offset accumulated before the last start
    int m_speed = 60;
    int m_spacing = 40;
};

} // namespace zenvo
