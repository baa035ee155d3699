#include "DirectoryList.h"

#include <QDir>

namespace {
constexpr int PathRole = Qt::UserRole;
}

DirectoryList::DirectoryList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit entryClicked();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        setPath(item->data(PathRole).toString());
    });
}

bool DirectoryList::setPath(const QString &directory)
{
    const QDir dir(directory);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QString path = dir.absolutePath();
    if (path == path_)
        return true;
    path_ = path;
    fill();
    emit pathChanged();
    return true;
}

QString DirectoryList::highlighted() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->data(PathRole).toString() : path_;
}

void DirectoryList::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    QStringList ancestors;
    for (QDir dir(path_);; ) {
        ancestors.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &ancestor : std::as_const(ancestors)) {
        const QString name = QDir(ancestor).isRoot() ? QDir::toNativeSeparators(ancestor) : QDir(ancestor).dirName();
        auto *item = new QListWidgetItem(QString(2 * depth++, QLatin1Char(' ')) + name, this);
        item->setData(PathRole, ancestor);
    }
    setCurrentRow(int(ancestors.size()) - 1);
    const QDir current(path_);
    for (const QString &name : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto *item = new QListWidgetItem(QString(2 * depth, QLatin1Char(' ')) + name, this);
        item->setData(PathRole, current.filePath(name));
    }
}
