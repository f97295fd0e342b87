#pragma once

#include "server/connection.h"
#include "server/resulttable.h"

#include <QString>

namespace zenvo {

// Reads one row of a result table by column name; a missing column or row reads as empty.
struct SatirOkuyucu {
    const ResultTable &t;
    int r;
    int col(const char *name) const {
        return r >= 0 && r < t.rowCount() ? t.fieldIndex(QString::fromLatin1(name)) : -1;
    }
    bool bos(const char *name) const {
        const int c = col(name);
        return c < 0 || t.isNull(r, c);
    }
    double sayi(const char *name) const {
        const int c = col(name);
        return c < 0 ? 0.0 : t.doubleValue(r, c);
    }
    qint64 tam(const char *name) const {
        const int c = col(name);
        return c < 0 ? 0 : t.intValue(r, c);
    }
    QString metin(const char *name) const {
        const int c = col(name);
        return c < 0 ? QString() : t.stringValue(r, c);
    }
};

} // namespace zenvo
