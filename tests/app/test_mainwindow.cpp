// The main window: its fixed layout, the user-type adaptation, exit, the clear action, the web
// site item, the message dialog, and the whole start-up against a real zenvo-server.
#include "app/application.h"
#include "app/loginform.h"
#include "app/mainwindow.h"
#include "app/messages.h"
#include "app/serveraddress.h"
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "server/resulttable.h"
#include "tests/app/fakeplatform.h"
#include "tests/support/modal.h"
#include "tests/support/testserver.h"
#include "widgets/busyindicator.h"
#include "widgets/gifbanner.h"
#include "widgets/grid.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace zenvo;
using namespace zenvo::appserver;
using zenvo::testing::FakePlatform;
using zenvo::testing::ModalAnswer;
using zenvo::testing::ModalAnswerer;
using zenvo::testing::TestServer;

namespace {

const QString kCikis = QStringLiteral("Programdan Çıkmak İstiyor musunuz ?");

QStringList tabNames(const TForm1 &w) {
    QStringList out;
    for (int i = 0; i < w.sPageControl1()->count(); ++i)
        out << w.sPageControl1()->widget(i)->objectName();
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    FakePlatform fake;
    QTemporaryDir home;

private slots:
    void initTestCase() {
        fake.config = home.filePath(QStringLiteral("config"));
        SetBaglantiBekleyici([](int) {});
    }
    void init() {
        fake.exitCodes.clear();
        fake.opened.clear();
        fake.beeps.clear();
    }

    void layout() {
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Zenvora B2B Programı"));
        QCOMPARE(tabNames(w),
                 QStringList({"sstoklistesi", "ssepet", "sonceki", "sccariekstre", "syeniler",
                              "skampanyali", "sTabSheetduyuru", "sTabbakiyeler"}));
        const QStringList captions{"Stok Listesi", "Sepet",        "Önceki Siparişler",
                                   "Cari Ekstre",  "Yeni Stoklar", "Kampanyalı Stoklar",
                                   "Duyurular",    "Bakiyeler"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(w.sPageControl1()->tabText(i), captions[i]);
            QVERIFY(!w.sPageControl1()->tabIcon(i).isNull());
            QVERIFY(w.sPageControl1()->isTabVisible(i));
        }
        QCOMPARE(w.sstoklistesi()->property("tag").toInt(), 0);
        // Features find the pages by name as well.
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("sTabbakiyeler")), w.sTabbakiyeler());

