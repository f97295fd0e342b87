#include "server/resulttable.h"

#include <QLocale>

#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <malloc.h>
#include <stdexcept>

namespace zenvo {

namespace {
struct TypeName {
    FieldType type;
    const char *name;
};
constexpr std::array<TypeName, 11> kTypeNames{{
    {FieldType::Integer, "integer"},
    {FieldType::Int64, "int64"},
    {FieldType::Double, "double"},
    {FieldType::Currency, "currency"},
    {FieldType::Bcd, "bcd"},
    {FieldType::Boolean, "boolean"},
    {FieldType::String, "string"},
    {FieldType::Date, "date"},
    {FieldType::Time, "time"},
    {FieldType::DateTime, "datetime"},
    {FieldType::Blob, "blob"},
}};
} // namespace

const char *fieldTypeName(FieldType t) {
    for (const auto &tn : kTypeNames)
        if (tn.type == t)
            return tn.name;
    return "string";
}

std::optional<FieldType> fieldTypeFromName(std::string_view name) {
    for (const auto &tn : kTypeNames)
        if (name == tn.name)
            return tn.type;
    return std::nullopt;
}

bool isIntegerStored(FieldType t) {
    return t == FieldType::Integer || t == FieldType::Int64 || t == FieldType::Boolean;
}

bool isDoubleStored(FieldType t) {
    switch (t) {
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::Bcd:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        return true;
    default:
        return false;
    }
}

int ResultTable::fieldIndex(QStringView name) const {
    for (std::size_t i = 0; i < m_cols.size(); ++i)
        if (m_cols[i].def.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int ResultTable::addField(FieldDef def) {
    Column col;
    col.def = std::move(def);
    for (int r = 0; r < m_rows; ++r)
        pushDefault(col), col.setNullFlag(col.count - 1, true);
    m_cols.push_back(std::move(col));
    return int(m_cols.size()) - 1;
}

qint64 ResultTable::intValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.null(std::size_t(r)))
        return 0;
    if (isIntegerStored(col.def.type))
        return col.ints[std::size_t(r)];
    if (isDoubleStored(col.def.type))
        return qint64(col.doubles[std::size_t(r)]);
    if (col.def.type == FieldType::String)
        return stringView(r, c).trimmed().toLongLong();
    return 0;
}

double ResultTable::doubleValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.null(std::size_t(r)))
        return 0;
    if (isDoubleStored(col.def.type))
        return col.doubles[std::size_t(r)];
    if (isIntegerStored(col.def.type))
        return double(col.ints[std::size_t(r)]);
    if (col.def.type == FieldType::String)
        return QLocale::c().toDouble(stringView(r, c).trimmed());
    return 0;
}

QString ResultTable::stringValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.null(std::size_t(r)))
        return {};
    if (col.def.type == FieldType::String)
        return stringView(r, c).toString();
    if (col.def.type == FieldType::Boolean)
        return col.ints[std::size_t(r)] ? QStringLiteral("True") : QStringLiteral("False");
    if (isIntegerStored(col.def.type))
        return QString::number(col.ints[std::size_t(r)]);
    if (isDoubleStored(col.def.type))
        return QString::number(col.doubles[std::size_t(r)], 'g', 15);
    return QString::fromLatin1(col.blobs[std::size_t(r)].toHex());
}

QStringView ResultTable::stringView(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.def.type != FieldType::String || col.null(std::size_t(r)))
        return {};
    const auto [start, len] = col.spans[std::size_t(r)];
    return QStringView(m_text.data() + start, qsizetype(len));
}

QByteArray ResultTable::blobValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.null(std::size_t(r)) || col.def.type != FieldType::Blob)
        return {};
    return col.blobs[std::size_t(r)];
}

QVariant ResultTable::value(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.null(std::size_t(r)))
        return {};
    switch (col.def.type) {
    case FieldType::Integer:
        return QVariant(int(col.ints[std::size_t(r)]));
    case FieldType::Int64:
        return QVariant(col.ints[std::size_t(r)]);
    case FieldType::Boolean:
        return QVariant(col.ints[std::size_t(r)] != 0);
    case FieldType::String:
        return QVariant(stringValue(r, c));
    case FieldType::Blob:
        return QVariant(col.blobs[std::size_t(r)]);
    default:
        return QVariant(col.doubles[std::size_t(r)]);
    }
}

void ResultTable::setValue(int r, int c, const QVariant &v) {
    Column &col = m_cols[std::size_t(c)];
    const auto i = std::size_t(r);
    if (!v.isValid() || v.isNull()) {
        col.setNullFlag(i, true);
        return;
    }
    col.setNullFlag(i, false);
    if (isIntegerStored(col.def.type))
        col.ints[i] = col.def.type == FieldType::Boolean ? qint64(v.toBool()) : v.toLongLong();
    else if (isDoubleStored(col.def.type))
        col.doubles[i] = v.toDouble();
    else if (col.def.type == FieldType::String)
        putText(col, i, v.toString());
    else
        col.blobs[i] = v.toByteArray();
}

