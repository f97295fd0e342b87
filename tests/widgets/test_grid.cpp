#include "fixture.h"
#include "widgets/grid.h"
#include "widgets/gridmodel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace zenvo;

namespace {

GridColumn column(const char *field, const char *caption, int weight,
                  CellKind kind = CellKind::Text) {
    return GridColumn(QString::fromLatin1(field), QString::fromUtf8(caption), weight, kind);
}

QList<GridColumn> stockColumns() {
    return {
        column("DURUM", "Durum", 1, CellKind::StatusIcon),
        column("OEM1", "Oem1", 3).hidden(),
        column("BARKOD", "Barkod", 2),
        column("ADI", "Açıklama", 3, CellKind::WrappedText),
        column("STOK_STOKNO", "", 1).hidden().fixed().notFocusable().notFilterable(),
        column("MARKA", "Marka", 2),
        column("FIYAT", "Liste Fiyatı", 2),
        column("SEC", "Seç", 0, CellKind::CheckBox).hidden(),
        column("MIKTAR", "Miktar", 2, CellKind::Number),
    };
}

struct Fixture {
    ResultTable table = fixture::stock();
    Grid grid;
    explicit Fixture(QList<GridColumn> columns = stockColumns()) {
        grid.setColumns(std::move(columns));
        grid.setTable(&table);
        grid.resize(1030, 400);
        grid.show();
    }
};

QPoint cellCentre(Grid &grid, int tableRow, const char *key) {
    QTableView *view = grid.view();
    const int row = grid.model()->rowOfTableRow(tableRow);
    return view->visualRect(grid.model()->index(row, grid.columnIndex(QString::fromLatin1(key))))
        .center();
}

QWidget *activePopup(Grid &grid) {
    auto *popup = grid.findChild<QWidget *>(QStringLiteral("filterPopup"));
    return popup && popup->isVisible() ? popup : nullptr;
}

// Types text that may hold Turkish letters (QTest::keyClicks takes ASCII only).
void type(QWidget *widget, const QString &text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    // Five visible columns of weights 1, 2, 3, 2, 2 on a grid 1030 px wide.
    void proportionalWidths() {
        Fixture f;
        QAbstractItemModelTester tester(f.grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(f.grid.width(), 1030);
        f.grid.applyWeights(f.grid.width());
        const QStringList shown{"DURUM", "BARKOD", "ADI", "MARKA", "FIYAT", "MIKTAR"};
        QCOMPARE(f.grid.visibleColumns(), shown);
        f.grid.setColumnVisible(u"MIKTAR", false);
        f.grid.setColumnWidth(u"OEM1", 77);
        f.grid.applyWeights(1030);
        QList<int> widths;
        for (const char *key : {"DURUM", "BARKOD", "ADI", "MARKA", "FIYAT"})
            widths << f.grid.columnWidth(QString::fromLatin1(key));
        QCOMPARE(widths, (QList<int>{100, 200, 300, 200, 200}));
        QCOMPARE(f.grid.columnWidth(u"OEM1"), 0); // hidden: no share

        // the chooser offers the customizable columns and a shown column takes its share
        connect(&f.grid, &Grid::layoutRequested, &f.grid,
                [&f] { f.grid.applyWeights(f.grid.width()); });
        QMenu *menu = f.grid.columnChooserMenu();
        QStringList offered;
        for (QAction *a : menu->actions())
            offered << a->objectName();
        QCOMPARE(offered, (QStringList{"DURUM", "OEM1", "BARKOD", "ADI", "MARKA", "FIYAT", "SEC",
                                       "MIKTAR"}));
        menu->findChild<QAction *>(QStringLiteral("OEM1"))->trigger();
        QVERIFY(f.grid.isColumnVisible(u"OEM1"));
        // weights 1+3+2+3+2+2 = 13: trunc(1000 / 13) = 76
        QCOMPARE(f.grid.columnWidth(u"OEM1"), 228);
        QCOMPARE(f.grid.columnWidth(u"DURUM"), 76);

        // a weight-0 column gets no width; only weight-0 columns visible changes nothing
        f.grid.setColumnVisible(u"SEC", true);
        f.grid.applyWeights(1030);
        QCOMPARE(f.grid.columnWidth(u"SEC"), 0);
        for (const QString &key : f.grid.visibleColumns())
            if (key != u"SEC")
                f.grid.setColumnVisible(key, false);
        f.grid.setColumnWidth(u"SEC", 33);
        f.grid.applyWeights(1030);
        QCOMPARE(f.grid.columnWidth(u"SEC"), 33);
    }

    // Laying out columns while a parent has painting switched off (a tab page being switched)
    // must not leave the grid unpainted once the parent paints again.
    void layoutWhileParentPaintsNothing() {
        Fixture f;
        QWidget parent;
        f.grid.setParent(&parent);
        parent.setUpdatesEnabled(false);
        f.grid.applyWeights(1030);
        f.grid.bestFit();
        parent.setUpdatesEnabled(true);
        QVERIFY(f.grid.view()->updatesEnabled());
        QVERIFY(f.grid.view()->viewport()->updatesEnabled());
        f.grid.setParent(nullptr);
    }

    void kolonAyarlaFollowsScreenWidth() {
        Fixture f;
        KolonAyarla(f.grid, 1153);
        QCOMPARE(f.grid.columnWidth(u"ADI"), 3 * ((1030 - 30) / 12));
        KolonAyarla(f.grid, 1152); // fitted to content instead
        const QFontMetrics fm(f.grid.look().font);
        QVERIFY(f.grid.columnWidth(u"ADI") >=
                fm.horizontalAdvance(QStringLiteral("IŞIK GRUBU SAĞ")));
        QVERIFY(f.grid.columnWidth(u"DURUM") >= 24);
        QVERIFY(f.grid.columnWidth(u"ADI") != 3 * ((1030 - 30) / 12));
    }

    void headerFilterPopup() {
        Fixture f;
        QSignalSpy filtersChanged(&f.grid, &Grid::filtersChanged);
        f.grid.showFilterPopup(u"MARKA");
        QWidget *popup = activePopup(f.grid);
        QVERIFY(popup && popup->isVisible());
        auto *list = popup->findChild<QListWidget *>(QStringLiteral("filterList"));
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        QCOMPARE(items, (QStringList{"(Tümü)", "(Boş)", "FIAT", "FORD", "RENAULT"}));

        list->item(0)->setCheckState(Qt::Unchecked); // untick all
        auto *ok = popup->findChild<QPushButton *>(QStringLiteral("filterOk"));
        QVERIFY(!ok->isEnabled()); // nothing ticked: nothing to apply
        list->item(3)->setCheckState(Qt::Checked);
        QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
        ok->click();
        QCOMPARE(f.grid.rowCount(), 3);
        QCOMPARE(f.grid.columnFilter(u"MARKA"), QStringList{"FORD"});
        QCOMPARE(filtersChanged.count(), 1);
        QVERIFY(!activePopup(f.grid));

        // reopening shows the filter; the search box narrows the list
        f.grid.showFilterPopup(u"MARKA");
        popup = activePopup(f.grid);
        list = popup->findChild<QListWidget *>(QStringLiteral("filterList"));
        QCOMPARE(list->item(3)->checkState(), Qt::Checked);
        QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
        QTest::keyClicks(popup->findChild<QLineEdit *>(QStringLiteral("filterSearch")),
                         QStringLiteral("re"));
        QVERIFY(list->item(3)->isHidden());
        QVERIFY(!list->item(4)->isHidden());
        list->item(4)->setCheckState(Qt::Checked);
        popup->findChild<QPushButton *>(QStringLiteral("filterOk"))->click();
        QCOMPARE(f.grid.rowCount(), 5);

        // ticking everything is no filter at all
        f.grid.showFilterPopup(u"MARKA");
        popup = activePopup(f.grid);
        list = popup->findChild<QListWidget *>(QStringLiteral("filterList"));
        list->item(0)->setCheckState(Qt::Checked);
        popup->findChild<QPushButton *>(QStringLiteral("filterOk"))->click();
        QVERIFY(!f.grid.hasFilters());

        // a column that is not filterable gets no popup
        f.grid.showFilterPopup(u"STOK_STOKNO");
        QVERIFY(!activePopup(f.grid));

        f.grid.setColumnFilter(u"MARKA", {QStringLiteral("FIAT")});
        f.grid.setColumnFilter(u"DURUM", {QStringLiteral("Yolda")});
        QCOMPARE(f.grid.rowCount(), 1);
        f.grid.clearFilters();
        QCOMPARE(f.grid.rowCount(), 8);
    }

    void sortingByHeaderClick() {
        Fixture f;
        QHeaderView *header = f.grid.view()->horizontalHeader();
        const int fiyat = f.grid.columnIndex(u"FIYAT");
        const QPoint at(header->sectionViewportPosition(fiyat) + 10, header->height() / 2);
        f.grid.setSortingEnabled(false); // a statement keeps the order it was sent in
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f.grid.sortColumn(), QString());
        QCOMPARE(f.grid.visibleRows().first(), 0);

        f.grid.setSortingEnabled(true);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f.grid.sortColumn(), QStringLiteral("FIYAT"));
        QCOMPARE(f.grid.visibleRows().first(), 7); // the empty price first
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f.grid.visibleRows().first(), 4); // descending
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        QCOMPARE(f.grid.sortColumn(), QString());
    }

    void incrementalSearch() {
        Fixture f;
        QTableView *view = f.grid.view();
        view->setFocus();
        QVERIFY(f.grid.focusRow(0, u"ADI"));
        QTest::keyClicks(view, QStringLiteral("di"));
        QCOMPARE(f.grid.focusedRow(), 4); // DİŞLİ KUTUSU, case folded the Turkish way
        QCOMPARE(f.grid.searchText(), QStringLiteral("di"));
        QTest::keyClicks(view, QStringLiteral("x")); // no row starts so: focus and text stay
        QCOMPARE(f.grid.focusedRow(), 4);
        QCOMPARE(f.grid.searchText(), QStringLiteral("di"));
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(f.grid.searchText(), QStringLiteral("d"));
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(f.grid.searchText(), QString());

        // from the focused row onwards, wrapping round to the top
        type(view, QStringLiteral("ç"));
        QCOMPARE(f.grid.focusedRow(), 0);
        QTest::keyClick(view, Qt::Key_Down); // moving clears the search
        QCOMPARE(f.grid.searchText(), QString());
        // searches the focused column
        QVERIFY(f.grid.focusRow(0, u"MARKA"));
        QTest::keyClicks(view, QStringLiteral("ren"));
        QCOMPARE(f.grid.focusedRow(), 1);
        QCOMPARE(f.grid.focusedColumn(), QStringLiteral("MARKA"));

        f.grid.setIncrementalSearchEnabled(false);
        QTest::keyClicks(view, QStringLiteral("f"));
        QCOMPARE(f.grid.focusedRow(), 1);
    }

    void focusLocateAndEvents() {
        ResultTable table = fixture::stock();
        Grid grid;
        grid.setColumns(stockColumns());
        QSignalSpy focused(&grid, &Grid::focusedRowChanged);
        grid.setTable(&table);
        grid.resize(900, 400);
        grid.show();
        QCOMPARE(grid.focusedRow(), 0);
        QCOMPARE(focused.count(), 1);

        QVERIFY(grid.locate(u"STOK_STOKNO", 105));
        QCOMPARE(grid.focusedRow(), 4);
        QCOMPARE(focused.last().at(0).toInt(), 4);
        QCOMPARE(grid.focusedValue(u"BARKOD").toString(), QStringLiteral("C-900"));
        QCOMPARE(grid.focusedValue(u"SEC").toInt(), 0); // any field of the table
        QVERIFY(!grid.focusedValue(u"YOK").isValid());
        QVERIFY(grid.locate(u"BARKOD", QStringLiteral("B-150")));
        QCOMPARE(grid.focusedRow(), 5);
        QVERIFY(!grid.locate(u"STOK_STOKNO", 999));
        QVERIFY(!grid.locate(u"YOK", 1));
        QCOMPARE(grid.focusedRow(), 5);
        QVERIFY(!grid.focusRow(-1));
        QVERIFY(!grid.focusRow(8));

        // the focused item stays focused through a sort, and a filter that hides it moves the
        // focus to the first row
        grid.sortBy(u"FIYAT", Qt::DescendingOrder);
        QCOMPARE(grid.focusedRow(), 5);
        grid.setColumnFilter(u"MARKA", {QStringLiteral("FORD")});
        QCOMPARE(grid.focusedRow(), grid.visibleRows().first());
        grid.clearFilters();
        grid.clearSort();

        QSignalSpy doubled(&grid, &Grid::rowDoubleClicked);
        QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {},
                           cellCentre(grid, 2, "BARKOD"));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(doubled.first().at(0).toInt(), 2);
        QCOMPARE(doubled.first().at(1).toString(), QStringLiteral("BARKOD"));

        QSignalSpy keys(&grid, &Grid::keyPressed);
        QTest::keyClick(grid.view(), Qt::Key_Return);
        QCOMPARE(keys.count(), 1);
        QCOMPARE(keys.first().at(0).toInt(), int(Qt::Key_Return));

        grid.setColumnVisible(u"SEC", true);
        grid.setColumnWidth(u"SEC", 60);
        QSignalSpy checks(&grid, &Grid::checkBoxClicked);
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, "SEC"));
        QCOMPARE(checks.count(), 1);
        QCOMPARE(checks.first().at(0).toInt(), 3);
        QCOMPARE(checks.first().at(1).toString(), QStringLiteral("SEC"));
        QTest::keyClick(grid.view(), Qt::Key_Space);
        QCOMPARE(checks.count(), 2);
        QCOMPARE(grid.model()
                     ->index(grid.model()->rowOfTableRow(0), grid.columnIndex(u"SEC"))
                     .data(Qt::CheckStateRole)
                     .toInt(),
                 int(Qt::Checked));
    }

    void detachAndAttach() {
        Fixture f;
        f.grid.setColumnFilter(u"MARKA", {QStringLiteral("FORD"), QStringLiteral("OPEL")});
        QCOMPARE(f.grid.rowCount(), 3);
        QVERIFY(f.grid.locate(u"STOK_STOKNO", 103));

        f.grid.detach();
        QVERIFY(!f.grid.isAttached());
        QVERIFY(!f.grid.updatesEnabled());
        QCOMPARE(f.grid.rowCount(), 0);
        QCOMPARE(f.grid.focusedRow(), -1);
        QVERIFY(!f.grid.focusedValue(u"BARKOD").isValid());
        // the load replaces the table, columns and all, while the grid stays away from it
        ResultTable fresh;
        fresh.addField({QStringLiteral("MARKA"), FieldType::String, 20});
        fresh.addField({QStringLiteral("BARKOD"), FieldType::String, 20});
        for (const char *marka : {"OPEL", "FIAT", "FORD", "OPEL"})
            fresh.appendRow({QString::fromLatin1(marka), QStringLiteral("X")});
        f.table = std::move(fresh);
        QCOMPARE(f.grid.rowCount(), 0);

        f.grid.attach();
        QVERIFY(f.grid.updatesEnabled());
        QCOMPARE(f.grid.visibleRows(), (QList<int>{0, 2, 3})); // the filter still applies
        QCOMPARE(f.grid.focusedRow(), 0);                      // new rows: the first one
        QCOMPARE(f.grid.displayText(0, u"FIYAT"), QString());  // column not in this result
        QCOMPARE(f.grid.view()->grab().isNull(), false);       // paints without the old fields
    }

    void groupsAndFooters() {
        Fixture f;
        f.grid.setFooterSummaries({{SummaryKind::Count, QStringLiteral("BARKOD")},
                                   {SummaryKind::Sum, QStringLiteral("FIYAT")}});
        QVERIFY(f.grid.isFooterVisible());
        QCOMPARE(f.grid.footerText(u"BARKOD"), QStringLiteral("8"));
        QCOMPARE(f.grid.footerText(u"FIYAT"), QStringLiteral("23.864,65"));
        f.grid.setGroupSummaries({{SummaryKind::Count, QStringLiteral("BARKOD")},
                                  {SummaryKind::Sum, QStringLiteral("FIYAT")}});
        f.grid.groupBy(u"MARKA");
        QCOMPARE(f.grid.groupCount(), 4);
        GridModel *model = f.grid.model();
        // a group header spans the row from the first shown column
        const int first = f.grid.columnIndex(u"DURUM");
        QCOMPARE(f.grid.view()->columnSpan(0, first), model->columnCount() - first);

        f.grid.collapseAll();
        QCOMPARE(model->rowCount(), 8);
        QCOMPARE(f.grid.rowCount(), 8); // the footer still counts every row
        QCOMPARE(f.grid.footerText(u"BARKOD"), QStringLiteral("8"));
        // focusing a row in a collapsed group opens that group
        QVERIFY(f.grid.focusRow(2));
        QCOMPARE(f.grid.focusedRow(), 2);
        QCOMPARE(model->rowCount(), 11);
        // keys open and close the focused group
        QVERIFY(f.grid.focusRow(1));
        f.grid.view()->setCurrentIndex(model->index(model->rowOfTableRow(1) - 1, first));
        QTest::keyClick(f.grid.view(), Qt::Key_Minus);
        QCOMPARE(model->rowCount(), 11);
        f.grid.expandAll();
        QCOMPARE(model->rowCount(), 16);
        f.grid.groupBy(QString());
        QCOMPARE(model->rowCount(), 8);
    }
};

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
