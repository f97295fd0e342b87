#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QVector>

#include <cstdint>

namespace gifwriter {

// An animated GIF (looping) of equally sized frames, each a list of palette indexes (0..3).
// The LZW data restarts its dictionary every two pixels, so every code stays 3 bits wide.
inline QByteArray animatedGif(int width, int height, const QList<QVector<std::uint8_t>> &frames,
                              const QColor (&palette)[4], int delayCs = 5) {
    QByteArray out("GIF89a");
    auto put16 = [&out](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    put16(width);
    put16(height);
    out.append(char(0x91)); // global table of 4 colours
    out.append('\0');
    out.append('\0');
    for (const QColor &c : palette) {
        out.append(char(c.red()));
        out.append(char(c.green()));
        out.append(char(c.blue()));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const auto &pixels : frames) {
        out.append("\x21\xF9\x04\x00", 4);
        put16(delayCs);
        out.append("\x00\x00", 2);
        out.append(char(0x2C));
        put16(0);
        put16(0);
        put16(width);
        put16(height);
        out.append('\0');
        out.append(char(2)); // minimum code size

        QByteArray data;
        quint32 acc = 0;
        int bits = 0;
        auto putCode = [&](int code) {
            acc |= quint32(code) << bits;
            bits += 3;
            while (bits >= 8) {
                data.append(char(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (int i = 0; i < pixels.size(); ++i) {
            if (i % 2 == 0)
                putCode(4); // clear
            putCode(pixels[i] & 3);
        }
        putCode(5); // end of information
        if (bits > 0)
            data.append(char(acc & 0xFF));
        for (int i = 0; i < data.size(); i += 255) {
            const QByteArray block = data.mid(i, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append('\0');
    }
    out.append(char(0x3B));
    return out;
}

} // namespace gifwriter
