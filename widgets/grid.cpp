#include "widgets/grid.h"

#include "widgets/griddelegate.h"
#include "widgets/gridheader.h"
#include "widgets/gridmodel.h"
#include "widgets/numberformat.h"
#include "widgets/xlswriter.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zenvo {

namespace {

// Suspends painting of a widget for a batch of changes. A widget whose painting is already off,
// by itself or through a parent (a tab page being switched), is left alone: restoring its
// state would switch it off for good.
class PaintPause final {
public:
    explicit PaintPause(QWidget *w) : m_w(w), m_paused(w->updatesEnabled()) {
        if (m_paused)
            m_w->setUpdatesEnabled(false);
    }
    ~PaintPause() {
        if (m_paused)
            m_w->setUpdatesEnabled(true);
    }
    PaintPause(const PaintPause &) = delete;
    PaintPause &operator=(const PaintPause &) = delete;

private:
    QWidget *m_w;
    bool m_paused;
};

} // namespace

// --- footer --------------------------------------------------------------------------------------

class GridFooter final : public QWidget {
public:
    explicit GridFooter(Grid *grid) : QWidget(grid), m_grid(grid) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        const GridLook &look = m_grid->look();
        p.fillRect(rect(), look.footerColor);
        p.setPen(look.footerColor.darker(125));
        p.drawLine(rect().topLeft(), rect().topRight());
        QTableView *view = m_grid->view();
        const GridModel *model = m_grid->model();
        QHeaderView *header = view->horizontalHeader();
        const int origin = view->viewport()->mapTo(m_grid, QPoint(0, 0)).x() - x();
        p.setClipRect(QRect(origin, 0, view->viewport()->width(), height()));
        QFont font = look.font;
        font.setBold(true);
        p.setFont(font);
        const QFontMetrics fm(font);
        for (int c = 0; c < model->columnCount(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QString text = model->summaryText(c);
            if (text.isEmpty())
                continue;
            const QRect box(origin + header->sectionViewportPosition(c) + 2, 3,
                            header->sectionSize(c) - 4, height() - 6);
            if (box.width() <= 4)
                continue;
            p.setPen(look.footerColor.darker(135));
            p.setBrush(Qt::white);
            p.drawRect(box.adjusted(0, 0, -1, -1));
            p.setPen(look.textColor);
            p.drawText(box.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                       fm.elidedText(text, Qt::ElideLeft, box.width() - 8));
        }
    }

private:
    Grid *m_grid;
};

// --- the table view ----------------------------------------------------------------------------

class GridView final : public QTableView {
public:
    explicit GridView(Grid *grid) : QTableView(grid), m_grid(grid) {}

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (!m_grid->handleKey(event))
            QTableView::keyPressEvent(event);
    }

    // The grid's own incremental search replaces the view's (which would also run while the
    // grid's search is switched off).
    void keyboardSearch(const QString &) override {}

    void mousePressEvent(QMouseEvent *event) override {
        QTableView::mousePressEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        const QModelIndex index = indexAt(event->position().toPoint());
        if (!index.isValid())
            return;
        GridModel *model = m_grid->model();
        const auto kind = model->rowKind(index.row());
        if (kind == GridModel::RowKind::GroupHeader) {
            const QRect span = visualRect(index);
            if (event->position().x() < span.left() + 26) {
                const int group = index.data(GridModel::GroupRole).toInt();
                model->setGroupExpanded(group, !model->isGroupExpanded(group));
            }
            return;
        }
        const GridColumn &col = model->columns()[index.column()];
        if (kind == GridModel::RowKind::Data && col.kind == CellKind::CheckBox) {
            const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
            const QRect box = GridDelegate::checkBoxRect(visualRect(index), align);
            if (box.adjusted(-3, -3, 3, 3).contains(event->position().toPoint()))
                emit m_grid->checkBoxClicked(model->tableRow(index.row()), col.key());
        }
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override {
        QTableView::mouseDoubleClickEvent(event);
        const QModelIndex index = indexAt(event->position().toPoint());
        if (!index.isValid() || event->button() != Qt::LeftButton)
            return;
        GridModel *model = m_grid->model();
        switch (model->rowKind(index.row())) {
        case GridModel::RowKind::GroupHeader: {
            const int group = index.data(GridModel::GroupRole).toInt();
            model->setGroupExpanded(group, !model->isGroupExpanded(group));
            break;
        }
        case GridModel::RowKind::Data:
            emit m_grid->rowDoubleClicked(model->tableRow(index.row()),
                                          model->columns()[currentIndex().column()].key());
            break;
        case GridModel::RowKind::GroupFooter:
            break;
        }
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex next = QTableView::moveCursor(action, modifiers);
        if (!next.isValid() || m_grid->isFocusable(next.column()))
            return next;
        const int step =
            action == MoveLeft || action == MoveHome || action == MovePrevious ? -1 : 1;
        for (int c = next.column() + step; c >= 0 && c < model()->columnCount(); c += step)
            if (m_grid->isFocusable(c))
                return model()->index(next.row(), c);
        for (int c = next.column() - step; c >= 0 && c < model()->columnCount(); c -= step)
            if (m_grid->isFocusable(c))
                return model()->index(next.row(), c);
        return next;
    }

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override {
        QTableView::currentChanged(current, previous);
        if (current.row() != previous.row()) {
            verticalHeader()->viewport()->update();
            viewport()->update();
        }
        m_grid->currentRowChanged();
    }

    void scrollContentsBy(int dx, int dy) override {
        QTableView::scrollContentsBy(dx, dy);
        if (dx)
            m_grid->m_footer->update();
    }

    void resizeEvent(QResizeEvent *event) override {
        QTableView::resizeEvent(event);
        if (m_grid->m_autoWidth)
            m_grid->applyAutoWidth();
        m_grid->m_footer->update();
    }

    void contextMenuEvent(QContextMenuEvent *event) override {
        const QModelIndex index = indexAt(event->pos());
        if (index.isValid())
            setCurrentIndex(model()->index(
                index.row(), currentIndex().isValid() ? currentIndex().column() : index.column()));
        if (m_grid->m_contextMenu)
            m_grid->m_contextMenu->exec(event->globalPos());
    }

private:
    Grid *m_grid;
};

