#pragma once

#include "widgets/gridcolumn.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

namespace zenvo {

// The grid's model over a result table: one model column per declared grid column, rows in
// display order. Filtering, sorting and grouping work on a vector of table row indexes and on
// the table's columns directly. Display text is under Qt::DisplayRole, the table value under
// RawValueRole.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        RawValueRole = Qt::UserRole + 1,
        TableRowRole, // table row of a data row, -1 for group rows
        RowKindRole,  // RowKind
        GroupRole,    // group index of a group header or footer row, -1 otherwise
    };
    enum class RowKind { Data, GroupHeader, GroupFooter };

    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    void setColumns(QList<GridColumn> columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    int columnIndex(QStringView key) const; // -1 when no column has that key
    void setColumnCustomizable(int column, bool customizable);

    // nullptr detaches: no rows, and the table is not read until a table is set again.
    void setTable(const ResultTable *table);
    const ResultTable *table() const { return m_table; }
    void reload();                      // the table's rows changed
    void tableRowChanged(int tableRow); // values of one row changed

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    RowKind rowKind(int row) const;
    int tableRow(int row) const;           // -1 for group rows
    int rowOfTableRow(int tableRow) const; // -1 when filtered out or in a collapsed group
    // Rows passing the filters, in display order, whatever the groups' expansion.
    const std::vector<int> &dataRows() const { return m_rows; }

    int fieldColumn(int column) const; // the table column a grid column reads, -1 for none
    QString displayText(int tableRow, int column) const;
    QVariant rawValue(int tableRow, int column) const;

    // Header filters: the distinct display texts of a column (over the rows the other filters
    // let through; "" stands for empty cells) and the texts a filter lets through.
    QStringList filterValues(int column) const;
    void setFilter(int column, const QStringList &texts);
    QStringList filter(int column) const { return m_filters.value(column); }
    bool isFiltered(int column) const { return m_filters.contains(column); }
    bool hasFilters() const { return !m_filters.isEmpty(); }
    void clearFilter(int column);
    void clearFilters();

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override; // -1: table order
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    void setSummaries(QList<GridSummary> summaries);
    const QList<GridSummary> &summaries() const { return m_summaries; }
    QString summaryText(int column) const; // footer text under a column, over all filtered rows

    // Grouping by one column, ascending, each group followed by its footer row.
    void setGroupColumn(int column); // -1: no grouping
    int groupColumn() const { return m_groupColumn; }
    void setGroupSummaries(QList<GridSummary> summaries);
    int groupCount() const { return int(m_groups.size()); }
    QString groupText(int group) const;
    int groupRowCount(int group) const;
    QString groupSummaryText(int group, int column) const;
    bool isGroupExpanded(int group) const;
    void setGroupExpanded(int group, bool expanded);
    int groupOfTableRow(int tableRow) const;
    void expandAll();
    void collapseAll();

signals:
    void summariesChanged();
    void filtersChanged();

private:
    struct SortKey;
    struct Group {
        QString value; // display text of the grouping column
        QString text;
        int first = 0; // into m_rows
        int count = 0;
        bool expanded = true;
    };
    struct VisualRow {
        RowKind kind;
        int index; // table row, or group index
    };

    void resolveFields();
    void rebuild(bool resort);
    void applyFilters();
    void buildGroups();
    void buildVisual();
    void computeSummaries();
    std::vector<std::uint8_t> passingRows(int exceptColumn) const;
    void markColumn(int column, const QSet<QString> &texts, std::vector<std::uint8_t> &pass) const;
    const SortKey &sortKey(int column) const;
    static void buildPrefixes(SortKey &key);
    void sortRows(const SortKey &key, bool descending, std::vector<int> &rows) const;
    int compareRows(const SortKey &key, int a, int b) const;
    QString summaryValue(const GridSummary &s, int column, int first, int count) const;
    QString formatNumber(int column, double value) const;
    void invalidateCaches();

    QList<GridColumn> m_columns;
    std::vector<int> m_fieldCols;
    const ResultTable *m_table = nullptr;

    std::vector<int> m_order; // all table rows, sorted
    std::vector<int> m_rows;  // filtered
    std::vector<Group> m_groups;
    std::vector<VisualRow> m_visual; // only when grouped
    QSet<QString> m_collapsed;       // texts of collapsed groups

    QHash<int, QStringList> m_filters;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_groupColumn = -1;

    QList<GridSummary> m_summaries;
    QList<GridSummary> m_groupSummaries;
    QHash<int, QString> m_footerTexts;
    std::vector<QHash<int, QString>> m_groupFooterTexts;

    mutable std::vector<std::unique_ptr<SortKey>> m_sortKeys; // per column, built on demand
    mutable std::vector<int> m_rowOfTable;                    // inverse of the display order
    mutable bool m_rowOfTableValid = false;
};

} // namespace zenvo
