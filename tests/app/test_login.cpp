// The login dialog against a real zenvo-server with the demo users: every outcome of the
// decision after BuyukGetir, the keys, the states of "Giriş" and the remembered login.
#include "app/application.h"
#include "app/inifile.h"
#include "app/loginform.h"
#include "app/messages.h"
#include "app/serveraddress.h"
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "server/connection.h"
#include "tests/app/fakeplatform.h"
#include "tests/support/modal.h"
#include "tests/support/testserver.h"
#include "widgets/busyindicator.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <QThreadPool>
#include <sys/stat.h>

#include <sqlite3.h>

using namespace zenvo;
using namespace zenvo::appserver;
using zenvo::testing::FakePlatform;
using zenvo::testing::ModalAnswer;
using zenvo::testing::ModalAnswerer;
using zenvo::testing::TestServer;

namespace {

const QString kHatali = QString::fromUtf8(kGirisHatali);

void demoDatabase(sqlite3 *db) {
    createSchema(db);
    fillDemoData(db, {.items = 200});
    // A record whose name and password are not in upper case.
    sqlite3_exec(db, "UPDATE users SET ADI = 'Bayi2', SIFRE = 'abc' WHERE ADI = 'BAYI2'", nullptr,
                 nullptr, nullptr);
}

Dispatcher sessionDispatcher() {
    Dispatcher d;
    addSessionMethods(d);
    return d;
}

void setExpectedVersion(const QString &dbPath, int version) {
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(dbPath.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray sql =
        "UPDATE settings SET VALUE = '" + QByteArray::number(version) + "' WHERE KEY = 'version'";
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
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

class TestLogin : public QObject {
    Q_OBJECT
    FakePlatform fake;
    std::unique_ptr<TestServer> server;
    std::unique_ptr<QTemporaryDir> home;
    ServerConnection bag;
    TSonucBilgisi bilgi;
    std::unique_ptr<Tgirisform> form;

    template <class T> T *child(const char *name) {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *adi() { return child<QLineEdit>("adi"); }
    QLineEdit *sifre() { return child<QLineEdit>("sifre"); }
    QPushButton *giris() { return child<QPushButton>("Button1"); }
    QCheckBox *hatirla() { return child<QCheckBox>("benihatirla"); }

    // Opens the dialog on a machine identity, as the main window does.
    void open(const QString &machine) {
        fake.serial = machine;
        bilgi = TSonucBilgisi();
        form = std::make_unique<Tgirisform>();
        form->bagim = &bag;
        form->Bilgim = &bilgi;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void typeIn(const QString &name, const QString &password) {
        adi()->clear();
        sifre()->clear();
        QTest::keyClicks(adi(), name);
        QTest::keyClicks(sifre(), password);
    }
    QString iniPath() const { return home->filePath(QStringLiteral("config/zenvo/ayar.ini")); }

private slots:
    void initTestCase() {
        SetBaglantiBekleyici([](int) {});
        server = std::make_unique<TestServer>(sessionDispatcher(), demoDatabase);
        SetSunucuAdresi(QStringLiteral("127.0.0.1"));
    }
    void init() {
        home = std::make_unique<QTemporaryDir>();
        fake.config = home->filePath(QStringLiteral("config"));
        fake.exitCodes.clear();
        fake.beeps.clear();
        bag.SetHostName(QStringLiteral("nowhere.invalid"));
        bag.SetPort(QString::number(server->port()));
        SetGirisPencereleri({});
    }
    void cleanup() {
        form.reset();
        SetGirisPencereleri({});
    }

    void dialogAtStart() {
        open(QStringLiteral("DEMO-BAYI1"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Giriş"));
        QCOMPARE(form->size(), QSize(368, 550));
        QCOMPARE(form->idsi, QStringLiteral("DEMO-BAYI1"));
        QVERIFY(hatirla()->isChecked());
        QVERIFY(adi()->text().isEmpty());
        QCOMPARE(form->focusWidget(), adi());
        QCOMPARE(sifre()->echoMode(), QLineEdit::Password);
        QCOMPARE(giris()->text(), QStringLiteral("Giriş"));
        QCOMPARE(child<QPushButton>("Button2")->text(), QStringLiteral("Vazgeç"));
        QVERIFY(child<BusyIndicator>("RxGIFAnimator1")->isHidden());
        QTest::keyClicks(adi(), QStringLiteral("bayi1 "));
        adi()->insert(QStringLiteral("ş")); // pasted
        QCOMPARE(adi()->text(), QStringLiteral("BAYI1 Ş"));
    }

    // A user logs in: the record from the server with this machine's fields, the remembered
    // login written, the dialog accepted.
    void successfulLogin_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("type");
        QTest::newRow("dealer, type 3") << QStringLiteral("BAYI1") << 3;
        QTest::newRow("dealer, type 4") << QStringLiteral("BAYI4") << 4;
    }
    void successfulLogin() {
        QFETCH(QString, user);
        QFETCH(int, type);
        open(QStringLiteral("DEMO-") + user);
        typeIn(user, QStringLiteral("1234"));
        QTest::mouseClick(giris(), Qt::LeftButton);
        QCOMPARE(giris()->text(), QStringLiteral("Bağlanıyor..."));
        QVERIFY(!giris()->isEnabled());
        QTRY_COMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(giris()->text(), QStringLiteral("Giriş!"));
        QVERIFY(fake.exitCodes.isEmpty());
        QCOMPARE(bilgi.ADI(), user);
        QCOMPARE(bilgi.MusteriTipi(), type);
        QVERIFY(bilgi.CARINO() != 0);
        QVERIFY(!bilgi.CariAdi().isEmpty());
        QVERIFY(!bilgi.SaticiAdi().isEmpty());
        QCOMPARE(bilgi.BILGISAYARID(), QStringLiteral("DEMO-") + user);
        QCOMPARE(bilgi.BilgiSayarAdi(), QStringLiteral("BAYI-PC"));
        QCOMPARE(bilgi.BilgisayarKullanici(), QStringLiteral("ahmet"));
        QCOMPARE(bilgi.Icip(), QStringLiteral("192.0.2.10"));
        QCOMPARE(bilgi.Disip(), QStringLiteral("122"));
        QCOMPARE(bag.HostName(), QStringLiteral("127.0.0.1"));
        QVERIFY(QFile::exists(iniPath()));
    }

    // Refusals: one message for all of them, "Giriş!" usable again, the user name selected.
    void refused_data() {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("remembered"); // the credentials matched: ayar.ini is written
        QTest::newRow("wrong name") << "DEMO-BAYI1"
                                    << "BAYI3"
                                    << "1234" << false;
        QTest::newRow("wrong password") << "DEMO-BAYI1"
                                        << "BAYI1"
                                        << "4321" << false;
        QTest::newRow("trailing blank") << "DEMO-BAYI1"
                                        << "BAYI1 "
                                        << "1234" << false;
        QTest::newRow("record not in upper case") << "DEMO-BAYI2"
                                                  << "bayi2"
                                                  << "abc" << false;
        QTest::newRow("inactive account") << "DEMO-PASIF"
                                          << "PASIF"
                                          << "1234" << true;
    }
    void refused() {
        QFETCH(QString, machine);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, remembered);
        open(machine);
        typeIn(name, password);
        ModalAnswerer m;
        m.expect({QStringLiteral("Uyarı"), kHatali, QStringLiteral("Tamam")});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(giris()->isEnabled());
        QCOMPARE(giris()->text(), QStringLiteral("Giriş!"));
        QCOMPARE(form->focusWidget(), adi());
        QCOMPARE(adi()->selectedText(), adi()->text());
        QCOMPARE(form->result(), 0);
        QCOMPARE(QFile::exists(iniPath()), remembered);
        QVERIFY(fake.exitCodes.isEmpty());
        QVERIFY(fake.beeps.contains(0));
        // A new attempt goes to the server again.
        ModalAnswerer again;
        again.expect({QStringLiteral("Uyarı"), kHatali, QStringLiteral("Tamam")});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(again.done(), qPrintable(again.report()));
    }

    void connectionFailure() {
        bag.SetPort(QStringLiteral("1")); // nobody listens there
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Hata"), QString::fromUtf8(kBaglantiKurulamadi),
                  QStringLiteral("Tamam")});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(giris()->isEnabled());
        QCOMPARE(form->focusWidget(), adi());
        QCOMPARE(bilgi.ADI(), QString()); // nothing came back
    }

    // An error of the call: its text in a plain box first, then the connection message.
    void callError() {
        Dispatcher failing;
        failing.add(MethodId::BuyukGetir,
                    [](CallContext &) { throw std::runtime_error("Veritabanına ulaşılamıyor"); });
        TestServer broken(failing);
        bag.SetPort(QString::number(broken.port()));
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        ModalAnswerer m;
        m.expect({QString::fromUtf8(kUygulamaBasligi), QStringLiteral("Veritabanına ulaşılamıyor"),
                  QStringLiteral("OK")});
        m.expect({QStringLiteral("Hata"), QString::fromUtf8(kBaglantiKurulamadi),
                  QStringLiteral("Tamam")});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(giris()->isEnabled());
        QVERIFY(fake.exitCodes.isEmpty());
    }

    // A server that answers without a record: the login failed, without an error text.
    void noRecord() {
        Dispatcher nothing;
        nothing.add(MethodId::BuyukGetir, [](CallContext &c) { c.setResult(std::monostate()); });
        TestServer empty(nothing);
        bag.SetPort(QString::number(empty.port()));
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Hata"), QString::fromUtf8(kBaglantiKurulamadi),
                  QStringLiteral("Tamam")});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(m.answered(), 1);
    }

    // Another version on the server starts the update before any credential check.
    void otherVersionUpdatesFirst() {
        setExpectedVersion(server->dbPath(), 2);
        int updateTo = 0;
        GirisPencereleri w;
        w.guncelleme = [&](QWidget *, int version) { updateTo = version; };
        SetGirisPencereleri(w);
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("yanlis"));
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_COMPARE(fake.exitCodes, QList<int>{0});
        setExpectedVersion(server->dbPath(), 1);
        QCOMPARE(updateTo, 2);
        QVERIFY(!QFile::exists(iniPath()));
        QCOMPARE(form->result(), 0);
    }

