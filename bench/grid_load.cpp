// Showing a 100,000 x 35 result in the grid (model reset to first paint, with header filters, a
// footer and a drawn column) beside a bare QTableView over a plain model of the same table, and
// the time to apply a header filter and to sort at that size.
#include "widgets/grid.h"
#include "widgets/gridmodel.h"
#include "widgets/numberformat.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zenvo;

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 7;

ResultTable makeTable() {
    ResultTable t;
    for (int c = 0; c < 5; ++c)
        t.addField({QStringLiteral("I%1").arg(c), FieldType::Integer, 0});
    for (int c = 0; c < 10; ++c)
        t.addField({QStringLiteral("D%1").arg(c), FieldType::Double, 0});
    for (int c = 0; c < 20; ++c)
        t.addField({QStringLiteral("S%1").arg(c), FieldType::String, 60});
    t.reserve(kRows);
    const QStringList makes = {QStringLiteral("FORD"),    QStringLiteral("RENAULT"),
                               QStringLiteral("FIAT"),    QStringLiteral("TOYOTA"),
                               QStringLiteral("HYUNDAİ"), QStringLiteral("OPEL"),
                               QStringLiteral("ŞAHİN"),   QStringLiteral("DOĞAN")};
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int r = 0; r < kRows; ++r) {
        t.appendInt(0, r);
        t.appendInt(1, next() % 6);
        for (int c = 2; c < 5; ++c)
            t.appendInt(c, next() % 1000);
        for (int c = 5; c < 15; ++c)
            t.appendDouble(c, (next() % 10000000) / 100.0);
        t.appendString(15, QStringLiteral("ÜRÜN %1 PARÇA %2").arg(next() % 90000).arg(r));
        t.appendString(
            16, QString(makes[int(next() % makes.size())] + QStringLiteral(" %1").arg(next() % 5)));
        for (int c = 17; c < 35; ++c)
            t.appendString(c, QStringLiteral("K%1-%2").arg(c).arg(next() % 5000));
        t.commitRow();
    }
    SayiFormatla(t);
    return t;
}

// A plain model: the table's text under DisplayRole, nothing else.
class PlainModel final : public QAbstractTableModel {
public:
    void setTable(const ResultTable *t) {
        beginResetModel();
        m_table = t;
        endResetModel();
    }
    int rowCount(const QModelIndex &p = {}) const override {
        return p.isValid() || !m_table ? 0 : m_table->rowCount();
    }
    int columnCount(const QModelIndex &p = {}) const override {
        return p.isValid() || !m_table ? 0 : m_table->columnCount();
    }
    QVariant data(const QModelIndex &i, int role) const override {
        if (role != Qt::DisplayRole || !m_table)
            return {};
        return m_table->stringValue(i.row(), i.column());
    }

private:
    const ResultTable *m_table = nullptr;
};

