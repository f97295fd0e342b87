#include "widgets/xlswriter.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zenvo {

namespace {

constexpr int kMaxRecordData = 8224;
constexpr int kStyleXfCount = 15; // XF 0..14 are style XFs, 15 the default cell XF
constexpr int kFirstCustomFormat = 164;

enum : quint16 {
    kBof = 0x0809,
    kEof = 0x000A,
    kCodePage = 0x0042,
    kWindow1 = 0x003D,
    kDate1904 = 0x0022,
    kFont = 0x0031,
    kFormat = 0x041E,
    kXf = 0x00E0,
    kStyle = 0x0293,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kExtSst = 0x00FF,
    kContinue = 0x003C,
    kColInfo = 0x007D,
    kDimensions = 0x0200,
    kWindow2 = 0x023E,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
};

void put8(QByteArray &b, quint8 v) {
    b.append(char(v));
}
void put16(QByteArray &b, quint16 v) {
    char buf[2];
    qToLittleEndian(v, buf);
    b.append(buf, 2);
}
void put32(QByteArray &b, quint32 v) {
    char buf[4];
    qToLittleEndian(v, buf);
    b.append(buf, 4);
}
void putDouble(QByteArray &b, double v) {
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    char buf[8];
    qToLittleEndian(bits, buf);
    b.append(buf, 8);
}

void record(QByteArray &out, quint16 id, const QByteArray &body) {
    put16(out, id);
    put16(out, quint16(body.size()));
    out += body;
}

bool isWide(QStringView s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

void putChars(QByteArray &b, QStringView s, bool wide) {
    for (QChar c : s) {
        if (wide)
            put16(b, c.unicode());
        else
            put8(b, quint8(c.unicode()));
    }
}

// Unicode string with a 16-bit (long) or 8-bit (short) character count.
void putString(QByteArray &b, QStringView s, bool shortCount) {
    const bool wide = isWide(s);
    if (shortCount)
        put8(b, quint8(s.size()));
    else
        put16(b, quint16(s.size()));
    put8(b, wide ? 1 : 0);
    putChars(b, s, wide);
}

QByteArray bof(quint16 type) {
    QByteArray b;
    put16(b, 0x0600); // BIFF8
    put16(b, type);
    put16(b, 0x0DBB); // build
    put16(b, 0x07CC); // year
    put32(b, 0);      // file history
    put32(b, 0x06);   // lowest version that reads all records
    return b;
}

QByteArray font(bool bold) {
    QByteArray b;
    put16(b, 200);    // 10 pt in twips
    put16(b, 0);      // attributes
    put16(b, 0x7FFF); // automatic colour
    put16(b, bold ? 700 : 400);
    put16(b, 0); // escapement
    put8(b, 0);  // underline
    put8(b, 2);  // swiss family
    put8(b, 0);  // charset
    put8(b, 0);
    putString(b, u"Arial", true);
    return b;
}

QByteArray xf(quint16 font, quint16 format, bool style, quint8 align, quint8 usedAttributes) {
    QByteArray b;
    put16(b, font);
    put16(b, format);
    put16(b, style ? 0xFFF5 : 0x0001); // locked; style XFs have no parent
    put8(b, align);
    put8(b, 0); // rotation
    put8(b, 0); // indent, shrink, reading order
    put8(b, usedAttributes);
    put32(b, 0); // borders
    put32(b, 0);
    put16(b, 0x20C0); // automatic pattern colours
    return b;
}

QByteArray sheetName(const QString &name) {
    QString clean = name;
    for (QChar bad : {u'[', u']', u':', u'*', u'?', u'/', u'\\'})
        clean.replace(bad, u'_');
    clean = clean.left(31);
    if (clean.isEmpty())
        clean = QStringLiteral("Sayfa");
    QByteArray b;
    putString(b, clean, true);
    return b;
}

// SST and its CONTINUE records; a string's character data may cross into the next record,
// which then starts with the string's encoding flag again.
void writeSst(QByteArray &out, const std::vector<QString> &strings, quint32 refs) {
    const quint16 perBucket = quint16(std::max<std::size_t>(8, (strings.size() + 127) / 128));
    QByteArray ext;
    put16(ext, perBucket);

    QByteArray rec;
    quint16 id = kSst;
    qsizetype recStart = out.size();
    auto flush = [&] {
        record(out, id, rec);
        rec.clear();
        id = kContinue;
        recStart = out.size();
    };
    put32(rec, refs);
    put32(rec, quint32(strings.size()));
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const QString &s = strings[i];
        const bool wide = isWide(s);
        const int unit = wide ? 2 : 1;
        if (kMaxRecordData - rec.size() < 3 + (s.isEmpty() ? 0 : unit))
            flush();
        if (i % perBucket == 0) {
            put32(ext, quint32(recStart + 4 + rec.size()));
            put16(ext, quint16(4 + rec.size()));
            put16(ext, 0);
        }
        put16(rec, quint16(s.size()));
        put8(rec, wide ? 1 : 0);
        qsizetype pos = 0;
        while (pos < s.size()) {
            const qsizetype room = (kMaxRecordData - rec.size()) / unit;
            if (room <= 0) {
                flush();
                put8(rec, wide ? 1 : 0);
                continue;
            }
            const qsizetype n = std::min(room, s.size() - pos);
            putChars(rec, QStringView(s).mid(pos, n), wide);
            pos += n;
        }
    }
    flush();
    record(out, kExtSst, ext);
}

} // namespace

