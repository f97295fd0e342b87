#include "widgets/gridmodel.h"

#include "widgets/collation.h"
#include "widgets/numberformat.h"
#include "widgets/statusicons.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string_view>

namespace zenvo {

struct GridModel::SortKey {
    enum class Type { None, Int, Double, Text } type = Type::None;
    std::vector<qint64> ints;
    std::vector<double> doubles;
    // The text of each row: read from the table's string column without a copy, or kept here
    // for a drawn column. Its full collation key is made on demand.
    const ResultTable *table = nullptr;
    int field = -1;
    std::vector<QString> texts;
    std::size_t rows = 0;
    QStringView text(std::size_t row) const {
        return table ? table->stringView(int(row), field) : QStringView(texts[row]);
    }
    std::vector<std::uint8_t> nulls;
    // Per row, an unsigned image of the value that orders like it: the number itself, or the
    // first 16 units of a text's collation key. Sorting these side by side keeps the sort in
    // cache; only rows whose texts share those units look at the full keys.
    std::vector<std::array<quint64, 4>> prefix;
    mutable std::vector<QString> fullKeys;
    const QString &fullKey(int row) const {
        QString &k = fullKeys[std::size_t(row)];
        if (k.isNull())
            k = collationKey(text(std::size_t(row)));
        return k;
    }
};

namespace {

bool isTextKind(CellKind k) {
    return k == CellKind::Text || k == CellKind::WrappedText || k == CellKind::Number ||
           k == CellKind::Money;
}

bool isIconKind(CellKind k) {
    return k == CellKind::StatusIcon || k == CellKind::FlagIcon || k == CellKind::PictureIcon ||
           k == CellKind::CheckBox || k == CellKind::Image;
}

std::u16string_view view(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.constData()), std::size_t(s.size())};
}

quint64 doubleBits(double v) {
    if (v == 0)
        v = 0; // one key for +0 and -0
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

QString dateText(double v, FieldType type) {
    const double days = std::floor(v);
    if (!std::isfinite(v) || std::fabs(days) > 3e6)
        return QString::number(v, 'g', 15);
    const QLocale locale;
    const QDate date = QDate(1899, 12, 30).addDays(qint64(days));
    const int ms = int(std::llround((v - days) * 86400000.0));
    const QTime time = QTime(0, 0).addMSecs(std::min(ms, 86399999));
    QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QStringLiteral("yyyy")))
        dateFormat.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    const QString timeText = time.toString(QStringLiteral("HH:mm:ss"));
    switch (type) {
    case FieldType::Time:
        return timeText;
    case FieldType::DateTime:
        return time == QTime(0, 0) ? locale.toString(date, dateFormat)
                                   : locale.toString(date, dateFormat) + u' ' + timeText;
    default:
        return locale.toString(date, dateFormat);
    }
}

const QString &yesText() {
    static const QString s = QStringLiteral("Evet");
    return s;
}
const QString &noText() {
    static const QString s = QStringLiteral("Hayır");
    return s;
}

} // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}
GridModel::~GridModel() = default;

void GridModel::setColumns(QList<GridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    m_filters.clear();
    m_sortColumn = -1;
    m_groupColumn = -1;
    resolveFields();
    invalidateCaches();
    rebuild(true);
    endResetModel();
    emit filtersChanged();
}

