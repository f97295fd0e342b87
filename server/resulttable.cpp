#include "server/resulttable.h"

#include <QLocale>

#include <array>
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
        pushDefault(col), col.nulls.back() = 1;
    m_cols.push_back(std::move(col));
    return int(m_cols.size()) - 1;
}

qint64 ResultTable::intValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.nulls[std::size_t(r)])
        return 0;
    if (isIntegerStored(col.def.type))
        return col.ints[std::size_t(r)];
    if (isDoubleStored(col.def.type))
        return qint64(col.doubles[std::size_t(r)]);
    if (col.def.type == FieldType::String)
        return col.strings[std::size_t(r)].trimmed().toLongLong();
    return 0;
}

double ResultTable::doubleValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.nulls[std::size_t(r)])
        return 0;
    if (isDoubleStored(col.def.type))
        return col.doubles[std::size_t(r)];
    if (isIntegerStored(col.def.type))
        return double(col.ints[std::size_t(r)]);
    if (col.def.type == FieldType::String)
        return QLocale::c().toDouble(col.strings[std::size_t(r)].trimmed());
    return 0;
}

QString ResultTable::stringValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.nulls[std::size_t(r)])
        return {};
    if (col.def.type == FieldType::String)
        return col.strings[std::size_t(r)];
    if (col.def.type == FieldType::Boolean)
        return col.ints[std::size_t(r)] ? QStringLiteral("True") : QStringLiteral("False");
    if (isIntegerStored(col.def.type))
        return QString::number(col.ints[std::size_t(r)]);
    if (isDoubleStored(col.def.type))
        return QString::number(col.doubles[std::size_t(r)], 'g', 15);
    return QString::fromLatin1(col.blobs[std::size_t(r)].toHex());
}

QByteArray ResultTable::blobValue(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.nulls[std::size_t(r)] || col.def.type != FieldType::Blob)
        return {};
    return col.blobs[std::size_t(r)];
}

QVariant ResultTable::value(int r, int c) const {
    const Column &col = m_cols[std::size_t(c)];
    if (col.nulls[std::size_t(r)])
        return {};
    switch (col.def.type) {
    case FieldType::Integer:
        return QVariant(int(col.ints[std::size_t(r)]));
    case FieldType::Int64:
        return QVariant(col.ints[std::size_t(r)]);
    case FieldType::Boolean:
        return QVariant(col.ints[std::size_t(r)] != 0);
    case FieldType::String:
        return QVariant(col.strings[std::size_t(r)]);
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
        col.nulls[i] = 1;
        return;
    }
    col.nulls[i] = 0;
    if (isIntegerStored(col.def.type))
        col.ints[i] = col.def.type == FieldType::Boolean ? qint64(v.toBool()) : v.toLongLong();
    else if (isDoubleStored(col.def.type))
        col.doubles[i] = v.toDouble();
    else if (col.def.type == FieldType::String)
        col.strings[i] = v.toString();
    else
        col.blobs[i] = v.toByteArray();
}

void ResultTable::setNull(int r, int c) {
    m_cols[std::size_t(c)].nulls[std::size_t(r)] = 1;
}

void ResultTable::pushDefault(Column &col) {
    if (isIntegerStored(col.def.type))
        col.ints.push_back(0);
    else if (isDoubleStored(col.def.type))
        col.doubles.push_back(0);
    else if (col.def.type == FieldType::String)
        col.strings.emplace_back();
    else
        col.blobs.emplace_back();
    col.nulls.push_back(0);
}

void ResultTable::reserve(int rows) {
    for (Column &col : m_cols) {
        const auto n = std::size_t(rows);
        col.nulls.reserve(n);
        if (isIntegerStored(col.def.type))
            col.ints.reserve(n);
        else if (isDoubleStored(col.def.type))
            col.doubles.reserve(n);
        else if (col.def.type == FieldType::String)
            col.strings.reserve(n);
        else
            col.blobs.reserve(n);
    }
}

void ResultTable::appendNull(int c) {
    Column &col = m_cols[std::size_t(c)];
    pushDefault(col);
    col.nulls.back() = 1;
}

void ResultTable::appendInt(int c, qint64 v) {
    Column &col = m_cols[std::size_t(c)];
    if (isIntegerStored(col.def.type)) {
        col.ints.push_back(col.def.type == FieldType::Boolean ? qint64(v != 0) : v);
        col.nulls.push_back(0);
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
        col.nulls.push_back(0);
    } else if (isIntegerStored(col.def.type)) {
        col.ints.push_back(qint64(v));
        col.nulls.push_back(0);
    } else if (col.def.type == FieldType::String) {
        appendString(c, QString::number(v, 'g', 15));
    } else {
        throw std::runtime_error("number in a blob column");
    }
}

void ResultTable::appendString(int c, QString v) {
    Column &col = m_cols[std::size_t(c)];
    if (col.def.type != FieldType::String)
        throw std::runtime_error("text value in column " + col.def.name.toStdString() +
                                 " of type " + fieldTypeName(col.def.type));
    col.strings.push_back(std::move(v));
    col.nulls.push_back(0);
}

void ResultTable::appendBlob(int c, QByteArray v) {
    Column &col = m_cols[std::size_t(c)];
    if (col.def.type != FieldType::Blob)
        throw std::runtime_error("blob value in a non-blob column");
    col.blobs.push_back(std::move(v));
    col.nulls.push_back(0);
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
        col.strings.clear();
        col.blobs.clear();
        col.nulls.clear();
    }
    m_rows = 0;
}

void ResultTable::clear() {
    m_cols.clear();
    m_rows = 0;
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
            pushDefault(col), col.nulls.back() = 1;
        cols.push_back(std::move(col));
    }
    m_cols = std::move(cols);
    m_rows = reader.m_rows;
    reader.m_rows = 0;
}

void SayiFormatla(ResultTable &table) {
    for (int c = 0; c < table.columnCount(); ++c)
        if (table.field(c).type == FieldType::Double)
            table.setDisplayFormat(c, QString::fromLatin1(kParaFormati));
}

} // namespace zenvo