// --- grid ----------------------------------------------------------------------------------------

Grid::Grid(QWidget *parent) : QWidget(parent) {
    m_model = new GridModel(this);
    m_view = new GridView(this);
    m_header = new GridHeader(this);
    m_indicator = new GridIndicator(this);
    m_delegate = new GridDelegate(this);
    m_footer = new GridFooter(this);

    m_view->setHorizontalHeader(m_header);
    m_view->setVerticalHeader(m_indicator);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setShowGrid(false);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setWordWrap(true);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setObjectName(QStringLiteral("gridView"));
    m_footer->setObjectName(QStringLiteral("gridFooter"));
    setFocusProxy(m_view);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);
    m_footer->hide();

    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_restoreRow = m_newRows ? -1 : focusedRow();
        m_restoreColumn = focusedColumn();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &Grid::afterReset);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { updateSpans(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] {
        updateSpans();
        currentRowChanged();
    });
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        m_header->viewport()->update();
        updateSpans();
    });
    connect(m_model, &GridModel::summariesChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_model, &GridModel::filtersChanged, this, [this] {
        m_header->viewport()->update();
        emit filtersChanged();
    });
    connect(m_header, &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (!m_sorting || section < 0 || section >= m_model->columnCount())
            return;
        if (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) {
            clearSort();
            return;
        }
        const bool same = m_model->sortColumn() == section;
        m_model->sort(section, same && m_model->sortOrder() == Qt::AscendingOrder
                                   ? Qt::DescendingOrder
                                   : Qt::AscendingOrder);
    });
    applyLook();
}

Grid::~Grid() {
    // The children read the grid's look while they close; they go before the grid's members.
    delete m_popup;
    delete m_chooser;
    delete m_view;
    delete m_footer;
}

QTableView *Grid::view() const {
    return m_view;
}

// --- columns -------------------------------------------------------------------------------------

void Grid::setColumns(QList<GridColumn> columns) {
    m_model->setColumns(std::move(columns));
    const auto &cols = m_model->columns();
    for (int c = 0; c < cols.size(); ++c) {
        m_header->resizeSection(c, 60 + 40 * std::max(cols[c].weight, 1));
        m_view->setColumnHidden(c, !cols[c].visible);
    }
    updateSpans();
    m_footer->update();
}

const QList<GridColumn> &Grid::columns() const {
    return m_model->columns();
}

int Grid::columnIndex(QStringView key) const {
    return m_model->columnIndex(key);
}

void Grid::setColumnVisible(QStringView key, bool visible) {
    const int c = columnIndex(key);
    if (c < 0 || m_view->isColumnHidden(c) == !visible)
        return;
    m_view->setColumnHidden(c, !visible);
    if (!visible && m_view->currentIndex().column() == c) {
        const int row = m_view->currentIndex().row();
        const int next = firstFocusableColumn();
        if (row >= 0 && next >= 0)
            setCurrent(row, next);
    }
    updateSpans();
    if (m_autoWidth) {
        m_autoBase.clear();
        applyAutoWidth();
    }
    m_footer->update();
    emit columnVisibilityChanged(m_model->columns()[c].key(), visible);
}

