#include "ListRows.h"

void ListRows::AddItem(const QString &text, qint32 itemData, int index)
{
    if (index < 0 || index > rows_.size())
        index = int(rows_.size());
    beginInsertRows({}, index, index);
    rows_.insert(index, Row{text, itemData, false});
    endInsertRows();
}

void ListRows::RemoveItem(int index)
{
    if (index < 0 || index >= rows_.size())
        return;
    beginRemoveRows({}, index, index);
    rows_.removeAt(index);
    endRemoveRows();
}

void ListRows::Clear()
{
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QStringList ListRows::texts() const
{
    QStringList result;
    result.reserve(rows_.size());
    for (const Row &row : rows_)
        result << row.text;
    return result;
}

int ListRows::indexOfItemData(qint32 itemData) const
{
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].itemData == itemData)
            return i;
    }
    return -1;
}

void ListRows::setMarked(int index, bool marked)
{
    if (!inRange(index) || rows_[index].marked == marked)
        return;
    rows_[index].marked = marked;
    emit dataChanged(this->index(index), this->index(index), {MarkedRole});
}

int ListRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant ListRows::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row &row = rows_[index.row()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return row.text;
    if (role == ItemDataRole)
        return row.itemData;
    if (role == MarkedRole)
        return row.marked;
    return {};
}
