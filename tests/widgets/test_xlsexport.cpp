#include "fixture.h"
#include "widgets/grid.h"
#include "widgets/gridmodel.h"
#include "widgets/xlswriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <freexl.h>

using namespace zenvo;

namespace {

// A workbook as an independent reader (FreeXL) sees it: per sheet, rows of cells holding a
// QString (text), a double (number) or nothing.
struct Book {
    int biffVersion = 0;
    QStringList sheetNames;
    QList<QList<QList<QVariant>>> sheets;
};

Book readBack(const QString &path) {
    Book book;
    const void *handle = nullptr;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &handle);
    if (rc != FREEXL_OK) {
        qWarning("freexl_open failed: %d", rc);
        return book;
    }
    unsigned int info = 0;
    freexl_get_info(handle, FREEXL_BIFF_VERSION, &info);
    book.biffVersion = int(info);
    unsigned int sheetCount = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    for (unsigned short s = 0; s < sheetCount; ++s) {
        const char *name = nullptr;
        freexl_get_worksheet_name(handle, s, &name);
        book.sheetNames << QString::fromUtf8(name);
        freexl_select_active_worksheet(handle, s);
        unsigned int rows = 0;
        unsigned short cols = 0;
        freexl_worksheet_dimensions(handle, &rows, &cols);
        QList<QList<QVariant>> sheet;
        for (unsigned int r = 0; r < rows; ++r) {
            QList<QVariant> row;
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK) {
                    row << QStringLiteral("<error>");
                    continue;
                }
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    row << double(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    row << cell.value.double_value;
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    row << QString::fromUtf8(cell.value.text_value);
                    break;
                default:
                    row << QVariant();
                }
            }
            sheet << row;
        }
        book.sheets << sheet;
    }
    freexl_close(handle);
    return book;
}

QList<GridColumn> exportColumns() {
    return {
        GridColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, CellKind::StatusIcon),
        GridColumn(QStringLiteral("OEM1"), QStringLiteral("Oem1"), 2).hidden(),
        GridColumn(QStringLiteral("BARKOD"), QStringLiteral("Barkod"), 2),
        GridColumn(QStringLiteral("ADI"), QStringLiteral("Açıklama"), 3, CellKind::WrappedText),
        GridColumn(QStringLiteral("STOK_STOKNO")).hidden().fixed(),
        GridColumn(QStringLiteral("MARKA"), QStringLiteral("Marka"), 2),
        GridColumn(QStringLiteral("FIYAT"), QStringLiteral("Liste Fiyatı"), 2),
        GridColumn(QStringLiteral("MIKTAR"), QStringLiteral("Miktar"), 1, CellKind::Number),
        GridColumn(QStringLiteral("Y"), QStringLiteral("Yeni"), 1, CellKind::FlagIcon),
    };
}

} // namespace