bool Grid::isColumnVisible(QStringView key) const {
    const int c = columnIndex(key);
    return c >= 0 && !m_view->isColumnHidden(c);
}

void Grid::setColumnCustomizable(QStringView key, bool customizable) {
    const int c = columnIndex(key);
    if (c < 0)
        return;
    m_model->setColumnCustomizable(c, customizable);
}

bool Grid::isColumnCustomizable(QStringView key) const {
    const int c = columnIndex(key);
    return c >= 0 && m_model->columns()[c].customizable;
}

void Grid::setColumnWidth(QStringView key, int width) {
    const int c = columnIndex(key);
    if (c >= 0)
        m_header->resizeSection(c, std::max(width, 0));
}

int Grid::columnWidth(QStringView key) const {
    const int c = columnIndex(key);
    return c < 0 ? 0 : m_header->sectionSize(c);
}

QStringList Grid::visibleColumns() const {
    QStringList keys;
    for (int v = 0; v < m_header->count(); ++v) {
        const int c = m_header->logicalIndex(v);
        if (!m_header->isSectionHidden(c))
            keys << m_model->columns()[c].key();
    }
    return keys;
}

bool Grid::isFocusable(int column) const {
    return column >= 0 && column < m_model->columnCount() && !m_view->isColumnHidden(column) &&
           m_model->columns()[column].focusable;
}

int Grid::firstFocusableColumn() const {
    for (int v = 0; v < m_header->count(); ++v)
        if (isFocusable(m_header->logicalIndex(v)))
            return m_header->logicalIndex(v);
    for (int v = 0; v < m_header->count(); ++v)
        if (!m_header->isSectionHidden(m_header->logicalIndex(v)))
            return m_header->logicalIndex(v);
    return -1;
}

// --- table ---------------------------------------------------------------------------------------

void Grid::setTable(const ResultTable *table) {
    m_table = table;
    m_attached = true;
    m_newRows = true;
    m_autoBase.clear();
    m_model->setTable(table);
    setUpdatesEnabled(true);
}

void Grid::detach() {
    if (!m_attached)
        return;
    m_attached = false;
    setUpdatesEnabled(false);
    m_model->setTable(nullptr);
}

void Grid::attach() {
    m_attached = true;
    m_newRows = true;
    m_autoBase.clear();
    m_model->setTable(m_table);
    setUpdatesEnabled(true);
    update();
}

void Grid::reload() {
    if (m_attached)
        m_model->reload();
}

void Grid::refreshRow(int tableRow) {
    if (m_attached)
        m_model->tableRowChanged(tableRow);
}

void Grid::afterReset() {
    // setTable() and attach() show new rows: the focus goes to the first one.
    const bool newRows = m_newRows || m_restoreRow < 0 || !m_attached;
    m_newRows = false;
    m_delegate->clearCache();
    updateSpans();
    int row = newRows ? -1 : m_model->rowOfTableRow(m_restoreRow);
    if (row < 0 && !newRows) {
        const int group = m_model->groupOfTableRow(m_restoreRow);
        for (int r = 0; r < m_model->rowCount() && group >= 0; ++r)
            if (m_model->rowKind(r) == GridModel::RowKind::GroupHeader &&
                m_model->data(m_model->index(r, 0), GridModel::GroupRole).toInt() == group)
                row = r;
    }
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    int column = columnIndex(m_restoreColumn);
    if (!isFocusable(column))
        column = firstFocusableColumn();
    if (row >= 0 && column >= 0)
        setCurrent(row, column);
    if (m_autoWidth)
        applyAutoWidth();
    m_restoreRow = -1;
    m_footer->update();
    m_header->viewport()->update();
    currentRowChanged();
}

void Grid::updateSpans() {
    m_view->clearSpans();
    if (m_model->groupColumn() < 0)
        return;
    int first = -1;
    for (int v = 0; v < m_header->count() && first < 0; ++v)
        if (!m_header->isSectionHidden(m_header->logicalIndex(v)))
            first = m_header->logicalIndex(v);
    const int span = m_model->columnCount() - first;
    if (first < 0 || span < 2)
        return;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->rowKind(r) == GridModel::RowKind::GroupHeader)
            m_view->setSpan(r, first, 1, span);
}

// --- look ----------------------------------------------------------------------------------------

void Grid::setLook(const GridLook &look) {
    m_look = look;
    applyLook();
}

void Grid::setRowHeight(int height) {
    m_look.rowHeight = std::max(height, 1);
    m_indicator->setMinimumSectionSize(
        std::min(m_indicator->minimumSectionSize(), m_look.rowHeight));
    m_indicator->setDefaultSectionSize(m_look.rowHeight);
}

