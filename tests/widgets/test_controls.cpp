#include "gifwriter.h"
#include "widgets/busyindicator.h"
#include "widgets/gifbanner.h"
#include "widgets/marquee.h"
#include "widgets/moneyedit.h"
#include "widgets/statusicons.h"

#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QTest>

using namespace zenvo;

namespace {

// Colour at the centre of the ball, below its glossy highlight.
QColor ballColour(const QPixmap &pm) {
    return pm.toImage().pixelColor(pm.width() / 2, pm.height() * 3 / 4);
}

QByteArray twoFrameGif(int w, int h) {
    const QColor palette[4] = {Qt::white, QColor(0x00, 0xA0, 0xD2), Qt::red, Qt::black};
    QVector<std::uint8_t> a(w * h), b(w * h);
    for (int i = 0; i < w * h; ++i) {
        a[i] = std::uint8_t(i % w < w / 2 ? 1 : 2);
        b[i] = std::uint8_t(i % w < w / 2 ? 2 : 3);
    }
    return gifwriter::animatedGif(w, h, {a, b}, palette, 2);
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void statusImageList() {
        QSet<QByteArray> distinct;
        for (int i = 0; i < kStatusImageCount; ++i) {
            const QPixmap pm = statusImage(i);
            QCOMPARE(pm.size(), QSize(24, 24));
            QCOMPARE(statusImage(i, 2.0).size(), QSize(48, 48)); // crisp on dense screens
            QByteArray bytes(reinterpret_cast<const char *>(pm.toImage().constBits()),
                             pm.toImage().sizeInBytes());
            distinct.insert(bytes);
        }
        QCOMPARE(distinct.size(), kStatusImageCount);
        QVERIFY(statusImage(10).isNull());
        QVERIFY(statusImage(-1).isNull());
    }

    void statusCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("legend");
        QTest::newRow("1 green") << 1 << 0 << " Stok mevcut  ";
        QTest::newRow("2 handset") << 2 << 8 << " Telefon Açınız  ";
        QTest::newRow("3 lorry") << 3 << 2 << " Yolda  ";
        QTest::newRow("5 clipboard") << 5 << 5 << " Tedarik Sürecinde ";
        QTest::newRow("4 blue") << 4 << 1 << " Özel Sipariş  ";
        QTest::newRow("0 red") << 0 << 4 << " Yok  ";
        QTest::newRow("unknown") << 6 << -1 << "";
    }
    void statusCodes() {
        QFETCH(int, code);
        QFETCH(int, image);
        QFETCH(QString, legend);
        QCOMPARE(statusImageIndex(code), image);
        QCOMPARE(statusText(code), legend);
        QCOMPARE(statusIcon(code).isNull(), image < 0);
    }

    void ballColours() {
        auto dominant = [](const QColor &c) {
            if (c.red() > 150 && c.green() > 150 && c.blue() < 110)
                return 'y';
            if (c.red() > c.green() + 40 && c.red() > c.blue() + 40)
                return c.green() > 90 ? 'o' : 'r';
            if (c.green() > c.red() + 40 && c.green() > c.blue())
                return 'g';
            if (c.blue() > c.red() + 40)
                return 'b';
            return '?';
        };
        QCOMPARE(dominant(ballColour(statusIcon(1))), 'g');
        QCOMPARE(dominant(ballColour(statusIcon(0))), 'r');
        QCOMPARE(dominant(ballColour(statusIcon(4))), 'b');
        QCOMPARE(dominant(ballColour(statusImage(3))), 'o');
        // beside the symbol on the yellow and the grey ball
        QCOMPARE(dominant(statusImage(5).toImage().pixelColor(4, 12)), 'y');
        const QColor grey = statusImage(2).toImage().pixelColor(12, 5);
        QVERIFY(std::abs(grey.red() - grey.blue()) < 30 && grey.red() > 120);
        // the lone handset has no ball: its corners and centre-top stay clear
        QCOMPARE(statusImage(9).toImage().pixelColor(1, 1).alpha(), 0);
    }

