#pragma once

#include <vector>

// A dialog described as data, in dialog units: a quarter of the font's
// average character width across, an eighth of its height down.
enum class ControlKind {
    Static,
    Icon,
    Edit,
    PushButton,
    DefPushButton,
    Progress,
};

enum ControlStyle : unsigned {
    TabStop = 0x01,
    Hidden = 0x02,
    NoPrefix = 0x04,
    WordWrap = 0x08,
    Border = 0x10,
    AutoHScroll = 0x20,
    Smooth = 0x40,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, cx, cy;
    const char* text;
    unsigned style;
    // The string that names a control with no text of its own to a screen
    // reader (a progress bar, an icon, a field, a status line), or 0.
    int nameStringId = 0;
};

enum DialogStyle : unsigned {
    MinimizeBox = 0x01,
    CenterOnScreen = 0x02,
    // The program's main window: visible from the start, on the task bar.
    AppWindow = 0x04,
};

struct DialogTemplate {
    int id;
    // The id's name: the context translators see the dialog's texts under.
    const char* name;
    const char* title;
    int cx, cy;
    const char* fontFace;
    int pointSize;
    unsigned style;
    // In tab order.
    std::vector<ControlTemplate> controls;
};

// The dialog resource with the template's id, in the program's language: on
// Windows the dialog manager loads it by id; the Linux build translates the
// compiled-in template (res/resources_in_code.cpp).
const DialogTemplate& LoadDialogTemplate(const DialogTemplate& english);
