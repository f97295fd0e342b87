// Server database of zenvo-server.
//
// Column names are those of the results the client reads wherever such a result exists, so most
// queries need no aliases. Conventions:
//   - Dates are REAL OLE Automation day numbers (days since 1899-12-30, fraction = time of day),
//     as they travel on the wire. Times of day that results show as text are in SAAT ("HH:MM").
//   - Amounts are REAL lira rounded to two decimals; rates are REAL percents.
//   - Flags are INTEGER 0/1. Pictures and banners are BLOBs holding the file bytes.
//   - The demo "today" is the setting `bugun` (OLE day 45838, 2025-06-30). Demo dates lie
//     before it; a server that wants stable due-date warnings compares against it instead of
//     the clock.
//
// settings          KEY -> VALUE: version (client version the server expects, "1"), kayanyazi
//                   (scrolling text, simple HTML), bugun, firma (the firm's name), demo_seed,
//                   demo_items.
// pictures          RESIMNO, ADI, FORMAT ("JPEG"), GENISLIK, YUKSEKLIK, VERI (bytes). Item
//                   pictures, shared by many items.
// sales_reps        SATICINO, SATICIADI, TELEFON, MAIL.
// accounts          Customer accounts: CARINO, CARIKOD, CARIADI, OZELKOD, ANAGRUP, ALTGRUP,
//                   KOD1-KOD5, ADRES1, ADRES2, ILCE, IL (city), ULKE, TEL1, TEL2, FAX1, FAX2,
//                   GSM, EMAIL, YETKILI, VERGIDAIRESI, VERGINO, IND1-IND4 (the account's four
//                   discount rates), VADE (payment term, days), VADEKONTROLGUN, VADEKONTROLAY,
//                   SATICINO, MUSTERITIPI (3 or 4), AKTIF, ARAMA (foldSearchText of code, name,
//                   city, district and contact, for LIKE searches).
// users             SIRANO (the session's Sirano), ADI, SIFRE (upper case), MUSTERITIPI (1 and 2
//                   sales representatives, 3 and 4 dealers), CARINO (0 for representatives),
//                   SATICINO (own number for representatives, the account's for dealers), AKTIF,
//                   MAIL.
// machines          BILGISAYARID -> SIRANO: the user a machine identity logs in as.
// items             Stock: STOK_STOKNO, KOD (firm's stock code), BARKOD (EAN-13 text),
//                   BARKOD_BARKODNO, OEMNO, OEM1-OEM4 (OEM numbers in the notations the makers
//                   print: dots, dashes, slashes, blanks), ADI, DIGERADI, FINISHKOD, URETICI
//                   (part maker's brand), URETICIKODU (maker's part number, "G50-70"), DPKOD,
//                   PKOD, OZELKOD, BIRIM, MARKA (vehicle make), MODEL (vehicle model),
//                   DEPARTMAN, ANAGRUP, ALTGRUP, KDV, LISTEFIYAT1, KAMPFIYAT (0 = none), K
//                   (1 = campaign item), Y (1 = new item), KALAN (quantity on hand),
//                   ALINANSIPARIS (open customer orders), VERILENSIPARIS (open supplier orders),
//                   DURUM (0 none, 1 in stock, 2 call us, 3 on the way, 4 special order, 5 being
//                   supplied), RESIMNO (0 = no picture).
//                   DURUM follows the quantities: 1 when KALAN >= 3, 2 when KALAN is 1 or 2,
//                   3 with KALAN 0 and VERILENSIPARIS > 0, otherwise 0, 4 or 5 with KALAN 0.
// search_tokens     TOKEN -> STOK_STOKNO, see itemSearchTokens(); prefix search through the
//                   primary key (TOKEN >= ? AND TOKEN < ?).
// delivery_kinds    ID, ADI.   cargo_kinds: ID, ADI.
// cargo_firms       SIRANO, KARGOTURU (cargo kind ID), ADI, UYARI (warning shown when chosen).
// order_statuses    DURUM -> ADI: 2 received, 3 approved, 4 seen, 5 partly prepared,
//                   6 prepared, 7 shipped, 8 delivered. Codes 2-7 are the status codes the
//                   customer selection sends; a saved order starts at 2.
// cart_lines        Cart per account: SIRANO (line number, never reused), CARINO, STOKNO,
//                   BARKOD, STOKADI, MIKTAR, KDV, BIRIMFIYAT, INDIRIMORANI1-4, K, SEC (chosen for
//                   the next order), VERENIDNO (user SIRANO), TARIH, SAAT, ACIKLAMA.
// orders            IDNO, CARINO, TARIH, SAAT, TESLIMID, KARGOID (cargo kind), KARGOFIRMAID
//                   (cargo firm SIRANO), ACIKLAMA (the customer's note), ALANNOTU (the firm's
//                   note), SATICINOTU, VERENIDNO, DURUM, KUR, KURTL.
// order_lines       STOKHAR_NO (order line number), IDNO, SEPETSIRANO (the cart line it came
//                   from), STOKNO, BARKOD, STOKADI, MIKTAR, TESLIMEDILEN, KALAN (outstanding
//                   balance; at most MIKTAR - TESLIMEDILEN, lowered when a balance is changed or
//                   deleted), KDV, BIRIMFIYAT, ILKFIYAT (price when ordered), INDIRIMORANI1-4, K,
//                   VERENIDNO, TARIH, SAAT. Outstanding balances are the lines with KALAN > 0.
// statement         Account movements: IDNO, CARINO, TARIH, VADETARIHI (due date), VADEGUN,
//                   TURADI ("Satış Faturası", "İade Faturası", "Tahsilat", "Tediye", and a
//                   zero "Devir Fişi" opening each account), EVRAK, BORC, ALACAK, KUR, ACIKLAMA,
//                   SATICINO.
// invoice_lines     Lines of invoice movements: ID, IDNO, SIRA, STOKNO, STOKADI, MIKTAR,
//                   BIRIMFIYAT, INDIRIM1, INDIRIM2, KDV, TUTAR, TOPLAMINDIRIM, NETBIRIMFIYAT,
//                   NETTUTAR, VERGI, IRSALIYEEVRAKNO, IRSALIYETARIHI, SIPARISEVRAKNO,
//                   SIPARISTARIHI, ACIKLAMA. Item details (OEMNO, MARKA, ...) join items.
// invoice_totals    IDNO, TOPLAM, TOPLAMINDIRIM, MATRAH, KDVTUTAR, KDVDAHIL; the sums of the
//                   lines, and KDVDAHIL is the movement's BORC (ALACAK for a return).
// collections       Rows of collection and payment movements: ID, IDNO, TARIH, SAAT, TURU,
//                   CINS, EVRAKNO, VADE, TUTAR, KUR, KURTL, DOVIZTUTAR, ACIKLAMA, REF.
// virtual_pos       SIRANO (receipt number), IDNO (its collection movement), TARIH, TUTAR,
//                   KARTNO (masked), ONAYKODU. The receipt PDF is rendered on request.
// announcements     SIRANO, SIRA (display order), BASLIK, ARAMA ("#KAMPANYA#", "#YENİ#", a
//                   search text, or empty), ACILIS (shown at start), DUYURU (in the
//                   announcements tab), RESIM (JPEG bytes, may be empty).
// banners           SLOT (1 header, 2 top strip: GIF; 3 bottom strip: BMP), FORMAT, VERI.

