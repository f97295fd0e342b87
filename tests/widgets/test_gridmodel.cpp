#include "fixture.h"
#include "widgets/gridmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace zenvo;

namespace {

QList<GridColumn> stockColumns() {
    return {
        GridColumn(QStringLiteral("STOK_STOKNO")),
        GridColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, CellKind::StatusIcon),
        GridColumn(QStringLiteral("ADI"), QStringLiteral("Açıklama"), 3, CellKind::WrappedText),
        GridColumn(QStringLiteral("MARKA"), QStringLiteral("Marka"), 2),
        GridColumn(QStringLiteral("FIYAT"), QStringLiteral("Fiyat"), 2),
        GridColumn(QStringLiteral("MIKTAR"), QStringLiteral("Miktar"), 1, CellKind::Number),
        GridColumn(QStringLiteral("Y"), QStringLiteral("Yeni"), 1, CellKind::FlagIcon),
        GridColumn(QStringLiteral("OEM1"), QStringLiteral("Oem1"), 2), // not in the result
        GridColumn::drawn(QStringLiteral("Etiket"), QStringLiteral("Etiket"), 2, nullptr,
                          [](const GridRow &row) -> QString {
                              return row.text(u"BARKOD").left(1) + u'/' + row.text(u"MARKA");
                          }),
    };
}

int col(const GridModel &m, const char *key) {
    return m.columnIndex(QString::fromLatin1(key));
}

QList<int> keysInOrder(const GridModel &m) {
    QList<int> keys;
    for (int r = 0; r < m.rowCount(); ++r)
        if (m.rowKind(r) == GridModel::RowKind::Data)
            keys << m.data(m.index(r, 0), GridModel::RawValueRole).toInt();
    return keys;
}

} // namespace