void Grid::applyLook() {
    m_header->setFixedHeight(m_look.headerHeight);
    m_header->setVisible(m_look.headerVisible);
    m_indicator->setMinimumSectionSize(1);
    m_indicator->setDefaultSectionSize(std::max(m_look.rowHeight, 1));
    m_indicator->setVisible(m_look.indicatorWidth > 0);
    if (m_look.indicatorWidth > 0)
        m_indicator->setFixedWidth(m_look.indicatorWidth);
    m_view->setVerticalScrollMode(m_look.scrollPerPixel ? QAbstractItemView::ScrollPerPixel
                                                        : QAbstractItemView::ScrollPerItem);
    m_view->setFont(m_look.font);
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Window, Qt::white);
    m_view->setPalette(pal);
    const QFontMetrics fm(m_look.font);
    m_footer->setFixedHeight(fm.height() + 14);
    m_footer->update();
    m_view->viewport()->update();
    m_header->viewport()->update();
}

void Grid::setSortingEnabled(bool enabled) {
    m_sorting = enabled;
    if (!enabled && m_model->sortColumn() >= 0)
        clearSort();
}

void Grid::setFilteringEnabled(bool enabled) {
    m_filtering = enabled;
    if (!enabled)
        clearFilters();
    m_header->viewport()->update();
}

void Grid::setIncrementalSearchEnabled(bool enabled) {
    m_searchEnabled = enabled;
    m_search.clear();
}

void Grid::setFooterVisible(bool visible) {
    m_footer->setVisible(visible);
}

bool Grid::isFooterVisible() const {
    return !m_footer->isHidden();
}

void Grid::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setPen(QColor(0xA9, 0xB6, 0xC2));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Grid::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_footer->update();
    emit layoutRequested();
}

// --- widths --------------------------------------------------------------------------------------

void KolonAyarla(Grid &grid, int screenWidth) {
    if (screenWidth > 1152)
        grid.applyWeights(grid.width());
    else
        grid.bestFit();
}

void Grid::applyWeights(int width) {
    const auto &cols = m_model->columns();
    int sum = 0;
    for (int c = 0; c < cols.size(); ++c)
        if (!m_view->isColumnHidden(c))
            sum += std::max(cols[c].weight, 0);
    if (sum <= 0)
        return;
    // the quotient is truncated before the multiplication, as the layout rule says
    const int unit = std::max(0, int(std::trunc(double(width - 30) / sum)));
    {
        const PaintPause pause(m_view);
        for (int c = 0; c < cols.size(); ++c)
            if (!m_view->isColumnHidden(c))
                m_header->resizeSection(c, std::max(cols[c].weight, 0) * unit);
    }
    m_footer->update();
}

int Grid::bestWidth(int column) const {
    const GridColumn &col = m_model->columns()[column];
    const QFontMetrics header(m_look.headerFont);
    int width = header.horizontalAdvance(col.headerText()) + 18 +
                (m_filtering && col.filterable ? 20 : 0) + (m_sorting ? 12 : 0);
    const QFontMetrics fm(m_look.font);
    const std::vector<int> &rows = m_model->dataRows();
    const int n = std::min<int>(int(rows.size()), 1000);
    int content = 0;
    switch (col.kind) {
    case CellKind::StatusIcon:
        content = 24;
        break;
    case CellKind::FlagIcon:
    case CellKind::CheckBox:
        content = 16;
        break;
    case CellKind::PictureIcon:
        content = 20;
        break;
    case CellKind::Image:
        content = columnWidth(col.key()) - 2 * GridDelegate::kPadding;
        break;
    default:
        for (int i = 0; i < n; ++i) {
            const QString text = m_model->displayText(rows[std::size_t(i)], column);
            for (const QString &line : text.split(u'\n'))
                content = std::max(content, fm.horizontalAdvance(line));
        }
        if (col.kind == CellKind::WrappedText)
            content = std::min(content, 400);
        break;
    }
    width = std::max(width, content + 2 * GridDelegate::kPadding + 4);
    return std::min(width, 800);
}

void Grid::bestFit() {
    {
        const PaintPause pause(m_view);
        for (int c = 0; c < m_model->columnCount(); ++c)
            if (!m_view->isColumnHidden(c))
                m_header->resizeSection(c, bestWidth(c));
    }
    m_footer->update();
}

void Grid::setAutoWidth(bool enabled) {
    m_autoWidth = enabled;
    m_autoBase.clear();
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    if (enabled)
        applyAutoWidth();
}

