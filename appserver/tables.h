#pragma once

#include "appserver/db.h"
#include "server/resulttable.h"

#include <memory>
#include <vector>

namespace zenvo::appserver {

struct Col {
    const char *name;
    FieldType type;
    int size = 0;
};

// A result table with these columns, filled from every row of the statement (same order).
std::unique_ptr<ResultTable> tableFromQuery(Stmt &st, const std::vector<Col> &cols);
// An empty table with these columns.
std::unique_ptr<ResultTable> emptyTable(const std::vector<Col> &cols);

// Money rounding of the firm: two decimals, halves away from zero.
double r2(double v);
// Net price after up to four successive discounts in percent.
double netPrice(double price, double i1, double i2, double i3, double i4);
// "20", "20+5", "10+5+2,5": the non-zero rates; "0" when there is none.
QString discountText(double i1, double i2, double i3, double i4);

// Today as an OLE day number and the time of day as "HH:MM" (the demo may pin "today").
double oleToday(sqlite3 *db);
QString timeOfDay();

} // namespace zenvo::appserver
