#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

// The rows of a list control: a text and the caller's integer (ItemData) each.
// Windows show it through a view, so the rows exist once.
class ListRows : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int ItemDataRole = Qt::UserRole;
    // True for a row the view shows apart (a mail whose minute passed unsent).
    static constexpr int MarkedRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    // Appends, or inserts before row index when index is within the list.
    void AddItem(const QString &text, qint32 itemData = 0, int index = -1);
    void RemoveItem(int index);
    void Clear();
    // Out of range: an empty text and 0.
    QString List(int index) const { return inRange(index) ? rows_.at(index).text : QString(); }
    qint32 ItemData(int index) const { return inRange(index) ? rows_.at(index).itemData : 0; }
    int ListCount() const { return int(rows_.size()); }
    QStringList texts() const;
    // Row index of the first row whose ItemData is itemData, or -1.
    int indexOfItemData(qint32 itemData) const;
    // A row's mark goes with the row: a row removed or added anew is unmarked.
    void setMarked(int index, bool marked);
    bool marked(int index) const { return inRange(index) && rows_.at(index).marked; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        QString text;
        qint32 itemData = 0;
        bool marked = false;
    };
    bool inRange(int index) const { return index >= 0 && index < rows_.size(); }
    QList<Row> rows_;
};
