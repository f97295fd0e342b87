// Renders a stock list built from the shared widgets into a PNG, for looking at the result:
//   grid_demo out.png [narrow]
#include "widgets/busyindicator.h"
#include "widgets/grid.h"
#include "widgets/marquee.h"
#include "widgets/numberformat.h"
#include "widgets/statusicons.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

using namespace zenvo;

namespace {

ResultTable demoTable() {
    ResultTable t;
    const auto add = [&t](const char *name, FieldType type) {
        t.addField({QString::fromLatin1(name), type, 0});
    };
    add("STOK_STOKNO", FieldType::Integer);
    add("DURUM", FieldType::Integer);
    add("BARKOD", FieldType::String);
    add("ADI", FieldType::String);
    add("MARKA", FieldType::String);
    add("MODEL", FieldType::String);
    add("OZELKOD", FieldType::String);
    add("RESIM", FieldType::Integer);
    add("LISTEFIYAT1", FieldType::Double);
    add("KAMPFIYAT", FieldType::Double);
    add("Y", FieldType::Integer);
    add("K", FieldType::Integer);
    add("INDIRIMYAZI", FieldType::String);
    add("NETFIYAT", FieldType::Double);
    add("KDVDAHIL", FieldType::Double);
    const QStringList parts = {
        QStringLiteral("ÖN FREN BALATASI"),
        QStringLiteral("ARKA AMORTİSÖR SAĞ"),
        QStringLiteral("DEBRİYAJ SETİ"),
        QStringLiteral("YAĞ FİLTRESİ"),
        QStringLiteral("HAVA FİLTRESİ ÇİFT KATLI"),
        QStringLiteral("ROT BAŞI SOL"),
        QStringLiteral("SİLECEK SÜPÜRGESİ 600 MM"),
        QStringLiteral("TRİGER SETİ + DEVİRDAİM"),
        QStringLiteral("ATEŞLEME BOBİNİ"),
        QStringLiteral("KLİMA KOMPRESÖRÜ"),
        QStringLiteral("ÇAMURLUK DAVLUMBAZI"),
        QStringLiteral("SİS FARI SAĞ"),
        QStringLiteral("GERİ VİTES MÜŞÜRÜ"),
        QStringLiteral("YAKIT POMPASI"),
    };
    const QStringList makes = {QStringLiteral("FORD"), QStringLiteral("RENAULT"),
                               QStringLiteral("FIAT"), QStringLiteral("TOYOTA"),
                               QStringLiteral("HYUNDAİ")};
    const QStringList models = {QStringLiteral("FOCUS 1.6"), QStringLiteral("CLIO IV"),
                                QStringLiteral("EGEA"), QStringLiteral("COROLLA"),
                                QStringLiteral("İ20")};
    for (int i = 0; i < 60; ++i) {
        const double list = 35.0 + (i * 7919 % 4000) / 1.7;
        const bool campaign = i % 5 == 2;
        const double discount = 10 + (i % 4) * 5;
        const double net = (campaign ? list * 0.8 : list) * (1 - discount / 100);
        t.appendRow({1000 + i, i % 6, QStringLiteral("869%1").arg(4410000 + i * 37),
                     parts[i % parts.size()], makes[i % makes.size()],
                     models[(i / 2) % models.size()], QStringLiteral("ÖK-%1").arg(i % 9),
                     i % 3 == 0 ? 1 : 0, list, campaign ? list * 0.8 : 0.0, i % 7 == 1 ? 1 : 0,
                     campaign ? 1 : 0, QStringLiteral("%1+5").arg(discount), net,
                     IkiHaneYuvarla(net * 1.18)});
    }
    SayiFormatla(t);
    return t;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const bool narrow = argc > 2 && QByteArray(argv[2]) == "narrow";
    const ResultTable table = demoTable();

    QWidget window;
    window.resize(narrow ? 1100 : 1400, 900);
    window.setStyleSheet(QStringLiteral("background: #F4F6F8;"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->setSpacing(6);

    auto *bar = new QHBoxLayout;
    auto *search = new QLineEdit(QStringLiteral("BALATA"));
    QFont searchFont(QStringLiteral("Tahoma"));
    searchFont.setPixelSize(20);
    search->setFont(searchFont);
    search->setFixedWidth(340);
    search->setStyleSheet(QStringLiteral("background: white;"));
    bar->addWidget(search);
    auto *busy = new BusyIndicator;
    bar->addWidget(busy);
    bar->addStretch(1);
    layout->addLayout(bar);
    busy->start();

    auto *grid = new Grid;
    const auto money = [](const GridRow &row) -> QString {
        const auto line = [](const QString &caption, double v) -> QString {
            return caption + formatFloat(QStringLiteral("#,###,##0.00"), v) + u'\n';
        };
        QString text = line(QStringLiteral("Liste Fiyatı: "), row.number(u"LISTEFIYAT1"));
        if (row.number(u"KAMPFIYAT") > 0)
            text += line(QStringLiteral("Kampanyalı Fiyat: "), row.number(u"KAMPFIYAT"));
        text += line(QStringLiteral("NetFiyat: "), row.number(u"NETFIYAT"));
        text += line(QStringLiteral("KDV li Fiyat: "), row.number(u"KDVDAHIL"));
        return text;
    };
    grid->setColumns({
        GridColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, CellKind::StatusIcon),
        GridColumn(QStringLiteral("BARKOD"), QStringLiteral("Barkod"), 2, CellKind::WrappedText),
        GridColumn(QStringLiteral("ADI"), QStringLiteral("Açıklama"), 3, CellKind::WrappedText),
        GridColumn(QStringLiteral("STOK_STOKNO")).hidden().fixed().notFocusable().notFilterable(),
        GridColumn(QStringLiteral("RESIM"), QStringLiteral("Resim"), 1, CellKind::PictureIcon),
        GridColumn(QStringLiteral("MARKA"), QStringLiteral("Marka"), 2, CellKind::WrappedText),
        GridColumn(QStringLiteral("MODEL"), QStringLiteral("Model"), 2, CellKind::WrappedText),
        GridColumn(QStringLiteral("OZELKOD"), QStringLiteral("Özel Kod"), 2, CellKind::WrappedText),
        GridColumn(QStringLiteral("LISTEFIYAT1"), QStringLiteral("Liste Fiyatı"), 2),
        GridColumn(QStringLiteral("KAMPFIYAT"), QStringLiteral("Kampanyalı Fiyat"), 2),
        GridColumn(QStringLiteral("Y"), QStringLiteral("Yeni"), 1, CellKind::FlagIcon),
        GridColumn(QStringLiteral("K"), QStringLiteral("Kampanyalı"), 1, CellKind::FlagIcon),
        GridColumn(QStringLiteral("INDIRIMYAZI"), QStringLiteral("İndirim Oran"), 2)
            .aligned(Qt::AlignHCenter),
        GridColumn(QStringLiteral("NETFIYAT"), QStringLiteral("Net Fiyatı"), 2),
        GridColumn(QStringLiteral("KDVDAHIL"), QStringLiteral("KDV Dahil Fiyat"), 3),
        GridColumn::drawn(
            QStringLiteral("FIYATBILGISI"), QStringLiteral("Fiyat Bilgisi"), 2,
            [money](QPainter &p, const GridCell &cell) {
                p.drawText(cell.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter,
                           money(cell.row).trimmed());
            },
            money)
            .hidden(),
    });
    GridLook look;
    look.rowHeight = narrow ? 100 : 60;
    look.indicatorWidth = 5;
    grid->setLook(look);
    grid->setFooterSummaries({{SummaryKind::Count, QStringLiteral("BARKOD")}});
    grid->setTable(&table);
    layout->addWidget(grid, 1);

    layout->addWidget(new StatusLegend);
    auto *marquee = new Marquee;
    marquee->setFixedHeight(40);
    QFont marqueeFont(QStringLiteral("Arial"));
    marqueeFont.setPixelSize(24);
    marquee->setFont(marqueeFont);
    marquee->addHtml(
        QStringLiteral("<b>Kampanya:</b> Tüm <font color=#00A0D2>fren balatalarında</font> "
                       "%15 indirim — <i>Şubat sonuna kadar</i>"));
    layout->addWidget(marquee);

    window.show();
    QCoreApplication::processEvents();
    if (narrow) {
        for (const char *key : {"LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT", "KDVDAHIL"})
            grid->setColumnVisible(QString::fromLatin1(key), false);
        grid->setColumnVisible(u"FIYATBILGISI", true);
    }
    grid->applyWeights(grid->width());
    if (narrow)
        grid->setColumnWidth(u"FIYATBILGISI", 150);
    grid->setColumnFilter(u"MARKA", {QStringLiteral("FORD"), QStringLiteral("RENAULT"),
                                     QStringLiteral("FIAT"), QStringLiteral("TOYOTA")});
    grid->sortBy(u"LISTEFIYAT1", Qt::DescendingOrder);
    grid->focusRow(grid->visibleRows().value(2), u"ADI");
    marquee->start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 6000) // let the marquee text come in
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
