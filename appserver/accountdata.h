#pragma once

#include "appserver/db.h"
#include "server/records.h"

#include <string>
#include <vector>

namespace zenvo::appserver {

// The user behind a session record, looked up by its Sirano; the record's own claims (type,
// account) are not trusted.
struct Viewer {
    bool valid = false; // a known, active user
    int sirano = 0;
    int type = 0;   // MusteriTipi: 1 and 2 sales representatives, 3 and 4 dealers
    int carino = 0; // a dealer's own account
    int saticino = 0;
    QString name;
    bool salesRep() const { return type == 1 || type == 2; }
};

Viewer viewerOf(sqlite3 *db, const TSonucBilgisi *session);
Viewer viewerBySirano(sqlite3 *db, int sirano);

// An SQL condition on the accounts table aliased `alias` that keeps the accounts the viewer may
// see: a representative's own accounts, a dealer's one account, nothing for an invalid viewer.
std::string visibleAccounts(const Viewer &v, const char *alias = "a");
bool mayActFor(sqlite3 *db, const Viewer &v, int carino);

// Amounts of one order or cart line, rounded as the firm rounds them.
struct LineAmounts {
    double gross = 0;    // quantity x price
    double discount = 0; // gross - net
    double netUnit = 0;
    double net = 0;
    double vat = 0;
};
LineAmounts lineAmounts(double qty, double price, const double (&rates)[4], double kdv);

// An order with its names and its totals over its lines.
struct OrderSummary {
    int idno = 0;
    int carino = 0;
    double tarih = 0;
    QString kur;
    double kurtl = 1;
    int verenidno = 0;
    QString kargo; // cargo kind
    QString teslim;
    QString veren;
    QString carikod;
    QString cariadi;
    QString durum;
    QString kargoadi; // cargo firm
    QString verenNotu;
    QString alanNotu;
    QString saticiadi;
    double vergi = 0;
    double net = 0;
    double tutar = 0; // net + vat
};
// Orders matching `where` (a condition on orders o and accounts a, with ?1 and ?2 bound to the
// two values), newest first.
std::vector<OrderSummary> orderSummaries(sqlite3 *db, const std::string &where, double v1 = 0,
                                         double v2 = 0);

// Debit minus credit over the account's statement; movements before `until` when it is > 0.
double accountBalance(sqlite3 *db, int carino, double until = 0);
// "B" for a debit balance, "A" for a credit balance, a blank for zero.
QString balanceSide(double balance);

// Open invoices at a day, oldest collections settling oldest invoices first.
struct Aging {
    double balance = 0;
    double overdue = 0;
    double notDue = 0;
    double oldestOverdueDue = 0; // due day of the oldest overdue invoice; 0 when none
};
Aging accountAging(sqlite3 *db, int carino, double day);

QString settingText(sqlite3 *db, const char *key);

// A whole OLE day number from a client's date; false for values no calendar can show.
bool wholeDay(double v, double &day);

} // namespace zenvo::appserver
