#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

#include <map>

class QWidget;

// A key acts on the window it is meant for, once.
//
// A key held down, or left down because its release was lost when its
// window closed, is repeated by the window system into whichever window
// takes the focus next: without a guard one Return would press the default
// button of every dialog that follows. Repeats of a key that went down in
// another window, or in one since closed, are dropped.
//
// A key event sent to one window (window automation does so) is delivered
// by the toolkit to whichever window holds the focus. One sent to a window
// of ours that does not hold it is dropped.
class KeyGuard : public QObject, public QAbstractNativeEventFilter {
public:
    using QObject::QObject;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Press {
        QPointer<QWidget> window; // where the key went down; null once released
        unsigned long releasedAt = 0; // the time of its last release
    };
    std::map<int, Press> m_presses;
};
