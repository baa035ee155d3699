#include "MarkedRowDelegate.h"

#include "ListRows.h"
#include "RowPictograms.h"

void MarkedRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(ListRows::MarkedRole).toBool()) {
        static const QIcon warning = RowPictograms::icon(RowPictograms::Kind::Missed);
        option->backgroundBrush = QColor(255, 222, 173);
        option->palette.setColor(QPalette::Text, QColor(150, 60, 0));
        option->icon = warning;
    }
    // Room for a pictogram in every row, drawn or not.
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = QSize(option->fontMetrics.height(), option->fontMetrics.height());
}
