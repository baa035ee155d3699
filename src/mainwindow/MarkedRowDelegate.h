#pragma once

#include <QStyledItemDelegate>

// Shows the rows a list marks (ListRows::MarkedRole) in orange with a clock
// pictogram; the row text stays as it is.
class MarkedRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
