#include "res/dialog_templates.h"

#include "res/resource_ids.h"

namespace {
constexpr const char* kFont = "MS Sans Serif";
constexpr int kFontSize = 8;
} // namespace

const DialogTemplate kAboutBoxTemplate = {
    IDD_ABOUTBOX,
    "IDD_ABOUTBOX",
    "About Vorn Installer",
    235,
    55,
    kFont,
    kFontSize,
    0,
    {
        {IDC_STATIC, ControlKind::Icon, 11, 17, 20, 20, "#128", 0, IDS_NAME_ICON},
        {IDC_STATIC, ControlKind::Static, 40, 14, 119, 8, "Picture Vorn Collection Installer", NoPrefix},
        {IDOK, ControlKind::DefPushButton, 178, 7, 50, 14, "OK", TabStop},
    },
};

const DialogTemplate kMainDialogTemplate = {
    IDD_QUILLOP_DIALOG,
    "IDD_QUILLOP_DIALOG",
    "Ostrel Picture Vorn Installer",
    206,
    167,
    kFont,
    kFontSize,
    MinimizeBox | CenterOnScreen | AppWindow,
    {
        {IDC_STATUS, ControlKind::Static, 7, 7, 192, 113, nullptr, WordWrap, IDS_NAME_STATUS},
        {IDC_PROGRESS, ControlKind::Progress, 7, 126, 192, 11, nullptr, Smooth | Hidden, IDS_NAME_PROGRESS},
        {IDC_INSTALL, ControlKind::DefPushButton, 7, 144, 70, 16, "&Install Vorn Files", TabStop},
        {IDC_BROWSE, ControlKind::PushButton, 81, 144, 57, 16, "&Browse...", TabStop},
        {IDOK, ControlKind::PushButton, 142, 144, 57, 16, "E&xit", TabStop},
    },
};

namespace {

// The two conflict dialogs differ only in id, title and prompt.
DialogTemplate conflictTemplate(int id, const char* name, const char* title, const char* prompt)
{
    return {
        id,
        name,
        title,
        129,
        86,
        kFont,
        kFontSize,
        0,
        {
            {IDOK, ControlKind::DefPushButton, 7, 65, 55, 14, "&Save", TabStop},
            {IDCANCEL, ControlKind::PushButton, 67, 65, 55, 14, "S&kip", TabStop},
            {IDC_PROMPT, ControlKind::Static, 7, 7, 115, 35, prompt, WordWrap},
            {IDC_NEW_NAME, ControlKind::Edit, 7, 43, 115, 14, "", Border | AutoHScroll | TabStop, IDS_NAME_NEW_NAME},
        },
    };
}

} // namespace

const DialogTemplate kDupFileNameTemplate
    = conflictTemplate(IDD_DUP_FILE_NAME, "IDD_DUP_FILE_NAME", "Duplicate File Name",
                       "A Picture Vorn file with the name \"%s\" already exists.\nPlease enter another name.");

const DialogTemplate kDupVornNameTemplate
    = conflictTemplate(IDD_DUP_VORN_NAME, "IDD_DUP_VORN_NAME", "Duplicate Vorn Name",
                       "A Picture Vorn with the name \"%s\" already exists.\nPlease enter another name.");
