#pragma once

#include "platform/dialog.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <string>

class QFont;
class QIcon;
class QLabel;
class QMenu;
class QPushButton;

// The QDialog behind a Dialog: the template's controls as widgets, laid out
// in dialog units of the dialog's font, in tab order. Signal-slot
// connections made here play the part of the message map.
class DialogWindow : public QDialog {
    Q_OBJECT

public:
    DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent);

    Dialog& dialog() const { return m_dialog; }
    QWidget* item(int id) const;
    // Pixels for dialog units of this dialog's font.
    QRect mapDialogRect(int x, int y, int cx, int cy) const;
    // Made on first use, with Minimize and Close.
    QMenu* systemMenu();
    void focusFirstTabStop();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls(const DialogTemplate& dialogTemplate);

    Dialog& m_dialog;
    std::map<int, QWidget*> m_items;
    QList<QWidget*> m_tabOrder;
    QMenu* m_systemMenu = nullptr;
    int m_baseUnitX = 0;
    int m_baseUnitY = 0;
};

struct Dialog::Native {
    QPointer<DialogWindow> window;
};

// The widgets behind the neutral handles.
QWidget* widgetOf(const CWnd& window);
DialogWindow* windowOf(const Dialog& dialog);
// The Dialog a modal window belongs to, or none.
Dialog* dialogOf(QWidget* window);
const QIcon& iconOf(IconHandle icon);

// The font dialogs are drawn in, at `pointSize`.
QFont dialogFont(int pointSize);
// Pixels for dialog units of `font`: across, a quarter of the average width
// of the letters A-Z a-z; down, an eighth of the font's height.
QSize dialogUnitsToPixels(const QFont& font, int cx, int cy);

// Lays a list dialog out as the shell's are: the prompt above, the list
// filling the middle, OK (the default) and Cancel at the bottom right.
// Answers the OK button.
QPushButton* layOutListDialog(QDialog* dialog, QWidget* prompt, QWidget* list);

// Texts in the status area and prompts end a line at CR, LF or CR LF.
QString displayText(const std::string& text);
// A label shows its text with line ends made Qt's own, and keeps the text
// as it was given (in the property kRawText) so that reading it back
// answers the same bytes.
extern const char* const kRawText;
void setLabelText(QLabel* label, const std::string& text);