void Grid::applyAutoWidth() {
    const int n = m_model->columnCount();
    if (m_autoBase.size() != std::size_t(n)) {
        m_autoBase.assign(std::size_t(n), 0);
        for (int c = 0; c < n; ++c)
            if (!m_view->isColumnHidden(c))
                m_autoBase[std::size_t(c)] = bestWidth(c);
    }
    double total = 0;
    int last = -1;
    for (int c = 0; c < n; ++c)
        if (!m_view->isColumnHidden(c)) {
            total += m_autoBase[std::size_t(c)];
            last = c;
        }
    const int available = m_view->viewport()->width();
    if (total <= 0 || available <= 0)
        return;
    int used = 0;
    for (int c = 0; c < n; ++c) {
        if (m_view->isColumnHidden(c))
            continue;
        const int w = c == last ? available - used
                                : int(std::floor(m_autoBase[std::size_t(c)] * available / total));
        m_header->resizeSection(c, std::max(w, 0));
        used += w;
    }
}

// --- filters and sorting -----------------------------------------------------------------------

QStringList Grid::filterValues(QStringView key) const {
    return m_attached ? m_model->filterValues(columnIndex(key)) : QStringList();
}

void Grid::setColumnFilter(QStringView key, const QStringList &texts) {
    m_model->setFilter(columnIndex(key), texts);
}

QStringList Grid::columnFilter(QStringView key) const {
    return m_model->filter(columnIndex(key));
}

bool Grid::hasFilters() const {
    return m_model->hasFilters();
}

void Grid::clearFilters() {
    m_model->clearFilters();
}

