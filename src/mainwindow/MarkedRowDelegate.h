#pragma once

#include <QStyledItemDelegate>

// Shows the rows a list marks (ListRows::MarkedRole) in orange with a warning
// pictogram; the row text stays as it is. Every row keeps room for a
// pictogram at its head, so that the texts' columns stay in line whether a
// row has one or not.
class MarkedRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