#include "appserver/schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace zenvo::appserver {

namespace {

const char *const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS settings (
    KEY TEXT PRIMARY KEY,
    VALUE TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS pictures (
    RESIMNO INTEGER PRIMARY KEY,
    ADI TEXT NOT NULL,
    FORMAT TEXT NOT NULL,
    GENISLIK INTEGER NOT NULL,
    YUKSEKLIK INTEGER NOT NULL,
    VERI BLOB NOT NULL
);
CREATE TABLE IF NOT EXISTS sales_reps (
    SATICINO INTEGER PRIMARY KEY,
    SATICIADI TEXT NOT NULL,
    TELEFON TEXT NOT NULL DEFAULT '',
    MAIL TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS accounts (
    CARINO INTEGER PRIMARY KEY,
    CARIKOD TEXT NOT NULL UNIQUE,
    CARIADI TEXT NOT NULL,
    OZELKOD TEXT NOT NULL DEFAULT '',
    ANAGRUP TEXT NOT NULL DEFAULT '',
    ALTGRUP TEXT NOT NULL DEFAULT '',
    KOD1 TEXT NOT NULL DEFAULT '',
    KOD2 TEXT NOT NULL DEFAULT '',
    KOD3 TEXT NOT NULL DEFAULT '',
    KOD4 TEXT NOT NULL DEFAULT '',
    KOD5 TEXT NOT NULL DEFAULT '',
    ADRES1 TEXT NOT NULL DEFAULT '',
    ADRES2 TEXT NOT NULL DEFAULT '',
    ILCE TEXT NOT NULL DEFAULT '',
    IL TEXT NOT NULL DEFAULT '',
    ULKE TEXT NOT NULL DEFAULT '',
    TEL1 TEXT NOT NULL DEFAULT '',
    TEL2 TEXT NOT NULL DEFAULT '',
    FAX1 TEXT NOT NULL DEFAULT '',
    FAX2 TEXT NOT NULL DEFAULT '',
    GSM TEXT NOT NULL DEFAULT '',
    EMAIL TEXT NOT NULL DEFAULT '',
    YETKILI TEXT NOT NULL DEFAULT '',
    VERGIDAIRESI TEXT NOT NULL DEFAULT '',
    VERGINO TEXT NOT NULL DEFAULT '',
    IND1 REAL NOT NULL DEFAULT 0,
    IND2 REAL NOT NULL DEFAULT 0,
    IND3 REAL NOT NULL DEFAULT 0,
    IND4 REAL NOT NULL DEFAULT 0,
    VADE INTEGER NOT NULL DEFAULT 0,
    VADEKONTROLGUN INTEGER NOT NULL DEFAULT 0,
    VADEKONTROLAY INTEGER NOT NULL DEFAULT 0,
    SATICINO INTEGER NOT NULL DEFAULT 0,
    MUSTERITIPI INTEGER NOT NULL DEFAULT 3,
    AKTIF INTEGER NOT NULL DEFAULT 1,
    ARAMA TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS accounts_rep ON accounts(SATICINO);
CREATE TABLE IF NOT EXISTS users (
    SIRANO INTEGER PRIMARY KEY,
    ADI TEXT NOT NULL UNIQUE,
    SIFRE TEXT NOT NULL,
    MUSTERITIPI INTEGER NOT NULL,
    CARINO INTEGER NOT NULL DEFAULT 0,
    SATICINO INTEGER NOT NULL DEFAULT 0,
    AKTIF INTEGER NOT NULL DEFAULT 1,
    MAIL TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS machines (
    BILGISAYARID TEXT PRIMARY KEY,
    SIRANO INTEGER NOT NULL REFERENCES users(SIRANO)
);
CREATE TABLE IF NOT EXISTS items (
    STOK_STOKNO INTEGER PRIMARY KEY,
    KOD TEXT NOT NULL,
    BARKOD TEXT NOT NULL,
    BARKOD_BARKODNO INTEGER NOT NULL,
    OEMNO TEXT NOT NULL DEFAULT '',
    OEM1 TEXT NOT NULL DEFAULT '',
    OEM2 TEXT NOT NULL DEFAULT '',
    OEM3 TEXT NOT NULL DEFAULT '',
    OEM4 TEXT NOT NULL DEFAULT '',
    ADI TEXT NOT NULL,
    DIGERADI TEXT NOT NULL DEFAULT '',
    FINISHKOD TEXT NOT NULL DEFAULT '',
    URETICI TEXT NOT NULL DEFAULT '',
    URETICIKODU TEXT NOT NULL DEFAULT '',
    DPKOD TEXT NOT NULL DEFAULT '',
    PKOD TEXT NOT NULL DEFAULT '',
    OZELKOD TEXT NOT NULL DEFAULT '',
    BIRIM TEXT NOT NULL DEFAULT 'ADET',
    MARKA TEXT NOT NULL DEFAULT '',
    MODEL TEXT NOT NULL DEFAULT '',
    DEPARTMAN TEXT NOT NULL DEFAULT '',
    ANAGRUP TEXT NOT NULL DEFAULT '',
    ALTGRUP TEXT NOT NULL DEFAULT '',
    KDV REAL NOT NULL DEFAULT 18,
    LISTEFIYAT1 REAL NOT NULL DEFAULT 0,
    KAMPFIYAT REAL NOT NULL DEFAULT 0,
    K INTEGER NOT NULL DEFAULT 0,
    Y INTEGER NOT NULL DEFAULT 0,
    KALAN REAL NOT NULL DEFAULT 0,
    ALINANSIPARIS REAL NOT NULL DEFAULT 0,
    VERILENSIPARIS REAL NOT NULL DEFAULT 0,
    DURUM INTEGER NOT NULL DEFAULT 0 CHECK (DURUM BETWEEN 0 AND 5),
    RESIMNO INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS items_new ON items(STOK_STOKNO) WHERE Y = 1;
CREATE INDEX IF NOT EXISTS items_campaign ON items(STOK_STOKNO) WHERE K > 0;
CREATE TABLE IF NOT EXISTS search_tokens (
    TOKEN TEXT NOT NULL,
    STOK_STOKNO INTEGER NOT NULL,
    PRIMARY KEY (TOKEN, STOK_STOKNO)
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS delivery_kinds (
    ID INTEGER PRIMARY KEY,
    ADI TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS cargo_kinds (
    ID INTEGER PRIMARY KEY,
    ADI TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS cargo_firms (
    SIRANO INTEGER PRIMARY KEY,
    KARGOTURU INTEGER NOT NULL REFERENCES cargo_kinds(ID),
    ADI TEXT NOT NULL,
    UYARI TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS cargo_firms_kind ON cargo_firms(KARGOTURU, SIRANO);
CREATE TABLE IF NOT EXISTS order_statuses (
    DURUM INTEGER PRIMARY KEY,
    ADI TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS cart_lines (
    SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,
    CARINO INTEGER NOT NULL,
    STOKNO INTEGER NOT NULL,
    BARKOD TEXT NOT NULL DEFAULT '',
    STOKADI TEXT NOT NULL DEFAULT '',
    MIKTAR REAL NOT NULL,
    KDV REAL NOT NULL DEFAULT 18,
    BIRIMFIYAT REAL NOT NULL,
    INDIRIMORANI1 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI2 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI3 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI4 REAL NOT NULL DEFAULT 0,
    K INTEGER NOT NULL DEFAULT 0,
    SEC INTEGER NOT NULL DEFAULT 0,
    VERENIDNO INTEGER NOT NULL DEFAULT 0,
    TARIH REAL NOT NULL DEFAULT 0,
    SAAT TEXT NOT NULL DEFAULT '',
    ACIKLAMA TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS cart_lines_account ON cart_lines(CARINO, SIRANO);
CREATE TABLE IF NOT EXISTS orders (
    IDNO INTEGER PRIMARY KEY AUTOINCREMENT,
    CARINO INTEGER NOT NULL,
    TARIH REAL NOT NULL,
    SAAT TEXT NOT NULL DEFAULT '',
    TESLIMID INTEGER NOT NULL DEFAULT 0,
    KARGOID INTEGER NOT NULL DEFAULT 0,
    KARGOFIRMAID INTEGER NOT NULL DEFAULT 0,
    ACIKLAMA TEXT NOT NULL DEFAULT '',
    ALANNOTU TEXT NOT NULL DEFAULT '',
    SATICINOTU TEXT NOT NULL DEFAULT '',
    VERENIDNO INTEGER NOT NULL DEFAULT 0,
    DURUM INTEGER NOT NULL DEFAULT 2,
    KUR TEXT NOT NULL DEFAULT 'TL',
    KURTL REAL NOT NULL DEFAULT 1
);
CREATE INDEX IF NOT EXISTS orders_account ON orders(CARINO, IDNO);
CREATE INDEX IF NOT EXISTS orders_date ON orders(TARIH);
CREATE TABLE IF NOT EXISTS order_lines (
    STOKHAR_NO INTEGER PRIMARY KEY AUTOINCREMENT,
    IDNO INTEGER NOT NULL REFERENCES orders(IDNO),
    SEPETSIRANO INTEGER NOT NULL DEFAULT 0,
    STOKNO INTEGER NOT NULL,
    BARKOD TEXT NOT NULL DEFAULT '',
    STOKADI TEXT NOT NULL DEFAULT '',
    MIKTAR REAL NOT NULL,
    TESLIMEDILEN REAL NOT NULL DEFAULT 0,
    KALAN REAL NOT NULL DEFAULT 0,
    KDV REAL NOT NULL DEFAULT 18,
    BIRIMFIYAT REAL NOT NULL,
    ILKFIYAT REAL NOT NULL DEFAULT 0,
    INDIRIMORANI1 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI2 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI3 REAL NOT NULL DEFAULT 0,
    INDIRIMORANI4 REAL NOT NULL DEFAULT 0,
    K INTEGER NOT NULL DEFAULT 0,
    VERENIDNO INTEGER NOT NULL DEFAULT 0,
    TARIH REAL NOT NULL DEFAULT 0,
    SAAT TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS order_lines_order ON order_lines(IDNO, STOKHAR_NO);
CREATE INDEX IF NOT EXISTS order_lines_item ON order_lines(STOKNO);
CREATE INDEX IF NOT EXISTS order_lines_open ON order_lines(IDNO) WHERE KALAN > 0;
CREATE TABLE IF NOT EXISTS statement (
    IDNO INTEGER PRIMARY KEY,
    CARINO INTEGER NOT NULL,
    TARIH REAL NOT NULL,
    VADETARIHI REAL NOT NULL DEFAULT 0,
    VADEGUN INTEGER NOT NULL DEFAULT 0,
    TURADI TEXT NOT NULL,
    EVRAK TEXT NOT NULL DEFAULT '',
    BORC REAL NOT NULL DEFAULT 0,
    ALACAK REAL NOT NULL DEFAULT 0,
    KUR TEXT NOT NULL DEFAULT 'TL',
    ACIKLAMA TEXT NOT NULL DEFAULT '',
    SATICINO INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS statement_account ON statement(CARINO, TARIH, IDNO);
CREATE TABLE IF NOT EXISTS invoice_lines (
    ID INTEGER PRIMARY KEY,
    IDNO INTEGER NOT NULL REFERENCES statement(IDNO),
    SIRA INTEGER NOT NULL,
    STOKNO INTEGER NOT NULL,
    STOKADI TEXT NOT NULL DEFAULT '',
    MIKTAR REAL NOT NULL,
    BIRIMFIYAT REAL NOT NULL,
    INDIRIM1 REAL NOT NULL DEFAULT 0,
    INDIRIM2 REAL NOT NULL DEFAULT 0,
    KDV REAL NOT NULL DEFAULT 18,
    TUTAR REAL NOT NULL,
    TOPLAMINDIRIM REAL NOT NULL,
    NETBIRIMFIYAT REAL NOT NULL,
    NETTUTAR REAL NOT NULL,
    VERGI REAL NOT NULL,
    IRSALIYEEVRAKNO TEXT NOT NULL DEFAULT '',
    IRSALIYETARIHI REAL NOT NULL DEFAULT 0,
    SIPARISEVRAKNO TEXT NOT NULL DEFAULT '',
    SIPARISTARIHI REAL NOT NULL DEFAULT 0,
    ACIKLAMA TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS invoice_lines_invoice ON invoice_lines(IDNO, SIRA);
CREATE TABLE IF NOT EXISTS invoice_totals (
    IDNO INTEGER PRIMARY KEY REFERENCES statement(IDNO),
    TOPLAM REAL NOT NULL,
    TOPLAMINDIRIM REAL NOT NULL,
    MATRAH REAL NOT NULL,
    KDVTUTAR REAL NOT NULL,
    KDVDAHIL REAL NOT NULL
);
CREATE TABLE IF NOT EXISTS collections (
    ID INTEGER PRIMARY KEY,
    IDNO INTEGER NOT NULL REFERENCES statement(IDNO),
    TARIH REAL NOT NULL,
    SAAT TEXT NOT NULL DEFAULT '',
    TURU TEXT NOT NULL,
    CINS TEXT NOT NULL DEFAULT '',
    EVRAKNO TEXT NOT NULL DEFAULT '',
    VADE REAL NOT NULL DEFAULT 0,
    TUTAR REAL NOT NULL,
    KUR TEXT NOT NULL DEFAULT 'TL',
    KURTL REAL NOT NULL DEFAULT 1,
    DOVIZTUTAR REAL NOT NULL DEFAULT 0,
    ACIKLAMA TEXT NOT NULL DEFAULT '',
    REF TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS collections_movement ON collections(IDNO, ID);
CREATE TABLE IF NOT EXISTS virtual_pos (
    SIRANO INTEGER PRIMARY KEY,
    IDNO INTEGER NOT NULL UNIQUE REFERENCES statement(IDNO),
    TARIH REAL NOT NULL,
    TUTAR REAL NOT NULL,
    KARTNO TEXT NOT NULL DEFAULT '',
    ONAYKODU TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS announcements (
    SIRANO INTEGER PRIMARY KEY,
    SIRA INTEGER NOT NULL,
    BASLIK TEXT NOT NULL DEFAULT '',
    ARAMA TEXT NOT NULL DEFAULT '',
    ACILIS INTEGER NOT NULL DEFAULT 0,
    DUYURU INTEGER NOT NULL DEFAULT 1,
    RESIM BLOB
);
CREATE TABLE IF NOT EXISTS banners (
    SLOT INTEGER PRIMARY KEY CHECK (SLOT BETWEEN 1 AND 3),
    FORMAT TEXT NOT NULL,
    VERI BLOB NOT NULL
);
)sql";

[[noreturn]] void fail(sqlite3 *db, const char *what) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// Folds one character; returns 0 when it is neither a letter nor a digit.
char16_t foldChar(char16_t c) {
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'))
        return c;
    if (c >= u'a' && c <= u'z')
        return char16_t(c - u'a' + u'A');
    if (c < 0x80)
        return 0;
    switch (c) {
    case u'ı':
    case u'İ':
        return u'I';
    case u'ğ':
    case u'Ğ':
        return u'G';
    default:
        break;
    }
    // Other accented Latin letters (ç, ş, ö, ü, â, î, û, é ...) fold to their base letter.
    const QString decomposed = QChar(c).decomposition();
    if (!decomposed.isEmpty() && QChar(c).decompositionTag() == QChar::Canonical)
        return foldChar(decomposed.at(0).unicode());
    return 0;
}

struct Prepared {
    sqlite3_stmt *s = nullptr;
    Prepared(sqlite3 *db, const char *sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
            fail(db, "prepare");
    }
    ~Prepared() { sqlite3_finalize(s); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;
};

// Sorted, distinct stock numbers of the tokens that start with prefix.
std::vector<int> idsWithPrefix(sqlite3 *db, Prepared &st, const QString &prefix) {
    const QByteArray lo = prefix.toLatin1();
    const QByteArray hi = tokenPrefixEnd(prefix).toLatin1();
    sqlite3_reset(st.s);
    sqlite3_bind_text(st.s, 1, lo.constData(), int(lo.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st.s, 2, hi.constData(), int(hi.size()), SQLITE_TRANSIENT);
    std::vector<int> ids;
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int(st.s, 0));
    if (rc != SQLITE_DONE)
        fail(db, "search");
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace

void createSchema(sqlite3 *db) {
    char *err = nullptr;
    if (sqlite3_exec(db, kSchema, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = "create schema: ";
        msg += err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        throw std::runtime_error(msg);
    }
}

QString normalizeSearchToken(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (const char16_t f = foldChar(ch.unicode()))
            out.append(QChar(f));
    }
    return out;
}

QString foldSearchText(QStringView text) {
    QString out;
    out.reserve(text.size());
    bool gap = false;
    for (QChar ch : text) {
        if (const char16_t f = foldChar(ch.unicode())) {
            if (gap && !out.isEmpty())
                out.append(u' ');
            gap = false;
            out.append(QChar(f));
        } else {
            gap = true;
        }
    }
    return out;
}

QStringList searchWords(QStringView text) {
    QStringList words;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        if (end > start) {
            QString w = normalizeSearchToken(text.mid(start, end - start));
            if (!w.isEmpty())
                words.append(std::move(w));
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isSpace() || c == u',' || c == u';' || c == u'(' || c == u')') {
            flush(i);
            start = i + 1;
        }
    }
    flush(text.size());
    return words;
}

QStringList itemSearchTokens(const ItemSearchText &item) {
    QStringList tokens;
    auto add = [&tokens](const QString &t) {
        if (!t.isEmpty() && !tokens.contains(t))
            tokens.append(t);
    };
    for (const QString &code : item.codes)
        add(normalizeSearchToken(code));
    for (const QString &text : item.words) {
        for (const QString &word : searchWords(text))
            add(word);
    }
    return tokens;
}

QString tokenPrefixEnd(QStringView prefix) {
    if (prefix.isEmpty())
        return {};
    QString end = prefix.toString();
    end.back() = QChar(char16_t(end.back().unicode() + 1));
    return end;
}

std::vector<int> searchStockNumbers(sqlite3 *db, QStringView text, int limit) {
    const QString whole = normalizeSearchToken(text);
    if (whole.isEmpty())
        return {};
    Prepared st(db, "SELECT STOK_STOKNO FROM search_tokens WHERE TOKEN >= ?1 AND TOKEN < ?2");
    std::vector<int> found = idsWithPrefix(db, st, whole);

    QStringList words = searchWords(text);
    if (words.size() > 1) {
        // Longest words first: they usually narrow the set most.
        std::stable_sort(words.begin(), words.end(),
                         [](const QString &a, const QString &b) { return a.size() > b.size(); });
        std::vector<int> all = idsWithPrefix(db, st, words.front());
        for (qsizetype i = 1; i < words.size() && !all.empty(); ++i) {
            const std::vector<int> next = idsWithPrefix(db, st, words.at(i));
            std::vector<int> both;
            std::set_intersection(all.begin(), all.end(), next.begin(), next.end(),
                                  std::back_inserter(both));
            all.swap(both);
        }
        std::vector<int> merged;
        std::set_union(found.begin(), found.end(), all.begin(), all.end(),
                       std::back_inserter(merged));
        found.swap(merged);
    }
    if (limit > 0 && found.size() > std::size_t(limit))
        found.resize(std::size_t(limit));
    return found;
}

} // namespace zenvo::appserver
