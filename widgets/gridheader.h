#pragma once

#include <QHeaderView>

namespace zenvo {

class Grid;

// Column header: the grid's colours and font, a sort arrow, and a filter button on filterable
// columns (shown while the mouse is over the column, and always while its filter is active).
class GridHeader final : public QHeaderView {
public:
    explicit GridHeader(Grid *grid);
    QRect filterButtonRect(int logicalIndex) const; // viewport coordinates; null when none

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    bool hasFilterButton(int logicalIndex) const;
    Grid *m_grid;
    int m_hover = -1;
    bool m_pressedOnButton = false;
};

// Row indicator: a narrow coloured strip on the left, marking the focused row.
class GridIndicator final : public QHeaderView {
public:
    explicit GridIndicator(Grid *grid);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sizeHint() const override;

private:
    Grid *m_grid;
};

} // namespace zenvo
