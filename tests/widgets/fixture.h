#pragma once

#include "server/resulttable.h"

#include <QLocale>
#include <QString>
#include <QVariantList>

namespace fixture {

using zenvo::FieldType;
using zenvo::ResultTable;

// Eight stock rows with Turkish text, a null, duplicate makes and every status code.
inline ResultTable stock() {
    ResultTable t;
    t.addField({QStringLiteral("STOK_STOKNO"), FieldType::Integer, 0});
    t.addField({QStringLiteral("DURUM"), FieldType::Integer, 0});
    t.addField({QStringLiteral("BARKOD"), FieldType::String, 30});
    t.addField({QStringLiteral("ADI"), FieldType::String, 100});
    t.addField({QStringLiteral("MARKA"), FieldType::String, 30});
    t.addField({QStringLiteral("FIYAT"), FieldType::Double, 0});
    t.addField({QStringLiteral("MIKTAR"), FieldType::Integer, 0});
    t.addField({QStringLiteral("Y"), FieldType::Integer, 0});
    t.addField({QStringLiteral("SEC"), FieldType::Integer, 0});
    const QVariant null;
    t.appendRow({101, 1, "B-100", QStringLiteral("ÇELİK JANT 15\""), "FORD", 1234.5, 2, 1, 1});
    t.appendRow({102, 0, "B-200", QStringLiteral("CAM SİLECEĞİ"), "RENAULT", 99.9, 10, 0, 0});
    t.appendRow({103, 2, "B-300", QStringLiteral("IŞIK GRUBU SAĞ"), "FORD", 2500.0, 1, 0, 1});
    t.appendRow({104, 3, "A-050", QStringLiteral("İTİCİ ÇUBUK"), "FIAT", 45.25, 4, 1, 0});
    t.appendRow({105, 4, "C-900", QStringLiteral("DİŞLİ KUTUSU"), null, 18750.0, 1, 0, 0});
    t.appendRow({106, 5, "B-150", QStringLiteral("ŞANZIMAN YAĞI"), "RENAULT", 0.5, 24, 1, 1});
    t.appendRow({107, 1, "D-001", QStringLiteral("ÖN TAMPON"), "FIAT", 1234.5, 3, 0, 0});
    t.appendRow({108, 9, "B-101", QStringLiteral("ÜST KAPUT"), "FORD", null, 6, 0, 0});
    zenvo::SayiFormatla(t);
    return t;
}

} // namespace fixture
