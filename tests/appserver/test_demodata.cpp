#include "appserver/demodata.h"
#include "appserver/schema.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>

using namespace zenvo::appserver;

namespace {

struct DbCloser {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using DbPtr = std::unique_ptr<sqlite3, DbCloser>;

DbPtr openMemory() {
    sqlite3 *db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        qFatal("cannot open an in-memory database");
    return DbPtr(db);
}

DbPtr demoDb(int items, quint32 seed) {
    DbPtr db = openMemory();
    fillDemoData(db.get(), {items, seed});
    return db;
}

// Rows of a query, each row's columns joined with '|'.
QStringList rows(sqlite3 *db, const char *sql) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        qFatal("%s: %s", sql, sqlite3_errmsg(db));
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList cols;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            cols << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                      sqlite3_column_bytes(st, c));
        }
        out << cols.join(u'|');
    }
    sqlite3_finalize(st);
    return out;
}

QString scalar(sqlite3 *db, const char *sql) {
    const QStringList r = rows(db, sql);
    return r.isEmpty() ? QString() : r.first();
}

QList<QByteArray> blobs(sqlite3 *db, const char *sql) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        qFatal("%s: %s", sql, sqlite3_errmsg(db));
    QList<QByteArray> out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        out << QByteArray(static_cast<const char *>(sqlite3_column_blob(st, 0)),
                          sqlite3_column_bytes(st, 0));
    }
    sqlite3_finalize(st);
    return out;
}

// Hash over the content of every table, independent of row order.
QByteArray contentHash(sqlite3 *db) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList tables =
        rows(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    for (const QString &table : tables) {
        hash.addData(table.toUtf8());
        sqlite3_stmt *st = nullptr;
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + '"';
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        QList<QByteArray> tableRows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QByteArray row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto *p = static_cast<const char *>(sqlite3_column_blob(st, c));
                row += QByteArray::number(sqlite3_column_type(st, c)) + ':' +
                       QByteArray(p, sqlite3_column_bytes(st, c)) + '\x1f';
            }
            tableRows << row;
        }
        sqlite3_finalize(st);
        std::sort(tableRows.begin(), tableRows.end());
        for (const QByteArray &row : tableRows)
            hash.addData(row);
    }
    return hash.result();
}

std::set<int> found(sqlite3 *db, const QString &text) {
    const std::vector<int> v = searchStockNumbers(db, text);
    return {v.begin(), v.end()};
}

} // namespace

class TestDemoData final : public QObject {
    Q_OBJECT

private:
    DbPtr m_db; // one demo catalogue shared by the read-only checks

private slots:
    void initTestCase() { m_db = demoDb(600, 1); }

    void sameSeedSameContent() {
        const QByteArray a = contentHash(demoDb(300, 7).get());
        QCOMPARE(contentHash(demoDb(300, 7).get()), a);
        QVERIFY(contentHash(demoDb(300, 8).get()) != a);

        // Filling again replaces everything, line number sequences included.
        DbPtr db = demoDb(300, 7);
        sqlite3_exec(db.get(),
                     "INSERT INTO cart_lines (CARINO, STOKNO, MIKTAR, BIRIMFIYAT)"
                     " VALUES (1001, 1, 1, 1)",
                     nullptr, nullptr, nullptr);
        fillDemoData(db.get(), {300, 7});
        QCOMPARE(contentHash(db.get()), a);
    }