int XlsWorkbook::addSheet(const QString &name) {
    Sheet s;
    s.name = name;
    m_sheets.push_back(std::move(s));
    return int(m_sheets.size()) - 1;
}

void XlsWorkbook::setColumnWidth(int sheet, int column, int pixels) {
    if (sheet < 0 || sheet >= sheetCount() || column < 0 || column >= kMaxColumns)
        return;
    m_sheets[std::size_t(sheet)].widths.emplace_back(column, pixels);
}

int XlsWorkbook::style(const CellStyle &s) {
    auto it = std::find(m_styles.begin(), m_styles.end(), s);
    if (it != m_styles.end())
        return int(it - m_styles.begin());
    m_styles.push_back(s);
    return int(m_styles.size()) - 1;
}

int XlsWorkbook::xfIndex(int style) const {
    return style >= 0 && style < int(m_styles.size()) ? kStyleXfCount + 1 + style : kStyleXfCount;
}

bool XlsWorkbook::placeCell(Sheet &sheet, int row, int column) {
    if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns)
        return false;
    if (row < sheet.lastRow || (row == sheet.lastRow && column <= sheet.lastColumn))
        return false;
    sheet.lastRow = row;
    sheet.lastColumn = column;
    sheet.maxColumn = std::max(sheet.maxColumn, column);
    return true;
}

bool XlsWorkbook::writeText(int sheet, int row, int column, const QString &text, int style) {
    if (sheet < 0 || sheet >= sheetCount())
        return false;
    Sheet &s = m_sheets[std::size_t(sheet)];
    if (!placeCell(s, row, column))
        return false;
    const QString value = text.left(kMaxTextLength);
    auto it = m_sstIndex.constFind(value);
    if (it == m_sstIndex.constEnd()) {
        it = m_sstIndex.insert(value, quint32(m_strings.size()));
        m_strings.push_back(value);
    }
    ++m_sstRefs;
    QByteArray body;
    put16(body, quint16(row));
    put16(body, quint16(column));
    put16(body, quint16(xfIndex(style)));
    put32(body, *it);
    record(s.cells, kLabelSst, body);
    return true;
}

