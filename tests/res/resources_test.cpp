// Every text, id and dialog template number the program shows, against the
// values written here, never read back through the program's own tables.
#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "payload/catalogue.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"
#include "support/expected_templates.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

void expectTemplate(const DialogTemplate& actual, const ExpectedDialog& expected)
{
    const std::string& title = expected.title;
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(std::string(actual.title), title);
    EXPECT_EQ(actual.cx, expected.cx);
    EXPECT_EQ(actual.cy, expected.cy);
    EXPECT_EQ(std::string(actual.fontFace), "MS Sans Serif");
    EXPECT_EQ(actual.pointSize, 8);
    EXPECT_EQ(actual.style, expected.style);
    ASSERT_EQ(actual.controls.size(), expected.controls.size()) << title;
    for (std::size_t i = 0; i < expected.controls.size(); ++i) {
        const ControlTemplate& a = actual.controls[i];
        const ExpectedControl& e = expected.controls[i];
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

TEST(Resources, LocalErrorMessages)
{
    const std::vector<std::pair<int, std::string>> errors = {
        {0, "Can't find vorn."}, {1, "Can't load vorn."}, {2, "Can't find Corvane."}, {3, "Can't find Vorns.ctl."},
        {4, "Invalid file."},    {5, "Unknown error."},   {-1, "Unknown error."},
    };
    for (const auto& [code, message] : errors)
        EXPECT_EQ(std::string(LocalErrorMessage(code)), message) << code;
}

TEST(Resources, DialogTemplates)
{
    const std::vector<ExpectedDialog> expected = expectedDialogs();
    ASSERT_EQ(expected.size(), 4u);
    expectTemplate(kAboutBoxTemplate, expected[0]);
    expectTemplate(kMainDialogTemplate, expected[1]);
    expectTemplate(kDupFileNameTemplate, expected[2]);
    expectTemplate(kDupVornNameTemplate, expected[3]);
}

TEST(Resources, IconsAreDrawn)
{
    const QIcon& icon = iconOf(LoadIcon(128));
    for (int size : {16, 32, 48, 128})
        expectDrawn(icon.pixmap(size, size), size);
    CQuillopDlg main;
    expectDrawn(iconOf(main.m_hIcon).pixmap(32, 32), 32);
    CAboutDlg about(&main);
    const QLabel* picture = nullptr;
    for (const QLabel* label : windowOf(about)->findChildren<QLabel*>())
        if (label->accessibleName() == QLatin1String("Quillop icon"))
            picture = label;
    ASSERT_NE(picture, nullptr);
    // Drawn at the control's size (20 dialog units), which fits in the control.
    const QPixmap drawn = picture->pixmap();
    EXPECT_GT(drawn.width(), 20);
    EXPECT_LE(drawn.width(), picture->width());
    expectDrawn(drawn, drawn.width());
}