    void flagsAndCamera() {
        const QImage empty = flagIcon(0).toImage();
        QCOMPARE(empty.size(), QSize(16, 16));
        bool anyPixel = false, green = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                anyPixel = anyPixel || empty.pixelColor(x, y).alpha() > 0;
                const QColor c = flagIcon(1).toImage().pixelColor(x, y);
                green = green || (c.alpha() > 200 && c.green() > c.red() + 60);
            }
        QVERIFY(!anyPixel);
        QVERIFY(green);
        QCOMPARE(flagIcon(7).toImage(), empty); // anything but 1 is the empty flag
        QCOMPARE(cameraIcon().size(), QSize(20, 16));
    }

    void legendStrip() {
        StatusLegend legend;
        QCOMPARE(legend.height(), 27);
        auto *caption = legend.findChild<QLabel *>(QStringLiteral("legendCaption"));
        QCOMPARE(caption->text(), QStringLiteral("Durum Açıklaması:    "));
        QVERIFY(caption->font().bold());
        QCOMPARE(caption->font().pixelSize(), 11);
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(0x43, 0x4C, 0x58));
        QStringList texts;
        int lastX = caption->geometry().right();
        legend.resize(900, 27);
        legend.show();
        for (int code : StatusLegend::kOrder) {
            auto *icon = legend.findChild<QLabel *>(QStringLiteral("legendIcon%1").arg(code));
            auto *text = legend.findChild<QLabel *>(QStringLiteral("legendText%1").arg(code));
            QCOMPARE(icon->pixmap().toImage(), statusIcon(code).toImage());
            QVERIFY(icon->geometry().left() > lastX);
            QVERIFY(text->geometry().left() > icon->geometry().left());
            lastX = text->geometry().left();
            texts << text->text();
        }
        QCOMPARE(texts, (QStringList{" Stok mevcut  ", " Telefon Açınız  ", " Yolda  ",
                                     " Tedarik Sürecinde ", " Özel Sipariş  ", " Yok  "}));
    }

    void busyIndicator() {
        BusyIndicator busy;
        QCOMPARE(busy.size(), QSize(28, 27));
        QVERIFY(busy.isHidden());
        busy.start();
        QVERIFY(busy.isVisible());
        const int first = busy.frame();
        QTRY_VERIFY(busy.frame() != first);
        QVERIFY(!busy.grab().toImage().isNull());
        busy.stop();
        QVERIFY(busy.isHidden());
        QVERIFY(!busy.isRunning());
    }

    void gifBanner() {
        const QByteArray gif = twoFrameGif(40, 10);
        GifBanner stretched(GifBanner::Mode::Stretched);
        stretched.setFixedSize(409, 100);
        QVERIFY(stretched.setGif(gif));
        QCOMPARE(stretched.pictureSize(), QSize(40, 10));
        QCOMPARE(stretched.size(), QSize(409, 100));
        const QImage shot = stretched.grab().toImage();
        QCOMPARE(shot.pixelColor(10, 50), QColor(0x00, 0xA0, 0xD2)); // stretched over the widget
        QCOMPARE(shot.pixelColor(400, 50), QColor(Qt::red));
        stretched.show();
        QTRY_VERIFY(stretched.currentFrame() == 1); // animated

        GifBanner strip(GifBanner::Mode::NaturalHeight);
        QCOMPARE(strip.height(), 0);
        QVERIFY(strip.setGif(gif));
        QCOMPARE(strip.height(), 10);
        QVERIFY(!strip.setGif(QByteArray("not a picture")));
        QVERIFY(strip.isEmpty());
        QCOMPARE(strip.height(), 0);
        QVERIFY(!strip.setGif(gif.left(gif.size() / 3)) || strip.height() == 10);
        strip.clear();
        QCOMPARE(strip.height(), 0);
    }

    void marquee() {
        Marquee m;
        m.resize(300, 40);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(24);
        m.setFont(f);
        m.setItemSpacing(5);
        m.addHtml(QStringLiteral("<b>Kampanya</b> <font color=red>İndirim</font>"));
        QCOMPARE(m.itemCount(), 1);
        QVERIFY(m.stripWidth() > 100);
        m.show();
        m.start();
        QTRY_VERIFY(m.offset() > 5);
        m.stop();
        const int stopped = m.offset();
        QCoreApplication::processEvents();
        QCOMPARE(m.offset(), stopped);
        QPixmap picture(120, 30);
        picture.fill(Qt::blue);
        m.clearItems();
        m.addPicture(picture);
        QCOMPARE(m.stripWidth(), 125);
        m.clearItems();
        m.start(); // runs with no item, as the scrolling line does with a blank text
        QVERIFY(m.isRunning());
    }

    void moneyEdit() {
        MoneyEdit edit;
        edit.setValue(1234.5);
        QCOMPARE(edit.text(), QStringLiteral("1.234,50"));
        edit.setDisplayFormat(QStringLiteral(",0.00 TL;-,0.00 TL"));
        QCOMPARE(edit.text(), QStringLiteral("1.234,50 TL"));
        edit.setValue(-12.345);
        QCOMPARE(edit.text(), QStringLiteral("-12,35 TL"));

        edit.setMaximum(100);
        QCOMPARE(edit.value(), -12.345);
        edit.setValue(150);
        QCOMPARE(edit.value(), 100.0);
        QCOMPARE(edit.text(), QStringLiteral("100,00 TL"));

        // typing: digits and separators only, the value follows as typed, capped at the maximum
        edit.show();
        edit.setFocus();
        QApplication::setActiveWindow(&edit);
        QTRY_VERIFY(edit.hasFocus());
        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("1a2,5x"));
        QCOMPARE(edit.text(), QStringLiteral("12,5"));
        QCOMPARE(edit.value(), 12.5);
        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("250"));
        QCOMPARE(edit.value(), 100.0);
        QTest::keyClick(&edit, Qt::Key_Return);
        QCOMPARE(edit.text(), QStringLiteral("100"));
        edit.clearFocus();
        QCOMPARE(edit.text(), QStringLiteral("100,00 TL"));

        edit.setFormatOnEditing(true);
        edit.setFocus();
        QTRY_VERIFY(edit.hasFocus());
        QCOMPARE(edit.text(), QStringLiteral("100,00 TL"));
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"
