#include "platform/linux/dialogs/dialog_window.h"

#include "platform/dialog_ids.h"
#include "platform/linux/ansi_code_page.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

// A dialog's base units: the average width of the letters A-Z a-z and the
// height of its font, in pixels (the Windows rule).
struct BaseUnits {
    int x;
    int y;
};

BaseUnits baseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    int letters = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        letters += metrics.horizontalAdvance(QLatin1Char(letter))
            + metrics.horizontalAdvance(QLatin1Char(char(letter - 'A' + 'a')));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int unitsAcross(int units, int baseUnitX)
{
    return (units * baseUnitX + 2) / 4;
}

int unitsDown(int units, int baseUnitY)
{
    return (units * baseUnitY + 4) / 8;
}

// A label shows its text with line ends made Qt's own, and keeps the text
// as it was given so that reading it back answers the same bytes.
const char* const kRawText = "rawText";

void setLabelText(QLabel* label, const std::string& text)
{
    label->setProperty(kRawText, QByteArray::fromStdString(text));
    label->setText(displayText(text));
    label->setAccessibleDescription(label->text());
}

QWidget* createControl(const ControlTemplate& control, QWidget* parent)
{
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        setLabelText(label, control.text ? control.text : "");
        label->setWordWrap(control.style & WordWrap);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(control.style & Border);
        return edit;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(true);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return nullptr;
}

} // namespace

namespace {

constexpr int kIconSizes[] = {48, 128, 256};

// Decodes an icon resource's images the first time one is drawn, so that
// windows which never show their icon never pay for it.
class ResourceIconEngine : public QIconEngine {
public:
    explicit ResourceIconEngine(QString name)
        : m_name(std::move(name))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : kIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QIconEngine* clone() const override { return new ResourceIconEngine(m_name); }

private:
    const QIcon& loaded()
    {
        if (m_loaded.isNull()) {
            for (int size : kIconSizes)
                m_loaded.addFile(QStringLiteral(":/ICON/%1/%2").arg(m_name).arg(size), QSize(size, size));
        }
        return m_loaded;
    }

    QString m_name;
    QIcon m_loaded;
};

} // namespace

IconHandle LoadIcon(int resourceId)
{
    // Loaded once each and kept, as Windows keeps a shared icon.
    static std::map<int, QIcon> loaded;
    auto it = loaded.find(resourceId);
    if (it == loaded.end())
        it = loaded.emplace(resourceId, QIcon(new ResourceIconEngine(QString::number(resourceId)))).first;
    return &it->second;
}

const QIcon& iconOf(IconHandle icon)
{
    return *static_cast<const QIcon*>(icon);
}

int SystemIconWidth()
{
    return QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
}

int SystemIconHeight()
{
    return SystemIconWidth();
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

// The dialog.

Dialog::Dialog(const DialogTemplate& dialogTemplate, Dialog* parent)
    : m_template(dialogTemplate)
    , m_pParent(parent ? parent : mainWindow())
    , m_native(new Native)
{
    m_native->window = new DialogWindow(*this, dialogTemplate, m_pParent ? windowOf(*m_pParent) : nullptr);
    AttachWindow(m_native->window.data());
}

Dialog::~Dialog()
{
    delete m_native->window.data();
}

DialogWindow::DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent)
    , m_dialog(dialog)
{
    setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | ((dialogTemplate.style & MinimizeBox) ? Qt::WindowMinimizeButtonHint : Qt::WindowType(0)));

    setFont(dialogFont(dialogTemplate.pointSize));
    const BaseUnits units = baseUnitsOf(font());
    m_baseUnitX = units.x;
    m_baseUnitY = units.y;

    createControls(dialogTemplate);
    const QRect frame = mapDialogRect(0, 0, dialogTemplate.cx, dialogTemplate.cy);
    setFixedSize(frame.size());

    if ((dialogTemplate.style & CenterOnScreen) || !parentWidget()) {
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
}

QRect DialogWindow::mapDialogRect(int x, int y, int cx, int cy) const
{
    return QRect(unitsAcross(x, m_baseUnitX), unitsDown(y, m_baseUnitY), unitsAcross(cx, m_baseUnitX),
                 unitsDown(cy, m_baseUnitY));
}

QFont dialogFont(int pointSize)
{
    // Templates name a Windows face; as Wine does, the system's own
    // user-interface face stands in for it, at the template's size.
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

QPushButton* layOutListDialog(QDialog* dialog, QWidget* prompt, QWidget* list)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(prompt);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    return ok;
}

