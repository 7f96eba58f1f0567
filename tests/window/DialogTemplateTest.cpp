#include "platform/DialogBuilder.h"
#include "resources/DialogTemplates.h"
#include "resources/Resource.h"

#include <gtest/gtest.h>

#include <set>

TEST(DialogTemplate, HoldsTheFortySixControlsWithUniqueIds) {
    EXPECT_EQ(g_tmplSerialDialog.controls.size(), 46u);
    std::set<int> ids;
    int unnamed = 0;
    for (const ControlTemplate& c : g_tmplSerialDialog.controls) {
        if (c.id == IDC_STATIC)
            ++unnamed;
        else
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    }
    EXPECT_EQ(ids.size() + unnamed, 46u);
    EXPECT_EQ(g_tmplSerialDialog.controls.front().id, IDC_SEND);
    EXPECT_EQ(g_tmplSerialDialog.controls.back().kind, ControlKind::EtchedVertLine);
    EXPECT_EQ(g_tmplAboutBox.controls.size(), 4u);
}

TEST(DialogTemplate, OnlyTheTestButtonIsHidden) {
    for (const ControlTemplate& c : g_tmplSerialDialog.controls)
        EXPECT_EQ((c.styles & ControlStyle::Hidden) != 0, c.id == IDC_TEST) << c.id;
}

TEST(DialogUnits, ConvertAsTheDialogManagerDoes) {
    // The metrics of a 9-point SimSun at 96 dpi: 6 by 12 pixels.
    const DialogUnits simsun(6, 12);
    EXPECT_EQ(simsun.ToPixels(333, 274, 0, 0).topLeft(), QPoint(500, 411));
    EXPECT_EQ(simsun.ToPixels(8, 58, 37, 39), QRect(12, 87, 56, 59));
    EXPECT_EQ(simsun.ToPixels(6, 132, 320, 2), QRect(9, 198, 480, 3));
    const DialogUnits wide(7, 15);
    EXPECT_EQ(wide.ToPixels(61, 7, 161, 48), QRect(107, 13, 282, 90));
}
