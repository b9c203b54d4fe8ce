#pragma once

#include <QObject>
#include <QPointer>

#include <map>

class QWidget;

// A key held down, or left down because its release was lost when its
// window closed, is repeated by the window system into whichever window
// takes the focus next. Without a guard one Return would press the default
// button of every dialog that follows. A window acts only on keys pressed
// in it: repeats of a key that went down in another window, or in one since
// closed, are dropped before anything sees them.
class KeyRepeatGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Press {
        QPointer<QWidget> window; // where the key went down; null once released
        unsigned long releasedAt = 0; // the time of its last release
    };
    std::map<int, Press> m_presses;
};
