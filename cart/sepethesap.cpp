#include "cart/sepethesap.h"

#include "server/resulttable.h"
#include "widgets/numberformat.h"

namespace zenvo {

SepetToplamlari SepetToplamlariHesapla(const ResultTable &sepet, const QLocale &locale) {
    SepetToplamlari t;
    const int sec = sepet.fieldIndex(u"SEC");
    const int tutar = sepet.fieldIndex(u"TUTAR");
    const int indirim = sepet.fieldIndex(u"INDIRIMTUTAR");
    const auto r2 = [&locale](double v) { return IkiHaneYuvarla(v, locale); };
    if (sec >= 0) {
        for (int r = 0; r < sepet.rowCount(); ++r) {
            if (sepet.intValue(r, sec) != 1)
                continue;
            t.toplam = r2(t.toplam + (tutar >= 0 ? sepet.doubleValue(r, tutar) : 0.0));
            t.indirim = r2(t.indirim + (indirim >= 0 ? sepet.doubleValue(r, indirim) : 0.0));
        }
    }
    t.ara = r2(t.toplam - t.indirim);
    t.vergi = r2(t.ara * 1.18) - t.ara;
    t.genel = r2(t.ara + t.vergi);
    return t;
}

QString ToplamYazisi(double value, const QLocale &locale) {
    return formatFloat(QString::fromLatin1(kParaFormati), value, locale);
}

} // namespace zenvo