QSize dialogUnitsToPixels(const QFont& font, int cx, int cy)
{
    const BaseUnits units = baseUnitsOf(font);
    return QSize(unitsAcross(cx, units.x), unitsDown(cy, units.y));
}

void DialogWindow::createControls(const DialogTemplate& dialogTemplate)
{
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = createControl(control, this);
        widget->setGeometry(mapDialogRect(control.x, control.y, control.cx, control.cy));
        // An icon control's text numbers the icon ("#128"), drawn at the
        // control's size.
        if (control.kind == ControlKind::Icon)
            static_cast<QLabel*>(widget)->setPixmap(
                iconOf(LoadIcon(std::atoi(control.text + 1))).pixmap(widget->size()));
        widget->setFocusPolicy((control.style & TabStop) ? Qt::StrongFocus : Qt::NoFocus);
        if (control.style & Hidden)
            widget->hide();
        if (control.style & TabStop)
            m_tabOrder.append(widget);
        if (control.id != IDC_STATIC)
            m_items[control.id] = widget;
        if (control.nameStringId)
            widget->setAccessibleName(QString::fromStdString(LoadString(control.nameStringId)));
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] {
                if (id == IDOK)
                    m_dialog.OnOK();
                else if (id == IDCANCEL)
                    m_dialog.OnCancel();
                else
                    m_dialog.OnCommand(id);
            });
        }
    }
    for (int i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

QWidget* DialogWindow::item(int id) const
{
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

CWnd Dialog::GetDlgItem(int id) const
{
    return CWnd(windowOf(*this)->item(id));
}

void Dialog::DDX_Control(int id, CWnd& control) const
{
    control.m_hWnd = windowOf(*this)->item(id);
}

int Dialog::DoModal()
{
    if (OnInitDialog())
        windowOf(*this)->focusFirstTabStop();
    return windowOf(*this)->exec();
}

void DialogWindow::focusFirstTabStop()
{
    for (QWidget* widget : std::as_const(m_tabOrder)) {
        if (widget->isEnabled() && !widget->isHidden()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Dialog::EndDialog(int result)
{
    windowOf(*this)->done(result);
}

void Dialog::SetIcon(IconHandle icon, bool)
{
    windowOf(*this)->setWindowIcon(iconOf(icon));
}

bool Dialog::IsIconic() const
{
    return windowOf(*this)->isMinimized();
}

ClientSize Dialog::GetClientSize() const
{
    const QSize size = windowOf(*this)->size();
    return {size.width(), size.height()};
}

// Linux window managers draw a minimised window themselves.
void Dialog::OnPaint()
{
}

void DialogWindow::paintEvent(QPaintEvent*)
{
    m_dialog.OnPaint();
}

void DialogWindow::reject()
{
    m_dialog.OnCancel();
}

void DialogWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_dialog.OnCancel();
}

QMenu* DialogWindow::systemMenu()
{
    if (!m_systemMenu) {
        m_systemMenu = new QMenu(this);
        CMenu menu = m_dialog.GetSystemMenu();
        menu.AppendItem(SC_MINIMIZE, LoadString(IDS_SC_MINIMIZE));
        menu.AppendItem(SC_CLOSE, LoadString(IDS_SC_CLOSE));
    }
    return m_systemMenu;
}

void Dialog::ShowWarning(const std::string& caption, const std::string& format, const std::string& character)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(FormatText(format, {character})), QMessageBox::Ok, windowOf(*this));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // The dialog takes the keyboard back, as Windows gives it back to a
    // message box's owner, with or without a window manager to do it.
    windowOf(*this)->activateWindow();
}

CMenu Dialog::GetSystemMenu()
{
    CMenu menu;
    menu.m_hMenu = windowOf(*this)->systemMenu();
    menu.m_pOwner = this;
    return menu;
}

void Dialog::OnSysCommand(unsigned id, long)
{
    if ((id & 0xFFF0) == SC_MINIMIZE)
        windowOf(*this)->showMinimized();
    else if ((id & 0xFFF0) == SC_CLOSE)
        windowOf(*this)->close();
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_systemMenu) {
        QDialog::contextMenuEvent(event);
        return;
    }
    m_systemMenu->popup(event->globalPos());
}

void DialogWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_systemMenu && event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        m_systemMenu->popup(mapToGlobal(QPoint(0, 0)));
        return;
    }
    QDialog::keyPressEvent(event);
}