void ResultTable::putText(Column &col, std::size_t row, QStringView v) {
    const std::size_t start = m_text.size();
    if (start + std::size_t(v.size()) > std::numeric_limits<std::uint32_t>::max())
        throw std::runtime_error("table text over 4 G characters");
    std::copy(v.utf16(), v.utf16() + v.size(), m_text.append(std::size_t(v.size())));
    const std::pair<std::uint32_t, std::uint32_t> span{std::uint32_t(start),
                                                       std::uint32_t(v.size())};
    if (row == col.spans.size())
        col.spans.push_back(span);
    else
        col.spans[row] = span;
}

void ResultTable::setNull(int r, int c) {
    m_cols[std::size_t(c)].setNullFlag(std::size_t(r), true);
}

void ResultTable::pushDefault(Column &col) {
    if (isIntegerStored(col.def.type))
        col.ints.push_back(0);
    else if (isDoubleStored(col.def.type))
        col.doubles.push_back(0);
    else if (col.def.type == FieldType::String)
        col.spans.emplace_back(0, 0);
    else
        col.blobs.emplace_back();
    col.pushFlag();
}

void ResultTable::reserve(int rows) {
    for (Column &col : m_cols) {
        const auto n = std::size_t(rows);
        if (isIntegerStored(col.def.type))
            col.ints.reserve(n);
        else if (isDoubleStored(col.def.type))
            col.doubles.reserve(n);
        else if (col.def.type == FieldType::String)
            col.spans.reserve(n);
        else
            col.blobs.reserve(n);
    }
}

void ResultTable::appendNull(int c) {
    Column &col = m_cols[std::size_t(c)];
    pushDefault(col);
    col.setNullFlag(col.count - 1, true);
}

void ResultTable::appendInt(int c, qint64 v) {
    Column &col = m_cols[std::size_t(c)];
    if (isIntegerStored(col.def.type)) {
        col.ints.push_back(col.def.type == FieldType::Boolean ? qint64(v != 0) : v);
        col.pushFlag();
    } else if (isDoubleStored(col.def.type)) {
        appendDouble(c, double(v));
    } else if (col.def.type == FieldType::String) {
        appendString(c, QString::number(v));
    } else {
        throw std::runtime_error("integer value in a blob column");
    }
}

void ResultTable::appendDouble(int c, double v) {
    Column &col = m_cols[std::size_t(c)];
    if (isDoubleStored(col.def.type)) {
        col.doubles.push_back(v);
        col.pushFlag();
    } else if (isIntegerStored(col.def.type)) {
        col.ints.push_back(qint64(v));
        col.pushFlag();
    } else if (col.def.type == FieldType::String) {
        appendString(c, QString::number(v, 'g', 15));
    } else {
        throw std::runtime_error("number in a blob column");
    }
}

ResultTable::Column &ResultTable::stringColumn(int c) {
    Column &col = m_cols[std::size_t(c)];
    if (col.def.type != FieldType::String)
        throw std::runtime_error("text value in column " + col.def.name.toStdString() +
                                 " of type " + fieldTypeName(col.def.type));
    return col;
}

void ResultTable::appendString(int c, QStringView v) {
    Column &col = stringColumn(c);
    putText(col, col.spans.size(), v);
    col.pushFlag();
}

void ResultTable::appendStringUtf8(int c, const char *utf8, std::size_t len) {
    Column &col = stringColumn(c);
    // Plain ASCII widens in place; anything else goes through the UTF-8 decoder.
    const std::size_t start = m_text.size();
    if (start + len > std::numeric_limits<std::uint32_t>::max())
        throw std::runtime_error("table text over 4 G characters");
    char16_t *dst = m_text.append(len);
    for (std::size_t i = 0; i < len; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0x80) {
            m_text.shrinkBy(len);
            putText(col, col.spans.size(), QString::fromUtf8(utf8, qsizetype(len)));
            col.pushFlag();
            return;
        }
        dst[i] = char16_t(b);
    }
    col.spans.emplace_back(std::uint32_t(start), std::uint32_t(len));
    col.pushFlag();
}

