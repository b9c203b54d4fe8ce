#include "platform/key_repeat_guard.h"

#include <QKeyEvent>
#include <QWidget>

bool KeyRepeatGuard::eventFilter(QObject* watched, QEvent* event)
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