void Grid::showFilterPopup(QStringView key) {
    const int column = columnIndex(key);
    if (column < 0 || !m_attached || !m_filtering || !m_model->columns()[column].filterable)
        return;
    delete m_popup;
    auto *popup = new QFrame(this, Qt::Popup);
    m_popup = popup;
    popup->setObjectName(QStringLiteral("filterPopup"));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameShape(QFrame::Box);
    connect(popup, &QObject::destroyed, this, [this, popup] {
        if (m_popup == popup)
            m_popup = nullptr;
    });

    auto *layout = new QVBoxLayout(popup);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    auto *search = new QLineEdit(popup);
    search->setObjectName(QStringLiteral("filterSearch"));
    search->setPlaceholderText(QStringLiteral("Ara..."));
    search->setClearButtonEnabled(true);
    auto *list = new QListWidget(popup);
    list->setObjectName(QStringLiteral("filterList"));
    list->setUniformItemSizes(true);
    layout->addWidget(search);
    layout->addWidget(list, 1);
    auto *buttons = new QHBoxLayout;
    auto *clear = new QPushButton(QStringLiteral("Temizle"), popup);
    clear->setObjectName(QStringLiteral("filterClear"));
    auto *ok = new QPushButton(QStringLiteral("Tamam"), popup);
    ok->setObjectName(QStringLiteral("filterOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("İptal"), popup);
    cancel->setObjectName(QStringLiteral("filterCancel"));
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    const QStringList values = m_model->filterValues(column);
    const bool filtered = m_model->isFiltered(column);
    const QStringList current = m_model->filter(column);
    const QSet<QString> active(current.begin(), current.end());
    auto *all = new QListWidgetItem(QStringLiteral("(Tümü)"), list);
    all->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    for (const QString &value : values) {
        auto *item = new QListWidgetItem(value.isEmpty() ? QStringLiteral("(Boş)") : value, list);
        item->setData(Qt::UserRole, value);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(!filtered || active.contains(value) ? Qt::Checked : Qt::Unchecked);
    }
    auto syncAll = [list, all, ok] {
        int on = 0, shown = 0;
        bool any = false;
        for (int i = 1; i < list->count(); ++i) {
            QListWidgetItem *item = list->item(i);
            any = any || item->checkState() == Qt::Checked;
            if (item->isHidden())
                continue;
            ++shown;
            on += item->checkState() == Qt::Checked ? 1 : 0;
        }
        const bool blocked = list->blockSignals(true);
        all->setCheckState(on == 0 ? Qt::Unchecked
                                   : (on == shown ? Qt::Checked : Qt::PartiallyChecked));
        list->blockSignals(blocked);
        ok->setEnabled(any);
    };
    syncAll();
    connect(list, &QListWidget::itemChanged, popup, [list, all, syncAll](QListWidgetItem *item) {
        if (item == all) {
            const Qt::CheckState state =
                all->checkState() == Qt::Unchecked ? Qt::Unchecked : Qt::Checked;
            const bool blocked = list->blockSignals(true);
            for (int i = 1; i < list->count(); ++i)
                if (!list->item(i)->isHidden())
                    list->item(i)->setCheckState(state);
            list->blockSignals(blocked);
        }
        syncAll();
    });
    connect(search, &QLineEdit::textChanged, popup, [list, syncAll](const QString &text) {
        for (int i = 1; i < list->count(); ++i)
            list->item(i)->setHidden(!text.isEmpty() &&
                                     !list->item(i)->text().contains(text, Qt::CaseInsensitive));
        syncAll();
    });
    connect(clear, &QPushButton::clicked, popup, [this, popup, column] {
        popup->close();
        m_model->clearFilter(column);
    });
    connect(cancel, &QPushButton::clicked, popup, &QWidget::close);
    connect(ok, &QPushButton::clicked, popup, [this, popup, list, column] {
        QStringList chosen;
        for (int i = 1; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                chosen << list->item(i)->data(Qt::UserRole).toString();
        popup->close();
        if (chosen.size() == list->count() - 1)
            m_model->clearFilter(column);
        else
            m_model->setFilter(column, chosen);
    });

    const int x = m_header->sectionViewportPosition(column);
    const QPoint at = m_header->viewport()->mapToGlobal(QPoint(std::max(x, 0), m_header->height()));
    popup->resize(std::max(240, std::min(m_header->sectionSize(column), 420)), 320);
    popup->move(at);
    popup->show();
    search->setFocus();
}

void Grid::sortBy(QStringView key, Qt::SortOrder order) {
    const int c = columnIndex(key);
    if (c >= 0)
        m_model->sort(c, order);
}

void Grid::clearSort() {
    m_model->sort(-1);
}

QString Grid::sortColumn() const {
    const int c = m_model->sortColumn();
    return c >= 0 ? m_model->columns()[c].key() : QString();
}

// --- summaries and groups ----------------------------------------------------------------------

void Grid::setFooterSummaries(QList<GridSummary> summaries) {
    const bool any = !summaries.isEmpty();
    m_model->setSummaries(std::move(summaries));
    m_footer->setVisible(any);
    m_footer->update();
}

QString Grid::footerText(QStringView key) const {
    return m_model->summaryText(columnIndex(key));
}

void Grid::groupBy(QStringView key) {
    m_model->setGroupColumn(key.isEmpty() ? -1 : columnIndex(key));
}

void Grid::setGroupSummaries(QList<GridSummary> summaries) {
    m_model->setGroupSummaries(std::move(summaries));
}

int Grid::groupCount() const {
    return m_model->groupCount();
}

void Grid::expandAll() {
    m_model->expandAll();
}

void Grid::collapseAll() {
    m_model->collapseAll();
}

// --- rows
// ------------------------------------------------------------------------------------------

int Grid::rowCount() const {
    return int(m_model->dataRows().size());
}

QList<int> Grid::visibleRows() const {
    const auto &rows = m_model->dataRows();
    return QList<int>(rows.begin(), rows.end());
}

int Grid::focusedRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_model->tableRow(current.row()) : -1;
}

QString Grid::focusedColumn() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_model->columns()[current.column()].key() : QString();
}

void Grid::setCurrent(int row, int column) {
    const QModelIndex index = m_model->index(row, column);
    if (!index.isValid())
        return;
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_view->scrollTo(index);
}

bool Grid::focusRow(int tableRow, QStringView column) {
    if (!m_attached)
        return false;
    int row = m_model->rowOfTableRow(tableRow);
    if (row < 0) {
        const int group = m_model->groupOfTableRow(tableRow);
        if (group < 0)
            return false;
        m_model->setGroupExpanded(group, true);
        row = m_model->rowOfTableRow(tableRow);
        if (row < 0)
            return false;
    }
    int c = column.isEmpty() ? m_view->currentIndex().column() : columnIndex(column);
    if (!isFocusable(c))
        c = firstFocusableColumn();
    if (c < 0)
        return false;
    setCurrent(row, c);
    return true;
}

bool Grid::locate(QStringView field, const QVariant &value) {
    if (!m_attached || !m_table)
        return false;
    const int fc = m_table->fieldIndex(field);
    if (fc < 0)
        return false;
    const FieldType type = m_table->field(fc).type;
    const bool numeric =
        (isIntegerStored(type) || isDoubleStored(type)) &&
        (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
         value.typeId() == QMetaType::Double || value.typeId() == QMetaType::UInt ||
         value.typeId() == QMetaType::ULongLong);
    const double number = value.toDouble();
    const QString text = value.toString();
    for (int r : m_model->dataRows()) {
        if (m_table->isNull(r, fc))
            continue;
        if (numeric ? m_table->doubleValue(r, fc) == number : m_table->stringView(r, fc) == text)
            return focusRow(r);
    }
    return false;
}

QVariant Grid::focusedValue(QStringView field) const {
    const int row = focusedRow();
    if (row < 0 || !m_attached || !m_table)
        return {};
    const int fc = m_table->fieldIndex(field);
    return fc < 0 ? QVariant() : m_table->value(row, fc);
}

QString Grid::displayText(int tableRow, QStringView key) const {
    return m_attached ? m_model->displayText(tableRow, columnIndex(key)) : QString();
}

void Grid::currentRowChanged() {
    if (!m_searching && !m_search.isEmpty()) {
        m_search.clear();
        m_view->viewport()->update();
    }
    const int row = focusedRow();
    if (row != m_lastFocused) {
        m_lastFocused = row;
        m_indicator->viewport()->update();
        emit focusedRowChanged(row);
    }
}

// --- keys and incremental search ---------------------------------------------------------------

bool Grid::handleKey(QKeyEvent *event) {
    emit keyPressed(event->key(), event->modifiers(), event->text());
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && m_model->rowKind(current.row()) == GridModel::RowKind::GroupHeader) {
        const int group = current.data(GridModel::GroupRole).toInt();
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Right:
            m_model->setGroupExpanded(group, true);
            return true;
        case Qt::Key_Minus:
        case Qt::Key_Left:
            m_model->setGroupExpanded(group, false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            m_model->setGroupExpanded(group, !m_model->isGroupExpanded(group));
            return true;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Space && m_search.isEmpty() && current.isValid() &&
        m_model->rowKind(current.row()) == GridModel::RowKind::Data &&
        m_model->columns()[current.column()].kind == CellKind::CheckBox) {
        emit checkBoxClicked(m_model->tableRow(current.row()),
                             m_model->columns()[current.column()].key());
        return true;
    }
    if (!m_searchEnabled)
        return false;
    if (event->key() == Qt::Key_Escape && !m_search.isEmpty()) {
        m_search.clear();
        m_view->viewport()->update();
        return true;
    }
    if (event->key() == Qt::Key_Backspace && !m_search.isEmpty()) {
        m_search.chop(1);
        m_view->viewport()->update();
        return true;
    }
    const QString text = event->text();
    if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
        text.isEmpty() || !text.at(0).isPrint())
        return false;
    incrementalSearch(m_search + text);
    return true;
}

