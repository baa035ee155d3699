#pragma once

#include "TrayEvent.h"

#include <QAbstractNativeEventFilter>

#include <functional>
#include <tuple>

// On X11 without a StatusNotifier host the tray icon is one of Qt's own
// windows, embedded in the tray: a modal window blocks its mouse events, so
// "Quitter" could not be reached while the editor is open, and Qt reports a
// left press as a click. This filter takes the icon window's button events
// before Qt does and reports them as tray events: left release, left press
// within the double-click time as a double-click, right release.
class X11TrayClicks : public QAbstractNativeEventFilter
{
public:
    explicit X11TrayClicks(std::function<void(TrayEvent code)> report) : report_(std::move(report)) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    std::function<void(TrayEvent)> report_;
    std::tuple<bool, quint32, quint32> last_;  // press, button, time of the last event taken
    quint32 lastLeftPress_ = 0;
    bool leftPressed_ = false;
};