int GridModel::columnIndex(QStringView key) const {
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].key().compare(key, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void GridModel::setColumnCustomizable(int column, bool customizable) {
    if (column >= 0 && column < m_columns.size())
        m_columns[column].customizable = customizable;
}

void GridModel::resolveFields() {
    m_fieldCols.assign(std::size_t(m_columns.size()), -1);
    if (!m_table)
        return;
    for (int c = 0; c < m_columns.size(); ++c)
        if (!m_columns[c].field.isEmpty())
            m_fieldCols[std::size_t(c)] = m_table->fieldIndex(m_columns[c].field);
}

void GridModel::invalidateCaches() {
    m_sortKeys.clear();
    m_sortKeys.resize(std::size_t(m_columns.size()));
    m_rowOfTableValid = false;
}

void GridModel::setTable(const ResultTable *table) {
    beginResetModel();
    m_table = table;
    resolveFields();
    invalidateCaches();
    rebuild(true);
    endResetModel();
}

void GridModel::reload() {
    setTable(m_table);
}

void GridModel::tableRowChanged(int tableRow) {
    if (!m_table || tableRow < 0 || tableRow >= m_table->rowCount())
        return;
    invalidateCaches();
    computeSummaries();
    const int row = rowOfTableRow(tableRow);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    if (m_groupColumn >= 0 && !m_groups.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int GridModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    return m_groupColumn >= 0 ? int(m_visual.size()) : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

GridModel::RowKind GridModel::rowKind(int row) const {
    if (m_groupColumn >= 0 && row >= 0 && row < int(m_visual.size()))
        return m_visual[std::size_t(row)].kind;
    return RowKind::Data;
}

int GridModel::tableRow(int row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    if (m_groupColumn < 0)
        return m_rows[std::size_t(row)];
    const VisualRow &v = m_visual[std::size_t(row)];
    return v.kind == RowKind::Data ? v.index : -1;
}

int GridModel::rowOfTableRow(int tableRow) const {
    if (!m_table || tableRow < 0 || tableRow >= m_table->rowCount())
        return -1;
    if (!m_rowOfTableValid) {
        m_rowOfTable.assign(std::size_t(m_table->rowCount()), -1);
        const int n = rowCount();
        for (int row = 0; row < n; ++row) {
            const int t = this->tableRow(row);
            if (t >= 0)
                m_rowOfTable[std::size_t(t)] = row;
        }
        m_rowOfTableValid = true;
    }
    return m_rowOfTable[std::size_t(tableRow)];
}

int GridModel::fieldColumn(int column) const {
    return column >= 0 && column < int(m_fieldCols.size()) ? m_fieldCols[std::size_t(column)] : -1;
}

QString GridModel::formatNumber(int column, double value) const {
    const int fc = fieldColumn(column);
    if (fc < 0)
        return QString::number(value, 'g', 15);
    const FieldType type = m_table->field(fc).type;
    QString format = m_table->displayFormat(fc);
    if (format.isEmpty() && m_columns[column].kind == CellKind::Money)
        format = QString::fromLatin1(kParaFormati);
    if (!format.isEmpty())
        return formatFloat(format, value);
    if (isIntegerStored(type) && std::fabs(value) < 9e18)
        return QString::number(qint64(value));
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

QString GridModel::displayText(int tableRow, int column) const {
    if (!m_table || tableRow < 0 || tableRow >= m_table->rowCount() || column < 0 ||
        column >= m_columns.size())
        return {};
    const GridColumn &col = m_columns[column];
    if (col.kind == CellKind::Drawn)
        return col.text ? col.text(GridRow(m_table, tableRow)) : QString();
    const int fc = m_fieldCols[std::size_t(column)];
    if (fc < 0 || m_table->isNull(tableRow, fc))
        return {};
    switch (col.kind) {
    case CellKind::StatusIcon:
        return statusText(int(m_table->intValue(tableRow, fc))).trimmed();
    case CellKind::FlagIcon:
    case CellKind::PictureIcon:
    case CellKind::CheckBox:
        return m_table->intValue(tableRow, fc) == 1 ? yesText() : noText();
    case CellKind::Image:
        return {};
    default:
        break;
    }
    const FieldType type = m_table->field(fc).type;
    switch (type) {
    case FieldType::String:
        return m_table->stringValue(tableRow, fc);
    case FieldType::Boolean:
        return m_table->intValue(tableRow, fc) ? yesText() : noText();
    case FieldType::Blob:
        return {};
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        if (m_table->displayFormat(fc).isEmpty())
            return dateText(m_table->doubleValue(tableRow, fc), type);
        break;
    case FieldType::Integer:
    case FieldType::Int64:
        if (m_table->displayFormat(fc).isEmpty())
            return QString::number(m_table->intValue(tableRow, fc));
        break;
    default:
        break;
    }
    return formatNumber(column, m_table->doubleValue(tableRow, fc));
}

QVariant GridModel::rawValue(int tableRow, int column) const {
    if (!m_table || tableRow < 0 || tableRow >= m_table->rowCount() || column < 0 ||
        column >= m_columns.size())
        return {};
    if (m_columns[column].kind == CellKind::Drawn)
        return displayText(tableRow, column);
    const int fc = m_fieldCols[std::size_t(column)];
    return fc < 0 ? QVariant() : m_table->value(tableRow, fc);
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    const RowKind kind = rowKind(row);
    if (role == RowKindRole)
        return int(kind);
    if (kind != RowKind::Data) {
        const int group = m_visual[std::size_t(row)].index;
        switch (role) {
        case Qt::DisplayRole:
            return kind == RowKind::GroupHeader ? groupText(group)
                                                : groupSummaryText(group, column);
        case TableRowRole:
            return -1;
        case GroupRole:
            return group;
        case Qt::TextAlignmentRole:
            if (kind == RowKind::GroupHeader)
                return int(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        default:
            return {};
        }
    }
    const int t = tableRow(row);
    const GridColumn &col = m_columns[column];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(t, column);
    case RawValueRole:
        return rawValue(t, column);
    case TableRowRole:
        return t;
    case GroupRole:
        return -1;
    case Qt::CheckStateRole:
        if (col.kind == CellKind::CheckBox) {
            const int fc = m_fieldCols[std::size_t(column)];
            const bool on = fc >= 0 && !m_table->isNull(t, fc) && m_table->intValue(t, fc) == 1;
            return on ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::TextAlignmentRole: {
        Qt::Alignment h = col.alignment & Qt::AlignHorizontal_Mask;
        if (!h) {
            const int fc = m_fieldCols[std::size_t(column)];
            const bool numeric = fc >= 0 && (isIntegerStored(m_table->field(fc).type) ||
                                             isDoubleStored(m_table->field(fc).type));
            if (isIconKind(col.kind))
                h = Qt::AlignHCenter;
            else if (col.kind == CellKind::Number || col.kind == CellKind::Money ||
                     (numeric && isTextKind(col.kind)))
                h = Qt::AlignRight;
            else
                h = Qt::AlignLeft;
        }
        return int(h | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].headerText();
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// --- sorting -------------------------------------------------------------------------------

const GridModel::SortKey &GridModel::sortKey(int column) const {
    auto &slot = m_sortKeys[std::size_t(column)];
    if (slot)
        return *slot;
    slot = std::make_unique<SortKey>();
    SortKey &key = *slot;
    if (!m_table)
        return key;
    const int n = m_table->rowCount();
    const GridColumn &col = m_columns[column];
    const int fc = m_fieldCols[std::size_t(column)];
    if (col.kind == CellKind::Drawn) {
        if (!col.text)
            return key;
        key.type = SortKey::Type::Text;
        key.nulls.assign(std::size_t(n), 0);
        key.texts.reserve(std::size_t(n));
        for (int r = 0; r < n; ++r)
            key.texts.push_back(col.text(GridRow(m_table, r)));
        key.rows = key.texts.size();
        buildPrefixes(key);
        return key;
    }
    if (fc < 0)
        return key;
    const FieldType type = m_table->field(fc).type;
    key.nulls.resize(std::size_t(n));
    for (int r = 0; r < n; ++r)
        key.nulls[std::size_t(r)] = m_table->isNull(r, fc) ? 1 : 0;
    if (isIntegerStored(type)) {
        key.type = SortKey::Type::Int;
        key.ints.resize(std::size_t(n));
        for (int r = 0; r < n; ++r)
            key.ints[std::size_t(r)] = m_table->intValue(r, fc);
    } else if (isDoubleStored(type)) {
        key.type = SortKey::Type::Double;
        key.doubles.resize(std::size_t(n));
        for (int r = 0; r < n; ++r)
            key.doubles[std::size_t(r)] = m_table->doubleValue(r, fc);
    } else if (type == FieldType::String) {
        key.type = SortKey::Type::Text;
        key.table = m_table;
        key.field = fc;
        key.rows = std::size_t(n);
    }
    buildPrefixes(key);
    return key;
}

void GridModel::buildPrefixes(SortKey &key) {
    const std::size_t n = std::max({key.ints.size(), key.doubles.size(), key.rows});
    key.prefix.assign(n, {0, 0, 0, 0});
    if (key.type == SortKey::Type::Text)
        key.fullKeys.assign(n, QString());
    for (std::size_t r = 0; r < n; ++r) {
        auto &p = key.prefix[r];
        switch (key.type) {
        case SortKey::Type::Int:
            p[0] = quint64(key.ints[r]) ^ (quint64(1) << 63);
            break;
        case SortKey::Type::Double: {
            const quint64 bits = doubleBits(key.doubles[r]);
            p[0] = bits >> 63 ? ~bits : bits | (quint64(1) << 63);
            break;
        }
        case SortKey::Type::Text:
            p = collationPrefix(key.text(r));
            break;
        case SortKey::Type::None:
            break;
        }
    }
}

void GridModel::sortRows(const SortKey &key, bool descending, std::vector<int> &rows) const {
    struct Entry {
        std::array<quint64, 4> p;
        int row;
        int pos; // place before sorting: equal rows keep their order
        bool null;
    };
    std::vector<Entry> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto r = std::size_t(rows[i]);
        entries[i] = {key.prefix[r], rows[i], int(i), !key.nulls.empty() && key.nulls[r] != 0};
    }
    const bool text = key.type == SortKey::Type::Text;
    // Sign of x against y in the column's order (empty cells first), 0 when equal.
    auto order = [&](const Entry &x, const Entry &y) {
        if (x.null != y.null)
            return x.null ? -1 : 1;
        if (x.null)
            return 0;
        if (x.p != y.p)
            return x.p < y.p ? -1 : 1;
        if (!text)
            return 0;
        const int c = view(key.fullKey(x.row)).compare(view(key.fullKey(y.row)));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry &x, const Entry &y) {
        const int c = order(x, y);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return x.pos < y.pos;
    });
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = entries[i].row;
}

int GridModel::compareRows(const SortKey &key, int a, int b) const {
    const auto ia = std::size_t(a);
    const auto ib = std::size_t(b);
    if (!key.nulls.empty() && key.nulls[ia] != key.nulls[ib])
        return key.nulls[ia] ? -1 : 1;
    if (!key.nulls.empty() && key.nulls[ia])
        return 0;
    switch (key.type) {
    case SortKey::Type::Int:
        return key.ints[ia] < key.ints[ib] ? -1 : (key.ints[ib] < key.ints[ia] ? 1 : 0);
    case SortKey::Type::Double:
        return key.doubles[ia] < key.doubles[ib] ? -1 : (key.doubles[ib] < key.doubles[ia] ? 1 : 0);
    case SortKey::Type::Text: {
        const int c = view(key.fullKey(a)).compare(view(key.fullKey(b)));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case SortKey::Type::None:
        break;
    }
    return 0;
}

void GridModel::sort(int column, Qt::SortOrder order) {
    if (column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> tableRows;
    tableRows.reserve(std::size_t(before.size()));
    for (const QModelIndex &i : before)
        tableRows.push_back(tableRow(i.row()));

    m_sortColumn = column < 0 ? -1 : column;
    m_sortOrder = order;
    rebuild(true);

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row =
            tableRows[std::size_t(i)] >= 0 ? rowOfTableRow(tableRows[std::size_t(i)]) : -1;
        after.append(row >= 0 ? index(row, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// --- building the display order --------------------------------------------------------------

void GridModel::rebuild(bool resort) {
    m_rowOfTableValid = false;
    if (!m_table) {
        m_order.clear();
        m_rows.clear();
        m_groups.clear();
        m_visual.clear();
        computeSummaries();
        return;
    }
    if (resort) {
        const int n = m_table->rowCount();
        m_order.resize(std::size_t(n));
        std::iota(m_order.begin(), m_order.end(), 0);
        if (m_sortColumn >= 0) {
            const SortKey &key = sortKey(m_sortColumn);
            if (key.type != SortKey::Type::None)
                sortRows(key, m_sortOrder == Qt::DescendingOrder, m_order);
        }
        if (m_groupColumn >= 0) {
            const SortKey &key = sortKey(m_groupColumn);
            if (key.type != SortKey::Type::None)
                sortRows(key, false, m_order);
        }
    }
    applyFilters();
    buildGroups();
    buildVisual();
    computeSummaries();
}

std::vector<std::uint8_t> GridModel::passingRows(int exceptColumn) const {
    std::vector<std::uint8_t> pass(std::size_t(m_table ? m_table->rowCount() : 0), 1);
    for (auto it = m_filters.constBegin(); it != m_filters.constEnd(); ++it) {
        if (it.key() == exceptColumn)
            continue;
        const QStringList &list = it.value();
        markColumn(it.key(), QSet<QString>(list.begin(), list.end()), pass);
    }
    return pass;
}

void GridModel::markColumn(int column, const QSet<QString> &texts,
                           std::vector<std::uint8_t> &pass) const {
    const int n = m_table->rowCount();
    const GridColumn &col = m_columns[column];
    const int fc = m_fieldCols[std::size_t(column)];
    const bool blankAllowed = texts.contains(QString());
    if (col.kind == CellKind::Drawn || fc < 0) {
        for (int r = 0; r < n; ++r)
            if (pass[std::size_t(r)] && !texts.contains(displayText(r, column)))
                pass[std::size_t(r)] = 0;
        return;
    }
    const FieldType type = m_table->field(fc).type;
    // Display text depends on the value alone: decide once per distinct value.
    auto decide = [&](auto &memo, auto keyOf) {
        for (int r = 0; r < n; ++r) {
            auto &p = pass[std::size_t(r)];
            if (!p)
                continue;
            if (m_table->isNull(r, fc)) {
                p = blankAllowed ? 1 : 0;
                continue;
            }
            const auto k = keyOf(r);
            auto it = memo.constFind(k);
            if (it == memo.constEnd())
                it = memo.insert(k, texts.contains(displayText(r, column)));
            p = *it ? 1 : 0;
        }
    };
    if (type == FieldType::String && isTextKind(col.kind)) {
        for (int r = 0; r < n; ++r) {
            auto &p = pass[std::size_t(r)];
            if (p)
                p = m_table->isNull(r, fc) ? blankAllowed
                                           : texts.contains(m_table->stringValue(r, fc));
        }
    } else if (isIntegerStored(type)) {
        QHash<qint64, bool> memo;
        decide(memo, [&](int r) { return m_table->intValue(r, fc); });
    } else if (isDoubleStored(type)) {
        QHash<quint64, bool> memo;
        decide(memo, [&](int r) { return doubleBits(m_table->doubleValue(r, fc)); });
    } else {
        QHash<QString, bool> memo;
        decide(memo, [&](int r) { return m_table->stringValue(r, fc); });
    }
}

void GridModel::applyFilters() {
    m_rows.clear();
    if (m_filters.isEmpty()) {
        m_rows = m_order;
        return;
    }
    const std::vector<std::uint8_t> pass = passingRows(-1);
    m_rows.reserve(m_order.size());
    for (int r : m_order)
        if (pass[std::size_t(r)])
            m_rows.push_back(r);
}

void GridModel::buildGroups() {
    m_groups.clear();
    if (m_groupColumn < 0 || m_rows.empty())
        return;
    const SortKey &key = sortKey(m_groupColumn);
    const QString caption = m_columns[m_groupColumn].caption.isEmpty()
                                ? m_columns[m_groupColumn].field
                                : m_columns[m_groupColumn].caption;
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const int r = m_rows[std::size_t(i)];
        if (m_groups.empty() ||
            compareRows(key, m_rows[std::size_t(m_groups.back().first)], r) != 0) {
            Group g;
            g.first = i;
            const QString value = displayText(r, m_groupColumn);
            g.value = value;
            g.text = caption + QStringLiteral(": ") +
                     (value.isEmpty() ? QStringLiteral("(Boş)") : value);
            g.expanded = !m_collapsed.contains(value);
            m_groups.push_back(g);
        }
        ++m_groups.back().count;
    }
}

void GridModel::buildVisual() {
    m_visual.clear();
    if (m_groupColumn < 0)
        return;
    m_visual.reserve(m_rows.size() + 2 * m_groups.size());
    for (int g = 0; g < int(m_groups.size()); ++g) {
        const Group &group = m_groups[std::size_t(g)];
        m_visual.push_back({RowKind::GroupHeader, g});
        if (group.expanded)
            for (int i = group.first; i < group.first + group.count; ++i)
                m_visual.push_back({RowKind::Data, m_rows[std::size_t(i)]});
        m_visual.push_back({RowKind::GroupFooter, g});
    }
}

// --- filters -------------------------------------------------------------------------------

QStringList GridModel::filterValues(int column) const {
    if (!m_table || column < 0 || column >= columnCount())
        return {};
    const std::vector<std::uint8_t> pass = passingRows(column);
    const int n = m_table->rowCount();
    const GridColumn &col = m_columns[column];
    const int fc = m_fieldCols[std::size_t(column)];
    bool blank = false;
    QStringList out;
    auto addUnique = [&](const std::vector<int> &rowsInOrder) {
        QSet<QString> seen;
        for (int r : rowsInOrder) {
            const QString text = displayText(r, column);
            if (text.isEmpty()) {
                blank = true;
                continue;
            }
            if (!seen.contains(text)) {
                seen.insert(text);
                out.append(text);
            }
        }
    };
    if (fc >= 0 && col.kind != CellKind::Drawn &&
        (isIntegerStored(m_table->field(fc).type) || isDoubleStored(m_table->field(fc).type))) {
        // one row per distinct value, in value order
        QHash<quint64, int> firstRow;
        const bool ints = isIntegerStored(m_table->field(fc).type);
        for (int r = 0; r < n; ++r) {
            if (!pass[std::size_t(r)])
                continue;
            if (m_table->isNull(r, fc)) {
                blank = true;
                continue;
            }
            const quint64 k =
                ints ? quint64(m_table->intValue(r, fc)) : doubleBits(m_table->doubleValue(r, fc));
            if (!firstRow.contains(k))
                firstRow.insert(k, r);
        }
        std::vector<int> rows(firstRow.cbegin(), firstRow.cend());
        std::sort(rows.begin(), rows.end(), [&](int a, int b) {
            return ints ? m_table->intValue(a, fc) < m_table->intValue(b, fc)
                        : m_table->doubleValue(a, fc) < m_table->doubleValue(b, fc);
        });
        addUnique(rows);
    } else {
        QHash<QString, int> firstRow;
        for (int r = 0; r < n; ++r) {
            if (!pass[std::size_t(r)])
                continue;
            const QString text = displayText(r, column);
            if (text.isEmpty())
                blank = true;
            else if (!firstRow.contains(text))
                firstRow.insert(text, r);
        }
        std::vector<std::pair<QString, QString>> keyed;
        keyed.reserve(std::size_t(firstRow.size()));
        for (auto it = firstRow.cbegin(); it != firstRow.cend(); ++it)
            keyed.emplace_back(collationKey(it.key()), it.key());
        std::sort(keyed.begin(), keyed.end(),
                  [](const auto &a, const auto &b) { return view(a.first) < view(b.first); });
        for (const auto &kv : keyed)
            out.append(kv.second);
    }
    if (blank)
        out.prepend(QString());
    return out;
}

void GridModel::setFilter(int column, const QStringList &texts) {
    if (column < 0 || column >= columnCount())
        return;
    beginResetModel();
    m_filters.insert(column, texts);
    rebuild(false);
    endResetModel();
    emit filtersChanged();
}

void GridModel::clearFilter(int column) {
    if (!m_filters.contains(column))
        return;
    beginResetModel();
    m_filters.remove(column);
    rebuild(false);
    endResetModel();
    emit filtersChanged();
}

void GridModel::clearFilters() {
    if (m_filters.isEmpty())
        return;
    beginResetModel();
    m_filters.clear();
    rebuild(false);
    endResetModel();
    emit filtersChanged();
}

// --- summaries -------------------------------------------------------------------------------

void GridModel::setSummaries(QList<GridSummary> summaries) {
    m_summaries = std::move(summaries);
    computeSummaries();
}

void GridModel::setGroupSummaries(QList<GridSummary> summaries) {
    m_groupSummaries = std::move(summaries);
    computeSummaries();
    if (m_groupColumn >= 0 && rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString GridModel::summaryValue(const GridSummary &s, int column, int first, int count) const {
    if (s.kind == SummaryKind::Count)
        return s.format.arg(count);
    const int fc = fieldColumn(column);
    if (fc < 0 || !m_table)
        return {};
    const FieldType type = m_table->field(fc).type;
    if (!isIntegerStored(type) && !isDoubleStored(type))
        return {};
    // Neumaier summation: long money columns add up to what a person adding them would get.
    double sum = 0, compensation = 0, lo = 0, hi = 0;
    int n = 0;
    for (int i = first; i < first + count; ++i) {
        const int r = m_rows[std::size_t(i)];
        if (m_table->isNull(r, fc))
            continue;
        const double v = m_table->doubleValue(r, fc);
        const double t = sum + v;
        compensation += std::fabs(sum) >= std::fabs(v) ? (sum - t) + v : (v - t) + sum;
        sum = t;
        lo = n == 0 ? v : std::min(lo, v);
        hi = n == 0 ? v : std::max(hi, v);
        ++n;
    }
    sum += compensation;
    double value = 0;
    switch (s.kind) {
    case SummaryKind::Sum:
        value = sum;
        break;
    case SummaryKind::Min:
        value = lo;
        break;
    case SummaryKind::Max:
        value = hi;
        break;
    case SummaryKind::Average:
        value = n ? sum / n : 0;
        break;
    case SummaryKind::Count:
        break;
    }
    if (n == 0 && s.kind != SummaryKind::Sum)
        return {};
    return s.format.arg(formatNumber(column, value));
}

void GridModel::computeSummaries() {
    m_footerTexts.clear();
    for (const GridSummary &s : std::as_const(m_summaries)) {
        const int c = columnIndex(s.column);
        if (c >= 0)
            m_footerTexts.insert(c, summaryValue(s, c, 0, int(m_rows.size())));
    }
    m_groupFooterTexts.assign(m_groups.size(), {});
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        for (const GridSummary &s : std::as_const(m_groupSummaries)) {
            const int c = columnIndex(s.column);
            if (c >= 0)
                m_groupFooterTexts[g].insert(
                    c, summaryValue(s, c, m_groups[g].first, m_groups[g].count));
        }
    }
    emit summariesChanged();
}

QString GridModel::summaryText(int column) const {
    return m_footerTexts.value(column);
}

// --- grouping --------------------------------------------------------------------------------

void GridModel::setGroupColumn(int column) {
    if (column >= columnCount())
        return;
    beginResetModel();
    m_groupColumn = column < 0 ? -1 : column;
    m_collapsed.clear();
    rebuild(true);
    endResetModel();
}

QString GridModel::groupText(int group) const {
    if (group < 0 || group >= groupCount())
        return {};
    const Group &g = m_groups[std::size_t(group)];
    return g.text + QStringLiteral(" (%1)").arg(g.count);
}

int GridModel::groupRowCount(int group) const {
    return group >= 0 && group < groupCount() ? m_groups[std::size_t(group)].count : 0;
}

QString GridModel::groupSummaryText(int group, int column) const {
    if (group < 0 || group >= int(m_groupFooterTexts.size()))
        return {};
    return m_groupFooterTexts[std::size_t(group)].value(column);
}

bool GridModel::isGroupExpanded(int group) const {
    return group >= 0 && group < groupCount() && m_groups[std::size_t(group)].expanded;
}

int GridModel::groupOfTableRow(int tableRow) const {
    for (int g = 0; g < groupCount(); ++g) {
        const Group &group = m_groups[std::size_t(g)];
        for (int i = group.first; i < group.first + group.count; ++i)
            if (m_rows[std::size_t(i)] == tableRow)
                return g;
    }
    return -1;
}

void GridModel::setGroupExpanded(int group, bool expanded) {
    if (group < 0 || group >= groupCount() || m_groups[std::size_t(group)].expanded == expanded)
        return;
    Group &g = m_groups[std::size_t(group)];
    int header = 0;
    while (header < int(m_visual.size()) &&
           !(m_visual[std::size_t(header)].kind == RowKind::GroupHeader &&
             m_visual[std::size_t(header)].index == group))
        ++header;
    if (expanded)
        m_collapsed.remove(g.value);
    else
        m_collapsed.insert(g.value);
    if (g.count == 0) {
        g.expanded = expanded;
        return;
    }
    if (expanded)
        beginInsertRows({}, header + 1, header + g.count);
    else
        beginRemoveRows({}, header + 1, header + g.count);
    g.expanded = expanded;
    buildVisual();
    m_rowOfTableValid = false;
    if (expanded)
        endInsertRows();
    else
        endRemoveRows();
}

void GridModel::expandAll() {
    beginResetModel();
    m_collapsed.clear();
    for (Group &g : m_groups)
        g.expanded = true;
    buildVisual();
    m_rowOfTableValid = false;
    endResetModel();
}

void GridModel::collapseAll() {
    beginResetModel();
    for (Group &g : m_groups) {
        g.expanded = false;
        m_collapsed.insert(g.value);
    }
    buildVisual();
    m_rowOfTableValid = false;
    endResetModel();
}

} // namespace zenvo