bool Grid::incrementalSearch(const QString &candidate) {
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() ? current.column() : firstFocusableColumn();
    const int n = m_model->rowCount();
    if (column < 0 || n == 0)
        return false;
    const int start = current.isValid() ? current.row() : 0;
    const QLocale locale;
    const QString needle = locale.toLower(candidate);
    for (int i = 0; i < n; ++i) {
        const int row = (start + i) % n;
        const int tableRow = m_model->tableRow(row);
        if (tableRow < 0)
            continue;
        const QString text = m_model->displayText(tableRow, column);
        if (!locale.toLower(text.left(candidate.size() * 2)).startsWith(needle))
            continue;
        m_searching = true;
        setCurrent(row, column);
        m_searching = false;
        m_search = candidate;
        m_view->viewport()->update();
        return true;
    }
    return false;
}

// --- menus
// -----------------------------------------------------------------------------------------

QMenu *Grid::columnChooserMenu() {
    delete m_chooser;
    m_chooser = new QMenu(this);
    m_chooser->setObjectName(QStringLiteral("columnChooser"));
    for (const GridColumn &col : m_model->columns()) {
        if (!col.customizable)
            continue;
        const QString key = col.key();
        const QString text = col.caption.isEmpty() ? col.field : col.caption;
        QAction *action = m_chooser->addAction(text.isEmpty() ? key : text);
        action->setObjectName(key);
        action->setCheckable(true);
        action->setChecked(isColumnVisible(key));
        connect(action, &QAction::toggled, this, [this, key](bool on) {
            setColumnVisible(key, on);
            emit layoutRequested();
        });
    }
    return m_chooser;
}

void Grid::setContextMenu(QMenu *menu) {
    m_contextMenu = menu;
}

// --- export
// ----------------------------------------------------------------------------------------

QString Grid::xlsFileName(const QString &path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (path.endsWith(u'.'))
        return path + QStringLiteral("xls");
    if (suffix.isEmpty())
        return path + QStringLiteral(".xls");
    return path.left(path.size() - suffix.size()) + QStringLiteral("xls");
}

