#include "widgets/gridheader.h"

#include "widgets/grid.h"
#include "widgets/gridmodel.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>

namespace zenvo {

GridHeader::GridHeader(Grid *grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setMouseTracking(true);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSectionResizeMode(QHeaderView::Interactive);
}

bool GridHeader::hasFilterButton(int logicalIndex) const {
    const auto &columns = m_grid->model()->columns();
    return m_grid->isFilteringEnabled() && logicalIndex >= 0 && logicalIndex < columns.size() &&
           columns[logicalIndex].filterable && sectionSize(logicalIndex) >= 24;
}

QRect GridHeader::filterButtonRect(int logicalIndex) const {
    if (!hasFilterButton(logicalIndex))
        return {};
    const int x = sectionViewportPosition(logicalIndex) + sectionSize(logicalIndex) - 18;
    return {x, (height() - 18) / 2, 16, 18};
}

void GridHeader::paintSection(QPainter *p, const QRect &rect, int logicalIndex) const {
    const GridLook &look = m_grid->look();
    const GridModel *model = m_grid->model();
    p->save();
    p->fillRect(rect, look.headerColor);
    p->setPen(look.headerColor.lighter(125));
    p->drawLine(rect.topLeft(), rect.bottomLeft());
    p->setPen(look.headerColor.darker(125));
    p->drawLine(rect.topRight(), rect.bottomRight());
    p->drawLine(rect.bottomLeft(), rect.bottomRight());

    int right = rect.right() - 4;
    const bool filtered = model->isFiltered(logicalIndex);
    if (hasFilterButton(logicalIndex) && (filtered || m_hover == logicalIndex)) {
        const QRect button(rect.right() - 18, rect.center().y() - 8, 16, 16);
        p->setRenderHint(QPainter::Antialiasing);
        QPainterPath funnel;
        funnel.moveTo(button.left() + 3, button.top() + 4);
        funnel.lineTo(button.right() - 2, button.top() + 4);
        funnel.lineTo(button.center().x() + 2, button.center().y() + 1);
        funnel.lineTo(button.center().x() + 2, button.bottom() - 2);
        funnel.lineTo(button.center().x() - 1, button.bottom() - 4);
        funnel.lineTo(button.center().x() - 1, button.center().y() + 1);
        funnel.closeSubpath();
        p->setPen(QPen(look.headerTextColor, 1.2));
        p->setBrush(filtered ? QColor(0xFF, 0xD5, 0x4F) : Qt::transparent);
        p->drawPath(funnel);
        p->setRenderHint(QPainter::Antialiasing, false);
        right = button.left() - 2;
    }
    if (model->sortColumn() == logicalIndex) {
        const int cx = right - 5;
        const int cy = rect.center().y();
        QPolygon arrow;
        if (model->sortOrder() == Qt::AscendingOrder)
            arrow << QPoint(cx - 4, cy + 2) << QPoint(cx + 4, cy + 2) << QPoint(cx, cy - 3);
        else
            arrow << QPoint(cx - 4, cy - 2) << QPoint(cx + 4, cy - 2) << QPoint(cx, cy + 3);
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(Qt::NoPen);
        p->setBrush(look.headerTextColor);
        p->drawPolygon(arrow);
        right = cx - 7;
    }
    const QString text = model->headerData(logicalIndex, Qt::Horizontal).toString();
    if (!text.isEmpty()) {
        p->setFont(look.headerFont);
        p->setPen(look.headerTextColor);
        const QRect textRect(rect.left() + 6, rect.top() + 2, right - rect.left() - 6,
                             rect.height() - 4);
        const QFontMetrics fm(look.headerFont);
        // Wrap a long caption onto more lines when the header is high enough and every word
        // fits; otherwise one elided line.
        const QRect wrapped = fm.boundingRect(textRect, Qt::TextWordWrap, text);
        const bool wraps =
            wrapped.width() <= textRect.width() && wrapped.height() <= textRect.height();
        if (wraps)
            p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
        else
            p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                        fm.elidedText(text, Qt::ElideRight, textRect.width()));
    }
    p->restore();
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const {
    const QFontMetrics fm(m_grid->look().headerFont);
    const QString text = m_grid->model()->headerData(logicalIndex, Qt::Horizontal).toString();
    return {fm.horizontalAdvance(text) + 12 + (hasFilterButton(logicalIndex) ? 20 : 0) + 12,
            m_grid->look().headerHeight};
}

void GridHeader::mousePressEvent(QMouseEvent *event) {
    const int section = logicalIndexAt(event->position().toPoint());
    m_pressedOnButton = false;
    if (event->button() == Qt::LeftButton && section >= 0 &&
        filterButtonRect(section).adjusted(-2, -4, 2, 4).contains(event->position().toPoint())) {
        m_pressedOnButton = true;
        m_grid->showFilterPopup(m_grid->model()->columns()[section].key());
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent *event) {
    if (m_pressedOnButton) {
        m_pressedOnButton = false;
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent *event) {
    const int section = logicalIndexAt(event->position().toPoint());
    if (section != m_hover) {
        m_hover = section;
        viewport()->update();
    }
    QHeaderView::mouseMoveEvent(event);
}

void GridHeader::leaveEvent(QEvent *event) {
    m_hover = -1;
    viewport()->update();
    QHeaderView::leaveEvent(event);
}

void GridHeader::contextMenuEvent(QContextMenuEvent *event) {
    if (QMenu *menu = m_grid->columnChooserMenu(); menu && !menu->actions().isEmpty())
        menu->popup(event->globalPos());
}

GridIndicator::GridIndicator(Grid *grid) : QHeaderView(Qt::Vertical, grid), m_grid(grid) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
}

QSize GridIndicator::sizeHint() const {
    return {m_grid->look().indicatorWidth, QHeaderView::sizeHint().height()};
}

void GridIndicator::paintSection(QPainter *p, const QRect &rect, int logicalIndex) const {
    const GridLook &look = m_grid->look();
    p->fillRect(rect, look.indicatorColor);
    const QModelIndex current = m_grid->view()->currentIndex();
    if (current.isValid() && current.row() == logicalIndex)
        p->fillRect(rect.adjusted(1, 2, -1, -2), look.headerColor);
}

} // namespace zenvo
