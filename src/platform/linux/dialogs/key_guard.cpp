#include "platform/linux/dialogs/key_guard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <xcb/xproto.h>

bool KeyGuard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & ~0x80;
    const bool sent = (event->response_type & 0x80) != 0;
    if (!sent || (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE))
        return false;
    const QWindow* focus = QGuiApplication::focusWindow();
    return focus && static_cast<const xcb_key_press_event_t*>(message)->event != focus->winId();
}

bool KeyGuard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // Key events reach the window object first, then its focus widget:
    // judge them once, at the widget.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    Press& press = m_presses[key->key()];
    if (type == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            press = {nullptr, key->timestamp()};
        return false;
    }
    // A repeat comes as a release and a press with the same time; the time
    // tells it even when the pair arrived too far apart to be flagged.
    const bool repeated = key->isAutoRepeat() || (press.releasedAt != 0 && key->timestamp() == press.releasedAt);
    if (!repeated) {
        press.window = widget->window();
        return false;
    }
    if (press.window == widget->window())
        return false;
    // An accepted override keeps the key from the shortcuts; the press that
    // follows is dropped here too.
    event->accept();
    return true;
}
