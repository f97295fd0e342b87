// Renders the cart tab with a few chosen lines and its lower panel, and the order confirmation,
// into PNG files for looking at them (a real zenvo-server runs in-process):
//   cart_shots sepet.png onay.png [width height]
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/messages.h"
#include "appserver/demodata.h"
#include "appserver/schema.h"
#include "cart/onaysip.h"
#include "cart/secimgrubu.h"
#include "cart/sepetsekmesi.h"
#include "server/proxy.h"
#include "tests/support/testserver.h"
#include "widgets/grid.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

using namespace zenvo;

namespace {

void waitFor(const std::function<bool()> &condition, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

int col(const ResultTable &t, const char *name) {
    return t.fieldIndex(QString::fromLatin1(name));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        qWarning("usage: cart_shots sepet.png onay.png [width height]");
        return 2;
    }
    QApplication app(argc, argv);
    GorunumUygula(app);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    SetBaglantiBekleyici([](int) {});
    SetBaglantiMesajGosterici([](const QString &m) { MesajGoster(m, Hata); });
    const int width = argc > 4 ? QByteArray(argv[3]).toInt() : 1400;
    const int height = argc > 4 ? QByteArray(argv[4]).toInt() : 900;

    testing::TestServer server(appserver::serverDispatcher(), [](sqlite3 *db) {
        appserver::createSchema(db);
        appserver::fillDemoData(db, {.items = 400, .seed = 1});
    });
    auto conn = server.connection();
    TForm1 form;
    form.bagc().SetHostName(QStringLiteral("127.0.0.1"));
    form.bagc().SetPort(QString::number(server.port()));
    {
        conn->Open();
        TServerMethods1Client proxy(conn.get());
        auto s = proxy.BuyukGetir(QStringLiteral("DEMO-BAYI2"));
        form.sbilgi().Kopyala(*s);
        conn->Close();
    }
    const auto session = [&form] {
        auto s = std::make_unique<TSonucBilgisi>();
        s->Kopyala(form.sbilgi());
        return s;
    };
    {
        conn->Open();
        TServerMethods1Client proxy(conn.get());
        proxy.SepetHepsiniSil(session());
        conn->Close();
        conn->Open();
        TServerMethods1Client search(conn.get());
        auto items = search.StokAraGetir(QStringLiteral("FREN"), session());
        conn->Close();
        const double qty[] = {4, 2, 10, 1, 6, 3};
        for (int r = 0; r < 6 && r < items->rowCount(); ++r) {
            const ResultTable &t = *items;
            conn->Open();
            TServerMethods1Client add(conn.get());
            add.SepetEkle2(
                session(), form.sbilgi().CARINO(), int(t.intValue(r, col(t, "STOK_STOKNO"))),
                t.stringValue(r, col(t, "BARKOD")), t.stringValue(r, col(t, "ADI")), qty[r],
                double(t.intValue(r, col(t, "KDV"))), t.doubleValue(r, col(t, "FIYAT")),
                t.doubleValue(r, col(t, "IND1")), form.sbilgi().Sirano(),
                int(t.intValue(r, col(t, "K"))), t.doubleValue(r, col(t, "IND2")),
                t.doubleValue(r, col(t, "IND3")), t.doubleValue(r, col(t, "IND4")));
            conn->Close();
        }
    }

    form.AnaBilgiAl();
    SepetSekmesi *tab = SepetKur(form);
    form.resize(width, height);
    form.show();
    SetMesajSahibi(&form);
    form.sPageControl1()->setCurrentWidget(form.ssepet());
    waitFor([tab] {
        return tab->SepetYuklendi() && tab->teslimbox()->count() > 0 && tab->suranUyarilar() == 0;
    });
    for (int r : {0, 2, 3}) {
        tab->cxGrid2()->focusRow(r, u"SEC");
        tab->Deitir1Click();
    }
    tab->cxGrid2()->focusRow(1, u"STOKADI");
    tab->boxkargo()->clickItem(0);
    tab->kargocombo()->setCurrentIndex(1);
    tab->kargocomboChange();
    tab->aciklamagir()->setPlainText(QStringLiteral("Öğleden önce teslim lütfen.\nFaturayı "
                                                    "şubeye gönderiniz."));
    QCoreApplication::processEvents();
    if (!form.grab().save(QString::fromLocal8Bit(argv[1])))
        return 1;

    bool saved = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *d = qobject_cast<TONAYSIP *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        poll.stop();
        saved = d->grab().save(QString::fromLocal8Bit(argv[2]));
        d->Button2()->click();
    });
    poll.start();
    tab->Button1()->click();
    return saved ? 0 : 1;
}