bool Grid::exportXls(const QString &path, QString *writtenPath, QString *error) const {
    const QString target = xlsFileName(path);
    if (writtenPath)
        *writtenPath = target;
    XlsWorkbook book;
    std::vector<int> columns;
    for (int v = 0; v < m_header->count() && int(columns.size()) < XlsWorkbook::kMaxColumns; ++v) {
        const int c = m_header->logicalIndex(v);
        if (!m_header->isSectionHidden(c))
            columns.push_back(c);
    }
    const auto &cols = m_model->columns();
    XlsWorkbook::CellStyle bold;
    bold.bold = true;
    const int headerStyle = book.style(bold);
    const int boldStyle = headerStyle;
    std::vector<int> numberStyles(columns.size(), -1);
    std::vector<int> textStyles(columns.size(), -1);
    const ResultTable *table = m_attached ? m_table : nullptr;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int c = columns[i];
        const int fc = m_model->fieldColumn(c);
        const auto align = Qt::Alignment(
            m_model->rowCount() > 0 ? m_model->index(0, c).data(Qt::TextAlignmentRole).toInt() : 0);
        const auto xlsAlign = align & Qt::AlignHCenter ? XlsWorkbook::Align::Centre
                              : align & Qt::AlignRight ? XlsWorkbook::Align::Right
                                                       : XlsWorkbook::Align::General;
        XlsWorkbook::CellStyle text;
        text.wrap = cols[c].kind == CellKind::WrappedText || cols[c].kind == CellKind::Drawn;
        text.align = xlsAlign;
        textStyles[i] = book.style(text);
        if (!table || fc < 0)
            continue;
        const FieldType type = table->field(fc).type;
        QString format = table->displayFormat(fc);
        if (format.isEmpty() && cols[c].kind == CellKind::Money)
            format = QString::fromLatin1(kParaFormati);
        XlsWorkbook::CellStyle number;
        number.align =
            xlsAlign == XlsWorkbook::Align::General ? XlsWorkbook::Align::Right : xlsAlign;
        if (format.isEmpty() && type == FieldType::Date)
            number.numberFormat = QStringLiteral("dd.mm.yyyy");
        else if (format.isEmpty() && type == FieldType::DateTime)
            number.numberFormat = QStringLiteral("dd.mm.yyyy hh:mm:ss");
        else if (format.isEmpty() && type == FieldType::Time)
            number.numberFormat = QStringLiteral("hh:mm:ss");
        else
            number.numberFormat = excelNumberFormat(format);
        numberStyles[i] = book.style(number);
    }

    int sheet = -1;
    int row = 0;
    auto newSheet = [&] {
        sheet = book.addSheet(QStringLiteral("Sayfa%1").arg(book.sheetCount() + 1));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            book.setColumnWidth(sheet, int(i), m_header->sectionSize(columns[i]));
            book.writeText(sheet, 0, int(i), cols[columns[i]].headerText(), headerStyle);
        }
        row = 1;
    };
    auto nextRow = [&] {
        if (row >= XlsWorkbook::kMaxRows)
            newSheet();
        return row++;
    };
    auto writeDataRow = [&](int tableRow) {
        const int r = nextRow();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int c = columns[i];
            const int fc = m_model->fieldColumn(c);
            const CellKind kind = cols[c].kind;
            const bool textKind = kind == CellKind::Text || kind == CellKind::WrappedText ||
                                  kind == CellKind::Number || kind == CellKind::Money;
            if (textKind && fc >= 0) {
                if (table->isNull(tableRow, fc))
                    continue;
                const FieldType type = table->field(fc).type;
                if ((isIntegerStored(type) && type != FieldType::Boolean) || isDoubleStored(type)) {
                    book.writeNumber(sheet, r, int(i), table->doubleValue(tableRow, fc),
                                     numberStyles[i]);
                    continue;
                }
            }
            const QString text = m_model->displayText(tableRow, c);
            if (!text.isEmpty())
                book.writeText(sheet, r, int(i), text, textStyles[i]);
        }
    };
    auto writeSummaryRow = [&](auto textOf) {
        const int r = nextRow();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QString text = textOf(columns[i]);
            if (!text.isEmpty())
                book.writeText(sheet, r, int(i), text, boldStyle);
        }
    };

    newSheet();
    if (table) {
        const auto &rows = m_model->dataRows();
        if (m_model->groupColumn() >= 0) {
            int next = 0;
            for (int g = 0; g < m_model->groupCount(); ++g) {
                book.writeText(sheet, nextRow(), 0, m_model->groupText(g), boldStyle);
                for (int k = 0; k < m_model->groupRowCount(g); ++k)
                    writeDataRow(rows[std::size_t(next++)]);
                writeSummaryRow([&](int c) { return m_model->groupSummaryText(g, c); });
            }
        } else {
            for (int t : rows)
                writeDataRow(t);
        }
        bool anySummary = false;
        for (int c : columns)
            anySummary = anySummary || !m_model->summaryText(c).isEmpty();
        if (anySummary && isFooterVisible())
            writeSummaryRow([&](int c) { return m_model->summaryText(c); });
    }
    return book.save(target, error);
}

} // namespace zenvo