namespace {

// UTF-8 that a JSON parser has already validated, to UTF-16; returns the units written.
std::size_t widenValidUtf8(const char *src, std::size_t n, char16_t *dst) {
    const auto *s = reinterpret_cast<const unsigned char *>(src);
    std::size_t i = 0, k = 0;
    while (i < n) {
        const unsigned b = s[i];
        if (b < 0x80) {
            dst[k++] = char16_t(b);
            ++i;
        } else if ((b >> 5) == 0x6) {
            dst[k++] = char16_t(((b & 0x1F) << 6) | (s[i + 1] & 0x3F));
            i += 2;
        } else if ((b >> 4) == 0xE) {
            dst[k++] = char16_t(((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
            i += 3;
        } else {
            char32_t cp = ((b & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) |
                          ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
            cp -= 0x10000;
            dst[k++] = char16_t(0xD800 + (cp >> 10));
            dst[k++] = char16_t(0xDC00 + (cp & 0x3FF));
            i += 4;
        }
    }
    return k;
}

// Non-zero when some byte of w equals b.
std::uint64_t hasByte(std::uint64_t w, unsigned char b) {
    const std::uint64_t x = w ^ (0x0101010101010101ULL * b);
    return (x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL;
}

bool isAscii(const char *s, std::size_t n) {
    std::size_t i = 0;
    std::uint64_t acc = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s + i, 8);
        acc |= w;
    }
    for (; i < n; ++i)
        acc |= static_cast<unsigned char>(s[i]);
    return (acc & 0x8080808080808080ULL) == 0;
}

unsigned hex4(const char *h) {
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
        const char ch = h[i];
        v = v * 16 + unsigned(ch <= '9' ? ch - '0' : (ch | 0x20) - 'a' + 10);
    }
    return v;
}

// Resolves the escapes of a JSON string body (up to its closing quote) into UTF-8.
void unescapeJson(const char *p, std::string &out) {
    out.clear();
    for (; *p != '"'; ++p) {
        if (*p != '\\') {
            out.push_back(*p);
            continue;
        }
        ++p;
        switch (*p) {
        case 'b':
            out.push_back('\b');
            break;
        case 'f':
            out.push_back('\f');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case 't':
            out.push_back('\t');
            break;
        case 'u': {
            char32_t cp = hex4(p + 1);
            p += 4;
            if (cp >= 0xD800 && cp < 0xDC00 && p[1] == '\\' && p[2] == 'u') {
                const unsigned lo = hex4(p + 3);
                if (lo >= 0xDC00 && lo < 0xE000) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                    p += 6;
                }
            }
            if (cp >= 0xD800 && cp < 0xE000)
                cp = 0xFFFD; // a lone surrogate
            if (cp < 0x80) {
                out.push_back(char(cp));
            } else if (cp < 0x800) {
                out.push_back(char(0xC0 | (cp >> 6)));
                out.push_back(char(0x80 | (cp & 0x3F)));
            } else if (cp < 0x10000) {
                out.push_back(char(0xE0 | (cp >> 12)));
                out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
                out.push_back(char(0x80 | (cp & 0x3F)));
            } else {
                out.push_back(char(0xF0 | (cp >> 18)));
                out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
                out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
                out.push_back(char(0x80 | (cp & 0x3F)));
            }
            break;
        }
        default: // '"', '\\', '/'
            out.push_back(*p);
        }
    }
}

} // namespace

void ResultTable::appendJsonString(int c, const char *raw) {
    Column &col = m_cols[std::size_t(c)];
    Q_ASSERT(col.def.type == FieldType::String);
    // One pass over 8-byte words finds the end of a plain ASCII string; a backslash (escapes,
    // maybe an escaped quote) or a non-ASCII byte sends the rest to the general path. The
    // document is validated and padded, so a closing quote follows and reading ahead is safe.
    const char *p = raw;
    bool plain = true;
    for (;;) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        const std::uint64_t quote = hasByte(w, '"'), slash = hasByte(w, '\\');
        if ((quote | slash | (w & 0x8080808080808080ULL)) == 0) {
            p += 8;
            continue;
        }
        while (*p != '"' && *p != '\\' && static_cast<unsigned char>(*p) < 0x80)
            ++p;
        plain = *p == '"';
        break;
    }
    const char *src = raw;
    std::size_t n = 0;
    thread_local std::string unescaped;
    if (plain) {
        n = std::size_t(p - raw);
    } else {
        const auto *quote = static_cast<const char *>(rawmemchr(p, '"'));
        n = std::size_t(quote - raw);
        if (std::memchr(raw, '\\', n)) {
            unescapeJson(raw, unescaped);
            src = unescaped.data();
            n = unescaped.size();
        }
    }
    const std::size_t start = m_text.size();
    if (start + n > std::numeric_limits<std::uint32_t>::max())
        throw std::runtime_error("table text over 4 G characters");
    // UTF-16 never needs more units than UTF-8 has bytes.
    char16_t *dst = m_text.append(n);
    std::size_t written = n;
    if (plain || isAscii(src, n)) {
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = char16_t(static_cast<unsigned char>(src[i]));
    } else {
        written = widenValidUtf8(src, n, dst);
        m_text.shrinkBy(n - written);
    }
    col.spans.emplace_back(std::uint32_t(start), std::uint32_t(written));
    col.pushFlag();
}

