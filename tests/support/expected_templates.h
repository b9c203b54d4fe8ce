#pragma once

#include "platform/dialog_template.h"

#include <string>
#include <vector>

// The four dialogs as they must be laid out, written out here rather than
// read back through the program's templates, in dialog units and tab order.
struct ExpectedControl {
    int id;
    ControlKind kind;
    int x, y, cx, cy;
    std::string text;
    unsigned style;
};

struct ExpectedDialog {
    int id;
    std::string title;
    int cx, cy;
    unsigned style;
    std::vector<ExpectedControl> controls;
};

inline std::vector<ExpectedDialog> expectedDialogs()
{
    const auto conflict = [](int id, const std::string& title, const std::string& prompt) {
        return ExpectedDialog{id,
                              title,
                              129,
                              86,
                              0,
                              {
                                  {1, ControlKind::DefPushButton, 7, 65, 55, 14, "&Save", TabStop},
                                  {2, ControlKind::PushButton, 67, 65, 55, 14, "S&kip", TabStop},
                                  {1010, ControlKind::Static, 7, 7, 115, 35, prompt, WordWrap},
                                  {1009, ControlKind::Edit, 7, 43, 115, 14, "", Border | AutoHScroll | TabStop},
                              }};
    };
    return {
        {100,
         "About Vorn Installer",
         235,
         55,
         0,
         {
             {-1, ControlKind::Icon, 11, 17, 20, 20, "#128", 0},
             {-1, ControlKind::Static, 40, 14, 119, 8, "Picture Vorn Collection Installer", NoPrefix},
             {1, ControlKind::DefPushButton, 178, 7, 50, 14, "OK", TabStop},
         }},
        {102,
         "Ostrel Picture Vorn Installer",
         206,
         167,
         MinimizeBox | CenterOnScreen | AppWindow,
         {
             {1000, ControlKind::Static, 7, 7, 192, 113, "", WordWrap},
             {1004, ControlKind::Progress, 7, 126, 192, 11, "", Smooth | Hidden},
             {1005, ControlKind::DefPushButton, 7, 144, 70, 16, "&Install Vorn Files", TabStop},
             {1006, ControlKind::PushButton, 81, 144, 57, 16, "&Browse...", TabStop},
             {1, ControlKind::PushButton, 142, 144, 57, 16, "E&xit", TabStop},
         }},
        conflict(144, "Duplicate File Name",
                 "A Picture Vorn file with the name \"%s\" already exists.\nPlease enter another name."),
        conflict(145, "Duplicate Vorn Name",
                 "A Picture Vorn with the name \"%s\" already exists.\nPlease enter another name."),
    };
}
