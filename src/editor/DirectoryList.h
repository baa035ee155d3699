#pragma once

#include <QListWidget>

// A directory list: the current directory (Path) with its ancestors above it
// and its subdirectories below. A click only highlights an entry; the current
// directory changes when the program sets Path or the user double-clicks.
class DirectoryList : public QListWidget
{
    Q_OBJECT
public:
    explicit DirectoryList(QWidget *parent = nullptr);

    QString Path() const { return path_; }
    // Makes directory the current one; false, and nothing changes, when it
    // cannot be listed. Emits pathChanged when the current directory changes.
    bool setPath(const QString &directory);
    // The full path of the highlighted entry; the current directory when
    // nothing else is highlighted.
    QString highlighted() const;

signals:
    void pathChanged();
    void entryClicked();

private:
    void fill();

    QString path_;
};
