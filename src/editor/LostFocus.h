#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// Runs a field's lost-focus handler whenever the focus leaves it: by the
// keyboard, by a click on a button (which takes the focus before its click
// handler runs) and when the program moves the focus. The focus going to
// another application or a popup does not count: the field keeps it.
class LostFocus : public QObject
{
    Q_OBJECT
public:
    explicit LostFocus(QObject *parent = nullptr) : QObject(parent) {}

    void watch(QWidget *field, std::function<void()> handler);

    // Puts the focus on target. When the window cannot take the focus now
    // (not active), the handler of the field that held it runs all the same.
    void moveFocus(QWidget *target);

    // The watched field that holds the focus, if any.
    QWidget *holder() const { return holder_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leave(QWidget *field);

    QHash<QObject *, std::function<void()>> handlers_;
    QPointer<QWidget> holder_;
};
