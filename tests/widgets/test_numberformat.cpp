#include "widgets/numberformat.h"

#include <QTest>

#include <limits>

using namespace zenvo;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void formatFloat_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const QString money = QStringLiteral("#,###,##0.00");
        QTest::newRow("thousands") << money << 1234.5 << "1.234,50";
        QTest::newRow("millions") << money << 1234567.891 << "1.234.567,89";
        QTest::newRow("below one") << money << 0.5 << "0,50";
        QTest::newRow("zero") << money << 0.0 << "0,00";
        QTest::newRow("negative") << money << -987.6 << "-987,60";
        QTest::newRow("half up as read") << money << 2.675 << "2,68";
        QTest::newRow("half of 1.005") << money << 1.005 << "1,01";
        QTest::newRow("negative half") << money << -2.675 << "-2,68";
        QTest::newRow("rounds to carry") << money << 999999.999 << "1.000.000,00";
        QTest::newRow("tiny negative is zero") << money << -0.001 << "0,00";
        QTest::newRow("two int digits") << QStringLiteral("#,###,##00.00") << 5.0 << "05,00";
        QTest::newRow("no leading zero") << QStringLiteral("#,###,##.00") << 0.994 << ",99";
        QTest::newRow("TL positive")
            << QStringLiteral(",0.00 TL;-,0.00 TL") << 1500.0 << "1.500,00 TL";
        QTest::newRow("TL negative")
            << QStringLiteral(",0.00 TL;-,0.00 TL") << -12.345 << "-12,35 TL";
        QTest::newRow("optional decimals") << QStringLiteral("0.##") << 3.10 << "3,1";
        QTest::newRow("quoted literal") << QStringLiteral("\"#\"0") << 7.0 << "#7";
        QTest::newRow("zero section") << QStringLiteral("0.00;-0.00;\"yok\"") << 0.0 << "yok";
        QTest::newRow("huge") << money << 1e20 << "100.000.000.000.000.000.000,00";
        QTest::newRow("nan") << money << std::numeric_limits<double>::quiet_NaN() << "NAN";
        QTest::newRow("empty pattern") << QString() << 1234.5 << "1234,5";
    }
    void formatFloat() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(zenvo::formatFloat(pattern, value), expected);
    }

    // Rounding through the two-decimal text with Turkish separators; a half is decided on the
    // value as it reads, not on its binary approximation.
    void ikiHaneYuvarla_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("1.005") << 1.005 << 1.01;
        QTest::newRow("2.675") << 2.675 << 2.68;
        QTest::newRow("-2.675") << -2.675 << -2.68;
        QTest::newRow("0.994") << 0.994 << 0.99;
        QTest::newRow("0.995") << 0.995 << 1.0;
        QTest::newRow("0.005") << 0.005 << 0.01;
        QTest::newRow("-0.004") << -0.004 << 0.0;
        QTest::newRow("1234567.891") << 1234567.891 << 1234567.89;
        QTest::newRow("159.831") << 135.45 * 1.18 << 159.83;
        QTest::newRow("sum drift") << 0.1 + 0.2 << 0.3;
        QTest::newRow("integral") << 42.0 << 42.0;
        QTest::newRow("beyond 1e15 untouched") << 1e16 + 2 << 1e16 + 2;
    }
    void ikiHaneYuvarla() {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(IkiHaneYuvarla(value), expected);
    }

    void ikiHaneYuvarlaOtherSeparators() {
        // The same result whatever the user's separators are.
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(IkiHaneYuvarla(1234567.891, us), 1234567.89);
        QCOMPARE(IkiHaneYuvarla(0.125, us), 0.13);
        const QLocale de(QLocale::German, QLocale::Germany);
        QCOMPARE(IkiHaneYuvarla(-1000.005, de), -1000.01);
    }

    void parseNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("grouped") << "1.234,50" << 1234.5 << true;
        QTest::newRow("no leading zero") << ",75" << 0.75 << true;
        QTest::newRow("currency suffix") << "-1.500,25 TL" << -1500.25 << true;
        QTest::newRow("plain") << "17" << 17.0 << true;
        QTest::newRow("empty") << "" << 0.0 << false;
        QTest::newRow("letters only") << "TL" << 0.0 << false;
    }
    void parseNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(bool, ok);
        bool parsed = !ok;
        QCOMPARE(zenvo::parseNumber(text, QLocale(), &parsed), expected);
        QCOMPARE(parsed, ok);
    }

    void excelFormat() {
        QCOMPARE(excelNumberFormat(QStringLiteral("#,###,##0.00")), QStringLiteral("#,##0.00"));
        QCOMPARE(excelNumberFormat(QStringLiteral(",0.00 TL;-,0.00 TL")),
                 QStringLiteral("#,##0.00\" TL\";\"-\"#,##0.00\" TL\""));
        QCOMPARE(excelNumberFormat(QStringLiteral("#,###,##00.00")), QStringLiteral("#,#00.00"));
        QCOMPARE(excelNumberFormat(QString()), QStringLiteral("General"));
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "test_numberformat.moc"