bool XlsWorkbook::writeNumber(int sheet, int row, int column, double value, int style) {
    if (!std::isfinite(value)) // the format has no NaN or infinity
        return writeText(sheet, row, column,
                         std::isnan(value)
                             ? QStringLiteral("NAN")
                             : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF")));
    if (sheet < 0 || sheet >= sheetCount())
        return false;
    Sheet &s = m_sheets[std::size_t(sheet)];
    if (!placeCell(s, row, column))
        return false;
    QByteArray body;
    put16(body, quint16(row));
    put16(body, quint16(column));
    put16(body, quint16(xfIndex(style)));
    putDouble(body, value);
    record(s.cells, kNumber, body);
    return true;
}

QByteArray XlsWorkbook::workbookStream() const {
    QByteArray g;
    record(g, kBof, bof(0x0005));
    {
        QByteArray b;
        put16(b, 1200); // UTF-16
        record(g, kCodePage, b);
    }
    {
        QByteArray b;
        for (quint16 v : {0x0000, 0x0000, 0x4000, 0x2400, 0x0038, 0x0000, 0x0000, 0x0001, 0x0258})
            put16(b, v);
        record(g, kWindow1, b);
    }
    {
        QByteArray b;
        put16(b, 0);
        record(g, kDate1904, b);
    }
    // Fonts 0..3 (index 4 does not exist in the format); font 1 is bold.
    record(g, kFont, font(false));
    record(g, kFont, font(true));
    record(g, kFont, font(false));
    record(g, kFont, font(false));

    QHash<QString, quint16> formats;
    for (const CellStyle &s : m_styles) {
        if (s.numberFormat.isEmpty() || s.numberFormat == u"General" ||
            formats.contains(s.numberFormat))
            continue;
        const auto index = quint16(kFirstCustomFormat + formats.size());
        formats.insert(s.numberFormat, index);
        QByteArray b;
        put16(b, index);
        putString(b, s.numberFormat, false);
        record(g, kFormat, b);
    }

    record(g, kXf, xf(0, 0, true, 0x20, 0x00));
    for (int i = 1; i < kStyleXfCount; ++i)
        record(g, kXf, xf(i <= 2 ? 1 : 0, 0, true, 0x20, 0xF4));
    record(g, kXf, xf(0, 0, false, 0x20, 0x00));
    for (const CellStyle &s : m_styles) {
        quint8 align = quint8(s.align);
        if (s.wrap)
            align |= 0x08;
        align |= (s.wrap ? 1 : 2) << 4; // vertically centred when wrapped, else bottom
        record(g, kXf, xf(s.bold ? 1 : 0, formats.value(s.numberFormat, 0), false, align, 0xFC));
    }
    {
        QByteArray b;
        put16(b, 0x8000); // built-in style on XF 0
        put8(b, 0);       // Normal
        put8(b, 0xFF);
        record(g, kStyle, b);
    }

    std::vector<qsizetype> sheetPosFields;
    for (const Sheet &s : m_sheets) {
        QByteArray b;
        put32(b, 0); // position of the sheet's BOF, patched below
        put8(b, 0);  // visible
        put8(b, 0);  // worksheet
        b += sheetName(s.name);
        sheetPosFields.push_back(g.size() + 4);
        record(g, kBoundSheet, b);
    }
    writeSst(g, m_strings, m_sstRefs);
    record(g, kEof, {});

    QByteArray stream = g;
    for (std::size_t i = 0; i < m_sheets.size(); ++i) {
        const Sheet &s = m_sheets[i];
        qToLittleEndian(quint32(stream.size()), stream.data() + sheetPosFields[i]);
        record(stream, kBof, bof(0x0010));
        for (const auto &[column, pixels] : s.widths) {
            QByteArray b;
            put16(b, quint16(column));
            put16(b, quint16(column));
            const int units = std::clamp((std::max(pixels, 0) * 256 + 3) / 7, 256, 255 * 256);
            put16(b, quint16(units));
            put16(b, kStyleXfCount);
            put16(b, 0);
            put16(b, 0);
            record(stream, kColInfo, b);
        }
        {
            QByteArray b;
            put32(b, 0);
            put32(b, quint32(s.lastRow + 1));
            put16(b, 0);
            put16(b, quint16(s.maxColumn + 1));
            put16(b, 0);
            record(stream, kDimensions, b);
        }
        stream += s.cells;
        {
            QByteArray b;
            put16(b, i == 0 ? 0x06B6 : 0x00B6); // grid, headers, zeros; the first sheet is active
            put16(b, 0);
            put16(b, 0);
            put16(b, 64);
            put16(b, 0);
            put16(b, 0);
            put16(b, 0);
            put32(b, 0);
            record(stream, kWindow2, b);
        }
        record(stream, kEof, {});
    }
    // Small streams would land in the compound file's mini stream, which some readers reject.
    if (stream.size() < 4096)
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    return stream;
}

bool XlsWorkbook::save(const QString &path, QString *error) const {
    return writeOleFile(path, "Workbook", workbookStream(), error);
}

} // namespace zenvo
