#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zenvo {

// Column kinds a result carries on the wire.
enum class FieldType : std::uint8_t {
    Integer,
    Int64,
    Double,
    Currency,
    Bcd,
    Boolean,
    String,
    Date,
    Time,
    DateTime,
    Blob,
};

const char *fieldTypeName(FieldType t);
std::optional<FieldType> fieldTypeFromName(std::string_view name);
// Integer-like kinds keep their values as qint64, the rest of the numbers as double.
bool isIntegerStored(FieldType t);
bool isDoubleStored(FieldType t);

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0; // declared width of a string column
};

// The tabular result of a remote method: named, typed columns stored column by column.
// Value semantics; not thread-safe (a table is filled by one thread, then handed over).
class ResultTable final {
public:
    ResultTable() = default;

    // Schema
    int columnCount() const { return int(m_cols.size()); }
    const FieldDef &field(int c) const { return m_cols[std::size_t(c)].def; }
    int fieldIndex(QStringView name) const; // -1 when the table has no such column
    int addField(FieldDef def);
    const QString &displayFormat(int c) const { return m_cols[std::size_t(c)].displayFormat; }
    void setDisplayFormat(int c, const QString &format) {
        m_cols[std::size_t(c)].displayFormat = format;
    }

    // Rows
    int rowCount() const { return m_rows; }
    bool isNull(int r, int c) const { return m_cols[std::size_t(c)].null(std::size_t(r)); }
    qint64 intValue(int r, int c) const;     // any numeric or boolean column; 0 for null
    double doubleValue(int r, int c) const;  // any numeric or boolean column; 0 for null
    QString stringValue(int r, int c) const; // text form of any column; empty for null
    // A string column's text without a copy; valid until the table changes. Empty for null
    // cells and for other column kinds.
    QStringView stringView(int r, int c) const;
    QByteArray blobValue(int r, int c) const; // blob column bytes
    QVariant value(int r, int c) const;       // null QVariant for a null cell
    void setValue(int r, int c, const QVariant &v);
    void setNull(int r, int c);

    // Filling: append one value per column, then commitRow(). Decoders use these directly.
    void reserve(int rows);
    void appendNull(int c);
    void appendInt(int c, qint64 v);
    void appendDouble(int c, double v);
    void appendString(int c, QStringView v);
    void appendStringUtf8(int c, const char *utf8, std::size_t len);
    // Decoder fast paths, for columns whose kind the caller has checked: integer-stored,
    // double-stored and string columns respectively.
    void appendIntFast(int c, qint64 v) {
        Column &col = m_cols[std::size_t(c)];
        col.ints.push_back(v);
        col.pushFlag();
    }
    void appendDoubleFast(int c, double v) {
        Column &col = m_cols[std::size_t(c)];
        col.doubles.push_back(v);
        col.pushFlag();
    }
    // The JSON string whose text starts at `raw` (just after its opening quote) in a validated
    // document: escapes are resolved, the closing quote ends it.
    void appendJsonString(int c, const char *raw);
    // Room for this many UTF-16 units of text before the arena grows.
    void reserveText(std::size_t units) { m_text.reserve(units); }
    void appendBlob(int c, QByteArray v);
    // Closes the row; throws std::runtime_error when a column got no value or two.
    void commitRow();
    void appendRow(const QVariantList &values); // convenience for tests and small tables
    // For a decoder that has itself counted exactly one value per column.
    void commitCountedRow() { ++m_rows; }

    void clearRows();
    void clear(); // columns and rows

    // Copy a table reader: keeps the columns of the first load (further ones may follow),
    // fails with "Additional columns must be added after the prescribed columns." when a
    // column at a position has another name. Rows are replaced.
    void loadReader(ResultTable &&reader);
    // A data packet replaces columns and rows in one step.
    void loadPacket(ResultTable &&packet) { *this = std::move(packet); }

private:
    struct Column {
        FieldDef def;
        QString displayFormat;
        std::vector<qint64> ints;
        std::vector<double> doubles;
        // String cells: (start, length) in the table's text arena.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
        std::vector<QByteArray> blobs;
        std::size_t count = 0;
        std::vector<std::uint8_t> nulls; // stays empty while the column has no null
        std::size_t size() const { return count; }
        bool null(std::size_t r) const { return !nulls.empty() && nulls[r]; }
        void setNullFlag(std::size_t r, bool v) {
            if (nulls.empty()) {
                if (!v)
                    return;
                nulls.assign(count, 0);
            }
            nulls[r] = v;
        }
        void pushFlag() { // a value was appended
            if (!nulls.empty())
                nulls.push_back(0);
            ++count;
        }
    };
    // UTF-16 text of every string cell of the table, back to back. An edited cell appends its
    // new text, so no cell ever moves.
    class TextArena final {
    public:
        TextArena() = default;
        TextArena(const TextArena &o);
        TextArena(TextArena &&o) noexcept { swap(o); }
        TextArena &operator=(TextArena o) noexcept {
            swap(o);
            return *this;
        }
        ~TextArena();
        void swap(TextArena &o) noexcept;
        const char16_t *data() const { return m_data; }
        std::size_t size() const { return m_size; }
        void reserve(std::size_t units);
        char16_t *append(std::size_t units); // room for `units` more, uninitialised
        void shrinkBy(std::size_t units) { m_size -= units; }
        void clear() { m_size = 0; }

    private:
        char16_t *m_data = nullptr;
        std::size_t m_size = 0, m_cap = 0;
    };

    static void pushDefault(Column &col);
    void putText(Column &col, std::size_t row, QStringView v);
    Column &stringColumn(int c);
    std::vector<Column> m_cols;
    TextArena m_text;
    int m_rows = 0;
};

// Keeps freed memory of large results in the process instead of returning it to the system
// at once, so that loading the next result does not fault in fresh pages. Call once at start.
void tuneAllocatorForLargeResults();

// The money display format every plain double column of a loaded result gets.
inline constexpr const char *kParaFormati = "#,###,##0.00";
void SayiFormatla(ResultTable &table);

} // namespace zenvo
