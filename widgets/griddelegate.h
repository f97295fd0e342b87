#pragma once

#include "widgets/gridcolumn.h"

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace zenvo {

class Grid;

// Paints every cell of a grid: row colours, text, icons, check boxes, pictures, drawn cells,
// group rows and the incremental-search highlight.
class GridDelegate final : public QStyledItemDelegate {
public:
    explicit GridDelegate(Grid *grid);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void clearCache() { m_pictures.clear(); }

    static QRect checkBoxRect(const QRect &cell, Qt::Alignment alignment);
    static void drawCheckBox(QPainter *p, const QRect &box, bool checked);
    static constexpr int kPadding = 5;

private:
    void paintGroupRow(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index,
                       bool header) const;
    QPixmap picture(int tableRow, int column) const;

    Grid *m_grid;
    mutable QCache<quint64, QPixmap> m_pictures;
};

} // namespace zenvo