class TestXlsExport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        QVERIFY(dir.isValid());
    }

    // Every row and every visible column, numbers as numbers, text as shown.
    void exportReadsBack() {
        ResultTable table = fixture::stock();
        Grid grid;
        grid.setColumns(exportColumns());
        grid.setTable(&table);
        grid.setFooterSummaries({{SummaryKind::Count, QStringLiteral("BARKOD")},
                                 {SummaryKind::Sum, QStringLiteral("FIYAT")}});
        grid.sortBy(u"FIYAT", Qt::DescendingOrder);

        QString written, error;
        QVERIFY2(grid.exportXls(dir.filePath(QStringLiteral("liste.xlsx")), &written, &error),
                 qPrintable(error));
        QCOMPARE(written, dir.filePath(QStringLiteral("liste.xls")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("liste.xlsx"))));

        const Book book = readBack(written);
        QCOMPARE(book.biffVersion, FREEXL_BIFF_VER_8);
        QCOMPARE(book.sheets.size(), 1);
        const auto &sheet = book.sheets.first();
        QCOMPARE(sheet.size(), 1 + 8 + 1); // captions, rows, footer
        const QStringList keys = grid.visibleColumns();
        QCOMPARE(keys, (QStringList{"DURUM", "BARKOD", "ADI", "MARKA", "FIYAT", "MIKTAR", "Y"}));
        QCOMPARE(sheet[0], (QList<QVariant>{"Durum", "Barkod", "Açıklama", "Marka", "Liste Fiyatı",
                                            "Miktar", "Yeni"}));
        const QList<int> rows = grid.visibleRows();
        for (int i = 0; i < rows.size(); ++i) {
            const QList<QVariant> &got = sheet[i + 1];
            QCOMPARE(got.size(), keys.size());
            for (int c = 0; c < keys.size(); ++c) {
                const QString &key = keys[c];
                const int fc = table.fieldIndex(key);
                if (key == u"FIYAT" || key == u"MIKTAR") {
                    if (table.isNull(rows[i], fc))
                        QVERIFY(!got[c].isValid());
                    else
                        QCOMPARE(got[c].toDouble(), table.doubleValue(rows[i], fc));
                } else {
                    const QString shown = grid.displayText(rows[i], key);
                    QCOMPARE(got[c], shown.isEmpty() ? QVariant() : QVariant(shown));
                }
            }
        }
        QCOMPARE(sheet[1][4].toDouble(), 18750.0); // sorted as the grid shows it
        QCOMPARE(sheet[2][2].toString(), QStringLiteral("IŞIK GRUBU SAĞ"));
        QCOMPARE(sheet[9][1].toString(), QStringLiteral("8"));
        QCOMPARE(sheet[9][4].toString(), QStringLiteral("23.864,65"));
    }

    // Grouped and collapsed on screen, the file still holds every row.
    void groupsExpandedInFile() {
        ResultTable table = fixture::stock();
        Grid grid;
        grid.setColumns(exportColumns());
        grid.setTable(&table);
        grid.setGroupSummaries({{SummaryKind::Sum, QStringLiteral("FIYAT")}});
        grid.groupBy(u"MARKA");
        grid.collapseAll();
        QString written, error;
        QVERIFY2(grid.exportXls(dir.filePath(QStringLiteral("gruplu")), &written, &error),
                 qPrintable(error));
        QCOMPARE(written, dir.filePath(QStringLiteral("gruplu.xls")));
        const auto sheet = readBack(written).sheets.value(0);
        QCOMPARE(sheet.size(), 1 + 4 * 2 + 8);
        QCOMPARE(sheet[1][0].toString(), QStringLiteral("Marka: (Boş) (1)"));
        QCOMPARE(sheet[2][1].toString(), QStringLiteral("C-900"));
        QCOMPARE(sheet[3][4].toString(), QStringLiteral("18.750,00"));
        int dataRows = 0;
        for (const auto &row : sheet.mid(1))
            dataRows += row[1].toString().startsWith(u'B') || row[1].toString().startsWith(u'A') ||
                        row[1].toString().startsWith(u'C') || row[1].toString().startsWith(u'D');
        QCOMPARE(dataRows, 8);
    }

    // Many long strings, Latin-1 and beyond, spill the string table over CONTINUE records; a
    // string may break across two records. (FreeXL 1.0 cannot read a string that spans three
    // records, which the format allows, so no string here is that long.)
    void sharedStringsAcrossRecords() {
        ResultTable table;
        table.addField({QStringLiteral("A"), FieldType::String, 0});
        table.addField({QStringLiteral("B"), FieldType::String, 0});
        QStringList expected;
        for (int i = 0; i < 1500; ++i) {
            const QString latin = QStringLiteral("satır %1 ").arg(i).repeated(1 + i % 37);
            const QString turkish = QStringLiteral("ĞÜŞİÖÇ ığüşöç %1 ").arg(i).repeated(1 + i % 53);
            table.appendRow({latin, turkish});
            expected << latin << turkish;
        }
        table.appendRow({QString(8000, u'x'), QString(4000, QChar(0x15F))});
        Grid grid;
        grid.setColumns({GridColumn(QStringLiteral("A")), GridColumn(QStringLiteral("B"))});
        grid.setTable(&table);
        QString error;
        const QString path = dir.filePath(QStringLiteral("uzun.xls"));
        QVERIFY2(grid.exportXls(path, nullptr, &error), qPrintable(error));
        const auto sheet = readBack(path).sheets.value(0);
        QCOMPARE(sheet.size(), 1 + 1501);
        for (int i = 0; i < 1500; ++i) {
            QCOMPARE(sheet[i + 1][0].toString(), expected[2 * i]);
            QCOMPARE(sheet[i + 1][1].toString(), expected[2 * i + 1]);
        }
        QCOMPARE(sheet[1501][0].toString(), QString(8000, u'x'));
        QCOMPARE(sheet[1501][1].toString(), QString(4000, QChar(0x15F)));
    }

    // A sheet holds 65536 rows; the rest goes on to further sheets, each with the captions.
    void rowsBeyondOneSheet() {
        ResultTable table;
        table.addField({QStringLiteral("NO"), FieldType::Integer, 0});
        for (int i = 0; i < 70000; ++i)
            table.appendRow({i});
        Grid grid;
        grid.setColumns({GridColumn(QStringLiteral("NO"), QStringLiteral("Sıra"))});
        grid.setTable(&table);
        const QString path = dir.filePath(QStringLiteral("buyuk.xls"));
        QString error;
        QVERIFY2(grid.exportXls(path, nullptr, &error), qPrintable(error));
        const Book book = readBack(path);
        QCOMPARE(book.sheetNames, (QStringList{"Sayfa1", "Sayfa2"}));
        QCOMPARE(book.sheets[0].size(), 65536);
        QCOMPARE(book.sheets[1].size(), 1 + 70000 - 65535);
        QCOMPARE(book.sheets[1][0][0].toString(), QStringLiteral("Sıra"));
        QCOMPARE(book.sheets[0][65535][0].toDouble(), 65534.0);
        QCOMPARE(book.sheets[1][1][0].toDouble(), 65535.0);
        QCOMPARE(book.sheets[1].last()[0].toDouble(), 69999.0);
    }

    void failureLeavesNoFile() {
        ResultTable table = fixture::stock();
        Grid grid;
        grid.setColumns(exportColumns());
        grid.setTable(&table);
        QString error;
        const QString missing = dir.filePath(QStringLiteral("yok/liste.xls"));
        QVERIFY(!grid.exportXls(missing, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(missing));

        // an existing file is replaced as a whole
        const QString path = dir.filePath(QStringLiteral("tekrar.xls"));
        QVERIFY(grid.exportXls(path));
        grid.setColumnFilter(u"MARKA", {QStringLiteral("FIAT")});
        QVERIFY(grid.exportXls(path));
        QCOMPARE(readBack(path).sheets.value(0).size(), 1 + 2);
    }

    void fileNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("xlsx") << "/tmp/liste.xlsx"
                              << "/tmp/liste.xls";
        QTest::newRow("none") << "/tmp/liste"
                              << "/tmp/liste.xls";
        QTest::newRow("dot in folder") << "/tmp/a.b/liste"
                                       << "/tmp/a.b/liste.xls";
        QTest::newRow("last suffix only") << "/tmp/rapor.2024.txt"
                                          << "/tmp/rapor.2024.xls";
        QTest::newRow("trailing dot") << "/tmp/liste."
                                      << "/tmp/liste.xls";
        QTest::newRow("upper case") << "/tmp/LISTE.XLS"
                                    << "/tmp/LISTE.xls";
    }
    void fileNames() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QCOMPARE(Grid::xlsFileName(typed), written);
    }
};

QTEST_MAIN(TestXlsExport)
#include "test_xlsexport.moc"
