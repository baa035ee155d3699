#include "MarkedRowDelegate.h"

#include "ListRows.h"

#include <QApplication>
#include <QStyle>

void MarkedRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(ListRows::MarkedRole).toBool())
        return;
    option->backgroundBrush = QColor(255, 222, 173);
    option->palette.setColor(QPalette::Text, QColor(150, 60, 0));
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    option->decorationSize = QSize(option->fontMetrics.height(), option->fontMetrics.height());
}
