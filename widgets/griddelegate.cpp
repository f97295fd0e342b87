#include "widgets/griddelegate.h"

#include "widgets/grid.h"
#include "widgets/gridmodel.h"
#include "widgets/statusicons.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

namespace zenvo {

namespace {

QRect aligned(const QRect &area, QSize size, Qt::Alignment alignment) {
    int x = area.left() + (area.width() - size.width()) / 2;
    if (alignment & Qt::AlignLeft)
        x = area.left();
    else if (alignment & Qt::AlignRight)
        x = area.right() - size.width() + 1;
    const int y = area.top() + (area.height() - size.height()) / 2;
    return {QPoint(x, y), size};
}

void drawPixmap(QPainter *p, const QRect &area, const QPixmap &pm, Qt::Alignment alignment) {
    if (pm.isNull())
        return;
    const QSize logical = (QSizeF(pm.size()) / pm.devicePixelRatio()).toSize();
    p->drawPixmap(aligned(area, logical, alignment), pm);
}

} // namespace

GridDelegate::GridDelegate(Grid *grid) : QStyledItemDelegate(grid), m_grid(grid), m_pictures(200) {}

QRect GridDelegate::checkBoxRect(const QRect &cell, Qt::Alignment alignment) {
    return aligned(cell.adjusted(kPadding, 0, -kPadding, 0), QSize(16, 16), alignment);
}

void GridDelegate::drawCheckBox(QPainter *p, const QRect &box, bool checked) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    if (checked) {
        p->setPen(QPen(QColor(0x00, 0x7C, 0xB0), 1));
        p->setBrush(QColor(0x00, 0x96, 0xD1));
    } else {
        p->setPen(QPen(QColor(0x8A, 0x96, 0xA3), 1));
        p->setBrush(Qt::white);
    }
    p->drawRoundedRect(r, 2.5, 2.5);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(r.left() + 3.5, r.center().y() + 0.5);
        tick.lineTo(r.left() + 6.5, r.bottom() - 4.0);
        tick.lineTo(r.right() - 3.2, r.top() + 4.0);
        p->setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->setBrush(Qt::NoBrush);
        p->drawPath(tick);
    }
    p->restore();
}

QPixmap GridDelegate::picture(int tableRow, int column) const {
    const quint64 key = (quint64(quint32(tableRow)) << 16) | quint64(column);
    if (QPixmap *pm = m_pictures.object(key))
        return *pm;
    const GridModel *model = m_grid->model();
    const int fc = model->fieldColumn(column);
    auto *pm = new QPixmap;
    if (fc >= 0 && model->table())
        pm->loadFromData(model->table()->blobValue(tableRow, fc));
    m_pictures.insert(key, pm);
    return *pm;
}

