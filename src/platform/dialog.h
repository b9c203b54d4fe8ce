#pragma once

#include "platform/dialog_template.h"

#include <QDialog>

#include <map>
#include <string>

class QFont;
class QIcon;
class QMenu;
class QPushButton;

// A modal dialog built from a template, with the life cycle Windows dialogs
// have: OnInitDialog before the window is first shown, OnOK and OnCancel
// for the buttons, Enter for the default button, Escape and the close box
// for cancel, DoModal answering the code passed to EndDialog.
class Dialog : public QDialog {
    Q_OBJECT

public:
    // Without a parent the dialog is owned by the application's main window.
    explicit Dialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

    int DoModal();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    // CR, LF and CR LF each end a line; texts are always plain.
    void SetDlgItemText(int id, const std::string& text);

    // The application's main window, the default owner of new dialogs.
    static QWidget* mainWindow();
    static void setMainWindow(QWidget* window);

    // Pixels for dialog units of this dialog's font.
    QRect mapDialogRect(int x, int y, int cx, int cy) const;

    // The window menu, offered as the dialog's context menu (right button,
    // the Menu key or Shift+F10) since Linux window managers own the real
    // one. Made on first use with Minimize and Close.
    QMenu* GetSystemMenu();
    void AppendMenuItem(QMenu* menu, unsigned id, const std::string& text);
    void AppendMenuSeparator(QMenu* menu);
    // Handles a window-menu command; the default minimizes or closes.
    virtual void OnSysCommand(unsigned id, long param);

protected:
    // Runs before the first showing. Answers true to put the focus on the
    // first enabled tab stop, false when it placed the focus itself.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Copies member data to the controls (save false) or back (save true).
    virtual void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate);

    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls(const DialogTemplate& dialogTemplate);
    void focusFirstTabStop();

    std::map<int, QWidget*> m_items;
    QList<QWidget*> m_tabOrder;
    QMenu* m_systemMenu = nullptr;
    int m_baseUnitX = 0;
    int m_baseUnitY = 0;
};

// The font dialogs are drawn in, at `pointSize`.
QFont dialogFont(int pointSize);
// Pixels for dialog units of `font`: across, a quarter of the average width
// of the letters A-Z a-z; down, an eighth of the font's height.
QSize dialogUnitsToPixels(const QFont& font, int cx, int cy);

// Lays a list dialog out as the shell's are: the prompt above, the list
// filling the middle, OK (the default) and Cancel at the bottom right.
// Answers the OK button.
QPushButton* layOutListDialog(QDialog* dialog, QWidget* prompt, QWidget* list);

// An icon resource in all the sizes it comes in, read only when drawn.
QIcon LoadIcon(const QString& name);

// Texts in the status area and prompts end a line at CR, LF or CR LF.
QString displayText(const std::string& text);
