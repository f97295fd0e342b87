#pragma once

#include "widgets/gridcolumn.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QWidget>

class QMenu;
class QTableView;

namespace zenvo {

class GridDelegate;
class GridFooter;
class GridHeader;
class GridIndicator;
class GridModel;
class GridView;

// The program's list view: a table view over a result table, declared by a column list, with
// header filters, sorting, incremental search, a column chooser, footer summaries, grouping,
// proportional or fitted column widths and legacy Excel export. Rows are reported by their
// index in the table, whatever the grid's sort and filter.
//
//   grid->setColumns({GridColumn(u"DURUM"_s, u"Durum"_s, 1, CellKind::StatusIcon),
//                     GridColumn(u"BARKOD"_s, u"Barkod"_s, 2),
//                     GridColumn(u"STOK_STOKNO"_s).hidden().fixed()});
//   grid->setFooterSummaries({{SummaryKind::Count, u"BARKOD"_s}});
//   grid->setTable(&stok);
//   connect(grid, &Grid::rowDoubleClicked, this, [this](int row) { ... stok.intValue(row, c) ...
//   });
class Grid final : public QWidget {
    Q_OBJECT
public:
    explicit Grid(QWidget *parent = nullptr);
    ~Grid() override;

    // Columns, addressed by key (the field name, or the column's own name).
    void setColumns(QList<GridColumn> columns);
    const QList<GridColumn> &columns() const;
    int columnIndex(QStringView key) const; // -1 when unknown
    void setColumnVisible(QStringView key, bool visible);
    bool isColumnVisible(QStringView key) const;
    void setColumnCustomizable(QStringView key, bool customizable);
    bool isColumnCustomizable(QStringView key) const;
    void setColumnWidth(QStringView key, int width);
    int columnWidth(QStringView key) const; // current width; 0 while hidden
    QStringList visibleColumns() const;     // keys, left to right

    // The table: attached when set. detach() stops every read of the table and suspends
    // painting while a background load refills it; attach() shows it again.
    void setTable(const ResultTable *table);
    const ResultTable *table() const { return m_table; }
    void detach();
    void attach();
    bool isAttached() const { return m_attached; }
    void reload();                 // the table's rows were replaced or reordered
    void refreshRow(int tableRow); // values of one row changed

    void setLook(const GridLook &look);
    const GridLook &look() const { return m_look; }
    void setRowHeight(int height);
    void setSortingEnabled(bool enabled);
    bool isSortingEnabled() const { return m_sorting; }
    void setFilteringEnabled(bool enabled);
    bool isFilteringEnabled() const { return m_filtering; }
    void setIncrementalSearchEnabled(bool enabled);
    void setFooterVisible(bool visible);
    bool isFooterVisible() const;
    // Columns always fill the width, in proportion to their fitted widths.
    void setAutoWidth(bool enabled);

    // Each visible column gets weight x trunc((width - 30) / sum of visible weights), in one
    // update; nothing changes when the visible weights add up to 0.
    void applyWeights(int width);
    void bestFit(); // every visible column to its content (first 1000 rows)

    // Header filters: texts as the cells show them, "" for empty cells.
    QStringList filterValues(QStringView key) const;
    void setColumnFilter(QStringView key, const QStringList &texts);
    QStringList columnFilter(QStringView key) const;
    bool hasFilters() const;
    void clearFilters();
    void showFilterPopup(QStringView key);

    void sortBy(QStringView key, Qt::SortOrder order = Qt::AscendingOrder);
    void clearSort();
    QString sortColumn() const; // key, empty when unsorted

    void setFooterSummaries(QList<GridSummary> summaries);
    QString footerText(QStringView key) const;
    void groupBy(QStringView key); // empty key: no grouping
    void setGroupSummaries(QList<GridSummary> summaries);
    int groupCount() const;
    void expandAll();
    void collapseAll();

    // Rows
    int rowCount() const;           // rows passing the filters
    QList<int> visibleRows() const; // their table rows, in display order
    int focusedRow() const;         // table row, -1 when no data row is focused
    QString focusedColumn() const;  // key
    bool focusRow(int tableRow, QStringView column = {});
    bool locate(QStringView field, const QVariant &value); // first row holding the value
    QVariant focusedValue(QStringView field) const;        // any field of the table
    QString displayText(int tableRow, QStringView key) const;
    QString searchText() const { return m_search; }

    // The quick column chooser: one checkable entry per column offered to the user.
    QMenu *columnChooserMenu();
    void setContextMenu(QMenu *menu);

    // Writes all rows (groups expanded), the visible columns with their captions and the values
    // as shown. The extension of path is replaced by "xls"; the written name is returned.
    bool exportXls(const QString &path, QString *writtenPath = nullptr,
                   QString *error = nullptr) const;
    static QString xlsFileName(const QString &path);

    QTableView *view() const;
    GridModel *model() const { return m_model; }

signals:
    void focusedRowChanged(int tableRow);
    void rowDoubleClicked(int tableRow, const QString &column);
    void keyPressed(int key, Qt::KeyboardModifiers modifiers, const QString &text);
    void checkBoxClicked(int tableRow, const QString &column);
    void columnVisibilityChanged(const QString &column, bool visible);
    void filtersChanged();
    // The grid was resized or the user showed or hid a column: proportional layouts re-run.
    void layoutRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class GridView;
    friend class GridHeader;
    bool handleKey(QKeyEvent *event);
    bool incrementalSearch(const QString &candidate);
    void currentRowChanged();
    void afterReset();
    void applyLook();
    void updateSpans();
    void applyAutoWidth();
    int bestWidth(int column) const;
    int firstFocusableColumn() const;
    bool isFocusable(int column) const;
    void setCurrent(int row, int column);

    GridModel *m_model;
    GridView *m_view;
    GridHeader *m_header;
    GridIndicator *m_indicator;
    GridDelegate *m_delegate;
    GridFooter *m_footer;
    QPointer<QMenu> m_chooser;
    QPointer<QMenu> m_contextMenu;
    QWidget *m_popup = nullptr;

    const ResultTable *m_table = nullptr;
    bool m_attached = true;
    GridLook m_look;
    bool m_sorting = true;
    bool m_filtering = true;
    bool m_searchEnabled = true;
    bool m_autoWidth = false;
    std::vector<int> m_autoBase;
    QString m_search;
    bool m_searching = false;
    int m_lastFocused = -1;
    int m_restoreRow = -1;
    bool m_newRows = false;
    QString m_restoreColumn;
};

// Proportional widths when the screen is wider than 1152 px, fitted widths otherwise.
void KolonAyarla(Grid &grid, int screenWidth);

} // namespace zenvo
