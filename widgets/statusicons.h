#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace zenvo {

// The status image list: ten glossy 24 x 24 pictures drawn in code and cached per device pixel
// ratio. Indexes: 0 green ball, 1 blue ball, 2 light grey ball with a lorry, 3 orange ball,
// 4 red ball, 5 yellow ball with a red clipboard, 6 blue ball with a question mark, 7 green ball
// with a white bar, 8 orange ball with a telephone handset, 9 a black handset.
inline constexpr int kStatusImageCount = 10;
inline constexpr int kStatusIconSize = 24;
QPixmap statusImage(int index, qreal dpr = 1.0);

// Stock status codes 0..5 and their place in the image list; -1 for any other code.
int statusImageIndex(int durum);
QPixmap statusIcon(int durum, qreal dpr = 1.0); // null pixmap for an unknown code
QString statusText(int durum);                  // legend text, empty for an unknown code

// Flag pictures (16 x 16): index 0 is empty, index 1 a green tick.
inline constexpr int kFlagIconSize = 16;
QPixmap flagIcon(int index, qreal dpr = 1.0);
// Small camera (20 x 16) for rows that have a picture.
QPixmap cameraIcon(qreal dpr = 1.0);

// The legend strip: "Durum Açıklaması:" followed by the icon and text of every status code.
class StatusLegend final : public QWidget {
    Q_OBJECT
public:
    explicit StatusLegend(QWidget *parent = nullptr);
    static const int kOrder[6]; // codes in the order the strip shows them
};

} // namespace zenvo
