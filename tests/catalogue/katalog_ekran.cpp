// Renders the catalogue against a demo server into PNG files, for looking at the result:
//   katalog_ekran <folder>
// stok_genis.png and stok_dar.png (the stock list after a search, 1400 and 1100 px wide),
// diyalog.png (the item dialog with a picture), yeniler.png and kampanyali.png.
#include "app/application.h"
#include "catalogue/ozellisteler.h"
#include "catalogue/sepetislemleri.h"
#include "catalogue/stoklistesi.h"
#include "tests/catalogue/ortam.h"
#include "widgets/grid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

using namespace zenvo;
using namespace zenvo::testing;

namespace {

void bekle(const std::function<bool()> &kosul, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!kosul() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void dinlen(int ms) {
    bekle([] { return false; }, ms);
}

} // namespace

int main(int argc, char **argv) {
    ZenvoApplication app(argc, argv);
    GorunumUygula(app);
    if (argc < 2)
        return 2;
    const QDir klasor(QString::fromLocal8Bit(argv[1]));
    KatalogTestiHazirla();

    Ortam o;
    o.form.AnaBilgiAl();
    o.form.resize(1400, 900);
    o.form.show();
    dinlen(300);
    StokListesi &s = o.katalog->stokListesi();
    o.form.araedit()->setText(QStringLiteral("FREN"));
    s.AramaBaslat();
    bekle([&] { return o.form.araedit()->isEnabled(); });
    s.cxGrid1()->focusRow(s.cxGrid1()->visibleRows().value(1));
    dinlen(300);
    bool ok = o.form.grab().save(klasor.filePath(QStringLiteral("stok_genis.png")));
    o.form.resize(1100, 900);
    dinlen(300);
    ok &= o.form.grab().save(klasor.filePath(QStringLiteral("stok_dar.png")));

    // The item dialog of a row with a picture, three pieces.
    const ResultTable &t = s.stok();
    int satir = 0;
    for (int r = 0; r < t.rowCount(); ++r)
        if (t.intValue(r, kolon(t, "RESIM")) == 1 && t.intValue(r, kolon(t, "K")) == 0) {
            satir = r;
            break;
        }
    QObject::connect(&o.katalog->sepetIslemleri(), &SepetIslemleri::diyalogAcildi, &app,
                     [&](Tstokayarinti *d) {
                         QTimer::singleShot(300, d, [&, d] {
                             d->adet()->setValue(3);
                             dinlen(100);
                             ok &= d->grab().save(klasor.filePath(QStringLiteral("diyalog.png")));
                             d->reject();
                         });
                     });
    o.katalog->sepetIslemleri().Giris(GirisYolu::StokListesi, t, satir);

    o.form.resize(1400, 900);
    for (auto [sayfa, liste, ad] :
         {std::tuple{o.form.syeniler(), &o.katalog->yeniler(), "yeniler.png"},
          std::tuple{o.form.skampanyali(), &o.katalog->kampanyali(), "kampanyali.png"}}) {
        o.form.sPageControl1()->setCurrentWidget(sayfa);
        dinlen(100);
        bekle([liste] { return !liste->yukleniyor(); });
        dinlen(300);
        ok &= o.form.grab().save(klasor.filePath(QString::fromLatin1(ad)));
    }
    return ok ? 0 : 1;
}
