// The cart tab through its real widgets against a real zenvo-server: loading on show, the grid's
// columns by user type, switching choices, choosing all and none, deleting, Excel export, column
// widths, and what a failed connection or a server error leaves.
#include "tests/cart/fixture.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zenvo;
using namespace zenvo::testing;

namespace {

class RecordingChanger final : public SatirDegistirici {
public:
    QList<int> opened;
    void SatirDegistirAc(int sirano) override { opened << sirano; }
};

QString shownTotals(const SepetSekmesi &tab) {
    return QStringList{tab.aratoplaml()->text(), tab.indiriml()->text(), tab.nettutarl()->text(),
                       tab.vergil()->text(), tab.geneltoplaml()->text()}
        .join(u" / ");
}

} // namespace

class TestCart : public QObject {
    Q_OBJECT
    FakePlatform fake;

private slots:
    void initTestCase() { setUpCartTests(); }

    // Showing the tab loads the cart, sets the caption and the totals; the grid shows the
    // columns of the user's type with the footer.
    void showLoadsTheCart_data() {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("durum");
        QTest::addColumn<bool>("kalan");
        QTest::newRow("dealer, type 3") << "DEMO-BAYI1" << 3 << false << false;
        QTest::newRow("type 1") << "DEMO-BAYI1" << 1 << true << true;
        QTest::newRow("type 2") << "DEMO-BAYI1" << 2 << true << true;
        QTest::newRow("type 4") << "DEMO-BAYI1" << 4 << true << false;
    }
    void showLoadsTheCart() {
        QFETCH(QString, machine);
        QFETCH(int, type);
        QFETCH(bool, durum);
        QFETCH(bool, kalan);
        CartFixture f;
        f.open(machine);
        f.addItems(3, {2, 1, 5});
        f.form->sbilgi().SetMusteriTipi(type);
        f.form->KullaniciTipiUygula();
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("Sepet"));
        QVERIFY(!f.tab->SepetYuklendi());
        f.showCart();
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("3=Sepet"));
        Grid *g = f.tab->cxGrid2();
        QCOMPARE(g->rowCount(), 3);
        // Laying out the columns while the page control switched pages must not leave the
        // grid unpainted.
        QTRY_VERIFY(g->view()->viewport()->updatesEnabled());
        QStringList expected{"SEC",         "VERILISTARIHI", "BARKOD",        "FINISHKOD",
                             "OEMNO",       "STOKADI",       "MIKTAR",        "BIRIMFIYAT",
                             "TUTAR",       "INDIRIMYAZI",   "NETBIRIMFIYAT", "KDV",
                             "VERGITUTARI", "NETTUTAR",      "VEREN"};
        if (durum)
            expected << "DURUM";
        if (kalan)
            expected << "KALAN";
        QCOMPARE(g->visibleColumns(), expected);
        QCOMPARE(g->isColumnCustomizable(u"DURUM"), durum);
        QCOMPARE(g->isColumnCustomizable(u"KALAN"), kalan);
        QVERIFY(!g->isColumnCustomizable(u"SEC"));
        QVERIFY(!g->isColumnCustomizable(u"SIRANO"));
        QVERIFY(g->isColumnCustomizable(u"MARKA"));
        QCOMPARE(g->view()->model()->headerData(g->columnIndex(u"KDV"), Qt::Horizontal),
                 QVariant(QStringLiteral("KDV")));
        // Footer: the line count, the quantity and the net amount.
        QCOMPARE(g->footerText(u"VERILISTARIHI"), QStringLiteral("3"));
        QCOMPARE(g->footerText(u"MIKTAR"), QStringLiteral("8,00"));
        const ResultTable &t = f.tab->sepet();
        double net = 0;
        for (int r = 0; r < t.rowCount(); ++r)
            net += t.doubleValue(r, fieldOf(t, "NETTUTAR"));
        QCOMPARE(g->footerText(u"NETTUTAR"), ToplamYazisi(net));
        // New lines are not chosen.
        QCOMPARE(shownTotals(*f.tab), QStringLiteral("0,00 / 0,00 / 0,00 / 0,00 / 0,00"));
    }

    // A double click on the "Seç" cell switches the line's choice, here and on the server, and
    // the totals follow; on any other cell, and through "Satır Değiştir", the line opens in the
    // item dialog.
    void switchingTheChoice() {
        CartFixture f;
        f.open();
        f.addItems(2, {2, 3});
        RecordingChanger changer;
        f.tab->setSatirDegistirici(&changer);
        f.showCart();
        const ResultTable &t = f.tab->sepet();
        const int sirano0 = int(t.intValue(0, fieldOf(t, "SIRANO")));
        const int sirano1 = int(t.intValue(1, fieldOf(t, "SIRANO")));
        const double tutar0 = t.doubleValue(0, fieldOf(t, "TUTAR"));
        const double indirim0 = t.doubleValue(0, fieldOf(t, "INDIRIMTUTAR"));

        // A switch changes the local flag and the totals only: a line the server got meanwhile
        // does not appear.
        f.addItems(1);
        f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        QCOMPARE(f.localChoices(), (QMap<int, int>{{sirano0, 1}, {sirano1, 0}}));
        QCOMPARE(f.serverChoices().value(sirano0), 1);
        QCOMPARE(f.serverChoices().value(sirano1), 0);
        QCOMPARE(f.tab->aratoplaml()->text(), ToplamYazisi(tutar0));
        QCOMPARE(f.tab->indiriml()->text(), ToplamYazisi(indirim0));
        QVERIFY(f.tab->geneltoplaml()->text() != QStringLiteral("0,00"));
        QVERIFY(changer.opened.isEmpty());

        f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        QCOMPARE(f.localChoices(), (QMap<int, int>{{sirano0, 0}, {sirano1, 0}}));
        QCOMPARE(f.serverChoices().value(sirano0), 0);
        QCOMPARE(f.tab->geneltoplaml()->text(), QStringLiteral("0,00"));
        // Back to the two lines of the start.
        const int extra = f.serverChoices().lastKey();
        f.proxy().SepetSatirSil(f.session(), extra, QString());
        f.close();

        f.clickAndDoubleClickCell(1, QStringLiteral("STOKADI"));
        QCOMPARE(changer.opened, QList<int>{sirano1});
        QVERIFY(f.tab->cxGrid2()->focusRow(0, u"BARKOD"));
        f.tab->Deitir1()->trigger();
        QCOMPARE(changer.opened, (QList<int>{sirano1, sirano0}));
        QCOMPARE(f.serverChoices(), (QMap<int, int>{{sirano0, 0}, {sirano1, 0}}));
        // "Satır Değiştir" on the "Seç" column switches as well.
        QVERIFY(f.tab->cxGrid2()->focusRow(1, u"SEC"));
        f.tab->Deitir1()->trigger();
        QCOMPARE(f.serverChoices(), (QMap<int, int>{{sirano0, 0}, {sirano1, 1}}));
        // Without an item dialog wired in, changing a line does nothing.
        f.tab->setSatirDegistirici(nullptr);
        f.clickAndDoubleClickCell(0, QStringLiteral("BARKOD"));
        QCOMPARE(changer.opened.size(), 2);
        // A reload keeps the server's flags and the focused line.
        QVERIFY(f.tab->cxGrid2()->focusRow(1, u"BARKOD"));
        QVERIFY(f.tab->SepetYukle());
        QCOMPARE(f.localChoices(), f.serverChoices());
        QCOMPARE(f.tab->cxGrid2()->focusedRow(), 1);
    }

    // When the server cannot be reached the flag stays as the server has it: the line is not
    // shown as chosen while the server would leave it out of the order.
    void switchWithoutServer() {
        CartFixture f;
        f.open();
        f.addItems(2);
        f.showCart();
        const auto before = f.localChoices();
        const QString totals = shownTotals(*f.tab);
        f.form->bagc().SetPort(deadPort());
        ModalAnswerer m;
        m.expect(
            {QStringLiteral("Hata"), QString::fromUtf8(kBaglantiMesaji), QStringLiteral("Tamam")});
        f.clickAndDoubleClickCell(0, QStringLiteral("SEC"));
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.localChoices(), before);
        QCOMPARE(shownTotals(*f.tab), totals);

        // "Hepsini Seç" shows the message once and switches nothing it could not send.
        m.expect(
            {QStringLiteral("Hata"), QString::fromUtf8(kBaglantiMesaji), QStringLiteral("Tamam")});
        f.tab->Button4()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(m.answered(), 2);
        QCOMPARE(f.localChoices(), before);
        QCOMPARE(f.serverChoices(), before);
    }

    void chooseAllAndNone() {
        CartFixture f;
        f.open();
        f.addItems(3, {1, 2, 4});
        f.showCart();
        f.form->activateWindow();
        f.form->araedit()->setText(QStringLiteral("FREN"));
        f.tab->Button4()->setFocus();
        f.tab->Button4()->click();
        const auto all = f.localChoices();
        QCOMPARE(all.size(), 3);
        for (int v : all)
            QCOMPARE(v, 1);
        QCOMPARE(f.serverChoices(), all);
        const ResultTable &t = f.tab->sepet();
        double toplam = 0;
        for (int r = 0; r < t.rowCount(); ++r)
            toplam = IkiHaneYuvarla(toplam + t.doubleValue(r, fieldOf(t, "TUTAR")));
        QCOMPARE(f.tab->aratoplaml()->text(), ToplamYazisi(toplam));
        // The search box takes the focus with its text selected.
        QTRY_COMPARE(QApplication::focusWidget(), f.form->araedit());
        QCOMPARE(f.form->araedit()->selectedText(), QStringLiteral("FREN"));

        f.tab->Button5()->click();
        for (int v : f.serverChoices())
            QCOMPARE(v, 0);
        QCOMPARE(f.localChoices(), f.serverChoices());
        QCOMPARE(shownTotals(*f.tab), QStringLiteral("0,00 / 0,00 / 0,00 / 0,00 / 0,00"));
    }

    // "Satır Sil" asks first (default "Hayır"); "Evet" deletes that line only, reloads and says
    // so.
    void deleteOneLine() {
        CartFixture f;
        f.open();
        f.addItems(3);
        f.showCart();
        const ResultTable &t = f.tab->sepet();
        const int doomed = int(t.intValue(1, fieldOf(t, "SIRANO")));
        QVERIFY(f.tab->cxGrid2()->focusRow(1, u"BARKOD"));

        ModalAnswerer m;
        const QString question = QStringLiteral("Satırı silmek istiyor musunuz ");
        m.expect({QStringLiteral("Soru"), question, QStringLiteral("Hayır"), [](QWidget *w) {
                      auto *box = qobject_cast<QMessageBox *>(w);
                      QVERIFY(box && box->defaultButton() == box->button(QMessageBox::No));
                  }});
        f.tab->SatrSil1()->trigger();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.serverCart()->rowCount(), 3);

        m.expect({QStringLiteral("Soru"), question, QStringLiteral("Evet")});
        // The cart has been reloaded when the message comes.
        m.expect({QStringLiteral("Bilgi"), QStringLiteral("Satır silindi !"),
                  QStringLiteral("Tamam"),
                  [&f](QWidget *) { QCOMPARE(f.tab->sepet().rowCount(), 2); }});
        f.tab->SatrSil1()->trigger();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        const auto left = f.serverChoices();
        QCOMPARE(left.size(), 2);
        QVERIFY(!left.contains(doomed));
        QCOMPARE(f.localChoices().keys(), left.keys());
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("2=Sepet"));
    }

    // "Hepsini Sil": nothing at all on an empty cart; closing the question deletes nothing;
    // "Evet" empties the cart.
    void deleteAll() {
        CartFixture f;
        f.open();
        f.showCart();
        QCOMPARE(f.tab->sepet().rowCount(), 0);
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("0=Sepet"));
        f.tab->HepsiniSil1()->trigger(); // returns at once: no question was asked
        QVERIFY(!QApplication::activeModalWidget());

        f.addItems(2);
        QVERIFY(f.tab->SepetYukle());
        ModalAnswerer m;
        const QString question = QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz ");
        m.expect({QStringLiteral("Soru"), question, QString()}); // closed without an answer
        f.tab->HepsiniSil1()->trigger();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.serverCart()->rowCount(), 2);

        m.expect({QStringLiteral("Soru"), question, QStringLiteral("Evet")});
        // The message comes before the reload.
        m.expect({QStringLiteral("Bilgi"), QStringLiteral("Sepet Silindi !"),
                  QStringLiteral("Tamam"),
                  [&f](QWidget *) { QCOMPARE(f.tab->sepet().rowCount(), 2); }});
        f.tab->HepsiniSil1()->trigger();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.serverCart()->rowCount(), 0);
        QCOMPARE(f.tab->sepet().rowCount(), 0);
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("0=Sepet"));
    }

    // "Excel Kaydet" through the real save dialog: the file gets the extension "xls"; a
    // cancelled dialog writes nothing; a failed write is reported, not passed over.
    void excelExport() {
        CartFixture f;
        f.open();
        f.addItems(2);
        f.showCart();
        QTemporaryDir dir;
        const QString asked = dir.filePath(QStringLiteral("sepet.xlsx"));
        ModalAnswerer m;
        m.expect({QStringLiteral("Excel Kaydet"), QString(), QString(), [&](QWidget *w) {
                      auto *d = qobject_cast<QFileDialog *>(w);
                      QVERIFY(d);
                      QCOMPARE(d->nameFilters(), QStringList{"Excel (*.xls*)"});
                      d->setDirectory(dir.path());
                      // What the user types into the name box (selectFile leaves a focused box
                      // alone).
                      auto *name = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                      QVERIFY(name);
                      name->setText(QStringLiteral("sepet.xlsx"));
                      static_cast<QDialog *>(d)->accept();
                  }});
        f.tab->Button2()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QFile written(dir.filePath(QStringLiteral("sepet.xls")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(8), QByteArray::fromHex("d0cf11e0a1b11ae1")); // OLE2 workbook
        QVERIFY(!QFile::exists(asked));

        int asks = 0;
        f.tab->setDosyaSorucu([&asks] {
            ++asks;
            return QString();
        });
        f.tab->Button2()->click();
        QCOMPARE(asks, 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"sepet.xls"});

        f.tab->setDosyaSorucu([&] { return dir.filePath(QStringLiteral("yok/sepet.xls")); });
        m.expect({QStringLiteral("Hata"), QString(), QStringLiteral("Tamam"), [](QWidget *w) {
                      QVERIFY(qobject_cast<QMessageBox *>(w)->text().startsWith(
                          QStringLiteral("Excel dosyası kaydedilemedi")));
                  }});
        f.tab->Button2()->click();
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
    }

    // On a screen wider than 1152 px the columns share the grid's width by weight on every
    // resize; on a narrower one they fit their content.
    void columnWidths() {
        CartFixture f;
        f.open();
        f.addItems(2);
        f.showCart();
        Grid *g = f.tab->cxGrid2();
        f.tab->setEkranGenisligi(1153);
        f.form->resize(1500, 900);
        QTRY_COMPARE(g->width(), f.tab->width());
        int sum = 0;
        for (const QString &key : g->visibleColumns())
            sum += g->columns()[g->columnIndex(key)].weight;
        const int unit = (g->width() - 30) / sum;
        QCOMPARE(g->columnWidth(u"STOKADI"), 3 * unit);
        QCOMPARE(g->columnWidth(u"BARKOD"), 2 * unit);
        QCOMPARE(g->columnWidth(u"SEC"), unit);

        f.tab->setEkranGenisligi(1152);
        f.form->resize(1300, 900);
        QTRY_COMPARE(g->width(), f.tab->width());
        // Fitted to the content: fitting again changes nothing, and the weights are not used.
        QList<int> fitted;
        for (const QString &key : g->visibleColumns())
            fitted << g->columnWidth(key);
        g->bestFit();
        QList<int> again;
        for (const QString &key : g->visibleColumns())
            again << g->columnWidth(key);
        QCOMPARE(again, fitted);
        const int narrowUnit = (g->width() - 30) / sum;
        QVERIFY(g->columnWidth(u"STOKADI") != 3 * narrowUnit ||
                g->columnWidth(u"SEC") != narrowUnit);
    }

    // A cart that cannot be reloaded keeps what it showed: after the connection message, and
    // after a server error (which goes to the general error report).
    void failedReloadKeepsTheCart() {
        CartFixture f;
        f.open();
        f.addItems(2);
        f.showCart();
        f.addItems(1);
        const QString port = f.form->bagc().Port();
        f.form->bagc().SetPort(deadPort());
        ModalAnswerer m;
        m.expect(
            {QStringLiteral("Hata"), QString::fromUtf8(kBaglantiMesaji), QStringLiteral("Tamam")});
        QVERIFY(!f.tab->SepetYukle());
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QCOMPARE(f.tab->sepet().rowCount(), 2);
        QCOMPARE(f.tab->cxGrid2()->rowCount(), 2);
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("2=Sepet"));

        // The server fails the call: its text reaches the general error report.
        f.form->bagc().SetPort(port);
        {
            appserver::Db db(f.server.dbPath());
            db.exec("ALTER TABLE cart_lines RENAME TO cart_lines_saved");
        }
        m.expect({QStringLiteral("Zenvora B2B"), QString(), QStringLiteral("OK")});
        QVERIFY(!f.tab->SepetYukle());
        QTRY_VERIFY2(m.done(), qPrintable(m.report()));
        QVERIFY2(m.seen().last().contains(QStringLiteral("cart_lines")), qPrintable(m.report()));
        QCOMPARE(f.tab->sepet().rowCount(), 2);
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("2=Sepet"));
        {
            appserver::Db db(f.server.dbPath());
            db.exec("ALTER TABLE cart_lines_saved RENAME TO cart_lines");
        }
        QVERIFY(f.tab->SepetYukle());
        QCOMPARE(f.form->sekmeBasligi(f.form->ssepet()), QStringLiteral("3=Sepet"));
    }
};

QTEST_MAIN(TestCart)
#include "test_cart.moc"
