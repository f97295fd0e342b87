#pragma once

#include <QBasicTimer>
#include <QWidget>

namespace zenvo {

// The small looping busy animation (28 x 27): shown and turning while a load runs, hidden
// while idle.
class BusyIndicator final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameCount = 12;
    explicit BusyIndicator(QWidget *parent = nullptr);

    void start(); // shows the widget and animates
    void stop();  // stops and hides
    bool isRunning() const { return m_timer.isActive(); }
    int frame() const { return m_frame; }
    QSize sizeHint() const override { return {28, 27}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QBasicTimer m_timer;
    int m_frame = 0;
};

} // namespace zenvo
