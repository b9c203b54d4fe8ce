#pragma once

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class QWidget;

// Answers modal dialogs from a timer, the way a user would: each step runs
// once, in order, on the next modal window that opens (the main dialog
// included). A modal window left open for seconds with nothing to answer it
// fails the test and is closed, so a missing step cannot hang the run.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget* dialog)>;

    ModalScript();
    ~ModalScript() override;

    ModalScript& then(Step step);
    bool finished() const { return m_steps.empty(); }

private:
    void poll();

    QTimer m_timer;
    std::deque<Step> m_steps;
    QWidget* m_lastModal = nullptr;
    int m_idleTicks = 0;
};

// Presses a dialog button with the mouse, or a key on the focused widget.
void clickItem(QWidget* dialog, int id);
// Clicks the push button of `dialog` that shows `text`.
void clickButton(QWidget* dialog, const QString& text);
void pressKey(QWidget* dialog, int key);