        QCOMPARE(QApplication::focusWidget(), w.araedit());
        QCOMPARE(w.araedit()->width(), 340);
        QTest::keyClicks(w.araedit(), QStringLiteral("fren"));
        QCOMPARE(w.araedit()->text(), QStringLiteral("FREN"));
        QCOMPARE(w.SpeedButton2()->toolTip(), QStringLiteral("Ara"));
        QCOMPARE(w.SpeedButton1()->toolTip(), QStringLiteral("Temizle"));
        QVERIFY(w.musteritus()->isHidden());
        QCOMPARE(w.musteritus()->text(), QStringLiteral("Başka Cari Seç"));
        for (const char *name : {"gifstokara", "gifyeniler", "gifkampanyali", "gifduyuru",
                                 "gifoncekiler", "gifekstre"}) {
            auto *gif = w.findChild<BusyIndicator *>(QString::fromLatin1(name));
            QVERIFY2(gif && gif->isHidden(), name);
        }
        for (const char *name :
             {"kullanicilbl", "cariadilbl", "saticilbl", "Image1", "Image2", "RxGIFAnimator1",
              "RxGIFAnimator2", "Button3", "Panel3", "kayanyazi", "RealTimeMarquee1", "Image3"})
            QVERIFY2(w.findChild<QWidget *>(QString::fromLatin1(name)), name);
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("Panel1"))->height(), 100);
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("Panel2"))->height(), 35);
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("Panel5"))->height(), 40);
        QCOMPARE(w.RxGIFAnimator1()->size(), QSize(409, 100));
        QCOMPARE(w.RxGIFAnimator2()->height(), 0);

        QStringList menu;
        for (QAction *a : w.Genelmenu()->actions())
            menu << a->objectName() + u'=' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(menu, QStringList({"M1=Mail Gönder", "N8=-", "N4=Şifre Değiştirme İsteği", "N3=-",
                                    "WebSiteMenu1=http://www.zenvora.com.tr", "N2=-", "G1=Çıkış",
                                    "N10=-", "R1=Raporlar"}));
        QVERIFY(!w.R1()->isVisible());
    }

    void userTypes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("representative"); // "Başka Cari Seç" and "Raporlar"
        QTest::addColumn<bool>("campaignTab");
        QTest::newRow("1") << 1 << true << true;
        QTest::newRow("2") << 2 << true << true;
        QTest::newRow("3") << 3 << false << true;
        QTest::newRow("4") << 4 << false << false;
        QTest::newRow("0") << 0 << false << true;
        QTest::newRow("7") << 7 << false << true;
    }
    void userTypes() {
        QFETCH(int, type);
        QFETCH(bool, representative);
        QFETCH(bool, campaignTab);
        TForm1 w;
        int announced = -1;
        connect(&w, &TForm1::kullaniciTipiUygulandi, &w, [&](int t) { announced = t; });
        w.sbilgi().SetMusteriTipi(type);
        w.KullaniciTipiUygula();
        QCOMPARE(announced, type);
        QCOMPARE(!w.musteritus()->isHidden(), representative);
        QCOMPARE(w.R1()->isVisible(), representative);
        QCOMPARE(w.sPageControl1()->isTabVisible(w.sPageControl1()->indexOf(w.skampanyali())),
                 campaignTab);
    }

    // "Hayır" keeps everything; "Evet" ends the process with 0 and asks nothing more. The menu
    // item "Çıkış" goes the same way.
    void exitConfirmation() {
        TForm1 w;
        w.show();
        w.araedit()->setText(QStringLiteral("ABC"));
        ModalAnswerer m;
        bool defaultFocused = false;
        m.expect({QStringLiteral("Soru"), kCikis, QStringLiteral("Hayır"), [&](QWidget *box) {
                      auto *yes = box->findChild<QPushButton *>();
                      for (auto *b : box->findChildren<QPushButton *>())
                          if (b->text() == QStringLiteral("Evet"))
                              yes = b;
                      defaultFocused = QApplication::focusWidget() == yes && yes->isDefault();
                  }});
        w.close();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY(defaultFocused);
        QVERIFY(w.isVisible());
        QCOMPARE(w.araedit()->text(), QStringLiteral("ABC"));
        QVERIFY(fake.exitCodes.isEmpty());
        QCOMPARE(fake.beeps, QList<int>{3});

        m.expect({QStringLiteral("Soru"), kCikis, QStringLiteral("Evet")});
        w.G1()->trigger();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(fake.exitCodes, QList<int>{0});
        QCOMPARE(m.answered(), 2);
    }

    void clearAction() {
        TForm1 w;
        w.show();
        ResultTable stok;
        stok.addField({QStringLiteral("KOD"), FieldType::String, 20});
        stok.appendRow({QStringLiteral("A1")});
        stok.appendRow({QStringLiteral("B2")});
        Grid grid(w.sstoklistesi());
        grid.setColumns({GridColumn(QStringLiteral("KOD"), QStringLiteral("Kod"), 1)});
        grid.setTable(&stok);
        grid.setColumnFilter(QStringLiteral("KOD"), {QStringLiteral("A1")});
        w.SetStokListesi(&stok, &grid);
        w.setSekmeBasligi(w.sstoklistesi(), QStringLiteral("2=StokListesi"));
        w.sstoklistesi()->setProperty("tag", 2);
        w.sPageControl1()->setCurrentWidget(w.ssepet());
        w.araedit()->setText(QStringLiteral("FREN"));

        // While a search runs (the box disabled) nothing happens.
        w.araedit()->setEnabled(false);
        w.SpeedButton1()->click();
        QCOMPARE(stok.rowCount(), 2);
        QCOMPARE(w.sPageControl1()->currentWidget(), w.ssepet());
        QCOMPARE(w.araedit()->text(), QStringLiteral("FREN"));

        w.araedit()->setEnabled(true);
        w.SpeedButton1()->click();
        QCOMPARE(stok.rowCount(), 0);
        QCOMPARE(stok.columnCount(), 1);
        QCOMPARE(w.sekmeBasligi(w.sstoklistesi()), QStringLiteral("Stok Listesi"));
        QCOMPARE(w.sPageControl1()->currentWidget(), w.sstoklistesi());
        QVERIFY(!grid.hasFilters());
        QVERIFY(w.araedit()->text().isEmpty());
        QTRY_COMPARE(QApplication::focusWidget(), w.araedit());
        QCOMPARE(w.sstoklistesi()->property("tag").toInt(), 0);
    }

    void webSite() {
        TForm1 w;
        w.show();
        w.araedit()->setText(QStringLiteral("X"));
        w.SpeedButton1()->setFocus();
        w.WebSiteMenu1()->trigger();
        QCOMPARE(fake.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.zenvora.com.tr"))});
        QCOMPARE(w.araedit()->selectedText(), QStringLiteral("X"));
        QTRY_COMPARE(QApplication::focusWidget(), w.araedit());
    }

    void messageDialog_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("warning") << 0 << "Uyarı" << int(QMessageBox::Warning);
        QTest::newRow("error") << 1 << "Hata" << int(QMessageBox::Critical);
        QTest::newRow("information") << 2 << "Bilgi" << int(QMessageBox::Information);
        QTest::newRow("question") << 3 << "Soru" << int(QMessageBox::Question);
    }
    void messageDialog() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, icon);
        SetMesajYaziBoyutu(15);
        const auto all = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                         QMessageBox::Ok | QMessageBox::Abort | QMessageBox::Retry |
                         QMessageBox::Ignore | QMessageBox::YesToAll | QMessageBox::NoToAll |
                         QMessageBox::Help;
        QStringList captions;
        int shownIcon = -1, pointSize = 0;
        QString focused;
        ModalAnswerer m;
        m.expect({title, QStringLiteral("Metin"), QStringLiteral("Tekrar"), [&](QWidget *w) {
                      auto *box = qobject_cast<QMessageBox *>(w);
                      for (auto *b : box->buttons())
                          captions << b->text();
                      shownIcon = int(box->icon());
                      pointSize = box->font().pointSize();
                      if (auto *f = qobject_cast<QAbstractButton *>(QApplication::focusWidget()))
                          focused = f->text();
                  }});
        const auto pressed = MesajGoster(QStringLiteral("Metin"), kind, all, QMessageBox::No);
        QVERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(pressed, QMessageBox::Retry);
        captions.sort();
        QCOMPARE(captions, QStringList({"Atla", "Evet", "Hayır", "Tamam", "Tekrar", "Tümüne Evet",
                                        "Tümüne Hayır", "Vazgeç", "Yardım", "İptal"}));
        QCOMPARE(shownIcon, icon);
        QCOMPARE(focused, QStringLiteral("Hayır"));
        QCOMPARE(pointSize, 15);
        QCOMPARE(fake.beeps, QList<int>{kind});
    }

    // The start-up against a real server: "ip.txt" names the host, the login dialog logs the
    // demo dealer in, and the chain fills the header; an error of a later chain step ends the
    // chain, the continuation still runs and the error is reported after it.
    void startUp() {
        TestServer server(
            [] {
                Dispatcher d;
                addSessionMethods(d);
                return d;
            }(),
            [](sqlite3 *db) {
                createSchema(db);
                fillDemoData(db, {.items = 200});
            });
        QTemporaryDir programDir;
        {
            QFile ip(programDir.filePath(QStringLiteral("ip.txt")));
            QVERIFY(ip.open(QIODevice::WriteOnly));
            ip.write(" 127.0.0.1 \n");
        }
        SetSunucuPortu(QString::number(server.port()));
        fake.serial = QStringLiteral("DEMO-BAYI1");

        TForm1 w;
        QStringList order;
        w.BaslangicAdimiEkle([&] { throw std::runtime_error("Kayan yazı alınamadı"); });
        w.BaslangicAdimiEkle([&] { order << QStringLiteral("sonraki adım"); });
        w.SetBaslangicSonu([&] { order << QStringLiteral("sonu"); });

        ModalAnswerer m;
        m.expect({QStringLiteral("Giriş"), {}, QStringLiteral("Giriş"), [](QWidget *dialog) {
                      dialog->findChild<QLineEdit *>(QStringLiteral("adi"))
                          ->setText(QStringLiteral("BAYI1"));
                      dialog->findChild<QLineEdit *>(QStringLiteral("sifre"))
                          ->setText(QStringLiteral("1234"));
                  }});
        m.expect({QString::fromUtf8(kUygulamaBasligi), QStringLiteral("Kayan yazı alınamadı"),
                  QStringLiteral("OK"), [&](QWidget *) { order << QStringLiteral("rapor"); }});
        QVERIFY(w.FormCreate(programDir.path()));
        QVERIFY(fake.exitCodes.isEmpty());
        QCOMPARE(w.bagc().HostName(), QStringLiteral("127.0.0.1"));
        QCOMPARE(w.bagc().Port(), QString::number(server.port()));
        QCOMPARE(w.sbilgi().ADI(), QStringLiteral("BAYI1"));
        QCOMPARE(w.sbilgi().BILGISAYARID(), QStringLiteral("DEMO-BAYI1"));
        w.showMaximized();

        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(order, QStringList({"sonu", "rapor"}));
        QCOMPARE(w.kullanicilbl()->text(), QStringLiteral("BAYI1"));
        QCOMPARE(w.cariadilbl()->text(), w.sbilgi().CariAdi());
        QVERIFY(!w.sbilgi().CariAdi().isEmpty());
        QCOMPARE(w.saticilbl()->text(), w.sbilgi().SaticiAdi() + QStringLiteral(" Telefonu: ") +
                                            w.sbilgi().SaticiTelefon() +
                                            QStringLiteral(" email: ") + w.sbilgi().SaticiMail());
        QVERIFY(w.musteritus()->isHidden());
        SetSunucuPortu(QString::fromLatin1(kSunucuPortu));
    }

    // Closing the login ends the process before anything else starts.
    void loginCancelled() {
        QTemporaryDir programDir;
        fake.serial = QStringLiteral("DEMO-BAYI1");
        TForm1 w;
        bool chainRan = false;
        w.BaslangicAdimiEkle([&] { chainRan = true; });
        ModalAnswerer m;
        m.expect({QStringLiteral("Giriş"), {}, QStringLiteral("Vazgeç")});
        QVERIFY(!w.FormCreate(programDir.path()));
        QVERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(fake.exitCodes.value(0, -1), 0);
        QVERIFY(!w.baslangicSuruyor());
        QVERIFY(!chainRan);
    }
};

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ZenvoApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_mainwindow.moc"