void GridDelegate::paintGroupRow(QPainter *p, const QStyleOptionViewItem &option,
                                 const QModelIndex &index, bool header) const {
    const GridLook &look = m_grid->look();
    const GridModel *model = m_grid->model();
    const QRect rect = option.rect;
    if (header) {
        p->fillRect(rect, look.groupRowColor);
        p->setPen(look.groupRowColor.darker(118));
        p->drawLine(rect.bottomLeft(), rect.bottomRight());
        const int group = index.data(GridModel::GroupRole).toInt();
        const bool expanded = model->isGroupExpanded(group);
        const QRect arrow(rect.left() + 8, rect.center().y() - 5, 10, 10);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(Qt::NoPen);
        p->setBrush(look.headerColor.darker(130));
        QPolygonF tri;
        if (expanded)
            tri << QPointF(arrow.left(), arrow.top() + 2) << QPointF(arrow.right(), arrow.top() + 2)
                << QPointF(arrow.center().x() + 0.5, arrow.bottom() - 1);
        else
            tri << QPointF(arrow.left() + 2, arrow.top())
                << QPointF(arrow.left() + 2, arrow.bottom())
                << QPointF(arrow.right() - 1, arrow.center().y() + 0.5);
        p->drawPolygon(tri);
        p->restore();
        QFont f = look.font;
        f.setBold(true);
        p->setFont(f);
        p->setPen(look.textColor);
        const QRect textRect = rect.adjusted(arrow.right() + 8 - rect.left(), 0, -kPadding, 0);
        p->drawText(
            textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            p->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
        if (option.state & QStyle::State_Selected) {
            p->setPen(QPen(look.selectionColor.darker(140), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(rect.adjusted(0, 0, -1, -1));
        }
        return;
    }
    p->fillRect(rect, look.footerColor);
    p->setPen(look.gridLineColor);
    p->drawLine(rect.topRight(), rect.bottomRight());
    p->setPen(look.footerColor.darker(125));
    p->drawLine(rect.bottomLeft(), rect.bottomRight());
    const QString text = index.data().toString();
    if (!text.isEmpty()) {
        QFont f = look.font;
        f.setBold(true);
        p->setFont(f);
        p->setPen(look.textColor);
        p->drawText(rect.adjusted(kPadding, 0, -kPadding, 0),
                    Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

void GridDelegate::paint(QPainter *p, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const {
    const GridModel *model = m_grid->model();
    const GridModel::RowKind rowKind = model->rowKind(index.row());
    p->save();
    if (rowKind != GridModel::RowKind::Data) {
        paintGroupRow(p, option, index, rowKind == GridModel::RowKind::GroupHeader);
        p->restore();
        return;
    }
    const GridLook &look = m_grid->look();
    const bool selected = option.state & QStyle::State_Selected;
    const QColor background = selected
                                  ? look.selectionColor
                                  : (index.row() % 2 == 0 ? look.evenRowColor : look.oddRowColor);
    const QColor textColor = selected ? look.selectionTextColor : look.textColor;
    const QRect cell = option.rect;
    p->fillRect(cell, background);
    p->setPen(look.gridLineColor);
    p->drawLine(cell.topRight(), cell.bottomRight());
    p->drawLine(cell.bottomLeft(), cell.bottomRight());

    const int column = index.column();
    const GridColumn &col = model->columns()[column];
    const int tableRow = model->tableRow(index.row());
    const ResultTable *table = model->table();
    const int fc = model->fieldColumn(column);
    const bool hasValue = table && fc >= 0 && !table->isNull(tableRow, fc);
    const qint64 number = hasValue ? table->intValue(tableRow, fc) : 0;
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    const QRect area = cell.adjusted(kPadding, 1, -kPadding, -1);
    const qreal dpr = p->device()->devicePixelRatio();

    switch (col.kind) {
    case CellKind::StatusIcon:
        if (hasValue)
            drawPixmap(p, area, statusIcon(int(number), dpr), alignment);
        break;
    case CellKind::FlagIcon:
        if (hasValue && number == 1)
            drawPixmap(p, area, flagIcon(1, dpr), alignment);
        break;
    case CellKind::PictureIcon:
        if (hasValue && number == 1)
            drawPixmap(p, area, cameraIcon(dpr), alignment);
        break;
    case CellKind::CheckBox:
        drawCheckBox(p, checkBoxRect(cell, alignment), hasValue && number == 1);
        break;
    case CellKind::Image:
        if (hasValue) {
            const QPixmap pm = picture(tableRow, column);
            if (!pm.isNull()) {
                const QSize size = pm.size().scaled(area.size(), Qt::KeepAspectRatio);
                p->setRenderHint(QPainter::SmoothPixmapTransform);
                p->drawPixmap(aligned(area, size.boundedTo(pm.size()), alignment), pm);
            }
        }
        break;
    case CellKind::Drawn:
        if (col.paint) {
            p->setFont(look.font);
            p->setPen(textColor);
            col.paint(*p, GridCell{cell, GridRow(table, tableRow), selected, background, textColor,
                                   look.font});
            break;
        }
        [[fallthrough]];
    default: {
        const QString text = model->displayText(tableRow, column);
        p->setFont(look.font);
        p->setPen(textColor);
        if (col.kind == CellKind::WrappedText || text.contains(u'\n')) {
            p->drawText(area, int(alignment) | Qt::TextWordWrap, text);
            break;
        }
        const QFontMetrics fm(look.font);
        const QString shown = fm.elidedText(text, Qt::ElideRight, area.width());
        const QString search = m_grid->searchText();
        if (!search.isEmpty() && (option.state & QStyle::State_HasFocus) &&
            (alignment & Qt::AlignLeft)) {
            const int w = fm.horizontalAdvance(shown.left(search.size()));
            const int h = fm.height();
            p->fillRect(QRect(area.left(), area.center().y() - h / 2, w, h),
                        QColor(0xFF, 0xD5, 0x4F));
        }
        p->drawText(area, int(alignment) | Qt::TextSingleLine, shown);
        break;
    }
    }

    if (look.focusRect && (option.state & QStyle::State_HasFocus)) {
        p->setPen(QPen(look.selectionColor.darker(150), 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    p->restore();
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const {
    const QFontMetrics fm(m_grid->look().font);
    return {fm.horizontalAdvance(index.data().toString()) + 2 * kPadding + 2,
            std::max(m_grid->look().rowHeight, option.rect.height())};
}

} // namespace zenvo
