// Every text, id and dialog template number the program shows, against the
// values written here, never read back through the program's own tables.
#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "payload/catalogue.h"
#include "platform/dialog.h"
#include "platform/text_format.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

struct Control {
    int id;
    ControlKind kind;
    int x, y, cx, cy;
    std::string text;
    unsigned style;
};

void expectTemplate(const DialogTemplate& actual, int id, const std::string& title, int cx, int cy, unsigned style,
                    const std::vector<Control>& controls)
{
    EXPECT_EQ(actual.id, id);
    EXPECT_EQ(std::string(actual.title), title);
    EXPECT_EQ(actual.cx, cx);
    EXPECT_EQ(actual.cy, cy);
    EXPECT_EQ(std::string(actual.fontFace), "MS Sans Serif");
    EXPECT_EQ(actual.pointSize, 8);
    EXPECT_EQ(actual.style, style);
    ASSERT_EQ(actual.controls.size(), controls.size()) << title;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& a = actual.controls[i];
        const Control& e = controls[i];
        EXPECT_EQ(a.id, e.id) << title << " control " << i;
        EXPECT_EQ(a.kind, e.kind) << title << " control " << i;
        EXPECT_EQ((std::vector<int>{a.x, a.y, a.cx, a.cy}), (std::vector<int>{e.x, e.y, e.cx, e.cy}))
            << title << " control " << i;
        EXPECT_EQ(std::string(a.text ? a.text : ""), e.text) << title << " control " << i;
        EXPECT_EQ(a.style, e.style) << title << " control " << i;
    }
}

// A drawing of an icon: of the size asked for, and not all transparent.
void expectDrawn(const QPixmap& pixmap, int size)
{
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.width(), size);
    EXPECT_EQ(pixmap.height(), size);
    const QImage image = pixmap.toImage();
    bool painted = false;
    for (int y = 0; y < image.height() && !painted; ++y)
        for (int x = 0; x < image.width() && !painted; ++x)
            painted = qAlpha(image.pixel(x, y)) != 0;
    EXPECT_TRUE(painted);
}

} // namespace

TEST(Resources, StringTable)
{
    const std::vector<std::pair<int, std::string>> table = {
        {101, "&About Quillop..."},
        {102, "CRV5.Image\\shell\\open\\command"},
        {103, "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns."},
        {104, "C:\\Program Files\\Corvane 5\\Vorns"},
        {105, "Vorns.ctl"},
        {107, "Finding Corvane and Vorns control file."},
        {116, "Creating new Vorn file %s(%s)"},
        {117, "IDR_VRN%d"},
        {118, "IDR_CTL%d"},
        {1000,
         "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns will be installed "
         "to the directory\r    \"%s\".\r\rClick the Browse button to choose a new directory or the Install "
         "button to begin installation.  "},
        {1001,
         "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns cannot be "
         "installed to the directory\r    \"%s\"\rbecause it does not exist or does not contain a Vorn Control "
         "(Vorns.ctl) file.  \rThe directory should be a subdirectory of the Corvane folder named Vorns that "
         "contains a file named Vorns.ctl.\r\rClick the Browse button to choose a valid directory.  "},
        {1002, "Done installing %d vorn files.\r%s\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  "},
        {106, ""},
        {1003, ""},
        {9999, ""},
    };
    // The table is read by literal id, and each text compared with the one written above.
    for (const auto& [id, text] : table)
        EXPECT_EQ(LoadString(id), text) << id;
    EXPECT_EQ(
        FormatText(LoadString(1002), {2, "Fern, Stars."}),
        "Done installing 2 vorn files.\rFern, Stars.\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  ");
    const std::vector<std::pair<int, std::string>> errors = {
        {0, "Can't find vorn."}, {1, "Can't load vorn."}, {2, "Can't find Corvane."}, {3, "Can't find Vorns.ctl."},
        {4, "Invalid file."},    {5, "Unknown error."},   {-1, "Unknown error."},
    };
    for (const auto& [code, message] : errors)
        EXPECT_EQ(std::string(LocalErrorMessage(code)), message) << code;
}

TEST(Resources, DialogTemplates)
{
    expectTemplate(kMainDialogTemplate, 102, "Ostrel Picture Vorn Installer", 206, 167, MinimizeBox | CenterOnScreen,
                   {
                       {1000, ControlKind::Static, 7, 7, 192, 113, "", WordWrap},
                       {1004, ControlKind::Progress, 7, 126, 192, 11, "", Smooth | Hidden},
                       {1005, ControlKind::DefPushButton, 7, 144, 70, 16, "&Install Vorn Files", TabStop},
                       {1006, ControlKind::PushButton, 81, 144, 57, 16, "&Browse...", TabStop},
                       {1, ControlKind::PushButton, 142, 144, 57, 16, "E&xit", TabStop},
                   });
    expectTemplate(kAboutBoxTemplate, 100, "About Vorn Installer", 235, 55, 0,
                   {
                       {-1, ControlKind::Icon, 11, 17, 20, 20, "IDR_MAINFRAME", 0},
                       {-1, ControlKind::Static, 40, 14, 119, 8, "Picture Vorn Collection Installer", NoPrefix},
                       {1, ControlKind::DefPushButton, 178, 7, 50, 14, "OK", TabStop},
                   });
    const auto conflict = [](const std::string& prompt) {
        return std::vector<Control>{
            {1, ControlKind::DefPushButton, 7, 65, 55, 14, "&Save", TabStop},
            {2, ControlKind::PushButton, 67, 65, 55, 14, "S&kip", TabStop},
            {1010, ControlKind::Static, 7, 7, 115, 35, prompt, WordWrap},
            {1009, ControlKind::Edit, 7, 43, 115, 14, "", Border | AutoHScroll | TabStop},
        };
    };
    expectTemplate(kDupFileNameTemplate, 144, "Duplicate File Name", 129, 86, 0,
                   conflict("A Picture Vorn file with the name \"%s\" already exists.\nPlease enter another name."));
    expectTemplate(kDupVornNameTemplate, 145, "Duplicate Vorn Name", 129, 86, 0,
                   conflict("A Picture Vorn with the name \"%s\" already exists.\nPlease enter another name."));
}

TEST(Resources, IconsAreDrawn)
{
    const QIcon icon = LoadIcon(QStringLiteral("IDR_MAINFRAME"));
    for (int size : {16, 32, 48, 128})
        expectDrawn(icon.pixmap(size, size), size);
    CQuillopDlg main;
    expectDrawn(main.m_hIcon.pixmap(32, 32), 32);
    CAboutDlg about(&main);
    const QLabel* picture = nullptr;
    for (const QLabel* label : about.findChildren<QLabel*>())
        if (label->accessibleName() == QLatin1String("Quillop icon"))
            picture = label;
    ASSERT_NE(picture, nullptr);
    // Drawn at the control's size (20 dialog units), which fits in the control.
    const QPixmap drawn = picture->pixmap();
    EXPECT_GT(drawn.width(), 20);
    EXPECT_LE(drawn.width(), picture->width());
    expectDrawn(drawn, drawn.width());
}