void ResultTable::appendBlob(int c, QByteArray v) {
    Column &col = m_cols[std::size_t(c)];
    if (col.def.type != FieldType::Blob)
        throw std::runtime_error("blob value in a non-blob column");
    col.blobs.push_back(std::move(v));
    col.pushFlag();
}

void ResultTable::commitRow() {
    const auto next = std::size_t(m_rows) + 1;
    for (const Column &col : m_cols)
        if (col.size() != next)
            throw std::runtime_error("row " + std::to_string(m_rows) +
                                     " has no single value for column " +
                                     col.def.name.toStdString());
    ++m_rows;
}

void ResultTable::appendRow(const QVariantList &values) {
    if (values.size() != columnCount())
        throw std::runtime_error("row width differs from the column count");
    for (int c = 0; c < columnCount(); ++c) {
        const QVariant &v = values[c];
        if (!v.isValid() || v.isNull()) {
            appendNull(c);
            continue;
        }
        const FieldType t = m_cols[std::size_t(c)].def.type;
        if (isIntegerStored(t))
            appendInt(c, t == FieldType::Boolean ? qint64(v.toBool()) : v.toLongLong());
        else if (isDoubleStored(t))
            appendDouble(c, v.toDouble());
        else if (t == FieldType::String)
            appendString(c, v.toString());
        else
            appendBlob(c, v.toByteArray());
    }
    commitRow();
}

void ResultTable::clearRows() {
    for (Column &col : m_cols) {
        col.ints.clear();
        col.doubles.clear();
        col.spans.clear();
        col.blobs.clear();
        col.nulls.clear();
        col.count = 0;
    }
    m_text.clear();
    m_rows = 0;
}

void ResultTable::clear() {
    m_cols.clear();
    m_text.clear();
    m_rows = 0;
}

ResultTable::TextArena::TextArena(const TextArena &o) {
    reserve(o.m_size);
    if (o.m_size)
        std::memcpy(m_data, o.m_data, o.m_size * sizeof(char16_t));
    m_size = o.m_size;
}

ResultTable::TextArena::~TextArena() {
    std::free(m_data);
}

void ResultTable::TextArena::swap(TextArena &o) noexcept {
    std::swap(m_data, o.m_data);
    std::swap(m_size, o.m_size);
    std::swap(m_cap, o.m_cap);
}

void ResultTable::TextArena::reserve(std::size_t units) {
    if (units <= m_cap)
        return;
    auto *p = static_cast<char16_t *>(std::realloc(m_data, units * sizeof(char16_t)));
    if (!p)
        throw std::bad_alloc();
    m_data = p;
    m_cap = units;
}

char16_t *ResultTable::TextArena::append(std::size_t units) {
    if (m_size + units > m_cap)
        reserve(std::max(m_size + units, m_cap * 2 + 256));
    char16_t *at = m_data + m_size;
    m_size += units;
    return at;
}

void ResultTable::loadReader(ResultTable &&reader) {
    const int ours = columnCount();
    for (int c = 0; c < reader.columnCount(); ++c) {
        if (c < ours && m_cols[std::size_t(c)].def.name != reader.field(c).name)
            throw std::runtime_error(
                "Additional columns must be added after the prescribed columns.");
    }
    // Columns of the first load stay (with their display formats); further ones are added.
    std::vector<Column> cols = std::move(reader.m_cols);
    for (int c = 0; c < int(cols.size()) && c < ours; ++c)
        cols[std::size_t(c)].displayFormat = m_cols[std::size_t(c)].displayFormat;
    // Columns the reader lacks keep their definition and get null cells.
    for (int c = int(cols.size()); c < ours; ++c) {
        Column col;
        col.def = m_cols[std::size_t(c)].def;
        col.displayFormat = m_cols[std::size_t(c)].displayFormat;
        for (int r = 0; r < reader.m_rows; ++r)
            pushDefault(col), col.setNullFlag(col.count - 1, true);
        cols.push_back(std::move(col));
    }
    m_cols = std::move(cols);
    m_text = std::move(reader.m_text);
    m_rows = reader.m_rows;
    reader.m_rows = 0;
}

void tuneAllocatorForLargeResults() {
    // Fresh pages are expensive on our machines (~13 us per 4 KiB): serve big blocks from the
    // heap and keep up to 256 MiB of freed heap for the next load.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void SayiFormatla(ResultTable &table) {
    for (int c = 0; c < table.columnCount(); ++c)
        if (table.field(c).type == FieldType::Double)
            table.setDisplayFormat(c, QString::fromLatin1(kParaFormati));
}

} // namespace zenvo
