// The local files: the server host override "ip.txt" and the INI file of the remembered login.
#include "app/inifile.h"
#include "app/serveraddress.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <unistd.h>

using namespace zenvo;

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Permission bits of a file or folder.
unsigned mode(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777u : 0u;
}

} // namespace

class TestLocalFiles : public QObject {
    Q_OBJECT

private slots:
    void serverAddress_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("web");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("b2b.zenvora.com.tr")
                                 << QStringLiteral("http://b2b.zenvora.com.tr/");
        QTest::newRow("blanks around the host, more lines")
            << QByteArray("  10.1.2.3 \t\r\nother.host\r\n") << QStringLiteral("10.1.2.3")
            << QStringLiteral("http://10.1.2.3/");
        QTest::newRow("empty first line")
            << QByteArray("\nb2b.example\n") << QString() << QStringLiteral("http:///");
        QTest::newRow("empty file") << QByteArray("") << QString() << QStringLiteral("http:///");
        QTest::newRow("UTF-8 byte order mark")
            << QByteArray("\xEF\xBB\xBFsunucu.local\n") << QStringLiteral("sunucu.local")
            << QStringLiteral("http://sunucu.local/");
    }
    void serverAddress() {
        QFETCH(QByteArray, content);
        QFETCH(QString, host);
        QFETCH(QString, web);
        SetSunucuAdresi(QString::fromLatin1(kVarsayilanSunucu));
        QTemporaryDir dir;
        if (!content.isNull())
            writeFile(dir.filePath(QStringLiteral("ip.txt")), content);
        SunucuAdresiOku(dir.path());
        QCOMPARE(SunucuAdresi(), host);
        QCOMPARE(WebAdresi(), web);
    }

    void unreadableAddressFileKeepsDefault() {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        SetSunucuAdresi(QString::fromLatin1(kVarsayilanSunucu));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ip.txt"));
        writeFile(path, "10.0.0.1\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        SunucuAdresiOku(dir.path());
        QCOMPARE(SunucuAdresi(), QString::fromLatin1(kVarsayilanSunucu));
    }

    // The same file in UTF-8 and in the Turkish Windows code page reads the same.
    void iniEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8") << QByteArray(
            "[kullanici]\r\nisim=ŞÜKRÜ\r\nsifre=İĞ1\r\nhatırla=1\r\n");
        QTest::newRow("UTF-8 with byte order mark")
            << QByteArray("\xEF\xBB\xBF[kullanici]\nisim=ŞÜKRÜ\nsifre=İĞ1\nhatırla=1\n");
        QTest::newRow("Windows-1254")
            << QByteArray("[kullanici]\r\nisim=\xDE\xDCKR\xDC\r\nsifre=\xDD\xD0"
                          "1\r\nhat\xFDrla=1\r\n");
        QTest::newRow("case of names, blanks and quotes")
            << QByteArray("[KULLANICI]\n ISIM = \"ŞÜKRÜ\" \nSifre=İĞ1\nHatırla= 1\n");
    }
    void iniEncodings() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ayar.ini"));
        writeFile(path, bytes);
        IniFile ini;
        QVERIFY(ini.load(path));
        const QString section = QStringLiteral("kullanici");
        QCOMPARE(ini.readString(section, QStringLiteral("isim"), {}), QStringLiteral("ŞÜKRÜ"));
        QCOMPARE(ini.readString(section, QStringLiteral("sifre"), {}), QStringLiteral("İĞ1"));
        QCOMPARE(ini.readBool(section, QStringLiteral("hatırla"), false), true);
    }

    void iniBool_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<bool>("expected");
        QTest::newRow("0") << QByteArray("hatırla=0") << true << false;
        QTest::newRow("1") << QByteArray("hatırla=1") << false << true;
        QTest::newRow("-1") << QByteArray("hatırla=-1") << false << true;
        QTest::newRow("missing") << QByteArray("isim=A") << true << true;
        QTest::newRow("not a number") << QByteArray("hatırla=evet") << true << true;
        QTest::newRow("empty") << QByteArray("hatırla=") << false << false;
    }
    void iniBool() {
        QFETCH(QByteArray, line);
        QFETCH(bool, fallback);
        QFETCH(bool, expected);
        IniFile ini;
        ini.setText(QString::fromUtf8("[kullanici]\n" + line + "\n"));
        QCOMPARE(ini.readBool(QStringLiteral("kullanici"), QStringLiteral("hatırla"), fallback),
                 expected);
    }

    // Writing keeps every other line, replaces the key where it stands, writes UTF-8 with the
    // key spelled literally, and leaves the file to its owner.
    void iniWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ayar.ini"));
        writeFile(path, "; ayarlar\r\n[genel]\r\nhat\xFDrla=5\r\n[kullanici]\r\nisim=\xDE"
                        "AH\r\nsifre=X\r\n\r\n[son]\r\na=b\r\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadOther | QFileDevice::ReadGroup);
        IniFile ini;
        QVERIFY(ini.load(path));
        ini.setValue(QStringLiteral("kullanici"), QStringLiteral("isim"), QStringLiteral("AYŞE"));
        ini.setValue(QStringLiteral("kullanici"), QStringLiteral("hatırla"), QStringLiteral("0"));
        ini.setValue(QStringLiteral("yeni"), QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY(ini.save(path));
        QCOMPARE(QString::fromUtf8(readFile(path)),
                 QStringLiteral("; ayarlar\n[genel]\nhatırla=5\n[kullanici]\nisim=AYŞE\nsifre=X\n"
                                "hatırla=0\n\n[son]\na=b\n[yeni]\nk=v\n"));
        QCOMPARE(mode(path), 0600u);
    }

    void iniMissingOrUnreadable() {
        QTemporaryDir dir;
        IniFile ini;
        QVERIFY(!ini.load(dir.filePath(QStringLiteral("yok.ini"))));
        QVERIFY(!ini.load(dir.path())); // a folder where the file should be
        QCOMPARE(ini.value(QStringLiteral("kullanici"), QStringLiteral("isim")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestLocalFiles)
#include "test_localfiles.moc"
