#pragma once

#include <QString>

// Button sets and answers of the program's message boxes, by the values the
// desktop's message box takes and returns.
namespace MsgBox {
// What the box offers: one button set, optionally combined with an icon.
enum Buttons : int {
    OkOnly = 0,
    YesNo = 4,
    ButtonSet = 7,  // the bits that choose the button set; the icon lies above them
    Critical = 16,
};
constexpr Buttons operator|(Buttons a, Buttons b) { return Buttons(int(a) | int(b)); }
constexpr Buttons buttonSet(Buttons buttons) { return Buttons(buttons & ButtonSet); }

// The button the user pressed.
enum Answer : int {
    Ok = 1,
    Yes = 6,
    No = 7,
};
} // namespace MsgBox

// Modal message box: blocks until the user answers and returns the button pressed.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual MsgBox::Answer show(const QString &prompt, MsgBox::Buttons buttons, const QString &title) = 0;
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

    // Notices about one thing (a message of the outbox, named by `about`): where
    // the desktop keeps notices, a later one about the same thing takes the
    // place of the earlier, and withdraw() takes it back.
    virtual void notifyErrorAbout(const QString &about, const QString &title, const QString &text)
    {
        (void)about;
        notifyError(title, text);
    }
    virtual void notifyInfoAbout(const QString &about, const QString &title, const QString &text)
    {
        (void)about;
        notifyInfo(title, text);
    }
    virtual void withdraw(const QString &about) { (void)about; }
    // A notice that must outlive the program, which is about to end. False when
    // the desktop has nowhere to keep it: the caller then asks with a box.
    virtual bool notifyLasting(const QString &title, const QString &text)
    {
        (void)title, (void)text;
        return false;
    }
};
