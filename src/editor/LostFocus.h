#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// Runs a field's lost-focus handler whenever the focus leaves it for another
// control of its window: by the keyboard, by a click on a button (which takes
// the focus before its click handler runs) and when the program moves the
// focus. Another window, application or popup taking the focus does not
// count: the field still holds it when its window comes back.
class LostFocus : public QObject
{
    Q_OBJECT
public:
    explicit LostFocus(QObject *parent = nullptr);

    void watch(QWidget *field, std::function<void()> handler);

    // Puts the focus on target. When the window cannot take the focus now
    // (not active), the handler of the field that held it runs all the same.
    void moveFocus(QWidget *target);

private:
    void focusChanged(QWidget *now);
    void leave();

    QHash<const QWidget *, std::function<void()>> handlers_;
    QPointer<QWidget> holder_;  // the watched field that holds the focus
};
