#include "LostFocus.h"

#include <QApplication>

LostFocus::LostFocus(QObject *parent) : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

void LostFocus::watch(QWidget *field, std::function<void()> handler)
{
    handlers_.insert(field, std::move(handler));
}

void LostFocus::moveFocus(QWidget *target)
{
    target->setFocus(Qt::OtherFocusReason);
    if (holder_ && holder_ != target)
        leave();
    if (handlers_.contains(target))
        holder_ = target;
}

void LostFocus::focusChanged(QWidget *now)
{
    if (!now)
        return;
    // Checked on every change, not only on the field's own focus-out, so that a
    // field given the focus while its window was inactive is not passed over.
    if (holder_ && now != holder_ && now->window() == holder_->window())
        leave();
    if (handlers_.contains(now))
        holder_ = now;
}

void LostFocus::leave()
{
    const auto handler = handlers_.value(holder_);
    holder_ = nullptr;
    if (handler)
        handler();
}
