#pragma once

#include <QString>

// Button sets and answers of the program's message boxes.
namespace MsgBox {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBox

// Modal message box: blocks until the user answers and returns the button pressed.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual int show(const QString &prompt, int buttons, const QString &title) = 0;
};

// Tells the user of a failure without blocking anything: no nested event loop,
// so it is safe inside a timer pass.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notifyError(const QString &title, const QString &text) = 0;
    // Good news after a failure: brief, and gone by itself where the desktop allows.
    virtual void notifyInfo(const QString &title, const QString &text) = 0;
};