    void failedFillKeepsPreviousData() {
        DbPtr db = demoDb(50, 2);
        const QByteArray before = contentHash(db.get());
        sqlite3_exec(db.get(), "PRAGMA cache_size = -500", nullptr, nullptr, nullptr);
        // Fails at the last step, after every other table has been rewritten.
        sqlite3_exec(db.get(),
                     "CREATE TRIGGER refuse BEFORE INSERT ON banners"
                     " BEGIN SELECT RAISE(ABORT, 'no banners'); END",
                     nullptr, nullptr, nullptr);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, fillDemoData(db.get(), {80, 3}));
        QCOMPARE(contentHash(db.get()), before);
        QCOMPARE(scalar(db.get(), "PRAGMA cache_size"), u"-500"_qs);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, fillDemoData(db.get(), {0, 3}));
    }

    void picturesDecode() {
        sqlite3 *db = m_db.get();
        const QList<QByteArray> pictures = blobs(db, "SELECT VERI FROM pictures");
        QVERIFY(pictures.size() >= 20);
        for (const QByteArray &bytes : pictures) {
            QBuffer buf;
            buf.setData(bytes);
            QImageReader reader(&buf);
            QCOMPARE(reader.format(), QByteArray("jpeg"));
            const QImage img = reader.read();
            QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(img.size(), QSize(400, 300));
        }
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM items WHERE RESIMNO <> 0"
                            " AND RESIMNO NOT IN (SELECT RESIMNO FROM pictures)"),
                 u"0"_qs);
        QVERIFY(scalar(db, "SELECT COUNT(*) FROM items WHERE RESIMNO <> 0").toInt() > 300);

        for (const QByteArray &bytes : blobs(db, "SELECT RESIM FROM announcements")) {
            QCOMPARE(QImage::fromData(bytes, "JPEG").size(), QSize(600, 400));
        }

        // Header and top strip banners are animated GIFs, the bottom one a bitmap.
        const QList<QByteArray> banners = blobs(db, "SELECT VERI FROM banners ORDER BY SLOT");
        QCOMPARE(banners.size(), 3);
        const QSize gifSizes[] = {{409, 100}, {1280, 90}};
        for (int slot = 0; slot < 2; ++slot) {
            QBuffer buf;
            buf.setData(banners[slot]);
            QImageReader reader(&buf, "gif");
            int frames = 0;
            while (reader.canRead()) {
                const QImage frame = reader.read();
                QVERIFY2(!frame.isNull(), qPrintable(reader.errorString()));
                QCOMPARE(frame.size(), gifSizes[slot]);
                ++frames;
            }
            QVERIFY2(frames >= 2, qPrintable(QString::number(frames)));
        }
        QVERIFY(banners[2].startsWith("BM"));
        QCOMPARE(QImage::fromData(banners[2], "BMP").height(), 60);
    }

    void everyStatusOccursAndFollowsStock() {
        // The first six items carry the six codes, so even a tiny catalogue has them all.
        for (int items : {6, 600}) {
            DbPtr small = items == 6 ? demoDb(6, 3) : nullptr;
            sqlite3 *db = small ? small.get() : m_db.get();
            QCOMPARE(rows(db, "SELECT DISTINCT DURUM FROM items ORDER BY DURUM"),
                     (QStringList{u"0"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs}));
            QCOMPARE(scalar(db, "SELECT COUNT(*) FROM items WHERE NOT CASE DURUM"
                                " WHEN 1 THEN KALAN >= 3 WHEN 2 THEN KALAN BETWEEN 1 AND 2"
                                " WHEN 3 THEN KALAN = 0 AND VERILENSIPARIS > 0"
                                " ELSE KALAN = 0 END"),
                     u"0"_qs);
        }
        QVERIFY(scalar(m_db.get(), "SELECT COUNT(*) FROM items WHERE K > 0 AND KAMPFIYAT > 0"
                                   " AND KAMPFIYAT < LISTEFIYAT1")
                    .toInt() > 0);
        QCOMPARE(scalar(m_db.get(), "SELECT COUNT(*) FROM items WHERE K = 0 AND KAMPFIYAT <> 0"),
                 u"0"_qs);
        QVERIFY(scalar(m_db.get(), "SELECT COUNT(*) FROM items WHERE Y = 1").toInt() > 0);
    }

    void normalizeToken_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("token");
        QTest::newRow("dash") << u"G50-70"_qs << u"G5070"_qs;
        QTest::newRow("plain") << u"G5070"_qs << u"G5070"_qs;
        QTest::newRow("blank, lower case") << u"g50 70"_qs << u"G5070"_qs;
        QTest::newRow("OEM dots") << u"46.521.001"_qs << u"46521001"_qs;
        QTest::newRow("OEM dashes") << u"46-521-001"_qs << u"46521001"_qs;
        QTest::newRow("OEM slashes") << u"46/521/001"_qs << u"46521001"_qs;
        QTest::newRow("OEM blanks") << u" 1K0 698 151 "_qs << u"1K0698151"_qs;
        QTest::newRow("Turkish upper") << u"ÇĞİÖŞÜ"_qs << u"CGIOSU"_qs;
        QTest::newRow("Turkish lower") << u"çğıiöşü"_qs << u"CGIIOSU"_qs;
        QTest::newRow("circumflex") << u"kâğıt"_qs << u"KAGIT"_qs;
        QTest::newRow("name") << u"DEBRİYAJ SETİ"_qs << u"DEBRIYAJSETI"_qs;
        QTest::newRow("punctuation only") << u" -./ "_qs << QString();
    }
    void normalizeToken() {
        QFETCH(QString, input);
        QFETCH(QString, token);
        QCOMPARE(normalizeSearchToken(input), token);
    }

    void wordsAndFolding() {
        QCOMPARE(searchWords(u"Fren balatası (ön), DOBLO 1.3"),
                 (QStringList{u"FREN"_qs, u"BALATASI"_qs, u"ON"_qs, u"DOBLO"_qs, u"13"_qs}));
        QCOMPARE(foldSearchText(u"  Öztürk Oto-Yedek  Parça "), u"OZTURK OTO YEDEK PARCA"_qs);
        QCOMPARE(itemSearchTokens({{u"G50-70"_qs, u"g50 70"_qs, QString()}, {u"FREN FREN ön"_qs}}),
                 (QStringList{u"G5070"_qs, u"FREN"_qs, u"ON"_qs}));
        QCOMPARE(tokenPrefixEnd(u"G50"), u"G51"_qs);
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stockNo");
        QTest::newRow("maker code") << u"G50-70"_qs << 1;
        QTest::newRow("maker code run together") << u"G5070"_qs << 1;
        QTest::newRow("maker code with blank") << u"g50 70"_qs << 1;
        QTest::newRow("maker code prefix") << u"G50"_qs << 1;
        QTest::newRow("OEM dots") << u"46.521.001"_qs << 1;
        QTest::newRow("OEM plain") << u"46521001"_qs << 1;
        QTest::newRow("OEM slashes") << u"46/521/001"_qs << 1;
        QTest::newRow("cross number with blanks") << u"0986 494 123"_qs << 1;
        QTest::newRow("VW blanks") << u"1K0 698 151"_qs << 2;
        QTest::newRow("VW run together") << u"1k0698151"_qs << 2;
        QTest::newRow("VW dashes") << u"1K0-698-151"_qs << 2;
        QTest::newRow("slashes") << u"7701/208/265"_qs << 2;
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(int, stockNo);
        QVERIFY(found(m_db.get(), text).count(stockNo));
    }

    void searchFindsEveryItemByItsCodes() {
        sqlite3 *db = m_db.get();
        for (const QString &row : rows(db, "SELECT STOK_STOKNO, KOD, BARKOD, URETICIKODU, OEM1"
                                           " FROM items")) {
            const QStringList f = row.split(u'|');
            const int no = f[0].toInt();
            QCOMPARE(searchStockNumbers(db, f[1]), std::vector<int>{no}); // unique stock code
            for (int i = 2; i < 5; ++i)
                QVERIFY2(found(db, f[i]).count(no), qPrintable(row));
        }
    }

    void searchByWordsNeedsEveryWord() {
        sqlite3 *db = m_db.get();
        const std::set<int> hits = found(db, u"fren balatası ön"_qs);
        QVERIFY(!hits.empty());
        const std::set<int> expected = [&] {
            std::set<int> s;
            for (const QString &no : rows(db, "SELECT STOK_STOKNO FROM items WHERE"
                                              " ADI LIKE 'FREN BALATASI ÖN %'"))
                s.insert(no.toInt());
            return s;
        }();
        QCOMPARE(hits, expected);
        QVERIFY(found(db, u"XQZ 999999"_qs).empty());
        QVERIFY(found(db, u" -/ "_qs).empty());
        QCOMPARE(searchStockNumbers(db, u"fren"_qs, 5).size(), std::size_t(5));
    }

    void usersAndMachines() {
        sqlite3 *db = m_db.get();
        const std::vector<UserRow> users = listUsers(db);
        const std::vector<DemoUser> &demo = demoUsers();
        QCOMPARE(users.size(), demo.size());
        std::set<int> types;
        for (std::size_t i = 0; i < users.size(); ++i) {
            QCOMPARE(users[i].sirano, int(i) + 1);
            QCOMPARE(users[i].name, demo[i].name);
            QCOMPARE(users[i].type, demo[i].type);
            QCOMPARE(users[i].carino, demo[i].carino);
            QCOMPARE(users[i].active, demo[i].active);
            QCOMPARE(scalar(db, qPrintable(u"SELECT SIFRE FROM users WHERE ADI = '" + demo[i].name +
                                           u'\'')),
                     demo[i].password);
            if (demo[i].carino != 0) {
                QCOMPARE(scalar(db, qPrintable(u"SELECT MUSTERITIPI FROM accounts WHERE CARINO = " +
                                               QString::number(demo[i].carino))),
                         QString::number(demo[i].type));
            }
            types.insert(demo[i].type);
        }
        QCOMPARE(types, (std::set<int>{1, 2, 3, 4}));

        const char *owner = "SELECT u.ADI FROM machines m JOIN users u USING (SIRANO)"
                            " WHERE m.BILGISAYARID = 'WD-123ABC'";
        registerMachine(db, u"WD-123 ABC"_qs, u"BAYI1"_qs);
        QCOMPARE(rows(db, owner), QStringList{u"BAYI1"_qs});
        registerMachine(db, u"WD-123ABC"_qs, u"TEMSILCI2"_qs);
        QCOMPARE(rows(db, owner), QStringList{u"TEMSILCI2"_qs});
        for (const QString &unknown : {u"YOK"_qs, u"bayi1"_qs}) {
            QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                     registerMachine(db, u"WD-123ABC"_qs, unknown));
        }
        QCOMPARE(rows(db, owner), QStringList{u"TEMSILCI2"_qs});
        QCOMPARE(rows(db, "SELECT u.ADI FROM machines m JOIN users u USING (SIRANO)"
                          " WHERE m.BILGISAYARID = 'DEMO-BAYI4'"),
                 QStringList{u"BAYI4"_qs});
    }

    // Amounts the client shows side by side must agree with each other.
    void documentsAddUp() {
        sqlite3 *db = m_db.get();
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM statement s JOIN invoice_totals t USING (IDNO)"
                            " WHERE abs(t.KDVDAHIL - s.BORC - s.ALACAK) > 0.001"
                            " OR abs(t.MATRAH + t.KDVTUTAR - t.KDVDAHIL) > 0.001"
                            " OR abs(t.TOPLAM - t.TOPLAMINDIRIM - t.MATRAH) > 0.001"
                            " OR abs(t.TOPLAM - (SELECT SUM(TUTAR) FROM invoice_lines l"
                            "   WHERE l.IDNO = s.IDNO)) > 0.001"
                            " OR abs(t.KDVTUTAR - (SELECT SUM(VERGI) FROM invoice_lines l"
                            "   WHERE l.IDNO = s.IDNO)) > 0.001"),
                 u"0"_qs);
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM statement WHERE TURADI LIKE '%Fatura%'"
                            " AND IDNO NOT IN (SELECT IDNO FROM invoice_totals)"),
                 u"0"_qs);
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM statement s WHERE TURADI IN ('Tahsilat',"
                            " 'Tediye') AND abs(s.BORC + s.ALACAK - (SELECT SUM(TUTAR)"
                            " FROM collections c WHERE c.IDNO = s.IDNO)) > 0.001"),
                 u"0"_qs);
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM virtual_pos v JOIN statement s USING (IDNO)"
                            " WHERE s.TURADI <> 'Tahsilat' OR NOT EXISTS (SELECT 1 FROM"
                            " collections c WHERE c.IDNO = v.IDNO AND c.TURU = 'Kredi Kartı')"),
                 u"0"_qs);
        QVERIFY(scalar(db, "SELECT COUNT(*) FROM virtual_pos").toInt() > 0);
        QVERIFY(scalar(db, "SELECT COUNT(*) FROM statement WHERE TURADI = 'Tediye'").toInt() > 0);
        QVERIFY(
            scalar(db, "SELECT COUNT(*) FROM statement WHERE TURADI = 'İade Faturası'").toInt() >
            0);

        // Only the overdue account owes more than its invoices not yet due.
        QCOMPARE(rows(db, "SELECT CARINO FROM statement GROUP BY CARINO HAVING"
                          " SUM(BORC - ALACAK) - SUM(CASE WHEN TURADI = 'Satış Faturası' AND"
                          " VADETARIHI >= (SELECT VALUE FROM settings WHERE KEY = 'bugun')"
                          " THEN BORC ELSE 0 END) > 0.01"),
                 QStringList{u"1002"_qs});
    }

    void ordersAndCarts() {
        sqlite3 *db = m_db.get();
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM order_lines l JOIN orders o USING (IDNO)"
                            " WHERE l.KALAN > l.MIKTAR - l.TESLIMEDILEN OR l.KALAN < 0"
                            " OR (o.DURUM = 8 AND l.KALAN <> 0)"),
                 u"0"_qs);
        QCOMPARE(rows(db, "SELECT DISTINCT DURUM FROM orders ORDER BY DURUM"),
                 (QStringList{u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs}));
        QVERIFY(scalar(db, "SELECT COUNT(*) FROM order_lines WHERE KALAN > 0").toInt() > 0);
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM orders o WHERE NOT EXISTS (SELECT 1 FROM"
                            " cargo_firms f WHERE f.SIRANO = o.KARGOFIRMAID AND"
                            " f.KARGOTURU = o.KARGOID)"),
                 u"0"_qs);
        QCOMPARE(rows(db, "SELECT COUNT(*) FROM cargo_firms GROUP BY KARGOTURU ORDER BY 1"),
                 (QStringList{u"1"_qs, u"2"_qs, u"3"_qs}));
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM delivery_kinds"), u"3"_qs);

        // A new cart line must not take a number an order line still refers to.
        sqlite3_exec(db,
                     "INSERT INTO cart_lines (CARINO, STOKNO, MIKTAR, BIRIMFIYAT)"
                     " VALUES (1012, 1, 1, 1)",
                     nullptr, nullptr, nullptr);
        QVERIFY(scalar(db, "SELECT MAX(SIRANO) > (SELECT MAX(SEPETSIRANO) FROM order_lines)"
                           " FROM cart_lines") == u"1"_qs);
        sqlite3_exec(db, "DELETE FROM cart_lines WHERE CARINO = 1012", nullptr, nullptr, nullptr);
    }

    void schemaErrorsAreReported() {
        DbPtr db = openMemory();
        createSchema(db.get());
        createSchema(db.get()); // idempotent

        QTemporaryDir dir;
        const QByteArray path = dir.filePath(u"ro.db"_qs).toUtf8();
        sqlite3 *raw = nullptr;
        sqlite3_open(path.constData(), &raw);
        sqlite3_close(raw);
        sqlite3_open_v2(path.constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        DbPtr ro(raw);
        try {
            createSchema(ro.get());
            QFAIL("a read-only database accepted the schema");
        } catch (const std::runtime_error &e) {
            QVERIFY2(QByteArray(e.what()).contains("readonly"), e.what());
        }
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, fillDemoData(ro.get(), {10, 1}));
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "test_demodata.moc"