    // An unknown machine: no message, the request form on the machine's address, then the end.
    void unknownMachine() {
        QString address;
        GirisPencereleri w;
        w.istekFormu = [&](QWidget *, const QString &a) {
            QVERIFY(fake.exitCodes.isEmpty());
            address = a;
        };
        SetGirisPencereleri(w);
        open(QStringLiteral("YENI MAKINE 7"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_COMPARE(fake.exitCodes, QList<int>{0});
        QCOMPARE(address, QStringLiteral("http://127.0.0.1/formmailgonder.aspx?carino=0&kullanici= "
                                         "&id=YENIMAKINE7"));
        QVERIFY(!QFile::exists(iniPath()));
    }

    // A sales representative goes on to the customer selection; without one chosen (or while
    // that window does not exist) the process ends.
    void salesRepresentative_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("selectionInstalled");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("type 1, no selection window") << "TEMSILCI1" << false << false;
        QTest::newRow("type 2, declined") << "TEMSILCI2" << true << false;
        QTest::newRow("type 1, account chosen") << "TEMSILCI1" << true << true;
    }
    void salesRepresentative() {
        QFETCH(QString, user);
        QFETCH(bool, selectionInstalled);
        QFETCH(bool, chosen);
        if (selectionInstalled) {
            GirisPencereleri w;
            w.cariSecimi = [&](QWidget *, ServerConnection &b, TSonucBilgisi &s) {
                [&] {
                    QCOMPARE(&b, &bag);
                    QCOMPARE(&s, &bilgi);
                }();
                if (chosen)
                    s.SetCARINO(1005);
                return chosen;
            };
            SetGirisPencereleri(w);
        }
        open(QStringLiteral("DEMO-") + user);
        typeIn(user, QStringLiteral("1234"));
        QTest::mouseClick(giris(), Qt::LeftButton);
        if (chosen) {
            QTRY_COMPARE(form->result(), int(QDialog::Accepted));
            QCOMPARE(bilgi.CARINO(), 1005);
            QVERIFY(fake.exitCodes.isEmpty());
        } else {
            QTRY_COMPARE(fake.exitCodes, QList<int>{0});
            QCOMPARE(form->result(), 0);
        }
        QVERIFY(QFile::exists(iniPath()));
    }

    void cancelEndsProcess() {
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        QTest::mouseClick(giris(), Qt::LeftButton); // the call is under way
        QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
        QCOMPARE(fake.exitCodes, QList<int>{0});
        // The call that was under way changes nothing afterwards.
        QTRY_COMPARE(giris()->text(), QStringLiteral("Giriş!"));
        QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
        QCoreApplication::processEvents();
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(bilgi.ADI(), QString());
        QCOMPARE(fake.exitCodes, QList<int>{0});
    }

    // Enter: an empty box stops with the plain warning; otherwise on to the password, then
    // the login itself.
    void enterKeys() {
        open(QStringLiteral("DEMO-BAYI1"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Warning"), QString::fromUtf8(kAdGiriniz), QStringLiteral("OK")});
        QTest::keyClicks(adi(), QStringLiteral("   "));
        QTest::keyClick(adi(), Qt::Key_Return);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(fake.beeps.value(0), 1);
        QCOMPARE(form->focusWidget(), adi());

        adi()->setText(QStringLiteral("BAYI1"));
        QTest::keyClick(adi(), Qt::Key_Return);
        QCOMPARE(form->focusWidget(), sifre());

        m.expect(
            {QStringLiteral("Warning"), QString::fromUtf8(kSifreGiriniz), QStringLiteral("OK")});
        QTest::keyClick(sifre(), Qt::Key_Enter);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(form->focusWidget(), sifre());
        QVERIFY(giris()->isEnabled()); // Enter did not reach a button

        QTest::keyClicks(sifre(), QStringLiteral("1234"));
        QTest::keyClick(sifre(), Qt::Key_Return);
        QTRY_COMPARE(form->result(), int(QDialog::Accepted));
    }

    // Remembered login: what the next start shows after a login with the box checked or not.
    void rememberedLogin_data() {
        QTest::addColumn<bool>("checked");
        QTest::newRow("checked") << true;
        QTest::newRow("unchecked") << false;
    }
    void rememberedLogin() {
        QFETCH(bool, checked);
        open(QStringLiteral("DEMO-BAYI1"));
        hatirla()->setChecked(checked);
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_COMPARE(form->result(), int(QDialog::Accepted));

        const QByteArray expected =
            "[kullanici]\nisim=BAYI1\nsifre=1234\nhatırla=" + QByteArray(checked ? "1" : "0") +
            "\n";
        QCOMPARE(readFile(iniPath()), expected);
        QCOMPARE(mode(iniPath()), 0600u);
        QCOMPARE(mode(QFileInfo(iniPath()).path()), 0700u);

        open(QStringLiteral("DEMO-BAYI1"));
        QCOMPARE(hatirla()->isChecked(), checked);
        QCOMPARE(adi()->text(), checked ? QStringLiteral("BAYI1") : QString());
        QCOMPARE(sifre()->text(), checked ? QStringLiteral("1234") : QString());
    }

    void rememberedFileVariants_data() {
        QTest::addColumn<QByteArray>("content"); // null: a folder stands where the file should
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("name");
        QTest::newRow("unreadable") << QByteArray() << true << QString();
        QTest::newRow("Windows-1254, key missing")
            << QByteArray("[kullanici]\r\nisim=\xDE\xDDR\xDDN\r\nsifre=9\r\n") << true
            << QStringLiteral("ŞİRİN");
        QTest::newRow("lower case in the file")
            << QByteArray("[kullanici]\nisim=ayşe\nhatırla=1\n") << true << QStringLiteral("AYŞE");
        QTest::newRow("not remembered")
            << QByteArray("[kullanici]\nisim=AYSE\nhatırla=0\n") << false << QString();
    }
    void rememberedFileVariants() {
        QFETCH(QByteArray, content);
        QFETCH(bool, checked);
        QFETCH(QString, name);
        QDir().mkpath(QFileInfo(iniPath()).path());
        if (content.isNull()) {
            QDir().mkpath(iniPath());
        } else {
            QFile f(iniPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        open(QStringLiteral("DEMO-BAYI1"));
        QCOMPARE(hatirla()->isChecked(), checked);
        QCOMPARE(adi()->text(), name);
    }

    // The remembered login cannot be written: the user is told, the login still succeeds.
    void rememberedLoginNotWritable() {
        QDir().mkpath(iniPath()); // a folder stands where the file should
        open(QStringLiteral("DEMO-BAYI1"));
        typeIn(QStringLiteral("BAYI1"), QStringLiteral("1234"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Uyarı"), {}, QStringLiteral("Tamam"), [](QWidget *w) {
                      QVERIFY(ModalAnswerer::windowText(w).startsWith(
                          QStringLiteral("Giriş bilgileri kaydedilemedi !")));
                  }});
        QTest::mouseClick(giris(), Qt::LeftButton);
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QTRY_COMPARE(form->result(), int(QDialog::Accepted));
    }
};

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ZenvoApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TestLogin t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_login.moc"
