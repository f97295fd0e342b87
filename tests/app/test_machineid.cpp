// Machine identity rules over fake sources, the name limits, the local address fallback and the
// Linux sources read from a fake /sys tree.
#include "app/machineid.h"
#include "tests/app/fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zenvo;
using zenvo::testing::FakePlatform;

namespace {

using Adapters = std::vector<std::optional<QByteArray>>;

QByteArray mac(const char *hex) {
    return QByteArray::fromHex(hex);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Permission bits of a file or folder.
unsigned mode(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777u : 0u;
}

} // namespace

Q_DECLARE_METATYPE(Adapters)
Q_DECLARE_METATYPE(std::optional<QString>)

class TestMachineId : public QObject {
    Q_OBJECT

private slots:
    void identity_data() {
        QTest::addColumn<std::optional<QString>>("serial");
        QTest::addColumn<Adapters>("adapters");
        QTest::addColumn<QString>("expected");

        const Adapters nic{mac("00000000000000"), mac("001A2B3C4D5E")};
        QTest::newRow("serial upper-cased and trimmed")
            << std::optional<QString>(QStringLiteral("  wd-wx41a5 ")) << nic
            << QStringLiteral("WD-WX41A5");
        QTest::newRow("inner blanks removed")
            << std::optional<QString>(QStringLiteral(" S3Z 2NB0 K81 ")) << nic
            << QStringLiteral("S3Z2NB0K81");
        QTest::newRow("all blanks: adapter") << std::optional<QString>(QStringLiteral("    "))
                                             << nic << QStringLiteral("00-1A-2B-3C-4D-5E");
        QTest::newRow("query fails: adapter")
            << std::optional<QString>() << nic << QStringLiteral("00-1A-2B-3C-4D-5E");
        QTest::newRow("first adapter zero, second used")
            << std::optional<QString>(QString())
            << Adapters{mac("000000000000"), mac("0a0b0c0d0e0f"), mac("111111111111")}
            << QStringLiteral("0A-0B-0C-0D-0E-0F");
        QTest::newRow("first adapter without status: empty")
            << std::optional<QString>(QString()) << Adapters{std::nullopt, mac("001A2B3C4D5E")}
            << QString();
        QTest::newRow("zero adapter then one without status: the zero address")
            << std::optional<QString>(QString())
            << Adapters{mac("000000000000"), std::nullopt, mac("001A2B3C4D5E")}
            << QStringLiteral("00-00-00-00-00-00");
        QTest::newRow("no sources at all") << std::optional<QString>() << Adapters{} << QString();
        QTest::newRow("shared serial 1") << std::optional<QString>(QString::fromLatin1(kOrtakSeri1))
                                         << nic << QString::fromLatin1(kOrtakKimlik);
        QTest::newRow("shared serial 2 with blanks")
            << std::optional<QString>(QStringLiteral(" 0025_3858_21B0_1F3A_0000 _0000_0000_0001. "))
            << nic << QString::fromLatin1(kOrtakKimlik);
        // The disk query upper-cases, so a lower-case report of the serial is the same disk.
        QTest::newRow("shared serial reported in lower case")
            << std::optional<QString>(QString::fromLatin1(kOrtakSeri1).toLower()) << nic
            << QString::fromLatin1(kOrtakKimlik);
        QTest::newRow("shared serial without its full stop")
            << std::optional<QString>(QStringLiteral("0025_3858_21B0_1F3A_0000_0000_0000_0001"))
            << nic << QStringLiteral("0025_3858_21B0_1F3A_0000_0000_0000_0001");
    }
    void identity() {
        QFETCH(std::optional<QString>, serial);
        QFETCH(Adapters, adapters);
        QFETCH(QString, expected);
        FakePlatform fake;
        fake.serial = serial;
        fake.adapters = adapters;
        QCOMPARE(BilgisayarIdAl(), expected);
    }

    // The replacement compares exactly: case and every character count.
    void sharedIdentityIsExact() {
        QCOMPARE(OrtakKimlik(QString::fromLatin1(kOrtakSeri1)), QString::fromLatin1(kOrtakKimlik));
        const QString lower = QString::fromLatin1(kOrtakSeri2).toLower();
        QCOMPARE(OrtakKimlik(lower), lower);
        QCOMPARE(OrtakKimlik(QString::fromLatin1(kOrtakSeri1) + u'X'),
                 QString::fromLatin1(kOrtakSeri1) + u'X');
    }

