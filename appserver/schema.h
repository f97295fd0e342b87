#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

struct sqlite3;

namespace zenvo::appserver {

// Creates every table and index of the server database (IF NOT EXISTS, so it is safe to run on
// an existing file). Throws std::runtime_error carrying SQLite's message on failure.
void createSchema(sqlite3 *db);

// Search key of one code or word: Turkish letters folded to Latin (Ç->C, Ğ->G, İ/ı->I, Ö->O,
// Ş->S, Ü->U; other accented letters to their base letter), upper case; only A-Z and 0-9 are
// kept, everything else (blanks, punctuation, other scripts) is dropped. "G50-70", "g50 70" and
// "G5070" all give "G5070"; "46.521.001", "46/521/001" and "46-521-001" give "46521001".
// Independent of the locale.
QString normalizeSearchToken(QStringView text);

// The same folding, but each run of characters that are neither letters nor digits becomes one
// blank; leading and trailing blanks are removed. "Fren balatası, ön" gives "FREN BALATASI ON".
QString foldSearchText(QStringView text);

// Search words of a text: pieces between blanks (and , ; ( )), each normalised with
// normalizeSearchToken, empty ones left out. A piece keeps its inner punctuation, so "1.3"
// gives "13" and "G50-70" gives "G5070". Used for item names and for search texts alike.
QStringList searchWords(QStringView text);

// The searchable text of one stock item.
struct ItemSearchText {
    // Codes: each one becomes a single token, whatever blanks or punctuation it carries.
    QStringList codes;
    // Names, makes and models: each of their searchWords() becomes a token.
    QStringList words;
};

// Distinct tokens of one item, in first-seen order; empty tokens are left out.
QStringList itemSearchTokens(const ItemSearchText &item);

// Exclusive upper bound of the tokens that start with prefix, for
// `TOKEN >= prefix AND TOKEN < tokenPrefixEnd(prefix)`. Tokens are plain ASCII upper case
// letters and digits, so the bound is the prefix with its last character incremented.
QString tokenPrefixEnd(QStringView prefix);

// Stock numbers found for a search text, ascending. An item is found when one of its tokens
// starts with the whole text normalised (so "G50 70" finds the code "G50-70"), or when each of
// the text's searchWords() starts one of its tokens ("fren ön doblo"). limit 0: no limit.
// Throws std::runtime_error on an SQLite error.
std::vector<int> searchStockNumbers(sqlite3 *db, QStringView text, int limit = 0);

} // namespace zenvo::appserver