class TestGridModel : public QObject {
    Q_OBJECT
    ResultTable table;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }
    void init() { table = fixture::stock(); }

    // The Qt model checker watches every operation the grid performs on its model.
    void modelContract() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns(stockColumns());
        model.setTable(&table);
        QCOMPARE(model.rowCount(), 8);
        for (int c = 0; c < model.columnCount(); ++c) {
            model.sort(c, Qt::AscendingOrder);
            model.sort(c, Qt::DescendingOrder);
        }
        model.sort(-1);
        model.setFilter(col(model, "MARKA"), {QStringLiteral("FORD")});
        model.setFilter(col(model, "Etiket"), {QStringLiteral("B/FORD")});
        QCOMPARE(model.rowCount(), 3);
        model.clearFilters();
        model.setGroupColumn(col(model, "MARKA"));
        model.collapseAll();
        model.setGroupExpanded(1, true);
        model.setGroupExpanded(1, false);
        model.expandAll();
        model.setTable(nullptr);
        QCOMPARE(model.rowCount(), 0);
        model.setTable(&table);
        model.reload();
        QVERIFY(!QTest::currentTestFailed());
    }

    void displayAndRawValues_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("raw");
        QTest::newRow("money with separators") << "FIYAT" << 0 << "1.234,50" << QVariant(1234.5);
        QTest::newRow("below one") << "FIYAT" << 5 << "0,50" << QVariant(0.5);
        QTest::newRow("null money") << "FIYAT" << 7 << "" << QVariant();
        QTest::newRow("null text") << "MARKA" << 4 << "" << QVariant();
        QTest::newRow("turkish text") << "ADI" << 2 << QStringLiteral("IŞIK GRUBU SAĞ")
                                      << QVariant(QStringLiteral("IŞIK GRUBU SAĞ"));
        QTest::newRow("integer") << "MIKTAR" << 5 << "24" << QVariant(24);
        QTest::newRow("status") << "DURUM" << 1 << "Yok" << QVariant(0);
        QTest::newRow("unknown status") << "DURUM" << 7 << "" << QVariant(9);
        QTest::newRow("flag") << "Y" << 0 << "Evet" << QVariant(1);
        QTest::newRow("missing field") << "OEM1" << 0 << "" << QVariant();
        QTest::newRow("drawn text") << "Etiket" << 4 << "C/" << QVariant(QStringLiteral("C/"));
    }
    void displayAndRawValues() {
        QFETCH(QString, key);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QVariant, raw);
        GridModel model;
        model.setColumns(stockColumns());
        model.setTable(&table);
        const QModelIndex index = model.index(row, model.columnIndex(key));
        QCOMPARE(index.data(Qt::DisplayRole).toString(), text);
        QCOMPARE(index.data(GridModel::RawValueRole), raw);
    }

    void sorting_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("order");
        QTest::addColumn<QList<int>>("expected");
        // Turkish alphabet: C < Ç < D < I < İ < Ö < Ş < Ü
        QTest::newRow("text asc") << "ADI" << int(Qt::AscendingOrder)
                                  << QList<int>{102, 101, 105, 103, 104, 107, 106, 108};
        QTest::newRow("text desc") << "ADI" << int(Qt::DescendingOrder)
                                   << QList<int>{108, 106, 107, 104, 103, 105, 101, 102};
        // nulls first; equal prices keep table order both ways
        QTest::newRow("number asc") << "FIYAT" << int(Qt::AscendingOrder)
                                    << QList<int>{108, 106, 104, 102, 101, 107, 103, 105};
        QTest::newRow("number desc") << "FIYAT" << int(Qt::DescendingOrder)
                                     << QList<int>{105, 103, 101, 107, 102, 104, 106, 108};
        QTest::newRow("text with null") << "MARKA" << int(Qt::AscendingOrder)
                                        << QList<int>{105, 104, 107, 101, 103, 108, 102, 106};
        QTest::newRow("missing field keeps order")
            << "OEM1" << int(Qt::AscendingOrder)
            << QList<int>{101, 102, 103, 104, 105, 106, 107, 108};
    }
    void sorting() {
        QFETCH(QString, key);
        QFETCH(int, order);
        QFETCH(QList<int>, expected);
        GridModel model;
        model.setColumns(stockColumns());
        model.setTable(&table);
        model.sort(model.columnIndex(key), Qt::SortOrder(order));
        QCOMPARE(keysInOrder(model), expected);
    }

    void filters() {
        GridModel model;
        model.setColumns(stockColumns());
        model.setTable(&table);
        const int marka = col(model, "MARKA");
        const int fiyat = col(model, "FIYAT");
        QCOMPARE(model.filterValues(marka), (QStringList{QString(), "FIAT", "FORD", "RENAULT"}));

        model.setFilter(marka, {QStringLiteral("FORD")});
        QCOMPARE(keysInOrder(model), (QList<int>{101, 103, 108}));
        // another column offers only what the first filter lets through, in value order
        QCOMPARE(model.filterValues(fiyat), (QStringList{QString(), "1.234,50", "2.500,00"}));
        model.setFilter(fiyat, {QStringLiteral("1.234,50")});
        QCOMPARE(keysInOrder(model), (QList<int>{101}));
        // ... and a filtered column still offers the values the other filters allow
        QCOMPARE(model.filterValues(marka), (QStringList{"FIAT", "FORD"}));

        model.clearFilter(fiyat);
        model.setFilter(marka, {QString()});
        QCOMPARE(keysInOrder(model), (QList<int>{105}));
        model.setFilter(col(model, "DURUM"), {QStringLiteral("Özel Sipariş")});
        QCOMPARE(keysInOrder(model), (QList<int>{105}));
        model.setFilter(col(model, "DURUM"), {QStringLiteral("Stok mevcut")});
        QCOMPARE(model.rowCount(), 0);

        model.clearFilters();
        QCOMPARE(model.rowCount(), 8);
        QVERIFY(!model.hasFilters());
    }

    void filterSurvivesSortAndReload() {
        GridModel model;
        model.setColumns(stockColumns());
        model.setTable(&table);
        model.setFilter(col(model, "MARKA"), {QStringLiteral("RENAULT"), QStringLiteral("FIAT")});
        model.sort(col(model, "FIYAT"), Qt::DescendingOrder);
        QCOMPARE(keysInOrder(model), (QList<int>{107, 102, 104, 106}));
        table.appendRow({109, 1, "Z-1", "YENİ", "FIAT", 5000.0, 1, 0, 0});
        model.reload();
        QCOMPARE(keysInOrder(model), (QList<int>{109, 107, 102, 104, 106}));
    }

    void footerSummaries() {
        GridModel model;
        model.setColumns(stockColumns());
        model.setTable(&table);
        QSignalSpy changed(&model, &GridModel::summariesChanged);
        model.setSummaries(
            {{SummaryKind::Count, QStringLiteral("ADI")},
             {SummaryKind::Sum, QStringLiteral("FIYAT")},
             {SummaryKind::Sum, QStringLiteral("MIKTAR"), QStringLiteral("Toplam %1")},
             {SummaryKind::Max, QStringLiteral("OEM1")}});
        QCOMPARE(model.summaryText(col(model, "ADI")), QStringLiteral("8"));
        QCOMPARE(model.summaryText(col(model, "FIYAT")), QStringLiteral("23.864,65"));
        QCOMPARE(model.summaryText(col(model, "MIKTAR")), QStringLiteral("Toplam 51"));
        QCOMPARE(model.summaryText(col(model, "OEM1")), QString());

        model.setFilter(col(model, "MARKA"), {QStringLiteral("FORD")});
        QCOMPARE(model.summaryText(col(model, "ADI")), QStringLiteral("3"));
        QCOMPARE(model.summaryText(col(model, "FIYAT")), QStringLiteral("3.734,50"));

        // a changed cell is summed again
        table.setValue(7, table.fieldIndex(u"FIYAT"), 0.25);
        model.tableRowChanged(7);
        QCOMPARE(model.summaryText(col(model, "FIYAT")), QStringLiteral("3.734,75"));
        QVERIFY(changed.count() >= 3);

        // many small amounts add up to what a person would get
        ResultTable cents;
        cents.addField({QStringLiteral("TUTAR"), FieldType::Double, 0});
        for (int i = 0; i < 10000; ++i)
            cents.appendRow({0.1});
        cents.setDisplayFormat(0, QStringLiteral("0.000000000000"));
        GridModel sums;
        sums.setColumns({GridColumn(QStringLiteral("TUTAR"))});
        sums.setTable(&cents);
        sums.setSummaries({{SummaryKind::Sum, QStringLiteral("TUTAR")}});
        QCOMPARE(sums.summaryText(0), QStringLiteral("1000,000000000000"));
    }

    void grouping() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns(stockColumns());
        model.setTable(&table);
        model.setGroupSummaries({{SummaryKind::Count, QStringLiteral("ADI")},
                                 {SummaryKind::Sum, QStringLiteral("FIYAT")}});
        model.setGroupColumn(col(model, "MARKA"));
        QCOMPARE(model.groupCount(), 4);
        QCOMPARE(model.rowCount(), 8 + 2 * 4);
        QCOMPARE(model.groupText(2), QStringLiteral("Marka: FORD (3)"));
        QCOMPARE(model.groupSummaryText(2, col(model, "FIYAT")), QStringLiteral("3.734,50"));
        QCOMPARE(model.groupSummaryText(2, col(model, "ADI")), QStringLiteral("3"));
        QCOMPARE(model.groupSummaryText(0, col(model, "FIYAT")), QStringLiteral("18.750,00"));

        // header, rows, footer for each group, in group order
        QCOMPARE(model.rowKind(0), GridModel::RowKind::GroupHeader);
        QCOMPARE(model.tableRow(1), 4);
        QCOMPARE(model.rowKind(2), GridModel::RowKind::GroupFooter);
        QCOMPARE(model.index(2, col(model, "FIYAT")).data().toString(),
                 QStringLiteral("18.750,00"));

        model.collapseAll();
        QCOMPARE(model.rowCount(), 8); // every group: its header and its footer
        QCOMPARE(model.rowOfTableRow(0), -1);
        model.setGroupExpanded(2, true);
        QCOMPARE(model.rowCount(), 11);
        QVERIFY(model.rowOfTableRow(0) > 0);
        QCOMPARE(model.rowOfTableRow(1), -1); // RENAULT stays collapsed

        // collapsed groups stay collapsed when a filter rebuilds them
        model.setFilter(col(model, "MIKTAR"), {"1", "2", "10"});
        QCOMPARE(model.groupCount(), 3);
        QVERIFY(!model.isGroupExpanded(0));
        QVERIFY(model.isGroupExpanded(1));
        QCOMPARE(model.groupText(1), QStringLiteral("Marka: FORD (2)"));

        model.setGroupColumn(-1);
        QCOMPARE(model.rowCount(), 4);
    }
};

QTEST_MAIN(TestGridModel)
#include "test_gridmodel.moc"