    void names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("15 characters")
            << QStringLiteral("abcdefghijklmno") << QStringLiteral("abcdefghijklmno");
        QTest::newRow("16 characters") << QStringLiteral("abcdefghijklmnop") << QString();
        QTest::newRow("Turkish letters count as one each")
            << QStringLiteral("şükrü.çağlayanı") << QStringLiteral("şükrü.çağlayanı");
        QTest::newRow("empty") << QString() << QString();
    }
    void names() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        FakePlatform fake;
        fake.user = name;
        fake.computer = name;
        QCOMPARE(KullaniciAdiAl(), expected);
        QCOMPARE(BilgisayarAdiAl(), expected);
    }

    void localAddress() {
        FakePlatform fake;
        QCOMPARE(YerelIpAl(), QStringLiteral("192.0.2.10"));
        fake.ipv4.clear(); // the host name does not resolve
        QCOMPARE(YerelIpAl(), QStringLiteral("127.0.0.1"));
        // The address belongs to the full host name, not to the 15-character value.
        fake.computer = QStringLiteral("workstation-0042.example");
        fake.ipv4 = QStringLiteral("198.51.100.7");
        QCOMPARE(BilgisayarAdiAl(), QString());
        QCOMPARE(YerelIpAl(), QStringLiteral("198.51.100.7"));
    }

    void settingsFolder() {
        QTemporaryDir home;
        FakePlatform fake;
        fake.config = home.filePath(QStringLiteral("config"));
        const QString first = AyarKlasoru();
        QCOMPARE(first, home.filePath(QStringLiteral("config/zenvo")));
        QVERIFY(QFileInfo(first).isDir());
        QCOMPARE(mode(first), 0700u);
        QCOMPARE(AyarKlasoru(), first);
    }

    // The Linux sources on a fake /sys: the first physical disk in name order (virtual devices
    // skipped), its serial from the device or else from udev; adapters by interface index.
    void linuxSources() {
        QTemporaryDir root;
        const QString block = root.filePath(QStringLiteral("block"));
        const QString udev = root.filePath(QStringLiteral("udev"));
        writeFile(block + QStringLiteral("/loop0/dev"), "7:0\n");
        QDir().mkpath(block + QStringLiteral("/loop0/device"));
        writeFile(block + QStringLiteral("/sdb/device/serial"), "SECOND\n");
        writeFile(block + QStringLiteral("/sda/dev"), "8:0\n");
        QDir().mkpath(block + QStringLiteral("/sda/device"));
        writeFile(udev + QStringLiteral("/b8:0"), "S:disk/by-id/x\nE:ID_SERIAL_SHORT=  ab 12  \n");
        QCOMPARE(LinuxPlatform::diskSerialFrom(block, udev), QStringLiteral("  ab 12  "));
        writeFile(block + QStringLiteral("/sda/device/serial"), "  XY99 \n");
        QCOMPARE(LinuxPlatform::diskSerialFrom(block, udev), QStringLiteral("XY99"));
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            LinuxPlatform::diskSerialFrom(root.filePath(QStringLiteral("none")), udev));

        const QString net = root.filePath(QStringLiteral("net"));
        writeFile(net + QStringLiteral("/eth0/ifindex"), "10\n");
        writeFile(net + QStringLiteral("/eth0/address"), "02:fc:00:00:00:01\n");
        writeFile(net + QStringLiteral("/lo/ifindex"), "1\n");
        writeFile(net + QStringLiteral("/lo/address"), "00:00:00:00:00:00\n");
        writeFile(net + QStringLiteral("/tun0/ifindex"), "3\n");
        writeFile(net + QStringLiteral("/tun0/address"), "\n");
        const Adapters found = LinuxPlatform::adapterAddressesFrom(net);
        QCOMPARE(found.size(), std::size_t(3));
        QCOMPARE(found[0], std::optional<QByteArray>(mac("000000000000")));
        QCOMPARE(found[1], std::optional<QByteArray>());
        QCOMPARE(found[2], std::optional<QByteArray>(mac("02fc00000001")));
    }
};

QTEST_GUILESS_MAIN(TestMachineId)
#include "test_machineid.moc"