// Counts paint events of a viewport.
class PaintProbe final : public QObject {
public:
    explicit PaintProbe(QWidget *viewport) { viewport->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Runs `change`, then the event loop until the viewport has painted; milliseconds.
template <typename F> double timeToPaint(PaintProbe &probe, F change) {
    const int before = probe.paints;
    QElapsedTimer clock;
    clock.start();
    change();
    while (probe.paints == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    QElapsedTimer build;
    build.start();
    const ResultTable table = makeTable();
    std::printf("grid_load: %d rows x %d columns (built in %lld ms)\n", table.rowCount(),
                table.columnCount(), build.elapsed());

    // bare QTableView over a plain model
    PlainModel plain;
    QTableView bare;
    bare.setModel(&plain);
    bare.resize(1400, 800);
    bare.show();
    PaintProbe bareProbe(bare.viewport());

    // the grid: every column, a status icon, a drawn column, filters on, a footer
    Grid grid;
    QList<GridColumn> columns;
    for (int c = 0; c < table.columnCount(); ++c)
        columns << GridColumn(table.field(c).name, {}, 1,
                              c == 1 ? CellKind::StatusIcon : CellKind::Text);
    columns.insert(
        2, GridColumn::drawn(
               QStringLiteral("OZET"), QStringLiteral("Özet"), 2,
               [](QPainter &p, const GridCell &cell) {
                   p.drawText(
                       cell.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter,
                       formatFloat(QStringLiteral("#,###,##0.00"), cell.row.number(u"D0")) + u'\n' +
                           formatFloat(QStringLiteral("#,###,##0.00"), cell.row.number(u"D1")));
               },
               [](const GridRow &row) -> QString {
                   return formatFloat(QStringLiteral("#,###,##0.00"), row.number(u"D0"));
               }));
    grid.setColumns(columns);
    grid.setFooterSummaries(
        {{SummaryKind::Count, QStringLiteral("S0")}, {SummaryKind::Sum, QStringLiteral("D0")}});
    grid.resize(1400, 800);
    grid.show();
    PaintProbe gridProbe(grid.view()->viewport());
    QCoreApplication::processEvents();

    std::vector<double> bareTimes, gridTimes;
    for (int run = 0; run < kRuns; ++run) {
        bareTimes.push_back(timeToPaint(bareProbe, [&] { plain.setTable(&table); }));
        gridTimes.push_back(timeToPaint(gridProbe, [&] { grid.setTable(&table); }));
        plain.setTable(nullptr);
        grid.setTable(nullptr);
        QCoreApplication::processEvents();
    }
    const double bareMs = median(bareTimes);
    const double gridMs = median(gridTimes);
    std::printf("reset to first paint, median of %d\n", kRuns);
    std::printf("  bare QTableView, plain model   %8.1f ms\n", bareMs);
    std::printf("  zenvo::Grid                    %8.1f ms   ratio %.2fx (target <= 1.5x)\n",
                gridMs, gridMs / bareMs);

    grid.setTable(&table);
    QCoreApplication::processEvents();
    const QStringList makes = grid.filterValues(u"S1");
    const QStringList chosen = makes.mid(0, 3);
    const double filterMs = timeToPaint(gridProbe, [&] { grid.setColumnFilter(u"S1", chosen); });
    std::printf(
        "header filter on S1 (%lld of %lld values, %d rows left)  %8.1f ms (target < 100 ms)\n",
        qint64(chosen.size()), qint64(makes.size()), grid.rowCount(), filterMs);
    const double clearMs = timeToPaint(gridProbe, [&] { grid.clearFilters(); });
    std::printf("clearing the filters                          %8.1f ms\n", clearMs);

    const double sortText = timeToPaint(gridProbe, [&] { grid.sortBy(u"S0"); });
    const double sortTextAgain =
        timeToPaint(gridProbe, [&] { grid.sortBy(u"S0", Qt::DescendingOrder); });
    const double sortNumber = timeToPaint(gridProbe, [&] { grid.sortBy(u"D3"); });
    std::printf("sort by text column S0 (first, keys built)    %8.1f ms (target < 100 ms)\n",
                sortText);
    std::printf("sort by text column S0 again, descending      %8.1f ms\n", sortTextAgain);
    std::printf("sort by number column D3                      %8.1f ms (target < 100 ms)\n",
                sortNumber);

    // the same header filter through QSortFilterProxyModel, for comparison
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(grid.model());
    grid.clearSort();
    QElapsedTimer clock;
    clock.start();
    proxy.setFilterKeyColumn(grid.columnIndex(u"S1"));
    proxy.setFilterRegularExpression(QStringLiteral("^(%1)$").arg(
        QStringList(chosen)
            .replaceInStrings(QStringLiteral("+"), QStringLiteral("\\+"))
            .join(u'|')));
    std::printf("QSortFilterProxyModel, same filter (no view)  %8.1f ms, %d rows left\n",
                clock.nsecsElapsed() / 1e6, proxy.rowCount());
    return 0;
}
