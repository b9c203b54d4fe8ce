#include "platform/linux/dialogs/dialog_window.h"

#include "platform/dialog_ids.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
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

// The dialog.

Dialog::Dialog(const DialogTemplate& dialogTemplate, Dialog* parent)
    : m_template(LoadDialogTemplate(dialogTemplate))
    , m_pParent(parent ? parent : mainWindow())
    , m_native(new Native)
{
    m_native->window = new DialogWindow(*this, m_template, m_pParent ? windowOf(*m_pParent) : nullptr);
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
