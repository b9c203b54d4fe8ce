#include "support/modal_script.h"

#include "platform/linux/dialogs/dialog_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {
const char* const kAnswered = "answeredByScript";
constexpr int kPollMs = 10;
constexpr int kStuckTicks = 500;
} // namespace

ModalScript::ModalScript()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
    m_timer.start(kPollMs);
}

ModalScript::~ModalScript()
{
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " dialog(s) expected but never opened";
}

ModalScript& ModalScript::then(Step step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

void ModalScript::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_lastModal) {
        m_lastModal = modal;
        m_idleTicks = 0;
    }
    if (!modal || !modal->isVisible())
        return;
    if (modal->property(kAnswered).toBool() || m_steps.empty()) {
        if (++m_idleTicks == kStuckTicks) {
            ADD_FAILURE() << "the dialog titled \"" << modal->windowTitle().toStdString()
                          << "\" stayed open with nothing to answer it";
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(0);
        }
        return;
    }
    modal->setProperty(kAnswered, true);
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    // Queued, so that a step which opens a nested dialog leaves this timer
    // free to answer it.
    QMetaObject::invokeMethod(
        this, [step = std::move(step), modal] { step(modal); }, Qt::QueuedConnection);
}

void clickItem(QWidget* dialog, int id)
{
    auto* button = qobject_cast<QPushButton*>(widgetOf(dialogOf(dialog)->GetDlgItem(id)));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickButton(QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button " << text.toStdString();
}

void pressKey(QWidget* dialog, int key)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog;
    QTest::keyClick(target, Qt::Key(key));
}
