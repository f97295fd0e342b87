#include "widgets/fonts.h"

#include <QStringList>

namespace zenvo {

namespace {

QFont face(const QStringList &families, int pixelSize, bool bold) {
    QFont f(families.front());
    f.setFamilies(families);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

} // namespace

QFont tahomaFont(int pixelSize, bool bold) {
    return face({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")}, pixelSize, bold);
}

QFont arialFont(int pixelSize, bool bold) {
    return face(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
        pixelSize, bold);
}

QFont courierFont(int pixelSize, bool bold) {
    QFont f = face({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("DejaVu Sans Mono")},
                   pixelSize, bold);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

} // namespace zenvo
