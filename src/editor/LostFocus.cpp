#include "LostFocus.h"

#include <QFocusEvent>

void LostFocus::watch(QWidget *field, std::function<void()> handler)
{
    handlers_.insert(field, std::move(handler));
    field->installEventFilter(this);
}

void LostFocus::moveFocus(QWidget *target)
{
    target->setFocus(Qt::OtherFocusReason);
    if (holder_ && holder_ != target)
        leave(holder_);
    if (handlers_.contains(target))
        holder_ = target;
}

bool LostFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        holder_ = static_cast<QWidget *>(watched);
    } else if (event->type() == QEvent::FocusOut && watched == holder_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leave(holder_);
    }
    return QObject::eventFilter(watched, event);
}

void LostFocus::leave(QWidget *field)
{
    holder_ = nullptr;
    if (const auto handler = handlers_.value(field))
        handler();
}
