#pragma once

#include <QDateTime>

namespace zenvo {

// OLE Automation dates: days since 30 December 1899, the fraction being the time of day.
double ToOleDate(const QDateTime &dt);
double ToOleDate(const QDate &d);
QDateTime FromOleDate(double days);

} // namespace zenvo
