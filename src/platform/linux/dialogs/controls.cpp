// The controls behind the neutral handles: text, state, progress, the
// window menu's items and the minimised window's painting.
#include "platform/linux/dialogs/dialog_window.h"

#include "platform/linux/ansi_code_page.h"

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

const char* const kRawText = "rawText";

void setLabelText(QLabel* label, const std::string& text)
{
    label->setProperty(kRawText, QByteArray::fromStdString(text));
    label->setText(displayText(text));
    label->setAccessibleDescription(label->text());
}

QString displayText(const std::string& text)
{
    QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// The widgets behind the handles.

QWidget* widgetOf(const CWnd& window)
{
    return static_cast<QWidget*>(window.GetSafeHwnd());
}

DialogWindow* windowOf(const Dialog& dialog)
{
    return dialog.native().window;
}

Dialog* dialogOf(QWidget* window)
{
    auto* dialogWindow = qobject_cast<DialogWindow*>(window);
    return dialogWindow ? &dialogWindow->dialog() : nullptr;
}

std::string CWnd::GetWindowText() const
{
    const QWidget* widget = widgetOf(*this);
    QString text;
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        text = edit->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->property(kRawText).toByteArray().toStdString();
    else if (const auto* button = qobject_cast<const QPushButton*>(widget))
        text = button->text();
    else if (widget)
        text = widget->windowTitle();
    return text.toUtf8().toStdString();
}

std::string CWnd::FirstUnstorableCharacter() const
{
    return AnsiCodePage::firstUnstorable(GetWindowText(), AnsiCodePage::current());
}

void CWnd::SetWindowText(const std::string& text)
{
    QWidget* widget = widgetOf(*this);
    const QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(shown);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        setLabelText(label, text);
    else if (auto* button = qobject_cast<QPushButton*>(widget))
        button->setText(shown);
    else if (widget)
        widget->setWindowTitle(shown);
}

void CWnd::EnableWindow(bool enable)
{
    widgetOf(*this)->setEnabled(enable);
}

bool CWnd::IsWindowEnabled() const
{
    return widgetOf(*this)->isEnabled();
}

void CWnd::ShowWindow(bool show)
{
    widgetOf(*this)->setVisible(show);
}

bool CWnd::IsWindowVisible() const
{
    return widgetOf(*this)->isVisible();
}

void CWnd::SetFocus()
{
    widgetOf(*this)->setFocus();
}

namespace {
QProgressBar* barOf(const CProgressCtrl& control)
{
    return static_cast<QProgressBar*>(widgetOf(control));
}
} // namespace

void CProgressCtrl::SetRange(int lower, int upper)
{
    barOf(*this)->setRange(lower, upper);
}

void CProgressCtrl::SetPos(int position)
{
    barOf(*this)->setValue(position);
}

void CMenu::AppendSeparator()
{
    static_cast<QMenu*>(m_hMenu)->addSeparator();
}

void CMenu::AppendItem(unsigned id, const std::string& text)
{
    auto* menu = static_cast<QMenu*>(m_hMenu);
    QAction* action = menu->addAction(QString::fromUtf8(text.data(), qsizetype(text.size())));
    Dialog* owner = m_pOwner;
    QObject::connect(action, &QAction::triggered, menu, [owner, id] { owner->OnSysCommand(id, 0); });
}

CPaintDC::CPaintDC(Dialog& window)
    : m_window(window)
    , m_hDC(new QPainter(windowOf(window)))
{
}

CPaintDC::~CPaintDC()
{
    delete static_cast<QPainter*>(m_hDC);
}

void CPaintDC::EraseIconBackground()
{
    DialogWindow* window = windowOf(m_window);
    static_cast<QPainter*>(m_hDC)->fillRect(window->rect(), window->palette().window());
}

void CPaintDC::DrawIcon(int x, int y, IconHandle icon)
{
    static_cast<QPainter*>(m_hDC)->drawPixmap(x, y, iconOf(icon).pixmap(SystemIconWidth(), SystemIconHeight()));
}
