#include "X11TrayClicks.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>

#include <cstring>
#include <optional>
#include <tuple>

namespace {
// The fields of the core and the XInput 2 button events that matter here, at
// their offsets in the X protocol (XInput 2 events come as generic events).
constexpr quint8 ButtonPress = 4, ButtonRelease = 5, GenericEvent = 35;
constexpr quint16 XiButtonPress = 4, XiButtonRelease = 5;

template <typename T>
T field(const void *event, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(event) + offset, sizeof value);
    return value;
}

struct Button
{
    bool press = false;
    quint32 button = 0;
    quint32 time = 0;
    quint32 window = 0;
};

std::optional<Button> buttonEvent(const void *event)
{
    const quint8 type = field<quint8>(event, 0) & 0x7f;
    if (type == ButtonPress || type == ButtonRelease)
        return Button{type == ButtonPress, field<quint8>(event, 1), field<quint32>(event, 4), field<quint32>(event, 12)};
    if (type == GenericEvent) {
        const quint16 xiType = field<quint16>(event, 8);
        if (xiType == XiButtonPress || xiType == XiButtonRelease)
            return Button{xiType == XiButtonPress, field<quint32>(event, 16), field<quint32>(event, 12), field<quint32>(event, 24)};
    }
    return std::nullopt;
}

bool isTrayIconWindow(quint32 window)
{
    const QWidget *widget = QWidget::find(WId(window));
    return widget && widget->inherits("QSystemTrayIconSys");
}
} // namespace

bool X11TrayClicks::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const std::optional<Button> event = buttonEvent(message);
    if (!event || !isTrayIconWindow(event->window))
        return false;
    // The master pointer and the device itself may both report one press.
    const auto key = std::tuple(event->press, event->button, event->time);
    if (key == last_)
        return true;
    last_ = key;
    if (event->button == 1 && event->press) {
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        const bool second = leftPressed_ && event->time - lastLeftPress_ <= quint32(interval);
        leftPressed_ = !second;
        lastLeftPress_ = event->time;
        if (second)
            report_(TrayEvent::LeftDoubleClick);
    } else if (event->button == 1) {
        report_(TrayEvent::LeftUp);
    } else if (event->button == 3 && !event->press) {
        report_(TrayEvent::RightUp);
    }
    return true;
}
